#include "ui/suite/optionsdialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

OptionsDialog::OptionsDialog(Association association, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OptionsDialog"));
  setWindowTitle(tr("Options"));

  auto* files = new QGroupBox(tr("Mission files"), this);
  auto* question = new QLabel(tr("Open *.fsm and *.fs2 files with TORVEK32:"), files);
  ask_ = new QRadioButton(tr("&Ask at the next start"), files);
  always_ = new QRadioButton(tr("A&lways (renewed at every start)"), files);
  never_ = new QRadioButton(tr("&Never"), files);
  ask_->setObjectName(QStringLiteral("AssociateAsk"));
  always_->setObjectName(QStringLiteral("AssociateAlways"));
  never_->setObjectName(QStringLiteral("AssociateNever"));
  auto* filesLayout = new QVBoxLayout(files);
  filesLayout->addWidget(question);
  for (QRadioButton* b : {ask_, always_, never_}) filesLayout->addWidget(b);
  switch (association) {
    case Association::kAsk:
      ask_->setChecked(true);
      break;
    case Association::kYes:
      always_->setChecked(true);
      break;
    case Association::kNo:
      never_->setChecked(true);
      break;
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(files);
  layout->addWidget(buttons);
}

Association OptionsDialog::ChosenAssociation() const {
  if (always_->isChecked()) return Association::kYes;
  if (never_->isChecked()) return Association::kNo;
  return Association::kAsk;
}

}  // namespace ui
