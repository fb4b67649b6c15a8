#include "mission/file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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

std::size_t PageSize() {
  static const auto size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return size;
}

// A new private mapping of `size` bytes; MAP_FAILED when there is no memory.
void* MapPages(std::size_t size) {
  return ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
}

std::size_t RoundUpToPages(std::size_t n) { return (n + PageSize() - 1) / PageSize() * PageSize(); }

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

// The bytes live in an anonymous mapping of their own, so that decoded pages
// can be handed back to the system one by one.
MissionBytes::~MissionBytes() { Free(); }

void MissionBytes::Free() {
  if (data_ != nullptr) ::munmap(data_, capacity_);
  data_ = nullptr;
  size_ = capacity_ = released_ = 0;
}

bool MissionBytes::Reserve(std::size_t capacity) {
  capacity = RoundUpToPages(capacity);
  void* grown = data_ == nullptr ? MapPages(capacity) : ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
  if (grown == MAP_FAILED && data_ != nullptr) {
    // Not every system can grow a mapping (WebAssembly's cannot): the bytes
    // move to a larger one. Only reading grows, before anything is released.
    grown = MapPages(capacity);
    if (grown == MAP_FAILED) return false;
    std::memcpy(grown, data_, size_);
    ::munmap(data_, capacity_);
  }
  if (grown == MAP_FAILED) return false;
  data_ = static_cast<char*>(grown);
  capacity_ = capacity;
  return true;
}

std::string MissionBytes::ReadFrom(int fd, std::size_t expected) {
  Free();
  constexpr std::size_t kLimit = kMaxMissionBytes;
  // One byte more than expected, so that the end is seen without growing.
  if (!Reserve(std::min<std::size_t>(std::max<std::size_t>(expected + 1, 1 << 16), kLimit + 1))) return Reason(ENOMEM);
  for (;;) {
    if (size_ == capacity_) {
      if (size_ > kLimit) break;
      if (!Reserve(std::min<std::size_t>(capacity_ * 2, kLimit + 1))) return Reason(ENOMEM);
    }
    const ssize_t got = ::read(fd, data_ + size_, capacity_ - size_);
    if (got > 0) {
      size_ += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      // Standard input may have been left non-blocking: wait for data.
      pollfd wait{fd, POLLIN, 0};
      ::poll(&wait, 1, -1);
    } else if (errno != EINTR) {
      return Reason(errno);
    }
  }
  if (size_ > kLimit) {
    Free();
    return Reason(EFBIG);
  }
  return {};
}

void MissionBytes::Release(std::size_t count) {
  const std::size_t end = std::min(count, size_) / PageSize() * PageSize();
  if (end <= released_) return;
  ::madvise(data_ + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

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
