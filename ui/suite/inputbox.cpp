#include "ui/suite/inputbox.h"

#include <QInputDialog>

namespace ui {

QString InputBox(QWidget* parent, const QString& title, const QString& prompt, const QString& preset) {
  bool ok = false;
  const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, preset, &ok);
  return ok ? answer : QString();
}

}  // namespace ui
