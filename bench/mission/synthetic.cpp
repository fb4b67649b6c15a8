#include "bench/mission/synthetic.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string_view>

namespace bench {
namespace {

class Writer {
 public:
  explicit Writer(unsigned seed) : rng_(seed) {}

  void Line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
  }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  std::size_t Size() const { return out_.size(); }
  std::string Take() { return std::move(out_); }

  std::string Ship(int i) const { return "\"" + std::string(kPrefixes[i % 8]) + " " + std::to_string(i) + "\""; }

  static constexpr std::string_view kPrefixes[8] = {"Alpha", "Beta", "Gamma", "Delta",
                                                   "Sekhmet", "Anubis", "Kappa", "Omega"};
  static constexpr std::string_view kClasses[6] = {"GTF Ulysses", "GTF Hercules", "GVF Seth",
                                                  "GTC Fenris", "GVB Osiris", "GTSG Cerberus"};

 private:
  std::mt19937 rng_;
  std::string out_;
};

void Header(Writer& w) {
  w.Line("#Mission Info");
  w.Line("");
  w.Line("$Version: 0.10");
  w.Line("$Name: XSTR(\"Synthetic Operation\", -1)");
  w.Line("$Author: generate_mission");
  w.Line("$Created: 12/10/26 at 10:00:00");
  w.Line("$Notes:");
  w.Line("Generated for benchmarks. ; with a comment");
  w.Line("$End Notes:");
  w.Line("");
  w.Line("#Music");
  w.Line("");
  w.Line("$Event Music: 5: Deuteronomy");
  w.Line("$Briefing Music: Brief5");
  w.Line("");
}

void Objects(Writer& w, int first, int count) {
  w.Line("#Objects");
  w.Line("");
  for (int i = first; i < first + count; ++i) {
    w.Line("$Name: " + w.Ship(i).substr(1, w.Ship(i).size() - 2) + "\t\t;! Object #" + std::to_string(i));
    w.Line("$Class: " + std::string(Writer::kClasses[i % 6]));
    w.Line(i % 3 ? "$Team: Friendly" : "$Team: Hostile");
    w.Line(i % 3 ? "$IFF: IFF 1" : "$IFF: IFF 2");
    w.Line("$Location: " + std::to_string(w.Pick(20000) - 10000) + ".000000, 0.000000, " +
           std::to_string(w.Pick(20000)) + ".000000");
    w.Line("$Orientation:");
    w.Line("\t1.000000, 0.000000, 0.000000,");
    w.Line("\t0.000000, 1.000000, 0.000000,");
    w.Line("\t0.000000, 0.000000, 1.000000");
    w.Line("$AI Behavior: Chase");
    w.Line("+AI Class: Captain");
    w.Line("$Cargo 1: XSTR(\"Nothing\", -1)");
    w.Line("+Initial Velocity: " + std::to_string(w.Pick(100)));
    w.Line("+Initial Hull: " + std::to_string(50 + w.Pick(51)));
    w.Line("+Initial Shields: 100");
    w.Line("+Subsystem: Pilot");
    w.Line("$Arrival Location: Hyperspace");
    w.Line("$Arrival Cue: ( true )");
    w.Line("$Departure Location: Hyperspace");
    w.Line("$Departure Cue: ( false )");
    w.Line("$Determination: 10");
    w.Line("+Flags: ( \"cargo-known\" )");
    w.Line("+Respawn priority: 0");
    w.Line("+Group: 0");
    w.Line("+Score: " + std::to_string(w.Pick(20) * 5));
    w.Line("");
  }
}

void Wings(Writer& w, int first, int count) {
  w.Line("#Wings");
  w.Line("");
  for (int i = first; i < first + count; i += 4) {
    w.Line("$Name: Wing " + std::to_string(i));
    w.Line("$Waves: " + std::to_string(1 + w.Pick(3)));
    w.Line("$Wave Threshold: 0");
    w.Line("$Special Ship: 0");
    w.Line("$Arrival Location: Hyperspace");
    w.Line("$Arrival Cue: ( true )");
    w.Line("+Hotkey: " + std::to_string(w.Pick(9) - 1));
    w.Line("$Ships: ( ;! 4 total");
    for (int k = 0; k < 4; ++k) w.Line("\t" + w.Ship(i + k));
    w.Line(")");
    w.Line("+Wave Delay Min: " + std::to_string(w.Pick(10)));
    w.Line("+Wave Delay Max: " + std::to_string(10 + w.Pick(20)));
    w.Line("");
  }
}

// One event formula over several lines, mixing conditions and actions. An
// open formula lacks its last closing bracket, as in a damaged file.
void Formula(Writer& w, int i, int ships, bool open = false) {
  const std::string_view close = open ? "" : ")";
  const auto s = [&](int k) { return w.Ship((i + k) % ships); };
  switch (i % 4) {
    case 0:
      w.Line("$Formula: ( when");
      w.Line("   ( and");
      w.Line("      ( is-destroyed-delay 0 " + s(1) + " " + s(2) + " )");
      w.Line("      ( has-arrived-delay 5 " + s(3) + " )");
      w.Line("      ( not ( is-event-true-delay \"Event " + std::to_string(i + 1) + "\" 0 ) )");
      w.Line("   )");
      w.Line("   ( send-message \"#Command\" \"High\" \"Message " + std::to_string(i) + "\" )");
      w.Line("   ( add-goal " + s(4) + " ( ai-chase " + s(5) + " 89 ) )");
      w.Line(close);
      break;
    case 1:
      w.Line("$Formula: ( when");
      w.Line("   ( or");
      w.Line("      ( < ( hits-left " + s(1) + " ) 50 )");
      w.Line("      ( > ( mission-time ) " + std::to_string(60 + i % 600) + " )");
      w.Line("   )");
      w.Line("   ( ship-invulnerable " + s(2) + " " + s(3) + " )");
      w.Line("   ( send-message-list \"#Command\" \"High\" \"Message " + std::to_string(i) + "\" 0 " + s(1) +
             " \"Normal\" \"Reply " + std::to_string(i) + "\" 2000 )");
      w.Line(close);
      break;
    case 2:
      w.Line("$Formula: ( when");
      w.Line("   ( is-event-true-delay \"Event " + std::to_string(i - 1) + "\" 0 )");
      w.Line("   ( change-iff \"Hostile\" " + s(1) + " " + s(2) + " )");
      w.Line("   ( sabotage-subsystem " + s(3) + " \"engine\" 50 )");
      w.Line("   ( do-nothing )");
      w.Line(close);
      break;
    default:
      w.Line("$Formula: ( when ( has-time-elapsed " + std::to_string(i % 900) + " ) ( ship-vanish " + s(1) +
             " " + s(2) + " ) " + std::string(close));
      break;
  }
}

// With `damage`, one formula in ten is left open and every 50th event is
// followed by 20 names without a formula of their own. With `hub`, events
// 1 to 1000 wait on event 0.
void Events(Writer& w, int first, int count, int ships, bool damage, bool hub) {
  w.Line("#Events\t\t;! " + std::to_string(count) + " total");
  w.Line("");
  for (int i = first; i < first + count; ++i) {
    if (hub && i >= 1 && i <= 1000) {
      w.Line("$Formula: ( when ( is-event-true-delay \"Event 0\" 0 ) ( has-time-elapsed " + std::to_string(i) + " ) )");
    } else {
      Formula(w, i, ships, damage && i % 10 == 7);
    }
    w.Line("+Name: Event " + std::to_string(i));
    w.Line("+Repeat Count: 1");
    w.Line("+Interval: 1");
    if (i % 5 == 0) w.Line("+Chained: " + std::to_string(w.Pick(10)));
    if (i % 3 == 0) w.Line("+Objective: XSTR(\"Objective " + std::to_string(i) + "\", -1)");
    w.Line("");
    if (damage && i % 50 == 49) {
      for (int k = 0; k < 20; ++k) w.Line("+Name: Orphan " + std::to_string(i) + "-" + std::to_string(k));
      w.Line("");
    }
  }
}

void Goals(Writer& w, int first, int count, int ships) {
  w.Line("#Goals");
  w.Line("");
  for (int i = first; i < first + count; ++i) {
    w.Line(i % 2 ? "$Type: Secondary" : "$Type: Primary");
    w.Line("+Name: Goal " + std::to_string(i));
    w.Line("$MessageNew: XSTR(\"Destroy " + w.Ship(i % ships).substr(1) + ", -1)");
    w.Line("$Formula: ( is-destroyed-delay 0 " + w.Ship(i % ships) + " " + w.Ship((i + 1) % ships) + " )");
    if (i % 4 == 3) w.Line("+Invalid");
    w.Line("");
  }
}

void Messages(Writer& w, int first, int count) {
  w.Line("#Messages");
  w.Line("");
  for (int i = first; i < first + count; ++i) {
    w.Line("$Name: Message " + std::to_string(i));
    w.Line("$Team: -1");
    w.Line("$MessageNew:  XSTR(\"Pilots, stay sharp: contact " + std::to_string(i) +
           " is closing on the convoy.\", -1)");
    w.Line("$end_multi_text");
    w.Line("+AVI Name: head-cm" + std::to_string(1 + i % 3));
    w.Line("+Wave Name: msg_" + std::to_string(i) + ".wav");
    w.Line("");
  }
}

void Reinforcements(Writer& w, int first, int count) {
  w.Line("#Reinforcements");
  w.Line("");
  for (int i = first; i < first + count; ++i) {
    w.Line("$Name: Wing " + std::to_string(i * 4));
    w.Line("$Type: Attack/Protect");
    w.Line("$Num times: 1");
    w.Line("+Arrival delay: " + std::to_string(w.Pick(60)));
    w.Line("");
  }
}

void Variables(Writer& w) {
  w.Line("#Sexp_variables");
  w.Line("");
  w.Line("$Variables:");
  w.Line("(");
  w.Line("\t\t0\t\t\"Counter\"\t\t\"0\"\t\t\"number\"");
  w.Line("\t\t1\t\t\"Target\"\t\t\"Alpha 0\"\t\t\"string\"");
  w.Line(")");
  w.Line("");
}

// Events whose formulas refer to every kind of name the mission check looks
// up, with FreeSpace Open operators. Each refers to names of its own block
// (`ships` ships, and events, goals, messages and wings in the proportions
// the block declares them); in about one event in twenty every name carries
// a suffix that no declared name has.
void ReferenceEvents(Writer& w, int block, int count, int ships) {
  w.Line("#Events");
  w.Line("");
  const int base = block * ships;
  for (int i = 0; i < count; ++i) {
    const std::string tail = w.Pick(20) == 0 ? " (gone)\"" : "\"";
    const auto named = [&](std::string_view prefix, int first, int n) {
      return "\"" + std::string(prefix) + " " + std::to_string(first + w.Pick(n)) + tail;
    };
    const auto ship = [&] {
      const int k = base + w.Pick(ships);
      return "\"" + std::string(Writer::kPrefixes[k % 8]) + " " + std::to_string(k) + tail;
    };
    const auto wing = [&] { return "\"Wing " + std::to_string(base + 4 * w.Pick(ships / 4)) + tail; };
    const auto event = [&] { return named("Event", base / 2, ships / 2); };
    const auto goal = [&] { return named("Goal", base / 20, ships / 20); };
    const auto message = [&] { return named("Message", base / 4, ships / 4); };
    w.Line("$Formula: ( when");
    w.Line("   ( and");
    w.Line("      ( is-goal-true-delay " + goal() + " 0 )");
    w.Line("      ( is-event-true-delay " + event() + " 0 )");
    w.Line("      ( < @Counter[0] " + std::to_string(w.Pick(100)) + " )");
    w.Line("      ( > ( num-ships-in-wing " + wing() + " ) 0 )");
    w.Line("      ( has-arrived-delay 0 " + wing() + " " + ship() + " )");
    w.Line("   )");
    w.Line("   ( modify-variable @Counter[0] ( + @Counter[0] 1 ) )");
    w.Line("   ( send-message-chain " + event() + " \"#Command\" \"High\" " + message() + " 0 )");
    w.Line("   ( set-object-position " + ship() + " ( get-object-x " + ship() + " ) 0 ( get-object-z " + ship() +
           " ) )");
    w.Line("   ( when-argument ( any-of " + ship() + " " + ship() + " ) ( true )");
    w.Line("      ( ship-invulnerable \"<argument>\" )");
    w.Line("      ( hud-set-message \"Gauge\" " + message() + " )");
    w.Line("   )");
    w.Line("   ( clear-wing-goals " + wing() + " )");
    w.Line("   ( reset-goal " + goal() + " )");
    w.Line(")");
    w.Line("+Name: Reference " + std::to_string(w.Pick(50) == 0 ? 0 : base + i));
    w.Line("+Repeat Count: 1");
    w.Line("+Interval: 1");
    w.Line("");
  }
}

// The briefings of one block and the variables its events and messages use:
// as many briefing and debriefing stages as a real mission has against its
// events (a tenth of them each), and a variable for every ten events.
void BlockVariables(Writer& w, int block) {
  w.Line("#Sexp_variables");
  w.Line("");
  w.Line("$Variables:");
  w.Line("(");
  for (int k = 0; k < 20; ++k) {
    const std::string index = std::to_string(block * 20 + k);
    const std::string name = "\"Var " + std::to_string(block) + "-" + std::to_string(k) + "\"";
    const char* persistence = k % 5 == 0 ? "\t\t\"campaign-persistent\"" : k % 7 == 0 ? "\t\t\"player-persistent\"" : "";
    w.Line("\t\t" + index + "\t\t" + name + "\t\t\"" + std::to_string(k) + "\"\t\t\"" +
           (k % 3 ? "number" : "string") + "\"" + persistence);
  }
  w.Line(")");
  w.Line("");
}

std::string Variable(int block, int k) { return "Var " + std::to_string(block) + "-" + std::to_string(k % 20); }

void Briefings(Writer& w, int block, int ships) {
  const int base = block * ships;
  w.Line("#Command Briefing");
  w.Line("");
  for (int k = 0; k < 2; ++k) {
    w.Line("$Stage Text:");
    w.Line("XSTR(\"Command update " + std::to_string(block) + "-" + std::to_string(k) + ": the $h " +
           w.Ship(base + k).substr(1, w.Ship(base + k).size() - 2) + " fleet gathers near $b Capella$|.");
    w.Line("");
    w.Line("$W March $W " + std::to_string(1 + k) + "\", -1)");
    w.Line("$end_multi_text");
    w.Line("$Ani Filename: cb_" + std::to_string(k) + ".ani");
    w.Line("+Wave Filename: cb_" + std::to_string(block) + "_" + std::to_string(k) + ".wav");
    w.Line("");
  }
  w.Line("#Briefing");
  w.Line("$start_briefing");
  w.Line("$num_stages: 10");
  for (int k = 0; k < 10; ++k) {
    w.Line("$start_stage");
    w.Line("$multi_text");
    w.Line(" XSTR(\"Stage " + std::to_string(k) + ": protect the $f " +
           w.Ship(base + k).substr(1, w.Ship(base + k).size() - 2) + " and destroy the $h " +
           w.Ship(base + k + 1).substr(1, w.Ship(base + k + 1).size() - 2) +
           "$|. Watch the jump node$semicolon the enemy arrives there.\", -1)");
    w.Line("$end_multi_text");
    w.Line("$voice: brief_" + std::to_string(k) + ".wav");
    w.Line("$camera_pos: 0.000000, 500.000000, 0.000000");
    w.Line("$camera_orient:");
    w.Line("\t1.000000, 0.000000, 0.000000,");
    w.Line("\t0.000000, 0.000000, 1.000000,");
    w.Line("\t0.000000, -1.000000, 0.000000");
    w.Line("$camera_time: 500");
    w.Line("$num_lines: 0");
    w.Line("$num_icons: 2");
    w.Line("$Flags: 0");
    w.Line(k % 3 ? "$Formula: ( true ) " : "$Formula: ( is-event-true-delay \"Event " + std::to_string(base / 2 + k) +
                                               "\" 0 ) ");
    for (int icon = 0; icon < 2; ++icon) {
      w.Line("$start_icon");
      w.Line("$type: 6");
      w.Line(icon ? "$team: Hostile" : "$team: Friendly");
      w.Line("$class: " + std::string(Writer::kClasses[icon]));
      w.Line("$pos: " + std::to_string(w.Pick(400)) + ".000000, 0.000000, 0.000000");
      w.Line("$label:  XSTR(\"Icon " + std::to_string(icon) + "\", -1)");
      w.Line("+id: " + std::to_string(icon + 1));
      w.Line("$hlight: 0");
      w.Line("$mirror: 0");
      w.Line("$multi_text");
      w.Line("$end_multi_text");
      w.Line("$end_icon");
    }
    w.Line("$end_stage");
  }
  w.Line("$end_briefing");
  w.Line("");
  w.Line("#Debriefing_info");
  w.Line("");
  w.Line("$Num stages: 10");
  w.Line("");
  for (int k = 0; k < 10; ++k) {
    if (k % 2) {
      w.Line("$Formula: ( and");
      w.Line("   ( is-destroyed-delay 0 " + w.Ship(base + k) + " )");
      w.Line("   ( > @" + Variable(block, k) + "[0] " + std::to_string(k) + " )");
      w.Line(")");
    } else {
      w.Line("$Formula: ( is-event-true-delay \"Event " + std::to_string(base / 2 + k) + "\" 0 ) ");
    }
    w.Line("$Multi text");
    w.Line("    XSTR(\"Debriefing " + std::to_string(k) + ": the $f " +
           w.Ship(base + k).substr(1, w.Ship(base + k).size() - 2) + "$|. It is safe.\", -1)");
    w.Line("$end_multi_text");
    w.Line("$Voice: debrief_" + std::to_string(k) + ".wav");
    w.Line("$Recommendation text:");
    w.Line("    XSTR(\"" + std::string(k % 3 ? "" : "Keep the convoy together.") + "\", -1)");
    w.Line("$end_multi_text");
    w.Line("");
  }
}

// Events that change and read the block's variables, and messages that show
// them.
void VariableEvents(Writer& w, int block, int count) {
  w.Line("#Events");
  w.Line("");
  for (int i = 0; i < count; ++i) {
    const std::string v = Variable(block, i);
    w.Line("$Formula: ( when");
    w.Line("   ( < @" + v + "[0] " + std::to_string(w.Pick(100)) + " )");
    w.Line("   ( modify-variable @" + v + "[0] ( + @" + v + "[0] 1 ) )");
    w.Line(")");
    w.Line("+Name: Count " + std::to_string(block) + "-" + std::to_string(i));
    w.Line("+Repeat Count: -1");
    w.Line("+Interval: 1");
    w.Line("");
  }
  w.Line("#Messages");
  w.Line("");
  for (int i = 0; i < count / 4; ++i) {
    w.Line("$Name: Status " + std::to_string(block) + "-" + std::to_string(i));
    w.Line("$Team: -1");
    w.Line("$MessageNew:  XSTR(\"Count now $" + Variable(block, i) + "\", -1)");
    w.Line("$end_multi_text");
    w.Line("");
  }
}

}  // namespace

