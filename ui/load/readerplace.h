// ReaderPlace: where the reader is in the window, kept across a reload of
// the mission shown: the view mode, the selected row (by its first cell, and
// its position for when that text is gone), the outline tree's expanded
// nodes (by their texts) and how far the list and the tree are scrolled.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "mission/mission.h"
#include "views/keep.h"

namespace ui {

class MissionList;
class OutlineView;

class ReaderPlace {
 public:
  // The place in the window as it shows `mission` in view `mode`.
  ReaderPlace(int mode, const MissionList& list, const OutlineView& tree, const mission::Mission& mission);

  // Goes back to the place in `mission`, newly shown in the General view;
  // `showEntry` is the window's way to a row (mode, row 1-based in file order;
  // row 0: the view alone).
  void Restore(MissionList& list, OutlineView& tree, const mission::Mission& mission,
               const std::function<void(int, int)>& showEntry) const;

 private:
  int mode_;
  std::optional<std::size_t> row_;  // 0-based, in file order
  mission::Text firstCell_;
  std::vector<views::NodePath> expanded_;
  int listScroll_[2];  // horizontal, vertical
  int treeScroll_[2];
};

}  // namespace ui
