#include "ui/window/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "applib/position.h"
#include "ui/common/units.h"
#include "ui/rules/rules.h"

namespace ui {

namespace {

int Pixels(long long twips, double t) { return static_cast<int>(std::llround(static_cast<double>(twips) / t)); }

long long Twips(int pixels, double t) { return std::llround(pixels * t); }

}  // namespace

bool RestorePlacement(QWidget& window, const applib::Library& library, mission::TextView key) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return false;
  const double t = TwipsPerPixel(window);
  const QSize size = screen->size();
  const auto placement = applib::RestorePosition(library, key, Twips(size.width(), t), Twips(size.height(), t));
  if (!placement) return false;
  window.setGeometry(Pixels(placement->left, t), Pixels(placement->top, t), Pixels(placement->width, t),
                     Pixels(placement->height, t));
  if (placement->state == applib::kWindowMaximised) window.setWindowState(Qt::WindowMaximized);
  if (placement->state == applib::kWindowMinimised) window.setWindowState(Qt::WindowMinimized);
  return true;
}

void PlaceFirstWindow(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  const Bounds b = FirstWindowBounds({free.x(), free.y(), free.width(), free.height()}, window.width(), window.height());
  window.setGeometry(b.left, b.top, b.width, b.height);
}

void SavePlacement(const QWidget& window, const applib::Library& library, mission::TextView key) {
  const double t = TwipsPerPixel(window);
  const QRect normal = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
  applib::Placement placement;
  placement.state = window.isMaximized()   ? applib::kWindowMaximised
                    : window.isMinimized() ? applib::kWindowMinimised
                                           : applib::kWindowNormal;
  placement.left = Twips(normal.x(), t);
  placement.top = Twips(normal.y(), t);
  placement.width = Twips(normal.width(), t);
  placement.height = Twips(normal.height(), t);
  applib::SavePosition(library, key, placement);
}

}  // namespace ui
