#include "ui/rules/missionfiles.h"

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace ui {
namespace {

using Texts = std::vector<Text>;

TEST(RecentMissions, OpenedFirstEachOnceAtMostEight) {
  const Texts three = {u"/m/a.fs2", u"/m/b.fs2", u"/m/c.fs2"};
  EXPECT_EQ(RecentWithFirst({}, u"/m/a.fs2"), (Texts{u"/m/a.fs2"}));
  EXPECT_EQ(RecentWithFirst(three, u"/m/d.fs2"), (Texts{u"/m/d.fs2", u"/m/a.fs2", u"/m/b.fs2", u"/m/c.fs2"}));
  EXPECT_EQ(RecentWithFirst(three, u"/m/c.fs2"), (Texts{u"/m/c.fs2", u"/m/a.fs2", u"/m/b.fs2"}));
  EXPECT_EQ(RecentWithFirst(three, u"/m/a.fs2"), three);

  Texts eight;
  for (char16_t c = u'a'; c < u'a' + 8; ++c) eight.push_back(u"/m/" + Text(1, c) + u".fs2");
  const Texts nine = RecentWithFirst(eight, u"/m/new.fs2");
  ASSERT_EQ(nine.size(), kRecentCount);
  EXPECT_EQ(nine.front(), u"/m/new.fs2");
  EXPECT_EQ(nine.back(), u"/m/g.fs2");  // the oldest one has gone
  EXPECT_EQ(RecentWithFirst(eight, u"/m/h.fs2").front(), u"/m/h.fs2");
  EXPECT_EQ(RecentWithFirst(eight, u"/m/h.fs2").size(), kRecentCount);

  EXPECT_EQ(RecentWithout(three, u"/m/b.fs2"), (Texts{u"/m/a.fs2", u"/m/c.fs2"}));
  EXPECT_EQ(RecentWithout(three, u"/m/x.fs2"), three);
}

TEST(RecentMissions, CaptionsNumberedWithTheFolderWhereNamesRepeat) {
  EXPECT_EQ(RecentCaptions(Texts{u"/m/a.fs2", u"/old/a.fs2", u"/m/R&D.fsm", u"b.fs2"}),
            (Texts{u"&1 a.fs2 (/m)", u"&2 a.fs2 (/old)", u"&3 R&&D.fsm", u"&4 b.fs2"}));
  EXPECT_EQ(RecentCaptions(Texts{u"/a.fs2", u"/x/a.fs2"}), (Texts{u"&1 a.fs2 (/)", u"&2 a.fs2 (/x)"}));
  EXPECT_EQ(RecentCaptions({}), Texts{});
}

TEST(DroppedFiles, TheFirstMissionFileOpens) {
  const struct {
    Texts paths;
    std::optional<Text> opened;
  } cases[] = {
      {{u"/m/a.fs2"}, u"/m/a.fs2"},
      {{u"/m/A.FSM", u"/m/b.fs2"}, u"/m/A.FSM"},
      {{u"/m/notes.txt", u"/m/b.Fs2", u"/m/c.fs2"}, u"/m/b.Fs2"},
      {{u"/m/fs2", u"/m/a.fs2.bak", u"/m/.fs"}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DroppedMission(c.paths), c.opened) << (c.paths.empty() ? "" : mission::ToUtf8(c.paths.front()));
  }
}

TEST(OpenDialog, StartsInTheShownMissionsFolderWhenTheRememberedOneIsGone) {
  const struct {
    const char16_t* remembered;
    bool exists;
    const char16_t* shown;
    const char16_t* folder;
  } cases[] = {
      {u"/m/", true, u"/other/x.fs2", u"/m/"},
      {u"/gone/", false, u"/other/x.fs2", u"/other/"},
      {u"", false, u"/other/x.fs2", u"/other/"},
      {u"/gone/", false, u"", u"/gone/"},  // nothing better to offer
      {u"/gone/", false, u"x.fs2", u"/gone/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OpenDialogFolder(c.remembered, c.exists, c.shown), c.folder) << mission::ToUtf8(c.remembered);
  }
}

TEST(ReloadTexts, NameTheFileAndTheReason) {
  EXPECT_EQ(ReloadedText(u"/m/Sol 3.fs2"), u"Reloaded Sol 3.fs2");
  EXPECT_EQ(ReloadFailedText(u"/m/Sol 3.fs2", u"No such file or directory"),
            u"Could not reload Sol 3.fs2: No such file or directory");
}

}  // namespace
}  // namespace ui
