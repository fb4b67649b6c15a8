// Turning the bytes of a mission file into 16-bit text.
#pragma once

#include <cstddef>
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

namespace detail {

// Length of the valid UTF-8 sequence at p (1 to 4) with its code point, or
// 0 when the bytes there do not start one (including a sequence cut short by
// `end`).
std::size_t Utf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& code);
// How many bytes a broken sequence at p spans (its "maximal subpart"), so
// that each broken sequence gives one replacement character.
std::size_t Utf8BrokenSpan(const unsigned char* p, const unsigned char* end);

}  // namespace detail

// Decodes UTF-8 piece by piece into a sink with two members:
// Ascii(const unsigned char* bytes, std::size_t n) takes a run of plain ASCII
// (the common case, handled in bulk) and Put(char16_t) every other character.
// Unless `last` is set, a sequence cut off at the end of the piece is left
// for the next piece: the result is the number of bytes consumed. With
// `strict` set, decoding stops at the first invalid sequence and returns
// kUtf8Invalid; otherwise such sequences become U+FFFD.
inline constexpr std::size_t kUtf8Invalid = static_cast<std::size_t>(-1);

template <class Sink>
std::size_t DecodeUtf8(std::string_view piece, bool last, bool strict, Sink& sink) {
  const auto* const begin = reinterpret_cast<const unsigned char*>(piece.data());
  const auto* const end = begin + piece.size();
  const auto* p = begin;
  while (p < end) {
    if (*p < 0x80) {
      const auto* q = p + 1;
      while (q < end && *q < 0x80) ++q;
      sink.Ascii(p, static_cast<std::size_t>(q - p));
      p = q;
      continue;
    }
    char32_t code;
    const std::size_t n = detail::Utf8Sequence(p, end, code);
    if (n == 0) {
      const std::size_t span = detail::Utf8BrokenSpan(p, end);
      if (!last && p + span == end) break;  // may be completed by the next piece
      if (strict) return kUtf8Invalid;
      sink.Put(u'\uFFFD');
      p += span;
    } else if (code < 0x10000) {
      sink.Put(static_cast<char16_t>(code));
      p += n;
    } else {
      code -= 0x10000;
      sink.Put(static_cast<char16_t>(0xD800 + (code >> 10)));
      sink.Put(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
      p += n;
    }
  }
  return static_cast<std::size_t>(p - begin);
}

}  // namespace mission
