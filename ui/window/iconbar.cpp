#include "ui/window/iconbar.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/common/fonts.h"
#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/rules/rules.h"

namespace ui {

namespace {

// Design geometry inside the strip, twips.
constexpr int kIconLeft = 300;
constexpr int kIconSize = 480;
constexpr int kLabelWidth = 1155;
constexpr int kLabelHeight = 195;
// A caption wider than the strip ("Command Briefing") takes a second line,
// which still ends above the next icon.
constexpr int kCaptionLines = 2;
constexpr int kCaptionOffset = 540;  // icon top to caption top

// The pictures, by mode, in the resources as ":/icons/mode<n>_<name>.png".
constexpr std::array<const char*, views::kModeCount + 1> kIconNames = {
    "",      "general",  "goals",    "directives",       "events",     "messages", "ships",
    "wings", "reinforcements", "variables", "briefing", "command_briefing", "debriefing", "summary"};

}  // namespace

IconBar::IconBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("BarLeft"));
  setFrameShape(QFrame::NoFrame);
  setMouseTracking(true);

  for (int i = 1; i <= views::kModeCount; ++i) {
    const auto idx = static_cast<std::size_t>(i);
    QLabel* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("IconMode%1").arg(i));
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/mode%1_%2.png").arg(i).arg(QLatin1String(kIconNames[idx]))));
    icon->setAlignment(Qt::AlignCenter);
    icon->setGeometry(Px(kIconLeft), 0, Px(kIconSize), Px(kIconSize));
    iconMode_[idx] = icon;

    QLabel* label = new QLabel(ToQString(views::ModeOf(i).title), this);
    label->setObjectName(QStringLiteral("LabelMode%1").arg(i));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(TahomaFont());
    label->setWordWrap(true);
    label->setGeometry(0, 0, Px(kLabelWidth), Px(kLabelHeight * kCaptionLines));
    labelMode_[idx] = label;

    for (QLabel* w : {icon, label}) {
      w->setMouseTracking(true);
      w->installEventFilter(this);
      w->hide();
    }
  }

  // The hover frame: left, top, right, bottom lines. Top and left in the
  // title-bar text colour, right and bottom black, for a raised look.
  for (std::size_t i = 0; i < iconO0_.size(); ++i) {
    QFrame* line = new QFrame(this);
    line->setObjectName(QStringLiteral("IconO0_%1").arg(i));
    const bool light = i == 0 || i == 1;
    line->setStyleSheet(light ? QStringLiteral("background: palette(highlighted-text);")
                              : QStringLiteral("background: black;"));
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->hide();
    iconO0_[i] = line;
  }

  for (int i = 1; i <= 2; ++i) {
    QPushButton* button = new QPushButton(i == 1 ? QStringLiteral("up") : QStringLiteral("down"), this);
    button->setObjectName(QStringLiteral("BarLeftScroll%1").arg(i));
    button->setFont(TahomaFont());
    button->setGeometry(0, 0, Px(kLabelWidth), Px(kLabelHeight));
    button->hide();
    connect(button, &QPushButton::clicked, this, [this, i] { BarLeftScroll_Click(i); });
    barLeftScroll_[static_cast<std::size_t>(i)] = button;
  }
}

int IconBar::Px(double twips) const { return TwipsToPixels(twips, logicalDpiX()); }

void IconBar::SetCurrentMode(int mode) {
  for (int i = 1; i <= views::kModeCount; ++i)
    iconMode_[static_cast<std::size_t>(i)]->setFrameStyle(i == mode ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
}

void IconBar::Place(const Panes& p) {
  firstIconIndex_ = p.firstIconIndex;
  for (int i = 1; i <= views::kModeCount; ++i) {
    const auto idx = static_cast<std::size_t>(i);
    iconMode_[idx]->move(Px(kIconLeft), Px(p.iconTop[idx]));
    labelMode_[idx]->move(0, Px(p.iconTop[idx] + kCaptionOffset));
    iconMode_[idx]->setVisible(p.iconVisible[idx]);
    labelMode_[idx]->setVisible(p.iconVisible[idx]);
  }
  modesOffered_ = p.modesEnabled;
  barLeftScroll_[1]->setVisible(p.upVisible);
  barLeftScroll_[2]->setVisible(p.downVisible);
  barLeftScroll_[2]->move(0, Px(p.downTop));
  for (QPushButton* b : {barLeftScroll_[1], barLeftScroll_[2]}) b->raise();
}

void IconBar::HideFrameOnMouseMoveOver(QWidget* widget) {
  widget->setMouseTracking(true);
  widget->installEventFilter(this);
}

// --- Handlers ---

void IconBar::SetModeAvailable(int mode, bool available) {
  if (mode < 1 || mode > views::kModeCount) return;
  iconMode_[static_cast<std::size_t>(mode)]->setEnabled(available);
  labelMode_[static_cast<std::size_t>(mode)]->setEnabled(available);
}

void IconBar::IconMode_Click(int index) {
  // The icons are offered exactly while the View menu's mode entries are.
  if (!modesOffered_ || !iconMode_[static_cast<std::size_t>(index)]->isEnabled()) return;
  emit modeChosen(index);
  ResetButtons();
}

void IconBar::IconMode_MouseMove(int index) {
  const QLabel* icon = iconMode_[static_cast<std::size_t>(index)];
  if (!icon->isEnabled()) {
    ResetButtons();
    return;
  }
  const double t = TwipsPerPixel(*this);
  const HoverFrame f = PlaceHoverFrame(icon->x() * t, icon->y() * t, icon->width() * t, icon->height() * t, t, t);
  const auto place = [this](QFrame* frame, const Line& line) {
    const int x1 = Px(line.x1), y1 = Px(line.y1), x2 = Px(line.x2), y2 = Px(line.y2);
    frame->setGeometry(x1, y1, x2 - x1 + 1, y2 - y1 + 1);
    frame->show();
    frame->raise();
  };
  place(iconO0_[0], f.left);
  place(iconO0_[1], f.top);
  place(iconO0_[2], f.right);
  place(iconO0_[3], f.bottom);
}

void IconBar::BarLeft_MouseMove() { ResetButtons(); }

void IconBar::ResetButtons() {
  for (QFrame* line : iconO0_) line->hide();
}

void IconBar::BarLeftScroll_Click(int index) {
  // No range check: a button shows only while a scroll its way is possible.
  firstIconIndex_ += index == 1 ? -1 : 1;
  emit scrolled();
}

// --- Mouse ---

int IconBar::IconIndexOf(const QObject* watched) const {
  for (int i = 1; i <= views::kModeCount; ++i) {
    if (watched == iconMode_[static_cast<std::size_t>(i)]) return i;
  }
  return 0;
}

bool IconBar::eventFilter(QObject* watched, QEvent* event) {
  const int icon = IconIndexOf(watched);
  if (event->type() == QEvent::MouseMove) {
    if (icon != 0) {
      IconMode_MouseMove(icon);
      return true;  // not on to the strip, whose own move hides the frame
    }
    ResetButtons();
    return false;
  }
  if (event->type() == QEvent::MouseButtonRelease && icon != 0 &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    IconMode_Click(icon);
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

void IconBar::mouseMoveEvent(QMouseEvent* event) {
  BarLeft_MouseMove();
  QFrame::mouseMoveEvent(event);
}

}  // namespace ui
