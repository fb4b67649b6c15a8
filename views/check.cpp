#include "views/check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "sexp/operators.h"
#include "views/check_names.h"
#include "views/modes.h"

namespace views {

using mission::Text;
using mission::TextView;

namespace {

// Whether a field line begins with `key`. Most lines of a large mission are
// told apart by their second character, so that is looked at first.
constexpr bool StartsWith(TextView text, TextView key) {
  return text.size() >= key.size() && text[1] == key[1] && text.substr(0, key.size()) == key;
}

// A line that begins a field or a section: a formula never runs on into one.
bool IsKeyLine(TextView line) {
  return !line.empty() && (line.front() == u'#' || line.front() == u'$' || line.front() == u'+');
}

bool IsBlank(char16_t c) { return c <= u' '; }

std::uint32_t Column(TextView line, TextView part) {
  return static_cast<std::uint32_t>(part.data() - line.data()) + 1;
}

// The keys that begin a formula.
constexpr TextView kFormulaKeys[] = {u"$Formula", u"$Arrival Cue", u"$Departure Cue"};
enum FormulaKey : std::uint8_t { kFormula, kArrivalCue, kDepartureCue };

// Where a formula begins, and the list row the window shows for it. Kept
// small: a large mission has hundreds of thousands of them.
struct FormulaSite {
  std::uint32_t line = 0;
  std::uint32_t row = 0;
  FormulaKey key = kFormula;
  std::uint8_t mode = 0;
};

// A count for the operator table's int arguments; no formula comes near the limit.
int AsInt(std::uint32_t n) { return static_cast<int>(std::min<std::uint32_t>(n, INT32_MAX)); }

// What argument `position` of an operator must name, when it is one of the
// kinds the check looks up. The is-previous-event-* and is-previous-goal-*
// operators name events and goals of the campaign's previous mission, which
// this mission cannot know.
std::optional<NameKind> CheckedKind(const sexp::Operator& op, std::uint32_t position) {
  if (op.name.starts_with("is-previous-event-") || op.name.starts_with("is-previous-goal-")) return std::nullopt;
  static constexpr std::pair<std::string_view, NameKind> kKinds[] = {
      {"event-name", NameKind::kEvent}, {"goal-name", NameKind::kGoal}, {"message", NameKind::kMessage},
      {"ship", NameKind::kShip},        {"wing", NameKind::kWing},      {"ship-wing", NameKind::kShipOrWing},
  };
  const std::string_view kind = op.ArgKind(AsInt(position));
  for (const auto& [word, name_kind] : kKinds) {
    // Most kinds ("number", "boolean", ...) differ in length or first letter.
    if (kind.size() == word.size() && kind.front() == word.front() && kind == word) return name_kind;
  }
  return std::nullopt;
}

// The name on a name line: the text after its six-character key, trimmed.
TextView NameOnLine(TextView line) { return mission::TrimBlankView(line.substr(6)); }

// The name on a declaration line of "#Sexp_variables": its number, then the
// name in quotes, the value and the type (the tabs between them are gone).
std::optional<TextView> VariableOnLine(TextView line) {
  const TextView text = mission::TrimBlankView(line);
  if (text.empty() || text.front() < u'0' || text.front() > u'9') return std::nullopt;
  const std::size_t open = text.find(u'"');
  if (open == TextView::npos) return std::nullopt;
  const std::size_t close = text.find(u'"', open + 1);
  if (close == TextView::npos) return std::nullopt;
  return text.substr(open + 1, close - open - 1);
}

// The first pass: the names of each section, the declared variables, the
// duplicates, and where each formula begins.
class Collector {
 public:
  Collector(const mission::Mission& mission, std::vector<Problem>& problems)
      : mission_(mission), problems_(problems) {}

  void Run() {
    const std::size_t count = mission_.FileLineCount();
    for (std::size_t n = 1; n <= count; ++n) Line(static_cast<std::uint32_t>(n), mission_.FileLine(n));
    AddNames();
  }

  MissionNames names;
  std::vector<FormulaSite> sites;

