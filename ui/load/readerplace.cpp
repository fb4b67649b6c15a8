#include "ui/load/readerplace.h"

#include <QScrollBar>

#include "ui/list/listmodel.h"
#include "ui/list/missionlist.h"
#include "ui/outline/outlineview.h"

namespace ui {

namespace {

void ReadScroll(const QAbstractScrollArea& area, int (&scroll)[2]) {
  scroll[0] = area.horizontalScrollBar()->value();
  scroll[1] = area.verticalScrollBar()->value();
}

// After the view has laid its rows out, so that the scroll bars reach as
// far as they did.
void SetScroll(QTreeView& area, const int (&scroll)[2]) {
  area.doItemsLayout();
  area.horizontalScrollBar()->setValue(scroll[0]);
  area.verticalScrollBar()->setValue(scroll[1]);
}

}  // namespace

ReaderPlace::ReaderPlace(int mode, const MissionList& list, const OutlineView& tree, const mission::Mission& mission)
    : mode_(mode) {
  const int row = ListRowOf(list.currentIndex());
  const std::vector<views::Row>& rows = list.List().rows;
  if (row >= 0 && static_cast<std::size_t>(row) < rows.size()) {
    row_ = static_cast<std::size_t>(row);
    const std::vector<mission::Text>& cells = rows[*row_].cells;
    if (!cells.empty()) firstCell_ = cells.front();
  }
  expanded_ = views::PathsOfNodes(mission.Tree(), tree.ExpandedNodes());
  ReadScroll(list, listScroll_);
  ReadScroll(tree, treeScroll_);
}

void ReaderPlace::Restore(MissionList& list, OutlineView& tree, const mission::Mission& mission,
                          const std::function<void(int, int)>& showEntry) const {
  showEntry(mode_, 0);
  if (row_) {
    if (const auto row = views::RowToKeep(list.List(), firstCell_, *row_)) showEntry(mode_, static_cast<int>(*row) + 1);
  }
  tree.ExpandNodes(views::NodesOfPaths(mission.Tree(), expanded_));
  SetScroll(list, listScroll_);
  SetScroll(tree, treeScroll_);
}

}  // namespace ui
