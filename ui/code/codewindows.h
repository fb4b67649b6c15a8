// CodeWindows: the two code windows under the mission list, RichTextBox1
// (the SEXP code, as written in the file) and RichTextBox2 (the Parsed code,
// the formula translated into pseudo-code). It owns what they show: the
// formula of the selected row, each text cut to at most kCodeWindowMax
// characters, the colouring of the parsed code's key words, and emptying
// both on a mode switch. It also owns how the formula is translated: the
// View menu's entry "Translate FreeSpace Open operators" (MenuViewModernOperators,
// right after the Parsed code window's own entry; checked from and written to
// the setting Display/ModernOperators, re-translating the shown formula at
// once) and the status bar's notice of "#UnknownCommand" lines while that
// entry is off, and the marks of the find bar's text in both windows (see
// codemarks.h). Where the windows sit is the pane layout's decision.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "base/text.h"
#include "mission/mission.h"
#include "sexp/formula.h"
#include "ui/rules/settings.h"
#include "views/formula_display.h"
#include "views/list.h"

class QAction;
class QLabel;
class QStatusBar;
class QTextEdit;
class QWidget;

namespace ui {

class CodeWindows : public QObject {
  Q_OBJECT

 public:
  // Creates both windows as children of `parent`, with their design texts
  // "SEXP Trees" and "Parsed Code"; adds the translation's menu entry after
  // `parsedEntry` (the menu entry of the Parsed code window), kept in
  // `settings`, and puts the notice on `statusBar`.
  CodeWindows(QWidget* parent, ViewerSettings& settings, QAction* parsedEntry, QStatusBar* statusBar);

  QTextEdit* Sexp() const { return richTextBox1_; }
  QTextEdit* Parsed() const { return richTextBox2_; }
  // The status bar's notice of lines left as "#UnknownCommand".
  QLabel* Notice() const { return notice_; }
  sexp::OperatorSet Operators() const { return operators_; }

  void Clear();
  // Shows the formula of `row` of `mission`: its lines in the SEXP window,
  // its pseudo-code in the Parsed window with the key words coloured. The
  // row is remembered, so that a change of translation shows it anew.
  void Show(std::shared_ptr<const mission::Mission> mission, const views::Row& row);
  // What the windows show in place of a formula (a ship's cues): the texts
  // `source` gives for `mission` with the chosen translation; remembered
  // like a row.
  using Source = std::function<views::FormulaTexts(const mission::Mission&, sexp::OperatorSet)>;
  void ShowFrom(std::shared_ptr<const mission::Mission> mission, Source source);
  // Selects line `line` (0-based) of the SEXP code window and scrolls it
  // into view; nothing when the window shows fewer lines.
  void MarkSexpLine(std::size_t line);
  // Marks where `text` occurs, ignoring case, in what both windows show now
  // and later; the empty text marks nothing.
  void MarkFound(const QString& text);

  // Colours every occurrence of `x` in a code window (case-sensitive, also
  // inside longer words). `color` is 0xBBGGRR.
  static void colorize(QTextEdit* rtf, mission::TextView x, std::uint32_t color);

 private slots:
  void ModernOperators_Toggled(bool on);

 private:
  void ShowTexts(const views::FormulaTexts& texts);
  void ShowFound();

  ViewerSettings& settings_;
  QTextEdit* richTextBox1_;
  QTextEdit* richTextBox2_;
  QLabel* notice_;
  sexp::OperatorSet operators_ = sexp::OperatorSet::kOriginal;
  // What is shown: its mission and where its texts come from.
  std::shared_ptr<const mission::Mission> mission_;
  Source source_;
  QString found_;  // the find bar's text
};

}  // namespace ui
