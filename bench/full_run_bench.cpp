// Measures the two whole-configuration runs as an operator starts them, against the
// simulated board over a pseudo-terminal: "全項目設定" (103 steps of 500 ms) and
// "読み込み" (103 steps of 300 ms). Reports the wall time from the press to the board's
// answer to the last frame, the bytes each way, and what a 38400 baud 8E1 line (11 bits a
// byte) could carry in that time.
// usage: full_run_bench [SPEED_UP]   (default 1: the shipped periods; 50 for a smoke run)
#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "all_items_dialog.h"
#include "board_server.h"
#include "maintenance_read_dialog.h"
#include "pseudo_terminal.h"
#include "response_dispatcher.h"
#include "serial_link.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kLineBytesPerSecond = 38400.0 / 11.0;

struct Totals {
  std::atomic<long> frames{0}, sent{0}, received{0};  // counted by the board
  long dispatched = 0;                                // answers the program has handled
};

// Presses the dialog's start button and returns once the dialog has closed, the board has
// answered every frame and the program has handled the last answer: seconds from the press,
// or a negative number when the answers stopped coming. Two answers that reach the reader in
// one read make one line, so at shortened periods fewer lines than frames may be handled.
double Run(qrv::FullRunDialog& dialog, const qrv::LinkState& link, int speed_up, Totals& totals,
           long frames) {
  auto* timer = dialog.run()->findChild<QTimer*>();
  timer->setInterval(timer->interval() / speed_up);
  const auto limit = std::chrono::milliseconds(2 * 103 * timer->interval() + 10000);
  QEventLoop loop;
  QTimer poll;
  bool answered = false;
  const auto start = Clock::now();
  poll.callOnTimeout([&] {
    answered = totals.frames >= frames && !dialog.isVisible() && link.AnswerPending == 0;
    if (answered || Clock::now() - start > limit) loop.quit();
  });
  poll.start(5);
  dialog.findChild<QPushButton*>(QStringLiteral("start"))->click();
  loop.exec();
  if (!answered) {
    std::fprintf(stderr, "the board answered %ld of %ld frames; %ld lines handled\n",
                 totals.frames.load(), frames, totals.dispatched);
    return -1;
  }
  if (totals.dispatched < frames) {
    std::printf("(%ld answers came in pairs and were handled as one line)\n",
                frames - totals.dispatched);
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void Report(const char* name, double seconds, const Totals& totals) {
  const double capacity = seconds * kLineBytesPerSecond;
  std::printf(
      "%s: %.2f s, %ld frames, %ld bytes sent, %ld bytes received; the line could carry %.0f "
      "bytes in that time, so the run uses %.1f %% of it\n",
      name, seconds, totals.frames.load(), totals.sent.load(), totals.received.load(), capacity,
      100.0 * static_cast<double>(totals.sent + totals.received) / capacity);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int speed_up = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;

  Totals totals;
  qrv::PseudoTerminal pty;
  qrv::BoardServer board(pty.master(), {},
                         [&](const std::string& frame, const std::string& answer) {
                           totals.sent += static_cast<long>(frame.size());
                           totals.received += static_cast<long>(answer.size());
                           ++totals.frames;
                         });
  board.Start();

  qrv::DisplayConfig config;
  qrv::LinkState link;
  qrv::SilentReporter reporter;
  qrv::ResponseDispatcher dispatcher(config, link, reporter);
  qrv::SerialLink serial(link, [&](std::string line) {
    QMetaObject::invokeMethod(qApp, [&, line] {
      dispatcher.Dispatch(line);
      ++totals.dispatched;
    });
  });
  if (serial.OpenSerialPort(pty.path(), reporter) != qrv::PortStatus::kOpened) {
    std::fprintf(stderr, "cannot open %s\n", pty.path().c_str());
    return 1;
  }
  serial.Start();
  qrv::SerialSettings settings;
  qrv::DialogChoices choices;
  qrv::DialogContext context{
      config,   link,    reporter,
      settings, choices, [&](std::string_view frame) {
                               return serial.SendFrame(frame); }};

  // Every page titled in full-width characters, so every title frame goes out.
  for (int page = 0; page < qrv::kPages; ++page) {
    for (int line = 0; line < qrv::kLines; ++line) config.set_title(page, line, "\x88\xc4\x93\xe0");
  }
  {
    qrv::AllItemsDialog dialog(context, nullptr);
    dialog.show();
    const double seconds = Run(dialog, link, speed_up, totals, 102);
    if (seconds < 0) return 1;
    Report("all-items send", seconds, totals);
  }
  totals.frames = totals.sent = totals.received = 0;
  totals.dispatched = 0;
  {
    qrv::MaintenanceReadDialog dialog(context, nullptr);
    dialog.show();
    const double seconds = Run(dialog, link, speed_up, totals, 102);
    if (seconds < 0) return 1;
    Report("maintenance read", seconds, totals);
  }
  serial.Stop();
  board.Stop();
  return 0;
}
