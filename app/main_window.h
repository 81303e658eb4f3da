#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

#include "comm_settings_dialog.h"
#include "corner_gesture.h"
#include "dialog_context.h"
#include "display_config.h"
#include "document_commands.h"
#include "link_state.h"
#include "link_watchdog.h"
#include "preview_window.h"
#include "traffic_monitor.h"

class QDialog;

namespace qrv {

class StatusPanel;

// What the main window works with; the application wires it up, by name.
struct MainWindowServices {
  MainWindowServices(DialogContext dialogs, DocumentCommands& documents)
      : dialogs(std::move(dialogs)), documents(documents) {}

  // What the setting dialogs work on; the window tells its ConfigChanged itself.
  DialogContext dialogs;
  DocumentCommands& documents;
  // Wakes the reader thread and waits for it to end.
  std::function<void()> stop_reader;
  // The serial devices and the one in use, for the communication settings.
  PortControl port = {};
  // What the simulated board holds, for the preview; empty without one.
  PreviewWindow::BoardSource board_state = {};
  // What the link carried and its log, for the traffic monitor; the monitor needs both.
  TrafficRecorder* traffic = nullptr;
  TrafficLog* traffic_log = nullptr;
};

// "For QRV-470K Program": the menu, the status panel, the answer watchdog, the corner
// gesture and the way out.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kOuterWidth = 640;
  static constexpr int kOuterHeight = 200;

  explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
  ~MainWindow() override;

  // A menu command by its id; ids without a command do nothing.
  void Dispatch(int command_id);
  // One expiry of the watchdog timer.
  void OnWatchdogTimer();
  // The close box and command 150: asks about unsaved changes, then stops the reader and
  // ends the event loop with exit code 0.
  void ExitApplication();
  // The configuration (or the simulated board) changed: a dialog stored a choice, a file
  // was opened, an answer was dispatched. The windows that show it follow.
  void ConfigChanged();

  const QTimer& watchdog_timer() const { return watchdog_; }
  const CornerGesture& corner_gesture() const { return corner_; }
  StatusPanel& status_panel() const { return *panel_; }

  // How modal dialogs are run (exec by default); tests look at the dialog instead.
  void set_dialog_runner(std::function<void(QDialog&)> runner) { run_dialog_ = std::move(runner); }
  // How the event loop is ended (QCoreApplication::exit by default).
  void set_quit(std::function<void(int)> quit) { quit_ = std::move(quit); }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void RunDialog(QDialog& dialog);
  void RunFileCommand(bool (DocumentCommands::*command)());
  template <typename Dialog>
  void RunSettingDialog();
  void FitOuterSize();

  MainWindowServices services_;
  StatusPanel* panel_;
  QTimer watchdog_;
  bool watchdog_started_ = false;
  bool placed_ = false;                     // moved to the corner once the window manager framed it
  std::unique_ptr<PreviewWindow> preview_;  // opened once, then shown again
  std::unique_ptr<TrafficMonitor> monitor_;  // likewise
  CornerGesture corner_;
  std::map<int, std::function<void()>> commands_;
  std::function<void(QDialog&)> run_dialog_;
  std::function<void(int)> quit_;
};

}  // namespace qrv
