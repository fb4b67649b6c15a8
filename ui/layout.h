// The main window's pane layout as a pure function, in twips.
//
// The layout reads the window's outer size and the user's switches and
// places the icon bar, the top bar, the outline tree, the mission list and
// the two code windows; it also decides which icons and scroll buttons are
// shown and the View menu's states. A placement the window would refuse (a
// negative width or height) is skipped and the pane keeps its last value, so
// the result depends on the panes as they were before the call.
#pragma once

#include <array>
#include <optional>

#include "views/modes.h"

namespace ui {

// One pane in twips, relative to the window's client area.
struct Box {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  bool visible = true;

  bool operator==(const Box&) const = default;
};

// Everything the layout sets. Default values are the window's design state.
struct Panes {
  Box barLeft{60, 540, 1215, 0};
  Box barTop{1320, 540, 8295, 495};
  Box tree{1320, 1080, 3615, 0};
  Box list{4995, 1080, 8415, 0};
  Box findBar{4995, 1080, 8415, 375, false};  // above the list while it is open
  Box codeLeft{4995, 0, 4065, 4395};   // the SEXP code window
  Box codeRight{9120, 0, 4065, 4395};  // the Parsed code window

  // Indexed by view mode (the views library numbers them); element 0 is
  // never shown.
  std::array<double, views::kModeCount + 1> iconTop{};
  std::array<bool, views::kModeCount + 1> iconVisible{};  // the icon and its caption
  int firstIconIndex = 1;  // the mode shown in the first slot, from now on
  bool upVisible = false;
  bool downVisible = false;
  double downTop = 0;

  bool modesEnabled = false;  // the View menu's eight mode entries
  bool treeChecked = true;
  bool codeLeftChecked = true;
  bool codeRightChecked = true;
  bool codeEntriesEnabled = false;
  bool collapseEnabled = true;
  bool reportView = false;  // list in report view, else large-icon view

  bool operator==(const Panes&) const = default;
};

struct LayoutInput {
  double outerWidth = 0;  // W, including frame, caption and menu bar
  double outerHeight = 0;
  bool treeButtonPressed = false;  // the "treeview" toolbar button
  bool leftCodeHidden = false;
  bool rightCodeHidden = false;
  bool hasFormulas = false;
  int firstIconIndex = 1;
  bool missionLoaded = false;
  bool findBarShown = false;
};

struct LayoutResult {
  Panes panes;
  // Set when the tree's visibility changed: the value to store under
  // "Display"/"TreeView".
  std::optional<bool> treeSetting;
  // No mission: the top bar's title is emptied.
  bool clearTitle = false;
};

// Lays the panes out for the given window; `before` is the current state.
LayoutResult Form_Resize(const LayoutInput& in, const Panes& before);

// Rounds to the nearest integer, halves to even.
int RoundHalfEven(double value);

// Number of icon slots for an icon bar of the given height (at least 1).
int IconSlots(double iconBarHeight);

}  // namespace ui
