// torvk32: the mission viewer's command line. Options that need no window are
// handled here, before anything else starts: they need neither a display nor
// the suite's installation. The same source makes two programs: torvk32,
// without Qt, which hands the window over to torvk32-window beside it, and
// torvk32-window itself.
#include <cstring>
#include <iostream>
#include <span>
#include <string>

#include "app/check.h"
#include "app/command_line.h"
#include "app/export.h"
#include "app/startup.h"
#ifdef TORVEK_WITH_VIEWER
#include "app/viewer.h"
#else
#include "app/window_program.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: torvk32 [MISSION] | --export json|text|dot|svg [--modern-operators] MISSION | --check [--format text|json|sarif] "
    "[--ignore RULE]... [--errors-only] [--unused] [--files-from FILE] MISSION... | --help | --version";

int Usage() {
  std::cerr << kUsage << '\n';
  return 2;
}

bool Is(const char* arg, const char* option) { return std::strcmp(arg, option) == 0; }

// The export's options come in any order before the mission file, which is
// the last argument: "--export FORMAT" and "--modern-operators".
int Export(int argc, char** argv) {
  const char* format = nullptr;
  bool modern = false;
  int i = 1;
  for (; i < argc - 1; ++i) {
    if (Is(argv[i], "--export") && format == nullptr && i + 1 < argc - 1) {
      format = argv[++i];
    } else if (Is(argv[i], "--modern-operators") && !modern) {
      modern = true;
    } else {
      return Usage();
    }
  }
  if (format == nullptr || i != argc - 1 || std::strncmp(argv[i], "--", 2) == 0) return Usage();
  const sexp::OperatorSet operators = modern ? sexp::OperatorSet::kFreeSpaceOpen : sexp::OperatorSet::kOriginal;
  if (Is(format, "json")) return app::RunExport(app::ExportFormat::kJson, argv[i], std::cout, std::cerr, operators);
  if (Is(format, "text")) return app::RunExport(app::ExportFormat::kText, argv[i], std::cout, std::cerr, operators);
  if (Is(format, "dot")) return app::RunExport(app::ExportFormat::kDot, argv[i], std::cout, std::cerr, operators);
  if (Is(format, "svg")) return app::RunExport(app::ExportFormat::kSvg, argv[i], std::cout, std::cerr, operators);
  return Usage();
}

// The check's options come in any order before the missions.
int Check(int argc, char** argv) {
  std::string error;
  auto options = app::ParseCheckArguments(std::span<const char* const>(argv + 1, argv + argc), &error);
  if (!options) {
    if (!error.empty()) std::cerr << "torvk32: " << error << '\n';
    return Usage();
  }
  options->version = mission::ToUtf8(app::ProgramVersionText());
  return app::RunCheck(*options, std::cin, std::cout, std::cerr);
}

}  // namespace

int app::RunCommandLine(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
    if (argc != 2) return Usage();
    std::cout << kUsage << '\n'
              << "  MISSION                open a FreeSpace mission (*.fsm, *.fs2) in the viewer\n"
              << "  --export json MISSION  print the mission as a JSON document\n"
              << "  --export text MISSION  print the mission's views and formulas as text tables\n"
              << "  --export dot MISSION   print the mission's event flow graph in DOT\n"
              << "  --export svg MISSION   print the event flow graph laid out by Graphviz, as SVG\n"
              << "                         (MISSION - reads the mission from standard input)\n"
              << "  --modern-operators     with --export: translate the operators of FreeSpace Open too\n"
              << "  --check MISSION...     print the problems of each mission, one a line (FILE:LINE: error: TEXT);\n"
              << "                         exit code 1 on any error or unreadable file. Options before the missions:\n"
              << "  --format json|sarif    a JSON list, or a SARIF 2.1.0 log for code scanning\n"
              << "  --ignore RULE          leave out the problems of a rule (again for each further rule)\n"
              << "  --errors-only          leave out the warnings\n"
              << "  --unused               also warn about variables and messages that nothing uses\n"
              << "  --files-from FILE      also check the missions FILE lists, one a line (- standard input)\n"
              << "                         A campaign (*.fc2, *.fsc) is checked or exported with its missions\n"
              << "  --version              print the program's version\n";
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    if (argc != 2) return Usage();
    std::cout << "TORVEK32 " << mission::ToUtf8(app::ProgramVersionText()) << '\n';
    return 0;
  }
  if (argc >= 2 && (Is(argv[1], "--export") || Is(argv[1], "--modern-operators"))) return Export(argc, argv);
  if (argc >= 2 && app::IsCheckOption(argv[1])) return Check(argc, argv);
  // Any other option is a mistake, not a mission file.
  if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0) return Usage();
#ifdef TORVEK_WITH_VIEWER
  return app::RunViewer(argc, argv);
#else
  return app::RunWindowProgram(argv);
#endif
}
