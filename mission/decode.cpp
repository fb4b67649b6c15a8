#include "mission/decode.h"

#include <cstdint>
#include <cstring>

namespace mission {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool HasMark(std::string_view bytes) {
  return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
         static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF;
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence at `p` (1 to 4), or 0 when the bytes
// there do not start one. `code` receives the code point.
std::size_t ValidSequence(const unsigned char* p, const unsigned char* end, char32_t& code) {
  const unsigned char b0 = p[0];
  const std::size_t avail = static_cast<std::size_t>(end - p);
  if (b0 < 0x80) {
    code = b0;
    return 1;
  }
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    if (avail < 2 || !IsContinuation(p[1])) return 0;
    code = (char32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (avail < 3 || !IsContinuation(p[1]) || !IsContinuation(p[2])) return 0;
    // Reject overlong forms and UTF-16 surrogates.
    if (b0 == 0xE0 && p[1] < 0xA0) return 0;
    if (b0 == 0xED && p[1] >= 0xA0) return 0;
    code = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    if (avail < 4 || !IsContinuation(p[1]) || !IsContinuation(p[2]) || !IsContinuation(p[3])) return 0;
    if (b0 == 0xF0 && p[1] < 0x90) return 0;
    if (b0 == 0xF4 && p[1] >= 0x90) return 0;
    code = (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6) |
           (p[3] & 0x3F);
    return 4;
  }
  return 0;
}

// How many bytes an invalid sequence at `p` spans: the lead byte and the
// continuation bytes that could still have belonged to it (the "maximal
// subpart"), so each broken sequence gives one replacement character.
std::size_t InvalidSpan(const unsigned char* p, const unsigned char* end) {
  const unsigned char b0 = p[0];
  std::size_t need = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) need = 2;
  else if (b0 >= 0xE0 && b0 <= 0xEF) need = 3;
  else if (b0 >= 0xF0 && b0 <= 0xF4) need = 4;
  if (need == 0) return 1;
  std::size_t n = 1;
  while (n < need && p + n < end && IsContinuation(p[n])) {
    if (n == 1) {
      if (b0 == 0xE0 && p[1] < 0xA0) break;
      if (b0 == 0xED && p[1] >= 0xA0) break;
      if (b0 == 0xF0 && p[1] < 0x90) break;
      if (b0 == 0xF4 && p[1] >= 0x90) break;
    }
    ++n;
  }
  return n;
}

void PutCode(char32_t code, std::vector<char16_t>& out) {
  if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

// Eight ASCII bytes at once: none has its high bit set.
bool AllAscii8(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  return (word & 0x8080808080808080ULL) == 0;
}

bool IsValidUtf8(const unsigned char* p, const unsigned char* end) {
  while (p < end) {
    if (end - p >= 8 && AllAscii8(p)) {
      p += 8;
      continue;
    }
    char32_t code;
    const std::size_t n = ValidSequence(p, end, code);
    if (n == 0) return false;
    p += n;
  }
  return true;
}

void DecodeUtf8(const unsigned char* p, const unsigned char* end, std::vector<char16_t>& out) {
  while (p < end) {
    if (end - p >= 8 && AllAscii8(p)) {
      for (int i = 0; i < 8; ++i) out.push_back(p[i]);
      p += 8;
      continue;
    }
    char32_t code;
    const std::size_t n = ValidSequence(p, end, code);
    if (n == 0) {
      out.push_back(kReplacement);
      p += InvalidSpan(p, end);
    } else {
      PutCode(code, out);
      p += n;
    }
  }
}

}  // namespace

char16_t Windows1252Char(unsigned char byte) {
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
  };
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

Encoding DetectEncoding(std::string_view bytes) {
  if (HasMark(bytes)) return Encoding::Utf8WithMark;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  return IsValidUtf8(p, p + bytes.size()) ? Encoding::Utf8 : Encoding::Windows1252;
}

void DecodeAppend(std::string_view bytes, Encoding encoding, std::vector<char16_t>& out) {
  if (encoding == Encoding::Utf8WithMark && HasMark(bytes)) bytes.remove_prefix(3);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  out.reserve(out.size() + bytes.size());
  if (encoding == Encoding::Windows1252) {
    for (; p < end; ++p) out.push_back(Windows1252Char(*p));
  } else {
    DecodeUtf8(p, end, out);
  }
}

}  // namespace mission
