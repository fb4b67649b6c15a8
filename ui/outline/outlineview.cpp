#include "ui/outline/outlineview.h"

#include "ui/outline/outlinemodel.h"

namespace ui {

OutlineView::OutlineView(QWidget* parent) : QTreeView(parent), model_(new OutlineTreeModel(this)) {
  setObjectName(QStringLiteral("TreeView1"));
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setModel(model_);
}

void OutlineView::SetMission(const mission::Mission* mission) { model_->SetMission(mission); }

void OutlineView::SelectNode(std::uint32_t node, bool expand) {
  const QModelIndex index = model_->IndexOfNode(node);
  if (!index.isValid()) return;
  setCurrentIndex(index);
  scrollTo(index);  // expands the node's parents as well
  if (expand) this->expand(index);
}

std::vector<std::uint32_t> OutlineView::ExpandedNodes() const {
  std::vector<std::uint32_t> nodes;
  std::vector<QModelIndex> open{QModelIndex()};
  while (!open.empty()) {
    const QModelIndex parent = open.back();
    open.pop_back();
    const int rows = model_->rowCount(parent);
    for (int r = 0; r < rows; ++r) {
      const QModelIndex child = model_->index(r, 0, parent);
      if (!isExpanded(child)) continue;
      nodes.push_back(OutlineTreeModel::NodeOf(child));
      open.push_back(child);
    }
  }
  return nodes;
}

void OutlineView::ExpandNodes(std::span<const std::uint32_t> nodes) {
  for (const std::uint32_t node : nodes) expand(model_->IndexOfNode(node));
}

}  // namespace ui
