#include "app/json_writer.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace app {
namespace {

using nlohmann::json;

std::string Written(const std::u16string& text) {
  std::ostringstream out;
  JsonWriter writer(out);
  writer.BeginArray();
  writer.String(text);
  writer.EndArray();
  writer.Finish();
  return out.str();
}

std::string WrittenUtf8(const std::string& text) {
  std::ostringstream out;
  JsonWriter writer(out);
  writer.String(text);
  writer.Finish();
  return out.str();
}

TEST(JsonWriterTest, EscapesAndEncodesTexts) {
  struct Case {
    std::u16string text;
    std::string utf8;  // what a reader gets back
  };
  const Case cases[] = {
      {u"plain text, 12 chars", "plain text, 12 chars"},
      {u"q\"b\\s/", "q\"b\\s/"},
      {std::u16string(u"\0\x01\x1f\t\r\n\x7f", 7), std::string("\0\x01\x1f\t\r\n\x7f", 7)},
      {u"\u00c4\u20ac", "\xC3\x84\xE2\x82\xAC"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"a\xD800" u"b", "a\xEF\xBF\xBD" "b"},  // unpaired surrogates
      {u"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    const std::string out = Written(c.text);
    EXPECT_EQ(json::parse(out)[0], c.utf8) << out;
  }
  EXPECT_EQ(Written(u"a\"\x01"), "[\"a\\\"\\u0001\"]\n");
}

TEST(JsonWriterTest, LongTextsKeepSurrogatePairsAcrossPieces) {
  // Pairs and escapes at every offset around the writer's piece size.
  std::u16string text;
  std::string utf8;
  for (int i = 0; i < 3000; ++i) {
    text += i % 3 ? u"ab\U0001F600" : u"\"\x02x";
    utf8 += i % 3 ? "ab\xF0\x9F\x98\x80" : "\"\x02x";
  }
  EXPECT_EQ(json::parse(Written(text))[0], utf8);
  // Shifted by one unit at a time, the pieces end inside pairs and escapes.
  for (std::size_t skip = 1; skip < 6; ++skip) {
    const std::u16string shifted = text.substr(skip);
    EXPECT_EQ(json::parse(Written(shifted))[0], mission::ToUtf8(shifted)) << skip;
  }
}

// A file name that is not valid UTF-8 reads as the text export and the
// loader read such bytes: one U+FFFD for each broken sequence.
TEST(JsonWriterTest, Utf8TextsReplaceBrokenSequences) {
  EXPECT_EQ(json::parse(WrittenUtf8("a\xFF" "b\xE2\x82")), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_EQ(json::parse(WrittenUtf8("\x80\x80q\"")), "\xEF\xBF\xBD\xEF\xBF\xBDq\"");
  std::string longName(10000, 'x');
  for (std::size_t i = 4090; i < 4110; i += 3) longName.replace(i, 3, "\xE2\x82\xAC");
  EXPECT_EQ(json::parse(WrittenUtf8(longName)), longName);
  const std::string plain(10000, 'y');
  EXPECT_EQ(WrittenUtf8(plain), "\"" + plain + "\"\n");
}

TEST(JsonWriterTest, NestsObjectsArraysNumbersAndBooleans) {
  std::ostringstream out;
  JsonWriter writer(out);
  writer.BeginObject();
  writer.Key("a");
  writer.BeginArray();
  writer.EndArray();
  writer.Key("b");
  writer.BeginArray();
  writer.Number(1);
  writer.Number(-2);
  writer.Bool(true);
  writer.Bool(false);
  writer.BeginObject();
  writer.EndObject();
  writer.EndArray();
  writer.Key("c");
  writer.String(std::string_view("d"));
  writer.EndObject();
  writer.Finish();
  EXPECT_EQ(out.str(), "{\"a\":[],\"b\":[1,-2,true,false,{}],\"c\":\"d\"}\n");
}

}  // namespace
}  // namespace app
