// The viewer with its window: the start-up sequence on the Qt user interface,
// then the event loop until the main window closes.
#pragma once

#include <memory>

#include "app/startup.h"

namespace ui {
class FSMMainForm;
class HelpMenu;
}  // namespace ui

namespace app {

// Start-up's welcome question and main window on Qt.
class QtStartupHost : public StartupHost {
 public:
  explicit QtStartupHost(applib::Library& library);
  ~QtStartupHost() override;

  bool AskYesNo(TextView title, TextView text) override;
  void CreateMainWindow() override;
  void ShowMainWindow() override;
  void LoadFile(TextView path) override;

  // The main window once created.
  ui::FSMMainForm* window() const { return window_.get(); }

 private:
  applib::Library& library_;
  std::unique_ptr<ui::FSMMainForm> window_;
  std::unique_ptr<ui::HelpMenu> help_;
};

// Runs the program with its window; the result is the exit status.
int RunViewer(int argc, char** argv);

}  // namespace app
