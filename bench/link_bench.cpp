// Measures the serial link over a pseudo-terminal against the simulated board:
// - round trip: SendFrame of a 398-byte title frame until its "GO" has been dispatched;
// - CPU time of the reader while nothing arrives (it should block, not poll).
// usage: link_bench [ROUND_TRIPS [IDLE_SECONDS]]   (defaults 2000 and 10)
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "board_server.h"
#include "line_queue.h"
#include "pseudo_terminal.h"
#include "reporter.h"
#include "response_dispatcher.h"
#include "serial_link.h"
#include "title_frame.h"

namespace {

using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double Percentile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  const int round_trips = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  const int idle_seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

  qrv::PseudoTerminal pty;
  qrv::BoardServer board(pty.master());
  board.Start();
  qrv::DisplayConfig config;
  qrv::LinkState link;
  qrv::SilentReporter reporter;
  qrv::ResponseDispatcher dispatcher(config, link, reporter);
  qrv::LineQueue lines;
  qrv::SerialLink serial(link, [&](std::string line) { lines.Push(std::move(line)); });
  if (serial.OpenSerialPort(pty.path(), reporter) != qrv::PortStatus::kOpened) {
    std::fprintf(stderr, "cannot open %s\n", pty.path().c_str());
    return 1;
  }
  serial.Start();

  const qrv::Frame frame = *qrv::BuildTitleFrame(config, 0, true);
  std::vector<double> micros;
  for (int i = 0; i < round_trips; ++i) {
    const auto start = Clock::now();
    serial.SendFrame(frame);
    const auto line = lines.Pop(std::chrono::seconds(2));
    if (!line) {
      std::fprintf(stderr, "no answer to frame %d\n", i + 1);
      return 1;
    }
    dispatcher.Dispatch(*line);
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::printf("round trip of a %zu-byte title frame, %d times: median %.1f us, p99 %.1f us\n",
              frame.size(), round_trips, Percentile(micros, 0.5), Percentile(micros, 0.99));

  const double before = ProcessCpuSeconds();
  std::this_thread::sleep_for(std::chrono::seconds(idle_seconds));
  std::printf("CPU time of the idle link over %d s: %.3f ms\n", idle_seconds,
              (ProcessCpuSeconds() - before) * 1e3);
  return 0;
}
