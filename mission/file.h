// Getting the bytes of a mission: a file named by path, which must be a
// regular file, or standard input. The only place the mission library asks
// the operating system for anything (through system_file.h: posix_file.cpp,
// windows_file.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace mission {

// The most bytes a mission may have: every character of the text is
// addressed with 32 bits, and no encoding gives more characters than bytes.
inline constexpr std::uint64_t kMaxMissionBytes = 0xFFFFFFFFu - 1;

// The bytes of a mission, read once and then decoded from memory front to
// back. What has been decoded can be given back at once, so the bytes and
// the text they become are never both whole in memory.
class MissionBytes {
 public:
  MissionBytes() = default;
  MissionBytes(const MissionBytes&) = delete;
  MissionBytes& operator=(const MissionBytes&) = delete;
  ~MissionBytes();

  // Reads the open descriptor `fd` to its end, in place of what was held;
  // `expected` is the size it is likely to have. Returns the empty text, or
  // the reason for the failure.
  std::string ReadFrom(int fd, std::size_t expected);

  std::string_view View() const { return std::string_view(data_, size_); }
  // Gives back the memory of the first `count` bytes (whole pages of it);
  // they must not be read again.
  void Release(std::size_t count);

 private:
  void Free();
  bool Reserve(std::size_t capacity);

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // bytes mapped at data_
  std::size_t released_ = 0;
};

// Reads the whole file at `path` into `bytes`. Only a regular file (or a
// symbolic link to one) is read. Anything else (a directory, a named pipe,
// a device, a socket, a link whose target is missing) is refused from its
// status alone, without opening it; the file is opened without waiting, so
// a pipe put in its place meanwhile is refused too instead of blocking.
// Returns the empty text, or the reason for the failure.
std::string ReadMissionFile(const std::filesystem::path& path, MissionBytes& bytes);

// Reads standard input to its end, whatever it is (pipe, file, terminal).
std::string ReadStandardInput(MissionBytes& bytes);

// The file that a command-line argument names. On POSIX systems a file
// name is bytes, taken as they are; on Windows the program's arguments are
// UTF-8, converted from the system's UTF-16 command line at start.
std::filesystem::path PathOfArgument(std::string_view argument);

}  // namespace mission
