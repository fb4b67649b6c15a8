// A synthetic mission whose formulas use the operators of real missions in
// the proportions in which real missions use them (the FreeSpace Open
// operators included): for measuring the translation of formulas as
// mission designers write them today. The same seed gives the same mission.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// A mission of at least `bytes` bytes: an events section whose formulas
// begin with a conditional ("when", "every-time", "when-argument", ...) and
// a goals section of conditions. Every operator is drawn by its frequency in
// real missions among those that fit its place (a condition, a number, an
// action, an AI goal, an argument list); its arguments follow its kinds in
// the operator table.
std::string OperatorMixMission(std::size_t bytes, unsigned seed = 1);

}  // namespace bench
