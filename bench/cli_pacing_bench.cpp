// Wall time of a whole send and read-back by the command-line client, with each pacing,
// against the simulated board modelling a 38400 baud line (11 bit times a byte each way,
// each frame answered once all of it has arrived). Compared with the line's physical limit:
// the bytes of every frame (and of every answer) at 38400 baud.
// usage: cli_pacing_bench [fixed|answer]   (default both; the shipped periods always, since
// shorter ones could not carry a title frame at this speed)
#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>

#include <unistd.h>

#include "board_server.h"
#include "cli_run.h"
#include "config_files.h"
#include "pseudo_terminal.h"

namespace {

constexpr int kBaud = 38400;
constexpr double kBitsPerByte = 11.0;

struct Traffic {
  std::atomic<long> frames{0}, sent{0}, received{0};
};

double Seconds(long bytes) {
  return static_cast<double>(bytes) * kBitsPerByte / kBaud;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  if (!only.empty() && only != "fixed" && only != "answer") {
    std::cerr << "usage: cli_pacing_bench [fixed|answer]\n";
    return 2;
  }
  char folder[] = "/tmp/qrv-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  const std::string file = std::string(folder) + "/full.dat";
  const std::string back = std::string(folder) + "/back.dat";
  qrv::DisplayConfig config;
  // Every title line full, so every title frame carries real text.
  for (int p = 0; p < qrv::kPages; ++p)
    for (int l = 0; l < qrv::kLines; ++l) config.set_title(p, l, "\x88\xc4\x93\xe0");
  std::string why;
  if (!qrv::SaveConfigFile(file, config, &why)) {
    std::cerr << why << "\n";
    return 1;
  }

  std::printf("simulated board at %d baud, %g bits a byte\n", kBaud, kBitsPerByte);
  std::printf("%-6s %-7s %9s %7s %9s %9s %12s %14s\n", "run", "pace", "wall s", "frames", "sent B",
              "recv B", "frames at", "frames+answers");
  int status = 0;
  for (const char* command : {"send", "read"}) {
    for (const char* pace : {"fixed", "answer"}) {
      if (!only.empty() && only != pace) continue;
      Traffic t;
      qrv::PseudoTerminal pty;
      qrv::BoardOptions options;
      options.baud = kBaud;
      qrv::BoardServer board(pty.master(), options,
                             [&](const std::string& frame, const std::string& answer) {
                               ++t.frames;
                               t.sent += static_cast<long>(frame.size());
                               t.received += static_cast<long>(answer.size());
                             });
      board.Start();
      std::ostringstream out, err;
      qrv::CliContext context{out, err, false};
      const std::vector<std::string> args =
          std::string(command) == "send"
              ? std::vector<std::string>{"send", file, "--pace", pace, "--port", pty.path()}
              : std::vector<std::string>{"read", "--port", pty.path(), "-o", back, "--pace", pace};
      const auto start = std::chrono::steady_clock::now();
      const int result = qrv::RunCli(args, context);
      const double wall =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      board.Stop();
      if (result != 0) {
        std::cerr << command << " " << pace << " failed:\n" << out.str() << err.str();
        status = 1;
        continue;
      }
      std::printf("%-6s %-7s %9.2f %7ld %9ld %9ld %10.2f s %12.2f s\n", command, pace, wall,
                  t.frames.load(), t.sent.load(), t.received.load(), Seconds(t.sent),
                  Seconds(t.sent + t.received));
    }
  }
  std::remove(file.c_str());
  std::remove(back.c_str());
  rmdir(folder);
  return status;
}
