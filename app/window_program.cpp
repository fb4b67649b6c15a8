#include "app/window_program.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

namespace app {

namespace {

// The directory of the running program, with its final "/"; empty when the
// system does not say.
std::string ProgramDirectory() {
  std::string path(4096, '\0');
  const ssize_t size = readlink("/proc/self/exe", path.data(), path.size());
  if (size <= 0 || static_cast<std::size_t>(size) >= path.size()) return {};
  path.resize(static_cast<std::size_t>(size));
  return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

int RunWindowProgram(char** argv) {
  const std::string program = ProgramDirectory() + kWindowProgram;
  execv(program.c_str(), argv);
  const int error = errno;
  if (error == ENOENT) {
    std::cerr << kNoWindow << '\n';
  } else {
    std::cerr << "torvk32: cannot start " << program << ": " << std::strerror(error) << '\n';
  }
  return 2;
}

}  // namespace app
