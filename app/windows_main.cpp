// torvk32.exe's entry point. Linked with -municode, so that the C runtime
// starts wmain with the command line as Windows keeps it, in UTF-16: the
// arguments become UTF-8, the program's text everywhere, so that any file
// name reaches the file functions whole.
#include <fcntl.h>
#include <io.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "base/text.h"

// The C runtime expands wildcards in the arguments ("--check *.fs2") as a
// shell does on Linux; Windows' own shells leave that to the program.
extern "C" {
int _dowildcard = -1;
}

int wmain(int argc, wchar_t** wargv) {
  // In text mode the C runtime would write every "\n" as "\r\n": the
  // exports are to be the same bytes as on Linux.
  for (const int fd : {0, 1, 2}) ::_setmode(fd, _O_BINARY);
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) {
    const std::wstring_view argument(wargv[i]);
    arguments.push_back(mission::ToUtf8(mission::Text(argument.begin(), argument.end())));
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return app::RunCommandLine(argc, argv.data());
}
