#include "app/json_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "base/utf8.h"

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
    if (IsPlain(s[i])) {
      *p++ = static_cast<char>(s[i++]);
    } else if (s[i] < 0x80) {
      p = PutEscape(s[i++], p);
    } else {
      p = mission::EncodeUtf8(mission::NextCodePoint(text, i), p);
    }
  }
  return p;
}

}  // namespace

// The buffer is left uninitialised (new char[], as make_unique_for_overwrite,
// which not every standard library has): each byte is written before it is
// flushed.
JsonWriter::JsonWriter(std::ostream& out) : out_(out), buffer_(new char[kBufferSize]) {}

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
  const auto plain = [](char c) { return IsPlain(static_cast<unsigned char>(c)); };
  if (!std::all_of(utf8.begin(), utf8.end(), plain)) {
    decoded_.clear();
    mission::AppendFromUtf8(utf8, decoded_);
    String(mission::TextView(decoded_));
    return;
  }
  // Plain ASCII (the tree's tags, most file names) is written as it is.
  BeforeValue();
  Put('"');
  while (!utf8.empty()) {
    const std::size_t take = std::min(utf8.size(), kChunk);
    std::memcpy(Reserve(take), utf8.data(), take);
    used_ += take;
    utf8.remove_prefix(take);
  }
  Put('"');
}

void JsonWriter::String(mission::TextView text) {
  BeforeValue();
  Put('"');
  while (!text.empty()) {
    std::size_t take = std::min(text.size(), kChunk);
    // Keep a surrogate pair together.
    if (take < text.size() && mission::IsHighSurrogate(text[take - 1]) && mission::IsLowSurrogate(text[take])) {
      --take;
    }
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

void JsonWriter::Bool(bool value) {
  BeforeValue();
  const std::string_view word = value ? "true" : "false";
  std::memcpy(Reserve(word.size()), word.data(), word.size());
  used_ += word.size();
}

void JsonWriter::Null() {
  BeforeValue();
  std::memcpy(Reserve(4), "null", 4);
  used_ += 4;
}

void JsonWriter::Finish() {
  Put('\n');
  Flush();
  out_.flush();
}

}  // namespace app
