// Synthetic missions for benchmarks: realistic proportions of objects,
// wings, events with multi-line formulas, goals and messages, scaled to any
// size. The same seed always gives the same mission.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// What a benchmark can ask for beyond the default mix. Each extra is off by
// default, so the default mission stays the same from version to version.
struct MissionExtras {
  // A "#Sexp_variables" section and, in every block, a further events block
  // whose formulas refer to events, goals, messages, ships, wings and
  // variables, with FreeSpace Open operators among them; about one reference
  // in twenty names nothing, and one event name in fifty is used twice.
  bool references = false;
  // Damage as in a file broken by hand: one event formula in ten lacks its
  // last closing bracket, and every 50th event is followed by 20 event names
  // without a formula of their own.
  bool damage = false;
  // In every block, in the proportions of real missions: a "#Sexp_variables"
  // section of 20 variables (some persistent), a command briefing of 2
  // stages, a briefing of 10 stages with icons and coloured texts, a
  // debriefing of 10 stages with formulas and recommendations, events that
  // read and change the block's variables, and messages that show them.
  bool briefings = false;
  // One event named by a thousand others: events 1 to 1000 wait on event 0.
  bool hub = false;
};

// A mission of at least `bytes` bytes (CR LF line ends, as the editor writes).
std::string SyntheticMission(std::size_t bytes, unsigned seed = 1);
std::string SyntheticMission(std::size_t bytes, unsigned seed, MissionExtras extras);

// A mission of `events` events whose formulas wait on other events: `edges`
// distinct trigger edges in all, each from one of the 20 events before its
// target (missions wait on what happened shortly before).
std::string FlowMission(int events, int edges, unsigned seed = 1);

// Path of a synthetic mission file of `megabytes` MB, written once into the
// system's temporary folder and reused by later runs.
std::string SyntheticMissionFile(std::size_t megabytes);
std::string SyntheticMissionFile(std::size_t megabytes, MissionExtras extras);

}  // namespace bench
