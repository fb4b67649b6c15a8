// Test doubles of the platform and the frontend: they record what the
// library asks for, and Exit throws instead of ending the test program.
#pragma once

#include <vector>

#include "applib/platform.h"

namespace applib::testing {

struct ExitCalled {
  int status;
};

class FakePlatform : public Platform {
 public:
  Text config_file;
  Text windows_dir = u"/fake/windows";
  Text system_dir = u"/fake/system";
  std::vector<Text> font_dirs;
  Text user_font_dir = u"/fake/user-fonts";
  Text executable = u"/opt/suite/bin/torvk32";
  std::vector<std::vector<Text>> started;
  std::vector<Text> opened;
  struct Registration {
    DocumentType type;
    Text script_path;
  };
  std::vector<Registration> registered;
  std::vector<std::uint32_t> sleeps;

  Text BrixConfigFile() override { return config_file; }
  Text WindowsDir() override { return windows_dir; }
  Text SystemDir() override { return system_dir; }
  std::vector<Text> FontDirs() override { return font_dirs; }
  Text UserFontDir() override { return user_font_dir; }
  Text ExecutablePath() override { return executable; }
  bool StartProgram(const std::vector<Text>& argv) override {
    started.push_back(argv);
    return true;
  }
  void OpenDocument(TextView target) override { opened.emplace_back(target); }
  void RegisterDocumentType(const DocumentType& type, TextView script_path) override {
    registered.push_back({type, Text(script_path)});
  }
  void Sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
  [[noreturn]] void Exit(int status) override { throw ExitCalled{status}; }
};

class FakeFrontend : public Frontend {
 public:
  struct Question {
    Text title, message;
    bool cancel_is_default;
  };
  std::vector<std::pair<Text, Text>> fatal_errors;
  std::vector<Question> questions;
  std::vector<bool> answers;  // OK (true) or Cancel, in order; OK when they run out
  std::vector<Text> fonts;
  std::vector<SplashScreen> splashes;
  int splash_closed = 0;
  std::uint32_t paint_interval = 0;  // windows to keep painted while waiting
  std::vector<std::size_t> paints;   // the number of sleeps so far at each Paint
  std::vector<std::uint32_t>* sleeps = nullptr;  // the platform's, to note when painting happened

  void ShowFatalError(TextView title, TextView message) override { fatal_errors.emplace_back(title, message); }
  bool AskOkCancel(TextView title, TextView message, bool cancel_is_default) override {
    questions.push_back({Text(title), Text(message), cancel_is_default});
    return questions.size() > answers.size() || answers[questions.size() - 1];
  }
  void RegisterFont(TextView path) override { fonts.emplace_back(path); }
  void ShowSplash(const SplashScreen& splash) override { splashes.push_back(splash); }
  void CloseSplash() override { ++splash_closed; }
  std::uint32_t PaintInterval() const override { return paint_interval; }
  void Paint() override { paints.push_back(sleeps ? sleeps->size() : 0); }
};

}  // namespace applib::testing
