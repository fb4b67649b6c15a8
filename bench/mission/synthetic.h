// Synthetic missions for benchmarks: realistic proportions of objects,
// wings, events with multi-line formulas, goals and messages, scaled to any
// size. The same seed always gives the same mission.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// A mission of at least `bytes` bytes (CR LF line ends, as the editor writes).
std::string SyntheticMission(std::size_t bytes, unsigned seed = 1);

// Path of a synthetic mission file of `megabytes` MB, written once into the
// system's temporary folder and reused by later runs.
std::string SyntheticMissionFile(std::size_t megabytes);

}  // namespace bench
