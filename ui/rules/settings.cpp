#include "ui/rules/settings.h"

#include <algorithm>

#include "applib/ini.h"
#include "ui/rules/layout.h"
#include "ui/rules/missionfiles.h"
#include "views/modes.h"

namespace ui {

namespace {

constexpr TextView kDisplay = u"Display";
constexpr TextView kDirs = u"Dirs";
constexpr TextView kStartup = u"Startup";
constexpr TextView kColumns = u"Columns";

// A whole number of digits only, up to `most`; nothing for anything else.
std::optional<int> WholeNumber(TextView text, int most) {
  if (text.empty() || text.size() > 7) return std::nullopt;
  int value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  if (value > most) return std::nullopt;
  return value;
}

constexpr int kMostTwips = 1000000;
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

std::optional<double> ViewerSettings::TreeWidth() const { return TwipsFromSetting(Read(kDisplay, u"TreeWidth")); }

void ViewerSettings::SetTreeWidth(std::optional<double> twips) {
  Write(kDisplay, u"TreeWidth", twips ? mission::Decimal(RoundHalfEven(*twips)) : Text());
}

std::optional<double> ViewerSettings::ListHeight() const { return TwipsFromSetting(Read(kDisplay, u"ListHeight")); }

void ViewerSettings::SetListHeight(std::optional<double> twips) {
  Write(kDisplay, u"ListHeight", twips ? mission::Decimal(RoundHalfEven(*twips)) : Text());
}

std::vector<int> ViewerSettings::ColumnWidths(int mode) const {
  if (!views::IsMode(mode)) return {};
  return ColumnWidthsFromSetting(Read(kColumns, views::ModeOf(mode).title));
}

void ViewerSettings::SetColumnWidths(int mode, const std::vector<int>& twips) {
  if (views::IsMode(mode)) Write(kColumns, views::ModeOf(mode).title, ColumnWidthsSetting(twips));
}

bool ViewerSettings::ModernOperators() const { return ModernOperatorsFromSetting(Read(kDisplay, u"ModernOperators")); }

void ViewerSettings::SetModernOperators(bool on) { Write(kDisplay, u"ModernOperators", Flag(on)); }

bool ViewerSettings::EventFlowShown() const { return Read(kDisplay, u"EventFlow") == u"1"; }

void ViewerSettings::SetEventFlowShown(bool shown) { Write(kDisplay, u"EventFlow", Flag(shown)); }

views::FlowChoice ViewerSettings::EventFlowMode() const {
  return FlowChoiceFromSetting(Read(kDisplay, u"EventFlowMode"));
}

void ViewerSettings::SetEventFlowMode(views::FlowChoice choice) {
  Write(kDisplay, u"EventFlowMode", FlowChoiceSetting(choice));
}

int ViewerSettings::EventFlowSteps() const { return FlowStepsFromSetting(Read(kDisplay, u"EventFlowSteps")); }

void ViewerSettings::SetEventFlowSteps(int steps) {
  Write(kDisplay, u"EventFlowSteps", mission::Decimal(std::clamp(steps, 1, kMaxFlowSteps)));
}

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

views::FlowChoice FlowChoiceFromSetting(TextView value) {
  if (value == u"whole") return views::FlowChoice::kWhole;
  if (value == u"neighbourhood") return views::FlowChoice::kNeighbourhood;
  return views::FlowChoice::kAutomatic;
}

TextView FlowChoiceSetting(views::FlowChoice choice) {
  switch (choice) {
    case views::FlowChoice::kWhole: return u"whole";
    case views::FlowChoice::kNeighbourhood: return u"neighbourhood";
    case views::FlowChoice::kAutomatic: break;
  }
  return u"";
}

int FlowStepsFromSetting(TextView value) {
  const std::optional<int> steps = WholeNumber(value, kMaxFlowSteps);
  return steps && *steps >= 1 ? *steps : kDefaultFlowSteps;
}

Association AssociationFromSetting(TextView value) {
  if (value == u"1") return Association::kYes;
  if (value == u"0") return Association::kNo;
  return Association::kAsk;
}

std::optional<double> TwipsFromSetting(TextView value) {
  const std::optional<int> twips = WholeNumber(value, kMostTwips);
  if (!twips || *twips < 1) return std::nullopt;
  return *twips;
}

std::vector<int> ColumnWidthsFromSetting(TextView value) {
  std::vector<int> widths;
  while (!value.empty()) {
    const std::size_t comma = value.find(u',');
    const std::optional<int> width = WholeNumber(mission::TrimBlankView(value.substr(0, comma)), kMostTwips);
    if (!width) return {};
    widths.push_back(*width);
    if (comma == TextView::npos) break;
    value.remove_prefix(comma + 1);
    if (value.empty()) return {};  // a comma with nothing after it
  }
  return widths;
}

Text ColumnWidthsSetting(const std::vector<int>& twips) {
  Text text;
  for (std::size_t i = 0; i < twips.size(); ++i) {
    if (i > 0) text += u',';
    text += mission::Decimal(twips[i]);
  }
  return text;
}

}  // namespace ui
