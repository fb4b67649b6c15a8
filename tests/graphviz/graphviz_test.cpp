#include "graphviz/graphviz.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "graphviz/layout_thread.h"

namespace graphviz {
namespace {

TEST(GraphvizTest, LaysOutDotAsPlainText) {
  std::string plain, error;
  ASSERT_TRUE(Render("digraph { rankdir=LR; a -> b; b -> a [label=\"5\"] }", "plain", plain, error)) << error;
  EXPECT_TRUE(Loaded());
  EXPECT_EQ(plain.rfind("graph 1 ", 0), 0u) << plain;
  EXPECT_NE(plain.find("\nnode a "), std::string::npos) << plain;
  EXPECT_NE(plain.find("\nedge a b "), std::string::npos) << plain;
  EXPECT_NE(plain.find("\nedge b a "), std::string::npos) << plain;
  EXPECT_NE(plain.find("\nstop"), std::string::npos) << plain;
}

TEST(GraphvizTest, FailuresComeBackWithTheirReason) {
  struct Case {
    const char* what;
    std::string dot;
    const char* format;
    std::string reason;  // a part of the error
  };
  const Case cases[] = {
      {"not DOT", "digraph { a -> }", "plain", "syntax error"},
      {"no such output", "digraph { a }", "no-such-format", "no-such-format"},
  };
  for (const Case& c : cases) {
    std::string out = "untouched", error;
    EXPECT_FALSE(Render(c.dot, c.format, out, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(out, "untouched") << c.what;
  }
  // Graphviz goes on working after a failure.
  std::string plain, error;
  EXPECT_TRUE(Render("digraph { a }", "plain", plain, error)) << error;
}

// A job that waits for `go` before it ends, and notes that it ran.
LayoutThread::Job Blocked(std::shared_future<void> go, std::vector<std::string>& ran, std::vector<std::string>& handed,
                          std::promise<void>* started = nullptr) {
  return [go, &ran, &handed, started] {
    if (started) started->set_value();
    go.wait();
    ran.push_back("blocked");
    return LayoutThread::Handback([&handed] { handed.push_back("blocked"); });
  };
}

LayoutThread::Job Noting(const char* name, std::vector<std::string>& ran, std::vector<std::string>& handed,
                         std::promise<void>* done = nullptr) {
  return [name, &ran, &handed, done] {
    ran.push_back(name);
    return LayoutThread::Handback([name, &handed, done] {
      handed.push_back(name);
      if (done) done->set_value();
    });
  };
}

TEST(LayoutThreadTest, ANewerJobTakesTheWaitingOnesPlace) {
  LayoutThread& thread = LayoutThread::Instance();
  const LayoutThread::Client client = thread.Register();
  const LayoutThread::Client other = thread.Register();
  std::vector<std::string> ran, handed;
  std::promise<void> go, started, done;
  thread.Post(client, Blocked(go.get_future().share(), ran, handed, &started));
  started.get_future().wait();
  thread.Post(client, Noting("second", ran, handed));
  thread.Post(other, Noting("other", ran, handed, &done));  // the last to run
  thread.Post(client, Noting("third", ran, handed));  // replaces "second", keeps its turn
  go.set_value();
  done.get_future().wait();
  EXPECT_EQ(ran, (std::vector<std::string>{"blocked", "third", "other"}));
  EXPECT_EQ(handed, ran);
  thread.Unregister(client);
  thread.Unregister(other);
}

TEST(LayoutThreadTest, NothingIsHandedBackToAClientThatLeft) {
  LayoutThread& thread = LayoutThread::Instance();
  const LayoutThread::Client leaving = thread.Register();
  const LayoutThread::Client staying = thread.Register();
  std::vector<std::string> ran, handed;
  std::promise<void> go, started, done;
  thread.Post(leaving, Blocked(go.get_future().share(), ran, handed, &started));
  started.get_future().wait();
  thread.Post(leaving, Noting("waiting", ran, handed));
  thread.Unregister(leaving);  // does not wait for the running job
  thread.Post(leaving, Noting("after", ran, handed));
  thread.Post(staying, Noting("staying", ran, handed, &done));
  go.set_value();
  done.get_future().wait();
  EXPECT_EQ(ran, (std::vector<std::string>{"blocked", "staying"}));
  EXPECT_EQ(handed, (std::vector<std::string>{"staying"}));
  thread.Unregister(staying);
}

}  // namespace
}  // namespace graphviz
