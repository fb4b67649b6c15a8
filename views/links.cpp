#include "views/links.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "sexp/operators.h"
#include "views/modes.h"
#include "views/sexp_walk.h"
#include "views/variables.h"

namespace views {
namespace {

using namespace std::string_view_literals;

// A set of the five kinds that views list, one bit each.
using Kinds = std::uint8_t;
constexpr Kinds Bit(NameKind kind) { return static_cast<Kinds>(1u << static_cast<unsigned>(kind)); }
constexpr Kinds kShipsAndWings = Bit(NameKind::kShip) | Bit(NameKind::kWing);
constexpr Kinds kAnyKind = kShipsAndWings | Bit(NameKind::kEvent) | Bit(NameKind::kGoal) | Bit(NameKind::kMessage);
// The order in which a name of several kinds is looked up.
constexpr NameKind kLookupOrder[] = {NameKind::kShip, NameKind::kWing, NameKind::kEvent, NameKind::kGoal,
                                     NameKind::kMessage};

// The kinds an argument of the operator table's kind `kind` may name.
Kinds KindsOfArgument(std::string_view kind) {
  static constexpr std::pair<std::string_view, Kinds> kTable[] = {
      {"ship", Bit(NameKind::kShip)},
      {"ship-or-none", Bit(NameKind::kShip)},
      {"ship-with-bay", Bit(NameKind::kShip)},
      {"ship-point", Bit(NameKind::kShip)},
      {"who-from", Bit(NameKind::kShip)},
      {"wing", Bit(NameKind::kWing)},
      {"ship-wing", kShipsAndWings},
      {"ship-wing-point", kShipsAndWings},
      {"ship-wing-point-or-none", kShipsAndWings},
      {"ship-wing-shiponteam-point", kShipsAndWings},
      {"ship-wing-wholeteam", kShipsAndWings},
      {"order-recipient", kShipsAndWings},
      {"event-name", Bit(NameKind::kEvent)},
      {"goal-name", Bit(NameKind::kGoal)},
      {"message", Bit(NameKind::kMessage)},
      {"message-or-string", Bit(NameKind::kMessage)},
      {"string", kAnyKind},
      {"anything", kAnyKind},
      {"data-or-str-container", kAnyKind},
  };
  for (const auto& [word, kinds] : kTable) {
    if (word == kind) return kinds;
  }
  return 0;
}

// What argument `position` (1-based) of `op` may name; `op` null: an
// operator the table does not know, whose arguments may name anything. The
// is-previous-* operators name the events and goals of another mission.
Kinds KindsAt(const sexp::Operator* op, std::uint32_t position) {
  if (op == nullptr) return kAnyKind;
  if (op->name.starts_with("is-previous-event-") || op->name.starts_with("is-previous-goal-")) return 0;
  return KindsOfArgument(op->ArgKind(static_cast<int>(std::min<std::uint32_t>(position, INT32_MAX))));
}

bool IsBlank(char16_t c) { return c <= u' '; }
bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// The quoted text that begins after the quote at `open`: it runs to the next
// quote, or to the end of its line when it is left open. Returns one past it
// (past its closing quote when there is one).
std::size_t QuotedEnd(TextView text, std::size_t open, std::size_t& close) {
  close = open + 1;
  while (close < text.size() && text[close] != u'"' && !IsLineEnd(text[close])) ++close;
  return close < text.size() && text[close] == u'"' ? close + 1 : close;
}

// A quoted text without the blanks at its ends, as a span of the text.
CodeLink Trimmed(TextView text, std::size_t begin, std::size_t end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return {begin, end - begin, {}};
}

// The first of `kinds` that has an entry named `name`, in lookup order.
Location Lookup(const NameRows& names, Kinds kinds, TextView name) {
  for (const NameKind kind : kLookupOrder) {
    if ((kinds & Bit(kind)) == 0) continue;
    const Location found = names.Find(kind, name);
    if (found.mode != 0) return found;
  }
  return {};
}

struct FoldedHash {
  std::size_t operator()(TextView text) const { return FoldHash{}(text); }
};

// What the SEXP text did with each quoted name: the target of its first link,
// or none when it held the name only where no link goes.
using SexpNames = std::unordered_map<TextView, Location, FoldedHash, FoldEqual>;

// Reads a SEXP text element by element, so each quoted argument is looked
// up with its operator and place; a variable "@Name[...]" goes to its row of
// the Variables view wherever it stands.
void SexpLinks(TextView text, const NameRows& names, std::vector<CodeLink>& links, SexpNames& seen) {
  WalkSexp(text, [&](const SexpElement& element) {
    if (const auto variable = VariableOf(element.text)) {
      const Location target = names.Find(NameKind::kVariable, *variable);
      if (target.mode != 0) links.push_back({element.start, element.text.size(), target});
      return;
    }
    if (!element.quoted || element.position == 0) return;  // a word, or in the operator's place
    const std::size_t begin = element.start;
    CodeLink link = Trimmed(text, begin, begin + element.text.size());
    const TextView name = text.substr(link.start, link.length);
    if (name.empty()) return;
    link.target = Lookup(names, KindsAt(element.op, element.position), name);
    const auto [it, added] = seen.try_emplace(name, link.target);
    if (link.target.mode == 0) return;
    if (it->second.mode == 0) it->second = link.target;  // the first link of the name counts
    links.push_back(link);
  });
}

// A variable the original translation leaves as written, «@Heat[0]», at `at`:
// its length, or 0.
// `stop` keeps the first "]" or line end found for an earlier variable: it
// serves while it lies ahead, so a line of many "@" is read once.
std::size_t WrittenVariableAt(TextView text, std::size_t at, std::size_t& stop) {
  if (text[at] != u'@' || (at > 0 && !IsBlank(text[at - 1]) && text[at - 1] != u'(' && text[at - 1] != u',')) return 0;
  if (stop <= at) stop = std::min(text.find_first_of(u"]\r\n", at), text.size());
  return stop < text.size() && text[stop] == u']' ? stop + 1 - at : 0;
}

// The quoted names of a translation, line by line; the name of a
// «Variable("Name")» and a variable left as written («@Name[0]») go to the
// Variables view.
void ParsedLinks(TextView text, const NameRows& names, const SexpNames& seen, std::vector<CodeLink>& links) {
  static constexpr TextView kVariable = u"Variable(";
  std::size_t stop = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t length = WrittenVariableAt(text, i, stop)) {
      if (const auto variable = VariableOf(text.substr(i, length))) {
        const Location target = names.Find(NameKind::kVariable, *variable);
        if (target.mode != 0) links.push_back({i, length, target});
      }
      i += length;
      continue;
    }
    if (text[i] != u'"') {
      ++i;
      continue;
    }
    std::size_t close = 0;
    const std::size_t next = QuotedEnd(text, i, close);
    if (close < text.size() && text[close] == u'"') {
      CodeLink link = Trimmed(text, i + 1, close);
      const TextView name = text.substr(link.start, link.length);
      if (!name.empty()) {
        if (i >= kVariable.size() && text.substr(i - kVariable.size(), kVariable.size()) == kVariable) {
          link.target = names.Find(NameKind::kVariable, name);
        } else {
          const auto it = seen.find(name);
          link.target = it != seen.end() ? it->second : Lookup(names, kAnyKind, name);
        }
        if (link.target.mode != 0) links.push_back(link);
      }
    }
    i = next;
  }
}

}  // namespace

