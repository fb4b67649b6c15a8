#include "ui/code/codemarks.h"

#include <QTextFormat>

namespace ui {

namespace {

// Each mark carries its kind in its format.
constexpr int kMarkKind = QTextFormat::UserProperty + 1;

}  // namespace

void SetCodeMarks(QTextEdit* window, CodeMark kind, QList<QTextEdit::ExtraSelection> marks) {
  for (QTextEdit::ExtraSelection& mark : marks) mark.format.setProperty(kMarkKind, static_cast<int>(kind));
  // The found places first, so that the link is drawn over them.
  QList<QTextEdit::ExtraSelection> found = kind == CodeMark::kFound ? marks : CodeMarksOf(window, CodeMark::kFound);
  const QList<QTextEdit::ExtraSelection> link = kind == CodeMark::kLink ? marks : CodeMarksOf(window, CodeMark::kLink);
  found.append(link);
  window->setExtraSelections(found);
}

QList<QTextEdit::ExtraSelection> CodeMarksOf(const QTextEdit* window, CodeMark kind) {
  QList<QTextEdit::ExtraSelection> marks;
  for (const QTextEdit::ExtraSelection& mark : window->extraSelections()) {
    if (mark.format.intProperty(kMarkKind) == static_cast<int>(kind)) marks.append(mark);
  }
  return marks;
}

}  // namespace ui
