#include "ui/settings.h"

#include "applib/ini.h"
#include "ui/layout.h"
#include "ui/missionfiles.h"

namespace ui {

namespace {

constexpr TextView kDisplay = u"Display";
constexpr TextView kDirs = u"Dirs";
constexpr TextView kStartup = u"Startup";
constexpr TextView kRecent = u"Recent";

// Flags are stored as "1" and "0".
constexpr TextView Flag(bool on) { return on ? u"1" : u"0"; }

constexpr TextView LastOpenDirKey(MissionKind kind) {
  return kind == MissionKind::kFS2 ? u"LastOpenDirFS2" : u"LastOpenDirFS1";
}

Text RecentKey(std::size_t index) { return u"File" + mission::Decimal(static_cast<long long>(index + 1)); }

}  // namespace

ViewerSettings::ViewerSettings(Text directory) : directory_(std::move(directory)) {}

Text ViewerSettings::Read(TextView section, TextView key) const {
  return applib::IniRead(directory_, kSettingsFile, section, key);
}

void ViewerSettings::Write(TextView section, TextView key, TextView value) {
  // A write that fails keeps the old file; the program goes on with the
  // value it holds.
  applib::IniWrite(directory_, kSettingsFile, section, key, value);
}

bool ViewerSettings::TreeViewShown() const { return TreeViewFromSetting(Read(kDisplay, u"TreeView")) == 1; }

void ViewerSettings::SetTreeViewShown(bool shown) { Write(kDisplay, u"TreeView", Flag(shown)); }

bool ViewerSettings::LeftCodeHidden() const { return CodeHiddenFromSetting(Read(kDisplay, u"LeftCodeWindow")); }

void ViewerSettings::SetLeftCodeHidden(bool hidden) { Write(kDisplay, u"LeftCodeWindow", Flag(!hidden)); }

bool ViewerSettings::RightCodeHidden() const { return CodeHiddenFromSetting(Read(kDisplay, u"RightCodeWindow")); }

void ViewerSettings::SetRightCodeHidden(bool hidden) { Write(kDisplay, u"RightCodeWindow", Flag(!hidden)); }

bool ViewerSettings::ModernOperators() const { return ModernOperatorsFromSetting(Read(kDisplay, u"ModernOperators")); }

void ViewerSettings::SetModernOperators(bool on) { Write(kDisplay, u"ModernOperators", Flag(on)); }

Text ViewerSettings::LastOpenDir(MissionKind kind) const { return Read(kDirs, LastOpenDirKey(kind)); }

void ViewerSettings::SetLastOpenDir(MissionKind kind, TextView directory) {
  Write(kDirs, LastOpenDirKey(kind), directory);
}

Association ViewerSettings::AssociateFileTypes() const {
  return AssociationFromSetting(Read(kStartup, u"AssociateFileTypes"));
}

void ViewerSettings::SetAssociateFileTypes(bool associate) {
  Write(kStartup, u"AssociateFileTypes", Flag(associate));
}

void ViewerSettings::SetAssociateFileTypes(Association association) {
  if (association == Association::kAsk) {
    Write(kStartup, u"AssociateFileTypes", u"");
  } else {
    SetAssociateFileTypes(association == Association::kYes);
  }
}

std::vector<Text> ViewerSettings::RecentMissions() const {
  std::vector<Text> paths;
  for (std::size_t i = 0; i < kRecentCount; ++i) {
    Text path = Read(kRecent, RecentKey(i));
    if (!path.empty()) paths.push_back(std::move(path));
  }
  return paths;
}

void ViewerSettings::SetRecentMissions(const std::vector<Text>& paths) {
  for (std::size_t i = 0; i < kRecentCount; ++i) Write(kRecent, RecentKey(i), i < paths.size() ? paths[i] : Text());
}

int TreeViewFromSetting(TextView value) {
  const double number = mission::NumericValue(value);
  // A 16-bit conversion rounds halves to even; out of range counts as 0.
  if (!(number >= -32768.5 && number <= 32767.5)) return 0;
  const int shown = RoundHalfEven(number);
  return shown == 1 ? 1 : 0;
}

bool CodeHiddenFromSetting(TextView value) { return value == u"0"; }

bool ModernOperatorsFromSetting(TextView value) { return value == u"1"; }

Association AssociationFromSetting(TextView value) {
  if (value == u"1") return Association::kYes;
  if (value == u"0") return Association::kNo;
  return Association::kAsk;
}

}  // namespace ui
