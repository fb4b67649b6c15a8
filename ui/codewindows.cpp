#include "ui/codewindows.h"

#include <QTextCursor>
#include <QTextEdit>

#include "ui/fonts.h"
#include "ui/qtext.h"
#include "ui/rules.h"
#include "ui/units.h"

namespace ui {

namespace {

// The code windows keep CR LF line breaks in their source texts; the text
// document holds one character per line break.
QString DocumentText(mission::TextView text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

QTextEdit* NewCodeWindow(QWidget* parent, const QString& name, const QString& designText) {
  auto* box = new QTextEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setAcceptRichText(false);
  box->setLineWrapMode(QTextEdit::NoWrap);
  box->setFont(CodeFont());
  box->document()->setDefaultFont(CodeFont());
  box->setPlainText(designText);
  return box;
}

}  // namespace

CodeWindows::CodeWindows(QWidget* parent)
    : QObject(parent),
      richTextBox1_(NewCodeWindow(parent, QStringLiteral("RichTextBox1"), QStringLiteral("SEXP Trees"))),
      richTextBox2_(NewCodeWindow(parent, QStringLiteral("RichTextBox2"), QStringLiteral("Parsed Code"))) {}

void CodeWindows::Clear() {
  richTextBox1_->clear();
  richTextBox2_->clear();
}

void CodeWindows::Show(const views::FormulaTexts& texts) {
  richTextBox2_->setPlainText(DocumentText(CodeWindowText(texts.parsed)));
  QTextCursor all(richTextBox2_->document());
  // All colouring in one edit block, so the document is laid out once.
  all.beginEditBlock();
  all.select(QTextCursor::Document);
  QTextCharFormat black;
  black.setForeground(ColourFromBgr(views::kColorBlack));
  all.mergeCharFormat(black);
  for (const views::ColorWord& word : views::kColorWords) colorize(richTextBox2_, word.text, word.color);
  all.endEditBlock();
  richTextBox2_->moveCursor(QTextCursor::Start);

  richTextBox1_->setPlainText(DocumentText(CodeWindowText(texts.sexp)));
  richTextBox1_->moveCursor(QTextCursor::Start);
}

void CodeWindows::colorize(QTextEdit* rtf, mission::TextView x, std::uint32_t color) {
  // The document keeps a line break as one character; search for it so.
  mission::Text find(x);
  mission::ReplaceFirst(find, u"\r\n", u"\n");
  const mission::Text text = FromQString(rtf->document()->toPlainText());
  QTextCharFormat format;
  format.setForeground(ColourFromBgr(color));
  QTextCursor cursor(rtf->document());
  // One edit block: the document is laid out once at its end instead of
  // after every span, which on a formula with many thousand matches would
  // take minutes.
  cursor.beginEditBlock();
  for (const std::size_t position : views::FindAll(text, find)) {
    cursor.setPosition(static_cast<int>(position));
    cursor.setPosition(static_cast<int>(position + find.size()), QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
  }
  cursor.endEditBlock();
  QTextCursor end = rtf->textCursor();
  end.clearSelection();
  rtf->setTextCursor(end);
}

}  // namespace ui
