// The sections the views after the eight read besides the section store:
// found among the file's sections by name, their lines read from the file.
#pragma once

#include <vector>

#include "base/text.h"
#include "mission/mission.h"

namespace views {

enum class SectionKind { kVariables, kBriefing, kCommandBriefing, kDebriefing, kWaypoints };

// The sections of `kind` in file order: «#Sexp_variables», «#Briefing»,
// «#Command Briefing», «#Debriefing_info», «#Waypoints». Names compare with
// the case of A-Z ignored and without blanks at their ends.
std::vector<mission::SectionBlock> SectionsOf(const mission::Mission& mission, SectionKind kind);

// Whether `line` begins with `key`, the case of A-Z ignored (the game reads
// keys that way).
bool StartsWithKey(mission::TextView line, mission::TextView key);

}  // namespace views
