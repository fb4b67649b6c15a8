// Nothing lost on the settings side: a writer killed at any moment leaves the
// old or the new settings file, complete, and no growing pile of temporary
// files; a write that cannot be done changes nothing and never crashes.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "applib/ini.h"
#include "tests/applib/temp_dir.h"

extern char** environ;

namespace applib {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::ReadFile;
using testing::WriteFile;

constexpr std::size_t kValueSize = 256 * 1024;

pid_t StartWriter(const fs::path& folder, const std::string& file) {
  std::string program = INI_WRITER, dir = folder.string(), name = file, size = std::to_string(kValueSize);
  char* argv[] = {program.data(), dir.data(), name.data(), size.data(), nullptr};
  pid_t pid = -1;
  return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) == 0 ? pid : -1;
}

// Starts a writer and waits until `file` differs from `initial`, then kills
// the writer; the time that took, or nothing when no write completed within
// a minute.
std::optional<std::chrono::microseconds> TimeToFirstWrite(const fs::path& folder, const std::string& file,
                                                          const std::string& initial) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = StartWriter(folder, file);
  if (pid <= 0) return std::nullopt;
  std::optional<std::chrono::microseconds> took;
  while (std::chrono::steady_clock::now() - start < std::chrono::minutes(1)) {
    if (ReadFile(folder / file) != initial) {
      took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return took;
}

// Every name in the folder but `keep`.
std::vector<std::string> OtherNames(const fs::path& folder, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
  }
  return names;
}

bool IsTemporaryName(const std::string& name) { return name.starts_with(".settings.ini.tmp"); }

TEST(AtomicWriteTest, KilledWritersLeaveTheOldOrTheNewFileComplete) {
  TempDir dir;
  const fs::path ini = dir.path() / "settings.ini";
  const std::string initial = "; TORVEK32\r\n[Display]\r\nTreeView=1\r\n";
  const std::string with_a = *IniUpdate(initial, u"Big", u"Value", Text(kValueSize, u'a'));
  const std::string with_b = *IniUpdate(with_a, u"Big", u"Value", Text(kValueSize, u'b'));
  ASSERT_EQ(*IniUpdate(with_b, u"Big", u"Value", Text(kValueSize, u'a')), with_a);
  WriteFile(ini, initial);

  // How long a writer takes from its start to its first complete write here
  // (sanitizer builds and a busy machine make it much longer): kills are
  // spread over twice that, so some hit a write and some come after one.
  const auto first_write = TimeToFirstWrite(dir.path(), "settings.ini", initial);
  ASSERT_TRUE(first_write) << "a writer never completed a write";
  WriteFile(ini, initial);

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay_us(0, 2 * first_write->count());
  int rounds_changed = 0, rounds_with_temporaries = 0;
  std::size_t most_temporaries = 0;
  std::string last = initial;
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(seed));
    // Two writers at once: the clean-up of one must never take the other's
    // file while that one is still writing it.
    const pid_t writers[] = {StartWriter(dir.path(), "settings.ini"), StartWriter(dir.path(), "settings.ini")};
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    for (const pid_t pid : writers) {
      ASSERT_GT(pid, 0);
      ::kill(pid, SIGKILL);
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended by itself: a write failed";
    }
    const std::string now = ReadFile(ini);
    ASSERT_TRUE(now == initial || now == with_a || now == with_b) << "cut file of " << now.size() << " bytes";
    if (now != last) ++rounds_changed;
    last = now;
    const auto others = OtherNames(dir.path(), "settings.ini");
    for (const auto& name : others) ASSERT_TRUE(IsTemporaryName(name)) << name;
    if (!others.empty()) ++rounds_with_temporaries;
    most_temporaries = std::max(most_temporaries, others.size());
  }
  std::cout << "writes seen complete in " << rounds_changed << " of 200 rounds; kills left temporary files in "
            << rounds_with_temporaries << " rounds, at most " << most_temporaries << " at a time\n";
  EXPECT_GT(rounds_changed, 0) << "the writers never finished a write";
  EXPECT_GT(rounds_with_temporaries, 0) << "no kill ever hit a write";

  // The next write clears what the killed writers left.
  ASSERT_TRUE(IniWrite(dir.text(), u"settings.ini", u"Display", u"TreeView", u"0"));
  EXPECT_EQ(OtherNames(dir.path(), "settings.ini"), std::vector<std::string>{});
  EXPECT_EQ(IniRead(dir.text(), u"settings.ini", u"Display", u"TreeView"), u"0");
}

