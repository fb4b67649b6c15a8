#include "ui/models.h"

#include "base/utf8.h"
#include "ui/qtext.h"

namespace ui {

QString ShownText(mission::TextView text) {
  if (static_cast<qsizetype>(text.size()) <= kShownTextMax) return ToQString(text);
  std::size_t cut = static_cast<std::size_t>(kShownTextMax);
  if (mission::IsHighSurrogate(text[cut - 1])) --cut;  // keep surrogate pairs whole
  return ToQString(text.substr(0, cut)) + QStringLiteral("...");
}

// --- ListModel ---

void ListModel::SetList(views::ListData list) {
  beginResetModel();
  list_ = std::move(list);
  endResetModel();
}

int ListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.rows.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.columns.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const views::Row& row = list_.rows[static_cast<std::size_t>(index.row())];
  if (role == kTagRole) return ToQString(row.tag);
  if (role != Qt::DisplayRole) return {};
  const auto column = static_cast<std::size_t>(index.column());
  return column < row.cells.size() ? ShownText(row.cells[column]) : QString();
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= columnCount()) return {};
  return ToQString(list_.columns[static_cast<std::size_t>(section)].caption);
}

// --- ListSortModel ---

bool ListSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const auto* model = qobject_cast<const ListModel*>(sourceModel());
  if (!model) return QSortFilterProxyModel::lessThan(left, right);
  const auto& rows = model->List().rows;
  const auto cell = [&](const QModelIndex& i) {
    const auto& cells = rows[static_cast<std::size_t>(i.row())].cells;
    const auto column = static_cast<std::size_t>(i.column());
    return column < cells.size() ? ToQStringView(cells[column]) : QStringView();
  };
  return cell(left).compare(cell(right), Qt::CaseInsensitive) < 0;
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
  if (role == kTagRole) return ToQString(tree->NodeTag(node));
  return {};
}

}  // namespace ui
