#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "tests/ui/qt_print.h"
#include "ui/suite/brixdirc.h"
#include "ui/suite/brixemsg.h"
#include "ui/suite/optionsdialog.h"

namespace {

// --- BrixEMsg --------------------------------------------------------------

TEST(BrixEMsg, ShowsHeaderWithLeadingBlankAndMessageAndClosesWithOK) {
  ui::BrixEMsg dialog(QStringLiteral("Font error"), QStringLiteral("Font 'Tahoma' not found."));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Error"));
  auto* header = dialog.findChild<QLabel*>(QStringLiteral("ErrorHeader"));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->text(), QStringLiteral(" Font error"));
  EXPECT_TRUE(header->font().bold());
  auto* message = dialog.findChild<QPlainTextEdit*>(QStringLiteral("ErrorMessage"));
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->toPlainText(), QStringLiteral("Font 'Tahoma' not found."));
  auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ButtonOK"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), QStringLiteral("&OK"));

  QTimer::singleShot(0, ok, [ok] { QTest::mouseClick(ok, Qt::LeftButton); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

// --- Drive list ------------------------------------------------------------

TEST(Drives, MountedVolumesWithRootFirst) {
  const QString mounts = QStringLiteral(
      "proc /proc proc rw 0 0\n"
      "sysfs /sys sysfs rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "/dev/sdb1 /media/me/USB\\040STICK vfat rw 0 0\n"
      "/dev/sda2 /home ext4 rw 0 0\n"
      "/dev/sda1 / ext4 rw 0 0\n"
      "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
      "server:/export /mnt/share nfs4 rw 0 0\n"
      "/dev/sda2 /home ext4 rw 0 0\n"
      "garbage\n");
  EXPECT_EQ(ui::DrivesFromMounts(mounts),
            (QStringList{"/", "/home", "/media/me/USB STICK", "/mnt/share"}));
  // Even a machine whose root is no block device (a container) has "/".
  EXPECT_EQ(ui::DrivesFromMounts(QStringLiteral("overlay / overlay rw 0 0\n")), QStringList{"/"});
  EXPECT_EQ(ui::DrivesFromMounts(QString()), QStringList{"/"});
}

TEST(Drives, DriveOfIsTheDeepestVolumeHoldingThePath) {
  const QStringList drives{"/", "/media/usb", "/home"};
  struct Case {
    const char* path;
    const char* drive;
  } const cases[] = {
      {"/media/usb", "/media/usb"},   {"/media/usb/maps/x", "/media/usb"},
      {"/media/usb2/maps", "/"},      {"/home/me", "/home"},
      {"/", "/"},                     {"relative/path", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui::DriveOf(QString::fromUtf8(c.path), drives), QString::fromUtf8(c.drive)) << c.path;
  }
}

// --- BrixDirC --------------------------------------------------------------

// Answers the input boxes in the user's place and remembers what they asked.
struct ScriptedInput {
  QStringList answers;
  QStringList asked;  // title, prompt and preset of each question
  ui::InputBoxFunction Function() {
    return [this](QWidget*, const QString& title, const QString& prompt, const QString& preset) {
      asked << title << prompt << preset;
      return answers.isEmpty() ? QString() : answers.takeFirst();
    };
  }
};

class DirectoryChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp.isValid());
    ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("start/sub")));
    ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("other")));
  }
  QString root() const { return QDir::cleanPath(temp.path()); }
  QString at(const char* relative) const { return root() + u'/' + QString::fromUtf8(relative); }

  // A dialog whose drives are "/" and the temporary folder, as if that were a
  // mounted stick.
  std::unique_ptr<ui::BrixDirC> Open(const QString& chosen) {
    ui::BrixDirC::Services services{QStringList{"/", root()}, input.Function(), [this](const QString& directory) {
                                      created << directory;
                                      return QDir().mkpath(directory);
                                    }};
    return std::make_unique<ui::BrixDirC>(chosen, nullptr, services);
  }
  static QString Shown(ui::BrixDirC& dialog) {
    return dialog.findChild<QLabel*>(QStringLiteral("LabelDir"))->text();
  }
  static QString Drive(ui::BrixDirC& dialog) {
    return dialog.findChild<QComboBox*>(QStringLiteral("Drive1"))->currentText();
  }
  static ui::DirList* List(ui::BrixDirC& dialog) { return dialog.findChild<ui::DirList*>(QStringLiteral("Dir1")); }
  static void Click(ui::BrixDirC& dialog, const char* button) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
  }

  QTemporaryDir temp;
  ScriptedInput input;
  QStringList created;
};

TEST_F(DirectoryChooser, StartsInTheChosenDirectoryOnItsDrive) {
  auto dialog = Open(at("start"));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Directory"));
  EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Select the directory:"));
  EXPECT_TRUE(dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->isDefault());
  EXPECT_EQ(Shown(*dialog), at("start"));
  EXPECT_EQ(dialog->chosenDirectory(), at("start"));
  EXPECT_EQ(Drive(*dialog), root());
  EXPECT_EQ(List(*dialog)->path(), at("start"));
}

TEST_F(DirectoryChooser, StartingInTheWorkingDirectoryShowsItToo) {
  auto dialog = Open(QDir::currentPath());
  EXPECT_EQ(Shown(*dialog), QDir::currentPath());
}

TEST_F(DirectoryChooser, AMissingStartDirectoryKeepsTheValue) {
  auto dialog = Open(at("missing"));
  EXPECT_EQ(dialog->chosenDirectory(), at("missing"));
  EXPECT_EQ(Shown(*dialog), QString());
}

