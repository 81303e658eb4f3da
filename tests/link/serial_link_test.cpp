#include "serial_link.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "board_server.h"
#include "frames.h"
#include "line_queue.h"
#include "link_watchdog.h"
#include "pseudo_terminal.h"
#include "recording_reporter.h"
#include "response_dispatcher.h"
#include "run_steps.h"
#include "varied_config.h"

namespace qrv {
namespace {

using namespace std::chrono_literals;
using Shown = std::vector<std::string>;

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// CPU time the whole process spends while this thread sleeps for one second.
double CpuOverOneSecond() {
  const double before = ProcessCpuSeconds();
  std::this_thread::sleep_for(1s);
  return ProcessCpuSeconds() - before;
}

// The program's side as the GUI wires it: the serial link feeds a line queue, and this
// thread, standing in for the GUI thread, sends frames and dispatches the lines.
class LinkTest : public ::testing::Test {
 protected:
  DisplayConfig config;
  LinkState link;
  RecordingReporter reporter;
  ResponseDispatcher dispatcher{config, link, reporter};
  LineQueue lines;
  SerialLink serial{link, [this](std::string line) { lines.Push(std::move(line)); }};
  std::mutex log_mutex;
  std::vector<std::string> board_log;  // frames the board received, in order
  std::unique_ptr<PseudoTerminal> pty;
  std::unique_ptr<BoardServer> board;

  std::vector<std::string> BoardLog() {
    std::lock_guard<std::mutex> lock(log_mutex);
    return board_log;
  }

  void StartBoard(BoardOptions options = {}) {
    pty = std::make_unique<PseudoTerminal>();
    board = std::make_unique<BoardServer>(pty->master(), std::move(options),
                                          [this](const std::string& frame, const std::string&) {
                                            std::lock_guard<std::mutex> lock(log_mutex);
                                            board_log.push_back(frame);
                                          });
    board->Start();
  }

  void Connect(const std::string& device) {
    ASSERT_EQ(serial.OpenSerialPort(device, reporter), PortStatus::kOpened);
    serial.Start();
  }

