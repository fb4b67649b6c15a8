#include "applib/linux_platform.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>

#include "applib/freedesktop.h"
#include "applib/paths.h"

extern char** environ;

namespace applib {

namespace fs = std::filesystem;
using mission::FromUtf8;
using mission::ToUtf8;

namespace {

Text Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? FromUtf8(value) : Text();
}

Text HomeDir() {
  Text home = Environment("HOME");
  if (home.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid())) home = FromUtf8(pw->pw_dir);
  }
  return home;
}

// An XDG base directory: the variable when it holds an absolute path,
// else the default below the home folder.
Text XdgDir(const char* variable, TextView fallback) {
  Text dir = Environment(variable);
  if (dir.empty() || dir.front() != u'/') dir = HomeDir() + Text(fallback);
  while (dir.size() > 1 && dir.back() == u'/') dir.pop_back();
  return dir;
}

bool IsExecutableFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

Text XdgConfigHome() { return XdgDir("XDG_CONFIG_HOME", u"/.config"); }
Text XdgDataHome() { return XdgDir("XDG_DATA_HOME", u"/.local/share"); }

Text FindProgram(TextView name) {
  if (name.empty()) return {};
  if (name.find(u'/') != TextView::npos) return IsExecutableFile(ToUtf8(name)) ? Text(name) : Text();
  const std::string path = ToUtf8(Environment("PATH"));
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t colon = path.find(':', start);
    if (colon == std::string::npos) colon = path.size();
    std::string dir = path.substr(start, colon - start);
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + ToUtf8(name);
    if (IsExecutableFile(candidate)) return FromUtf8(candidate);
    start = colon + 1;
  }
  return {};
}

Text LinuxPlatform::BrixConfigFile() { return XdgConfigHome() + u"/brix.cfg"; }
Text LinuxPlatform::WindowsDir() { return u"/etc"; }
Text LinuxPlatform::SystemDir() { return u"/usr/lib"; }
Text LinuxPlatform::UserFontDir() { return XdgDataHome() + u"/fonts"; }

std::vector<Text> LinuxPlatform::FontDirs() {
  std::vector<Text> dirs = {UserFontDir(), HomeDir() + u"/.fonts"};
  Text data_dirs = Environment("XDG_DATA_DIRS");
  if (data_dirs.empty()) data_dirs = u"/usr/local/share:/usr/share";
  std::size_t start = 0;
  while (start <= data_dirs.size()) {
    std::size_t colon = data_dirs.find(u':', start);
    if (colon == Text::npos) colon = data_dirs.size();
    const Text dir = data_dirs.substr(start, colon - start);
    if (!dir.empty() && dir.front() == u'/') dirs.push_back(AddSlash(dir) + u"fonts");
    start = colon + 1;
  }
  dirs.push_back(u"/usr/share/wine/fonts");
  return dirs;
}

LinuxPlatform::LinuxPlatform(Text program_name) : program_name_(std::move(program_name)) {}

Text LinuxPlatform::ExecutablePath() {
  std::error_code error;
  const fs::path running = fs::read_symlink("/proc/self/exe", error);
  if (program_name_.empty() || running.empty()) return FromFsPath(running);
  return FromFsPath(running.parent_path() / ToFsPath(program_name_));
}

// Starts the program in a grandchild process, so that it is never left as a
// zombie of ours and we never wait for it. Everything the child needs is
// prepared before fork(): after it only async-signal-safe calls are made.
bool LinuxPlatform::StartProgram(const std::vector<Text>& argv) {
  if (argv.empty()) return false;
  const std::string program = ToUtf8(FindProgram(argv.front()));
  if (program.empty()) return false;
  std::vector<std::string> args;
  for (const Text& arg : argv) args.push_back(ToUtf8(arg));
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    if (::fork() == 0) {
      ::setsid();
      ::execve(program.c_str(), pointers.data(), environ);
      ::_exit(127);
    }
    ::_exit(0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

void LinuxPlatform::OpenDocument(TextView target) {
  if (IsExecutableFile(ToUtf8(target))) {
    std::error_code error;
    StartProgram({FromFsPath(fs::absolute(ToFsPath(target), error))});
  } else {
    StartProgram({u"xdg-open", Text(target)});
  }
}

void LinuxPlatform::RegisterDocumentType(const DocumentType& type, TextView) {
  ApplyDocumentType(type, XdgDataHome(), XdgConfigHome(), *this);
}

void LinuxPlatform::Sleep(std::uint32_t milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

void LinuxPlatform::Exit(int status) { std::exit(status); }

}  // namespace applib
