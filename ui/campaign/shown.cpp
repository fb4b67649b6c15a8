#include "ui/campaign/shown.h"

#include "ui/common/qtext.h"
#include "views/campaign_files.h"

namespace ui {

std::shared_ptr<const views::ListData> ShownCampaign::List(int mode) const {
  if (mode == views::kModeCampaign) return list;
  return mode == 1 ? general : std::make_shared<const views::ListData>();
}

views::FormulaTexts ShownCampaign::Branch(std::size_t row) const {
  if (row < 1 || row > campaign.missions.size()) return {};
  const views::CampaignFormula& branch = campaign.missions[row - 1].branch;
  return {branch.sexp, branch.parsed};
}

void ShownCampaign::TakeTitles(const std::vector<mission::Text>& titles) {
  for (std::size_t i = 0; i < infos.size() && i < titles.size(); ++i) infos[i].title = titles[i];
  list = std::make_shared<const views::ListData>(views::CampaignList(campaign, infos));
}

std::shared_ptr<ShownCampaign> MakeShownCampaign(std::shared_ptr<const mission::Mission> file, const QString& path) {
  auto shown = std::make_shared<ShownCampaign>();
  shown->file = std::move(file);
  shown->path = path;
  shown->campaign = views::ReadCampaign(*shown->file);
  const std::string name = FsPath(path).string();
  shown->campaign.freeSpace1 = views::IsFreeSpace1Campaign(name);
  const std::string folder = views::CampaignFolder(name);
  const std::vector<views::MissionLocation> locations =
      views::LocateMissions(shown->campaign, views::FolderFiles(folder));
  for (const views::MissionLocation& location : locations) {
    shown->missionPaths.push_back(location.fileName
                                      ? QString::fromStdString(views::PathInFolder(folder, *location.fileName))
                                      : QString());
    shown->infos.push_back({location.fileName.has_value(), {}});
  }
  shown->general = std::make_shared<const views::ListData>(views::CampaignGeneral(shown->campaign));
  shown->list = std::make_shared<const views::ListData>(views::CampaignList(shown->campaign, shown->infos));
  return shown;
}

std::vector<mission::Text> ReadTitles(const std::vector<QString>& paths) {
  std::vector<mission::Text> titles;
  for (const QString& path : paths) {
    mission::Mission mission;
    const bool read = !path.isEmpty() && mission::LoadFile(FsPath(path), mission).ok;
    titles.push_back(read ? views::MissionTitle(mission) : mission::Text());
  }
  return titles;
}

}  // namespace ui