NameRows NameRows::Build(const mission::Mission& mission) {
  NameRows rows;
  const mission::MissionSections& sections = mission.Sections();
  const auto add = [&rows](NameKind kind, TextView line, std::uint32_t row) {
    rows.sets_[static_cast<std::size_t>(kind)].Add(mission::TrimBlankView(line.substr(6)), row);
  };
  // The rows as the fillers open them: an event per "+Name:" line, a goal
  // per "$Type:" line (named by its "+Name:" line), a message, ship or wing
  // per "$Name:" line.
  std::uint32_t row = 0;
  const mission::LineList& events = sections.Slot(mission::kSlotEvents);
  for (std::size_t i = 0; i < events.Count(); ++i) {
    if (events[i].substr(0, 6) == u"+Name:"sv) add(NameKind::kEvent, events[i], ++row);
  }
  row = 0;
  const mission::LineList& goals = sections.Slot(mission::kSlotGoals);
  for (std::size_t i = 0; i < goals.Count(); ++i) {
    const TextView key = goals[i].substr(0, 6);
    if (key == u"$Type:"sv) ++row;
    if (key == u"+Name:"sv && row != 0) add(NameKind::kGoal, goals[i], row);
  }
  const std::pair<int, NameKind> named[] = {
      {mission::kSlotMessages, NameKind::kMessage}, {mission::kSlotObjects, NameKind::kShip},
      {mission::kSlotWings, NameKind::kWing}};
  for (const auto& [slot, kind] : named) {
    row = 0;
    const mission::LineList& lines = sections.Slot(slot);
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      if (lines[i].substr(0, 6) == u"$Name:"sv) add(kind, lines[i], ++row);
    }
  }
  // A variable per declaration line, as the Variables view lists them.
  row = 0;
  for (const VariableDeclaration& variable : DeclaredVariables(mission)) {
    rows.variables_.Add(mission::TrimBlankView(variable.name), ++row);
  }
  return rows;
}

Location NameRows::Find(NameKind kind, TextView name) const {
  if (kind == NameKind::kVariable) {
    const NameSet::Entry* entry = variables_.First(mission::TrimBlankView(name));
    return entry ? Location{kModeVariables, entry->line, 0, 0, 0} : Location{};
  }
  const int mode = ModeOfNameKind(kind);
  if (mode == 0) return {};
  const NameSet::Entry* entry = sets_[static_cast<std::size_t>(kind)].First(mission::TrimBlankView(name));
  if (entry == nullptr) return {};
  return {mode, entry->line, 0, 0};
}

CodeLinks FindCodeLinks(TextView sexp, TextView parsed, const NameRows& names) {
  CodeLinks links;
  SexpNames seen;
  SexpLinks(sexp, names, links.sexp, seen);
  ParsedLinks(parsed, names, seen, links.parsed);
  return links;
}

const CodeLink* LinkAt(const std::vector<CodeLink>& links, std::size_t position) {
  const auto after = std::upper_bound(links.begin(), links.end(), position,
                                      [](std::size_t p, const CodeLink& link) { return p < link.start; });
  if (after == links.begin()) return nullptr;
  const CodeLink& link = *(after - 1);
  return position < link.start + link.length ? &link : nullptr;
}

}  // namespace views
