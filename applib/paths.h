// Path and file services of the application library: joining and splitting
// paths, testing and deleting files, creating directory chains.
//
// Paths are mission::Text like every other text of the program; they are
// turned into the file system's UTF-8 names only at the operating system's
// edge (ToFsPath). None of these functions reports an error: failures show
// only as values (false, empty text).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

// The separator a path uses: "/" when it begins with "/" or contains "//"
// anywhere, else "\".
char16_t PathSeparator(TextView path);

// Appends the path's separator unless the path is shorter than 3 characters
// or already ends in "/" or "\". So "C:" and "" are never changed.
Text AddSlash(TextView path);

// Splits at the last "/" or "\": the directory keeps the separator. Without a
// separator the directory is empty and the file name is the whole path.
void SplitPath(TextView path, Text& directory, Text& file);

// Splits at the last ".": base before it, extension after it. Without a "."
// the base is the whole name and the extension is empty.
void SplitExtension(TextView name, Text& base, Text& extension);

// "splash.jpg" + "gif" -> "splash.gif"; "splash" + "gif" -> "splash.gif".
Text ChangeExtension(TextView name, TextView extension);

// Flags are stored in ini files as 1 and 0.
int BoolToBit(std::int16_t flag);

// The file-system path of a text path (UTF-8 names).
std::filesystem::path ToFsPath(TextView path);
Text FromFsPath(const std::filesystem::path& path);

// True for an ordinary file (following links): false for the empty text, for
// "n/a", for directories, devices and pipes, and on any error. A file name
// with "*" or "?" is true when any ordinary file in its directory matches.
bool FileExists(TextView path);

// Deletes an existing ordinary file, read-only or not. Otherwise nothing.
void KillFile(TextView path);

// The directories that MakeDirs creates, parents first: a "\" at position 4
// or later, or a "/" at position 2 or later, ends a level; the path itself
// comes last. So "C:\" and "/" are never created.
std::vector<Text> DirectoryLevels(TextView directory);

// Creates every missing level of `directory`, then proves that the directory
// can be written by writing and reading back the ini file "mscreate.dir",
// which is deleted again. True when the proof succeeded.
bool MakeDirs(TextView directory);

// Replaces the file's content as one step: the bytes go to a temporary file
// in the same folder, which is then renamed over the file, so readers see
// the old or the new content, never a part. An existing file keeps its
// permissions. False, with the file unchanged, on any failure.
bool WriteFileAtomic(TextView path, std::string_view bytes);

}  // namespace applib
