#include "views/references.h"

#include <algorithm>

#include "views/modes.h"
#include "views/variables.h"

namespace views {
namespace {

using namespace std::string_view_literals;

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// The engine compares names with the case of A-Z ignored, and nothing else.
char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The line less its first `drop` characters; empty when it is not longer.
TextView ValueOf(TextView line, std::size_t drop) { return line.substr(std::min(drop, line.size())); }

struct KindInfo {
  int mode;
  int slot;
  int owners;  // index into the row names
  TextView cue;
};

KindInfo InfoOf(PlaceKind kind) {
  switch (kind) {
    case PlaceKind::kEvent:
      return {kModeEvents, mission::kSlotEvents, 0, {}};
    case PlaceKind::kGoal:
      return {kModeGoals, mission::kSlotGoals, 1, {}};
    case PlaceKind::kShipArrivalCue:
      return {kModeShips, mission::kSlotObjects, 2, u"arrival cue"};
    case PlaceKind::kShipDepartureCue:
      return {kModeShips, mission::kSlotObjects, 2, u"departure cue"};
    case PlaceKind::kWingArrivalCue:
      return {kModeWings, mission::kSlotWings, 3, u"arrival cue"};
    case PlaceKind::kWingDepartureCue:
      return {kModeWings, mission::kSlotWings, 3, u"departure cue"};
    case PlaceKind::kMessage:
      return {kModeMessages, mission::kSlotMessages, 0, {}};
    case PlaceKind::kBriefingStage:
      return {kModeBriefing, 0, 0, {}};
    case PlaceKind::kDebriefingStage:
      return {kModeDebriefing, 0, 0, {}};
  }
  return {kModeEvents, mission::kSlotEvents, 0, {}};
}

}  // namespace

std::size_t ReferenceIndex::FoldHash::operator()(TextView text) const {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a over the folded characters
  for (const char16_t c : text) h = (h ^ FoldAscii(c)) * 1099511628211ull;
  return static_cast<std::size_t>(h ^ (h >> 29));
}

bool ReferenceIndex::FoldEqual::operator()(TextView a, TextView b) const {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

int PlaceMode(PlaceKind kind) { return InfoOf(kind).mode; }

Text ReferenceWhere(const Reference& reference) {
  const KindInfo info = InfoOf(reference.kind);
  Text where(ModeOf(info.mode).title);
  where += u": ";
  if (reference.kind == PlaceKind::kBriefingStage || reference.kind == PlaceKind::kDebriefingStage) {
    where += u"team " + mission::Decimal(reference.team) + u", stage " + mission::Decimal(reference.stage);
  } else {
    where += mission::TrimBlankView(reference.owner);
  }
  if (!info.cue.empty()) {
    where += u", ";
    where += info.cue;
  }
  if (reference.access == Reference::Access::kRead) where += u" (reads)";
  if (reference.access == Reference::Access::kWrite) where += u" (writes)";
  return where;
}

bool NamesRows(int mode) {
  return mode == kModeEvents || mode == kModeGoals || mode == kModeMessages || mode == kModeShips ||
         mode == kModeWings || mode == kModeVariables;
}

std::optional<TextView> ReferenceName(int mode, const Row& row) {
  if (!NamesRows(mode)) return std::nullopt;
  // An event's and a variable's number come first.
  const std::size_t column = mode == kModeEvents || mode == kModeVariables ? 1 : 0;
  if (column >= row.cells.size()) return std::nullopt;
  const TextView name = mission::TrimBlankView(row.cells[column]);
  if (name.empty()) return std::nullopt;
  return name;
}

// Walks the four slots once, line by line, keeping the formulas that are
// open (the latest on top) and collecting the quoted names of their lines.
class ReferenceIndexBuilder {
 public:
  ReferenceIndexBuilder(const mission::Mission& mission, const std::atomic<bool>* stop) : stop_(stop) {
    index_.mission_ = &mission;
  }

  ReferenceIndex Build() {
    const mission::MissionSections& sections = index_.mission_->Sections();
    if (!Events(sections.Slot(mission::kSlotEvents)) || !Goals(sections.Slot(mission::kSlotGoals)) ||
        !Owners(sections.Slot(mission::kSlotObjects), 2, PlaceKind::kShipArrivalCue, PlaceKind::kShipDepartureCue) ||
        !Owners(sections.Slot(mission::kSlotWings), 3, PlaceKind::kWingArrivalCue, PlaceKind::kWingDepartureCue)) {
      ReferenceIndex stopped;
      stopped.mission_ = index_.mission_;
      return stopped;
    }
    Group();
    index_.variables_ = std::make_shared<const VariableUses>(VariableUses::Build(*index_.mission_));
    index_.complete_ = true;
    return std::move(index_);
  }

 private:
  bool Stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

  // --- The slots ---

  bool Events(const mission::LineList& lines) {
    BeginSlot();
    std::uint32_t formula = kNone;  // of the last "$Formu" line
    std::uint32_t row = 0;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      if (Stopped()) return false;
      const TextView line = lines[i];
      const TextView key = line.substr(0, 6);
      const auto number = static_cast<std::uint32_t>(i + 1);
      if (key == u"$Formu"sv) {
        EndOpenFormulas();
        formula = StartFormula(PlaceKind::kEvent, number);
      } else if (key == u"+Name:"sv) {
        ++row;
        index_.names_[0].push_back(ValueOf(line, 7));
        // Only the first name after a formula owns it: a name without a
        // formula line of its own has no formula, as in the Events view.
        if (formula != kNone) Own(formula, row);
        formula = kNone;
      }
      ReadLine(number, line);
    }
    return true;
  }

  bool Goals(const mission::LineList& lines) {
    BeginSlot();
    std::uint32_t row = 0;
    std::uint32_t formula = kNone;  // the current goal's last "$Formu" line
    const auto finishGoal = [&] {
      if (row != 0 && formula != kNone) Own(formula, row);
      formula = kNone;
    };
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      if (Stopped()) return false;
      const TextView line = lines[i];
      const TextView key = line.substr(0, 6);
      const auto number = static_cast<std::uint32_t>(i + 1);
      if (key == u"$Type:"sv) {
        finishGoal();
        ++row;
        index_.names_[1].emplace_back();
      } else if (key == u"+Name:"sv) {
        if (row != 0) index_.names_[1].back() = ValueOf(line, 7);
      } else if (key == u"$Formu"sv) {
        EndOpenFormulas();
        const std::uint32_t started = StartFormula(PlaceKind::kGoal, number);
        if (row != 0) formula = started;
      }
      ReadLine(number, line);
    }
    finishGoal();
    return true;
  }

