// generate_mission SIZE_MB OUTPUT [--references] [--damage] [--briefings]:
// writes a synthetic mission of about SIZE_MB megabytes, for benchmarks and
// manual tests with large files; --references adds the references the
// mission check looks up, --damage leaves formulas open and adds event names
// without formulas, --briefings adds variables, briefings, command briefings
// and debriefings in the proportions of real missions.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string_view>

#include "bench/mission/synthetic.h"

int main(int argc, char** argv) {
  bench::MissionExtras extras;
  bool options_ok = argc >= 3;
  for (int i = 3; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--references") {
      extras.references = true;
    } else if (option == "--damage") {
      extras.damage = true;
    } else if (option == "--briefings") {
      extras.briefings = true;
    } else {
      options_ok = false;
    }
  }
  if (!options_ok) {
    std::cerr << "usage: generate_mission SIZE_MB OUTPUT [--references] [--damage] [--briefings]\n";
    return 2;
  }
  const double megabytes = std::atof(argv[1]);
  if (megabytes <= 0) {
    std::cerr << "generate_mission: SIZE_MB must be a positive number\n";
    return 2;
  }
  const std::string text =
      bench::SyntheticMission(static_cast<std::size_t>(megabytes * 1024 * 1024), 1, extras);
  std::ofstream out(argv[2], std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out.flush()) {
    std::cerr << "generate_mission: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
