// PaneBoundaries: the two boundaries the user can drag, right of the
// outline tree ("TreeBoundary") and under the mission list
// ("ListBoundary"), as thin handles in the gaps between the panes. Dragging
// one lays the window out anew as the mouse moves; releasing it keeps the
// place in the settings (Display/TreeWidth, Display/ListHeight, in twips);
// a double click puts it back where the design has it and forgets the
// setting. The limits that keep every pane usable are the layout's.
#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "ui/rules/layout.h"

class QTreeView;
class QWidget;

namespace ui {

class ViewerSettings;

class PaneBoundaries : public QObject {
  Q_OBJECT

 public:
  // The handles are children of `client`, whose coordinates are the
  // layout's; `list` is the mission list, whose rows give its least height;
  // `relayout` lays the window out.
  PaneBoundaries(QWidget* client, ViewerSettings& settings, QTreeView* list, std::function<void()> relayout);

  // The dragged places and the list's least height, for the layout.
  void Fill(LayoutInput& in) const;
  // Puts the handles where the layout put the boundaries.
  void Place(const Panes& panes);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  double TwipsPerPixel() const;

  QWidget* client_;
  ViewerSettings& settings_;
  QTreeView* list_;
  std::function<void()> relayout_;
  QWidget* treeHandle_;
  QWidget* listHandle_;
  std::optional<double> treeWidth_;
  std::optional<double> listHeight_;
  Panes panes_;
  // While a handle is dragged: where the mouse was pressed (on the screen,
  // pixels) and the tree's width or the list's height then (twips).
  QWidget* dragged_ = nullptr;
  double pressedAt_ = 0;
  double startValue_ = 0;
};

}  // namespace ui
