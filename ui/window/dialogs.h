// The window's questions to the user go through this seam, so that tests can
// answer them: the open-file dialog, the warning and question message boxes
// and the Options dialog.
#pragma once

#include <QString>
#include <optional>

#include "ui/rules/settings.h"

class QWidget;

namespace ui {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows an open-file dialog. `filter` is written as the common dialog takes
  // it ("description|pattern|..."); the first filter is preselected. Returns
  // the chosen file, or the empty string when the user cancels.
  virtual QString OpenFile(QWidget* parent, const QString& directory, const QString& filter) = 0;

  virtual void Warning(QWidget* parent, const QString& title, const QString& text) = 0;

  // A question with Yes and No (the default); true for Yes.
  virtual bool Question(QWidget* parent, const QString& title, const QString& text) = 0;

  // The Options dialog, opened with the association setting `association`;
  // the choice when the user confirms it, nothing when he cancels.
  virtual std::optional<Association> Options(QWidget* parent, Association association) = 0;
};

// The platform's own dialogs.
class QtDialogs : public Dialogs {
 public:
  QString OpenFile(QWidget* parent, const QString& directory, const QString& filter) override;
  void Warning(QWidget* parent, const QString& title, const QString& text) override;
  bool Question(QWidget* parent, const QString& title, const QString& text) override;
  std::optional<Association> Options(QWidget* parent, Association association) override;
};

// The common dialog's filter in Qt's form: "description (patterns);;...".
// Patterns match either case, and "*.*" matches every file, dots or not.
QString QtFileFilter(const QString& filter);

}  // namespace ui
