#include "ui/campaign/shown.h"

#include "ui/common/qtext.h"
#include "views/campaign_check.h"
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

views::CodeLinks ShownCampaign::Links(mission::TextView sexp, mission::TextView parsed) const {
  return views::FindCampaignLinks(sexp, parsed, *index, names);
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
  shown->index.emplace(shown->campaign);
  const std::string folder = views::CampaignFolder(name);
  const std::vector<views::MissionLocation> locations =
      views::LocateMissions(shown->campaign, views::FolderFiles(folder));
  for (const views::MissionLocation& location : locations) {
    shown->missionPaths.push_back(location.fileName
                                      ? PathQString(views::PathInFolder(folder, *location.fileName))
                                      : QString());
    shown->infos.push_back({location.fileName.has_value(), {}});
  }
  shown->general = std::make_shared<const views::ListData>(views::CampaignGeneral(shown->campaign));
  shown->list = std::make_shared<const views::ListData>(views::CampaignList(shown->campaign, shown->infos));
  return shown;
}

CampaignMissionsRead ReadCampaignMissions(std::shared_ptr<const ShownCampaign> shown) {
  // What the problems point into, kept as long as they are shown.
  struct Kept {
    std::shared_ptr<const ShownCampaign> shown;
    views::CampaignMissions missions;
    views::CampaignCheck check;
  };
  auto kept = std::make_shared<Kept>();
  kept->shown = shown;
  const views::Campaign& campaign = shown->campaign;
  views::ReadCampaignMissions(campaign, FsPath(shown->path).string(), kept->missions);
  const std::vector<views::CampaignMissionFile>& files = kept->missions.files;
  kept->check = views::CheckCampaign(campaign, files);

  CampaignMissionsRead read;
  const std::size_t count = campaign.missions.size();
  read.titles.resize(count);
  read.names.resize(count);
  auto result = std::make_shared<CheckResult>();
  result->mission = shown->file;
  result->campaign = true;
  result->files.push_back(shown->path);
  const auto add = [&result](const views::Problem& problem, std::uint32_t file) {
    result->problems.push_back(problem);
    result->fileOf.push_back(file);
  };
  for (const views::Problem& problem : kept->check.campaign) add(problem, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const mission::Mission* mission = i < files.size() ? files[i].mission : nullptr;
    if (mission == nullptr) {
      // A mission listed again has the title of its first entry.
      const std::optional<std::size_t> first = shown->index->Find(campaign.missions[i].file);
      if (first && *first < i) read.titles[i] = read.titles[*first];
      continue;
    }
    read.titles[i] = views::MissionTitle(*mission);
    read.names[i] = views::MissionGoalsAndEvents::Of(*mission);
    result->files.push_back(PathQString(kept->missions.paths[i]));
    ++result->missions;
    for (const views::Problem& problem : kept->check.missions[i]) {
      add(problem, static_cast<std::uint32_t>(result->files.size() - 1));
    }
  }
  result->counts = views::CountProblems(result->problems);
  result->keep = std::move(kept);
  read.check = std::move(result);
  return read;
}

}  // namespace ui
