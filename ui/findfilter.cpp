#include "ui/findfilter.h"

#include "ui/models.h"
#include "ui/qtext.h"

namespace ui {

FindFilterModel::FindFilterModel(const ListModel* list, QObject* parent) : QSortFilterProxyModel(parent), list_(list) {
  // A new list (a mode switch, a load) is searched afresh with the same text.
  connect(list_, &QAbstractItemModel::modelAboutToBeReset, this, &FindFilterModel::Forget);
}

FindFilterModel::~FindFilterModel() = default;

void FindFilterModel::SetMission(const mission::Mission* mission) {
  Forget();
  mission_ = mission;
}

void FindFilterModel::Forget() {
  search_.reset();
  found_.clear();
  searched_ = false;
}

void FindFilterModel::SetFindText(const QString& text) {
  if (text == text_) return;
  // A text that holds the previous one is found only where that one was.
  const bool narrower = searched_ && !text_.isEmpty() && views::FindText(FromQString(text_)).In(FromQString(text));
  text_ = text;
  if (narrower) {
    const std::vector<char> within = std::move(found_);
    Search(&within);
  } else {
    searched_ = false;
    found_.clear();
  }
  // One change of layout for the whole list: removing rows range by range
  // would cost the view a pass over the list for each range.
  invalidate();
}

void FindFilterModel::Search(const std::vector<char>* within) const {
  searched_ = true;
  found_.clear();
  if (text_.isEmpty() || !mission_) return;
  if (!search_) search_ = std::make_unique<views::RowSearch>(list_->List(), mission_->Sections());
  found_ = search_->Found(views::FindText(FromQString(text_)), within);
}

bool FindFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  if (text_.isEmpty()) return true;
  if (!searched_) Search();
  const int row = ListRowOf(sourceModel()->index(sourceRow, 0, sourceParent));
  return row >= 0 && static_cast<std::size_t>(row) < found_.size() && found_[static_cast<std::size_t>(row)];
}

}  // namespace ui
