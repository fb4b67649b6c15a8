// Marks laid over the text of a code window without changing the text's own
// formats (as the window's extra selections): the places where the find
// bar's text occurs, underlined in a colour of their own, and the link under
// the mouse, underlined in the colours of its text. Each kind is replaced on
// its own, and the window shows both, the link over the found places.
#pragma once

#include <QList>
#include <QTextEdit>

namespace ui {

enum class CodeMark { kFound = 1, kLink = 2 };

// The colour of the find text's underline.
inline constexpr QRgb kFoundMarkColour = qRgb(0xE0, 0x60, 0x00);

// Replaces the marks of kind `kind` in `window` with `marks`.
void SetCodeMarks(QTextEdit* window, CodeMark kind, QList<QTextEdit::ExtraSelection> marks);

// The marks of kind `kind` that `window` shows.
QList<QTextEdit::ExtraSelection> CodeMarksOf(const QTextEdit* window, CodeMark kind);

}  // namespace ui
