#pragma once
// The library's user interface in Qt: the error dialog for fatal set-up
// errors, the OK/Cancel warnings, font registration and the splash window.
#include <memory>

#include <QString>

#include "applib/platform.h"

class QMessageBox;
class QWidget;

namespace ui {

class BrixSplash;

// The warning with OK and Cancel; with cancelIsDefault, Enter means Cancel.
std::unique_ptr<QMessageBox> MakeOkCancelBox(const QString& title, const QString& text, bool cancelIsDefault);

// A question with Yes and No, kept in front of the splash window.
std::unique_ptr<QMessageBox> MakeYesNoBox(const QString& title, const QString& text);

class QtFrontend : public applib::Frontend {
 public:
  QtFrontend();
  ~QtFrontend() override;

  void ShowFatalError(applib::TextView title, applib::TextView message) override;
  bool AskOkCancel(applib::TextView title, applib::TextView message, bool cancel_is_default) override;
  void RegisterFont(applib::TextView path) override;
  // Shows the splash window and paints it once the window system has put it
  // on the screen (a window manager does that a moment after it is shown).
  void ShowSplash(const applib::SplashScreen& splash) override;
  void CloseSplash() override;
  // Waits are cut into slices of 20 ms, with the windows painted between.
  std::uint32_t PaintInterval() const override;
  void Paint() override;

  // The splash window while it is up, else null.
  BrixSplash* splash() const { return splash_.get(); }

 private:
  std::unique_ptr<BrixSplash> splash_;
};

}  // namespace ui
