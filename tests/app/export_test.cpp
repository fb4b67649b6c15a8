#include "app/export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace app {
namespace {

using nlohmann::json;

const std::string kSample = std::string(TORVEK_SOURCE_DIR) + "/samples/sample.fs2";

TEST(ExportTest, JsonHasSectionsAndTree) {
  std::ostringstream out, err;
  ASSERT_EQ(RunJsonExport(kSample, out, err), 0);
  EXPECT_EQ(err.str(), "");
  const json doc = json::parse(out.str());
  EXPECT_EQ(doc["file"], kSample);
  ASSERT_EQ(doc["sections"].size(), 9u);
  // Slot 8 is the mission info: comment cut, tabs removed, nothing else.
  EXPECT_EQ(doc["sections"][7][2], "$Name: XSTR(\"Ashfall Relay\", -1)");
  EXPECT_EQ(doc["sections"][7][7], "A short mission written for the viewer's own tests. ");
  EXPECT_EQ(doc["sections"][2][7], "1.000000, 0.000000, 0.000000,");
  const json& root = doc["tree"][0];
  EXPECT_EQ(root["text"], "Mission Info");
  EXPECT_EQ(root["tag"], "1");
  EXPECT_EQ(root["children"][0]["text"], "Name: XSTR(\"Ashfall Relay\", -1)");
  EXPECT_EQ(root["children"][0]["tag"], "1,1");
  EXPECT_EQ(root["children"][0]["children"][0]["text"], "Author: TORVEK32 sample");
}

TEST(ExportTest, JsonEscapesControlCharacters) {
  const std::string path = testing::TempDir() + "torvek_export_escape.fs2";
  std::ofstream(path, std::ios::binary) << std::string("#Events\n\"q\"\\\x01\0\n", 14);
  std::ostringstream out, err;
  ASSERT_EQ(RunJsonExport(path, out, err), 0);
  EXPECT_EQ(json::parse(out.str())["sections"][3][0], std::string("\"q\"\\\x01\0", 6));
  std::remove(path.c_str());
}

TEST(ExportTest, UnreadableFileIsOneLineAndExitOne) {
  std::ostringstream out, err;
  EXPECT_EQ(RunJsonExport("/nonexistent/m.fs2", out, err), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "torvk32: cannot open /nonexistent/m.fs2: No such file or directory\n");
}

}  // namespace
}  // namespace app
