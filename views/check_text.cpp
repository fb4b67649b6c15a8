// The mission check's problems in words.
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

Text Quoted(TextView text) { return u"\"" + Text(text) + u"\""; }

Text Number(std::uint32_t n) { return mission::Decimal(n); }

Text Arguments(std::uint32_t n) { return Number(n) + (n == 1 ? u" argument" : u" arguments"); }

Text CountText(const Problem& p) {
  if (p.low == p.high) return u"takes " + Arguments(p.low) + u", not " + Number(p.count);
  if (p.count < p.low) return u"takes at least " + Arguments(p.low) + u", not " + Number(p.count);
  return u"takes at most " + Arguments(p.high) + u", not " + Number(p.count);
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
  const Text op = Text(p.op) + u": ";
  switch (p.rule) {
    case Rule::kNoSuchName:
      return op + u"no " + Text(KindWord(p.kind)) + u" named " + Quoted(p.name);
    case Rule::kNameCase:
      return op + Quoted(p.name) + u" matches the " + Text(KindWord(p.kind)) + u" " + Quoted(p.match) +
             u" only when case is ignored";
    case Rule::kArgumentCount:
      return op + CountText(p);
    case Rule::kUndeclaredVariable:
      return op + u"variable " + Quoted(p.name) + u" is not declared in #Sexp_variables";
    case Rule::kVariableCase:
      return op + u"variable " + Quoted(p.name) + u" matches the declared " + Quoted(p.match) +
             u" only when case is ignored";
    case Rule::kUnclosedBrackets:
      return Text(p.name) + u": brackets do not close, " + Number(p.count) + u" \"(\" left open";
    case Rule::kExtraClosing:
      return Text(p.name) + u": brackets close too often, a \")\" closes nothing";
    case Rule::kUnknownOperator:
      return op + u"unknown operator";
    case Rule::kDuplicateName:
      return u"duplicate " + Text(KindWord(p.kind)) + u" name " + Quoted(p.name) + u", first on line " +
             Number(p.count);
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