TEST_F(DirectoryChooser, ActivatingASubdirectoryChoosesIt) {
  auto dialog = Open(at("start"));
  ui::DirList* list = List(*dialog);
  const QList<QTreeWidgetItem*> found = list->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(found.size(), 1);
  emit list->itemActivated(found.front(), 0);
  EXPECT_EQ(dialog->chosenDirectory(), at("start/sub"));
  EXPECT_EQ(Shown(*dialog), at("start/sub"));
}

TEST_F(DirectoryChooser, EnterDirectlyJumpsToAGivenExistingPath) {
  auto dialog = Open(at("start"));
  input.answers << at("other");
  Click(*dialog, "CommandEnterDir");
  EXPECT_EQ(input.asked, (QStringList{"Change Directory", "Enter the directory path to jump to:", at("start")}));
  EXPECT_EQ(dialog->chosenDirectory(), at("other"));
  EXPECT_EQ(Shown(*dialog), at("other"));
  EXPECT_EQ(List(*dialog)->path(), at("other"));

  // Another drive: the drive list follows.
  input.answers << QStringLiteral("/");
  Click(*dialog, "CommandEnterDir");
  EXPECT_EQ(dialog->chosenDirectory(), QStringLiteral("/"));
  EXPECT_EQ(Drive(*dialog), QStringLiteral("/"));
}

TEST_F(DirectoryChooser, AnswersThatChangeNothing) {
  // The last one is a directory that does not exist, on the same drive.
  const QString answers[] = {"", "   ", "n/a", at("start/missing")};
  for (const QString& answer : answers) {
    auto dialog = Open(at("start"));
    input.answers = QStringList{answer};
    Click(*dialog, "CommandEnterDir");
    EXPECT_EQ(dialog->chosenDirectory(), at("start")) << answer.toStdString();
    EXPECT_EQ(List(*dialog)->path(), at("start")) << answer.toStdString();
    EXPECT_EQ(Drive(*dialog), root()) << answer.toStdString();
  }
}

TEST_F(DirectoryChooser, CreateDirectoryMakesEveryLevelThenGoesThere) {
  auto dialog = Open(at("start"));
  input.answers << at("new/a/b");
  Click(*dialog, "CommandMkDir");
  EXPECT_EQ(input.asked,
            (QStringList{"Create Directory", "Enter the directory or directory tree to create:", at("start")}));
  EXPECT_TRUE(QFileInfo(at("new/a/b")).isDir());
  EXPECT_EQ(dialog->chosenDirectory(), at("new/a/b"));
  EXPECT_EQ(List(*dialog)->path(), at("new/a/b"));
}

TEST_F(DirectoryChooser, CreateDirectoryWithBlanksOrNACreatesNothing) {
  for (const char* answer : {"  ", "n/a", ""}) {
    auto dialog = Open(at("start"));
    input.answers = QStringList{QString::fromUtf8(answer)};
    Click(*dialog, "CommandMkDir");
    EXPECT_EQ(dialog->chosenDirectory(), at("start")) << answer;
  }
  EXPECT_TRUE(created.isEmpty());
}

TEST_F(DirectoryChooser, ChangingTheDriveReturnsToItsLastDirectory) {
  auto dialog = Open(at("start"));
  auto* drives = dialog->findChild<QComboBox*>(QStringLiteral("Drive1"));
  drives->setCurrentIndex(drives->findText(QStringLiteral("/")));
  emit drives->activated(drives->currentIndex());
  EXPECT_EQ(dialog->chosenDirectory(), QStringLiteral("/"));

  drives->setCurrentIndex(drives->findText(root()));
  emit drives->activated(drives->currentIndex());
  EXPECT_EQ(dialog->chosenDirectory(), at("start"));
}

TEST_F(DirectoryChooser, OKCloses) {
  auto dialog = Open(at("start"));
  QTimer::singleShot(0, dialog.get(), [&] { Click(*dialog, "Command1"); });
  EXPECT_EQ(dialog->exec(), QDialog::Accepted);
}

}  // namespace

// --- OptionsDialog -----------------------------------------------------------

namespace {

TEST(OptionsDialog, OpensWithTheStoredChoiceAndGivesTheOneMade) {
  using ui::Association;
  const struct {
    Association association;
    const char* button;
  } choices[] = {{Association::kAsk, "AssociateAsk"}, {Association::kYes, "AssociateAlways"},
                 {Association::kNo, "AssociateNever"}};
  for (const auto& opened : choices) {
    ui::OptionsDialog dialog(opened.association);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>(QString::fromLatin1(opened.button))->isChecked()) << opened.button;
    EXPECT_EQ(dialog.ChosenAssociation(), opened.association);
    for (const auto& chosen : choices) {
      QTest::mouseClick(dialog.findChild<QRadioButton*>(QString::fromLatin1(chosen.button)), Qt::LeftButton);
      EXPECT_EQ(dialog.ChosenAssociation(), chosen.association) << chosen.button;
    }
  }
  // OK confirms, Cancel does not.
  for (const auto& [button, result] : {std::pair{QDialogButtonBox::Ok, QDialog::Accepted},
                                       std::pair{QDialogButtonBox::Cancel, QDialog::Rejected}}) {
    ui::OptionsDialog dialog(Association::kAsk);
    QPushButton* push = dialog.findChild<QDialogButtonBox*>()->button(button);
    QTimer::singleShot(0, push, [push] { QTest::mouseClick(push, Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), result);
  }
}

}  // namespace
