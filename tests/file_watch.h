// Proof that a file stays untouched: its bytes, modification and change
// times, mode and identity are recorded when the watch starts, and the
// kernel reports every write-side event in its folder from then on. A file
// merely opened for writing and closed again shows as IN_CLOSE_WRITE, so
// the check catches a write mode that writes nothing as well.
#pragma once

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace torvek::testing {

class FileWatch {
 public:
  explicit FileWatch(std::filesystem::path file) : file_(std::move(file)), before_(Take(file_)) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0) {
      ::inotify_add_watch(fd_, file_.parent_path().c_str(),
                          IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                              IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF);
    }
  }
  ~FileWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;

  // Whether the kernel watch is in place (inotify may be unavailable).
  bool Watching() const { return fd_ >= 0; }

  // Everything that changed since the watch began, one line each; empty
  // when nothing did.
  std::vector<std::string> Changes() const {
    std::vector<std::string> changes;
    const State now = Take(file_);
    if (now.bytes != before_.bytes) changes.push_back("bytes changed");
    if (now.mtime != before_.mtime) changes.push_back("modification time changed");
    if (now.ctime != before_.ctime) changes.push_back("change time changed");
    if (now.mode != before_.mode) changes.push_back("mode changed");
    if (now.inode != before_.inode) changes.push_back("replaced by another file");
    for (const std::string& event : Events()) changes.push_back(event);
    return changes;
  }

 private:
  struct State {
    std::string bytes;
    std::string mtime, ctime;
    mode_t mode = 0;
    ino_t inode = 0;
  };

  static std::string Time(const timespec& t) { return std::to_string(t.tv_sec) + "." + std::to_string(t.tv_nsec); }

  static State Take(const std::filesystem::path& file) {
    State state;
    std::ifstream in(file, std::ios::binary);
    state.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) {
      state.mtime = Time(info.st_mtim);
      state.ctime = Time(info.st_ctim);
      state.mode = info.st_mode;
      state.inode = info.st_ino;
    }
    return state;
  }

  std::vector<std::string> Events() const {
    std::vector<std::string> events;
    if (fd_ < 0) return events;
    alignas(inotify_event) char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        std::string what = "inotify event 0x";
        constexpr char kHex[] = "0123456789abcdef";
        for (int shift = 28; shift >= 0; shift -= 4) what += kHex[(event->mask >> shift) & 0xF];
        if (event->len > 0) what += std::string(" on ") + event->name;
        events.push_back(what);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return events;
  }

  std::filesystem::path file_;
  State before_;
  int fd_ = -1;
};

}  // namespace torvek::testing