 private:
  // A name line, remembered until every name is known.
  struct Declared {
    std::uint32_t line = 0;
    std::uint32_t row = 0;
    NameKind kind = NameKind::kEvent;
  };

  void Line(std::uint32_t n, TextView line) {
    if (line.empty()) return;
    if (line.front() == u'#') return Section(line.substr(1));
    if (in_variables_) {
      if (VariableOnLine(line)) Declare(n, 0, NameKind::kVariable);
      return;
    }
    if (line.front() != u'$' && line.front() != u'+') return;
    switch (slot_) {
      case mission::kSlotEvents:
        if (StartsWith(line, u"$Formula:")) {
          // The formula belongs to the event whose name follows it, unless
          // another formula comes first.
          pending_event_ = sites.size();
          sites.push_back({n, 0, kFormula, kModeEvents});
        } else if (StartsWith(line, u"+Name:")) {
          ++event_rows_;
          if (pending_event_ != kNoSite) sites[pending_event_].row = event_rows_;
          pending_event_ = kNoSite;
          Declare(n, event_rows_, NameKind::kEvent);
        }
        break;
      case mission::kSlotGoals:
        if (StartsWith(line, u"$Type:")) {
          ++goal_rows_;
        } else if (StartsWith(line, u"$Formula:")) {
          sites.push_back({n, goal_rows_, kFormula, kModeGoals});
        } else if (StartsWith(line, u"+Name:")) {
          Declare(n, goal_rows_, NameKind::kGoal);
        }
        break;
      case mission::kSlotMessages:
        if (StartsWith(line, u"$Name:")) Declare(n, ++message_rows_, NameKind::kMessage);
        break;
      case mission::kSlotObjects:
        if (StartsWith(line, u"$Name:")) Declare(n, ++ship_rows_, NameKind::kShip);
        Cue(n, line, kModeShips, ship_rows_);
        break;
      case mission::kSlotWings:
        if (StartsWith(line, u"$Name:")) Declare(n, ++wing_rows_, NameKind::kWing);
        Cue(n, line, kModeWings, wing_rows_);
        break;
      default:
        break;
    }
  }

  void Section(TextView name) {
    slot_ = mission::SectionSlotOf(name);
    in_variables_ = mission::LowerAscii(name) == u"sexp_variables";
    pending_event_ = kNoSite;
  }

  void Cue(std::uint32_t n, TextView line, std::uint8_t mode, std::uint32_t row) {
    for (const FormulaKey key : {kArrivalCue, kDepartureCue}) {
      const TextView text = kFormulaKeys[key];
      if (StartsWith(line, text) && line.substr(text.size(), 1) == u":") sites.push_back({n, row, key, mode});
    }
  }

  void Declare(std::uint32_t n, std::uint32_t row, NameKind kind) {
    declared_.push_back({n, row, kind});
    ++declared_count_[static_cast<std::size_t>(kind)];
  }

  // Fills the name sets, each sized once, in file order: a later name that
  // an earlier one already has is a duplicate.
  void AddNames() {
    for (std::size_t kind = 0; kind < declared_count_.size(); ++kind) {
      names.Of(static_cast<NameKind>(kind)).Reserve(declared_count_[kind]);
    }
    for (const Declared& d : declared_) {
      const TextView line = mission_.FileLine(d.line);
      const bool variable = d.kind == NameKind::kVariable;
      const TextView name = variable ? *VariableOnLine(line) : NameOnLine(line);
      const NameSet::Entry* first = names.Of(d.kind).Add(name, d.line);
      if (first == nullptr || variable) continue;
      Problem p;
      p.line = d.line;
      p.column = name.empty() ? 7 : Column(line, name);
      p.rule = Rule::kDuplicateName;
      p.kind = d.kind;
      p.name = name;
      p.match = first->name;
      p.count = first->line;
      p.mode = ModeOfNameKind(d.kind);
      p.row = d.row;
      problems_.push_back(p);
    }
    declared_ = {};
  }

  static constexpr std::size_t kNoSite = static_cast<std::size_t>(-1);

