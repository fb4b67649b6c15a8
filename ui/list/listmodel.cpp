#include "ui/list/listmodel.h"

#include <QAbstractProxyModel>
#include <vector>

#include "ui/common/qtext.h"
#include "ui/rules/rules.h"

namespace ui {

// --- ListModel ---

void ListModel::SetList(std::shared_ptr<const views::ListData> list) {
  beginResetModel();
  list_ = list ? std::move(list) : std::make_shared<const views::ListData>();
  endResetModel();
}

void ListModel::SetList(views::ListData list) { SetList(std::make_shared<const views::ListData>(std::move(list))); }

int ListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_->rows.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_->columns.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const views::Row& row = list_->rows[static_cast<std::size_t>(index.row())];
  if (role == kTagRole) return ToQString(row.tag);
  const auto column = static_cast<std::size_t>(index.column());
  const mission::TextView cell = column < row.cells.size() ? mission::TextView(row.cells[column]) : mission::TextView();
  if (role == Qt::DisplayRole) return ShownText(cell);
  if (role == Qt::ToolTipRole) return ToQString(CellToolTip(cell));
  return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return QAbstractTableModel::flags(index);
  return QAbstractTableModel::flags(index) | Qt::ItemNeverHasChildren;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= columnCount()) return {};
  return ToQString(list_->columns[static_cast<std::size_t>(section)].caption);
}

// --- Proxy chains over the list ---

const ListModel* BaseListModel(const QAbstractItemModel* model) {
  while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(model)) model = proxy->sourceModel();
  return qobject_cast<const ListModel*>(model);
}

int ListRowOf(const QModelIndex& index) {
  QModelIndex i = index;
  while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(i.model())) i = proxy->mapToSource(i);
  return i.isValid() && qobject_cast<const ListModel*>(i.model()) ? i.row() : -1;
}

QModelIndex ShownIndexOfListRow(const QAbstractItemModel* shown, int listRow) {
  std::vector<const QAbstractProxyModel*> proxies;  // top down
  const QAbstractItemModel* model = shown;
  while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(model)) {
    proxies.push_back(proxy);
    model = proxy->sourceModel();
  }
  if (!model) return {};
  QModelIndex index = model->index(listRow, 0);
  for (auto it = proxies.rbegin(); it != proxies.rend() && index.isValid(); ++it) index = (*it)->mapFromSource(index);
  return index;
}

}  // namespace ui
