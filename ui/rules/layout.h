// The main window's pane layout as a pure function, in twips.
//
// The layout reads the window's outer size and the user's switches and
// places the icon bar, the top bar, the outline tree, the mission list and
// the two code windows (or, for a selected message, the message pane in
// their place); it also decides which icons and scroll buttons are shown and
// the View menu's states.
//
// Two boundaries can be dragged: between the tree and the list (the tree's
// width) and between the list and the pane under it (the list's height).
// A boundary never dragged stays where the design puts it; a dragged one is
// kept within limits that leave every pane usable: the list at least three
// rows high, the pane under it and the tree at least half an inch, the list
// at least an inch wide. A placement the window would refuse (a
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
  Box messagePane{4995, 0, 8415, 4395, false};  // a selected message's or stage's text, in the code windows' place
  // The gaps that can be dragged: right of the tree, and under the list
  // while the pane under it is shown.
  Box treeBoundary{4935, 1080, 60, 0, false};
  Box listBoundary{4995, 0, 8415, 75, false};

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

// What the pane under the list shows for a selected row of a view without
// formulas: the cues of a ship or wing (in the code windows, like a formula)
// or the text of a message or command briefing stage (in the message pane);
// for a briefing or debriefing stage its text in the message pane above its
// formula in the code windows.
enum class Details { kNone, kCues, kMessage, kStage };

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
  Details details = Details::kNone;
  // Where the user dragged the boundaries, twips: the tree's width and the
  // list's height (its find bar included) while the pane under it is shown.
  // Nothing: the design layout.
  std::optional<double> treeWidth;
  std::optional<double> listHeight;
  // The least height of the list with a dragged boundary: its header and
  // three rows, twips.
  double listMinHeight = 0;
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

// The limits of a dragged boundary: the least tree width, the least list
// width beside it, the least height of the pane under the list.
inline constexpr double kTreeMinWidth = 720;
inline constexpr double kListMinWidth = 1440;
inline constexpr double kLowerMinHeight = 720;

// Number of icon slots for an icon bar of the given height (at least 1).
int IconSlots(double iconBarHeight);

}  // namespace ui
