// The window is a program of its own, torvk32-window, beside torvk32: the
// exports and the check never load Qt, so they start as quickly as a plain
// command-line tool.
#pragma once

namespace app {

// The file name of the window program, looked for in torvk32's directory.
inline constexpr const char* kWindowProgram = "torvk32-window";

// What torvk32 says, before it exits with status 2, when it has no window
// program: one built without the window, and every build for Windows and
// WebAssembly (no_window_program.cpp).
inline constexpr const char* kNoWindow = "torvk32: built without the window; only --export and --check are available";

// Replaces this process with the window program beside the running one,
// handing it the same arguments, standard streams and environment, so its
// exit status and messages are the program's own. Returns only when that
// program cannot be started: with the exit status after saying why on
// standard error.
int RunWindowProgram(char** argv);

}  // namespace app