  // Sends frame and dispatches the line that comes back; "-" when none comes in time.
  std::string Exchange(const Frame& frame, std::chrono::milliseconds wait = 3s) {
    EXPECT_TRUE(serial.SendFrame(frame));
    EXPECT_EQ(link.AnswerPending, 1);
    const auto line = lines.Pop(wait);
    if (!line) return "-";
    dispatcher.Dispatch(*line);
    return *line;
  }
};

TEST_F(LinkTest, WholeConfigurationGoesToTheBoardAndReadsBackTheSame) {
  StartBoard();
  Connect(pty->path());
  const DisplayConfig x = VariedConfig();
  int sent = 0;
  for (int step = 1; step <= kAllItemsSteps; ++step) {
    const auto r = AllItemsStep(x, step);
    ASSERT_EQ(r.refusal, StepRefusal::kNone) << step;
    if (!r.frame) continue;
    ASSERT_EQ(Exchange(*r.frame), "GO\r\n") << step;
    ++sent;
  }
  EXPECT_EQ(Exchange(DisplayOnOffFrame(x)), "GO\r\n");
  EXPECT_EQ(reporter.shown, Shown(sent + 1, "set-complete"));
  EXPECT_EQ(link.AnswerPending, 0);

  // Read back into a fresh configuration, as the maintenance read does.
  reporter.shown.clear();
  config = DisplayConfig();
  link.BatchStep = 1;
  for (int step = 1; step <= kMaintenanceReadSteps; ++step) {
    const auto request = MaintenanceReadStep(step);
    if (request) {
      ASSERT_NE(Exchange(*request), "-") << step;
    }
  }
  EXPECT_EQ(reporter.shown, Shown{});
  EXPECT_EQ(BoardSettings(config), BoardSettings(x));

  // Every frame reached the board whole and in the order sent.
  const auto log = BoardLog();
  ASSERT_EQ(log.size(), static_cast<std::size_t>(sent + 1 + 102));
  EXPECT_EQ(log.front(), *AllItemsStep(x, 1).frame);
  EXPECT_EQ(log.back(), ReadPositionVRequest());
}

TEST_F(LinkTest, BoardErrorsAndOddAnswersReachTheDispatcher) {
  using Kind = BoardFault::Kind;
  BoardOptions options;
  const char* errors[] = {"E0", "E1", "E2", "E3", "GN", "MENU"};
  for (int i = 0; i < 6; ++i) options.faults.push_back({i + 1, Kind::kAnswer, errors[i]});
  options.faults.push_back({7, Kind::kGarbage, "\x7f#?Z"});  // no LF: waits for the next read
  StartBoard(options);
  Connect(pty->path());

  const Shown meanings = {"error:Framing Error", "error:Parity Error", "error:Over Run Error",
                          "error:Command Error", "error:Mode Error",   "error:Menu Display"};
  for (int i = 0; i < 6; ++i) {
    reporter.shown.clear();
    EXPECT_EQ(Exchange(PositionHFrame(config)), std::string(errors[i]) + "\r\n");
    EXPECT_EQ(reporter.shown, Shown{meanings[i]});
    EXPECT_EQ(link.ErrorReceived, 1);
  }
  // The junk and the next answer travel as one line, which is no known answer.
  EXPECT_TRUE(serial.SendFrame(PositionHFrame(config)));
  EXPECT_EQ(Exchange(PositionVFrame(config)), "\x7f#?ZGO\r\n");
  EXPECT_EQ(link.ErrorReceived, 0);
  EXPECT_EQ(link.AnswerPending, 0);
}

TEST_F(LinkTest, SlowAndSplitAnswersArriveWhole) {
  StartBoard({{}, 50, 1, 5});  // 50 ms late, one byte every 5 ms
  Connect(pty->path());
  reporter.shown.clear();
  EXPECT_EQ(Exchange(DisplayPageFrame(config)), "GO\r\n");
  EXPECT_EQ(reporter.shown, Shown{"set-complete"});
}

TEST_F(LinkTest, SilentBoardBringsNoConnectAtTheSeventhTick) {
  StartBoard({{{0, BoardFault::Kind::kSilent, ""}}});
  Connect(pty->path());
  link.UnansweredTicks = 3;  // left from before: sending does not clear it
  EXPECT_EQ(Exchange(PositionVFrame(config), 300ms), "-");
  EXPECT_EQ(link.UnansweredTicks, 3);
  link.UnansweredTicks = 0;
  for (int tick = 1; tick <= 6; ++tick) LinkWatchdog(link, reporter);
  EXPECT_EQ(reporter.shown, Shown{});
  LinkWatchdog(link, reporter);
  EXPECT_EQ(reporter.shown, Shown{"error:No Connect"});
  EXPECT_EQ(board->frames_received(), 1);
}

TEST_F(LinkTest, LineHeldByFlowControlDropsTheFrameAfterItsLimit) {
  StartBoard();
  Connect(pty->path());
  EXPECT_EQ(Exchange(PositionHFrame(config)), "GO\r\n");
  ASSERT_EQ(write(pty->master(), "\x13", 1), 1);  // XOFF: the board holds the line
  std::this_thread::sleep_for(100ms);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(serial.SendFrame(PositionVFrame(config)));
  // SendFrame does not wait for a held line (the limit is 1000 ms).
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  EXPECT_EQ(lines.Pop(1300ms), std::nullopt);
  ASSERT_EQ(write(pty->master(), "\x11", 1), 1);  // XON
  EXPECT_EQ(Exchange(DisplayPageFrame(config)), "GO\r\n");
  const auto log = BoardLog();
  EXPECT_EQ(log, (std::vector<std::string>{PositionHFrame(config), DisplayPageFrame(config)}));
}

TEST_F(LinkTest, OnlyFramesWithinTheLimitAreTaken) {
  StartBoard();
  Connect(pty->path());
  EXPECT_FALSE(serial.SendFrame(std::string(kMaxFrameBytes + 1, 'P')));
  EXPECT_EQ(link.AnswerPending, 0);
  EXPECT_EQ(Exchange(std::string(kMaxFrameBytes - 2, 'P') + "\r\n"), "E3\r\n");
  EXPECT_EQ(BoardLog().back().size(), kMaxFrameBytes);
}

TEST_F(LinkTest, WithoutAPortTheReaderSleepsAndFramesStillAwaitAnAnswer) {
  EXPECT_EQ(serial.OpenSerialPort("", reporter), PortStatus::kCannotOpen);
  EXPECT_EQ(reporter.shown.size(), 5u);
  serial.Start();
  link.UnansweredTicks = 2;
  EXPECT_EQ(Exchange(PositionHFrame(config), 300ms), "-");
  EXPECT_EQ(link.UnansweredTicks, 2);
  EXPECT_LT(CpuOverOneSecond(), 0.05);
  serial.Stop();
  EXPECT_EQ(link.ReaderRunning, 0);
}

TEST_F(LinkTest, UnpluggedPortIsLookedForAgainWithoutSpinning) {
  // The program opens the device through a path that can be pointed at a new device,
  // as udev does when an adapter is plugged in again.
  const auto dir =
      std::filesystem::temp_directory_path() / ("qrv-unplug-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto device = dir / "ttyUSB0";
  std::filesystem::remove(device);
  StartBoard();
  std::filesystem::create_symlink(pty->path(), device);
  Connect(device.string());
  EXPECT_EQ(Exchange(PositionHFrame(config)), "GO\r\n");

  board.reset();
  pty->Close();
  EXPECT_LT(CpuOverOneSecond(), 0.05);
  EXPECT_FALSE(serial.port_open());
  EXPECT_EQ(Exchange(PositionHFrame(config), 300ms), "-");  // ends in "No Connect" as usual

  StartBoard();
  std::filesystem::remove(device);
  std::filesystem::create_symlink(pty->path(), device);
  for (int i = 0; i < 40 && !serial.port_open(); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(serial.port_open());
  EXPECT_EQ(Exchange(PositionHFrame(config)), "GO\r\n");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qrv
