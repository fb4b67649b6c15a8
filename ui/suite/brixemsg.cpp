#include "ui/suite/brixemsg.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/common/units.h"

namespace ui {
namespace {

// The dialog's client area in twips.
constexpr int kWidthTwips = 5145;
constexpr int kHeightTwips = 2835;

}  // namespace

BrixEMsg::BrixEMsg(const QString& header, const QString& message, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Error"));
  setFont(QFont(QStringLiteral("Tahoma"), 8));

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));

  ErrorHeader = new QLabel(QStringLiteral(" ") + header, this);
  ErrorHeader->setObjectName(QStringLiteral("ErrorHeader"));
  QFont bold = font();
  bold.setBold(true);
  ErrorHeader->setFont(bold);

  Line1 = new QFrame(this);
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);

  ErrorMessage = new QPlainTextEdit(message, this);
  ErrorMessage->setObjectName(QStringLiteral("ErrorMessage"));
  ErrorMessage->setReadOnly(true);
  ErrorMessage->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  ButtonOK = new QPushButton(QStringLiteral("&OK"), this);
  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  ButtonOK->setDefault(true);
  connect(ButtonOK, &QPushButton::clicked, this, &BrixEMsg::ButtonOK_Click);

  auto* head = new QHBoxLayout;
  head->addWidget(Image1);
  head->addWidget(ErrorHeader, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ButtonOK);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(head);
  layout->addWidget(Line1);
  layout->addWidget(ErrorMessage, 1);
  layout->addLayout(buttons);

  setFixedSize(TwipsToPixels(kWidthTwips, logicalDpiX()), TwipsToPixels(kHeightTwips, logicalDpiY()));
}

void BrixEMsg::ButtonOK_Click() { accept(); }

}  // namespace ui
