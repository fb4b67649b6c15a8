// The view fillers of modes 1 to 8.
#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "views/modes.h"

namespace views {
namespace {

using namespace std::string_view_literals;

using mission::LineList;

// A line's key: its first six characters, or the whole line if shorter.
TextView KeyOf(TextView line) { return line.substr(0, 6); }

// The line less its first `drop` characters; empty when it is not longer.
Text ValueOf(TextView line, std::size_t drop) { return Text(line.substr(std::min(drop, line.size()))); }

// Writes one view into a list: the columns first, then rows appended one by
// one; cells written before the first row go nowhere.
class Filler {
 public:
  Filler(ListData& list, std::initializer_list<Column> columns) : list_(list) {
    list_.rows.clear();
    list_.columns.assign(columns);
  }

  void NewRow() { list_.rows.push_back(Row{std::vector<Text>(list_.columns.size()), {}}); }
  bool HasRow() const { return !list_.rows.empty(); }

  void Set(std::size_t cell, Text value) {
    if (HasRow()) list_.rows.back().cells[cell] = std::move(value);
  }
  void SetTag(Text tag) {
    if (HasRow()) list_.rows.back().tag = std::move(tag);
  }

 private:
  ListData& list_;
};

const LineList& SlotOf(const mission::Mission& mission, int slot) { return mission.Sections().Slot(slot); }

Text Reference(int slot, std::int64_t line) { return mission::Decimal(slot) + u',' + mission::Decimal(line); }

// «+Objective key:» holds the key of a directive, not its text; it shares its
// six-character key with «+Objective:».
bool IsObjectiveKey(TextView line) { return line.starts_with(u"+Objective key:"sv); }

}  // namespace

void ModeGeneral(const mission::Mission& mission, ListData& list) {
  if (mission.Tree().Empty()) return;
  list.rows.clear();
  list.columns = {{u"Attribute", 4000}, {u"Value", 4000}};
  const LineList& info = SlotOf(mission, mission::kSlotMissionInfo);
  const LineList& music = SlotOf(mission, mission::kSlotMusic);
  AddFromColl(info, u"$Name: ", u"Mission Name", list);
  AddFromColl(info, u"$Author: ", u"Author", list);
  AddFromColl(music, u"$Briefing Music: ", u"Briefing Soundtrack", list);
  AddFromColl(music, u"$Event Music: ", u"In-game Soundtrack", list);
}

void ModeEvents(const mission::Mission& mission, ListData& list) {
  enum { kNumber, kName, kRepeat, kInterval, kChain, kDirective };
  Filler fill(list, {{u"#", 300}, {u"Name", 2000}, {u"Repeat", 800}, {u"Interval", 800}, {u"Chain", 600},
                     {u"Directive", 2000}});
  const LineList& lines = SlotOf(mission, mission::kSlotEvents);
  // Wider than the file format's 32 bits, so no mission can overflow them.
  std::int64_t lineNo = 0, eventNo = -1, formulaLine = 0, nameLine = 0;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    ++lineNo;
    if (key == u"$Formu"sv) {
      formulaLine = lineNo;
    } else if (key == u"+Name:"sv) {
      ++eventNo;
      fill.NewRow();
      fill.Set(kNumber, EventNumber(eventNo));
      fill.Set(kName, ValueOf(line, 7));
      // An event without a formula line of its own has none: it must not
      // show the formula of the event before it.
      fill.SetTag(Reference(mission::kSlotEvents, formulaLine > nameLine ? formulaLine : 0));
      nameLine = lineNo;
    } else if (key == u"+Repea"sv) {
      fill.Set(kRepeat, ValueOf(line, 15));
    } else if (key == u"+Inter"sv) {
      fill.Set(kInterval, ValueOf(line, 11));
    } else if (key == u"+Chain"sv) {
      fill.Set(kChain, ValueOf(line, 10));
    } else if (key == u"+Objec"sv && !IsObjectiveKey(line)) {
      Text value = ValueOf(line, 12);
      QuoteCommaCut(value);
      mission::TrimBlank(value);
      fill.Set(kDirective, std::move(value));
    }
  }
}

void ModeGoals(const mission::Mission& mission, ListData& list) {
  enum { kName, kMessage, kType, kVis };
  Filler fill(list, {{u"Name", 2000}, {u"Message", 3000}, {u"Type", 1000}, {u"Vis", 400}});
  const LineList& lines = SlotOf(mission, mission::kSlotGoals);
  std::int64_t lineNo = 0;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    ++lineNo;
    if (key == u"$Type:"sv) {
      fill.NewRow();
      fill.Set(kType, ValueOf(line, 7));
      fill.Set(kVis, u"Y");
    } else if (key == u"+Name:"sv) {
      fill.Set(kName, ValueOf(line, 7));
    } else if (key == u"$Messa"sv) {
      Text value = ValueOf(line, 13);
      MinusOneStrip(value);
      fill.Set(kMessage, std::move(value));
    } else if (key == u"$Formu"sv) {
      fill.SetTag(Reference(mission::kSlotGoals, lineNo));
    } else if (key == u"+Inval"sv) {
      fill.Set(kVis, u"-");
    }
  }
}

