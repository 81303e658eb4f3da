// Wall time of the command-line client's whole send (the all-items steps) and read-back
// (the maintenance read), at each pace, against the simulated board: modelling a 38400 baud
// line (11 bit times a byte each way, each frame answered once all of it has arrived), and
// far away behind a device server, each answer arriving 0, 100, 300 or 600 ms after its
// frame. Beside each: the line's limit (the bytes of the frames, and of frames and answers,
// at 38400 baud) and what the pacing rule gives for an instant board that far away.
// usage: cli_pacing_bench [fixed|answer] [BOARD...]   BOARD: 38400 (the line model) or a
// latency in ms; default both paces against 38400 0 100 300 600 (about 10 minutes). The
// shipped periods always: shorter ones could not carry a title frame at 38400 baud.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "board_server.h"
#include "cli_run.h"
#include "config_files.h"
#include "full_config.h"
#include "pseudo_terminal.h"

namespace {

constexpr int kBaud = 38400;
constexpr double kBitsPerByte = 11.0;
constexpr int kSteps = 103, kFrames = 102;

struct Traffic {
  std::atomic<long> frames{0}, sent{0}, received{0};
};

double LineSeconds(long bytes) {
  return static_cast<double>(bytes) * kBitsPerByte / kBaud;
}

// An instant board latency seconds away: the fixed pace sends at every period and waits
// for the last answer; the answer pace waits for each answer, a period at most, and takes
// no time for the step that sends nothing.
double RuleSeconds(bool answer_paced, double period, double latency) {
  if (!answer_paced) return kSteps * period + latency;
  return (kFrames - 1) * std::min(latency, period) + latency;
}

}  // namespace

int main(int argc, char** argv) {
  std::string only;
  std::vector<int> boards;  // latencies in ms, -1 for the 38400 baud model
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "fixed" || arg == "answer") {
      only = arg;
    } else if (!arg.empty() && arg.find_first_not_of("0123456789") == arg.npos && arg.size() < 6) {
      boards.push_back(arg == std::to_string(kBaud) ? -1 : std::stoi(arg));
    } else {
      std::cerr << "usage: cli_pacing_bench [fixed|answer] [38400|LATENCY_MS]...\n";
      return 2;
    }
  }
  if (boards.empty()) boards = {-1, 0, 100, 300, 600};

  char folder[] = "/tmp/qrv-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  const std::string file = std::string(folder) + "/full.dat";
  const std::string back = std::string(folder) + "/back.dat";
  std::string why;
  if (!qrv::SaveConfigFile(file, bench::FullConfig(), &why)) {
    std::cerr << why << "\n";
    return 1;
  }

  std::printf(
      "line limit: the bytes at %d baud, %g bits a byte; rule: the pace for an\n"
      "instant board that far away\n",
      kBaud, kBitsPerByte);
  std::printf("%-5s %-7s %-9s %8s %7s %8s %7s %10s %14s %8s\n", "run", "pace", "board", "wall s",
              "frames", "sent B", "recv B", "frames at", "frames+answers", "rule s");
  int status = 0;
  for (const int latency : boards) {
    for (const char* command : {"send", "read"}) {
      for (const char* pace : {"fixed", "answer"}) {
        if (!only.empty() && only != pace) continue;
        Traffic t;
        qrv::PseudoTerminal pty;
        qrv::BoardOptions options;
        if (latency < 0) {
          options.baud = kBaud;
        } else {
          options.latency_ms = latency;
        }
        qrv::BoardServer board(pty.master(), options,
                               [&](const std::string& frame, const std::string& answer) {
                                 ++t.frames;
                                 t.sent += static_cast<long>(frame.size());
                                 t.received += static_cast<long>(answer.size());
                               });
        board.Start();
        std::ostringstream out, err;
        qrv::CliContext context{out, err, false};
        const bool send = std::string(command) == "send";
        const std::vector<std::string> args =
            send ? std::vector<std::string>{"send", file, "--pace", pace, "--port", pty.path()}
                 : std::vector<std::string>{"read", "--port", pty.path(), "-o",
                                            back,   "--pace", pace};
        const auto start = std::chrono::steady_clock::now();
        const int result = qrv::RunCli(args, context);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        board.Stop();
        const std::string name =
            latency < 0 ? std::to_string(kBaud) + " Bd" : std::to_string(latency) + " ms";
        if (result != 0) {
          std::cerr << command << " " << pace << " " << name << " failed:\n"
                    << out.str() << err.str();
          status = 1;
          continue;
        }
        const double period =
            send ? context.send_period.count() / 1000.0 : context.read_period.count() / 1000.0;
        char rule[16] = "-";
        if (latency >= 0)
          std::snprintf(rule, sizeof rule, "%.2f",
                        RuleSeconds(std::string(pace) == "answer", period, latency / 1000.0));
        std::printf("%-5s %-7s %-9s %8.2f %7ld %8ld %7ld %8.2f s %12.2f s %8s\n", command, pace,
                    name.c_str(), wall, t.frames.load(), t.sent.load(), t.received.load(),
                    LineSeconds(t.sent), LineSeconds(t.sent + t.received), rule);
        std::fflush(stdout);
      }
    }
  }
  std::remove(file.c_str());
  std::remove(back.c_str());
  rmdir(folder);
  return status;
}
