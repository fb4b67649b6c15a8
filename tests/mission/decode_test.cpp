#include "mission/decode.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace mission
