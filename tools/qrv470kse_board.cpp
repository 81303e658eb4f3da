// The simulated board as a program: serves a pseudo-terminal (or a serial device wired to
// the program's port, or a TCP port) and logs every frame and answer on stderr.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "board_line.h"
#include "board_server.h"
#include "config_files.h"
#include "qrv_version.h"
#include "response_dispatcher.h"
#include "stop_signal.h"
#include "tcp_listener.h"
#include "tcp_port.h"
#include "translation.h"
#include "visible_text.h"

namespace {

int Usage(std::ostream& out, int status) {
  out << "usage: qrv470kse-board [--device DEV | --listen HOST:PORT] [--load FILE.dat]\n"
         "                       [--fault N:WHAT]...\n"
         "                       [--delay MS] [--latency MS] [--split BYTES[:GAP_MS]]\n"
         "                       [--baud RATE]\n"
         "       qrv470kse-board --help | --version\n"
         "Plays a QRV-470K board. Without --device or --listen it creates a pseudo-terminal\n"
         "(not on Windows) and prints its path on stdout; point the program at that path.\n"
         "Each frame and answer is logged on stderr. Ends on Ctrl-C or SIGTERM.\n"
         "  --device DEV     serve a serial device (e.g. a null-modem cable, or COM2 of a\n"
         "                   virtual null-modem pair) instead\n"
         "  --listen H:P     serve TCP port P of address H (127.0.0.1:4001) instead, one\n"
         "                   connection at a time, and print tcp://H:P on stdout (port 0:\n"
         "                   one the system chooses)\n"
         "  --load FILE.dat  start with the settings of a configuration file\n"
         "  --fault N:WHAT   misbehave at the N-th frame (0: every frame); WHAT is one of\n"
         "                   E0 E1 E2 E3 GN MENU (that answer), silent (no answer),\n"
         "                   garbage[=TEXT] (TEXT, or some junk, instead of an answer),\n"
         "                   GO (claim success but keep the frame's old settings),\n"
         "                   unplug (no answer; the line is let go and the board ends)\n"
         "  --delay MS       wait MS milliseconds before each answer, as a slow board:\n"
         "                   later frames wait too\n"
         "  --latency MS     each answer arrives MS milliseconds late, as over a far\n"
         "                   network: later frames are taken and answered meanwhile\n"
         "  --split B[:G]    write answers in pieces of B bytes, G ms apart\n"
         "  --baud RATE      model a line of RATE baud: 11 bit times per byte each way,\n"
         "                   and each frame answered only once all of it has arrived\n";
  return status;
}

std::optional<int> Number(const std::string& text) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != text.npos)
    return std::nullopt;
  return std::stoi(text);
}

std::optional<qrv::BoardFault> ParseFault(const std::string& spec) {
  const auto colon = spec.find(':');
  if (colon == spec.npos) return std::nullopt;
  const auto frame = Number(spec.substr(0, colon));
  if (!frame) return std::nullopt;
  const std::string what = spec.substr(colon + 1);
  qrv::BoardFault fault;
  fault.frame = *frame;
  if (what == "GO" || qrv::ErrorAnswerMeaning(what + "\r\n") != nullptr) {
    fault.text = what;
  } else if (what == "silent") {
    fault.kind = qrv::BoardFault::Kind::kSilent;
  } else if (what == "unplug") {
    fault.kind = qrv::BoardFault::Kind::kUnplug;
  } else if (what.rfind("garbage", 0) == 0) {
    fault.kind = qrv::BoardFault::Kind::kGarbage;
    fault.text = what.size() > 8 && what[7] == '=' ? what.substr(8) : "\x7f#?Z\r\n";
  } else {
    return std::nullopt;
  }
  return fault;
}

}  // namespace

int main(int argc, char** argv) {
  qrv::TakeOperatorLocale();
  qrv::BoardOptions options;
  std::string device, listen, load;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") return Usage(std::cout, 0);
    if (arg == "--version") {
      std::cout << "qrv470kse-board " QRV_VERSION "\n";
      return 0;
    }
    if (i + 1 >= argc) return Usage(std::cerr, 2);
    const std::string value = argv[++i];
    if (arg == "--device" || arg == "--listen") {
      if (!device.empty() || !listen.empty()) return Usage(std::cerr, 2);
      (arg == "--device" ? device : listen) = value;
    } else if (arg == "--load") {
      load = value;
    } else if (arg == "--fault") {
      const auto fault = ParseFault(value);
      if (!fault) {
        std::cerr << "qrv470kse-board: bad fault \"" << value << "\"\n";
        return 2;
      }
      options.faults.push_back(*fault);
    } else if (arg == "--delay" || arg == "--latency") {
      const auto ms = Number(value);
      if (!ms) return Usage(std::cerr, 2);
      (arg == "--delay" ? options.answer_delay_ms : options.latency_ms) = *ms;
    } else if (arg == "--baud") {
      const auto baud = Number(value);
      if (!baud || *baud == 0) return Usage(std::cerr, 2);
      options.baud = *baud;
    } else if (arg == "--split") {
      const auto colon = value.find(':');
      const auto bytes = Number(value.substr(0, colon));
      const auto gap =
          colon == value.npos ? std::optional<int>(0) : Number(value.substr(colon + 1));
      if (!bytes || !gap) return Usage(std::cerr, 2);
      options.split_bytes = *bytes;
      options.split_gap_ms = *gap;
    } else {
      return Usage(std::cerr, 2);
    }
  }

  qrv::DisplayConfig config;
  std::string why;
  if (!load.empty() && !qrv::LoadConfigFile(load, config, nullptr, &why)) {
    std::cerr << "qrv470kse-board: " << why << "\n";
    return 1;
  }

  qrv::StopSignal stop;
  qrv::BoardLine line;
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
      std::cerr << "serving " << device << "\n";
    }
  } else if (auto pty = qrv::MakePseudoTerminalLine(&why)) {
    line = std::move(*pty);
    std::cout << line.path << std::endl;
  } else {
    std::cerr << "qrv470kse-board: " << why << "\n";
    return 1;
  }
  qrv::BoardServer board(
      std::move(line.device), options, [](const std::string& frame, const std::string& answer) {
        std::cerr << "<- " << qrv::VisibleText(frame) << "\n"
                  << "-> " << (answer.empty() ? "(no answer)" : qrv::VisibleText(answer)) << "\n";
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
  std::cerr << "stopped after " << board.frames_received() << " frames\n";
  return 0;
}
