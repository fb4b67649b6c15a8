// Reading a mission on POSIX systems (Linux, and the WebAssembly build's
// file system): pages from anonymous mappings, reads from descriptors.
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "mission/file.h"
#include "mission/system_file.h"

namespace mission {

namespace system {

std::size_t PageSize() {
  static const auto size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return size;
}

char* MapPages(std::size_t size) {
  void* pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return pages == MAP_FAILED ? nullptr : static_cast<char*>(pages);
}

char* GrowPages(char* data, std::size_t size, std::size_t grown, std::size_t used) {
  void* pages = ::mremap(data, size, grown, MREMAP_MAYMOVE);
  if (pages != MAP_FAILED) return static_cast<char*>(pages);
  // Not every system can grow a mapping (WebAssembly's cannot): the bytes
  // move to a larger one.
  char* moved = MapPages(grown);
  if (moved == nullptr) return nullptr;
  std::memcpy(moved, data, used);
  ::munmap(data, size);
  return moved;
}

void UnmapPages(char* data, std::size_t size) { ::munmap(data, size); }

void DropPages(char* data, std::size_t size) { ::madvise(data, size, MADV_DONTNEED); }

long ReadSome(int fd, char* into, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, into, size);
    if (got >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) return static_cast<long>(got);
    // Standard input may have been left non-blocking: wait for data.
    pollfd wait{fd, POLLIN, 0};
    ::poll(&wait, 1, -1);
  }
}

}  // namespace system

namespace {

using system::Reason;

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

}  // namespace

std::string ReadMissionFile(const std::filesystem::path& path, MissionBytes& bytes) {
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
  return bytes.ReadFrom(file.get(), static_cast<std::size_t>(status.st_size));
}

std::string ReadStandardInput(MissionBytes& bytes) {
  struct stat status;
  std::size_t expected = 0;
  if (::fstat(STDIN_FILENO, &status) == 0 && S_ISREG(status.st_mode)) {
    expected = static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(status.st_size), kMaxMissionBytes));
  }
  return bytes.ReadFrom(STDIN_FILENO, expected);
}

std::filesystem::path PathOfArgument(std::string_view argument) { return std::filesystem::path(argument); }

}  // namespace mission
