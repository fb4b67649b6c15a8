// What reading a mission asks of the operating system: memory whose pages
// can be given back one by one, and reads from a descriptor. One
// implementation per system (posix_file.cpp, windows_file.cpp); file.cpp
// builds MissionBytes on them.
#pragma once

#include <cstddef>
#include <string>
#include <system_error>

namespace mission::system {

std::size_t PageSize();

// New memory of `size` bytes, a whole number of pages; nullptr when there is
// none.
char* MapPages(std::size_t size);
// The memory at `data` grown from `size` to `grown` bytes, keeping its first
// `used` bytes, maybe moved; nullptr, with `data` as it was, when there is
// no memory for it.
char* GrowPages(char* data, std::size_t size, std::size_t grown, std::size_t used);
void UnmapPages(char* data, std::size_t size);
// Hands whole pages back to the system; they are not read again.
void DropPages(char* data, std::size_t size);

// Reads up to `size` bytes from `fd` into `into`: how many, 0 at the end,
// -1 with errno set. Waits for data where standard input was left
// non-blocking.
long ReadSome(int fd, char* into, std::size_t size);

// The text of an errno value, the reason given for a failure.
inline std::string Reason(int error) { return std::generic_category().message(error); }

}  // namespace mission::system
