// What the window keeps of each view while the program runs, and which view
// a load shows: each view's sort (by view, so that sorting Events by Repeat
// leaves Ships as they were) and the row each view was left at while its
// mission is shown. Kept by the view's mode number, so any number of views
// fits.
#pragma once

#include <cstddef>
#include <map>
#include <optional>

#include "base/text.h"
#include "views/list.h"
#include "views/sort.h"

namespace ui {

using mission::Text;
using mission::TextView;

// Each view's column sort; a view never sorted shows the file order. It
// stays for the view's lists of later missions too.
class ViewSorts {
 public:
  views::ColumnSort Of(int mode) const;
  // A click on the header of `column` in view `mode`: the view's new sort
  // (views::NextSort).
  views::ColumnSort Click(int mode, int column);

 private:
  std::map<int, views::ColumnSort> sorts_;
};

// The row each view was left at, for when it is shown again.
class ViewPlaces {
 public:
  // View `mode` is left with row `row` (0-based, in file order) selected,
  // whose first cell is `firstCell`.
  void Leave(int mode, std::size_t row, TextView firstCell);
  // The row to select when view `mode` shows `list`: the row it was left
  // at, found by its first cell when the list has changed since (a reload),
  // else the same position; nothing when the view was not left with a row
  // selected, or `list` is empty.
  std::optional<std::size_t> Return(int mode, const views::ListData& list) const;
  // A mission of its own replaces the one shown.
  void Forget() { places_.clear(); }

 private:
  struct Place {
    std::size_t row;
    Text firstCell;
  };
  std::map<int, Place> places_;
};

// The view a load of a mission shows, with `shown` the view shown before it
// (0 before the first load) and `shownHasRows` whether that view of the new
// mission has rows: the same view, so that the reader keeps their place;
// General at the first load, or when the new mission has nothing to show
// in that view.
int ViewAfterLoad(int shown, bool shownHasRows);

}  // namespace ui
