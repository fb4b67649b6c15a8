#include "mission/decode.h"

#include <gtest/gtest.h>

namespace mission {
namespace {

Text Decode(std::string_view bytes) {
  std::vector<char16_t> out;
  DecodeAppend(bytes, DetectEncoding(bytes), out);
  return Text(out.begin(), out.end());
}

TEST(DecodeTest, ChoosesTheEncoding) {
  struct Case {
    std::string bytes;
    Encoding encoding;
    Text text;
  };
  const Case cases[] = {
      {"plain", Encoding::Utf8, u"plain"},
      {"", Encoding::Utf8, u""},
      {"\xEF\xBB\xBF" "abc", Encoding::Utf8WithMark, u"abc"},
      {"caf\xC3\xA9", Encoding::Utf8, u"café"},
      {"\xF0\x9F\x9A\x80", Encoding::Utf8, u"\U0001F680"},
      // Not valid UTF-8 as a whole: every byte is a Windows-1252 character.
      {"caf\xE9 \xC3\xA9", Encoding::Windows1252, u"café Ã©"},
      {"\x80\x81\x8D\x8F\x90\x9D\x9F", Encoding::Windows1252, u"€\u0081\u008D\u008F\u0090\u009D\u0178"},
      // Overlong forms and encoded surrogates are not valid UTF-8.
      {"\xC0\xAF", Encoding::Windows1252, u"À¯"},
      {"\xED\xA0\x80", Encoding::Windows1252, u"í\u00A0€"},
      // With the mark, broken sequences become U+FFFD, one each.
      {"\xEF\xBB\xBF" "a\xFF" "b\xE2\x82" "c", Encoding::Utf8WithMark, u"a\uFFFDb\uFFFDc"},
      {std::string("a\0b", 3), Encoding::Utf8, Text(u"a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectEncoding(c.bytes), c.encoding) << c.bytes;
    EXPECT_EQ(Decode(c.bytes), c.text) << c.bytes;
  }
}

}  // namespace
}  // namespace mission
