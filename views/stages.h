// Briefings, command briefings and debriefings: where their stages lie in
// the file and what each stage holds. The section store does not keep these
// sections, so everything here reads the file's own lines
// (Mission::FileLine) within the sections' bounds.
//
// Each «#Briefing», «#Command Briefing» and «#Debriefing_info» section is
// the briefing of one team, numbered 1, 2... in file order. A briefing stage
// runs from its "$start_stage" line to its "$end_stage" line; a command
// briefing stage begins at its "$Stage Text:" line, a debriefing stage at
// its "$Formula:" line (or at a text of a stage that has one already). A
// text begins after its key ("$multi_text", "$Stage Text:", "$Multi text",
// "$Recommendation text:") and ends at "$end_multi_text", or, when that is
// missing, before the stage's next field. The fields of a briefing's icons
// ("$start_icon" to "$end_icon") are not the stage's.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "sexp/formula.h"
#include "views/formula_display.h"
#include "views/list.h"
#include "views/stage_text.h"

namespace views {

enum class StageKind { kBriefing, kCommandBriefing, kDebriefing };

// Where a stage lies: its team and number (both 1-based) and its lines.
struct StagePlace {
  std::uint32_t team = 0;
  std::uint32_t number = 0;
  FileLines lines;
};

// Every stage of `kind` in file order.
std::vector<StagePlace> FindStages(const mission::Mission& mission, StageKind kind);

// Whether the mission has a section of `kind` at all.
bool HasStageSections(const mission::Mission& mission, StageKind kind);

// What a stage holds, read from its lines.
struct StageFields {
  Text text;            // its lines joined by CR LF, as written (XSTR and tags kept)
  Text recommendation;  // a debriefing stage's, likewise
  Text voice;           // values trimmed, as written
  Text animation;
  Text icons;
  // The "$Formula:" line of the stage and the end of the lines it may take
  // (the next field line, or the stage's end); 0 when the stage has none.
  std::uint32_t formula = 0;
  std::uint32_t formulaEnd = 0;
};
StageFields ReadStage(const mission::Mission& mission, StageKind kind, FileLines lines);

// The formula of a stage as the code windows show it, like an event's:
// `name` is what the translator writes into a "when". Empty texts when the
// stage has no formula.
FormulaTexts StageFormula(const mission::Mission& mission, const StageFields& stage, TextView name,
                          sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

// What the pane under the list shows for a stage: its text in the game's
// colours, then, each after an empty line, a debriefing's recommendation
// (in the recommendation's own colour) and the stage's files:
// «Voice: b1.wav», «Animation: cb_010.ani». Lines end in CR LF.
ColoredText StagePaneText(StageKind kind, const StageFields& stage);

// The fillers of the stage views. Each row's tag is «mode,row», and its
// lines are kept in the list's rowLines.
void ModeBriefing(const mission::Mission& mission, ListData& list);
void ModeCommandBriefing(const mission::Mission& mission, ListData& list);
void ModeDebriefing(const mission::Mission& mission, ListData& list);

// The kind of stage a stage view lists; views that list none give nothing.
std::optional<StageKind> StageKindOfMode(int mode);

}  // namespace views
