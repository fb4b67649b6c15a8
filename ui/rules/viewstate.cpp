#include "ui/rules/viewstate.h"

#include "views/keep.h"
#include "views/modes.h"

namespace ui {

views::ColumnSort ViewSorts::Of(int mode) const {
  const auto it = sorts_.find(mode);
  return it == sorts_.end() ? views::ColumnSort{} : it->second;
}

views::ColumnSort ViewSorts::Click(int mode, int column) {
  views::ColumnSort& sort = sorts_[mode];
  sort = views::NextSort(sort, column);
  return sort;
}

void ViewPlaces::Leave(int mode, std::size_t row, TextView firstCell) {
  places_.insert_or_assign(mode, Place{row, Text(firstCell)});
}

std::optional<std::size_t> ViewPlaces::Return(int mode, const views::ListData& list) const {
  const auto it = places_.find(mode);
  if (it == places_.end()) return std::nullopt;
  const Place& place = it->second;
  // The same list as when it was left: the row itself, without a search.
  if (place.row < list.rows.size()) {
    const std::vector<Text>& cells = list.rows[place.row].cells;
    if ((cells.empty() ? TextView() : TextView(cells.front())) == place.firstCell) return place.row;
  }
  return views::RowToKeep(list, place.firstCell, place.row);
}

int ViewAfterLoad(int shown, bool shownHasRows) {
  return views::IsMode(shown) && shownHasRows ? shown : views::kModeGeneral;
}

}  // namespace ui
