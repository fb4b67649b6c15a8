#include "base/utf8.h"

#include <cstdint>
#include <cstring>

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

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p < end) {
    // Plain ASCII, the bulk of a mission, eight bytes at a time.
    std::uint64_t word;
    if (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080u) == 0)) {
      p += 8;
      continue;
    }
    char32_t code;
    const std::size_t n = detail::Utf8Sequence(p, end, code);
    if (n == 0) return false;
    p += n;
  }
  return true;
}

namespace {

struct TextSink {
  Text& out;
  void Ascii(const unsigned char* bytes, std::size_t n) { out.append(bytes, bytes + n); }
  void Put(char16_t c) { out.push_back(c); }
};

}  // namespace

std::string ToUtf8(TextView text) {
  std::string out;
  AppendUtf8(text, out);
  return out;
}

void AppendUtf8(TextView text, std::string& out) {
  // Written through a pointer into room made beforehand: at most three bytes
  // per 16-bit character (a surrogate pair gives four bytes for two).
  const std::size_t start = out.size();
  out.resize(start + 3 * text.size());
  char* p = out.data() + start;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < 0x80) {
      *p++ = static_cast<char>(text[i++]);
    } else {
      p = EncodeUtf8(NextCodePoint(text, i), p);
    }
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
}

Text FromUtf8(std::string_view utf8) {
  Text out;
  AppendFromUtf8(utf8, out);
  return out;
}

void AppendFromUtf8(std::string_view utf8, Text& out) {
  out.reserve(out.size() + utf8.size());
  TextSink sink{out};
  DecodeUtf8(utf8, true, false, sink);
}

}  // namespace mission
