// IconBar: the strip at the window's left (BarLeft) that offers the view
// modes as large icons. It owns the icons (IconMode1..13) with their
// captions (LabelMode1..13, the modes' titles: their menu captions without
// the access-key mark), the hover frame around the icon under the mouse
// (the lines IconO0_0..3), the scroll buttons "up" and "down"
// (BarLeftScroll1, BarLeftScroll2) and the scroll position FirstIconIndex.
//
// Which icons show and where is the pane layout's decision, handed in with
// Place. A click on an offered icon is reported by modeChosen, a scroll by
// scrolled, after which the window lays itself out again.
#pragma once

#include <QFrame>
#include <array>

#include "ui/rules/layout.h"
#include "views/modes.h"

class QLabel;
class QPushButton;

namespace ui {

class IconBar : public QFrame {
  Q_OBJECT

 public:
  explicit IconBar(QWidget* parent = nullptr);

  // The icon of the mode shown carries a border, the others none.
  void SetCurrentMode(int mode);
  // Shows the icons, their captions and the scroll buttons where the layout
  // put them, and takes the layout's scroll position (a taller bar scrolls
  // back); icons are offered for a click while the layout enables the modes.
  void Place(const Panes& panes);
  // Whether the file shown has view `mode`: an icon of a view it has not (a
  // campaign's missing mission views) is greyed and offers no click.
  void SetModeAvailable(int mode, bool available);
  // The mode whose icon the first slot shows; 1 at the start.
  int FirstIconIndex() const { return firstIconIndex_; }
  // From now on a mouse move over `widget` hides the hover frame, as one
  // over the strip itself does.
  void HideFrameOnMouseMoveOver(QWidget* widget);

 public slots:
  // Hides the hover frame.
  void ResetButtons();

 signals:
  void modeChosen(int mode);
  void scrolled();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void IconMode_Click(int index);
  void IconMode_MouseMove(int index);
  void BarLeft_MouseMove();
  void BarLeftScroll_Click(int index);
  int IconIndexOf(const QObject* watched) const;
  int Px(double twips) const;

  // Indexed by mode; element 0 stays empty.
  std::array<QLabel*, views::kModeCount + 1> iconMode_{};
  std::array<QLabel*, views::kModeCount + 1> labelMode_{};
  std::array<QFrame*, 4> iconO0_{};                // left, top, right, bottom
  std::array<QPushButton*, 3> barLeftScroll_{};  // 1 up, 2 down
  int firstIconIndex_ = 1;
  bool modesOffered_ = false;
};

}  // namespace ui
