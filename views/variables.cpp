#include "views/variables.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "sexp/operators.h"
#include "views/check_names.h"
#include "views/modes.h"
#include "views/sections.h"
#include "views/sexp_walk.h"
#include "views/stages.h"

namespace views {
namespace {

using namespace std::string_view_literals;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsBlank(char16_t c) { return c <= u' '; }

// A declaration line's fields: texts in quotes and words between blanks. A
// quote left open (a ";" in a value starts a comment) runs to the line's end.
struct Field {
  TextView text;
  bool quoted = false;
};
std::vector<Field> Fields(TextView line) {
  std::vector<Field> fields;
  for (std::size_t i = 0; i < line.size();) {
    if (IsBlank(line[i])) {
      ++i;
    } else if (line[i] == u'"') {
      const std::size_t close = std::min(line.find(u'"', i + 1), line.size());
      fields.push_back({line.substr(i + 1, close - i - 1), true});
      i = close + 1;
    } else {
      std::size_t end = i;
      while (end < line.size() && !IsBlank(line[end]) && line[end] != u'"') ++end;
      fields.push_back({line.substr(i, end - i), false});
      i = end;
    }
  }
  return fields;
}

// The game's variable names are at most 31 characters long.
constexpr std::size_t kLongestName = 32;

// Whether the element at this place is changed by its operator: an action's
// argument of kind variable-name.
bool Changes(const SexpElement& element) {
  return element.op != nullptr && element.position > 0 && element.op->return_kind == sexp::ReturnKind::kNothing &&
         element.op->ArgKind(static_cast<int>(std::min<std::uint32_t>(element.position, INT32_MAX))) ==
             "variable-name";
}

// How a formula's brackets stand after a line: a quoted text is text, not
// structure.
void CountBrackets(TextView line, std::int64_t& depth, bool& opened) {
  bool quoted = false;
  for (const char16_t c : line) {
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'(') {
      ++depth;
      opened = true;
    } else if (c == u')') {
      --depth;
    }
  }
}

}  // namespace

std::optional<VariableDeclaration> ReadVariableLine(TextView line) {
  const TextView text = mission::TrimBlankView(line);
  if (text.empty() || (!IsDigit(text.front()) && text.front() != u'"')) return std::nullopt;
  const std::vector<Field> fields = Fields(text);
  VariableDeclaration declaration;
  std::size_t k = 0;
  if (!fields.empty() && !fields[0].quoted) declaration.index = fields[k++].text;
  TextView* const values[] = {&declaration.name, &declaration.value, &declaration.type};
  for (TextView* value : values) {
    if (k < fields.size()) *value = fields[k++].text;
  }
  for (; k < fields.size(); ++k) declaration.flags.push_back(fields[k].text);
  return declaration;
}

std::vector<VariableDeclaration> DeclaredVariables(const mission::Mission& mission) {
  std::vector<VariableDeclaration> found;
  for (const mission::SectionBlock& block : SectionsOf(mission, SectionKind::kVariables)) {
    for (std::uint32_t n = block.header + 1; n < block.end; ++n) {
      if (auto declaration = ReadVariableLine(mission.FileLine(n))) {
        declaration->line = n;
        found.push_back(std::move(*declaration));
      }
    }
  }
  return found;
}

Text VariableTypeText(TextView type) {
  const TextView trimmed = mission::TrimBlankView(type);
  static constexpr std::pair<TextView, TextView> kTypes[] = {
      {u"number", u"Number"}, {u"string", u"String"}, {u"block", u"Block"}};
  for (const auto& [word, shown] : kTypes) {
    if (FoldEqual{}(trimmed, word)) return Text(shown);
  }
  return Text(trimmed);
}

Text PersistenceText(const std::vector<TextView>& flags) {
  Text persistence;
  Text others;
  for (const TextView flag : flags) {
    const TextView word = mission::TrimBlankView(flag);
    if (word.empty()) continue;
    if (FoldEqual{}(word, u"campaign-persistent") || FoldEqual{}(word, u"save-on-mission-progress")) {
      persistence = u"Campaign";
    } else if (FoldEqual{}(word, u"player-persistent") || FoldEqual{}(word, u"save-on-mission-close")) {
      persistence = u"Player";
    } else {
      if (!others.empty()) others += u' ';
      others += word;
    }
  }
  if (!persistence.empty() && !others.empty()) persistence += u' ';
  return persistence + others;
}

// Walks the mission's formulas and messages once and keeps every use of a
// declared variable, with the formulas and messages that read and change
// each.
class VariableScanner {
 public:
  explicit VariableScanner(const mission::Mission& mission) : mission_(mission) {}

