// Turning the bytes of a mission file into 16-bit text: which encoding a
// file has, and the code page of files that are not UTF-8. The UTF-8 decoder
// itself is the program's one codec, in base/utf8.h.
#pragma once

#include "base/utf8.h"

namespace mission {

// A file that starts with the UTF-8 byte-order mark is UTF-8 (the mark is
// dropped, each broken sequence becomes U+FFFD); a file that is valid UTF-8
// as a whole is UTF-8; anything else is Windows-1252.
enum class Encoding { Utf8WithMark, Utf8, Windows1252 };

// The character that Windows-1252 gives a byte; the five bytes that the code
// page leaves undefined map to the C1 control of the same value.
char16_t Windows1252Char(unsigned char byte);

}  // namespace mission
