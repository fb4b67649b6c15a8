// Turning the bytes of a mission file into 16-bit text: which encoding a
// file has, and the decoders of the encodings that are not UTF-8. The UTF-8
// decoder itself is the program's one codec, in base/utf8.h.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/utf8.h"

namespace mission {

// A file that starts with a UTF-16 byte-order mark (FF FE or FE FF) is
// UTF-16, little- or big-endian; one that starts with the UTF-8 mark is UTF-8
// (each broken sequence becomes U+FFFD); a file that is valid UTF-8 as a
// whole is UTF-8; anything else is Windows-1252.
enum class Encoding { Utf16LE, Utf16BE, Utf8WithMark, Utf8, Windows1252 };

// The encoding that a byte-order mark at the start of `bytes` names, with the
// length of the mark. Without a mark: Utf8 and 0, to be confirmed by
// decoding strictly (Windows-1252 when that fails).
struct MarkedEncoding {
  Encoding encoding = Encoding::Utf8;
  std::size_t mark = 0;
};
MarkedEncoding EncodingByMark(std::string_view bytes);

// The character that Windows-1252 gives a byte; the five bytes that the code
// page leaves undefined map to the C1 control of the same value.
char16_t Windows1252Char(unsigned char byte);

// Decodes UTF-16 (without its mark) piece by piece into a sink with a
// member Put(char16_t). A surrogate pair is passed on as its two halves; an
// unpaired surrogate and an odd last byte each become U+FFFD. Unless `last`
// is set, a high surrogate or a single byte at the end of the piece is left
// for the next piece: the result is the number of bytes consumed.
template <class Sink>
std::size_t DecodeUtf16(std::string_view bytes, bool big_endian, bool last, Sink& sink) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t units = bytes.size() / 2;
  const auto unit = [&](std::size_t i) -> char16_t {
    const unsigned char a = p[2 * i], b = p[2 * i + 1];
    return static_cast<char16_t>(big_endian ? (a << 8) | b : (b << 8) | a);
  };
  std::size_t i = 0;
  for (; i < units; ++i) {
    const char16_t c = unit(i);
    if (!IsSurrogate(c)) {
      sink.Put(c);
    } else if (IsHighSurrogate(c) && i + 1 < units && IsLowSurrogate(unit(i + 1))) {
      sink.Put(c);
      sink.Put(unit(++i));
    } else if (IsHighSurrogate(c) && i + 1 == units && !last) {
      break;  // its partner may start the next piece
    } else {
      sink.Put(static_cast<char16_t>(kReplacementChar));
    }
  }
  if (!last) return 2 * i;
  if (bytes.size() % 2 != 0) sink.Put(static_cast<char16_t>(kReplacementChar));
  return bytes.size();
}

}  // namespace mission
