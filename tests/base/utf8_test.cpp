#include "base/utf8.h"

#include <gtest/gtest.h>

namespace mission {
namespace {

struct Collect {
  Text out;
  void Ascii(const unsigned char* bytes, std::size_t n) { out.append(bytes, bytes + n); }
  void Put(char16_t c) { out.push_back(c); }
};

// Hex digits of the bytes, for failure messages.
std::string Hex(std::string_view bytes) {
  std::string out;
  for (const unsigned char b : bytes) out += "0123456789ABCDEF"[b >> 4], out += "0123456789ABCDEF"[b & 15], out += ' ';
  return out;
}

TEST(Utf8Test, EncodesCharactersAndReplacesUnpairedSurrogates) {
  const std::pair<Text, std::string> cases[] = {
      {u"plain", "plain"},
      {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
      {u"\U00010000\U0010FFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
      {Text(u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b"},              // high without low
      {Text(u"\xDC00\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD"},       // a pair the wrong way round
      {Text(u"x\xD83D"), "x\xEF\xBF\xBD"},                       // high at the very end
      {Text(u"\xD83D\xD83D\xDE00"), "\xEF\xBF\xBD\xF0\x9F\x98\x80"},  // the second high pairs
  };
  for (const auto& [text, utf8] : cases) {
    EXPECT_EQ(ToUtf8(text), utf8) << Hex(utf8);
    std::string appended = "<";
    AppendUtf8(text, appended);
    EXPECT_EQ(appended, "<" + utf8);
  }
}

TEST(Utf8Test, DecodesAndReplacesEachBrokenSequenceOnce) {
  const std::pair<std::string, Text> cases[] = {
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x9A\x80", u"café € \U0001F680"},
      {std::string("a\0b", 3), Text(u"a\0b", 3)},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      // A cut-off sequence is one replacement, wherever it is cut.
      {"a\xE2\x82" "b", u"a\uFFFDb"},
      {"a\xF0\x9F\x98", u"a\uFFFD"},
      // Bytes that can start nothing are replaced one by one.
      {"\x80\x80", u"\uFFFD\uFFFD"},
      {"\xFF" "a", u"\uFFFDa"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},              // overlong "/"
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},    // overlong NUL
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},    // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xE2\x82\xE2\x82\xAC", u"\uFFFD€"},      // a broken start, then a whole character
  };
  for (const auto& [utf8, text] : cases) {
    EXPECT_EQ(FromUtf8(utf8), text) << Hex(utf8);
    Text appended = u"<";
    AppendFromUtf8(utf8, appended);
    EXPECT_EQ(appended, u"<" + text) << Hex(utf8);
  }
}

TEST(Utf8Test, ValidTextSurvivesTheRoundTrip) {
  const Text text = u"Ä€\U0001F680x\u0000\u07FF\uE000\U0010FFFF";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

// The loader hands the decoder a file piece by piece: a sequence cut by a
// piece's end must come out as if the file were decoded whole.
TEST(Utf8Test, PiecesDecodeLikeTheWhole) {
  const std::string bytes = "ab\xC3\xA9\xE2\x82\xAC\xF0\x9F\x9A\x80" "c\xE2\x82" "d\xF0\x9F" "\xFF";
  const Text whole = FromUtf8(bytes);
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    Collect sink;
    const std::size_t used = DecodeUtf8(std::string_view(bytes).substr(0, cut), false, false, sink);
    ASSERT_LE(used, cut);
    EXPECT_LE(cut - used, 3u) << "at most a cut-off sequence is left over";
    DecodeUtf8(std::string_view(bytes).substr(used), true, false, sink);
    EXPECT_EQ(sink.out, whole) << "cut at " << cut;
  }
}

TEST(Utf8Test, StrictDecodingStopsAtTheFirstBrokenSequence) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"ab\xC3\xA9", 4},
      {"ab\xC3", kUtf8Invalid},         // cut off, and nothing follows
      {"ab\xC3x", kUtf8Invalid},
      {"\xED\xA0\x80", kUtf8Invalid},
  };
  for (const auto& [utf8, result] : cases) {
    Collect sink;
    EXPECT_EQ(DecodeUtf8(utf8, true, true, sink), result) << Hex(utf8);
  }
  Collect sink;
  EXPECT_EQ(DecodeUtf8("ab\xC3", false, true, sink), 2u) << "not the last piece: the cut-off byte waits";
}

}  // namespace
}  // namespace mission
