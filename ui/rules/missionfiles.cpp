#include "ui/rules/missionfiles.h"

#include <algorithm>
#include <unordered_map>

#include "applib/paths.h"

namespace ui {

namespace {

Text NameOf(TextView path) {
  Text directory, name;
  applib::SplitPath(path, directory, name);
  return name;
}

// The folder of a path without its trailing separator ("/" stays "/").
Text FolderOf(TextView path) {
  Text directory, name;
  applib::SplitPath(path, directory, name);
  if (directory.size() > 1) directory.pop_back();
  return directory;
}

// A menu caption shows "&" as the mark of the access key; "&&" is one "&".
Text MenuText(TextView text) {
  Text out;
  for (const char16_t c : text) {
    out += c;
    if (c == u'&') out += u'&';
  }
  return out;
}

}  // namespace

std::vector<Text> RecentWithFirst(std::span<const Text> recent, TextView path) {
  std::vector<Text> list{Text(path)};
  for (const Text& entry : recent) {
    if (list.size() == kRecentCount) break;
    if (entry != path) list.push_back(entry);
  }
  return list;
}

std::vector<Text> RecentWithout(std::span<const Text> recent, TextView path) {
  std::vector<Text> list;
  for (const Text& entry : recent) {
    if (entry != path) list.push_back(entry);
  }
  return list;
}

std::vector<Text> RecentCaptions(std::span<const Text> recent) {
  std::unordered_map<Text, int> uses;
  for (const Text& path : recent) ++uses[NameOf(path)];
  std::vector<Text> captions;
  for (std::size_t i = 0; i < recent.size(); ++i) {
    const Text name = NameOf(recent[i]);
    Text caption = u"&" + mission::Decimal(static_cast<long long>(i + 1)) + u" " + MenuText(name);
    if (uses[name] > 1) caption += u" (" + MenuText(FolderOf(recent[i])) + u")";
    captions.push_back(std::move(caption));
  }
  return captions;
}

bool IsMissionFileName(TextView path) {
  if (path.size() < 4) return false;
  const Text end = mission::LowerAscii(path.substr(path.size() - 4));
  return end == u".fs2" || end == u".fsm" || end == u".fc2" || end == u".fsc";
}

std::optional<Text> DroppedMission(std::span<const Text> paths) {
  const auto it = std::find_if(paths.begin(), paths.end(), [](const Text& p) { return IsMissionFileName(p); });
  if (it == paths.end()) return std::nullopt;
  return *it;
}

Text OpenDialogFolder(TextView remembered, bool rememberedExists, TextView shownMission) {
  if (!remembered.empty() && rememberedExists) return Text(remembered);
  if (!shownMission.empty()) {
    Text directory, name;
    applib::SplitPath(shownMission, directory, name);
    if (!directory.empty()) return directory;
  }
  return Text(remembered);
}

Text ReloadedText(TextView path) { return u"Reloaded " + NameOf(path); }

Text ReloadFailedText(TextView path, TextView reason) {
  return u"Could not reload " + NameOf(path) + u": " + Text(reason);
}

}  // namespace ui
