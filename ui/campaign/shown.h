// ShownCampaign: the campaign the window shows, read from the file shown:
// its General and Campaign views, where its missions lie in its folder, and
// what ReadCampaignMissions reads of them beside the window (each mission is
// read whole, so a campaign of large missions takes a while, and the window
// must not wait for it): their titles, the goals and events its branches'
// links go to, and the campaign's check.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "mission/mission.h"
#include "ui/problems/problems.h"
#include "views/campaign.h"
#include "views/campaign_links.h"
#include "views/formula_display.h"
#include "views/list.h"

namespace ui {

struct ShownCampaign {
  // The file read, which the campaign's texts point into.
  std::shared_ptr<const mission::Mission> file;
  QString path;
  views::Campaign campaign;
  std::optional<views::CampaignIndex> index;  // of `campaign`, which stays where it is
  // Per entry: the path of its mission in the campaign's folder, empty when
  // it was not found.
  std::vector<QString> missionPaths;
  std::vector<views::CampaignMissionInfo> infos;
  // Per entry, once read: the goals and events of its mission.
  std::vector<views::MissionGoalsAndEvents> names;
  std::shared_ptr<const views::ListData> general, list;

  // The views of the campaign; modes other than General and Campaign have none.
  bool HasMode(int mode) const { return mode == 1 || mode == views::kModeCampaign; }
  std::shared_ptr<const views::ListData> List(int mode) const;
  // The code windows' texts for row `row` (1-based) of the Campaign view:
  // its branch formula.
  views::FormulaTexts Branch(std::size_t row) const;
  // The links of a branch's two texts in the code windows.
  views::CodeLinks Links(mission::TextView sexp, mission::TextView parsed) const;
  // Takes the titles read, in entry order, and fills the Campaign view anew.
  void TakeTitles(const std::vector<mission::Text>& titles);

  ShownCampaign() = default;
  ShownCampaign(const ShownCampaign&) = delete;  // `index` refers to `campaign`
  ShownCampaign& operator=(const ShownCampaign&) = delete;
};

// Reads the campaign from its file and lists its folder (one listing) to
// find the missions; the missions are not read yet.
std::shared_ptr<ShownCampaign> MakeShownCampaign(std::shared_ptr<const mission::Mission> file, const QString& path);

// What is read of a campaign's missions, per entry: the `$Name:` of each
// (empty for one missing or unreadable) and its goals and events; and the
// check of the campaign with its missions.
struct CampaignMissionsRead {
  std::vector<mission::Text> titles;
  std::vector<views::MissionGoalsAndEvents> names;
  std::shared_ptr<const CheckResult> check;
};

// Reads the missions of a campaign from its folder, each listed mission
// once, and checks them with the campaign: meant for a worker thread. It
// reads only what MakeShownCampaign set, which the window leaves as it is.
CampaignMissionsRead ReadCampaignMissions(std::shared_ptr<const ShownCampaign> shown);

}  // namespace ui
