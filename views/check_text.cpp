// The mission check's rules and its problems in words.
#include <initializer_list>
#include <string>

#include "views/check.h"

namespace views {

using mission::Text;
using mission::TextView;

namespace {

constexpr RuleInfo kRules[] = {
    {"unknown-name", Severity::kError,
     "An argument that must name an event, goal, message, ship or wing names none of the mission."},
    {"case-only-name", Severity::kWarning,
     "A name or variable matches one of the mission only when case is ignored."},
    {"argument-count", Severity::kError, "An operator of FreeSpace Open has too few or too many arguments."},
    {"undeclared-variable", Severity::kError, "A variable @Name[...] is not declared in #Sexp_variables."},
    {"brackets", Severity::kError, "A formula's brackets do not close, or close too often."},
    {"unknown-operator", Severity::kWarning, "An operator that FreeSpace Open does not have (a mod may define it)."},
    {"duplicate-name", Severity::kWarning,
     "A second event, goal, message, ship or wing has a name already used in its section."},
    {"argument-outside", Severity::kError,
     "\"<argument>\" stands outside every when-argument, every-time-argument and do-for-valid-arguments, so "
     "nothing supplies it."},
    {"message-group", Severity::kWarning,
     "The message arguments of a send-message-list or send-message-chain are not whole groups of four; the game "
     "drops the rest."},
    {"xstr", Severity::kWarning, "An XSTR text is not closed before its field ends, or its id is not an integer."},
    {"unused-variable", Severity::kWarning, "A variable that no formula and no message text reads or writes."},
    {"unused-message", Severity::kWarning, "A message that no formula sends."},
};
static_assert(std::size(kRules) == kRuleCount);

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

Text BracketsText(const Problem& p) {
  if (p.count == 0) return Join({p.name, u": brackets close too often, a \")\" closes nothing"});
  return Join({p.name, u": brackets do not close, ", mission::Decimal(p.count), u" \"(\" left open"});
}

Text UnknownOperatorText(const Problem& p) {
  if (p.count <= 1) return Join({p.op, u": unknown operator"});
  return Join({p.op, u": unknown operator (used ", mission::Decimal(p.count), u" times)"});
}

Text MessageGroupText(const Problem& p) {
  const Text dropped = p.low == 1 ? Text(u"the last one is dropped")
                                  : Join({u"the last ", mission::Decimal(p.low), u" are dropped"});
  return Join({p.op, u": message arguments come in groups of ", mission::Decimal(p.high),
               u" (sender, priority, message, delay); ", dropped});
}

Text XstrText(const Problem& p) {
  switch (p.count) {
    case 1: return u"XSTR text not closed before its field ends";
    case 2: return u"XSTR text not followed by \",\" and an id";
    default: return p.name.empty() ? Text(u"XSTR id missing") : Join({u"XSTR id ", Quoted(p.name), u" is not an integer"});
  }
}

}  // namespace

std::span<const RuleInfo> AllRules() { return kRules; }

const RuleInfo& InfoOf(Rule rule) { return kRules[static_cast<std::size_t>(rule)]; }

Severity SeverityOf(Rule rule) { return InfoOf(rule).severity; }

std::optional<Rule> RuleOfId(std::string_view id) {
  for (std::size_t i = 0; i < std::size(kRules); ++i) {
    if (kRules[i].id == id) return static_cast<Rule>(i);
  }
  return std::nullopt;
}

Text ProblemText(const Problem& p) {
  const Text op = Join({p.op, u": "});
  switch (p.rule) {
    case Rule::kUnknownName:
      return Join({op, u"no ", KindWord(p.kind), u" named ", Quoted(p.name)});
    case Rule::kCaseOnlyName:
      if (p.kind == NameKind::kVariable) {
        return Join({op, u"variable ", Quoted(p.name), u" matches the declared ", Quoted(p.match),
                     u" only when case is ignored"});
      }
      return Join({op, Quoted(p.name), u" matches the ", KindWord(p.kind), u" ", Quoted(p.match),
                   u" only when case is ignored"});
    case Rule::kArgumentCount:
      return Join({op, CountText(p)});
    case Rule::kUndeclaredVariable:
      return Join({op, u"variable ", Quoted(p.name), u" is not declared in #Sexp_variables"});
    case Rule::kBrackets:
      return BracketsText(p);
    case Rule::kUnknownOperator:
      return UnknownOperatorText(p);
    case Rule::kDuplicateName:
      return Join({u"duplicate ", KindWord(p.kind), u" name ", Quoted(p.name), u", first on line ",
                   mission::Decimal(p.count)});
    case Rule::kArgumentOutside:
      return Join({op, u"\"<argument>\" outside any when-argument, every-time-argument or do-for-valid-arguments"});
    case Rule::kMessageGroup:
      return MessageGroupText(p);
    case Rule::kXstr:
      return XstrText(p);
    case Rule::kUnusedVariable:
      return Join({u"variable ", Quoted(p.name), u" is never read or written"});
    case Rule::kUnusedMessage:
      return Join({u"message ", Quoted(p.name), u" is never sent"});
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

std::string ErrorsText(std::size_t errors, std::size_t missions) {
  return Counted(errors, "error") + " in " + Counted(missions, "mission");
}

bool HasLetterOrDigit(TextView name) {
  for (const char16_t c : name) {
    if (c < 0x80) {
      if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
      continue;
    }
    // Latin-1's signs and marks, the general punctuation, arrows, box
    // drawing and other symbols up to U+2BFF, and the CJK punctuation are
    // dividers too (a dash "—" of Windows-1252 is U+2014); anything else
    // beyond ASCII is taken for a letter.
    const bool latin1_sign = c < 0xC0 ? c != 0xAA && c != 0xB5 && c != 0xBA : c == 0xD7 || c == 0xF7;
    const bool symbol = (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F);
    if (!latin1_sign && !symbol) return true;
  }
  return false;
}

}  // namespace views
