// CodeWindows: the two code windows under the mission list, RichTextBox1
// (the SEXP code, as written in the file) and RichTextBox2 (the Parsed code,
// the formula translated into pseudo-code). It owns what they show: the
// formula of the selected row, each text cut to at most kCodeWindowMax
// characters, the colouring of the parsed code's key words, and emptying
// both on a mode switch. Where they sit is the pane layout's decision.
#pragma once

#include <QObject>
#include <cstdint>

#include "base/text.h"
#include "views/formula_display.h"

class QTextEdit;
class QWidget;

namespace ui {

class CodeWindows : public QObject {
  Q_OBJECT

 public:
  // Creates both windows as children of `parent`, with their design texts
  // "SEXP Trees" and "Parsed Code".
  explicit CodeWindows(QWidget* parent);

  QTextEdit* Sexp() const { return richTextBox1_; }
  QTextEdit* Parsed() const { return richTextBox2_; }

  void Clear();
  // Shows a formula: its lines in the SEXP window, its pseudo-code in the
  // Parsed window with the key words coloured.
  void Show(const views::FormulaTexts& texts);

  // Colours every occurrence of `x` in a code window (case-sensitive, also
  // inside longer words). `color` is 0xBBGGRR.
  static void colorize(QTextEdit* rtf, mission::TextView x, std::uint32_t color);

 private:
  QTextEdit* richTextBox1_;
  QTextEdit* richTextBox2_;
};

}  // namespace ui
