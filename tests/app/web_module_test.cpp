#include "app/web_module.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/check.h"
#include "app/export.h"

namespace app {
namespace {

const std::string kModuleSample = std::string(TORVEK_SOURCE_DIR) + "/samples/sample.fs2";

std::string Result() { return std::string(torvk32_result(), torvk32_result_size()); }

// The module for web pages gets a mission's bytes where the program reads a
// file: each of its results must be what the program prints for that file.
TEST(WebModuleTest, GivesWhatTheProgramPrints) {
  std::ifstream in(kModuleSample, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  struct Case {
    bool text;
    bool modern;
  };
  for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
    SCOPED_TRACE(std::string(c.text ? "text" : "json") + (c.modern ? " modern" : ""));
    std::ostringstream out, err;
    RunExport(c.text ? ExportFormat::kText : ExportFormat::kJson, kModuleSample, out, err,
              c.modern ? sexp::OperatorSet::kFreeSpaceOpen : sexp::OperatorSet::kOriginal);
    ASSERT_EQ(torvk32_export(bytes.data(), bytes.size(), kModuleSample.c_str(), c.text, c.modern), 1);
    EXPECT_EQ(Result(), out.str());
  }
  std::ostringstream out, err;
  RunCheck(CheckOptions{CheckFormat::kJson, {kModuleSample}}, out, err);
  ASSERT_EQ(torvk32_check(bytes.data(), bytes.size(), kModuleSample.c_str()), 1);
  EXPECT_EQ(Result(), out.str());
  torvk32_release();
  EXPECT_EQ(torvk32_result_size(), 0u);
}

}  // namespace
}  // namespace app
