// The mission check's problems in words.
#include <initializer_list>
#include <string>

#include "views/check.h"

namespace views {

using mission::Text;
using mission::TextView;

namespace {

TextView KindWord(NameKind kind) {
  switch (kind) {
    case NameKind::kEvent: return u"event";
    case NameKind::kGoal: return u"goal";
    case NameKind::kMessage: return u"message";
    case NameKind::kShip: return u"ship";
    case NameKind::kWing: return u"wing";
    case NameKind::kShipOrWing: return u"ship or wing";
    case NameKind::kVariable: return u"variable";
  }
  return u"name";
}

// The pieces one after the other.
Text Join(std::initializer_list<TextView> pieces) {
  Text text;
  for (const TextView piece : pieces) text += piece;
  return text;
}

Text Quoted(TextView text) { return Join({u"\"", text, u"\""}); }

Text Arguments(std::uint32_t n) { return Join({mission::Decimal(n), n == 1 ? u" argument" : u" arguments"}); }

Text CountText(const Problem& p) {
  const TextView limit = p.low == p.high ? u"takes " : p.count < p.low ? u"takes at least " : u"takes at most ";
  const std::uint32_t bound = p.count < p.low ? p.low : p.high;
  return Join({limit, Arguments(bound), u", not ", mission::Decimal(p.count)});
}

}  // namespace

Severity SeverityOf(Rule rule) {
  switch (rule) {
    case Rule::kNameCase:
    case Rule::kVariableCase:
    case Rule::kUnknownOperator:
    case Rule::kDuplicateName:
      return Severity::kWarning;
    default:
      return Severity::kError;
  }
}

Text ProblemText(const Problem& p) {
  const Text op = Join({p.op, u": "});
  switch (p.rule) {
    case Rule::kNoSuchName:
      return Join({op, u"no ", KindWord(p.kind), u" named ", Quoted(p.name)});
    case Rule::kNameCase:
      return Join({op, Quoted(p.name), u" matches the ", KindWord(p.kind), u" ", Quoted(p.match),
                   u" only when case is ignored"});
    case Rule::kArgumentCount:
      return Join({op, CountText(p)});
    case Rule::kUndeclaredVariable:
      return Join({op, u"variable ", Quoted(p.name), u" is not declared in #Sexp_variables"});
    case Rule::kVariableCase:
      return Join({op, u"variable ", Quoted(p.name), u" matches the declared ", Quoted(p.match),
                   u" only when case is ignored"});
    case Rule::kUnclosedBrackets:
      return Join({p.name, u": brackets do not close, ", mission::Decimal(p.count), u" \"(\" left open"});
    case Rule::kExtraClosing:
      return Join({p.name, u": brackets close too often, a \")\" closes nothing"});
    case Rule::kUnknownOperator:
      return Join({op, u"unknown operator"});
    case Rule::kDuplicateName:
      return Join({u"duplicate ", KindWord(p.kind), u" name ", Quoted(p.name), u", first on line ",
                   mission::Decimal(p.count)});
  }
  return Text();
}

ProblemCounts CountProblems(std::span<const Problem> problems) {
  ProblemCounts counts;
  for (const Problem& p : problems) ++(SeverityOf(p.rule) == Severity::kError ? counts.errors : counts.warnings);
  return counts;
}

namespace {

std::string Counted(std::size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

}  // namespace

std::string CountsText(ProblemCounts counts) {
  return Counted(counts.errors, "error") + ", " + Counted(counts.warnings, "warning");
}

std::string CountsText(ProblemCounts counts, std::size_t missions) {
  return CountsText(counts) + " in " + Counted(missions, "mission");
}

}  // namespace views
