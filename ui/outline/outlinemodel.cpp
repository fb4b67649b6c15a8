#include "ui/outline/outlinemodel.h"

#include "ui/common/qtext.h"
#include "views/formula_display.h"

namespace ui {

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