  const mission::Mission& mission_;
  std::vector<Problem>& problems_;
  std::vector<Declared> declared_;
  std::array<std::size_t, 7> declared_count_{};
  int slot_ = 0;
  bool in_variables_ = false;
  std::size_t pending_event_ = kNoSite;
  std::uint32_t event_rows_ = 0, goal_rows_ = 0, message_rows_ = 0, ship_rows_ = 0, wing_rows_ = 0;
};

// The second pass: the tokens of one formula at a time, with a stack of the
// lists that are open. Each element is checked as it is met and each list's
// argument count when it closes, so nothing of a formula is kept beyond the
// open lists.
class FormulaChecker {
 public:
  FormulaChecker(const mission::Mission& mission, const MissionNames& names, std::vector<Problem>& problems)
      : mission_(mission), names_(names), problems_(problems) {}

  void Check(const FormulaSite& site) {
    site_ = &site;
    open_.clear();
    started_ = false;
    closed_ = false;
    trailing_ = 0;
    const std::size_t count = mission_.FileLineCount();
    for (std::size_t n = site.line; n <= count; ++n) {
      const TextView line = mission_.FileLine(n);
      if (n == site.line) {
        Scan(static_cast<std::uint32_t>(n), line, line.substr(kFormulaKeys[site.key].size() + 1));
      } else {
        if (IsKeyLine(line)) break;
        Scan(static_cast<std::uint32_t>(n), line, line);
      }
      if (stop_) break;
    }
    if (!open_.empty() && !stop_) {
      Problem p = Located(site.line, first_column_, Rule::kUnclosedBrackets);
      p.name = kFormulaKeys[site.key];
      p.count = static_cast<std::uint32_t>(open_.size());
      problems_.push_back(p);
    }
    stop_ = false;
  }

 private:
  // An open list: its operator (the first element, when it is a word) and
  // the number of elements after it.
  struct List {
    TextView op;
    std::uint32_t line = 0, column = 0;
    const sexp::Operator* known = nullptr;  // from the operator table
    std::uint32_t args = 0;
    bool first = true;  // no element seen yet
  };

