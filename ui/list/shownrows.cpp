#include "ui/list/shownrows.h"

#include <algorithm>
#include <numeric>

#include "ui/common/qtext.h"
#include "ui/list/listmodel.h"

namespace ui {

ShownRowsModel::ShownRowsModel(ListModel* list, QObject* parent) : QAbstractProxyModel(parent), list_(list) {
  QAbstractProxyModel::setSourceModel(list_);
  // The list model only ever replaces its whole list.
  connect(list_, &QAbstractItemModel::modelAboutToBeReset, this, &ShownRowsModel::ListAboutToBeReplaced);
  connect(list_, &QAbstractItemModel::modelReset, this, &ShownRowsModel::ListReplaced);
}

ShownRowsModel::~ShownRowsModel() = default;

void ShownRowsModel::SetMission(const mission::Mission* mission) {
  // Searched again once the new mission's list is in.
  search_.reset();
  found_.clear();
  searched_ = false;
  mission_ = mission;
}

void ShownRowsModel::ListAboutToBeReplaced() {
  beginResetModel();
  // The search refers to the list going away.
  search_.reset();
  found_.clear();
  searched_ = false;
}

void ShownRowsModel::ListReplaced() {
  Arrange();
  endResetModel();
}

void ShownRowsModel::SetFindText(const QString& text) {
  if (text == text_) return;
  Rearrange([&] {
    // A text that holds the previous one is found only where that one was.
    const bool narrower =
        searched_ && !text_.isEmpty() && views::FindText(FromQString(text_)).In(FromQString(text));
    text_ = text;
    if (narrower) {
      const std::vector<char> within = std::move(found_);
      Search(&within);
    } else {
      searched_ = false;
      found_.clear();
    }
  });
}

void ShownRowsModel::SetSort(views::ColumnSort sort) {
  if (sort == sort_) return;
  Rearrange([&] { sort_ = sort; });
}

void ShownRowsModel::Search(const std::vector<char>* within) {
  searched_ = true;
  found_.clear();
  if (text_.isEmpty() || !mission_) return;
  if (!search_) search_ = std::make_unique<views::RowSearch>(list_->List(), mission_->Sections());
  found_ = search_->Found(views::FindText(FromQString(text_)), within);
}

void ShownRowsModel::Arrange() {
  shown_.clear();
  position_.clear();
  const views::ListData& list = list_->List();
  sorted_ = sort_.Sorted() && static_cast<std::size_t>(sort_.column) < list.columns.size();
  if (OneToOne()) return;
  if (sorted_) {
    shown_ = OrderOfList();
  } else {
    shown_.resize(list.rows.size());
    std::iota(shown_.begin(), shown_.end(), 0);
  }
  if (!text_.isEmpty()) {
    if (!searched_) Search();
    std::erase_if(shown_, [this](int row) {
      return static_cast<std::size_t>(row) >= found_.size() || !found_[static_cast<std::size_t>(row)];
    });
  }
  position_.assign(list.rows.size(), -1);
  for (std::size_t i = 0; i < shown_.size(); ++i) position_[static_cast<std::size_t>(shown_[i])] = static_cast<int>(i);
}

const std::vector<int>& ShownRowsModel::OrderOfList() {
  ListOrder& order = orders_[list_->SharedList()];
  if (order.sort != sort_) {
    order.sort = sort_;
    order.rows = views::SortedRows(list_->List(), sort_);
  }
  return order.rows;
}

void ShownRowsModel::Rearrange(const std::function<void()>& change) {
  // The views read the rows as they were until the change is announced.
  emit layoutAboutToBeChanged();
  const QModelIndexList from = persistentIndexList();
  std::vector<int> listRows;
  listRows.reserve(static_cast<std::size_t>(from.size()));
  for (const QModelIndex& index : from) listRows.push_back(index.isValid() ? ListRowAt(index.row()) : -1);
  change();
  Arrange();
  QModelIndexList to;
  to.reserve(from.size());
  for (qsizetype i = 0; i < from.size(); ++i) {
    const int listRow = listRows[static_cast<std::size_t>(i)];
    to.push_back(listRow < 0 ? QModelIndex() : mapFromSource(list_->index(listRow, from[i].column())));
  }
  changePersistentIndexList(from, to);
  emit layoutChanged();
}

int ShownRowsModel::ListRowAt(int row) const { return OneToOne() ? row : shown_[static_cast<std::size_t>(row)]; }

QModelIndex ShownRowsModel::index(int row, int column, const QModelIndex& parent) const {
  if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
  return createIndex(row, column);
}

QModelIndex ShownRowsModel::parent(const QModelIndex&) const { return {}; }

int ShownRowsModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return OneToOne() ? list_->rowCount() : static_cast<int>(shown_.size());
}

int ShownRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : list_->columnCount();
}

bool ShownRowsModel::hasChildren(const QModelIndex& parent) const {
  return !parent.isValid() && rowCount() > 0 && columnCount() > 0;
}

QVariant ShownRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // The columns are the list's whatever rows are shown, even none.
  return orientation == Qt::Horizontal ? list_->headerData(section, orientation, role) : QVariant();
}

QModelIndex ShownRowsModel::mapToSource(const QModelIndex& proxyIndex) const {
  if (!proxyIndex.isValid() || proxyIndex.model() != this) return {};
  return list_->index(ListRowAt(proxyIndex.row()), proxyIndex.column());
}

QModelIndex ShownRowsModel::mapFromSource(const QModelIndex& sourceIndex) const {
  if (!sourceIndex.isValid() || sourceIndex.model() != list_) return {};
  const int row = sourceIndex.row();
  if (OneToOne()) return createIndex(row, sourceIndex.column());
  const int at = static_cast<std::size_t>(row) < position_.size() ? position_[static_cast<std::size_t>(row)] : -1;
  return at < 0 ? QModelIndex() : createIndex(at, sourceIndex.column());
}

}  // namespace ui
