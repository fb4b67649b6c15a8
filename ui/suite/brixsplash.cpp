#include "ui/suite/brixsplash.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include "ui/common/units.h"

namespace ui {
namespace {

// The window's design, in twips.
constexpr int kWidth = 8100;
constexpr int kHeight = 5700;
constexpr int kLeft = 600;         // the picture's and the name's left edge
constexpr int kSideLeft = 6150;    // the column right of the picture
constexpr int kNameTop = 3960;
constexpr int kVersionLeft = 4500;

// The built-in picture: a night-sky strip down the window's left edge.
QPixmap BuiltInPicture(QSize size) {
  QPixmap picture(size);
  QPainter painter(&picture);
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(8, 16, 64));
  sky.setColorAt(1, QColor(40, 80, 160));
  painter.fillRect(picture.rect(), sky);
  painter.setPen(Qt::white);
  // A fixed scatter of stars: the same picture at every start.
  std::uint32_t seed = 2000;
  for (int i = 0; i < 40; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int x = static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(size.width()));
    seed = seed * 1103515245u + 12345u;
    const int y = static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(size.height()));
    painter.drawPoint(x, y);
  }
  return picture;
}

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

}  // namespace

BrixSplash::BrixSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("BrixSplash"));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setFixedSize(PxX(kWidth), PxY(kHeight));

  auto* border = new QFrame(this);
  border->setFrameShape(QFrame::Box);
  border->setGeometry(rect());

  ImageBuiltIn = new QLabel(this);
  ImageBuiltIn->setGeometry(0, 0, PxX(450), height());
  ImageBuiltIn->setPixmap(BuiltInPicture(ImageBuiltIn->size()));

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(PxX(kLeft), PxY(240), PxX(5400), PxY(3600));
  Image1->setAlignment(Qt::AlignCenter);

  ImageQX = new QLabel(this);
  ImageQX->setObjectName(QStringLiteral("ImageQX"));
  ImageQX->setGeometry(PxX(kSideLeft), PxY(720), PxX(1800), PxY(1800));
  ImageQX->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  Label1 = MakeLabel("Label1", QStringLiteral(" Part of the KORVALINE"), kSideLeft, 240);
  QFont italic = Label1->font();
  italic.setItalic(true);
  Label1->setFont(italic);

  QFont nameFont(QStringLiteral("Liberation Sans"), 28, QFont::Bold, true);
  // The shadow copy first, so that the main copy is drawn over it.
  lblProductName[1] = MakeLabel("lblProductName1", QString(), kLeft, kNameTop);
  lblProductName[0] = MakeLabel("lblProductName0", QString(), kLeft, kNameTop);
  for (QLabel* label : lblProductName) label->setFont(nameFont);
  SetTextColour(lblProductName[0], QColor(0, 0, 128));
  SetTextColour(lblProductName[1], QColor(192, 192, 192));

  lbl32 = MakeLabel("lbl32", QStringLiteral("32"), kLeft, kNameTop);
  lbl32->setFont(QFont(QStringLiteral("Liberation Sans"), 18, QFont::Bold, true));

  lblVersion = MakeLabel("lblVersion", QString(), kVersionLeft, kNameTop + 120);
  lblPlatform = MakeLabel("lblPlatform", QStringLiteral("for Windows 9x/NT/2000"), kVersionLeft, kNameTop + 420);
  lblCredit = MakeLabel("lblCredit", QString(), kLeft, 5160);
  lblCredit->setFixedWidth(PxX(kWidth - kLeft - 240));
  lblCredit->setWordWrap(true);
  for (QLabel* label : {lblPlatform, lblCredit, lblVersion}) SetTextColour(label, Qt::black);
}

int BrixSplash::PxX(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

int BrixSplash::PxY(int twips) const { return TwipsToPixels(twips, logicalDpiY()); }

QLabel* BrixSplash::MakeLabel(const char* name, const QString& text, int leftTwips, int topTwips) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(QFont(QStringLiteral("Tahoma"), 8));
  label->move(PxX(leftTwips), PxY(topTwips));
  label->adjustSize();
  return label;
}

void BrixSplash::setProductName(const QString& name, const QString& suffix) {
  lbl32->setText(suffix);
  lbl32->adjustSize();
  for (QLabel* label : lblProductName) {
    label->setText(name);
    label->adjustSize();
  }
  // The first label ends 720 twips after its text, which is where «32» goes.
  lblProductName[0]->resize(lblProductName[0]->width() + PxX(720), lblProductName[0]->height());
  lblProductName[1]->move(lblProductName[0]->pos() + QPoint(4, 4));
  const QRect first = lblProductName[0]->geometry();
  lbl32->move(first.left() + first.width() - PxX(720), first.top());
}

void BrixSplash::setAccentColour(const QColor& colour) { SetTextColour(lbl32, colour); }

void BrixSplash::setVersionLine(const QString& text) {
  lblVersion->setText(text);
  lblVersion->adjustSize();
}

void BrixSplash::setCreditLine(const QString& text) {
  lblCredit->setText(text);
  lblCredit->adjustSize();
}

bool BrixSplash::setSplashPicture(const QString& path) { return LoadPicture(Image1, path); }

bool BrixSplash::setSuitePicture(const QString& path) { return LoadPicture(ImageQX, path); }

bool BrixSplash::LoadPicture(QLabel* image, const QString& path) {
  const QPixmap picture(path);
  if (picture.isNull()) {
    image->clear();
    return false;
  }
  // Larger pictures are made to fit; smaller ones keep their size, sharp.
  const bool fits = picture.width() <= image->width() && picture.height() <= image->height();
  image->setPixmap(fits ? picture : picture.scaled(image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  return true;
}

}  // namespace ui
