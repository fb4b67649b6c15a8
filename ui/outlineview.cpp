#include "ui/outlineview.h"

#include "ui/models.h"

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

}  // namespace ui
