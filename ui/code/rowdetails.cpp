#include "ui/code/rowdetails.h"

#include <QTextEdit>

#include "ui/code/codewindows.h"
#include "ui/common/qtext.h"
#include "ui/rules/rules.h"
#include "views/modes.h"

namespace ui {

RowDetails::RowDetails(QWidget* parent, CodeWindows* code) : QObject(parent), pane_(new QTextEdit(parent)), code_(code) {
  pane_->setObjectName(QStringLiteral("MessagePane"));
  pane_->setReadOnly(true);
  pane_->setAcceptRichText(false);
  pane_->hide();
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

void RowDetails::Show(int mode, std::size_t row, mission::TextView name) {
  const int slot = mode == views::kModeMessages ? mission::kSlotMessages
                   : mode == views::kModeShips  ? mission::kSlotObjects
                   : mode == views::kModeWings  ? mission::kSlotWings
                                                : 0;
  const std::optional<views::LineRange> range = slot != 0 && mission_ ? Entries(slot).Row(row) : std::nullopt;
  if (!range) {
    if (shown_ == Details::kCues) code_->Clear();
    pane_->clear();
    shown_ = Details::kNone;
    return;
  }
  if (mode == views::kModeMessages) {
    const views::MessageDetails details = views::MessageDetailsOf(mission_->Sections().Slot(slot), *range);
    // A hostile file's multi-megabyte text would keep the pane laying it out.
    QString text = ToQString(CodeWindowText(views::MessagePaneText(details)));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    pane_->setPlainText(text);
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
