#include "ui/rules/layout.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Layout constants, twips.
constexpr double kBarLeftAllowance = 1500;  // window height minus icon-bar height
constexpr double kGap = 60;
constexpr double kIconPitch = 960;  // also window bottom to code-window bottom
constexpr double kWidthAllowance = 240;  // also the top of the first icon
constexpr double kHalfGap = 30;
constexpr double kIconBarReserve = 480;
constexpr double kDownButtonOffset = 255;
constexpr double kListTop = 1080;
constexpr double kTreeWidth = 3615;    // the tree's design width
constexpr double kLowerHeight = 4395;  // the design height of the pane under the list

// Sizes the window would refuse are skipped: the pane keeps its value.
void SetSize(double& field, double value) {
  if (value >= 0) field = value;
}

}  // namespace

int RoundHalfEven(double value) {
  // nearbyint follows the default rounding mode, which rounds halves to even.
  return static_cast<int>(std::nearbyint(value));
}

int IconSlots(double iconBarHeight) {
  const int usable = RoundHalfEven(iconBarHeight - kIconBarReserve);
  const int n = RoundHalfEven(usable / kIconPitch);
  return n < 1 ? 1 : n;
}

namespace {

// Tree view: shown exactly when the toolbar button is pressed; a change is
// reported for the settings file.
void PlaceTree(const LayoutInput& in, LayoutResult& result) {
  Panes& p = result.panes;
  const bool treeWasVisible = p.tree.visible;
  p.tree.visible = in.treeButtonPressed;
  if (p.tree.visible != treeWasVisible) result.treeSetting = p.tree.visible;
  p.treeChecked = p.tree.visible;
}

// The code windows show a formula, or a ship's or wing's cues.
bool CodeShown(const LayoutInput& in) { return in.hasFormulas || in.details == Details::kCues; }

// The pane under the list: the code windows unless both are switched off, or
// the message pane.
bool LowerShown(const LayoutInput& in) {
  return in.details == Details::kMessage || in.details == Details::kStage ||
         (CodeShown(in) && !(in.leftCodeHidden && in.rightCodeHidden));
}

// A stage's text takes this share of the pane under the list, its formula
// the rest below it.
constexpr double kStageTextShare = 0.55;

// The height of the pane under the list: its design height, or what a
// dragged list height leaves of `full` (the height of list, gap and pane).
double LowerHeight(const LayoutInput& in, const Panes& p, double full) {
  if (!in.listHeight || !LowerShown(in)) return kLowerHeight;
  const double findRoom = in.findBarShown ? p.findBar.height + kGap : 0;
  double list = std::min(*in.listHeight, full - kGap - kLowerMinHeight);
  list = std::max(list, in.listMinHeight + findRoom);  // three rows come first
  list = std::min(list, full - kGap);                  // and the window's height before all
  return std::max(0.0, full - kGap - list);
}

// Heights: everything hangs from the icon bar, whose height follows the
// window's; the list makes room for the pane under it when that is shown.
void PlaceHeights(const LayoutInput& in, Panes& p) {
  const double H = in.outerHeight;
  SetSize(p.barLeft.height, H - kBarLeftAllowance);
  SetSize(p.tree.height, p.barLeft.height - p.barTop.height - kGap);
  SetSize(p.list.height, p.barLeft.height - p.barTop.height - kGap);
  const double lower = LowerHeight(in, p, p.list.height);
  const double top = H - lower - kIconPitch;
  for (Box* box : {&p.codeLeft, &p.codeRight, &p.messagePane}) {
    box->height = lower;
    box->top = top;
  }
  if (in.details == Details::kStage && !(in.leftCodeHidden && in.rightCodeHidden)) {
    // The text above, the formula below.
    const double text = std::round(lower * kStageTextShare);
    p.messagePane.height = text;
    for (Box* box : {&p.codeLeft, &p.codeRight}) {
      box->top = top + text + kGap;
      box->height = std::max(0.0, lower - text - kGap);
    }
  }
  if (LowerShown(in)) SetSize(p.list.height, p.list.height - lower - kGap);
}

// Widths: returns w, the width left for the list (and the code windows).
int PlaceWidths(const LayoutInput& in, Panes& p) {
  int w = RoundHalfEven(in.outerWidth - kWidthAllowance);
  w = RoundHalfEven(w - p.barLeft.width);
  SetSize(p.barTop.width, w - kGap);
  p.tree.width = kTreeWidth;
  if (in.treeWidth) p.tree.width = std::max(kTreeMinWidth, std::min(*in.treeWidth, w - kGap - kListMinWidth));
  if (p.tree.visible) w = RoundHalfEven(w - p.tree.width - kGap);
  if (w > 0) p.list.width = w;
  p.list.left = p.tree.visible ? p.tree.left + p.tree.width + kGap : p.tree.left;
  return w;
}

// Code windows: side by side under the list, one alone in the list's width,
// or none; a width too small to share keeps their last places. A message
// takes their place in the list's width; a stage's text stands above them.
void PlaceCodeWindows(const LayoutInput& in, int w, Panes& p) {
  p.codeLeftChecked = !in.leftCodeHidden;
  p.codeRightChecked = !in.rightCodeHidden;
  p.codeLeft.visible = CodeShown(in);
  p.codeRight.visible = CodeShown(in);
  p.messagePane.visible = in.details == Details::kMessage || in.details == Details::kStage;
  p.messagePane.left = p.list.left;
  p.messagePane.width = p.list.width;
  if (!in.leftCodeHidden && !in.rightCodeHidden) {
    if (w > kGap) {
      p.codeLeft.width = (w - kGap) / 2;
      p.codeRight.width = (w - kGap) / 2;
      p.codeLeft.left = p.list.left;
      p.codeRight.left = p.list.left + w / 2.0 + kHalfGap;
    }
  } else if (in.leftCodeHidden != in.rightCodeHidden) {
    if (w > kGap) {
      Box& wanted = in.leftCodeHidden ? p.codeRight : p.codeLeft;
      Box& other = in.leftCodeHidden ? p.codeLeft : p.codeRight;
      wanted.width = p.list.width;
      wanted.left = p.list.left;
      other.visible = false;
    }
  } else {
    p.codeLeft.visible = false;
    p.codeRight.visible = false;
  }
}

// Find bar: above the list and as wide; the list moves down to make room.
void PlaceFindBar(const LayoutInput& in, Panes& p) {
  p.findBar.visible = in.findBarShown;
  p.findBar.left = p.list.left;
  p.findBar.top = kListTop;
  p.findBar.width = p.list.width;
  const double room = p.findBar.height + kGap;
  p.list.top = in.findBarShown ? kListTop + room : kListTop;
  if (in.findBarShown) SetSize(p.list.height, p.list.height - room);
}

// The boundaries that can be dragged lie in the gaps right of the tree and
// under the list.
void PlaceBoundaries(const LayoutInput& in, Panes& p) {
  p.treeBoundary = {p.tree.left + p.tree.width, p.tree.top, kGap, p.tree.height, p.tree.visible};
  const double listBottom = p.list.top + p.list.height;
  p.listBoundary = {p.list.left, listBottom, p.list.width, p.messagePane.top - listBottom, LowerShown(in)};
}

// Icon bar: as many icons as there are slots, from FirstIconIndex on, and
// the scroll buttons where icons are left out; nothing without a mission.
// A bar made taller scrolls back as far as its new slots allow, so that no
// slot stays empty below the icons while icons are hidden above them: once
// all icons fit, it shows them all from the first and neither button.
void PlaceIconBar(const LayoutInput& in, LayoutResult& result) {
  Panes& p = result.panes;
  const int slots = IconSlots(p.barLeft.height);
  for (int i = 1; i <= views::kModeCount; ++i) p.iconVisible[i] = false;
  p.modesEnabled = false;
  p.firstIconIndex = in.firstIconIndex;
  if (in.missionLoaded) {
    p.firstIconIndex = std::min(in.firstIconIndex, std::max(1, views::kModeCount - slots + 1));
    for (int k = 0; k < slots; ++k) {
      const int idx = p.firstIconIndex + k;
      if (idx < 1 || idx > views::kModeCount) continue;
      p.iconTop[idx] = k * kIconPitch + kWidthAllowance;
      p.iconVisible[idx] = true;
    }
    p.modesEnabled = true;
    p.upVisible = !p.iconVisible[1];
    p.downVisible = !p.iconVisible[views::kModeCount];
    p.downTop = p.barLeft.height - kDownButtonOffset;
    p.reportView = true;
  } else {
    p.upVisible = false;
    p.downVisible = false;
    result.clearTitle = true;
    p.reportView = false;
  }
}

}  // namespace

LayoutResult Form_Resize(const LayoutInput& in, const Panes& before) {
  LayoutResult result;
  result.panes = before;
  Panes& p = result.panes;
  PlaceTree(in, result);
  PlaceHeights(in, p);
  const int w = PlaceWidths(in, p);
  PlaceCodeWindows(in, w, p);
  PlaceFindBar(in, p);
  PlaceBoundaries(in, p);
  PlaceIconBar(in, result);
  // Menus.
  p.codeEntriesEnabled = CodeShown(in);
  p.collapseEnabled = p.tree.visible;
  return result;
}

}  // namespace ui
