// The Summary view: the mission's entries counted, one row per kind.
#include <algorithm>
#include <string_view>

#include "views/check_names.h"
#include "views/modes.h"
#include "views/sections.h"
#include "views/stages.h"
#include "views/variables.h"

namespace views {
namespace {

using namespace std::string_view_literals;
using mission::LineList;

TextView KeyOf(TextView line) { return line.substr(0, 6); }
TextView ValueOf(TextView line, std::size_t drop) { return line.substr(std::min(drop, line.size())); }

std::size_t CountKey(const LineList& lines, TextView key) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < lines.Count(); ++i) count += KeyOf(lines[i]) == key;
  return count;
}

struct ShipCounts {
  std::size_t ships = 0;
  std::size_t playerStarts = 0;
  // Each team as written, in the order the ships first name them.
  std::vector<std::pair<TextView, std::size_t>> teams;
};

// A ship's team is its last "$Team:" value, as the Ships view shows it.
ShipCounts CountShips(const LineList& lines) {
  ShipCounts counts;
  TextView team;
  bool start = false;
  const auto finish = [&] {
    if (counts.ships == 0) return;
    counts.playerStarts += start;
    if (team.empty()) return;
    const auto known = std::find_if(counts.teams.begin(), counts.teams.end(),
                                    [team](const auto& entry) { return entry.first == team; });
    if (known == counts.teams.end()) {
      counts.teams.emplace_back(team, 1);
    } else {
      ++known->second;
    }
  };
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    if (key == u"$Name:"sv) {
      finish();
      ++counts.ships;
      team = {};
      start = false;
    } else if (key == u"$Team:"sv) {
      team = ValueOf(line, 7);
    } else if (key == u"+Flags"sv && line.find(u"\"player-start\""sv) != TextView::npos) {
      start = true;
    }
  }
  finish();
  return counts;
}

struct EventCounts {
  std::size_t events = 0;
  std::size_t repeating = 0;
  std::size_t chained = 0;
};

// An event repeats when its repeat count is not 1 or it has a trigger count.
EventCounts CountEvents(const LineList& lines) {
  EventCounts counts;
  bool repeating = false;
  bool chained = false;
  const auto finish = [&] {
    counts.repeating += repeating;
    counts.chained += chained;
    repeating = chained = false;
  };
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    if (key == u"+Name:"sv) {
      finish();
      ++counts.events;
    } else if (counts.events == 0) {
      continue;
    } else if (line.starts_with(u"+Repeat Count:"sv)) {
      repeating = repeating || mission::NumericValue(ValueOf(line, 14)) != 1;
    } else if (line.starts_with(u"+Trigger Count:"sv)) {
      repeating = true;
    } else if (key == u"+Chain"sv) {
      chained = true;
    }
  }
  finish();
  return counts;
}

// A voice file is a wave name other than none.
bool IsVoiceFile(TextView name) {
  const TextView file = mission::TrimBlankView(name);
  return mission::IsGiven(file) && !FoldEqual{}(file, u"none") && !FoldEqual{}(file, u"none.wav");
}

}  // namespace

void ModeSummary(const mission::Mission& mission, ListData& list) {
  list.rows.clear();
  list.rowLines.clear();
  list.columns = {{u"Item", 3000}, {u"Count", 1000}};
  const mission::MissionSections& sections = mission.Sections();
  const auto add = [&list](Text item, std::size_t count) {
    list.rows.push_back(Row{{std::move(item), mission::Decimal(static_cast<long long>(count))}, {}});
  };

  const ShipCounts ships = CountShips(sections.Slot(mission::kSlotObjects));
  add(u"Ships", ships.ships);
  for (const auto& [team, count] : ships.teams) add(u"Ships: " + Text(team), count);
  add(u"Wings", CountKey(sections.Slot(mission::kSlotWings), u"$Name:"));
  add(u"Player starts", ships.playerStarts);

  const EventCounts events = CountEvents(sections.Slot(mission::kSlotEvents));
  add(u"Events", events.events);
  add(u"Repeating events", events.repeating);
  add(u"Chained events", events.chained);

  std::size_t goals[3] = {0, 0, 0};
  const LineList& goalLines = sections.Slot(mission::kSlotGoals);
  for (std::size_t i = 0; i < goalLines.Count(); ++i) {
    if (KeyOf(goalLines[i]) != u"$Type:"sv) continue;
    const TextView type = mission::TrimBlankView(ValueOf(goalLines[i], 6));
    if (FoldEqual{}(type, u"primary")) ++goals[0];
    if (FoldEqual{}(type, u"secondary")) ++goals[1];
    if (FoldEqual{}(type, u"bonus")) ++goals[2];
  }
  add(u"Primary goals", goals[0]);
  add(u"Secondary goals", goals[1]);
  add(u"Bonus goals", goals[2]);

  const LineList& messages = sections.Slot(mission::kSlotMessages);
  std::size_t messageCount = 0, voiced = 0;
  bool voice = false;
  for (std::size_t i = 0; i < messages.Count(); ++i) {
    const TextView key = KeyOf(messages[i]);
    if (key == u"$Name:"sv) {
      voiced += voice;
      voice = false;
      ++messageCount;
    } else if (key == u"+Wave "sv && messageCount > 0) {
      voice = IsVoiceFile(ValueOf(messages[i], 12));
    }
  }
  voiced += voice;
  add(u"Messages", messageCount);
  add(u"Messages with a voice file", voiced);

  add(u"Variables", DeclaredVariables(mission).size());
  std::size_t waypoints = 0, jumpNodes = 0;
  for (const mission::SectionBlock& block : SectionsOf(mission, SectionKind::kWaypoints)) {
    for (std::uint32_t n = block.header + 1; n < block.end; ++n) {
      const TextView line = mission.FileLine(n);
      waypoints += KeyOf(line) == u"$Name:"sv;
      jumpNodes += line.starts_with(u"$Jump Node:"sv);
    }
  }
  add(u"Waypoint lists", waypoints);
  add(u"Jump nodes", jumpNodes);
  add(u"Briefing stages", FindStages(mission, StageKind::kBriefing).size());
  add(u"Command briefing stages", FindStages(mission, StageKind::kCommandBriefing).size());
  add(u"Debriefing stages", FindStages(mission, StageKind::kDebriefing).size());
}

}  // namespace views
