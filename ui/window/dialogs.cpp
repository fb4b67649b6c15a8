#include "ui/window/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "ui/common/qtext.h"
#include "ui/rules/rules.h"
#include "ui/suite/optionsdialog.h"

namespace ui {

QString QtFileFilter(const QString& filter) {
  QStringList entries;
  for (const FileFilter& f : SplitDialogFilter(FromQString(filter))) {
    QString description = ToQString(f.description);
    const QString pattern = ToQString(f.pattern);
    QStringList patterns;
    for (const QString& p : pattern.split(u';', Qt::SkipEmptyParts)) {
      if (p == u"*.*") {
        patterns << QStringLiteral("*");
        continue;
      }
      patterns << p.toLower();
      if (p.toUpper() != p.toLower()) patterns << p.toUpper();
    }
    // Qt reads the patterns from the last bracket of the description.
    description.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)$")));
    entries << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
  }
  return entries.join(QStringLiteral(";;"));
}

QString QtDialogs::OpenFile(QWidget* parent, const QString& directory, const QString& filter) {
  QFileDialog dialog(parent, QString(), directory, QtFileFilter(filter));
  // A typed name of a file that does not exist is accepted: the window then
  // says why it cannot be read.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::ReadOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void QtDialogs::Warning(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::warning(parent, title, text);
}

bool QtDialogs::Question(QWidget* parent, const QString& title, const QString& text) {
  return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

std::optional<Association> QtDialogs::Options(QWidget* parent, Association association) {
  OptionsDialog dialog(association, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ChosenAssociation();
}

}  // namespace ui
