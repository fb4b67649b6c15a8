#include "ui/code/codewindows.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "ui/code/codemarks.h"
#include "ui/common/fonts.h"
#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/rules/rules.h"
#include "views/find.h"

namespace ui {

namespace {

// The most places of the find text marked in one code window.
constexpr std::size_t kFoundMarksMax = 10000;

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

CodeWindows::CodeWindows(QWidget* parent, ViewerSettings& settings, QAction* parsedEntry, QStatusBar* statusBar)
    : QObject(parent),
      settings_(settings),
      richTextBox1_(NewCodeWindow(parent, QStringLiteral("RichTextBox1"), QStringLiteral("SEXP Trees"))),
      richTextBox2_(NewCodeWindow(parent, QStringLiteral("RichTextBox2"), QStringLiteral("Parsed Code"))),
      notice_(new QLabel(statusBar)) {
  notice_->setObjectName(QStringLiteral("StatusUnknownCommands"));
  notice_->setFont(TahomaFont());
  notice_->hide();
  statusBar->addPermanentWidget(notice_);

  // The menu entry stands right after the Parsed code window's own.
  auto* menu = qobject_cast<QMenu*>(parsedEntry->associatedObjects().value(0));
  auto* entry = new QAction(QStringLiteral("Translate FreeSpace &Open operators"),
                            menu != nullptr ? static_cast<QObject*>(menu) : this);
  entry->setObjectName(QStringLiteral("MenuViewModernOperators"));
  entry->setCheckable(true);
  if (menu != nullptr) {
    const QList<QAction*> entries = menu->actions();
    menu->insertAction(entries.value(entries.indexOf(parsedEntry) + 1), entry);
  }
  // A first start shows the original translation.
  const bool on = settings_.ModernOperators();
  operators_ = on ? sexp::OperatorSet::kFreeSpaceOpen : sexp::OperatorSet::kOriginal;
  entry->setChecked(on);
  // Only the user's choice is written, not the state set here.
  connect(entry, &QAction::triggered, this, &CodeWindows::ModernOperators_Toggled);
}

void CodeWindows::Clear() {
  richTextBox1_->clear();
  richTextBox2_->clear();
  ShowFound();
  notice_->hide();
  mission_.reset();
  source_ = nullptr;
}

void CodeWindows::Show(std::shared_ptr<const mission::Mission> mission, const views::Row& row) {
  ShowFrom(std::move(mission), [row](const mission::Mission& m, sexp::OperatorSet operators) {
    return views::ReadRowFormula(m.Sections(), row, operators);
  });
}

void CodeWindows::ShowFrom(std::shared_ptr<const mission::Mission> mission, Source source) {
  mission_ = std::move(mission);
  source_ = std::move(source);
  ShowTexts(source_(*mission_, operators_));
}

void CodeWindows::ModernOperators_Toggled(bool on) {
  settings_.SetModernOperators(on);
  operators_ = on ? sexp::OperatorSet::kFreeSpaceOpen : sexp::OperatorSet::kOriginal;
  if (source_) ShowTexts(source_(*mission_, operators_));
}

void CodeWindows::ShowTexts(const views::FormulaTexts& texts) {
  const Text notice = operators_ == sexp::OperatorSet::kOriginal
                          ? UnknownCommandNotice(views::UnknownCommandLines(texts.parsed))
                          : Text();
  notice_->setText(ToQString(notice));
  notice_->setVisible(!notice.empty());

  richTextBox2_->setPlainText(DocumentText(CodeWindowText(texts.parsed)));
  QTextCursor all(richTextBox2_->document());
  // All colouring in one edit block, so the document is laid out once.
  all.beginEditBlock();
  all.select(QTextCursor::Document);
  QTextCharFormat black;
  black.setForeground(ColourFromBgr(views::kColorBlack));
  all.mergeCharFormat(black);
  for (const views::ColorWord& word : views::ColorWords(operators_)) colorize(richTextBox2_, word.text, word.color);
  all.endEditBlock();
  richTextBox2_->moveCursor(QTextCursor::Start);

  richTextBox1_->setPlainText(DocumentText(CodeWindowText(texts.sexp)));
  richTextBox1_->moveCursor(QTextCursor::Start);
  ShowFound();
}

void CodeWindows::MarkFound(const QString& text) {
  if (text == found_) return;
  found_ = text;
  ShowFound();
}

void CodeWindows::ShowFound() {
  const views::FindText find(FromQString(found_));
  for (QTextEdit* window : {richTextBox1_, richTextBox2_}) {
    QList<QTextEdit::ExtraSelection> marks;
    if (found_.isEmpty()) {
      SetCodeMarks(window, CodeMark::kFound, {});  // nothing to find: the texts need no copy
      continue;
    }
    // The documents hold a line break as one character, as their positions
    // count. A text of one letter in a formula of many thousand lines would
    // give more marks than are worth drawing: the first ones do.
    const std::vector<std::size_t> at = find.All(FromQString(window->document()->toPlainText()));
    for (std::size_t i = 0; i < at.size() && i < kFoundMarksMax; ++i) {
      QTextEdit::ExtraSelection mark;
      mark.cursor = QTextCursor(window->document());
      mark.cursor.setPosition(static_cast<int>(at[i]));
      mark.cursor.setPosition(static_cast<int>(at[i] + find.Size()), QTextCursor::KeepAnchor);
      mark.format.setFontUnderline(true);
      mark.format.setUnderlineColor(QColor::fromRgb(kFoundMarkColour));
      marks.append(mark);
    }
    SetCodeMarks(window, CodeMark::kFound, std::move(marks));
  }
}

void CodeWindows::MarkSexpLine(std::size_t line) {
  if (line >= static_cast<std::size_t>(richTextBox1_->document()->blockCount())) return;
  QTextCursor cursor(richTextBox1_->document()->findBlockByNumber(static_cast<int>(line)));
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  richTextBox1_->setTextCursor(cursor);
  richTextBox1_->ensureCursorVisible();
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
