// OptionsDialog: the Tools menu's "Options..." dialog. It shows the
// settings a user may want to change after the first start; for now the
// one the welcome question sets: whether start-up makes this program the
// one that opens mission files (ask at the next start, always, never). It
// only offers the choice; the window stores it and acts on it.
#pragma once

#include <QDialog>

#include "ui/rules/settings.h"

class QRadioButton;

namespace ui {

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens with `association` chosen.
  explicit OptionsDialog(Association association, QWidget* parent = nullptr);

  Association ChosenAssociation() const;

 private:
  QRadioButton* ask_;
  QRadioButton* always_;
  QRadioButton* never_;
};

}  // namespace ui
