// Where there is no window program to run (Windows, WebAssembly), asking for
// the window gets the answer of a build without it.
#include <iostream>

#include "app/window_program.h"

namespace app {

int RunWindowProgram(char** argv) {
  static_cast<void>(argv);
  std::cerr << kNoWindow << '\n';
  return 2;
}

}  // namespace app
