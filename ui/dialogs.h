// The window's questions to the user go through this seam, so that tests can
// answer them: the open-file dialog and the warning message box.
#pragma once

#include <QString>

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
};

// The platform's own dialogs.
class QtDialogs : public Dialogs {
 public:
  QString OpenFile(QWidget* parent, const QString& directory, const QString& filter) override;
  void Warning(QWidget* parent, const QString& title, const QString& text) override;
};

// The common dialog's filter in Qt's form: "description (patterns);;...".
// Patterns match either case, and "*.*" matches every file, dots or not.
QString QtFileFilter(const QString& filter);

}  // namespace ui
