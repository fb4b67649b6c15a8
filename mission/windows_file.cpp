// Getting the bytes of a mission on Windows. Paths are the system's UTF-16;
// the bytes are read through the C runtime's descriptors in binary mode.
// As on Linux, only an ordinary file is read by name: a folder is refused
// before it is opened, a device (NUL, CON, a port) or a pipe as soon as it
// has been opened, from its handle's type.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "base/text.h"
#include "mission/file.h"

namespace mission {
namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

// The reason Linux gives where Windows fails the same way; Windows' own
// text for the rest.
std::string WindowsReason(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return Reason(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return Reason(EACCES);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return Reason(ENOMEM);
    case ERROR_FILENAME_EXCED_RANGE:
      return Reason(ENAMETOOLONG);
    default:
      break;
  }
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  Text message(text, text + length);
  ::LocalFree(text);
  while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u'.')) {
    message.pop_back();
  }
  return message.empty() ? "Windows error " + std::to_string(error) : ToUtf8(message);
}

std::size_t PageSize() {
  static const std::size_t size = [] {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return static_cast<std::size_t>(info.dwPageSize);
  }();
  return size;
}

std::size_t RoundUpToPages(std::size_t n) { return (n + PageSize() - 1) / PageSize() * PageSize(); }

// A size that fits the C runtime's reads.
constexpr std::size_t kMaxRead = std::size_t{1} << 30;

}  // namespace

// The bytes live in memory of their own from VirtualAlloc, so that decoded
// pages can be handed back to the system one by one.
MissionBytes::~MissionBytes() { Free(); }

void MissionBytes::Free() {
  if (data_ != nullptr) ::VirtualFree(data_, 0, MEM_RELEASE);
  data_ = nullptr;
  size_ = capacity_ = released_ = 0;
}

bool MissionBytes::Reserve(std::size_t capacity) {
  capacity = RoundUpToPages(capacity);
  void* grown = ::VirtualAlloc(nullptr, capacity, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (grown == nullptr) return false;
  // Only reading grows, before anything is released.
  if (data_ != nullptr) {
    std::memcpy(grown, data_, size_);
    ::VirtualFree(data_, 0, MEM_RELEASE);
  }
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
    const int got = ::_read(fd, data_ + size_, static_cast<unsigned>(std::min(capacity_ - size_, kMaxRead)));
    if (got > 0) {
      size_ += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
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
  ::VirtualFree(data_ + released_, end - released_, MEM_DECOMMIT);
  released_ = end;
}

std::string ReadMissionFile(const std::filesystem::path& path, MissionBytes& bytes) {
  // Devices have no attributes: they are told by their handle below.
  WIN32_FILE_ATTRIBUTE_DATA status{};
  const bool named = ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &status);
  const DWORD unnamed = named ? ERROR_SUCCESS : ::GetLastError();
  if (unnamed == ERROR_FILE_NOT_FOUND || unnamed == ERROR_PATH_NOT_FOUND) return WindowsReason(unnamed);
  if (status.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Reason(EISDIR);
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (!named) return WindowsReason(unnamed);
    // The name is there (its attributes were read), what it points to is not.
    if (error == ERROR_FILE_NOT_FOUND && (status.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return "Broken symbolic link (the file it points to does not exist)";
    }
    return WindowsReason(error);
  }
  const DWORD type = ::GetFileType(file);
  LARGE_INTEGER size{};
  if (type != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size)) {
    ::CloseHandle(file);
    if (type == FILE_TYPE_CHAR) return "Not a regular file (a character device)";
    if (type == FILE_TYPE_PIPE) return "Not a regular file (a named pipe)";
    return "Not a regular file";
  }
  if (static_cast<std::uint64_t>(size.QuadPart) > kMaxMissionBytes) {
    ::CloseHandle(file);
    return Reason(EFBIG);
  }
  // The descriptor owns the handle from here on.
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(file);
    return Reason(EMFILE);
  }
  std::string error = bytes.ReadFrom(fd, static_cast<std::size_t>(size.QuadPart));
  ::_close(fd);
  return error;
}

std::string ReadStandardInput(MissionBytes& bytes) {
  // In text mode the C runtime would turn CR LF into LF and stop at Ctrl+Z.
  ::_setmode(0, _O_BINARY);
  struct _stat64 status;
  std::size_t expected = 0;
  if (::_fstat64(0, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG) {
    expected = static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(status.st_size), kMaxMissionBytes));
  }
  return bytes.ReadFrom(0, expected);
}

std::filesystem::path PathOfArgument(std::string_view argument) {
  return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
}

}  // namespace mission
