#include "ui/layout.h"

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

LayoutResult Form_Resize(const LayoutInput& in, const Panes& before) {
  LayoutResult result;
  Panes& p = result.panes;
  p = before;
  const double W = in.outerWidth;
  const double H = in.outerHeight;

  // Tree view.
  const bool treeWasVisible = p.tree.visible;
  p.tree.visible = in.treeButtonPressed;
  if (p.tree.visible != treeWasVisible) result.treeSetting = p.tree.visible;
  p.treeChecked = p.tree.visible;

  // Heights.
  SetSize(p.barLeft.height, H - kBarLeftAllowance);
  SetSize(p.tree.height, p.barLeft.height - p.barTop.height - kGap);
  SetSize(p.list.height, p.barLeft.height - p.barTop.height - kGap);
  p.codeLeft.top = H - p.codeLeft.height - kIconPitch;
  p.codeRight.top = H - p.codeRight.height - kIconPitch;
  const bool anyCodeWanted = !(in.leftCodeHidden && in.rightCodeHidden);
  if (in.hasFormulas && anyCodeWanted) SetSize(p.list.height, p.list.height - p.codeLeft.height - kGap);

  // Widths.
  int w = RoundHalfEven(W - kWidthAllowance);
  w = RoundHalfEven(w - p.barLeft.width);
  SetSize(p.barTop.width, w - kGap);
  if (p.tree.visible) w = RoundHalfEven(w - p.tree.width - kGap);
  if (w > 0) p.list.width = w;
  p.list.left = p.tree.visible ? p.tree.left + p.tree.width + kGap : p.tree.left;

  // Code windows.
  p.codeLeftChecked = !in.leftCodeHidden;
  p.codeRightChecked = !in.rightCodeHidden;
  p.codeLeft.visible = in.hasFormulas;
  p.codeRight.visible = in.hasFormulas;
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

  // Icon bar.
  const int slots = IconSlots(p.barLeft.height);
  for (int i = 1; i <= kModeCount; ++i) p.iconVisible[i] = false;
  p.modesEnabled = false;
  if (in.missionLoaded) {
    for (int k = 0; k < slots; ++k) {
      const int idx = in.firstIconIndex + k;
      if (idx < 1 || idx > kModeCount) continue;
      p.iconTop[idx] = k * kIconPitch + kWidthAllowance;
      p.iconVisible[idx] = true;
    }
    p.modesEnabled = true;
    p.upVisible = !p.iconVisible[1];
    p.downVisible = !p.iconVisible[kModeCount];
    p.downTop = p.barLeft.height - kDownButtonOffset;
    p.reportView = true;
  } else {
    p.upVisible = false;
    p.downVisible = false;
    result.clearTitle = true;
    p.reportView = false;
  }

  // Menus.
  p.codeEntriesEnabled = in.hasFormulas;
  p.collapseEnabled = p.tree.visible;
  return result;
}

}  // namespace ui
