// Links in the code windows of a campaign's branch formula. The mission a
// `next-mission` or an `is-previous-*` names goes to its row of the Campaign
// view; the goal or event of an `is-previous-goal-*` / `is-previous-event-*`
// goes to its row of that mission's Goals or Events view, which opens that
// mission. Names compare as the campaign compares them: missions ignoring
// case and a trailing ".fs2" / ".fsm", goals and events ignoring the case of
// A-Z and the blanks at their ends; of several entries the first counts.
#pragma once

#include <span>
#include <unordered_map>

#include "base/text.h"
#include "mission/mission.h"
#include "views/campaign.h"
#include "views/check_names.h"
#include "views/links.h"

namespace views {

// The goals and events of one mission with their rows in its Goals and
// Events views. Owns its texts: it outlives the mission it was taken from,
// which the window reads beside its thread and lets go.
class MissionGoalsAndEvents {
 public:
  static MissionGoalsAndEvents Of(const mission::Mission& mission);
  // The row of the goal or event named so; mode 0 when there is none.
  Location Find(NameKind kind, mission::TextView name) const;

 private:
  using Rows = std::unordered_map<Text, std::uint32_t, FoldHash, FoldEqual>;
  Rows goals_, events_;
};

// The links of a branch formula's two texts. A link into a mission has the
// Campaign view's row of that mission (1-based) as its target's `file`; a
// link to a row of the Campaign view has `file` 0. `names` has one element
// per entry (missing ones, and entries not read yet, find nothing); it may
// be shorter than the campaign.
CodeLinks FindCampaignLinks(mission::TextView sexp, mission::TextView parsed, const CampaignIndex& index,
                            std::span<const MissionGoalsAndEvents> names);

}  // namespace views
