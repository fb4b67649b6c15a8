// CodeLinkFollower: the links of the two code windows. In the SEXP and the
// Parsed code window, the names of events, goals, messages, ships and wings
// that the loaded mission defines are links: under the mouse a link is
// underlined (its colours stay) and the pointer becomes a hand; a click on
// it emits linkClicked with the view and row of the entry it names.
//
// Which names are links is views::FindCodeLinks over the texts the windows
// show, worked out when the mouse first moves over a window after its text
// changed; the mission's names by row (views::NameRows) are gathered once
// per mission, when first needed, unless the reader has handed them in.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>

#include "mission/mission.h"
#include "views/links.h"

class QTextEdit;

namespace ui {

class CodeLinkFollower : public QObject {
  Q_OBJECT

 public:
  CodeLinkFollower(QTextEdit* sexp, QTextEdit* parsed, QObject* parent);

  // The mission whose names the windows' texts are read for.
  void SetMission(std::shared_ptr<const mission::Mission> mission);
  // The names of `mission`, gathered elsewhere; taken when it is the
  // mission set and its names are not gathered yet.
  void TakeNames(const mission::Mission* mission, std::shared_ptr<const views::NameRows> names);

  // Finds the links of the windows' two texts (SEXP, translated).
  using LinkFinder = std::function<views::CodeLinks(mission::TextView sexp, mission::TextView parsed)>;
  // Links found by `find` instead of by the mission's names, until another
  // mission is set: a campaign's branches link its missions. Setting it
  // again finds the links anew (what it knows has grown).
  void SetLinkFinder(LinkFinder find);

 signals:
  // The link to row `row` (1-based, in file order) of view `mode` was clicked.
  void linkClicked(int mode, int row);
  // A link into the mission of row `entry` of the Campaign view was
  // clicked: row `row` of that mission's view `mode`.
  void missionLinkClicked(int entry, int mode, int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The link under `at` (viewport coordinates) of `window`, or nullptr.
  const views::CodeLink* LinkUnder(QTextEdit* window, QPoint at);
  void Underline(QTextEdit* window, const views::CodeLink* link);
  void Update();

  QTextEdit* sexp_;
  QTextEdit* parsed_;
  std::shared_ptr<const mission::Mission> mission_;
  std::shared_ptr<const views::NameRows> names_;
  LinkFinder find_;
  views::CodeLinks links_;
  bool stale_ = true;  // a window's text changed since links_ was worked out
  const views::CodeLink* underlined_ = nullptr;
  const views::CodeLink* pressed_ = nullptr;
  bool closing_ = false;  // a window is being destroyed with the main window
};

}  // namespace ui