std::string SyntheticMission(std::size_t bytes, unsigned seed) { return SyntheticMission(bytes, seed, {}); }

std::string SyntheticMission(std::size_t bytes, unsigned seed, MissionExtras extras) {
  Writer w(seed);
  Header(w);
  if (extras.references) Variables(w);
  // Blocks of sections repeat until the size is reached, as a huge mission
  // would simply hold more of everything; repeated sections are stored one
  // after the other and share their tree node.
  constexpr int kShips = 400;
  for (int block = 0; w.Size() < bytes; ++block) {
    const int base = block * kShips;
    Objects(w, base, kShips);
    Wings(w, base, kShips);
    Events(w, base / 2, kShips / 2, base + kShips, extras.damage, extras.hub);
    Goals(w, base / 20, kShips / 20, base + kShips);
    Messages(w, base / 4, kShips / 4);
    Reinforcements(w, base / 40, kShips / 40);
    if (extras.references) ReferenceEvents(w, block, kShips / 4, kShips);
    if (extras.briefings) {
      BlockVariables(w, block);
      Briefings(w, block, kShips);
      VariableEvents(w, block, kShips / 10);
    }
  }
  w.Line("#End");
  return w.Take();
}

std::string FlowMission(int events, int edges, unsigned seed) {
  Writer w(seed);
  Header(w);
  // Which events each event waits on.
  std::map<int, std::set<int>> waits;
  for (int made = 0; made < edges;) {
    const int target = 1 + w.Pick(events - 1);
    const int source = target - 1 - w.Pick(std::min(target, 20));
    if (waits[target].insert(source).second) ++made;
  }
  w.Line("#Events");
  w.Line("");
  for (int i = 0; i < events; ++i) {
    std::string condition = "( true )";
    if (const auto it = waits.find(i); it != waits.end()) {
      condition = "( and";
      for (const int source : it->second) condition += " ( is-event-true-delay \"Event " + std::to_string(source) + "\" 0 )";
      condition += " )";
    }
    w.Line("$Formula: ( when " + condition + " ( do-nothing ) )");
    w.Line("+Name: Event " + std::to_string(i));
    w.Line("");
  }
  w.Line("#End");
  return w.Take();
}

std::string SyntheticMissionFile(std::size_t megabytes) { return SyntheticMissionFile(megabytes, {}); }

std::string SyntheticMissionFile(std::size_t megabytes, MissionExtras extras) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "torvek-bench";
  const std::string suffix = std::string(extras.references ? "-references" : "") +
                             std::string(extras.damage ? "-damaged" : "") + std::string(extras.hub ? "-hub" : "") +
                             std::string(extras.briefings ? "-briefings" : "");
  const fs::path file = dir / ("synthetic-" + std::to_string(megabytes) + "mb" + suffix + ".fs2");
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    fs::create_directories(dir, ec);
    const std::string text = SyntheticMission(megabytes * 1024 * 1024, 1, extras);
    const fs::path part = file.string() + ".part";
    std::ofstream(part, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    fs::rename(part, file, ec);
  }
  return file.string();
}

}  // namespace bench
