#include "app/json_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace app {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
// Characters escaped per step: the worst case (six bytes for a control
// character) still fits into the buffer.
constexpr std::size_t kChunk = 4096;
constexpr std::size_t kMaxBytesPerUnit = 6;

constexpr char kHex[] = "0123456789abcdef";

// Writes a control character, a quote or a backslash as its JSON escape.
char* PutEscape(char32_t c, char* p) {
  *p++ = '\\';
  switch (c) {
    case '"': *p++ = '"'; return p;
    case '\\': *p++ = '\\'; return p;
    case '\b': *p++ = 'b'; return p;
    case '\f': *p++ = 'f'; return p;
    case '\n': *p++ = 'n'; return p;
    case '\r': *p++ = 'r'; return p;
    case '\t': *p++ = 't'; return p;
    default: break;
  }
  *p++ = 'u';
  *p++ = '0';
  *p++ = '0';
  *p++ = kHex[(c >> 4) & 0xF];
  *p++ = kHex[c & 0xF];
  return p;
}

char* PutUtf8(char32_t c, char* p) {
  if (c < 0x80) {
    if (c < 0x20 || c == '"' || c == '\\') return PutEscape(c, p);
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

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsPlain(char16_t c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; }

// Whether four 16-bit units packed into `w` are all plain. May say no for
// plain units (the caller then looks at them one by one), never yes for
// others.
bool AllPlain(std::uint64_t w) {
  constexpr std::uint64_t kOnes = 0x0001000100010001ULL;
  constexpr std::uint64_t kHigh = 0x8000800080008000ULL;
  const auto hasZero = [](std::uint64_t x) { return ((x - kOnes) & ~x & kHigh) != 0; };
  if (w & 0xFF80FF80FF80FF80ULL) return false;                 // a unit of 0x80 or more
  if ((w - 0x0020002000200020ULL) & kHigh) return false;        // a control character
  return !hasZero(w ^ 0x0022002200220022ULL) && !hasZero(w ^ 0x005C005C005C005CULL);  // '"', '\\'
}

// Escapes UTF-16 text; returns the end of what was written.
char* EscapeUtf16(mission::TextView text, char* p) {
  const char16_t* s = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    // Most mission text is plain ASCII: take it four units at a time.
    std::uint64_t w = 0;
    while (i + 4 <= n && (std::memcpy(&w, s + i, sizeof w), AllPlain(w))) {
      for (std::size_t k = 0; k < 4; ++k) *p++ = static_cast<char>(s[i + k]);
      i += 4;
    }
    if (i == n) break;
    char32_t c = s[i];
    if (IsPlain(s[i])) {
      *p++ = static_cast<char>(c);
    } else if (IsHigh(s[i]) && i + 1 < n && IsLow(s[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      p = PutUtf8(c, p);
      ++i;
    } else {
      p = PutUtf8(c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c, p);
    }
    ++i;
  }
  return p;
}

// The length of the UTF-8 sequence at the start of `s` if it is valid and
// complete, else 0.
std::size_t ValidSequence(std::string_view s, char32_t& c) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const auto cont = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
  const unsigned char lead = b(0);
  if (lead >= 0xC2 && lead <= 0xDF && cont(1)) {
    c = ((lead & 0x1Fu) << 6) | (b(1) & 0x3Fu);
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF && cont(1) && cont(2)) {
    c = ((lead & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);
    return (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4 && cont(1) && cont(2) && cont(3)) {
    c = ((lead & 0x07u) << 18) | ((b(1) & 0x3Fu) << 12) | ((b(2) & 0x3Fu) << 6) | (b(3) & 0x3Fu);
    return (c >= 0x10000 && c <= 0x10FFFF) ? 4 : 0;
  }
  return 0;
}

// Escapes UTF-8 text, replacing each invalid byte by U+FFFD. Stops at the
// first sequence that begins at or after `limit` bytes.
char* EscapeUtf8(std::string_view text, std::size_t limit, std::size_t& consumed, char* p) {
  std::size_t i = 0;
  while (i < text.size() && i < limit) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0x20 && lead < 0x80 && lead != '"' && lead != '\\') {
      *p++ = static_cast<char>(lead);
      ++i;
      continue;
    }
    if (lead < 0x80) {
      p = PutUtf8(lead, p);
      ++i;
      continue;
    }
    char32_t c = 0;
    const std::size_t n = ValidSequence(text.substr(i), c);
    p = PutUtf8(n ? c : 0xFFFD, p);
    i += n ? n : 1;
  }
  consumed = i;
  return p;
}

}  // namespace

JsonWriter::JsonWriter(std::ostream& out) : out_(out), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

JsonWriter::~JsonWriter() = default;

void JsonWriter::Flush() {
  out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
  used_ = 0;
}

char* JsonWriter::Reserve(std::size_t bytes) {
  if (used_ + bytes > kBufferSize) Flush();
  return buffer_.get() + used_;
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (first_.empty()) return;
  if (!first_.back()) Put(',');
  first_.back() = false;
}

void JsonWriter::Open(char bracket) {
  BeforeValue();
  Put(bracket);
  first_.push_back(true);
}

void JsonWriter::Close(char bracket) {
  first_.pop_back();
  Put(bracket);
}

void JsonWriter::Key(std::string_view key) {
  BeforeValue();
  char* p = Reserve(key.size() + 3);
  *p++ = '"';
  std::memcpy(p, key.data(), key.size());
  p += key.size();
  *p++ = '"';
  *p++ = ':';
  used_ += key.size() + 3;
  after_key_ = true;
}

void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  Put('"');
  while (!utf8.empty()) {
    // The last sequence of a chunk may run up to three bytes past it.
    char* start = Reserve((kChunk + 3) * kMaxBytesPerUnit);
    std::size_t consumed = 0;
    used_ += static_cast<std::size_t>(EscapeUtf8(utf8, kChunk, consumed, start) - start);
    utf8.remove_prefix(consumed);
  }
  Put('"');
}

void JsonWriter::String(mission::TextView text) {
  BeforeValue();
  Put('"');
  while (!text.empty()) {
    std::size_t take = std::min(text.size(), kChunk);
    // Keep a surrogate pair together.
    if (take < text.size() && IsHigh(text[take - 1]) && IsLow(text[take])) --take;
    char* start = Reserve(take * kMaxBytesPerUnit);
    used_ += static_cast<std::size_t>(EscapeUtf16(text.substr(0, take), start) - start);
    text.remove_prefix(take);
  }
  Put('"');
}

void JsonWriter::Number(std::int64_t value) {
  BeforeValue();
  char* p = Reserve(24);
  used_ += static_cast<std::size_t>(std::to_chars(p, p + 24, value).ptr - p);
}

void JsonWriter::Finish() {
  Put('\n');
  Flush();
  out_.flush();
}

}  // namespace app