  VariableUses Run() {
    uses_.declarations_ = DeclaredVariables(mission_);
    uses_.counts_.resize(uses_.declarations_.size());
    last_.assign(uses_.declarations_.size(), {kNone, kNone});
    for (std::size_t i = uses_.declarations_.size(); i-- > 0;) {
      // The first declaration of a name is the one named.
      byName_[mission::TrimBlankView(uses_.declarations_[i].name)] = static_cast<std::uint32_t>(i);
    }
    if (byName_.empty()) return std::move(uses_);
    const mission::MissionSections& sections = mission_.Sections();
    Events(sections.Slot(mission::kSlotEvents));
    Goals(sections.Slot(mission::kSlotGoals));
    Cues(sections.Slot(mission::kSlotObjects), PlaceKind::kShipArrivalCue, PlaceKind::kShipDepartureCue);
    Cues(sections.Slot(mission::kSlotWings), PlaceKind::kWingArrivalCue, PlaceKind::kWingDepartureCue);
    Messages(sections.Slot(mission::kSlotMessages));
    Stages(StageKind::kBriefing, PlaceKind::kBriefingStage, kModeBriefing);
    Stages(StageKind::kDebriefing, PlaceKind::kDebriefingStage, kModeDebriefing);
    return std::move(uses_);
  }

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  // The lines of one formula, read from a slot of the store or from the file.
  struct Lines {
    const mission::LineList* slot = nullptr;  // nullptr: the file's lines
    TextView operator()(const mission::Mission& m, std::size_t n) const { return slot ? slot->Line(n) : m.FileLine(n); }
  };

  // Where the uses of a formula go once its owner is known.
  struct Owner {
    PlaceKind kind = PlaceKind::kEvent;
    Location row;
    TextView name;
    std::uint32_t team = 0;
    std::uint32_t stage = 0;
  };

  // --- The places ---

  void Events(const mission::LineList& lines) {
    std::uint32_t row = 0;
    bool pending = false;  // a formula waits for the name of its event
    for (std::size_t i = 1; i <= lines.Count();) {
      const TextView line = lines.Line(i);
      if (line.substr(0, 6) == u"$Formu"sv) {
        pending_.clear();
        i = Formula(Lines{&lines}, i, lines.Count() + 1, true, kEventStop);
        pending = true;
        continue;
      }
      if (line.substr(0, 6) == u"+Name:"sv) {
        ++row;
        if (pending) Commit({PlaceKind::kEvent, {kModeEvents, row, mission::kSlotEvents, 0, 0}, Value(line, 7)});
        pending = false;
      }
      ++i;
    }
  }

  void Goals(const mission::LineList& lines) {
    std::uint32_t row = 0;
    TextView name;
    bool pending = false;
    const auto finish = [&] {
      if (row != 0 && pending) Commit({PlaceKind::kGoal, {kModeGoals, row, mission::kSlotGoals, 0, 0}, name});
      pending = false;
    };
    for (std::size_t i = 1; i <= lines.Count();) {
      const TextView line = lines.Line(i);
      const TextView key = line.substr(0, 6);
      if (key == u"$Type:"sv) {
        finish();
        ++row;
        name = {};
      } else if (key == u"+Name:"sv) {
        name = Value(line, 7);
      } else if (key == u"$Formu"sv) {
        // A goal's last formula is its own, as the Goals view shows it.
        pending_.clear();
        i = Formula(Lines{&lines}, i, lines.Count() + 1, true, kEventStop);
        pending = true;
        continue;
      }
      ++i;
    }
    finish();
  }

  void Cues(const mission::LineList& lines, PlaceKind arrival, PlaceKind departure) {
    const int mode = PlaceMode(arrival);
    const int slot = arrival == PlaceKind::kShipArrivalCue ? mission::kSlotObjects : mission::kSlotWings;
    std::uint32_t row = 0;
    TextView name;
    for (std::size_t i = 1; i <= lines.Count();) {
      const TextView line = lines.Line(i);
      if (line.substr(0, 6) == u"$Name:"sv) {
        ++row;
        name = Value(line, 7);
      } else if (row != 0 && (line.starts_with(u"$Arrival Cue:"sv) || line.starts_with(u"$Departure Cue:"sv))) {
        pending_.clear();
        i = Formula(Lines{&lines}, i, lines.Count() + 1, true, kFieldStop);
        Commit({line[1] == u'A' ? arrival : departure, {mode, row, slot, 0, 0}, name});
        continue;
      }
      ++i;
    }
  }

