// ShownCampaign: the campaign the window shows, read from the file shown:
// its General and Campaign views, where its missions lie in its folder, and
// their titles, which ReadTitles reads beside the window (each mission is
// read whole, so a campaign of large missions takes a while, and the window
// must not wait for it).
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "mission/mission.h"
#include "views/campaign.h"
#include "views/formula_display.h"
#include "views/list.h"

namespace ui {

struct ShownCampaign {
  // The file read, which the campaign's texts point into.
  std::shared_ptr<const mission::Mission> file;
  QString path;
  views::Campaign campaign;
  // Per entry: the path of its mission in the campaign's folder, empty when
  // it was not found.
  std::vector<QString> missionPaths;
  std::vector<views::CampaignMissionInfo> infos;
  std::shared_ptr<const views::ListData> general, list;

  // The views of the campaign; modes other than General and Campaign have none.
  bool HasMode(int mode) const { return mode == 1 || mode == views::kModeCampaign; }
  std::shared_ptr<const views::ListData> List(int mode) const;
  // The code windows' texts for row `row` (1-based) of the Campaign view:
  // its branch formula.
  views::FormulaTexts Branch(std::size_t row) const;
  // Takes the titles read, in entry order, and fills the Campaign view anew.
  void TakeTitles(const std::vector<mission::Text>& titles);
};

// Reads the campaign from its file and lists its folder (one listing) to
// find the missions; the titles are not read yet.
std::shared_ptr<ShownCampaign> MakeShownCampaign(std::shared_ptr<const mission::Mission> file, const QString& path);

// The `$Name:` of each mission (empty for one missing or unreadable), read
// one after the other: meant for a worker thread.
std::vector<mission::Text> ReadTitles(const std::vector<QString>& paths);

}  // namespace ui
