// Turning the bytes of a mission file into 16-bit text.
#pragma once

#include <string_view>
#include <vector>

#include "mission/text.h"

namespace mission {

enum class Encoding { Utf8WithMark, Utf8, Windows1252 };

// A file that starts with the UTF-8 byte-order mark is UTF-8 (the mark is
// dropped, invalid sequences become U+FFFD); a file that is valid UTF-8 as a
// whole is UTF-8; anything else is Windows-1252.
Encoding DetectEncoding(std::string_view bytes);

// Appends the decoded text of `bytes` to `out`. Characters outside the basic
// plane become surrogate pairs, as everywhere in the program.
void DecodeAppend(std::string_view bytes, Encoding encoding, std::vector<char16_t>& out);

// The character that Windows-1252 gives a byte; the five bytes that the code
// page leaves undefined map to the C1 control of the same value.
char16_t Windows1252Char(unsigned char byte);

}  // namespace mission
