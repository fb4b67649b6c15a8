#include "ui/models.h"

#include <QAbstractProxyModel>

#include "base/utf8.h"
#include "ui/qtext.h"
#include "ui/rules.h"
#include "views/formula_display.h"

namespace ui {

QString ShownText(mission::TextView text) {
  if (static_cast<qsizetype>(text.size()) <= kShownTextMax) return ToQString(text);
  std::size_t cut = static_cast<std::size_t>(kShownTextMax);
  if (mission::IsHighSurrogate(text[cut - 1])) --cut;  // keep surrogate pairs whole
  return ToQString(text.substr(0, cut)) + QStringLiteral("...");
}

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

// --- OutlineTreeModel ---

void OutlineTreeModel::SetMission(const mission::Mission* mission) {
  beginResetModel();
  mission_ = mission;
  endResetModel();
}

std::span<const std::uint32_t> OutlineTreeModel::ChildrenOf(const QModelIndex& parent) const {
  const mission::OutlineTree* tree = Tree();
  if (!tree) return {};
  if (!parent.isValid()) return tree->Roots();
  return tree->Children(NodeOf(parent));
}

QModelIndex OutlineTreeModel::IndexOfNode(std::uint32_t node) const {
  const mission::OutlineTree* tree = Tree();
  if (!tree || node >= tree->Size()) return {};
  return createIndex(static_cast<int>(tree->Node(node).row), 0, static_cast<quintptr>(node));
}

QModelIndex OutlineTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  const auto children = ChildrenOf(parent);
  if (static_cast<std::size_t>(row) >= children.size()) return {};
  return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex OutlineTreeModel::parent(const QModelIndex& child) const {
  const mission::OutlineTree* tree = Tree();
  if (!tree || !child.isValid()) return {};
  const std::int32_t parentNode = tree->Node(NodeOf(child)).parent;
  if (parentNode < 0) return {};
  return IndexOfNode(static_cast<std::uint32_t>(parentNode));
}

int OutlineTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  return static_cast<int>(ChildrenOf(parent).size());
}

int OutlineTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant OutlineTreeModel::data(const QModelIndex& index, int role) const {
  const mission::OutlineTree* tree = Tree();
  if (!tree || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const std::uint32_t node = NodeOf(index);
  if (role == Qt::DisplayRole) return ShownText(tree->NodeText(node));
  if (role == kTagRole) return ToQString(views::NodeTag(*tree, node));
  return {};
}

}  // namespace ui
