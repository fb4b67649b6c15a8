#include "views/campaign_files.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "mission/file.h"

namespace views {

namespace {

// What ends a folder's name in a path: Windows takes either slash.
#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";
#else
constexpr std::string_view kSeparators = "/";
#endif

// A file name as the program's texts hold it: bytes on POSIX systems, UTF-8
// on Windows (as PathOfArgument takes it back).
std::string NameOf(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string name = path.filename().u8string();
  return std::string(name.begin(), name.end());
#else
  return path.filename().string();
#endif
}

}  // namespace

std::vector<std::string> FolderFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code failed;
  std::filesystem::directory_iterator it(mission::PathOfArgument(folder.empty() ? "." : folder), failed);
  for (const std::filesystem::directory_iterator end; !failed && it != end; it.increment(failed)) {
    names.push_back(NameOf(it->path()));
  }
  return names;
}

std::string CampaignFolder(const std::string& campaignPath) {
  const std::size_t slash = campaignPath.find_last_of(kSeparators);
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : campaignPath.substr(0, slash);
}

std::string PathInFolder(const std::string& folder, const std::string& fileName) {
  if (folder.empty()) return fileName;
  return kSeparators.find(folder.back()) != std::string_view::npos ? folder + fileName : folder + "/" + fileName;
}

bool IsFreeSpace1Campaign(const std::string& campaignPath) {
  if (campaignPath.size() < 4) return false;
  std::string tail = campaignPath.substr(campaignPath.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return tail == ".fsc";
}

void ReadCampaignMissions(const Campaign& campaign, const std::string& campaignPath, CampaignMissions& out) {
  const std::string folder = CampaignFolder(campaignPath);
  const std::vector<MissionLocation> locations = LocateMissions(campaign, FolderFiles(folder));
  const CampaignIndex index(campaign);
  const std::size_t count = campaign.missions.size();
  out.missions = std::vector<mission::Mission>(count);
  out.files.assign(count, {});
  out.paths.assign(count, {});
  for (std::size_t i = 0; i < count; ++i) {
    CampaignMissionFile& file = out.files[i];
    file.location = locations[i];
    if (!file.location.fileName || index.Find(campaign.missions[i].file) != i) continue;
    out.paths[i] = PathInFolder(folder, *file.location.fileName);
    const mission::LoadResult loaded = mission::LoadFile(mission::PathOfArgument(out.paths[i]), out.missions[i]);
    if (loaded.ok) {
      file.mission = &out.missions[i];
    } else {
      file.reason = loaded.error;
    }
  }
}

}  // namespace views
