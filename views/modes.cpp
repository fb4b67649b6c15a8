#include "views/modes.h"

#include <algorithm>
#include <array>

#include "views/stages.h"
#include "views/variables.h"

namespace views {
namespace {

constexpr std::array<ModeInfo, kModeCount> kModes = {{
    {kModeGeneral, u"G&eneral", u"General", false},
    {kModeGoals, u"&Goals", u"Goals", true},
    {kModeDirectives, u"&Directives", u"Directives", false},
    {kModeEvents, u"Events", u"Events", true},
    {kModeMessages, u"Messages", u"Messages", false},
    {kModeShips, u"Ships", u"Ships", false},
    {kModeWings, u"Wings", u"Wings", false},
    {kModeReinforcements, u"Reinforcements", u"Reinforcements", false},
    {kModeVariables, u"&Variables", u"Variables", false},
    {kModeBriefing, u"&Briefing", u"Briefing", true},
    {kModeCommandBriefing, u"Co&mmand Briefing", u"Command Briefing", false},
    {kModeDebriefing, u"Deb&riefing", u"Debriefing", true},
    {kModeSummary, u"S&ummary", u"Summary", false},
}};

}  // namespace

std::span<const ModeInfo> Modes() { return kModes; }

bool IsMode(int mode) { return mode >= 1 && mode <= kModeCount; }

bool IsStoreMode(int mode) { return mode >= 1 && mode <= kStoreModeCount; }

const ModeInfo& ModeOf(int mode) { return kModes[static_cast<std::size_t>(mode - 1)]; }

int ModeOfSlot(int slot) {
  switch (slot) {
    case mission::kSlotMissionInfo:
    case mission::kSlotMusic: return kModeGeneral;
    case mission::kSlotGoals: return kModeGoals;
    case mission::kSlotEvents: return kModeEvents;
    case mission::kSlotMessages: return kModeMessages;
    case mission::kSlotObjects: return kModeShips;
    case mission::kSlotWings: return kModeWings;
    case mission::kSlotReinforcements: return kModeReinforcements;
    default: return 0;  // players, and sections that are not stored
  }
}

bool HasFormulas(const ListData& list) {
  return std::any_of(list.rows.begin(), list.rows.end(), [](const Row& row) { return mission::IsGiven(row.tag); });
}

void QuoteCommaCut(Text& text) {
  mission::ReplaceFirst(text, u"XSTR(\"", u"");
  const std::size_t cut = text.find(u"\",");
  if (cut != Text::npos) text.resize(cut);
}

std::size_t ClosingIdPosition(TextView text) {
  // Read from the end: blanks, ")", blanks, digits, an optional "-",
  // blanks, "," and the quote.
  std::size_t i = text.size();
  const auto skip = [&](auto is) {
    while (i > 0 && is(text[i - 1])) --i;
  };
  const auto take = [&](char16_t c) {
    if (i == 0 || text[i - 1] != c) return false;
    --i;
    return true;
  };
  const auto blank = [](char16_t c) { return c == u' '; };
  skip(blank);
  if (!take(u')')) return TextView::npos;
  skip(blank);
  const std::size_t digitsEnd = i;
  skip([](char16_t c) { return c >= u'0' && c <= u'9'; });
  if (i == digitsEnd) return TextView::npos;
  take(u'-');
  skip(blank);
  if (!take(u',') || !take(u'"')) return TextView::npos;
  return i;
}

void MinusOneStrip(Text& text) {
  mission::ReplaceFirst(text, u"XSTR(\"", u"");
  // Translated texts end in their id: `XSTR("text", 522)`. Only a text that
  // does not end that way falls back to removing a "-1" id anywhere.
  const std::size_t id = ClosingIdPosition(text);
  if (id != TextView::npos) {
    text.resize(id);
  } else {
    mission::ReplaceFirst(text, u"\",-1)", u"");
    mission::ReplaceFirst(text, u"\", -1)", u"");
  }
  mission::TrimBlank(text);
}

Text EventNumber(std::int64_t number) {
  Text text = mission::Decimal(number);
  if (text.size() == 1) text.insert(text.begin(), u' ');
  return text;
}

void AddFromColl(const mission::LineList& lines, TextView what, TextView desc, ListData& list) {
  Text value = u"<Unset>";
  // The last matching line wins, so the first match from the end is the one.
  for (std::size_t i = lines.Count(); i-- > 0;) {
    const TextView line = lines[i];
    if (line.starts_with(what)) {
      value = Text(mission::TrimBlankView(line.substr(what.size())));
      break;
    }
  }
  QuoteCommaCut(value);
  list.rows.push_back(Row{{Text(desc), std::move(value)}, {}});
}

void FillMode(int mode, const mission::Mission& mission, ListData& list) {
  list.rows.clear();
  list.rowLines.clear();
  list.absent.clear();
  switch (mode) {
    case kModeGeneral: ModeGeneral(mission, list); break;
    case kModeGoals: ModeGoals(mission, list); break;
    case kModeDirectives: ModeDirectives(mission, list); break;
    case kModeEvents: ModeEvents(mission, list); break;
    case kModeMessages: ModeMessages(mission, list); break;
    case kModeShips: ModeShips(mission, list); break;
    case kModeWings: ModeWings(mission, list); break;
    case kModeReinforcements: ModeReinforcements(mission, list); break;
    case kModeVariables: ModeVariables(mission, list); break;
    case kModeBriefing: ModeBriefing(mission, list); break;
    case kModeCommandBriefing: ModeCommandBriefing(mission, list); break;
    case kModeDebriefing: ModeDebriefing(mission, list); break;
    case kModeSummary: ModeSummary(mission, list); break;
    default: break;
  }
}

ListData FillMode(int mode, const mission::Mission& mission) {
  ListData list;
  FillMode(mode, mission, list);
  return list;
}

std::shared_ptr<const ListData> ModeLists::List(int mode) {
  if (!IsMode(mode) || !mission_) return std::make_shared<const ListData>();
  auto& list = lists_[static_cast<std::size_t>(mode - 1)];
  if (!list) list = std::make_shared<const ListData>(FillMode(mode, *mission_));
  return list;
}

void ModeLists::FillAll() {
  for (int mode = 1; mode <= kModeCount; ++mode) List(mode);
}

void ModeLists::Adopt(const ModeLists& other) {
  if (other.mission_ != mission_) return;
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    if (!lists_[i]) lists_[i] = other.lists_[i];
  }
}

}  // namespace views
