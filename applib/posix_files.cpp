// Whole files on POSIX systems (Linux, and the WebAssembly build's file
// system): a writer locks its temporary file with flock, renames it with
// rename and makes both last with fsync.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "applib/files.h"

namespace applib {

namespace fs = std::filesystem;

namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A writer holds a lock on its temporary file from creation until the file
// has been renamed, so a temporary file that nobody holds locked was left by
// a writer that died (a crash, a kill, a power cut) and is removed. Where the
// file system has no locks nothing is removed.
void RemoveDeadTemporaries(const fs::path& target) {
  for (const fs::path& path : TemporariesOf(target)) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat locked {}, named {};
    // Unlink only the very file we locked: its writer may have renamed it
    // into place meanwhile.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &locked) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      ::unlink(path.c_str());
    }
    ::close(fd);
  }
}

// Opens a new temporary file beside `target` and locks it; the mode is the
// usual one for new files (the umask applies).
int OpenTemporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryPath(target, static_cast<unsigned long>(::getpid()), counter++);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return fd;
    // Without locks on this file system we go on unlocked: no clean-up
    // can lock, so none removes our file either.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    // Another writer's clean-up may have taken the file between its
    // creation and our lock; then it is gone and we start again.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_nlink > 0) return fd;
    ::close(fd);
  }
  return -1;
}

// Makes a rename in `folder` last through a power cut. Best effort: some
// file systems cannot sync a folder, and the rename has happened anyway.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::string> content;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    content.emplace();
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) content.reset();
      if (n <= 0) break;
      content->append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return content;
}

std::optional<std::string> ReadForUpdate(fs::path& target) {
  struct stat info {};
  // Write through a link to the file it names, so the link stays a link.
  if (::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    std::error_code error;
    target = fs::weakly_canonical(target, error);
    if (error) return std::nullopt;
  }
  if (::lstat(target.c_str(), &info) != 0) {
    if (errno == ENOENT) return std::string();
    return std::nullopt;
  }
  // A settings file made read-only stays as it is, as if written in place:
  // no write permission bit at all means read-only for everybody, root
  // included (for whom access() would say yes).
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0) return std::nullopt;
  return ReadWholeFile(target);
}

bool ReplaceWholeFile(const fs::path& target, std::string_view content) {
  RemoveDeadTemporaries(target);
  fs::path temporary;
  const int fd = OpenTemporary(target, temporary);
  if (fd < 0) return false;
  struct stat old {};
  bool ok = WriteAll(fd, content);
  if (ok && ::stat(target.c_str(), &old) == 0) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  ok = ok && ::fsync(fd) == 0;
  // Renamed while still locked, so that no clean-up takes it first.
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  ::close(fd);
  if (ok) SyncFolder(target.parent_path());
  return ok;
}

}  // namespace applib
