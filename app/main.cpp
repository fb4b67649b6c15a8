// torvk32: the mission viewer's entry point. Options that need no window are
// handled here, before anything else starts.
#include <cstring>
#include <iostream>
#include <string>

#include "app/export.h"

namespace {

constexpr const char* kUsage = "usage: torvk32 [MISSION] | --export json|text MISSION | --help | --version";

int Usage() {
  std::cerr << kUsage << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
    if (argc != 2) return Usage();
    std::cout << kUsage << '\n'
              << "  MISSION                open a FreeSpace mission (*.fsm, *.fs2) in the viewer\n"
              << "  --export json MISSION  print the mission as a JSON document\n"
              << "  --export text MISSION  print the mission's views and formulas as text tables\n"
              << "  --version              print the program's version\n";
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    if (argc != 2) return Usage();
    std::cout << "TORVEK32 1.0 Beta 01b (Build 02)\n";
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--export") == 0) {
    if (argc != 4) return Usage();
    if (std::strcmp(argv[2], "json") == 0) return app::RunExport(app::ExportFormat::kJson, argv[3], std::cout, std::cerr);
    if (std::strcmp(argv[2], "text") == 0) return app::RunExport(app::ExportFormat::kText, argv[3], std::cout, std::cerr);
    return Usage();
  }
  // The window arrives with the user interface; until then only the export runs.
  return Usage();
}
