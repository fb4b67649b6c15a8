// Getting the bytes of a mission: a file named by path, which must be a
// regular file, or standard input. The only place the mission library asks
// the operating system for anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace mission {

// The most bytes a mission may have: every character of the text is
// addressed with 32 bits, and no encoding gives more characters than bytes.
inline constexpr std::uint64_t kMaxMissionBytes = 0xFFFFFFFFu - 1;

// Reads the whole file at `path` into `bytes`. Only a regular file (or a
// symbolic link to one) is read. Anything else (a directory, a named pipe,
// a device, a socket, a link whose target is missing) is refused from its
// status alone, without opening it; the file is opened without waiting, so
// a pipe put in its place meanwhile is refused too instead of blocking.
// Returns the empty text, or the reason for the failure.
std::string ReadMissionFile(const std::filesystem::path& path, std::string& bytes);

// Reads standard input to its end, whatever it is (pipe, file, terminal).
std::string ReadStandardInput(std::string& bytes);

}  // namespace mission
