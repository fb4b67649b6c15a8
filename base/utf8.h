// The program's one UTF-8 codec, for code that walks bytes or characters
// itself: the mission loader decodes files piece by piece with DecodeUtf8,
// the JSON writer encodes with NextCodePoint and EncodeUtf8. Everything else
// uses the conversions of base/text.h, which are built on the same pieces.
//
// UTF-8 is taken strictly: overlong forms, encoded surrogates and code points
// above U+10FFFF are invalid. A broken sequence is replaced as a whole: one
// U+FFFD for its longest start that could still have become valid (Unicode's
// "maximal subpart"), so a cut-off three-byte character gives one U+FFFD, a
// stray continuation byte gives one each. On the 16-bit side, characters
// outside the basic plane are surrogate pairs and an unpaired surrogate reads
// as U+FFFD.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/text.h"

namespace mission {

constexpr char32_t kReplacementChar = 0xFFFD;

constexpr bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The character that starts at text[i], with i moved past it: a surrogate
// pair gives its code point, an unpaired surrogate U+FFFD. i < text.size().
inline char32_t NextCodePoint(TextView text, std::size_t& i) {
  const char32_t c = text[i++];
  if (!IsSurrogate(c)) return c;
  if (IsHighSurrogate(c) && i < text.size() && IsLowSurrogate(text[i])) {
    return 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
  }
  return kReplacementChar;
}

// Writes the code point `c` (not a surrogate, at most U+10FFFF) as one to
// four bytes at p; returns the end of what was written.
inline char* EncodeUtf8(char32_t c, char* p) {
  if (c < 0x80) {
    *p++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *p++ = static_cast<char>(0xC0 | (c >> 6));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *p++ = static_cast<char>(0xE0 | (c >> 12));
    *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *p++ = static_cast<char>(0xF0 | (c >> 18));
    *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return p;
}

namespace detail {

// Length of the valid UTF-8 sequence at p (1 to 4) with its code point, or
// 0 when the bytes there do not start one (including a sequence cut short by
// `end`).
std::size_t Utf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& code);
// How many bytes a broken sequence at p spans (its maximal subpart), so that
// each broken sequence gives one replacement character.
std::size_t Utf8BrokenSpan(const unsigned char* p, const unsigned char* end);

}  // namespace detail

// True when the bytes are UTF-8 as a whole, taken strictly.
bool IsValidUtf8(std::string_view bytes);

// Decodes UTF-8 piece by piece into a sink with two members:
// Ascii(const unsigned char* bytes, std::size_t n) takes a run of plain ASCII
// (the common case, handled in bulk) and Put(char16_t) every other character.
// Unless `last` is set, a sequence cut off at the end of the piece is left
// for the next piece: the result is the number of bytes consumed. With
// `strict` set, decoding stops at the first invalid sequence and returns
// kUtf8Invalid; otherwise each broken sequence becomes one U+FFFD.
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
      sink.Put(static_cast<char16_t>(kReplacementChar));
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
