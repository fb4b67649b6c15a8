// generate_mission SIZE_MB OUTPUT [--references]: writes a synthetic mission
// of about SIZE_MB megabytes, for benchmarks and manual tests with large
// files; --references adds the references the mission check looks up.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string_view>

#include "bench/mission/synthetic.h"

int main(int argc, char** argv) {
  const bool references = argc == 4 && std::string_view(argv[3]) == "--references";
  if (argc != 3 && !references) {
    std::cerr << "usage: generate_mission SIZE_MB OUTPUT [--references]\n";
    return 2;
  }
  const double megabytes = std::atof(argv[1]);
  if (megabytes <= 0) {
    std::cerr << "generate_mission: SIZE_MB must be a positive number\n";
    return 2;
  }
  const std::string text =
      bench::SyntheticMission(static_cast<std::size_t>(megabytes * 1024 * 1024), 1, {.references = references});
  std::ofstream out(argv[2], std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out.flush()) {
    std::cerr << "generate_mission: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
