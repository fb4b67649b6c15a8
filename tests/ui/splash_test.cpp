#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include "tests/ui/qt_print.h"
#include "ui/common/units.h"
#include "ui/suite/brixsplash.h"

namespace {

QLabel* Label(ui::BrixSplash& splash, const char* name) {
  auto* label = splash.findChild<QLabel*>(QString::fromUtf8(name));
  EXPECT_NE(label, nullptr) << name;
  return label;
}

int Twips720(const QWidget& widget) { return qRound(720 * widget.logicalDpiX() / 1440.0); }

TEST(BrixSplash, NameTwiceWithShadowAndAccentedThirtyTwoAfterIt) {
  ui::BrixSplash splash;
  splash.setProductName(QStringLiteral("TORVEK"), QStringLiteral("32"));
  splash.setAccentColour(ui::ColourFromBgr(255));
  QLabel* name = Label(splash, "lblProductName0");
  QLabel* shadow = Label(splash, "lblProductName1");
  QLabel* thirtyTwo = Label(splash, "lbl32");
  EXPECT_EQ(name->text(), QStringLiteral("TORVEK"));
  EXPECT_EQ(shadow->text(), QStringLiteral("TORVEK"));
  EXPECT_EQ(shadow->pos(), name->pos() + QPoint(4, 4));
  EXPECT_EQ(thirtyTwo->text(), QStringLiteral("32"));
  EXPECT_EQ(thirtyTwo->x(), name->x() + name->width() - Twips720(splash));
  EXPECT_EQ(thirtyTwo->y(), name->y());
  // «32» starts where the name's text ends, so neither hides the other.
  EXPECT_GE(thirtyTwo->x(), name->x() + name->fontMetrics().horizontalAdvance(name->text()));
  EXPECT_EQ(thirtyTwo->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST(BrixSplash, ColoursHaveRedInTheLowByte) {
  EXPECT_EQ(ui::ColourFromBgr(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ui::ColourFromBgr(0x804020), QColor(0x20, 0x40, 0x80));
}

TEST(BrixSplash, TextsAndFixedTexts) {
  ui::BrixSplash splash;
  splash.setVersionLine(QStringLiteral("V1.0 Beta 01b (Build 02)"));
  splash.setCreditLine(QStringLiteral("Made by us"));
  EXPECT_EQ(Label(splash, "lblVersion")->text(), QStringLiteral("V1.0 Beta 01b (Build 02)"));
  EXPECT_EQ(Label(splash, "lblCredit")->text(), QStringLiteral("Made by us"));
  EXPECT_EQ(Label(splash, "Label1")->text(), QStringLiteral(" Part of the KORVALINE"));
  EXPECT_EQ(Label(splash, "lblPlatform")->text(), QStringLiteral("for Windows 9x/NT/2000"));
  for (const char* name : {"lblVersion", "lblCredit", "lblPlatform"}) {
    EXPECT_EQ(Label(splash, name)->palette().color(QPalette::WindowText), QColor(Qt::black)) << name;
  }
}

TEST(BrixSplash, PicturesShowWhenTheyLoadAndLeaveAnEmptyAreaOtherwise) {
  QTemporaryDir temp;
  const QString picture = temp.filePath(QStringLiteral("torvk32.png"));
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::blue);
  ASSERT_TRUE(image.save(picture));

  ui::BrixSplash splash;
  EXPECT_TRUE(splash.setSplashPicture(picture));
  EXPECT_FALSE(Label(splash, "Image1")->pixmap().isNull());
  EXPECT_FALSE(splash.setSuitePicture(temp.filePath(QStringLiteral("missing.gif"))));
  EXPECT_TRUE(Label(splash, "ImageQX")->pixmap().isNull());
  // A picture that was shown goes away when its file no longer loads.
  EXPECT_FALSE(splash.setSplashPicture(temp.filePath(QStringLiteral("missing.jpg"))));
  EXPECT_TRUE(Label(splash, "Image1")->pixmap().isNull());
}

}  // namespace