  void Scan(std::uint32_t n, TextView line, TextView text) {
    std::size_t i = 0;
    while (i < text.size() && !stop_) {
      const char16_t c = text[i];
      if (IsBlank(c)) {
        ++i;
      } else if (c == u'(') {
        Open(n, Column(line, text.substr(i)));
        ++i;
      } else if (c == u')') {
        Close();
        ++i;
      } else if (c == u'"') {
        // A quoted text runs to the next quote; one left open ends with its line.
        const std::size_t end = text.find(u'"', i + 1);
        const std::size_t stop = end == TextView::npos ? text.size() : end;
        Element(n, Column(line, text.substr(i)), text.substr(i + 1, stop - i - 1), true);
        i = end == TextView::npos ? text.size() : end + 1;
      } else {
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end]) && text[end] != u'(' && text[end] != u')' &&
               text[end] != u'"') {
          ++end;
        }
        Element(n, Column(line, text.substr(i)), text.substr(i, end - i), false);
        i = end;
      }
    }
  }

  void Open(std::uint32_t n, std::uint32_t column) {
    if (closed_) {
      ++trailing_;  // text after the formula: only a ")" that closes nothing counts
      return;
    }
    if (!started_) {
      started_ = true;
      first_column_ = column;
    }
    if (!open_.empty()) {
      List& parent = open_.back();
      if (parent.first) {
        parent.first = false;  // a list in the operator's place: no operator to check
      } else {
        ++parent.args;
      }
    }
    List list;
    list.line = n;
    list.column = column;
    open_.push_back(list);
  }

  void Close() {
    if (trailing_ > 0) {
      --trailing_;
      return;
    }
    if (open_.empty()) {
      Problem p = Located(site_->line, started_ ? first_column_ : 1, Rule::kExtraClosing);
      p.name = kFormulaKeys[site_->key];
      problems_.push_back(p);
      stop_ = true;
      return;
    }
    const List& list = open_.back();
    if (list.known != nullptr && !list.known->TakesArgCount(AsInt(list.args))) {
      Problem p = Located(list.line, list.column, Rule::kArgumentCount);
      p.op = list.op;
      p.count = list.args;
      p.low = static_cast<std::uint32_t>(list.known->min_args);
      p.high = list.known->max_args == sexp::Operator::kUnlimited ? kUnlimited
                                                                    : static_cast<std::uint32_t>(list.known->max_args);
      problems_.push_back(p);
    }
    open_.pop_back();
    if (open_.empty()) closed_ = true;
  }

  void Element(std::uint32_t n, std::uint32_t column, TextView text, bool quoted) {
    if (open_.empty()) return;  // outside the formula's brackets
    List& list = open_.back();
    if (list.first) {
      list.first = false;
      if (quoted) return;
      list.op = text;
      list.line = n;
      list.column = column;
      list.known = sexp::FindOperator(text);
      if (list.known == nullptr) problems_.push_back(Located(n, column, Rule::kUnknownOperator, text));
      return;
    }
    ++list.args;
    Argument(list, n, column + (quoted ? 1 : 0), text);
  }

  void Argument(const List& list, std::uint32_t n, std::uint32_t column, TextView text) {
    if (!text.empty() && text.front() == u'@') {
      const std::size_t bracket = text.find(u'[');
      const TextView variable = text.substr(1, bracket == TextView::npos ? TextView::npos : bracket - 1);
      Lookup(list, n, column, variable, NameKind::kVariable);
      return;
    }
    if (list.known == nullptr || (!text.empty() && (text.front() == u'<' || text.front() == u'&'))) return;
    const std::optional<NameKind> kind = CheckedKind(*list.known, list.args);
    if (kind) Lookup(list, n, column, text, *kind);
  }

  void Lookup(const List& list, std::uint32_t n, std::uint32_t column, TextView name, NameKind kind) {
    const NameSet::Match match = names_.Find(kind, name);
    if (match.how == NameSet::How::kExact) return;
    const bool ignoring_case = match.how == NameSet::How::kIgnoringCase;
    Problem p = Located(n, column, ignoring_case ? CaseRule(kind) : MissingRule(kind), list.op);
    p.kind = ignoring_case ? match.kind : kind;
    p.name = name;
    p.match = match.name;
    problems_.push_back(p);
  }

  static Rule CaseRule(NameKind kind) { return kind == NameKind::kVariable ? Rule::kVariableCase : Rule::kNameCase; }
  static Rule MissingRule(NameKind kind) {
    return kind == NameKind::kVariable ? Rule::kUndeclaredVariable : Rule::kNoSuchName;
  }

  Problem Located(std::uint32_t n, std::uint32_t column, Rule rule, TextView op = {}) const {
    Problem p;
    p.line = n;
    p.column = column;
    p.rule = rule;
    p.op = op;
    p.mode = site_->mode;
    p.row = site_->row;
    return p;
  }

  const mission::Mission& mission_;
  const MissionNames& names_;
  std::vector<Problem>& problems_;
  const FormulaSite* site_ = nullptr;
  std::vector<List> open_;
  std::uint32_t first_column_ = 1;
  bool started_ = false;  // the formula's first "(" was met
  bool closed_ = false;   // its last ")" was met
  bool stop_ = false;     // nothing more of this formula is read
  std::size_t trailing_ = 0;  // brackets opened after the formula closed
};

}  // namespace

std::vector<Problem> CheckMission(const mission::Mission& mission) {
  std::vector<Problem> problems;
  Collector collector(mission, problems);
  collector.Run();
  FormulaChecker checker(mission, collector.names, problems);
  for (const FormulaSite& site : collector.sites) checker.Check(site);
  std::stable_sort(problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  });
  return problems;
}

int ModeOfNameKind(NameKind kind) {
  switch (kind) {
    case NameKind::kEvent: return kModeEvents;
    case NameKind::kGoal: return kModeGoals;
    case NameKind::kMessage: return kModeMessages;
    case NameKind::kShip: return kModeShips;
    case NameKind::kWing: return kModeWings;
    default: return 0;
  }
}

}  // namespace views
