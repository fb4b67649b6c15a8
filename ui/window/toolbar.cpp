#include "ui/window/toolbar.h"

#include <QAction>

#include "ui/common/units.h"

namespace ui {

namespace {

// Design geometry, twips.
constexpr int kToolbar2Height = 450;
constexpr int kToolbar1Height = 630;
constexpr int kButtonIconSize = 360;

}  // namespace

Toolbar::Toolbar(QWidget* clientArea) : QToolBar(clientArea), toolbar1_(new QWidget(clientArea)) {
  setObjectName(QStringLiteral("Toolbar2"));
  setMovable(false);
  setIconSize(QSize(Px(kButtonIconSize), Px(kButtonIconSize)));
  AddButton(QStringLiteral("FileOpenFS1"), QStringLiteral(":/icons/open_fs1.png"), QStringLiteral("Open FS1 mission"));
  AddButton(QStringLiteral("FileOpenFS2"), QStringLiteral(":/icons/open_fs2.png"), QStringLiteral("Open FS2 mission"));
  treeview_ =
      AddButton(QStringLiteral("treeview"), QStringLiteral(":/icons/treeview.png"), QStringLiteral("Show TreeView"));
  treeview_->setCheckable(true);

  // The band lies behind the top bar and the head of the icon bar.
  toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar1_->setAutoFillBackground(true);
  toolbar1_->lower();
}

int Toolbar::Px(double twips) const { return TwipsToPixels(twips, logicalDpiX()); }

QAction* Toolbar::AddButton(const QString& key, const QString& icon, const QString& tip) {
  QAction* action = addAction(QIcon(icon), tip);
  action->setObjectName(key);
  action->setToolTip(tip);
  connect(action, &QAction::triggered, this, [this, key] { emit buttonClicked(key); });
  if (QWidget* w = widgetForAction(action)) w->setObjectName(QStringLiteral("Toolbar2_") + key);
  return action;
}

bool Toolbar::TreeViewPressed() const { return treeview_->isChecked(); }

void Toolbar::SetTreeViewPressed(bool pressed) { treeview_->setChecked(pressed); }

void Toolbar::FitWidth(int width) {
  setGeometry(0, 0, width, Px(kToolbar2Height));
  toolbar1_->setGeometry(0, Px(kToolbar2Height), width, Px(kToolbar1Height));
}

}  // namespace ui