void ModeDirectives(const mission::Mission& mission, ListData& list) {
  enum { kText, kEventName };
  Filler fill(list, {{u"Text", 3000}, {u"Eventname", 2000}});
  const LineList& lines = SlotOf(mission, mission::kSlotEvents);
  Text pendingName;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    if (key == u"+Name:"sv) {
      pendingName = ValueOf(line, 7);
    } else if (key == u"+Objec"sv && !IsObjectiveKey(line)) {
      Text value = ValueOf(line, 12);
      MinusOneStrip(value);
      fill.NewRow();
      fill.Set(kText, std::move(value));
      fill.Set(kEventName, std::move(pendingName));
      pendingName.clear();
    }
  }
}

void ModeMessages(const mission::Mission& mission, ListData& list) {
  enum { kName, kText, kAvi, kWav };
  Filler fill(list, {{u"Name", 2000}, {u"Text", 5000}, {u"AVI", 1000}, {u"WAV", 2000}});
  const LineList& lines = SlotOf(mission, mission::kSlotMessages);
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    if (key == u"$Name:"sv) {
      fill.NewRow();
      fill.Set(kName, ValueOf(line, 7));
    } else if (key == u"$Messa"sv) {
      Text value = ValueOf(line, 14);
      MinusOneStrip(value);
      fill.Set(kText, std::move(value));
    } else if (key == u"+AVI N"sv) {
      fill.Set(kAvi, ValueOf(line, 11));
    } else if (key == u"+Wave "sv) {
      fill.Set(kWav, ValueOf(line, 12));
    }
  }
}

void ModeShips(const mission::Mission& mission, ListData& list) {
  enum { kName, kClass, kTeam, kIff, kHull };
  Filler fill(list, {{u"Name", 2000}, {u"Class", 2000}, {u"Team", 900}, {u"IFF", 700}, {u"Hull", 500}});
  const LineList& lines = SlotOf(mission, mission::kSlotObjects);
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    // "$Messa" lines are deliberately not shown: they would overwrite Class.
    if (key == u"$Name:"sv) {
      fill.NewRow();
      fill.Set(kName, ValueOf(line, 7));
    } else if (key == u"$Class"sv) {
      fill.Set(kClass, ValueOf(line, 8));
    } else if (key == u"$Team:"sv) {
      fill.Set(kTeam, ValueOf(line, 7));
    } else if (key == u"$IFF: "sv) {
      fill.Set(kIff, ValueOf(line, 6));
    } else if (key == u"+Initi"sv) {
      // Only the hull: «+Initial Velocity:» and «+Initial Shields:» share the key.
      if (line.find(u"Hull:"sv) != TextView::npos) fill.Set(kHull, ValueOf(line, 15));
    }
  }
}

void ModeWings(const mission::Mission& mission, ListData& list) {
  enum { kName, kWaves, kHotkey, kShips, kDelayMin, kDelayMax };
  Filler fill(list, {{u"Name", 1000}, {u"Waves", 700}, {u"Hotkey", 700}, {u"Ships", 600}, {u"DelayMin", 1000},
                     {u"DelayMax", 1000}});
  const LineList& lines = SlotOf(mission, mission::kSlotWings);
  // A wing's ships stand one per line between its "$Ships" line and a lone
  // ")"; the count is written when the next wing (or the slot) ends. Neither
  // value is reset at a new wing.
  std::int64_t shipCount = 0;
  bool counting = false;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    TextView value = line;
    if (key == u"$Name:"sv) {
      value = line.substr(std::min<std::size_t>(7, line.size()));
      fill.Set(kShips, mission::Decimal(shipCount));
      fill.NewRow();
      fill.Set(kName, Text(value));
    } else if (key == u"$Waves"sv) {
      value = line.substr(std::min<std::size_t>(8, line.size()));
      fill.Set(kWaves, Text(value));
    } else if (key == u"+Hotke"sv) {
      value = line.substr(std::min<std::size_t>(9, line.size()));
      fill.Set(kHotkey, Text(value));
    } else if (key == u"+Wave "sv) {
      value = line.substr(std::min<std::size_t>(17, line.size()));
      const TextView kind = line.substr(0, 15);
      if (kind == u"+Wave Delay Min"sv) fill.Set(kDelayMin, Text(value));
      if (kind == u"+Wave Delay Max"sv) fill.Set(kDelayMax, Text(value));
    } else if (key == u"$Ships"sv) {
      shipCount = -1;
      counting = true;
    }
    // The check applies to the value as the key left it, like every other
    // use of the line.
    if (value == u")"sv) counting = false;
    if (counting) ++shipCount;
  }
  fill.Set(kShips, mission::Decimal(shipCount));
}

void ModeReinforcements(const mission::Mission& mission, ListData& list) {
  enum { kName, kType, kTimes, kDelay };
  Filler fill(list, {{u"Name", 1000}, {u"Type", 2000}, {u"Times", 600}, {u"Delay", 600}});
  const LineList& lines = SlotOf(mission, mission::kSlotReinforcements);
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const TextView line = lines[i];
    const TextView key = KeyOf(line);
    if (key == u"$Name:"sv) {
      fill.NewRow();
      fill.Set(kName, ValueOf(line, 7));
    } else if (key == u"$Type:"sv) {
      fill.Set(kType, ValueOf(line, 7));
    } else if (key == u"$Num t"sv) {
      fill.Set(kTimes, ValueOf(line, 12));
    } else if (key == u"+Arriv"sv) {
      fill.Set(kDelay, ValueOf(line, 16));
    }
  }
}

}  // namespace views
