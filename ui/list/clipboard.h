// Copying from the window.
//
// ListClipboard owns the mission list's context menu, with "Copy" (the
// selected rows) and "Copy cell" (the cell under the mouse), and puts the
// list's texts on the clipboard: whole cells, however the list cuts them for
// showing. Other commands join the context menu through
// contextMenuAboutToShow.
//
// CopyShortcut owns Ctrl+C in the window: it copies the selected text of a
// code window or the selected rows of the list (CtrlCSource decides which);
// when there is nothing to copy it reports `unclaimed`, and the key keeps
// its older meaning (the window collapses the outline tree).
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QModelIndex;
class QPoint;
class QShortcut;
class QTextEdit;
class QTreeView;
class QWidget;

namespace ui {

class ListClipboard : public QObject {
  Q_OBJECT

 public:
  // `list` shows the mission list (the list model, or proxies over it).
  explicit ListClipboard(QTreeView* list);

  bool HasSelectedRows() const;
  // "Copy": the selected rows in the order shown, under the column captions.
  void CopyRows();
  // "Copy cell": the whole text of one cell.
  void CopyCell(const QModelIndex& cell);

 signals:
  // The context menu is about to show over `cell` (invalid when the mouse is
  // not over a row); entries added to `menu` show below Copy and Copy cell.
  void contextMenuAboutToShow(QMenu* menu, const QModelIndex& cell);

 private:
  void ShowContextMenu(const QPoint& position);

  QTreeView* list_;
};

class CopyShortcut : public QObject {
  Q_OBJECT

 public:
  // Ctrl+C anywhere in `window`.
  CopyShortcut(QWidget* window, QTextEdit* sexp, QTextEdit* parsed, ListClipboard* list, QTreeView* listView);

 signals:
  // Ctrl+C found nothing to copy.
  void unclaimed();

 private:
  void Pressed();

  QTextEdit* sexp_;
  QTextEdit* parsed_;
  ListClipboard* list_;
  QTreeView* listView_;
};

}  // namespace ui
