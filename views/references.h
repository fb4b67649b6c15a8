// Where a mission's formulas name a ship, wing, message, event or goal: the
// index behind Edit > "Find References".
//
// The formulas are those of the events and the goals, and the arrival and
// departure cues of the ships and wings ("$Arrival Cue:", "$Departure Cue:").
// A formula names what stands between two double quotes on one of its lines;
// names compare as the engine compares them, ignoring the case of A-Z, and
// whole: «"Alpha 1"» does not name «Alpha 10». Nothing here knows which
// argument of an operator takes which kind of name: every quoted text counts.
//
// A formula's lines run, as in the code windows, from its first line until
// its brackets balance; a formula of an event or goal that never closes ends
// before the next "$Formu" line. Where a cue that never closes runs over the
// cues after it, each line is counted for the latest cue that covers it, so
// every line is read once and a broken file cannot make the work grow faster
// than the file.
//
// Rows are numbered as the view fillers number them: an event is the row of
// the first "+Name:" line below its formula (a name with no "$Formu" line
// since the previous name has no formula), a goal the row of its "$Type:"
// line with its last "$Formu" line, a ship or wing the row of its "$Name:"
// line with the cues below it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "views/list.h"
#include "views/location.h"

namespace views {

enum class PlaceKind : std::uint8_t {
  kEvent,
  kGoal,
  kShipArrivalCue,
  kShipDepartureCue,
  kWingArrivalCue,
  kWingDepartureCue,
  // Places only variables are used in.
  kMessage,
  kBriefingStage,
  kDebriefingStage,
};

// One line of a formula that names the name looked up.
struct Reference {
  // How a variable is used there; names of the other kinds are only named.
  enum class Access : std::uint8_t { kNamed, kRead, kWrite };

  PlaceKind kind = PlaceKind::kEvent;
  Location row;    // the owner's row, the line that names the name and its formula's first line
  TextView owner;  // the owner's name as its row shows it; empty for a stage
  TextView line;   // the text of the line that names the name
  std::uint32_t team = 0;  // a stage's team and number
  std::uint32_t stage = 0;
  Access access = Access::kNamed;
};

// The view that lists the owners of a kind of place: Events, Goals, Ships or
// Wings.
int PlaceMode(PlaceKind kind);

// Where a reference is, as the References pane says it: the view and the
// owner's name without blanks at its ends, and for a cue which one, e.g.
// «Events: Alpha down»,
// «Ships: Alpha 1, arrival cue»; a stage by its team and number,
// «Briefing: team 1, stage 2»; a variable's use says how it is used,
// «Events: Heat check (writes)», «Messages: Status (reads)».
Text ReferenceWhere(const Reference& reference);

// True for the views whose rows have a name that formulas name: Ships,
// Wings, Messages, Goals, Events and Variables.
bool NamesRows(int mode);

// The name that Find References looks up for a row: the Name of a row of
// Ships, Wings, Messages, Goals, Events or Variables, without blanks at its
// ends. Nothing for the other views and for a row whose name is blank.
std::optional<TextView> ReferenceName(int mode, const Row& row);

class VariableUses;

class ReferenceIndex {
 public:
  // The index of every quoted name in the mission's formulas. When `stop`
  // becomes true the build ends early with an index that finds nothing.
  // The index refers to the mission's texts: it is valid as long as the
  // mission it was built from.
  static ReferenceIndex Build(const mission::Mission& mission, const std::atomic<bool>* stop = nullptr);

  // Every line of a formula that names `name` (blanks at its ends do not
  // count): events first, then goals, ship cues and wing cues, each in file
  // order. A formula that is the formula of several events gives a
  // reference for each of them. At most `limit` references.
  std::vector<Reference> Find(TextView name, std::size_t limit = kFindLimit) const;

  // Every place that reads or changes the variable named `name`, each
  // marked which (see views/variables.h).
  std::vector<Reference> FindVariable(TextView name) const;

  // False when the build was stopped.
  bool Complete() const { return complete_; }

  static constexpr std::size_t kFindLimit = 1000000;

 private:
  friend class ReferenceIndexBuilder;

  struct FoldHash {
    std::size_t operator()(TextView text) const;
  };
  struct FoldEqual {
    bool operator()(TextView a, TextView b) const;
  };

  struct Formula {
    PlaceKind kind = PlaceKind::kEvent;
    std::uint32_t start = 0;     // first line, 1-based in its slot
    std::uint32_t firstRow = 0;  // 1-based; 0 while no row owns it
    std::uint32_t rows = 0;      // owners from firstRow on (at most one: the first name after it)
  };
  struct Occurrence {
    std::uint32_t formula = 0;
    std::uint32_t line = 0;
  };

  const mission::Mission* mission_ = nullptr;
  bool complete_ = false;
  std::shared_ptr<const VariableUses> variables_;
  std::vector<Formula> formulas_;
  // Row names by kind of owner: events, goals, ships, wings; [row - 1].
  std::vector<TextView> names_[4];
  // Name -> group; a group's occurrences are occurrences_[groupStart_[g] ..
  // groupStart_[g + 1]), in the order they were found.
  std::unordered_map<TextView, std::uint32_t, FoldHash, FoldEqual> groups_;
  std::vector<std::uint32_t> groupStart_;
  std::vector<Occurrence> occurrences_;
};

}  // namespace views
