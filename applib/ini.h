// Windows-style ini files ("private profiles"): sections in brackets,
// key=value lines, ";" comments.
//
// Reading follows the rules that the suite's programs rely on: section and
// key names match case-insensitively (A-Z); blanks (spaces, tabs) around
// names and values are trimmed; one pair of double quotes around a value is
// removed; the first matching section and the first matching key in it win;
// values are cut to 4095 characters. A value that is absent, empty or the
// single character "$" reads as the empty text.
//
// Writing changes only the one line it must (or adds one), keeps every other
// line, comment and blank line byte for byte, creates a missing file or
// section, and replaces the file atomically: the new text goes to a
// temporary file in the same folder, which is then renamed over the old one,
// so a crash never leaves a half-written settings file. A file without any
// write permission bit is read-only for every user, root included: writing
// to it fails and leaves it as it is.
//
// Files are UTF-8; a byte order mark is skipped. The pure text functions
// below work on the file's bytes so that lines we do not touch are never
// re-encoded.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

// Values longer than this are cut when read.
inline constexpr std::size_t kIniMaxValue = 4095;

// The value of section/key in ini file content, trimmed, unquoted and cut;
// nothing when the section or key is absent.
std::optional<Text> IniLookup(std::string_view content, TextView section, TextView key);

// The value as it is written after "key=": line breaks and NULs become
// spaces, and the value is put in double quotes when reading would otherwise
// change it (blanks at its ends, or quotes around it).
std::string IniValueText(TextView value);

// Whether a name can be written so that it reads back as itself: not empty
// after trimming, no line break or NUL; a section name without "]"; a key
// without "=" that does not start with ";" or "[".
bool IsValidIniSection(TextView section);
bool IsValidIniKey(TextView key);

// `content` with section/key set to value; nothing when a name is not valid.
// New lines use the line break the content already uses (LF for new files).
std::optional<std::string> IniUpdate(std::string_view content, TextView section, TextView key, TextView value);

// The path of an ini file: AddSlash(directory) followed by the file name, or
// the file name alone when the directory is empty.
Text IniPath(TextView directory, TextView file);

// The value of section/key in the file; empty when absent, "$", or the file
// cannot be read.
Text IniRead(TextView directory, TextView file, TextView section, TextView key);

// Sets section/key in the file. False, with the file untouched, when a name
// is not valid, an existing file cannot be read, or the new file cannot be
// written. Callers that keep settings may ignore the result.
bool IniWrite(TextView directory, TextView file, TextView section, TextView key, TextView value);

}  // namespace applib