TEST(AtomicWriteTest, CleanUpTakesOnlyLeftoversOfDeadWriters) {
  TempDir dir;
  WriteFile(dir.path() / "settings.ini", "[S]\nk=1\n");
  // A leftover of a dead writer, a user's file that merely looks alike, and
  // the temporary file of a writer still at work (it holds the lock).
  WriteFile(dir.path() / ".settings.ini.tmp123.4", "[S]\nk=half");
  WriteFile(dir.path() / ".settings.ini.tmp-notes", "mine");
  WriteFile(dir.path() / ".settings.ini.tmp77.0", "[S]\nk=busy");
  const int busy = ::open((dir.path() / ".settings.ini.tmp77.0").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(busy, LOCK_EX), 0);
  // flock locks belong to the open file, so the writer is another process.
  const pid_t child = ::fork();
  if (child == 0) _exit(IniWrite(dir.text(), u"settings.ini", u"S", u"k", u"2") ? 0 : 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ::close(busy);
  EXPECT_EQ(ReadFile(dir.path() / "settings.ini"), "[S]\nk=2\n");
  EXPECT_FALSE(fs::exists(dir.path() / ".settings.ini.tmp123.4"));
  EXPECT_TRUE(fs::exists(dir.path() / ".settings.ini.tmp-notes"));
  EXPECT_TRUE(fs::exists(dir.path() / ".settings.ini.tmp77.0"));
}

// Every file under `root` with its bytes (folders as "/").
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    files[entry.path().string()] = entry.is_directory() ? "/" : ReadFile(entry.path());
  }
  return files;
}

struct FailingWrite {
  const char* name;
  // Prepares the case in `root`; gives the folder to write to.
  std::function<Text(const TempDir& root)> setup;
  // Runs the write where the failure applies (as "nobody" for root, with a
  // file size limit); true when it ran and the write reported failure.
  std::function<bool(const std::function<bool()>& write)> run;
};

bool Plainly(const std::function<bool()>& write) { return !write(); }

bool WithPermissions(const std::function<bool()>& write) {
  return testing::WithPermissionsEnforced([&] { return !write(); });
}

// A full disk, as the kernel reports it to a writer over its file size limit.
bool WithFullDisk(const std::function<bool()>& write) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    _exit(::setrlimit(RLIMIT_FSIZE, &limit) == 0 && !write() ? 0 : 1);
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(AtomicWriteTest, FailedWritesChangeNothingAndReportNothing) {
  const FailingWrite cases[] = {
      {"folder is a regular file",
       [](const TempDir& root) {
         WriteFile(root.path() / "plain", "not a folder");
         return root / u"plain";
       },
       Plainly},
      {"folder under /dev/null", [](const TempDir&) { return Text(u"/dev/null/x"); }, Plainly},
      {"folder missing", [](const TempDir& root) { return root / u"missing"; }, Plainly},
      {"read-only folder",
       [](const TempDir& root) {
         fs::create_directory(root.path() / "ro");
         WriteFile(root.path() / "ro" / "settings.ini", "[Display]\nTreeView=1\n");
         ::chmod((root.path() / "ro" / "settings.ini").c_str(), 0666);
         ::chmod((root.path() / "ro").c_str(), 0555);
         ::chmod(root.path().c_str(), 0755);
         return root / u"ro";
       },
       WithPermissions},
      // Written by whoever runs the tests, root included: a file without
      // write permission bits is read-only for everybody.
      {"read-only file",
       [](const TempDir& root) {
         WriteFile(root.path() / "settings.ini", "[Display]\nTreeView=1\n");
         ::chmod((root.path() / "settings.ini").c_str(), 0444);
         ::chmod(root.path().c_str(), 0777);
         return root.text();
       },
       Plainly},
      {"disk full",
       [](const TempDir& root) {
         WriteFile(root.path() / "settings.ini", "[Display]\nTreeView=1\n");
         return root.text();
       },
       WithFullDisk},
  };
  const Text big(100000, u'x');  // beyond the size limit of the full disk
  for (const FailingWrite& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir root;
    const Text folder = c.setup(root);
    const auto before = Snapshot(root.path());
    EXPECT_TRUE(c.run([&] { return IniWrite(folder, u"settings.ini", u"Display", u"TreeView", big); }));
    EXPECT_EQ(Snapshot(root.path()), before);
    const Text kept = IniRead(folder, u"settings.ini", u"Display", u"TreeView");
    EXPECT_TRUE(kept == u"1" || kept.empty()) << mission::ToUtf8(kept);
  }
}

}  // namespace
}  // namespace applib
