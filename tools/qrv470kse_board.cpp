// The simulated board as a program: serves a pseudo-terminal (or a serial device wired to
// the program's port, or a TCP port, or a rack of boards on consecutive TCP ports) and logs
// every frame and answer on stderr.
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "board_line.h"
#include "board_rack.h"
#include "board_server.h"
#include "board_tool_options.h"
#include "config_files.h"
#include "qrv_version.h"
#include "response_dispatcher.h"
#include "stop_signal.h"
#include "tcp_listener.h"
#include "tcp_port.h"
#include "text_format.h"
#include "translation.h"
#include "visible_text.h"

namespace {

// Every frame and its answer, or with --quiet only those answered with an error or not at all.
void LogFrame(bool quiet, const std::string& board, const std::string& frame,
              const std::string& answer) {
  if (quiet && !answer.empty() && qrv::ErrorAnswerMeaning(answer) == nullptr) return;
  std::cerr << board << "<- " << qrv::VisibleText(frame) << "\n"
            << board << "-> "
            << (answer.empty() ? qrv::Tr("(no answer)") : qrv::VisibleText(answer)) << "\n";
}

std::string Frames(int count) {
  return qrv::Fill(qrv::TrN("{count} frame", "{count} frames", static_cast<unsigned long>(count)),
                   {{"count", std::to_string(count)}});
}

// N boards of one rack on consecutive ports, until a stop signal or every board is unplugged.
int ServeRack(const qrv::BoardToolOptions& options, const qrv::DisplayConfig& config) {
  const auto address = qrv::SplitHostPort(options.listen, true);
  std::string why;
  const bool quiet = options.quiet;
  std::unique_ptr<qrv::BoardRack> rack;
  rack = qrv::BoardRack::Listen(
      address->host, std::stoi(address->port), options.boards,
      [&options](int) { return options.board; },
      [&rack, quiet](int board, const std::string& frame, const std::string& answer) {
        LogFrame(quiet, rack->address(board) + " ", frame, answer);
      },
      &why);
  if (!rack) {
    std::cerr << "qrv470kse-board: " << why << "\n";
    return 1;
  }
  for (int i = 0; i < rack->size(); ++i) {
    rack->Load(i, config);
    std::cout << qrv::kTcpScheme << rack->address(i) << "\n";
  }
  std::cout.flush();
  qrv::StopSignal stop;
  std::thread serving([&rack] {
    rack->Run();
    qrv::StopSignal::Raise();
  });
  stop.Wait();
  rack->Stop();
  serving.join();
  int frames = 0;
  for (int i = 0; i < rack->size(); ++i) frames += rack->frames_received(i);
  std::cerr << qrv::Fill(
                   qrv::Tr("stopped after {frames} on {boards} boards, {unplugged} unplugged"),
                   {{"frames", Frames(frames)},
                    {"boards", std::to_string(rack->size())},
                    {"unplugged", std::to_string(rack->unplugged())}})
            << "\n";
  return 0;
}

// One board on a pseudo-terminal, a serial device or a TCP port.
int ServeBoard(const qrv::BoardToolOptions& options, const qrv::DisplayConfig& config) {
  std::string why;
  qrv::StopSignal stop;
  qrv::BoardLine line;
  const std::string& device = options.device;
  const std::string& listen = options.listen;
  if (!device.empty() || !listen.empty()) {
    qrv::PortOpenResult port =
        device.empty() ? qrv::ListenTcpPort(listen) : qrv::OpenPortDevice(device);
    if (port.status != qrv::PortStatus::kOpened) {
      std::cerr << "qrv470kse-board: " << qrv::PortErrorText(device.empty() ? listen : device, port)
                << "\n";
      return 1;
    }
    line.device = std::move(port.device);
    if (device.empty()) {
      std::cout << qrv::kTcpScheme << qrv::ListeningAddress(*line.device) << std::endl;
    } else {
      std::cerr << qrv::Fill(qrv::Tr("serving {device}"), {{"device", device}}) << "\n";
    }
  } else if (auto pty = qrv::MakePseudoTerminalLine(&why)) {
    line = std::move(*pty);
    std::cout << line.path << std::endl;
  } else {
    std::cerr << "qrv470kse-board: " << why << "\n";
    return 1;
  }
  qrv::BoardServer board(
      std::move(line.device), options.board,
      [quiet = options.quiet](const std::string& frame, const std::string& answer) {
        LogFrame(quiet, "", frame, answer);
      });
  // An unplugged board lets go of its line at once and ends.
  board.OnUnplug([&line] {
    if (line.unplug) line.unplug();
    qrv::StopSignal::Raise();
  });
  board.Load(config);
  board.Start();
  stop.Wait();
  board.Stop();
  std::cerr << qrv::Fill(qrv::Tr("stopped after {frames}"),
                         {{"frames", Frames(board.frames_received())}})
            << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  qrv::TakeOperatorLocale();
  std::string why;
  const auto options =
      qrv::ParseBoardToolOptions(std::vector<std::string>(argv + 1, argv + argc), &why);
  if (!options) {
    std::cerr << "qrv470kse-board: " << why << "\n"
              << qrv::Tr("Run `qrv470kse-board --help` for the options.\n");
    return 2;
  }
  if (options->help) {
    std::cout << qrv::BoardToolUsage();
    return 0;
  }
  if (options->version) {
    std::cout << "qrv470kse-board " QRV_VERSION "\n";
    return 0;
  }
  qrv::DisplayConfig config;
  if (!options->load.empty() && !qrv::LoadConfigFile(options->load, config, nullptr, &why)) {
    std::cerr << "qrv470kse-board: " << why << "\n";
    return 1;
  }
  return options->boards > 0 ? ServeRack(*options, config) : ServeBoard(*options, config);
}
