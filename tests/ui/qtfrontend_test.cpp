#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "applib/library.h"
#include "tests/applib/fakes.h"
#include "tests/ui/qt_print.h"
#include "ui/suite/brixemsg.h"
#include "ui/suite/brixsplash.h"
#include "ui/suite/qtfrontend.h"

namespace {

TEST(QtFrontend, SplashWindowShowsWhatTheLibraryGivesAndGoesAwayAgain) {
  ui::QtFrontend frontend;
  applib::SplashScreen screen;
  screen.name = u"TORVEK";
  screen.name_suffix = u"32";
  screen.accent = 255;
  screen.version = u"V1.0 Beta 01b (Build 02)";
  screen.credit = u"credit line";
  screen.picture = u"";  // missing picture: the area stays empty
  screen.suite_picture = u"/no/such/picture.gif";
  frontend.ShowSplash(screen);

  ui::BrixSplash* splash = frontend.splash();
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(splash->isVisible());
  EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("lblProductName0"))->text(), QStringLiteral("TORVEK"));
  EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("lbl32"))->text(), QStringLiteral("32"));
  EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("lbl32"))->palette().color(QPalette::WindowText),
            QColor(Qt::red));
  EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
            QStringLiteral("V1.0 Beta 01b (Build 02)"));
  EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("lblCredit"))->text(), QStringLiteral("credit line"));
  EXPECT_TRUE(splash->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());

  frontend.CloseSplash();
  EXPECT_EQ(frontend.splash(), nullptr);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Start-up's three seconds: the splash window is painted while they pass
// (the platform's sleeps take no time here), and they are three seconds.
TEST(QtFrontend, TheSplashWindowIsPaintedWhileStartUpWaits) {
  applib::testing::FakePlatform platform;
  ui::QtFrontend frontend;
  applib::Library library(platform, frontend);
  frontend.ShowSplash(applib::SplashScreen{});
  ui::BrixSplash* splash = frontend.splash();
  ASSERT_NE(splash, nullptr);
  ASSERT_TRUE(splash->windowHandle() && splash->windowHandle()->isExposed());

  PaintCounter counter(splash);
  splash->update();  // as when a question box in front of it goes away
  library.Delay(3000);
  EXPECT_GT(counter.paints, 0);
  std::uint32_t waited = 0;
  for (const std::uint32_t slice : platform.sleeps) {
    EXPECT_LE(slice, 20u);
    waited += slice;
  }
  EXPECT_EQ(waited, 3000u);
}

TEST(QtFrontend, WarningsHaveOkAndCancelWithTheRightDefault) {
  for (const bool cancelIsDefault : {true, false}) {
    const auto box = ui::MakeOkCancelBox(QStringLiteral("Veltrane Suite warning"), QStringLiteral("text"),
                                         cancelIsDefault);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Veltrane Suite warning"));
    EXPECT_EQ(box->text(), QStringLiteral("text"));
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box->defaultButton(), box->button(cancelIsDefault ? QMessageBox::Cancel : QMessageBox::Ok));
  }
  const auto question = ui::MakeYesNoBox(QStringLiteral("title"), QStringLiteral("question"));
  EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
}

TEST(QtFrontend, FatalErrorShowsTheErrorDialogUntilItIsClosed) {
  ui::QtFrontend frontend;
  QString header;
  QString message;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<ui::BrixEMsg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    header = dialog->findChild<QLabel*>(QStringLiteral("ErrorHeader"))->text();
    message = dialog->findChild<QPlainTextEdit*>(QStringLiteral("ErrorMessage"))->toPlainText();
    dialog->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
  });
  frontend.ShowFatalError(u"Brix32 error", u"Brix3 is not properly installed!");
  EXPECT_EQ(header, QStringLiteral(" Brix32 error"));
  EXPECT_EQ(message, QStringLiteral("Brix3 is not properly installed!"));
}

TEST(QtFrontend, RegisteredFontIsUsableByName) {
  // Debian's fonts-wine, a dependency of the program, ships the font here.
  ui::QtFrontend frontend;
  frontend.RegisterFont(u"/usr/share/wine/fonts/tahoma.ttf");
  EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("Tahoma")));
}

}  // namespace