  // A message's text: from its "$Messa" line to its "$end_multi_text" (or
  // the message's end); "$Name" in it reads the variable Name.
  void Messages(const mission::LineList& lines) {
    std::uint32_t row = 0;
    TextView name;
    bool inText = false;
    formulaFirst_ = 0;
    inStore_ = true;
    const auto flush = [&] {
      if (row != 0) Commit({PlaceKind::kMessage, {kModeMessages, row, mission::kSlotMessages, 0, 0}, name});
      pending_.clear();
    };
    for (std::size_t i = 1; i <= lines.Count(); ++i) {
      const TextView line = lines.Line(i);
      const TextView key = line.substr(0, 6);
      if (key == u"$Name:"sv) {
        flush();
        ++row;
        name = Value(line, 7);
        inText = false;
        continue;
      }
      if (key == u"$Messa"sv) {
        inText = true;
        const std::size_t colon = line.find(u':');
        MessageLine(i, line.substr(colon == TextView::npos ? line.size() : colon + 1));
        continue;
      }
      if (line.starts_with(u"$end_multi_text"sv)) inText = false;
      if (inText) MessageLine(i, line);
    }
    flush();
  }

  void MessageLine(std::size_t number, TextView text) {
    for (std::size_t at = text.find(u'$'); at != TextView::npos; at = text.find(u'$', at + 1)) {
      // The longest declared name that the text spells there, as the game
      // replaces it; a name may hold blanks ("$Var 1-2").
      for (std::size_t length = std::min<std::size_t>(text.size() - at - 1, kLongestName); length > 0; --length) {
        const auto found = byName_.find(text.substr(at + 1, length));
        if (found != byName_.end()) {
          Add(found->second, VariableAccess::kRead, static_cast<std::uint32_t>(number));
          break;
        }
      }
    }
  }

  void Stages(StageKind kind, PlaceKind place, int mode) {
    std::uint32_t row = 0;
    for (const StagePlace& stage : FindStages(mission_, kind)) {
      ++row;
      const StageFields fields = ReadStage(mission_, kind, stage.lines);
      if (fields.formula == 0) continue;
      pending_.clear();
      Formula(Lines{}, fields.formula, fields.formulaEnd, false, kNoStop);
      Commit({place, {mode, row, 0, 0, 0}, {}, stage.team, stage.number});
    }
  }

  // --- Formulas ---

  // What ends a formula whose brackets stay open: the next "$Formu" line
  // (events, goals), the entry's next field (cues), or only its end.
  enum Stop { kEventStop, kFieldStop, kNoStop };

  // Reads the formula that begins at line `first` (before `end`) and keeps
  // its uses as pending; returns the line after it.
  std::size_t Formula(Lines lines, std::size_t first, std::size_t end, bool inStore, Stop stop) {
    std::int64_t depth = 0;
    bool opened = false;
    bool anyVariable = false;
    std::size_t n = first;
    for (; n < end; ++n) {
      const TextView line = lines(mission_, n);
      if (n > first) {
        if (stop == kEventStop && line.substr(0, 6) == u"$Formu"sv) break;
        if (stop == kFieldStop && !line.empty() && (line.front() == u'$' || line.front() == u'+')) break;
      }
      anyVariable = anyVariable || line.find(u'@') != TextView::npos;
      CountBrackets(line, depth, opened);
      if (opened && depth <= 0) {
        ++n;
        break;
      }
    }
    formulaFirst_ = inStore ? static_cast<std::uint32_t>(first) : 0;
    inStore_ = inStore;
    if (anyVariable) Walk(lines, first, n);
    return std::max(n, first + 1);
  }

