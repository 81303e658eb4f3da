#pragma once

#include <QObject>
#include <memory>

#include "dialog_context.h"
#include "dispatch_notifier.h"
#include "document_commands.h"
#include "line_inbox.h"
#include "link_state.h"
#include "main_window.h"
#include "prompts.h"
#include "reporter.h"
#include "response_dispatcher.h"
#include "serial_link.h"
#include "settings_store.h"
#include "simulated_board.h"
#include "start_options.h"
#include "traffic_log.h"
#include "traffic_recorder.h"

namespace qrv {

// Builds the program and wires its parts together: the configuration, the link and its
// reader thread, the dispatcher on the GUI thread, the main window, and the simulated board
// when asked for.
class Application {
 public:
  Application(StartOptions options, DisplayConfig& config, Reporter& reporter, Prompts& prompts);
  // Stops the reader thread (and the simulated board) before anything it uses goes away.
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up: the main window first, so the port warnings come up with it already there;
  // then the configuration's start values, the settings, the port and the reader thread.
  void Start();

  MainWindow& window() { return *window_; }
  SerialLink& serial() { return serial_; }
  LinkState& link() { return link_; }
  TrafficRecorder& traffic() { return traffic_recorder_; }
  const SerialSettings& settings() const { return settings_.values(); }

 private:
  std::string ChooseDevice();
  void OpenTrafficLog();

  StartOptions options_;
  DisplayConfig& config_;
  Reporter& reporter_;
  LinkState link_;
  SerialSettings settings_values_;
  SettingsStore settings_;
  DialogChoices choices_;
  DocumentCommands documents_;
  ResponseDispatcher dispatcher_;
  DispatchNotifier dispatched_;
  LineInbox inbox_;
  // Lives on the GUI thread: lines from the reader are queued to it.
  QObject line_receiver_;
  std::unique_ptr<SimulatedBoard> board_;
  // Outlives the reader thread, which writes to it.
  TrafficLog traffic_log_;
  TrafficRecorder traffic_recorder_;
  SerialLink serial_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace qrv
