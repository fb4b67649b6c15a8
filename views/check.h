// The mission check: references that name nothing, duplicate names, wrong
// argument counts, undeclared variables, unbalanced brackets, unknown
// operators, "<argument>" where no loop supplies it, message lists cut
// short and broken XSTR texts, found in every formula of a mission (events,
// goals, and the arrival and departure cues of ships and wings) and in its
// texts; on request also the variables and messages nothing uses.
//
// The check is a pure function of the loaded mission. It reads the file's
// own lines (Mission::FileLine), so every problem carries the line an editor
// shows, and it reads "#Sexp_variables", which the section store does not
// keep.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"

namespace views {

enum class Severity : std::uint8_t { kError, kWarning };

// The kinds of problem, each with a rule id that users see, name in
// `--ignore` and find in JSON and SARIF output. Each rule has one severity.
enum class Rule : std::uint8_t {
  kUnknownName,         // error: an argument names no event, goal, message, ship or wing
  kCaseOnlyName,        // warning: a name or variable that matches only when case is ignored
  kArgumentCount,       // error: a known operator with too few or too many arguments
  kUndeclaredVariable,  // error: @Name[...] without a declaration
  kBrackets,            // error: a formula whose brackets do not close, or close too often
  kUnknownOperator,     // warning: in neither operator table (a mod may define it)
  kDuplicateName,       // warning: a later entry with a name already used in its section
  kArgumentOutside,     // error: "<argument>" outside every operator that supplies it
  kMessageGroup,        // warning: a message list whose arguments are not whole groups
  kXstr,                // warning: an XSTR text left open, or an id that is no integer
  kUnusedVariable,      // warning, on request: a variable nothing reads or writes
  kUnusedMessage,       // warning, on request: a message no formula sends
};
inline constexpr int kRuleCount = 12;

struct RuleInfo {
  std::string_view id;           // «unknown-name»
  Severity severity;
  std::string_view description;  // one sentence, for SARIF and the README
};

// Every rule, in the order of the enum.
std::span<const RuleInfo> AllRules();
const RuleInfo& InfoOf(Rule rule);
Severity SeverityOf(Rule rule);
// The rule of an id as users write it; nothing for an unknown id.
std::optional<Rule> RuleOfId(std::string_view id);

using RuleSet = std::bitset<kRuleCount>;
inline void Add(RuleSet& set, Rule rule) { set.set(static_cast<std::size_t>(rule)); }
inline bool Holds(const RuleSet& set, Rule rule) { return set.test(static_cast<std::size_t>(rule)); }

struct CheckSettings {
  bool unused = false;  // also report unused variables and messages
  RuleSet ignored;      // rules whose problems are left out
};

// What a name is expected to name.
enum class NameKind : std::uint8_t { kEvent, kGoal, kMessage, kShip, kWing, kShipOrWing, kVariable };

// The view that lists the entries of a kind: Events, Goals, Messages, Ships,
// Wings or Variables; 0 for ships or wings.
int ModeOfNameKind(NameKind kind);

inline constexpr std::uint32_t kUnlimited = 0xFFFFFFFFu;

// One problem. Its texts are views into the mission's text: a problem is
// valid as long as the mission it was found in.
struct Problem {
  std::uint32_t line = 0;    // 1-based line of the file
  std::uint32_t column = 0;  // 1-based position in that line, for ordering
  Rule rule = Rule::kUnknownName;
  NameKind kind = NameKind::kEvent;  // what the name should name; case rules: what it matches
  mission::TextView op;     // the operator as written; empty when the problem has none
  mission::TextView name;   // the name or variable; brackets: the formula's key; XSTR: the id
  mission::TextView match;  // case rules: the name that matches when case is ignored
  // kArgumentCount and kMessageGroup: the arguments given; kBrackets: the
  // brackets left open (0: a ")" closes nothing); kDuplicateName: the line of
  // the first entry with that name; kUnknownOperator: its uses in the
  // mission; kXstr: 0 when the id is no integer, 1 when the text is left
  // open, 2 when no comma and id follow the text.
  std::uint32_t count = 0;
  std::uint32_t low = 0;            // kArgumentCount: the operator's limits
  std::uint32_t high = kUnlimited;  //   (kUnlimited: no upper limit); kMessageGroup: the group's size
  // Where the window shows the problem: a view mode (general 1, goals 2,
  // events 4, messages 5, ships 6, wings 7, variables 9, briefing 10,
  // command briefing 11, debriefing 12) and a 1-based row of that view;
  // the row of an event, goal or stage is the one whose formula holds it.
  // Mode 0: no view; row 0: the view alone.
  int mode = 0;
  std::uint32_t row = 0;
};

// Every problem of the mission, ordered by line, then by position in the line.
std::vector<Problem> CheckMission(const mission::Mission& mission, const CheckSettings& settings = {});

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
// «3 errors in 2 missions», for a report that leaves warnings out.
std::string ErrorsText(std::size_t errors, std::size_t missions);

// Whether a name holds a letter or a digit. A name made only of marks,
// such as «------» or «=====», divides a long list and is no real name.
bool HasLetterOrDigit(mission::TextView name);

}  // namespace views
