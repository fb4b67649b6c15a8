#include "views/check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "sexp/operators.h"
#include "views/check_names.h"
#include "views/formula_tokens.h"
#include "views/modes.h"
#include "views/sections.h"
#include "views/variables.h"

namespace views {

using mission::Text;
using mission::TextView;

namespace {

// Whether a field line begins with `key`. Most lines of a large mission are
// told apart by their second character, so that is looked at first.
constexpr bool StartsWith(TextView text, TextView key) {
  return text.size() >= key.size() && text[1] == key[1] && text.substr(0, key.size()) == key;
}

// A line that begins a field or a section: a formula or a text never runs
// on into one.
bool IsKeyLine(TextView line) {
  return !line.empty() && (line.front() == u'#' || line.front() == u'$' || line.front() == u'+');
}

bool IsBlank(char16_t c) { return c <= u' '; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// A line that ends a text written over several lines: "$end_multi_text", a
// section, or a field, which is "$" or "+" and a key of words before a colon
// ("$Name:", "+Avi Name:"). A text's own lines may begin with "$" too, with
// a colour tag ("$b Allied", "$f Alpha: go"), a variable ("$count left") or
// a key of the keyboard ("$Shift-J$ to cancel"); none is a key before a colon.
bool EndsText(TextView line) {
  if (line.empty()) return false;
  if (line.front() == u'#') return true;
  if (line.front() != u'$' && line.front() != u'+') return false;
  if (line.starts_with(u"$end_multi_text")) return true;
  const std::size_t colon = line.find(u':');
  if (colon == TextView::npos || colon < 3 || !IsLetter(line[1]) || line[2] == u' ') return false;
  const TextView key = line.substr(1, colon - 1);
  return std::all_of(key.begin(), key.end(), [](char16_t c) {
    return IsLetter(c) || IsDigit(c) || c == u' ' || c == u'_' || c == u'-';
  });
}

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

// The sections the check reads. The stored ones carry their slot's number;
// the others are read from the file's own lines.
enum class Section : std::uint8_t {
  kOther,
  kGoals,
  kObjects,
  kEvents,
  kMessages,
  kWings,
  kMissionInfo,
  kVariables,
  kBriefing,
  kCommandBriefing,  // texts only
  kDebriefing,
};

bool IsStageSection(Section section) {
  return section == Section::kBriefing || section == Section::kCommandBriefing || section == Section::kDebriefing;
}

Section SectionNamed(TextView name) {
  switch (mission::SectionSlotOf(name)) {
    case mission::kSlotGoals: return Section::kGoals;
    case mission::kSlotObjects: return Section::kObjects;
    case mission::kSlotEvents: return Section::kEvents;
    case mission::kSlotMessages: return Section::kMessages;
    case mission::kSlotWings: return Section::kWings;
    case mission::kSlotMissionInfo: return Section::kMissionInfo;
    default: break;
  }
  const Text lower = mission::LowerAscii(name);
  if (lower == u"sexp_variables") return Section::kVariables;
  if (lower == u"briefing") return Section::kBriefing;
  if (lower == u"command briefing") return Section::kCommandBriefing;
  if (lower == u"debriefing_info") return Section::kDebriefing;
  return Section::kOther;
}

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

// The current argument of the loop around it.
constexpr TextView kArgumentWord = u"<argument>";

// Whether an operator supplies "<argument>" to what it holds: the loops
// whose first argument is the list they run over (when-argument,
// every-time-argument), and do-for-valid-arguments.
bool SuppliesArgument(const sexp::Operator& op) {
  static const sexp::Operator* const kDoForValid = sexp::FindOperator(std::string_view("do-for-valid-arguments"));
  return &op == kDoForValid || op.ArgKind(1) == "argument-operator";
}

// The size of the groups the arguments of a message list come in
// (send-message-list, send-message-chain: sender, priority, message, delay);
// 0 for any other operator. The table says so: its repeated kinds hold a
// message.
std::uint32_t MessageGroupOf(const sexp::Operator& op) {
  if (op.repeat_last < 2 || op.max_args != sexp::Operator::kUnlimited) return 0;
  const auto kinds = op.ArgKinds();
  for (std::size_t i = kinds.size() - op.repeat_last; i < kinds.size(); ++i) {
    if (kinds[i] == "message") return op.repeat_last;
  }
  return 0;
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

// An XSTR id: an integer, perhaps negative.
bool IsInteger(TextView text) {
  if (!text.empty() && text.front() == u'-') text.remove_prefix(1);
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// Which variables and messages something uses, by their place in the
// mission's name sets. Only kept when unused ones are asked for.
class Usage {
 public:
  explicit Usage(const MissionNames& names)
      : names_(names),
        variables_(names.Of(NameKind::kVariable).Size()),
        messages_(names.Of(NameKind::kMessage).Size()) {}

  // A name as a formula writes it; the case of A-Z does not count.
  void Variable(TextView name) { Mark(NameKind::kVariable, name, variables_); }
  void Message(TextView name) { Mark(NameKind::kMessage, name, messages_); }

  // Every `$Name` of a text that names a variable. A name runs to the next
  // blank at most, and no variable name is longer than 32 characters, so
  // each "$" costs at most 32 look-ups.
  void TextVariables(TextView text) {
    if (variables_.empty()) return;
    for (std::size_t at = text.find(u'$'); at != TextView::npos; at = text.find(u'$', at + 1)) {
      std::size_t end = at + 1;
      while (end < text.size() && end - at <= kLongestVariable && !IsBlank(text[end]) && text[end] != u'$') ++end;
      for (std::size_t length = 1; at + length < end; ++length) Variable(text.substr(at + 1, length));
    }
  }

  bool VariableUsed(std::size_t index) const { return variables_[index]; }
  bool MessageUsed(std::size_t index) const { return messages_[index]; }

 private:
  static constexpr std::size_t kLongestVariable = 32;

  void Mark(NameKind kind, TextView name, std::vector<bool>& used) {
    const std::size_t index = names_.Of(kind).IndexOf(name);
    if (index != NameSet::kNone) used[index] = true;
  }

  const MissionNames& names_;
  std::vector<bool> variables_, messages_;
};

// The first pass: the names of each section, the declared variables, the
// duplicates, where each formula begins, and the XSTR texts of every field.
class Collector {
 public:
  Collector(const mission::Mission& mission, const CheckSettings& settings, std::vector<Problem>& problems)
      : mission_(mission), settings_(settings), problems_(problems) {}

  void Run() {
    const std::size_t count = mission_.FileLineCount();
    for (std::size_t n = 1; n <= count; ++n) {
      const auto number = static_cast<std::uint32_t>(n);
      const TextView line = mission_.FileLine(n);
      // The line first, so that a text on the line that begins an entry
      // belongs to that entry.
      Line(number, line);
      Xstr(number, line);
    }
    if (xstr_open_) XstrLeftOpen();
    AddNames();
  }

  // The variables a text line uses (its `$Name`s), once the names are known.
  void TextVariables(Usage& usage) const {
    for (const std::uint32_t n : text_lines_) {
      TextView line = mission_.FileLine(n);
      // A field's own key, such as "$Message:", names no variable.
      if (!line.empty() && line.front() == u'$') {
        const std::size_t colon = line.find(u':');
        const std::size_t blank = line.find(u' ');
        if (colon != TextView::npos && colon < blank) line.remove_prefix(colon + 1);
      }
      usage.TextVariables(line);
    }
  }

  // The row of the view that lists the entry that `index` names first.
  std::uint32_t FirstRow(NameKind kind, std::size_t index) const {
    return first_rows_[static_cast<std::size_t>(kind)][index];
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
    if (line.front() == u'#') return EnterSection(line.substr(1));
    if (settings_.unused && (section_ == Section::kMessages || IsStageSection(section_))) {
      if (line.find(u'$') != TextView::npos) text_lines_.push_back(n);
    }
    if (section_ == Section::kVariables) {
      // The Variables view lists a row for every line it can read, some
      // that name no variable too.
      if (ReadVariableLine(line)) ++variable_rows_;
      if (VariableOnLine(line)) Declare(n, variable_rows_, NameKind::kVariable);
      return;
    }
    if (line.front() != u'$' && line.front() != u'+') return;
    // Each section with entries or formulas the check reads, its rows
    // counted as its view counts them.
    switch (section_) {
      case Section::kEvents:
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
      case Section::kGoals:
        if (StartsWith(line, u"$Type:")) {
          ++goal_rows_;
        } else if (StartsWith(line, u"$Formula:")) {
          sites.push_back({n, goal_rows_, kFormula, kModeGoals});
        } else if (StartsWith(line, u"+Name:")) {
          Declare(n, goal_rows_, NameKind::kGoal);
        }
        break;
      case Section::kMessages:
        if (StartsWith(line, u"$Name:")) Declare(n, ++message_rows_, NameKind::kMessage);
        break;
      case Section::kObjects:
        if (StartsWith(line, u"$Name:")) Declare(n, ++ship_rows_, NameKind::kShip);
        Cue(n, line, kModeShips, ship_rows_);
        break;
      case Section::kWings:
        if (StartsWith(line, u"$Name:")) Declare(n, ++wing_rows_, NameKind::kWing);
        Cue(n, line, kModeWings, wing_rows_);
        break;
      case Section::kBriefing:
        // A stage's icons have no formula of their own. The keys of the
        // stages are told apart ignoring case, as their views do.
        if (StartsWithKey(line, u"$start_stage")) {
          ++briefing_rows_;
        } else if (StartsWithKey(line, u"$Formula:")) {
          sites.push_back({n, briefing_rows_, kFormula, kModeBriefing});
        }
        break;
      case Section::kCommandBriefing:
        if (StartsWithKey(line, u"$Stage Text:")) ++command_briefing_rows_;
        break;
      case Section::kDebriefing:
        // A stage begins at its formula, or at a text when the stage read
        // last has one already (or there is none yet).
        if (StartsWithKey(line, u"$Formula:")) {
          ++debriefing_rows_;
          stage_open_ = true;
          stage_text_ = false;
          sites.push_back({n, debriefing_rows_, kFormula, kModeDebriefing});
        } else if (StartsWithKey(line, u"$Multi text")) {
          if (!stage_open_ || stage_text_) ++debriefing_rows_;
          stage_open_ = true;
          stage_text_ = true;
        }
        break;
      default:
        break;
    }
  }

  void EnterSection(TextView name) {
    section_ = SectionNamed(name);
    pending_event_ = kNoSite;
    stage_open_ = false;
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

  // --- XSTR texts ---
  //
  // `XSTR("text", id)` may stand in any field, its text over several lines;
  // the text ends at the next quote. One whose field ends first (EndsText,
  // or the file's end) swallows what follows in the game, and its id must be
  // an integer.

  void Xstr(std::uint32_t n, TextView line) {
    std::size_t from = 0;
    if (xstr_open_) {
      if (EndsText(line)) {
        XstrLeftOpen();
      } else {
        const std::size_t quote = line.find(u'"');
        if (quote == TextView::npos) return;
        xstr_open_ = false;
        from = XstrTail(n, line, quote + 1);
      }
    }
    static constexpr TextView kOpen = u"XSTR(\"";
    for (std::size_t at = line.find(kOpen, from); at != TextView::npos; at = line.find(kOpen, from)) {
      const std::size_t quote = line.find(u'"', at + kOpen.size());
      if (quote == TextView::npos) {
        xstr_open_ = true;
        xstr_line_ = n;
        xstr_column_ = static_cast<std::uint32_t>(at + 1);
        xstr_where_ = Here();
        return;
      }
      from = XstrTail(n, line, quote + 1);
    }
  }

  // Checks the id after a text's closing quote at `at`; returns where the
  // XSTR ends. An id that is not on the quote's line is not judged.
  std::size_t XstrTail(std::uint32_t n, TextView line, std::size_t at) {
    std::size_t i = at;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return i;
    const std::size_t close = line.find(u')', i);
    const std::size_t end = close == TextView::npos ? line.size() : close;
    Problem p = XstrProblem(n, Column(line, line.substr(at)), Here());
    if (line[i] == u',') {
      p.name = mission::TrimBlankView(line.substr(i + 1, end - i - 1));
      if (IsInteger(p.name) || (p.name.empty() && close == TextView::npos)) return end;
    } else if (line[i] != u')') {
      p.count = 2;  // neither a comma nor the end: a quote in the text ended it early
    }
    problems_.push_back(p);
    return close == TextView::npos ? end : close + 1;
  }

  void XstrLeftOpen() {
    Problem p = XstrProblem(xstr_line_, xstr_column_, xstr_where_);
    p.count = 1;
    problems_.push_back(p);
    xstr_open_ = false;
  }

  static Problem XstrProblem(std::uint32_t n, std::uint32_t column, std::pair<int, std::uint32_t> where) {
    Problem p;
    p.line = n;
    p.column = column;
    p.rule = Rule::kXstr;
    p.mode = where.first;
    p.row = where.second;
    return p;
  }

  // The view and row of the entry being read, for a problem in its fields.
  std::pair<int, std::uint32_t> Here() const {
    switch (section_) {
      case Section::kMissionInfo: return {kModeGeneral, 0};
      case Section::kGoals: return {kModeGoals, goal_rows_};
      case Section::kEvents: return {kModeEvents, event_rows_};
      case Section::kMessages: return {kModeMessages, message_rows_};
      case Section::kObjects: return {kModeShips, ship_rows_};
      case Section::kWings: return {kModeWings, wing_rows_};
      case Section::kBriefing: return {kModeBriefing, briefing_rows_};
      case Section::kCommandBriefing: return {kModeCommandBriefing, command_briefing_rows_};
      case Section::kDebriefing: return {kModeDebriefing, debriefing_rows_};
      default: return {0, 0};
    }
  }

  // Fills the name sets, each sized once, in file order: a later name that
  // an earlier one already has is a duplicate, unless it is a divider such
  // as «------» that holds no letter or digit.
  void AddNames() {
    for (std::size_t kind = 0; kind < declared_count_.size(); ++kind) {
      names.Of(static_cast<NameKind>(kind)).Reserve(declared_count_[kind]);
    }
    for (const Declared& d : declared_) {
      const TextView line = mission_.FileLine(d.line);
      const bool variable = d.kind == NameKind::kVariable;
      const TextView name = variable ? *VariableOnLine(line) : NameOnLine(line);
      const NameSet::Entry* first = names.Of(d.kind).Add(name, d.line);
      if (first == nullptr) first_rows_[static_cast<std::size_t>(d.kind)].push_back(d.row);
      if (first == nullptr || variable || !HasLetterOrDigit(name)) continue;
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
  const CheckSettings& settings_;
  std::vector<Problem>& problems_;
  std::vector<Declared> declared_;
  std::array<std::size_t, 7> declared_count_{};
  std::array<std::vector<std::uint32_t>, 7> first_rows_;  // per kind: the row of each name's first entry
  std::vector<std::uint32_t> text_lines_;  // lines of texts that may name variables
  Section section_ = Section::kOther;
  std::size_t pending_event_ = kNoSite;
  std::uint32_t event_rows_ = 0, goal_rows_ = 0, message_rows_ = 0, ship_rows_ = 0, wing_rows_ = 0,
                variable_rows_ = 0, briefing_rows_ = 0, command_briefing_rows_ = 0, debriefing_rows_ = 0;
  bool stage_open_ = false;  // a debriefing stage was begun in this section
  bool stage_text_ = false;  // and has its text
  bool xstr_open_ = false;  // an XSTR text runs on from line xstr_line_
  std::uint32_t xstr_line_ = 0, xstr_column_ = 0;
  std::pair<int, std::uint32_t> xstr_where_{0, 0};
};

// The second pass: the tokens of one formula at a time, with a stack of the
// lists that are open. Each element is checked as it is met and each list's
// argument count when it closes, so nothing of a formula is kept beyond the
// open lists.
class FormulaChecker {
 public:
  FormulaChecker(const mission::Mission& mission, const MissionNames& names, Usage* usage,
                 std::vector<Problem>& problems)
      : mission_(mission), names_(names), usage_(usage), problems_(problems) {}

  void Check(const FormulaSite& site) {
    site_ = &site;
    open_.clear();
    supplying_ = 0;
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
      Problem p = Located(site.line, first_column_, Rule::kBrackets);
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
    bool first = true;      // no element seen yet
    bool supplies = false;  // the operator supplies "<argument>" inside it
  };

  void Scan(std::uint32_t n, TextView line, TextView text) {
    if (stop_) return;
    ForEachFormulaToken(text, [&](const FormulaToken& token) {
      const std::uint32_t column = Column(line, text.substr(token.at));
      switch (token.kind) {
        case TokenKind::kOpen:
          Open(n, column);
          break;
        case TokenKind::kClose:
          Close();
          break;
        case TokenKind::kQuoted:
        case TokenKind::kWord:
          Element(n, column, token.text, token.kind == TokenKind::kQuoted);
          break;
      }
      return !stop_;
    });
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
      Problem p = Located(site_->line, started_ ? first_column_ : 1, Rule::kBrackets);
      p.name = kFormulaKeys[site_->key];
      problems_.push_back(p);
      stop_ = true;
      return;
    }
    const List& list = open_.back();
    if (list.known != nullptr) Counted(list);
    if (list.supplies) --supplying_;
    open_.pop_back();
    if (open_.empty()) closed_ = true;
  }

  // A closed list of a known operator: its argument count, and for a
  // message list whether its messages come in whole groups.
  void Counted(const List& list) {
    const sexp::Operator& op = *list.known;
    if (!op.TakesArgCount(AsInt(list.args))) {
      Problem p = Located(list.line, list.column, Rule::kArgumentCount);
      p.op = list.op;
      p.count = list.args;
      p.low = static_cast<std::uint32_t>(op.min_args);
      p.high = op.max_args == sexp::Operator::kUnlimited ? kUnlimited : static_cast<std::uint32_t>(op.max_args);
      problems_.push_back(p);
      return;
    }
    const std::uint32_t group = MessageGroupOf(op);
    if (group == 0) return;
    const std::uint32_t leading = static_cast<std::uint32_t>(op.kind_count - op.repeat_last);  // before the groups
    const std::uint32_t rest = (list.args - leading) % group;
    if (rest == 0) return;
    Problem p = Located(list.line, list.column, Rule::kMessageGroup, list.op);
    p.count = list.args;
    p.low = rest;
    p.high = group;
    problems_.push_back(p);
  }

  void Element(std::uint32_t n, std::uint32_t column, TextView text, bool quoted) {
    if (open_.empty()) return;  // outside the formula's brackets
    List& list = open_.back();
    if (list.first) {
      list.first = false;
      if (quoted) return;
      OperatorWord(list, n, column, text);
      return;
    }
    ++list.args;
    Argument(list, n, column + (quoted ? 1 : 0), text);
  }

  void OperatorWord(List& list, std::uint32_t n, std::uint32_t column, TextView text) {
    list.op = text;
    list.line = n;
    list.column = column;
    list.known = sexp::FindOperator(text);
    if (list.known != nullptr) {
      list.supplies = SuppliesArgument(*list.known);
      if (list.supplies) ++supplying_;
      return;
    }
    // An unknown operator is reported once, where it is first used, with
    // the number of its uses.
    const auto [first, fresh] = unknown_.try_emplace(text, problems_.size());
    if (fresh) {
      Problem p = Located(n, column, Rule::kUnknownOperator, text);
      p.count = 1;
      problems_.push_back(p);
    } else {
      ++problems_[first->second].count;
    }
  }

  void Argument(const List& list, std::uint32_t n, std::uint32_t column, TextView text) {
    if (usage_ != nullptr) Used(text);
    if (!text.empty() && text.front() == u'@') {
      const std::size_t bracket = text.find(u'[');
      const TextView variable = text.substr(1, bracket == TextView::npos ? TextView::npos : bracket - 1);
      Lookup(list, n, column, variable, NameKind::kVariable);
      return;
    }
    if (text == kArgumentWord && supplying_ == 0) {
      problems_.push_back(Located(n, column, Rule::kArgumentOutside, list.op));
      return;
    }
    if (list.known == nullptr || (!text.empty() && (text.front() == u'<' || text.front() == u'&'))) return;
    const std::optional<NameKind> kind = CheckedKind(*list.known, list.args);
    if (kind) Lookup(list, n, column, text, *kind);
  }

  // What an argument uses. Any argument that names a message counts as
  // sending it, as an any-of list hands its names to a send-message of
  // "<argument>"; a "$Name" in a text shows a variable's value.
  void Used(TextView text) {
    if (!text.empty() && text.front() == u'@') {
      const std::size_t bracket = text.find(u'[');
      usage_->Variable(text.substr(1, bracket == TextView::npos ? TextView::npos : bracket - 1));
      return;
    }
    usage_->Message(text);
    usage_->TextVariables(text);
  }

  void Lookup(const List& list, std::uint32_t n, std::uint32_t column, TextView name, NameKind kind) {
    const NameSet::Match match = names_.Find(kind, name);
    if (match.how == NameSet::How::kExact) return;
    const bool ignoring_case = match.how == NameSet::How::kIgnoringCase;
    Problem p = Located(n, column, ignoring_case ? Rule::kCaseOnlyName : MissingRule(kind), list.op);
    p.kind = ignoring_case ? match.kind : kind;
    p.name = name;
    p.match = match.name;
    problems_.push_back(p);
  }

  static Rule MissingRule(NameKind kind) {
    return kind == NameKind::kVariable ? Rule::kUndeclaredVariable : Rule::kUnknownName;
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
  Usage* usage_;  // nullptr: uses are not counted
  std::vector<Problem>& problems_;
  // The unknown operators met so far (the case of A-Z ignored), each with
  // its problem's place in `problems_`.
  std::unordered_map<TextView, std::size_t, FoldHash, FoldEqual> unknown_;
  const FormulaSite* site_ = nullptr;
  std::vector<List> open_;
  std::uint32_t supplying_ = 0;  // open lists that supply "<argument>"
  std::uint32_t first_column_ = 1;
  bool started_ = false;  // the formula's first "(" was met
  bool closed_ = false;   // its last ")" was met
  bool stop_ = false;     // nothing more of this formula is read
  std::size_t trailing_ = 0;  // brackets opened after the formula closed
};

// The variables and messages nothing uses, each on its (first) declaration.
void AddUnused(const mission::Mission& mission, const Collector& collector, const Usage& usage,
               std::vector<Problem>& problems) {
  const auto unused = [&](NameKind kind, Rule rule, auto used) {
    const NameSet& set = collector.names.Of(kind);
    for (std::size_t i = 0; i < set.Size(); ++i) {
      if (used(i)) continue;
      const NameSet::Entry& entry = set.At(i);
      Problem p;
      p.line = entry.line;
      p.column = Column(mission.FileLine(entry.line), entry.name);
      p.rule = rule;
      p.kind = kind;
      p.name = entry.name;
      p.mode = ModeOfNameKind(kind);
      p.row = collector.FirstRow(kind, i);
      problems.push_back(p);
    }
  };
  unused(NameKind::kVariable, Rule::kUnusedVariable, [&](std::size_t i) { return usage.VariableUsed(i); });
  unused(NameKind::kMessage, Rule::kUnusedMessage, [&](std::size_t i) { return usage.MessageUsed(i); });
}

}  // namespace

std::vector<Problem> CheckMission(const mission::Mission& mission, const CheckSettings& settings) {
  std::vector<Problem> problems;
  Collector collector(mission, settings, problems);
  collector.Run();
  std::optional<Usage> usage;
  if (settings.unused) {
    usage.emplace(collector.names);
    collector.TextVariables(*usage);
  }
  FormulaChecker checker(mission, collector.names, usage ? &*usage : nullptr, problems);
  for (const FormulaSite& site : collector.sites) checker.Check(site);
  if (usage) AddUnused(mission, collector, *usage, problems);
  if (settings.ignored.any()) std::erase_if(problems, [&](const Problem& p) { return Holds(settings.ignored, p.rule); });
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
    case NameKind::kVariable: return kModeVariables;
    default: return 0;
  }
}

}  // namespace views
