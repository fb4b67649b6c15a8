// Whole files read and replaced: what the ini files and the other files the
// suite writes ask of the operating system, one implementation per system
// (posix_files.cpp, windows_files.cpp). Everything above works on bytes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace applib {

// The file's bytes; nothing when it is not an ordinary file or cannot be
// read to its end.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// The bytes of the file a settings write is about to change: `target` is
// moved from a symbolic link to the file it names, so that the link stays a
// link. The empty text for a file that does not exist yet. Nothing when the
// file must be left alone: it is read-only (no write permission for anyone,
// or for this user), not an ordinary file, or cannot be read.
std::optional<std::string> ReadForUpdate(std::filesystem::path& target);

// Writes `content` to a temporary file beside `target` and renames it over
// `target`. The data reach the disk before the rename, so after a crash or
// power cut the target holds either its old or its new text, complete. An
// existing file keeps its permissions. Temporary files that writers which
// died left beside the target are removed first.
bool ReplaceWholeFile(const std::filesystem::path& target, std::string_view content);

// What both systems share. A writer's temporary file is named
// ".<name>.tmp<process>.<n>" beside its target: the process's id and a
// number of its own.
std::filesystem::path TemporaryPath(const std::filesystem::path& target, unsigned long process, unsigned number);
// The temporary files in the target's folder, whoever wrote them.
std::vector<std::filesystem::path> TemporariesOf(const std::filesystem::path& target);

}  // namespace applib
