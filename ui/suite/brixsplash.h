#pragma once
// BrixSplash: the splash window shown while the program starts. It carries
// the program's name (drawn twice, the second copy as a shadow 4 pixels
// lower right) with the accent-coloured «32» after it, the version and credit
// lines, the splash picture, the suite picture and a few fixed texts. The
// window has no behaviour of its own.
#include <QColor>
#include <QWidget>

class QLabel;

namespace ui {

class BrixSplash : public QWidget {
  Q_OBJECT

 public:
  explicit BrixSplash(QWidget* parent = nullptr);

  // Shows name in both name labels, suffix («32») after it, and places the
  // shadow label and the suffix.
  void setProductName(const QString& name, const QString& suffix);
  void setAccentColour(const QColor& colour);
  void setVersionLine(const QString& text);
  void setCreditLine(const QString& text);
  // Each loads a picture file; a file that cannot be loaded leaves the
  // picture area empty and gives false.
  bool setSplashPicture(const QString& path);
  bool setSuitePicture(const QString& path);

 private:
  int PxX(int twips) const;
  int PxY(int twips) const;
  QLabel* MakeLabel(const char* name, const QString& text, int leftTwips, int topTwips);
  static bool LoadPicture(QLabel* image, const QString& path);

  QLabel* Image1;
  QLabel* ImageQX;
  QLabel* ImageBuiltIn;
  QLabel* Label1;
  QLabel* lblPlatform;
  QLabel* lblProductName[2];
  QLabel* lbl32;
  QLabel* lblVersion;
  QLabel* lblCredit;
};

}  // namespace ui
