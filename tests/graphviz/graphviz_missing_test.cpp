#include <gtest/gtest.h>

#include <string>

#include "graphviz/graphviz.h"

namespace graphviz {
namespace {

TEST(GraphvizMissingTest, SaysSoAndGoesOnSayingSo) {
  SetLibrary("libtorvek-no-such-graphviz.so.6");
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string out, error;
    EXPECT_FALSE(Render("digraph { a -> b }", "plain", out, error));
    EXPECT_EQ(error.rfind("Graphviz is not installed (libtorvek-no-such-graphviz.so.6: cannot open shared object file",
                          0),
              0u)
        << error;
    EXPECT_TRUE(out.empty());
  }
  EXPECT_FALSE(Loaded());
}

}  // namespace
}  // namespace graphviz
