#include "ui/window/bars.h"

#include <QStatusBar>

#include "base/text.h"
#include "ui/common/fonts.h"
#include "ui/common/qtext.h"
#include "ui/common/units.h"

namespace ui {

TitleBar::TitleBar(QWidget* parent) : QFrame(parent), text_(new QLabel(QStringLiteral("Overview"), this)) {
  setObjectName(QStringLiteral("BarTop"));
  setFrameShape(QFrame::NoFrame);
  text_->setObjectName(QStringLiteral("BarTopText"));
  QFont titleFont = TahomaFont();
  titleFont.setPointSizeF(12);
  titleFont.setBold(true);
  text_->setFont(titleFont);
  const int dpi = logicalDpiX();
  text_->setGeometry(TwipsToPixels(60, dpi), 0, TwipsToPixels(8175, dpi), TwipsToPixels(495, dpi));
}

StatusPanel::StatusPanel(QStatusBar* bar) : QLabel(QStringLiteral("Ready")) {
  setObjectName(QStringLiteral("StatusPanel1"));
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setFont(TahomaFont());
  bar->setSizeGripEnabled(true);
  bar->addWidget(this, 1);
}

bool StatusPanel::ShowStatus(const QString& status) {
  const bool busy = mission::IsGiven(FromQString(status));
  setText(busy ? status : QStringLiteral("Ready"));
  repaint();
  return busy;
}

}  // namespace ui
