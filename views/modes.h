// The view modes of the mission list and the fillers that build each mode's
// list from the loaded mission: the eight of the section store, then the
// views of what the store does not keep (variables, briefings, debriefings)
// and a summary (views/stages.h, views/variables.h).
//
// A filler walks the lines of one slot of the section store once, in file
// order. A line's key is its first six characters, compared exactly; a key
// either opens a new row or writes one cell of the current row (a later line
// overwrites an earlier value; cell keys before the first row are ignored).
// The value written is the line less a fixed number of characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "base/text.h"
#include "mission/mission.h"
#include "views/list.h"

namespace views {

enum Mode : int {
  kModeGeneral = 1,
  kModeGoals = 2,
  kModeDirectives = 3,
  kModeEvents = 4,
  kModeMessages = 5,
  kModeShips = 6,
  kModeWings = 7,
  kModeReinforcements = 8,
  kModeVariables = 9,
  kModeBriefing = 10,
  kModeCommandBriefing = 11,
  kModeDebriefing = 12,
  kModeSummary = 13,
};
constexpr int kModeCount = 13;
// The modes of the section store, 1 to 8; the others come after them.
constexpr int kStoreModeCount = 8;

struct ModeInfo {
  int mode;
  TextView menuCaption;  // the View menu entry, with its access-key "&"
  TextView title;        // the caption without its first "&", shown above the list
  bool formulas;         // rows may carry a formula reference
};

// The mode table, modes 1 to 13 in order.
std::span<const ModeInfo> Modes();
// The entry of one mode; `mode` must lie in 1..13.
const ModeInfo& ModeOf(int mode);
// True for 1..13.
bool IsMode(int mode);
// True for the modes whose rows' tags are formula references «slot,line»
// into the section store (1..8). The rows of the other modes carry
// «mode,row» and their lines in the list's rowLines.
bool IsStoreMode(int mode);

// The mode that lists the entries of the section stored in `slot`, which the
// outline tree's tags carry: General for mission info and music, Events for
// the events; 0 for players and for sections that are not stored (slot 0).
int ModeOfSlot(int slot);

// True when at least one row carries a formula reference (IsGiven of its tag).
// The layout shows the two code windows only then.
bool HasFormulas(const ListData& list);

// --- Fillers. Each replaces the columns and rows of `list` with its view. ---

// General: mission name, author and the two soundtracks. When the outline
// tree is empty (no mission, or no section header at all) it does nothing:
// the list keeps whatever columns it had.
void ModeGeneral(const mission::Mission& mission, ListData& list);
void ModeGoals(const mission::Mission& mission, ListData& list);
void ModeDirectives(const mission::Mission& mission, ListData& list);
void ModeEvents(const mission::Mission& mission, ListData& list);
void ModeMessages(const mission::Mission& mission, ListData& list);
// Lines of the objects section with the key "$Messa" are skipped: they would
// otherwise land in the Class column.
void ModeShips(const mission::Mission& mission, ListData& list);
void ModeWings(const mission::Mission& mission, ListData& list);
void ModeReinforcements(const mission::Mission& mission, ListData& list);
// Summary: how many ships (and of each team, as written), wings, player
// starts, events (repeating, chained), goals of each type, messages (with a
// voice file), variables, waypoint lists, jump nodes and stages.
void ModeSummary(const mission::Mission& mission, ListData& list);

// What a mode switch does to the list: removes all rows, then runs the filler
// of `mode` (1..13; any other number only removes the rows).
void FillMode(int mode, const mission::Mission& mission, ListData& list);
// The list a switch to `mode` shows on a freshly created window.
ListData FillMode(int mode, const mission::Mission& mission);

// The lists of one mission's views, each filled once, when first asked for,
// and kept as long as this: a loaded mission never changes, so a switch back
// to a view, or a link into it, needs no new fill. Lists filled on another
// thread can be handed in. It refers to the mission, which must outlive it.
class ModeLists {
 public:
  ModeLists() = default;
  explicit ModeLists(const mission::Mission* mission) : mission_(mission) {}

  const mission::Mission* Mission() const { return mission_; }
  // The list of `mode` (1..13) as FillMode makes it on a fresh list; an
  // empty list for any other number, or without a mission.
  std::shared_ptr<const ListData> List(int mode);
  // Fills every list not filled yet.
  void FillAll();
  // Takes from `other`, when it holds lists of the same mission, those that
  // are missing here; the lists already here stay.
  void Adopt(const ModeLists& other);

 private:
  const mission::Mission* mission_ = nullptr;
  std::array<std::shared_ptr<const ListData>, kModeCount> lists_;
};

// --- Building blocks shared by the fillers, exposed for their tests. ---

// Quote-comma cut: removes the first `XSTR("`, then keeps only what stands
// before the first `",` if there is one.
void QuoteCommaCut(Text& text);
// Minus-one strip: removes the first `XSTR("`, then a closing `", id)` at
// the end for any integer id (blanks allowed between comma, id and bracket,
// and after the bracket); a text that does not end that way loses its first
// `",-1)` and then its first `", -1)`. The result is trimmed at both ends.
void MinusOneStrip(Text& text);

// Where a closing `", id)` (the pattern `", *-?[0-9]+ *\) *$`) begins at the
// end of `text`, or npos.
std::size_t ClosingIdPosition(TextView text);

// The Events view's number of an event: decimal, with a blank before a
// single digit (« 0», «12», «100»).
Text EventNumber(std::int64_t number);

// Adds the row «desc | value» where value is the last line of `lines` that
// begins with `what`, less `what`, trimmed and quote-comma cut; "<Unset>"
// when no line begins with `what`.
void AddFromColl(const mission::LineList& lines, TextView what, TextView desc, ListData& list);

}  // namespace views
