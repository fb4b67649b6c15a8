// Toolbar: the command buttons under the menu bar (Toolbar2) and the empty
// band under them (Toolbar1), both across the client area's full width. The
// buttons are found by key: "FileOpenFS1", "FileOpenFS2" and the two-state
// "treeview", whose value is the one switch for the outline tree. A click is
// reported with the button's key by buttonClicked, after a two-state button
// has toggled its value.
#pragma once

#include <QToolBar>

namespace ui {

class Toolbar : public QToolBar {
  Q_OBJECT

 public:
  // Both bars are children of `clientArea`; FitWidth sizes them.
  explicit Toolbar(QWidget* clientArea);

  bool TreeViewPressed() const;
  void SetTreeViewPressed(bool pressed);
  // Stretches both bars to the client area's width.
  void FitWidth(int width);

 signals:
  void buttonClicked(const QString& key);

 private:
  QAction* AddButton(const QString& key, const QString& icon, const QString& tip);
  int Px(double twips) const;

  QWidget* toolbar1_;
  QAction* treeview_;
};

}  // namespace ui
