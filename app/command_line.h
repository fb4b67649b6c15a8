// The command line of torvk32 and torvk32-window: the exports and the check,
// and the window for anything else. Each system's entry point calls it
// (posix_main.cpp, windows_main.cpp), with the arguments as UTF-8 on Windows.
#pragma once

namespace app {

// Runs what the arguments ask for; returns the process's exit status.
int RunCommandLine(int argc, char** argv);

}  // namespace app