  // Ships (objects) and wings: a row per "$Name:" line, owning the cues below.
  bool Owners(const mission::LineList& lines, int owners, PlaceKind arrival, PlaceKind departure) {
    BeginSlot();
    std::uint32_t row = 0;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      if (Stopped()) return false;
      const TextView line = lines[i];
      const auto number = static_cast<std::uint32_t>(i + 1);
      if (line.substr(0, 6) == u"$Name:"sv) {
        ++row;
        index_.names_[owners].push_back(ValueOf(line, 7));
      } else if (line.starts_with(u"$Arrival Cue:"sv) || line.starts_with(u"$Departure Cue:"sv)) {
        const std::uint32_t cue = StartFormula(line[1] == u'A' ? arrival : departure, number);
        if (row != 0) Own(cue, row);
      }
      ReadLine(number, line);
    }
    return true;
  }

  // --- Formulas and their lines ---

  void BeginSlot() { EndOpenFormulas(); }

  // A formula still open ends before the next "$Formu" line, where the
  // formula reader ends it too.
  void EndOpenFormulas() {
    open_.clear();
    depth_ = 0;
  }

  std::uint32_t StartFormula(PlaceKind kind, std::uint32_t line) {
    const auto id = static_cast<std::uint32_t>(index_.formulas_.size());
    index_.formulas_.push_back({kind, line, 0, 0});
    open_.push_back({id, depth_});
    return id;
  }

  void Own(std::uint32_t formula, std::uint32_t row) {
    ReferenceIndex::Formula& f = index_.formulas_[formula];
    if (f.rows == 0) f.firstRow = row;
    ++f.rows;
  }

  // A line belongs to the latest formula still open. A formula closes after
  // the line that brings its brackets back to where they stood before it:
  // while one is open, every formula above it started deeper, so only the
  // top can be the next to close.
  void ReadLine(std::uint32_t number, TextView line) {
    if (open_.empty()) return;
    Names(open_.back().formula, number, line);
    for (const char16_t c : line) depth_ += (c == u'(') - (c == u')');
    while (!open_.empty() && depth_ <= open_.back().base) open_.pop_back();
  }

  // Every text between two double quotes of the line.
  void Names(std::uint32_t formula, std::uint32_t number, TextView line) {
    for (std::size_t open = line.find(u'"'); open != TextView::npos;) {
      const std::size_t close = line.find(u'"', open + 1);
      if (close == TextView::npos) break;
      if (close > open + 1) Add(line.substr(open + 1, close - open - 1), formula, number);
      open = line.find(u'"', close + 1);
    }
  }

  void Add(TextView name, std::uint32_t formula, std::uint32_t number) {
    const auto [it, added] = index_.groups_.try_emplace(name, static_cast<std::uint32_t>(last_.size()));
    const std::uint32_t group = it->second;
    if (added) {
      last_.push_back({kNone, 0});
      count_.push_back(0);
    }
    // A name twice on one line is one reference.
    ReferenceIndex::Occurrence& last = last_[group];
    if (last.formula == formula && last.line == number) return;
    last = {formula, number};
    found_.push_back({group, {formula, number}});
    ++count_[group];
  }

  // Lays the occurrences out group after group, keeping their order.
  void Group() {
    std::vector<std::uint32_t>& start = index_.groupStart_;
    start.assign(count_.size() + 1, 0);
    for (std::size_t g = 0; g < count_.size(); ++g) start[g + 1] = start[g] + count_[g];
    std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
    index_.occurrences_.resize(found_.size());
    for (const Found& f : found_) index_.occurrences_[next[f.group]++] = f.occurrence;
  }

  struct Open {
    std::uint32_t formula;
    std::int64_t base;  // the depth before its first line
  };
  struct Found {
    std::uint32_t group;
    ReferenceIndex::Occurrence occurrence;
  };

  const std::atomic<bool>* stop_;
  ReferenceIndex index_;
  std::vector<Open> open_;
  std::int64_t depth_ = 0;
  std::vector<ReferenceIndex::Occurrence> last_;  // by group: the latest occurrence
  std::vector<std::uint32_t> count_;              // by group
  std::vector<Found> found_;
};

