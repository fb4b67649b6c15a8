#pragma once
// BrixEMsg: the library's error-message dialog. It shows the header and the
// message of a fatal set-up error (the library not installed, the Tahoma font
// missing) and closes with its one button.
#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ui {

class BrixEMsg : public QDialog {
  Q_OBJECT

 public:
  BrixEMsg(const QString& header, const QString& message, QWidget* parent = nullptr);

 private slots:
  void ButtonOK_Click();

 private:
  QLabel* Image1;
  QLabel* ErrorHeader;
  QFrame* Line1;
  QPlainTextEdit* ErrorMessage;
  QPushButton* ButtonOK;
};

}  // namespace ui
