// The mission check: references that name nothing, duplicate names, wrong
// argument counts, undeclared variables, unbalanced brackets and unknown
// operators, found in every formula of a mission (events, goals, and the
// arrival and departure cues of ships and wings).
//
// The check is a pure function of the loaded mission. It reads the file's
// own lines (Mission::FileLine), so every problem carries the line an editor
// shows, and it reads "#Sexp_variables", which the section store does not
// keep.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"

namespace views {

enum class Severity : std::uint8_t { kError, kWarning };

enum class Rule : std::uint8_t {
  kNoSuchName,          // error: an argument names no event, goal, message, ship or wing
  kNameCase,            // warning: it names one only when case is ignored
  kArgumentCount,       // error: a known operator with too few or too many arguments
  kUndeclaredVariable,  // error: @Name[...] without a declaration
  kVariableCase,        // warning: declared only with another case
  kUnclosedBrackets,    // error: a formula whose brackets do not close
  kExtraClosing,        // error: a ")" that closes nothing
  kUnknownOperator,     // warning: in neither operator table (a mod may define it)
  kDuplicateName,       // warning: a later entry with a name already used in its section
};
inline constexpr int kRuleCount = 9;

// What a name is expected to name.
enum class NameKind : std::uint8_t { kEvent, kGoal, kMessage, kShip, kWing, kShipOrWing, kVariable };

// The view that lists the entries of a kind: Events, Goals, Messages, Ships
// or Wings; 0 for the other kinds.
int ModeOfNameKind(NameKind kind);

inline constexpr std::uint32_t kUnlimited = 0xFFFFFFFFu;

// One problem. Its texts are views into the mission's text: a problem is
// valid as long as the mission it was found in.
struct Problem {
  std::uint32_t line = 0;    // 1-based line of the file
  std::uint32_t column = 0;  // 1-based position in that line, for ordering
  Rule rule = Rule::kNoSuchName;
  NameKind kind = NameKind::kEvent;  // what the name should name; case rules: what it matches
  mission::TextView op;     // the operator as written; empty when the problem has none
  mission::TextView name;   // the name or variable; for brackets the formula's key
  mission::TextView match;  // case rules: the name that matches when case is ignored
  // kArgumentCount: the arguments given; kUnclosedBrackets: the brackets left
  // open; kDuplicateName: the line of the first entry with that name.
  std::uint32_t count = 0;
  std::uint32_t low = 0;            // kArgumentCount: the operator's limits
  std::uint32_t high = kUnlimited;  //   (kUnlimited: no upper limit)
  // Where the window shows the problem: a view mode (goals 2, events 4,
  // messages 5, ships 6, wings 7) and a 1-based row of that view; the row of
  // an event or goal is the one whose formula holds the problem. 0: none.
  int mode = 0;
  std::uint32_t row = 0;
};

// Every problem of the mission, ordered by line, then by position in the line.
std::vector<Problem> CheckMission(const mission::Mission& mission);

Severity SeverityOf(Rule rule);
// The problem in words, e.g. «is-event-true-delay: no event named "Nonexistent Event"».
mission::Text ProblemText(const Problem& problem);

struct ProblemCounts {
  std::size_t errors = 0;
  std::size_t warnings = 0;
};
ProblemCounts CountProblems(std::span<const Problem> problems);
// «3 errors, 1 warning»
std::string CountsText(ProblemCounts counts);
// «3 errors, 1 warning in 2 missions»
std::string CountsText(ProblemCounts counts, std::size_t missions);

}  // namespace views
