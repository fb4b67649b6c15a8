// A campaign file (`*.fc2`; FreeSpace 1: `*.fsc`): its header, its mission
// entries and their branch formulas, which choose the next mission with
// `cond`, `next-mission` and `is-previous-goal-*` / `is-previous-event-*`.
//
// A campaign is read by the mission loader (same encodings, line ends,
// refusals and size bounds) and then taken apart from the file's own lines,
// so every entry and reference keeps the line an editor shows. Its texts are
// views into the loaded file: a Campaign is valid as long as the
// mission::Mission it was read from. Everything here is a pure function; the
// folder beside the campaign is listed by the caller.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "views/flow.h"
#include "views/list.h"

namespace views {

// The view mode of the Campaign view.
inline constexpr int kModeCampaign = 14;

// Whether a loaded file is a campaign rather than a mission: no NUL
// character, at least one `$Mission:` line and no `#Mission Info` header.
bool LooksLikeCampaign(const mission::Mission& file);

// A name in a formula that the campaign check looks up: the mission of a
// `next-mission`, or the mission and goal or event of an `is-previous-*`.
enum class CampaignRefKind : std::uint8_t { kNextMission, kPreviousGoal, kPreviousEvent };
struct CampaignRef {
  CampaignRefKind kind = CampaignRefKind::kNextMission;
  mission::TextView op;       // the operator as written
  mission::TextView mission;  // the mission's file name as written (without quotes)
  mission::TextView name;     // is-previous-*: the goal or event
  std::uint32_t line = 0;     // of the mission name
  std::uint32_t column = 0;
  std::uint32_t nameLine = 0, nameColumn = 0;
};

// A branch or loop formula as read.
struct CampaignFormula {
  std::uint32_t line = 0;  // its `+Formula:` line; 0: the entry has none
  std::uint32_t lastLine = 0;
  Text sexp;    // the SEXP code window: its lines joined by CR LF, without "+Formula:"
  Text parsed;  // the Parsed code window: translated with the FreeSpace Open operators
  // The missions it may lead to, in order of first mention, each with the
  // shortened condition of the `cond` clause that names it first (empty
  // for `( true )` or outside a `cond`).
  struct Target {
    mission::TextView mission;
    Text condition;
  };
  std::vector<Target> targets;
  std::vector<CampaignRef> refs;
  std::uint32_t openBrackets = 0;  // left open when the formula was cut off
  bool extraClosing = false;       // a ")" closes nothing
};

enum class LoopKind : std::uint8_t { kNone, kLoop, kFork };

struct CampaignMission {
  std::uint32_t line = 0;  // its `$Mission:` line
  mission::TextView file;  // as written, trimmed
  mission::TextView level, position, flags, mainHall;
  CampaignFormula branch;
  LoopKind loop = LoopKind::kNone;
  Text loopText;
  CampaignFormula loopFormula;
};

struct Campaign {
  mission::TextView name, type, flags;
  Text description;  // its XSTR wrapping removed, lines joined by one blank
  std::vector<mission::TextView> startingShips, startingWeapons;
  // Header fields the view shows as written: the cut-scenes, main hall...
  std::vector<std::pair<mission::TextView, mission::TextView>> otherFields;
  std::vector<CampaignMission> missions;
  bool freeSpace1 = false;  // told by the caller from the file's `.fsc` name
};

// Reads the campaign from a loaded file. A formula cut off ends before the
// next field line (`$`, `+` or `#` first).
Campaign ReadCampaign(const mission::Mission& file);

// --- Mission names ---

// A mission name as the campaign compares it: A-Z lowered and a trailing
// ".fs2" or ".fsm" (any case) dropped.
Text MissionKey(mission::TextView name);
// The same without lowering: for telling a case-only match.
mission::TextView WithoutMissionExtension(mission::TextView name);

// How a name matched.
enum class NameMatch : std::uint8_t { kNone, kExact, kIgnoringCase };

// Where the campaign's missions are found among the files of its folder:
// for each entry, the file's name in the folder, and whether only case made
// it match. A name without ".fs2"/".fsm" is looked for with the extension
// of the campaign's game added.
struct MissionLocation {
  std::optional<std::string> fileName;  // nothing: no such file
  bool caseOnly = false;
};
std::vector<MissionLocation> LocateMissions(const Campaign& campaign, std::span<const std::string> folderFiles);

// The first entry of each mission name: row (0-based) by MissionKey.
class CampaignIndex {
 public:
  explicit CampaignIndex(const Campaign& campaign);
  // The first entry named so, and how it matched (kIgnoringCase when only
  // the case of A-Z differs, the extension aside).
  std::optional<std::size_t> Find(mission::TextView name, NameMatch* how = nullptr) const;

 private:
  const Campaign& campaign_;
  std::vector<std::pair<Text, std::size_t>> sorted_;
};

// The entries (0-based) that the first mission reaches through branches
// and loops, the first one included.
std::vector<bool> ReachedMissions(const Campaign& campaign, const CampaignIndex& index);

// --- Views ---

// What the folder says about each entry: whether its file was found, and
// the `$Name:` of that mission (empty while unknown or when missing).
struct CampaignMissionInfo {
  bool found = false;
  Text title;
};

// The General view of a campaign: its header as «Attribute | Value» rows.
ListData CampaignGeneral(const Campaign& campaign);
// The Campaign view: "#", "Mission", "Title", "Level", "Next", "Found".
// Each row's tag is «14,ROW»; `infos` may be shorter than the entries
// (titles not read yet).
ListData CampaignList(const Campaign& campaign, std::span<const CampaignMissionInfo> infos);
// The "Next" cell: the missions its branch leads to, or "end of campaign".
Text NextCell(const CampaignMission& entry);

// The row (1-based) of a Campaign view tag «14,ROW»; 0 for any other tag.
std::size_t CampaignRowOfTag(mission::TextView tag);

// The title of a mission: the `$Name:` of its "#Mission Info" as the
// General view shows it (its XSTR wrapping cut, trimmed); empty when it has
// none.
Text MissionTitle(const mission::Mission& mission);

// The campaign as a graph: a node per entry (mode 14, its row, labelled with
// its file name), an edge per mission a branch leads to, labelled with the
// shortened condition of its `cond` clause, and loop edges for a loop's or
// fork's missions and for a branch back to its own mission. Names that no
// entry has give no edge.
FlowGraph CampaignGraph(const Campaign& campaign);

}  // namespace views
