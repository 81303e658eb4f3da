// Measures the two whole-configuration runs as an operator starts them, against the
// simulated board over a pseudo-terminal: "全項目設定" (103 steps of 500 ms) and
// "読み込み" (103 steps of 300 ms). Reports the wall time from the press to the board's
// answer to the last frame, the bytes each way, and what a 38400 baud 8E1 line (11 bits a
// byte) could carry in that time. Then both runs answer-paced ("応答ごとに送信（高速）")
// against the board modelling that line, beside its limit: the bytes sent (and for the
// read, the bytes both ways) at 38400 baud.
// usage: full_run_bench [SPEED_UP|answer]   (default 1: the shipped periods; 50 for a smoke
// run; "answer": only the answer-paced runs, which keep the shipped periods as their bound)
#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

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
  const auto limit =
      std::chrono::milliseconds(2 * 103 * dialog.run()->plan().period.count() + 10000);
  QEventLoop loop;
  QTimer poll;
  bool answered = false;
  const auto start = Clock::now();
  poll.callOnTimeout([&] {
    answered = totals.frames >= frames && !dialog.isVisible() && link.AnswerPending() == 0;
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

double LineSeconds(long bytes, int baud) {
  return static_cast<double>(bytes) * 11.0 / baud;
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

// Both runs through the dialogs against a board modelling the given line speed (0: none);
// false when the answers stopped coming.
bool RunBoth(int baud, bool answer_pace, int speed_up) {
  Totals totals;
  qrv::PseudoTerminal pty;
  qrv::BoardOptions options;
  options.baud = baud;
  qrv::BoardServer board(pty.master(), options,
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
  qrv::DispatchNotifier dispatched;
  qrv::SerialLink serial(link, [&](std::string line) {
    QMetaObject::invokeMethod(qApp, [&, line] {
      dispatcher.Dispatch(line);
      dispatched.Notify();
      ++totals.dispatched;
    });
  });
  if (serial.OpenSerialPort(pty.path(), reporter) != qrv::PortStatus::kOpened) {
    std::fprintf(stderr, "cannot open %s\n", pty.path().c_str());
    return false;
  }
  serial.Start();
  qrv::SerialSettings settings;
  settings.answer_pace = answer_pace ? 1 : 0;
  // Nothing here writes the settings: the check box is not touched.
  qrv::SettingsStore store(settings, std::string(), reporter);
  qrv::DialogChoices choices;
  qrv::DialogContext context(config, link, reporter, store, choices);
  context.SendFrame = [&](std::string_view frame) { return serial.SendFrame(frame); };
  context.dispatched = &dispatched;

  // Every page titled in full-width characters, so every title frame goes out.
  for (int page = 0; page < qrv::kPages; ++page) {
    for (int line = 0; line < qrv::kLines; ++line) config.set_title(page, line, "\x88\xc4\x93\xe0");
  }
  {
    qrv::AllItemsDialog dialog(context, nullptr);
    dialog.show();
    const double seconds = Run(dialog, link, speed_up, totals, 102);
    if (seconds < 0) return false;
    Report(answer_pace ? "all-items send, answer-paced" : "all-items send", seconds, totals);
    if (baud != 0)
      std::printf("  line limit for the bytes sent: %.2f s\n", LineSeconds(totals.sent, baud));
  }
  totals.frames = totals.sent = totals.received = 0;
  totals.dispatched = 0;
  {
    qrv::MaintenanceReadDialog dialog(context, nullptr);
    dialog.show();
    const double seconds = Run(dialog, link, speed_up, totals, 102);
    if (seconds < 0) return false;
    Report(answer_pace ? "maintenance read, answer-paced" : "maintenance read", seconds, totals);
    if (baud != 0) {
      std::printf("  line limit for the bytes both ways: %.2f s\n",
                  LineSeconds(totals.sent + totals.received, baud));
    }
  }
  serial.Stop();
  board.Stop();
  return true;
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const bool only_answer = argc > 1 && std::string(argv[1]) == "answer";
  const int speed_up = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  if (!only_answer && !RunBoth(0, false, speed_up)) return 1;
  std::printf("answer-paced, the board modelling a 38400 baud line:\n");
  return RunBoth(38400, true, 1) ? 0 : 1;
}
