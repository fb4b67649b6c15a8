// The campaign check: what breaks a campaign between its missions. Missions
// that are missing, names of missions, goals and events that its branches
// and its missions' `is-previous-*` operators use but nobody defines,
// missions listed twice or never reached, and variables kept across the
// campaign that two missions declare differently.
//
// Pure functions of the read campaign and of the missions the caller loaded
// from its folder; each mission's own check (CheckMission) is run here too,
// so a mission's problems come in one list.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "views/campaign.h"
#include "views/check.h"

namespace views {

// What the caller found of one entry of the campaign.
struct CampaignMissionFile {
  // The loaded mission; nullptr when the file is missing or unreadable, and
  // for a later entry of a mission already listed (it is checked once).
  const mission::Mission* mission = nullptr;
  MissionLocation location;
  std::string reason;  // why a file that exists could not be read
};

struct CampaignCheck {
  std::vector<Problem> campaign;  // the campaign's own, by line
  // Per entry: every problem in that mission's file, by line: its own check
  // (CheckMission) and the campaign's problems that lie there. Empty for an
  // entry whose mission was not read, and for a later entry of a mission.
  std::vector<std::vector<Problem>> missions;
  // Texts that problems point into (reasons, declarations compared).
  std::vector<std::unique_ptr<mission::Text>> texts;
};

// Checks a campaign. `files` holds one element per entry.
CampaignCheck CheckCampaign(const Campaign& campaign, std::span<const CampaignMissionFile> files,
                            const CheckSettings& settings = {});

}  // namespace views
