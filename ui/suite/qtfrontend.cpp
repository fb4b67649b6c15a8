#include "ui/suite/qtfrontend.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFontDatabase>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/suite/brixemsg.h"
#include "ui/suite/brixsplash.h"

namespace ui {

namespace {

// How long the splash window waits for the window system to show it.
constexpr int kExposeWaitMs = 1000;

}  // namespace

std::unique_ptr<QMessageBox> MakeOkCancelBox(const QString& title, const QString& text, bool cancelIsDefault) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel);
  box->setDefaultButton(cancelIsDefault ? QMessageBox::Cancel : QMessageBox::Ok);
  box->setWindowFlag(Qt::WindowStaysOnTopHint);
  return box;
}

std::unique_ptr<QMessageBox> MakeYesNoBox(const QString& title, const QString& text) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
  box->setDefaultButton(QMessageBox::Yes);
  box->setWindowFlag(Qt::WindowStaysOnTopHint);
  return box;
}

QtFrontend::QtFrontend() = default;

QtFrontend::~QtFrontend() = default;

void QtFrontend::ShowFatalError(applib::TextView title, applib::TextView message) {
  // The splash window may be up; the error must not hide behind it.
  splash_.reset();
  BrixEMsg dialog(ToQString(title), ToQString(message));
  dialog.exec();
}

bool QtFrontend::AskOkCancel(applib::TextView title, applib::TextView message, bool cancel_is_default) {
  return MakeOkCancelBox(ToQString(title), ToQString(message), cancel_is_default)->exec() == QMessageBox::Ok;
}

void QtFrontend::RegisterFont(applib::TextView path) { QFontDatabase::addApplicationFont(ToQString(path)); }

void QtFrontend::ShowSplash(const applib::SplashScreen& screen) {
  splash_ = std::make_unique<BrixSplash>();
  splash_->setProductName(ToQString(screen.name), ToQString(screen.name_suffix));
  splash_->setAccentColour(ColourFromBgr(screen.accent));
  splash_->setVersionLine(ToQString(screen.version));
  splash_->setCreditLine(ToQString(screen.credit));
  if (!screen.picture.empty()) splash_->setSplashPicture(ToQString(screen.picture));
  splash_->setSuitePicture(ToQString(screen.suite_picture));
  if (const QScreen* display = QGuiApplication::primaryScreen()) {
    splash_->move(display->availableGeometry().center() - splash_->rect().center());
  }
  splash_->show();
  // Until the window system has put the window on the screen it cannot be
  // painted, and start-up would go on with a black rectangle there.
  const QDeadlineTimer deadline(kExposeWaitMs);
  while (!(splash_->windowHandle() && splash_->windowHandle()->isExposed()) && !deadline.hasExpired()) {
    Paint();
    QThread::msleep(5);
  }
  splash_->repaint();
  Paint();
}

void QtFrontend::CloseSplash() { splash_.reset(); }

std::uint32_t QtFrontend::PaintInterval() const { return 20; }

void QtFrontend::Paint() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace ui
