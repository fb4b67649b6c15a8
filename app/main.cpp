// torvk32: the mission viewer's entry point. Options that need no window are
// handled here, before anything else starts: they need neither a display nor
// the suite's installation.
#include <cstring>
#include <iostream>
#include <span>
#include <string>

#include "app/check.h"
#include "app/export.h"
#include "app/startup.h"
#ifdef TORVEK_WITH_VIEWER
#include "app/viewer.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: torvk32 [MISSION] | --export json|text MISSION | --check [--format json] MISSION... | --help | "
    "--version";

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
              << "                         (MISSION - reads the mission from standard input)\n"
              << "  --check [--format json] MISSION...\n"
              << "                         print the problems of each mission, one a line (FILE:LINE: error: TEXT)\n"
              << "                         or as a JSON list; exit code 1 on any error or unreadable file\n"
              << "  --version              print the program's version\n";
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    if (argc != 2) return Usage();
    std::cout << "TORVEK32 " << mission::ToUtf8(app::ProgramVersionText()) << '\n';
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--export") == 0) {
    if (argc != 4) return Usage();
    if (std::strcmp(argv[2], "json") == 0) return app::RunExport(app::ExportFormat::kJson, argv[3], std::cout, std::cerr);
    if (std::strcmp(argv[2], "text") == 0) return app::RunExport(app::ExportFormat::kText, argv[3], std::cout, std::cerr);
    return Usage();
  }
  if (argc >= 2 && std::strcmp(argv[1], "--check") == 0) {
    const auto options = app::ParseCheckArguments(std::span<const char* const>(argv + 2, argv + argc));
    if (!options) return Usage();
    return app::RunCheck(*options, std::cout, std::cerr);
  }
  // Any other option is a mistake, not a mission file.
  if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0) return Usage();
#ifdef TORVEK_WITH_VIEWER
  return app::RunViewer(argc, argv);
#else
  std::cerr << "torvk32: built without the window; only --export and --check are available\n";
  return 2;
#endif
}