ReferenceIndex ReferenceIndex::Build(const mission::Mission& mission, const std::atomic<bool>* stop) {
  return ReferenceIndexBuilder(mission, stop).Build();
}

std::vector<Reference> ReferenceIndex::Find(TextView name, std::size_t limit) const {
  std::vector<Reference> found;
  const TextView trimmed = mission::TrimBlankView(name);
  if (trimmed.empty() || !mission_) return found;
  const auto group = groups_.find(trimmed);
  if (group == groups_.end()) return found;
  const mission::MissionSections& sections = mission_->Sections();
  for (std::uint32_t o = groupStart_[group->second]; o < groupStart_[group->second + 1]; ++o) {
    const Occurrence& occurrence = occurrences_[o];
    const Formula& formula = formulas_[occurrence.formula];
    const KindInfo info = InfoOf(formula.kind);
    const std::vector<TextView>& owners = names_[info.owners];
    for (std::uint32_t row = formula.firstRow; row < formula.firstRow + formula.rows; ++row) {
      if (found.size() >= limit) return found;
      Reference r;
      r.kind = formula.kind;
      r.row = {info.mode, row, info.slot, occurrence.line, formula.start};
      r.owner = owners[row - 1];
      r.line = sections.Slot(info.slot).Line(occurrence.line);
      found.push_back(r);
    }
  }
  return found;
}

std::vector<Reference> ReferenceIndex::FindVariable(TextView name) const {
  return variables_ ? variables_->Find(name) : std::vector<Reference>{};
}

}  // namespace views
