#include "application.h"

#include <system_error>

#include "messages.h"
#include "serial_devices.h"
#include "serial_port.h"

namespace qrv {

Application::Application(StartOptions options, DisplayConfig& config, Reporter& reporter,
                         Prompts& prompts)
    : options_(std::move(options)),
      config_(config),
      reporter_(reporter),
      settings_(settings_values_, options_.settings_path, reporter),
      documents_(config, link_, reporter, prompts, &settings_),
      dispatcher_(config, link_, reporter),
      inbox_([this](const std::string& line) {
        dispatcher_.Dispatch(line);
        if (window_) window_->ConfigChanged();
        dispatched_.Notify();
      }),
      serial_(link_, [this](std::string line) {
        QMetaObject::invokeMethod(
            &line_receiver_, [this, line = std::move(line)]() mutable { inbox_.Post(line); },
            Qt::QueuedConnection);
      }) {
  // Both from the start: the monitor shows what came before it was opened, and its check
  // box may open the log at any time.
  serial_.SetTrafficLog(&traffic_log_);
  serial_.SetTrafficRecorder(&traffic_recorder_);
}

Application::~Application() {
  serial_.Stop();
  board_.reset();
}

void Application::Start() {
  DialogContext dialogs(config_, link_, reporter_, settings_, choices_);
  dialogs.SendFrame = [this](std::string_view frame) { return serial_.SendFrame(frame); };
  dialogs.dispatched = &dispatched_;
  MainWindowServices services(dialogs, documents_);
  services.stop_reader = [this] { serial_.Stop(); };
  services.port.list_devices = &ListSerialDevices;
  services.port.device = [this] { return serial_.device(); };
  services.port.open = [this] { return serial_.port_open(); };
  services.port.switch_to = [this](const std::string& device) {
    serial_.SwitchDevice(device, reporter_);
  };
  services.port.present = &DevicePresent;
  if (options_.simulate) {
    services.board_state = [this] {
      return board_ ? std::optional<BoardState>(board_->state()) : std::nullopt;
    };
  }
  services.traffic = &traffic_recorder_;
  services.traffic_log = &traffic_log_;
  window_ = std::make_unique<MainWindow>(std::move(services));
  window_->show();

  config_.reset_to_defaults();
  settings_.Load();
  OpenTrafficLog();
  serial_.OpenSerialPort(ChooseDevice(), reporter_);
  if (!serial_.Start()) reporter_.WarningBox(msg::kReadThread);
}

// A log that cannot be written is no reason not to work: the program goes on without it.
void Application::OpenTrafficLog() {
  if (options_.log_path.empty()) return;
  std::string error;
  if (!traffic_log_.Open(options_.log_path, &error))
    reporter_.WarningBox(msg::kNoTrafficLog + options_.log_path + ": " + error);
}

std::string Application::ChooseDevice() {
  if (options_.simulate) {
    try {
      board_ = std::make_unique<SimulatedBoard>();
      return board_->device();
    } catch (const std::system_error& e) {
      reporter_.WarningBox(std::string(msg::kNoSimulatedBoard) + e.what());
      return std::string();
    }
  }
  if (!options_.port.empty()) return options_.port;
  return SettingsDevice(settings_.values());
}

}  // namespace qrv
