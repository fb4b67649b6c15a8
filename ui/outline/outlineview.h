// OutlineView: the mission outline tree (object name TreeView1) over the
// loaded mission's OutlineTree, through an OutlineTreeModel of its own (no
// item object per node).
#pragma once

#include <QTreeView>
#include <cstdint>
#include <span>
#include <vector>

#include "mission/mission.h"

namespace ui {

class OutlineTreeModel;

class OutlineView : public QTreeView {
  Q_OBJECT

 public:
  explicit OutlineView(QWidget* parent);

  // The tree to show; nullptr shows none while a mission is replaced.
  void SetMission(const mission::Mission* mission);
  // Makes `node` current and shows it, its parents expanded; `expand` opens
  // the node itself too.
  void SelectNode(std::uint32_t node, bool expand);
  // The nodes shown expanded, each after its parent; only the expanded
  // branches are walked.
  std::vector<std::uint32_t> ExpandedNodes() const;
  void ExpandNodes(std::span<const std::uint32_t> nodes);

 private:
  OutlineTreeModel* model_;
};

}  // namespace ui
