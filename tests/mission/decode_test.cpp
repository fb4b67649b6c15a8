#include "mission/decode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mission/mission.h"

namespace mission {
namespace {

constexpr std::string_view kMark = "\xEF\xBB\xBF";

// The text that the loader stores for a file made of an events header and
// `bytes` (after the byte-order mark, when `bytes` starts with one).
Text Loaded(std::string_view bytes) {
  std::string file;
  if (bytes.starts_with(kMark)) {
    file = std::string(kMark);
    bytes.remove_prefix(kMark.size());
  }
  file += "#Events\n";
  file += bytes;
  const Mission mission = ParseMissionBytes(file);
  const LineList& lines = mission.Sections().Slot(kSlotEvents);
  return lines.Empty() ? Text() : Text(lines[0]);
}

TEST(DecodeTest, ChoosesTheEncoding) {
  const std::pair<std::string, Text> cases[] = {
      {"plain", u"plain"},
      {"\xEF\xBB\xBF" "abc", u"abc"},
      {"caf\xC3\xA9", u"café"},
      {"\xF0\x9F\x9A\x80", u"\U0001F680"},
      // Not valid UTF-8 as a whole: every byte is a Windows-1252 character.
      {"caf\xE9 \xC3\xA9", u"café Ã©"},
      {"\x80\x81\x8D\x8F\x90\x9D\x9F", u"€\u0081\u008D\u008F\u0090\u009D\u0178"},
      // Overlong forms and encoded surrogates are not valid UTF-8.
      {"\xC0\xAF", u"À¯"},
      {"\xED\xA0\x80", u"í\u00A0€"},
      // With the mark, broken sequences become U+FFFD, one each.
      {"\xEF\xBB\xBF" "a\xFF" "b\xE2\x82" "c", u"a\uFFFDb\uFFFDc"},
      {std::string("a\0b", 3), Text(u"a\0b", 3)},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(Loaded(bytes), text) << bytes;
}

// The bytes of `text` in UTF-16 with its byte-order mark.
std::string Utf16(std::u16string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t c : text) {
    const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

std::vector<Text> EventsLines(std::string_view file) {
  const Mission mission = ParseMissionBytes(file);
  const LineList& lines = mission.Sections().Slot(kSlotEvents);
  std::vector<Text> out;
  for (std::size_t i = 0; i < lines.Count(); ++i) out.emplace_back(lines[i]);
  return out;
}

// Files saved as "Unicode" by Windows editors: UTF-16 with a byte-order mark,
// either byte order, loaded like the same text in any other encoding.
TEST(DecodeTest, Utf16WithByteOrderMark) {
  const std::u16string text = u"#Events\r\n+Name: Caf\u00E9 \U0001F680 ; note\r\n\t+Repeat Count: 1\n";
  for (const bool big_endian : {false, true}) {
    EXPECT_EQ(EventsLines(Utf16(text, big_endian)), (std::vector<Text>{u"+Name: Caf\u00E9 \U0001F680 ", u"+Repeat Count: 1"}))
        << big_endian;
  }
  // The same as the UTF-8 file, tree included.
  const Mission utf16 = ParseMissionBytes(Utf16(text, false));
  const Mission utf8 = ParseMissionBytes(ToUtf8(text));
  ASSERT_EQ(utf16.Tree().Size(), utf8.Tree().Size());
  for (std::size_t i = 0; i < utf8.Tree().Size(); ++i) EXPECT_EQ(utf16.Tree().NodeText(i), utf8.Tree().NodeText(i));
}

TEST(DecodeTest, BrokenUtf16BecomesReplacementCharacters) {
  const Text r = u"\uFFFD";
  const std::pair<std::string, Text> cases[] = {
      // An odd last byte.
      {Utf16(u"#Events\nab", false) + "c", u"ab" + r},
      {Utf16(u"#Events\nab", true) + "c", u"ab" + r},
      // Unpaired surrogates: a high one before another character or at the
      // end, a low one alone; a pair stays a pair.
      {Utf16(u"#Events\na\xD83D" u"b", false), u"a" + r + u"b"},
      {Utf16(u"#Events\na\xD83D", true), u"a" + r},
      {Utf16(u"#Events\na\xDE80" u"b", false), u"a" + r + u"b"},
      {Utf16(u"#Events\n\xD83D\xD83D\xDE80", false), r + u"\U0001F680"},
      // The mark alone is an empty file.
      {"\xFF\xFE", u""},
  };
  for (const auto& [bytes, line] : cases) {
    const std::vector<Text> lines = EventsLines(bytes);
    EXPECT_EQ(lines.empty() ? Text() : lines[0], line);
  }
}

// Decoding goes a megabyte at a time: a surrogate pair whose halves lie in
// two slices stays one character.
TEST(DecodeTest, Utf16PairAcrossASliceBoundary) {
  for (std::size_t shift = 0; shift < 3; ++shift) {
    std::u16string text = u"#Events\n";
    text += std::u16string((1 << 19) - text.size() - 2 + shift, u'a');
    text += u"\n\U0001F680b";
    const std::vector<Text> lines = EventsLines(Utf16(text, false));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], u"\U0001F680b") << shift;
  }
}

}  // namespace
}  // namespace mission
