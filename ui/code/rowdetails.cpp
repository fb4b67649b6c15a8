#include "ui/code/rowdetails.h"

#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

#include "ui/code/codewindows.h"
#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/rules/rules.h"
#include "views/modes.h"
#include "views/stages.h"

namespace ui {

RowDetails::RowDetails(QWidget* parent, CodeWindows* code) : QObject(parent), pane_(new QTextEdit(parent)), code_(code) {
  pane_->setObjectName(QStringLiteral("MessagePane"));
  pane_->setReadOnly(true);
  pane_->setAcceptRichText(false);
  pane_->hide();
  plainPalette_ = pane_->palette();
}

void RowDetails::SetMission(std::shared_ptr<const mission::Mission> mission) {
  mission_ = std::move(mission);
  for (auto& entries : entries_) entries.reset();
  pane_->clear();
  shown_ = Details::kNone;
}

const views::EntryLines& RowDetails::Entries(int slot) {
  auto& entries = entries_[static_cast<std::size_t>(slot)];
  if (!entries) entries.emplace(mission_->Sections().Slot(slot));
  return *entries;
}

void RowDetails::ShowPlain(const QString& text) {
  pane_->setPalette(plainPalette_);
  pane_->setPlainText(text);
}

void RowDetails::ShowColored(const views::ColoredText& colored) {
  // Cut like a code window's text; the spans colour what is left of it.
  const mission::Text shown = CodeWindowText(colored.text);
  const std::size_t kept = static_cast<std::size_t>(
      std::mismatch(shown.begin(), shown.end(), colored.text.begin(), colored.text.end()).first - shown.begin());
  const std::uint32_t own = *views::TagColor(views::kBriefingTextTag);
  QPalette dark = plainPalette_;
  dark.setColor(QPalette::Base, Qt::black);
  dark.setColor(QPalette::Text, ColourFromBgr(own));
  pane_->setPalette(dark);
  pane_->clear();
  QTextCursor cursor(pane_->document());
  cursor.beginEditBlock();
  const auto insert = [&cursor](mission::TextView piece, std::uint32_t color) {
    QTextCharFormat format;
    format.setForeground(ColourFromBgr(color));
    QString text = ToQString(piece);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cursor.insertText(text, format);
  };
  for (const views::ColorSpan& span : colored.spans) {
    if (span.start >= kept) break;
    insert(mission::TextView(shown).substr(span.start, std::min(span.length, kept - span.start)), span.color);
  }
  if (kept < shown.size()) insert(mission::TextView(shown).substr(kept), own);
  cursor.endEditBlock();
  pane_->moveCursor(QTextCursor::Start);
}

bool RowDetails::ShowStage(int mode, std::size_t row, const views::ListData& list) {
  const std::optional<views::StageKind> kind = views::StageKindOfMode(mode);
  if (!kind || !mission_ || row < 1 || row > list.rowLines.size() || row > list.rows.size()) return false;
  const views::FileLines lines = list.rowLines[row - 1];
  const views::StageFields stage = views::ReadStage(*mission_, *kind, lines);
  ShowColored(views::StagePaneText(*kind, stage));
  if (*kind == views::StageKind::kCommandBriefing) {
    if (shown_ == Details::kCues || shown_ == Details::kStage) code_->Clear();
    shown_ = Details::kMessage;
    return true;
  }
  // The translator names the stage as its row does (its second cell).
  const std::vector<mission::Text>& cells = list.rows[row - 1].cells;
  const mission::Text owner = cells.size() > 1 ? cells[1] : mission::Text();
  code_->ShowFrom(mission_, [kind = *kind, lines, owner](const mission::Mission& m, sexp::OperatorSet operators) {
    return views::StageFormula(m, views::ReadStage(m, kind, lines), owner, operators);
  });
  shown_ = Details::kStage;
  return true;
}

void RowDetails::Show(int mode, std::size_t row, const views::ListData& list) {
  if (ShowStage(mode, row, list)) return;
  const mission::TextView name = row >= 1 && row <= list.rows.size() && !list.rows[row - 1].cells.empty()
                                     ? mission::TextView(list.rows[row - 1].cells[0])
                                     : mission::TextView();
  const int slot = mode == views::kModeMessages ? mission::kSlotMessages
                   : mode == views::kModeShips  ? mission::kSlotObjects
                   : mode == views::kModeWings  ? mission::kSlotWings
                                                : 0;
  const std::optional<views::LineRange> range = slot != 0 && mission_ ? Entries(slot).Row(row) : std::nullopt;
  if (!range) {
    if (shown_ == Details::kCues || shown_ == Details::kStage) code_->Clear();
    pane_->clear();
    shown_ = Details::kNone;
    return;
  }
  if (mode == views::kModeMessages) {
    const views::MessageDetails details = views::MessageDetailsOf(mission_->Sections().Slot(slot), *range);
    // A hostile file's multi-megabyte text would keep the pane laying it out.
    QString text = ToQString(CodeWindowText(views::MessagePaneText(details)));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown_ == Details::kStage) code_->Clear();
    ShowPlain(text);
    shown_ = Details::kMessage;
    return;
  }
  code_->ShowFrom(mission_, [slot, range = *range, owner = mission::Text(name)](const mission::Mission& m,
                                                                             sexp::OperatorSet operators) {
    return views::CueTexts(m.Sections().Slot(slot), range, owner, operators);
  });
  shown_ = Details::kCues;
}

}  // namespace ui
