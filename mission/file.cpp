#include "mission/file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace mission {
namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

// Why a file of this type is not read; empty for a regular file.
std::string NotRegular(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return Reason(EISDIR);
  if (S_ISFIFO(mode)) return "Not a regular file (a named pipe)";
  if (S_ISCHR(mode)) return "Not a regular file (a character device)";
  if (S_ISBLK(mode)) return "Not a regular file (a block device)";
  if (S_ISSOCK(mode)) return "Not a regular file (a socket)";
  return "Not a regular file";
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads `fd` to its end into `bytes`; `expected` is the size it is likely to
// have. A descriptor that has nothing to give yet is waited for, as a pipe
// whose writer is slow.
std::string ReadAll(int fd, std::size_t expected, std::string& bytes) {
  constexpr std::size_t kLimit = kMaxMissionBytes;
  std::string data;
  // One byte more than expected, so that the end is seen without growing.
  data.resize(std::min<std::size_t>(std::max<std::size_t>(expected + 1, 1 << 16), kLimit + 1));
  std::size_t used = 0;
  for (;;) {
    if (used == data.size()) {
      if (used > kLimit) return Reason(EFBIG);
      data.resize(std::min<std::size_t>(data.size() * 2, kLimit + 1));
    }
    const ssize_t got = ::read(fd, data.data() + used, data.size() - used);
    if (got > 0) {
      used += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd wait{fd, POLLIN, 0};
      ::poll(&wait, 1, -1);
    } else if (errno != EINTR) {
      return Reason(errno);
    }
  }
  if (used > kLimit) return Reason(EFBIG);
  data.resize(used);
  bytes = std::move(data);
  return {};
}

}  // namespace

std::string ReadMissionFile(const std::filesystem::path& path, std::string& bytes) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) {
    const int error = errno;
    struct stat link;
    if (error == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      return "Broken symbolic link (the file it points to does not exist)";
    }
    return Reason(error);
  }
  if (std::string why = NotRegular(status.st_mode); !why.empty()) return why;
  if (static_cast<std::uint64_t>(status.st_size) > kMaxMissionBytes) return Reason(EFBIG);

  // O_NONBLOCK: should a pipe have taken the file's place since the check
  // above, opening it must not wait for a writer. The check is repeated on
  // what was opened.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.get() < 0) return Reason(errno);
  if (::fstat(file.get(), &status) != 0) return Reason(errno);
  if (std::string why = NotRegular(status.st_mode); !why.empty()) return why;
  return ReadAll(file.get(), static_cast<std::size_t>(status.st_size), bytes);
}

std::string ReadStandardInput(std::string& bytes) {
  struct stat status;
  std::size_t expected = 0;
  if (::fstat(STDIN_FILENO, &status) == 0 && S_ISREG(status.st_mode)) {
    expected = static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(status.st_size), kMaxMissionBytes));
  }
  return ReadAll(STDIN_FILENO, expected, bytes);
}

}  // namespace mission
