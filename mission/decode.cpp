#include "mission/decode.h"

namespace mission {
namespace detail {
namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The number of bytes a sequence with this lead byte has (0: not a lead
// byte), and the range its second byte must lie in, which rules out
// overlong forms, UTF-16 surrogates and code points above U+10FFFF.
struct Lead {
  std::size_t length;
  unsigned char low, high;
};

Lead LeadOf(unsigned char b0) {
  if (b0 >= 0xC2 && b0 <= 0xDF) return {2, 0x80, 0xBF};
  if (b0 == 0xE0) return {3, 0xA0, 0xBF};
  if (b0 == 0xED) return {3, 0x80, 0x9F};
  if (b0 >= 0xE1 && b0 <= 0xEF) return {3, 0x80, 0xBF};
  if (b0 == 0xF0) return {4, 0x90, 0xBF};
  if (b0 >= 0xF1 && b0 <= 0xF3) return {4, 0x80, 0xBF};
  if (b0 == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

}  // namespace

std::size_t Utf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& code) {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) {
    code = b0;
    return 1;
  }
  const Lead lead = LeadOf(b0);
  if (lead.length == 0 || static_cast<std::size_t>(end - p) < lead.length) return 0;
  if (p[1] < lead.low || p[1] > lead.high) return 0;
  for (std::size_t i = 2; i < lead.length; ++i) {
    if (!IsContinuation(p[i])) return 0;
  }
  static constexpr unsigned char kLeadMask[5] = {0, 0, 0x1F, 0x0F, 0x07};
  code = b0 & kLeadMask[lead.length];
  for (std::size_t i = 1; i < lead.length; ++i) code = (code << 6) | (p[i] & 0x3F);
  return lead.length;
}

std::size_t Utf8BrokenSpan(const unsigned char* p, const unsigned char* end) {
  const Lead lead = LeadOf(p[0]);
  if (lead.length == 0) return 1;
  std::size_t n = 1;
  if (p + n < end && p[n] >= lead.low && p[n] <= lead.high) {
    ++n;
    while (n < lead.length && p + n < end && IsContinuation(p[n])) ++n;
  }
  return n;
}

}  // namespace detail

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

namespace {

bool HasMark(std::string_view bytes) { return bytes.substr(0, 3) == "\xEF\xBB\xBF"; }

struct NullSink {
  void Ascii(const unsigned char*, std::size_t) {}
  void Put(char16_t) {}
};

struct VectorSink {
  std::vector<char16_t>& out;
  void Ascii(const unsigned char* bytes, std::size_t n) { out.insert(out.end(), bytes, bytes + n); }
  void Put(char16_t c) { out.push_back(c); }
};

}  // namespace

Encoding DetectEncoding(std::string_view bytes) {
  if (HasMark(bytes)) return Encoding::Utf8WithMark;
  NullSink sink;
  const std::size_t used = DecodeUtf8(bytes, true, true, sink);
  return used == kUtf8Invalid ? Encoding::Windows1252 : Encoding::Utf8;
}

void DecodeAppend(std::string_view bytes, Encoding encoding, std::vector<char16_t>& out) {
  out.reserve(out.size() + bytes.size());
  if (encoding == Encoding::Windows1252) {
    for (const char b : bytes) out.push_back(Windows1252Char(static_cast<unsigned char>(b)));
    return;
  }
  if (encoding == Encoding::Utf8WithMark && HasMark(bytes)) bytes.remove_prefix(3);
  VectorSink sink{out};
  DecodeUtf8(bytes, true, false, sink);
}

}  // namespace mission
