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
  std::ifstream file(kModuleSample, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  struct Case {
    int format;
    ExportFormat program;
    bool modern;
  };
  for (const Case c : {Case{kTorvk32Json, ExportFormat::kJson, false}, Case{kTorvk32Json, ExportFormat::kJson, true},
                       Case{kTorvk32Text, ExportFormat::kText, false}, Case{kTorvk32Text, ExportFormat::kText, true},
                       Case{kTorvk32Dot, ExportFormat::kDot, false}}) {
    SCOPED_TRACE(std::to_string(c.format) + (c.modern ? " modern" : ""));
    std::ostringstream out, err;
    RunExport(c.program, kModuleSample, out, err,
              c.modern ? sexp::OperatorSet::kFreeSpaceOpen : sexp::OperatorSet::kOriginal);
    ASSERT_EQ(torvk32_export(bytes.data(), bytes.size(), kModuleSample.c_str(), c.format, c.modern), 1);
    EXPECT_EQ(Result(), out.str());
  }
  CheckOptions options;
  options.format = CheckFormat::kJson;
  options.files = {kModuleSample};
  std::istringstream no_input;
  std::ostringstream out, err;
  RunCheck(options, no_input, out, err);
  ASSERT_EQ(torvk32_check(bytes.data(), bytes.size(), kModuleSample.c_str()), 1);
  EXPECT_EQ(Result(), out.str());
  torvk32_release();
  EXPECT_EQ(torvk32_result_size(), 0u);
}

}  // namespace
}  // namespace app
