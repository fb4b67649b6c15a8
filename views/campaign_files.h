// Finding and reading the missions of a campaign in its folder: the one
// place the campaign's code asks the file system for anything. Used by the
// headless check and export, and beside the window for the titles.
#pragma once

#include <string>
#include <vector>

#include "mission/mission.h"
#include "views/campaign.h"
#include "views/campaign_check.h"

namespace views {

// The names of the entries of a folder (files, and also folders and
// anything else, which the mission loader then refuses as it refuses them
// by name). A folder that cannot be listed gives none.
std::vector<std::string> FolderFiles(const std::string& folder);

// The folder of a campaign as given ("dir/c.fc2" -> "dir", "c.fc2" -> "";
// standard input "-" -> ""), and a file of it as its path is shown:
// "dir/M01.fs2", or "M01.fs2" for the working directory.
std::string CampaignFolder(const std::string& campaignPath);
std::string PathInFolder(const std::string& folder, const std::string& fileName);

// Whether a campaign's file name says FreeSpace 1 (`.fsc`, any case).
bool IsFreeSpace1Campaign(const std::string& campaignPath);

// A campaign's missions read from its folder, each listed mission once: the
// first entry of each name holds its file, later entries of the same name
// none. `missions` and `files` have one element per entry; `paths` the path
// each was read from (empty when not found).
struct CampaignMissions {
  std::vector<mission::Mission> missions;
  std::vector<CampaignMissionFile> files;
  std::vector<std::string> paths;
};
void ReadCampaignMissions(const Campaign& campaign, const std::string& campaignPath, CampaignMissions& out);

}  // namespace views
