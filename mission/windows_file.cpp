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
#include "mission/system_file.h"

namespace mission {
namespace {

using system::Reason;

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

// A size that fits the C runtime's reads.
constexpr std::size_t kMaxRead = std::size_t{1} << 30;

}  // namespace

namespace system {

std::size_t PageSize() {
  static const std::size_t size = [] {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return static_cast<std::size_t>(info.dwPageSize);
  }();
  return size;
}

char* MapPages(std::size_t size) {
  return static_cast<char*>(::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

char* GrowPages(char* data, std::size_t size, std::size_t grown, std::size_t used) {
  char* moved = MapPages(grown);
  if (moved == nullptr) return nullptr;
  std::memcpy(moved, data, used);
  UnmapPages(data, size);
  return moved;
}

void UnmapPages(char* data, std::size_t) { ::VirtualFree(data, 0, MEM_RELEASE); }

void DropPages(char* data, std::size_t size) { ::VirtualFree(data, size, MEM_DECOMMIT); }

long ReadSome(int fd, char* into, std::size_t size) {
  return ::_read(fd, into, static_cast<unsigned>(std::min(size, kMaxRead)));
}

}  // namespace system

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
