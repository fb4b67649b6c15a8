// The window's two text bars. TitleBar (object name BarTop) shows the title
// of the view mode shown in BarTopText, in bold 12-point Tahoma. StatusPanel
// (object name StatusPanel1) is the status bar's text: a status while the
// program works, "Ready" otherwise.
#pragma once

#include <QFrame>
#include <QLabel>

class QStatusBar;

namespace ui {

class TitleBar : public QFrame {
  Q_OBJECT

 public:
  explicit TitleBar(QWidget* parent);
  void SetTitle(const QString& title) { text_->setText(title); }
  void Clear() { text_->clear(); }

 private:
  QLabel* text_;
};

class StatusPanel : public QLabel {
  Q_OBJECT

 public:
  // Joins `bar` as its stretching text, in Tahoma, beside the size grip.
  explicit StatusPanel(QStatusBar* bar);
  // Shows `status` at once, or "Ready" for an empty one; true when the
  // program is busy (a status was given).
  bool ShowStatus(const QString& status);
};

}  // namespace ui
