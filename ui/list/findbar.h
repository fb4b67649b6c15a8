// FindBar: the find bar above the mission list (FindBar), opened by Edit >
// "Find..." (Ctrl+F). It owns its field (FindField), its close button
// (FindClose) and the «N of M rows» label (FindRowCount) that the window puts
// into the status bar, shown while the bar is open.
//
// Typing sets the find text of the list's ShownRowsModel, which keeps the rows
// that hold it; when the selected row is left out, the first row kept is
// selected. Enter in the field selects the next row kept, Shift+Enter the
// previous one (round the ends). Escape, or the close button, clears the
// text, so every row is shown again, and closes the bar. The text stays
// while the bar is open, so a mode switch or a load filters the new list.
// Where the bar sits is the pane layout's decision; openedOrClosed tells the
// window to lay itself out again.
#pragma once

#include <QFrame>

class QAbstractItemView;
class QLabel;
class QLineEdit;
class QToolButton;

namespace ui {

class ShownRowsModel;

class FindBar : public QFrame {
  Q_OBJECT

 public:
  // `list` shows `shown`'s rows. The bar starts closed.
  FindBar(QAbstractItemView* list, ShownRowsModel* shown, QWidget* parent);

  bool IsOpen() const { return open_; }
  QLineEdit* Field() const { return field_; }
  QLabel* RowCountLabel() const { return rowCount_; }

 public slots:
  // Opens the bar (when closed) and puts the cursor into the field with its
  // text selected.
  void Open();
  // Clears the text, closes the bar and gives the keyboard back to the list.
  void Close();
  void Next();
  void Previous();

 signals:
  void openedOrClosed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Step(bool backwards);
  void TextEdited(const QString& text);
  void UpdateRowCount();

  QAbstractItemView* list_;
  ShownRowsModel* shown_;
  QLineEdit* field_;
  QToolButton* close_;
  QLabel* rowCount_;
  bool open_ = false;
};

}  // namespace ui