  // The uses of the variables in lines [first, end) of a formula.
  void Walk(Lines lines, std::size_t first, std::size_t end) {
    Text text;
    std::vector<std::size_t> starts;  // where each line begins in `text`
    for (std::size_t n = first; n < end; ++n) {
      starts.push_back(text.size());
      text += lines(mission_, n);
      text += u'\n';
    }
    WalkSexp(text, [&](const SexpElement& element) {
      const auto name = VariableOf(element.text);
      if (!name) return;
      const auto found = byName_.find(*name);
      if (found == byName_.end()) return;
      const std::size_t index =
          static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), element.start) - starts.begin()) - 1;
      Add(found->second, Changes(element) ? VariableAccess::kWrite : VariableAccess::kRead,
          static_cast<std::uint32_t>(first + index));
    });
  }

  // A use waiting for its owner; one per variable, line and access.
  void Add(std::uint32_t variable, VariableAccess access, std::uint32_t line) {
    if (pending_.empty() || pending_.back().line != line) seenOnLine_.clear();
    const std::uint64_t key = (std::uint64_t{variable} << 1) | (access == VariableAccess::kWrite ? 1u : 0u);
    if (!seenOnLine_.insert(key).second) return;
    pending_.push_back({variable, access, line, formulaFirst_, inStore_});
  }

  // The pending uses belong to `owner`: each is a reference, and each
  // variable counts the formula (or message) once as a reader or writer.
  void Commit(const Owner& owner) {
    ++place_;
    const mission::LineList& slot = mission_.Sections().Slot(owner.row.slot);
    for (const Pending& p : pending_) {
      Reference r;
      r.kind = owner.kind;
      r.row = owner.row;
      if (p.inStore) {
        r.row.line = p.line;
        r.row.formula = p.formula;
        r.line = slot.Line(p.line);
      } else {
        r.row.slot = 0;
        r.line = mission_.FileLine(p.line);
      }
      r.owner = owner.name;
      r.team = owner.team;
      r.stage = owner.stage;
      r.access = p.access == VariableAccess::kWrite ? Reference::Access::kWrite : Reference::Access::kRead;
      uses_.uses_.push_back({p.variable, r});
      Last& last = last_[p.variable];
      VariableUses::Counts& counts = uses_.counts_[p.variable];
      if (p.access == VariableAccess::kWrite && last.write != place_) {
        last.write = place_;
        ++counts.writers;
      }
      if (p.access == VariableAccess::kRead && last.read != place_) {
        last.read = place_;
        ++counts.readers;
      }
    }
    pending_.clear();
  }

  static TextView Value(TextView line, std::size_t drop) { return line.substr(std::min(drop, line.size())); }

  struct Pending {
    std::uint32_t variable;
    VariableAccess access;
    std::uint32_t line;     // in the slot, or the file's line
    std::uint32_t formula;  // the formula's first line in the slot; 0 outside the store
    bool inStore;
  };
  struct Last {
    std::uint32_t read;
    std::uint32_t write;
  };

  const mission::Mission& mission_;
  VariableUses uses_;
  std::unordered_map<TextView, std::uint32_t, FoldHash, FoldEqual> byName_;
  std::vector<Pending> pending_;
  std::unordered_set<std::uint64_t> seenOnLine_;  // the variables and accesses of the latest line pending
  std::vector<Last> last_;  // by variable: the place that last counted as its reader, writer
  std::uint32_t place_ = 0;
  std::uint32_t formulaFirst_ = 0;
  bool inStore_ = false;
};

VariableUses VariableUses::Build(const mission::Mission& mission) { return VariableScanner(mission).Run(); }

std::vector<Reference> VariableUses::Find(TextView name) const {
  std::vector<Reference> found;
  const TextView trimmed = mission::TrimBlankView(name);
  const auto declared = std::find_if(declarations_.begin(), declarations_.end(), [trimmed](const VariableDeclaration& d) {
    return FoldEqual{}(mission::TrimBlankView(d.name), trimmed);
  });
  if (trimmed.empty() || declared == declarations_.end()) return found;
  const auto variable = static_cast<std::uint32_t>(declared - declarations_.begin());
  for (const Use& use : uses_) {
    if (use.variable == variable) found.push_back(use.reference);
  }
  return found;
}

void ModeVariables(const mission::Mission& mission, ListData& list) {
  list.rows.clear();
  list.rowLines.clear();
  list.columns = {{u"#", 400},           {u"Name", 2000},    {u"Type", 1000},       {u"Default", 1500},
                  {u"Persistence", 1500}, {u"Read by", 800}, {u"Written by", 1000}};
  list.absent.clear();
  if (SectionsOf(mission, SectionKind::kVariables).empty()) {
    list.absent = u"This mission has no variables.";
    return;
  }
  const VariableUses uses = VariableUses::Build(mission);
  const std::vector<VariableDeclaration>& declared = uses.Declarations();
  for (std::size_t i = 0; i < declared.size(); ++i) {
    const VariableDeclaration& d = declared[i];
    list.rows.push_back(Row{{Text(d.index), Text(d.name), VariableTypeText(d.type), Text(d.value),
                             PersistenceText(d.flags), mission::Decimal(uses.Readers(i)),
                             mission::Decimal(uses.Writers(i))},
                            {}});
    list.rowLines.push_back({d.line, d.line + 1});
  }
}

}  // namespace views
