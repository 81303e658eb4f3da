#pragma once

#include <QDialog>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "application.h"
#include "recording_reporter.h"
#include "scripted_prompts.h"

namespace qrv {

// The whole program as start-up builds it, with every box recorded, questions and file
// dialogs scripted, dialogs looked at instead of run, and the quit request recorded.
struct AppHarness {
  QTemporaryDir dir;
  std::unique_ptr<DisplayConfig> config = std::make_unique<DisplayConfig>();
  RecordingReporter reporter;
  ScriptedPrompts prompts;
  std::vector<int> opened;  // template ids of the dialogs opened
  std::vector<int> quit_codes;
  std::function<void(QDialog&)> on_dialog;
  std::unique_ptr<Application> app;

  // simulate: the board in the program; otherwise port, or a device that does not exist.
  // boxes, when given, shows the boxes instead of recording them.
  explicit AppHarness(bool simulate, std::string port = {}, Reporter* boxes = nullptr) {
    StartOptions options;
    options.settings_path = dir.filePath(QStringLiteral("qrv470kse.ini")).toStdString();
    if (port.empty() && !simulate) port = dir.filePath(QStringLiteral("no-tty")).toStdString();
    options.port = port;
    options.simulate = simulate;
    app = std::make_unique<Application>(options, *config, boxes ? *boxes : reporter, prompts);
  }

  MainWindow& Start() {
    app->Start();
    MainWindow& window = app->window();
    window.set_dialog_runner([this](QDialog& dialog) {
      opened.push_back(dialog.property("templateId").toInt());
      if (on_dialog) on_dialog(dialog);
    });
    window.set_quit([this](int code) { quit_codes.push_back(code); });
    return window;
  }
};

}  // namespace qrv
