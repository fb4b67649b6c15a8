#include "applib/setup.h"

#include <filesystem>

#include "applib/ini.h"
#include "applib/library.h"
#include "applib/paths.h"

namespace applib {

namespace fs = std::filesystem;
using mission::IsGiven;

namespace {

constexpr TextView kShortName = u"TORVK32";
constexpr TextView kExecutable = u"torvk32";

// Sets section/key unless it already has a value; the value in effect.
Text KeepOrSet(TextView directory, TextView file, TextView section, TextView key, const Text& fallback,
               std::vector<Text>& log, bool& ok) {
  Text value = IniRead(directory, file, section, key);
  if (IsGiven(value)) return value;
  if (IniWrite(directory, file, section, key, fallback)) {
    log.push_back(u"set " + IniPath(directory, file) + u" [" + Text(section) + u"] " + Text(key) + u"=" + fallback);
  } else {
    log.push_back(u"cannot write " + IniPath(directory, file));
    ok = false;
  }
  return fallback;
}

bool MakeFolder(const Text& dir, std::vector<Text>& log) {
  const bool existed = fs::is_directory(ToFsPath(dir));
  if (!MakeDirs(dir)) {
    log.push_back(u"cannot create or write the folder " + dir);
    return false;
  }
  if (!existed) log.push_back(u"created " + dir);
  return true;
}

void CopyIfMissing(const Text& from, const Text& to, std::vector<Text>& log, bool& ok) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(ToFsPath(to), error))) return;
  if (fs::copy_file(ToFsPath(from), ToFsPath(to), error)) {
    log.push_back(u"copied " + to);
  } else {
    log.push_back(u"cannot copy " + from + u" to " + to);
    ok = false;
  }
}

// The program link: made when missing, and replaced only when it is a link
// that leads nowhere (left by a program that has moved).
void LinkProgram(const Text& program, const Text& link, std::vector<Text>& log, bool& ok) {
  const fs::path path = ToFsPath(link);
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (fs::exists(status)) {
    if (!fs::is_symlink(status) || fs::exists(path, error)) return;
    fs::remove(path, error);
  }
  fs::create_symlink(fs::absolute(ToFsPath(program), error), path, error);
  if (error) {
    log.push_back(u"cannot link " + link + u" to " + program);
    ok = false;
  } else {
    log.push_back(u"linked " + link + u" to " + program);
  }
}

}  // namespace

bool SetUpSuite(const SetupPlan& plan, std::vector<Text>& log) {
  bool ok = true;
  if (!MakeFolder(plan.config_home, log)) return false;
  const Text config = AddSlash(plan.config_home) + u"brix.cfg";
  const Text library = AddSlash(KeepOrSet(u"", config, u"Directories", u"Brix3",
                                          AddSlash(AddSlash(plan.data_home) + u"veltrane"), log, ok));
  if (!ok || !MakeFolder(library, log)) return false;

  Text program_dir = AddSlash(IniRead(library, kBrixIni, u"Detour", kShortName));
  const Text listed = AddSlash(KeepOrSet(library, kBrixIni, u"Moduls_Dirs", kShortName,
                                         AddSlash(library + Text(kExecutable)), log, ok));
  if (!IsGiven(program_dir)) program_dir = listed;
  const Text executable = KeepOrSet(library, kBrixIni, u"Moduls_EXEs", kShortName, Text(kExecutable), log, ok);
  if (!ok || !MakeFolder(program_dir, log)) return false;

  for (const TextView picture : {u"torvk32.jpg", u"torvk32.gif"}) {
    CopyIfMissing(AddSlash(plan.artwork) + Text(picture), program_dir + Text(picture), log, ok);
  }
  LinkProgram(plan.program, program_dir + executable, log, ok);
  return ok;
}

}  // namespace applib
