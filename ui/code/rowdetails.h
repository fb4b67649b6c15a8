// RowDetails: what the pane under the mission list shows for a selected row
// of the Messages, Ships and Wings views, whose list cuts it, and of the
// stage views. A message's whole text with its persona and files goes into
// the message pane ("MessagePane", a read-only text window in the code
// windows' place, cut like a code window's text); a ship's or wing's arrival
// and departure cues go into the code windows, as SEXP and translation like
// an event's formula. Where a row's lines lie in its section is found once
// per mission and view (views::EntryLines). A briefing, command briefing or
// debriefing stage shows its whole text in the message pane in the game's
// colours, on the game's black, and a briefing or debriefing stage its
// formula in the code windows; the stage views keep their rows' lines.
#pragma once

#include <QObject>
#include <QPalette>
#include <array>
#include <memory>
#include <optional>

#include "mission/mission.h"
#include "ui/rules/layout.h"
#include "views/details.h"
#include "views/list.h"
#include "views/stage_text.h"

class QTextEdit;
class QWidget;

namespace ui {

class CodeWindows;

class RowDetails : public QObject {
  Q_OBJECT

 public:
  // The message pane is made a child of `parent`, hidden until placed.
  RowDetails(QWidget* parent, CodeWindows* code);

  QTextEdit* MessagePane() const { return pane_; }
  // What the pane under the list shows now.
  Details Shown() const { return shown_; }

  void SetMission(std::shared_ptr<const mission::Mission> mission);
  // Row `row` (1-based, in file order; 0 for none) of view `mode`, listed
  // in `list`, is selected. Rows of other views show nothing here, and the
  // code windows are left to their formula.
  void Show(int mode, std::size_t row, const views::ListData& list);

 private:
  const views::EntryLines& Entries(int slot);
  bool ShowStage(int mode, std::size_t row, const views::ListData& list);
  void ShowColored(const views::ColoredText& text);
  void ShowPlain(const QString& text);

  QTextEdit* pane_;
  CodeWindows* code_;
  std::shared_ptr<const mission::Mission> mission_;
  // By slot: the messages (5), the objects (3) and the wings (6).
  std::array<std::optional<views::EntryLines>, mission::kSlotWings + 1> entries_;
  Details shown_ = Details::kNone;
  QPalette plainPalette_;  // the pane's own colours, for a message
};

}  // namespace ui
