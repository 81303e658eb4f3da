#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <random>
#include <sstream>

#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "board_rack.h"
#include "board_report.h"
#include "cli_runner.h"
#include "console.h"
#include "file_limit.h"
#include "progress_view.h"

namespace qrv {
namespace {

using Texts = std::vector<std::string>;

// A rack of simulated boards on consecutive loopback ports, keeping each board's frames.
struct LoggedRack {
  explicit LoggedRack(int count, const std::function<BoardOptions(int)>& options) {
    std::mt19937 pick(std::random_device{}());
    std::string why;
    for (int attempt = 0; attempt < 20 && !rack; ++attempt) {
      rack = BoardRack::Listen(
          "127.0.0.1", 20000 + static_cast<int>(pick() % 30000), count, options,
          [this](int board, const std::string& frame, const std::string&) {
            std::lock_guard<std::mutex> lock(mutex);
            frames[board].push_back(frame);
          },
          &why);
    }
    if (rack) rack->Start();
  }
  Texts FramesOf(int board) {
    std::lock_guard<std::mutex> lock(mutex);
    return frames[board];
  }
  std::vector<std::string> Ports() const {
    std::vector<std::string> args;
    for (int i = 0; i < rack->size(); ++i)
      args.insert(args.end(), {"--port", "tcp://" + rack->address(i)});
    return args;
  }

  std::unique_ptr<BoardRack> rack;
  std::mutex mutex;
  std::map<int, Texts> frames;
};

// What send puts on the line for file, frame by frame, from the frames command.
Texts FramesOfSend(const std::string& file) {
  Texts frames;
  std::istringstream lines(RunClient({"frames", file}).out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t end = line.rfind("<CR><LF>");
    if (end != std::string::npos) frames.push_back(line.substr(0, end) + "\r\n");
  }
  return frames;
}

// Two dozen boards of one rack, at the line's speed and answer-paced: each gets exactly the
// frames one board gets alone, and the one that answers frame 5 with an error fails alone.
TEST(CliFleetTest, EveryBoardOfARackGetsTheWholeSendAndOneFailsAlone) {
  constexpr int kBoards = 24, kFaulty = 7;
  LoggedRack rack(kBoards, [](int board) {
    BoardOptions options;
    options.baud = 38400;
    if (board == kFaulty) options.faults = {{5, BoardFault::Kind::kAnswer, "E1"}};
    return options;
  });
  ASSERT_TRUE(rack.rack);
  std::vector<std::string> args = {"send", QRV_SAMPLE_DAT, "--pace", "answer"};
  for (const std::string& arg : rack.Ports()) args.push_back(arg);
  // The pace's own period: at the line's speed a title frame takes longer than a test's.
  const CliRun run = RunClient(args, kSendPeriod, kReadPeriod);
  EXPECT_EQ(run.status, 1) << run.err;
  const Texts whole = FramesOfSend(QRV_SAMPLE_DAT);
  ASSERT_EQ(whole.size(), 102u);
  for (int board = 0; board < kBoards; ++board) {
    if (board == kFaulty) continue;
    EXPECT_EQ(rack.FramesOf(board), whole) << board;
  }
  // Frame 5 and whatever left before its answer came back (none, unless the machine is slow).
  const Texts faulty_frames = rack.FramesOf(kFaulty);
  ASSERT_GE(faulty_frames.size(), 5u);
  EXPECT_EQ(faulty_frames, Texts(whole.begin(), whole.begin() + faulty_frames.size()));
  const std::string faulty = "tcp://" + rack.rack->address(kFaulty);
  EXPECT_NE(run.out.find(faulty + ": FAILED: frame 5: Parity Error"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("23 of 24 boards answered every frame"), std::string::npos) << run.out;
}

// A terminal of ten rows and two dozen boards: one bar for the fleet, redrawn in place, and a
// line for the board that fails; into a pipe, today's plain lines.
TEST(CliFleetTest, AFleetTooTallForTheTerminalHasOneBarAndALineAFailure) {
  std::vector<std::string> boards;
  for (int i = 0; i < 24; ++i) boards.push_back("tcp://127.0.0.1:" + std::to_string(4001 + i));
  std::ostringstream terminal, pipe;
  ProgressView fleet(terminal, true, boards, 10, 10), lines(pipe, false, boards, 10, 10);
  for (ProgressView* view : {&fleet, &lines}) {
    for (int step = 1; step <= 10; ++step) view->Step(3, step);
    view->Finish(3, "sent 10 frames");
    view->Finish(5, "FAILED: frame 1: Parity Error", true);
  }
  const std::string shown = terminal.str();
  EXPECT_EQ(shown.find("tcp://127.0.0.1:4004"), std::string::npos);  // no bar a board
  EXPECT_NE(shown.find("\r\x1b[2Ktcp://127.0.0.1:4006: FAILED: frame 1: Parity Error\n"),
            std::string::npos);
  EXPECT_NE(shown.find("2/24 boards done, 1 failed"), std::string::npos) << shown;
  EXPECT_NE(pipe.str().find("tcp://127.0.0.1:4004: 5/10\n"), std::string::npos);
  EXPECT_EQ(pipe.str().find("boards done"), std::string::npos);
}

// The height the fleet view is measured against is the terminal's on standard output; into
// a pipe there is none.
TEST(CliFleetTest, TheConsoleRowsAreTheTerminalsHeight) {
  const auto rows_seen = [](bool on_terminal) {
    int answer[2];
    if (pipe(answer) != 0) return -2;
    const pid_t child = fork();
    if (child == 0) {
      int terminal = -1, other = -1;
      winsize size{};
      size.ws_row = 7;
      size.ws_col = 90;
      if (on_terminal && openpty(&other, &terminal, nullptr, nullptr, &size) != 0) _exit(1);
      dup2(on_terminal ? terminal : answer[1], STDOUT_FILENO);
      const int rows = ConsoleRows();
      _exit(write(answer[1], &rows, sizeof rows) == sizeof rows ? 0 : 1);
    }
    close(answer[1]);
    int rows = -1;
    if (read(answer[0], &rows, sizeof rows) != sizeof rows) rows = -3;
    close(answer[0]);
    waitpid(child, nullptr, 0);
    return rows;
  };
  EXPECT_EQ(rows_seen(true), 7);
  EXPECT_EQ(rows_seen(false), 0);
}

// A report's line is one JSON object whatever the texts hold.
TEST(CliFleetTest, ReportLinesAreJson) {
  EXPECT_EQ(
      BoardReport::Json({"tcp://h:1", false, 5, 1.25, "the board answered \"E1\"\t", true, -1}),
      "{\"port\":\"tcp://h:1\",\"ok\":false,\"frames\":5,\"seconds\":1.250,\"error\":"
      "\"the board answered \\\"E1\\\"\\u0009\",\"differences\":null}");
  EXPECT_EQ(
      BoardReport::Json({"/dev/ttyUSB0", true, 102, 4.3, "", false, -1}),
      "{\"port\":\"/dev/ttyUSB0\",\"ok\":true,\"frames\":102,\"seconds\":4.300,\"error\":null}");
}

// Below its open-file limit a fleet is refused whole, saying how many it needs.
TEST(CliFleetTest, AFleetBeyondTheOpenFileLimitIsRefusedWhole) {
  const pid_t child = fork();
  if (child == 0) {
    const rlimit low{64, 64};
    std::string why;
    const bool fits = setrlimit(RLIMIT_NOFILE, &low) == 0 && FitOpenFiles(8, &why);
    const bool refused =
        !FitOpenFiles(100, &why) &&
        why.rfind("100 boards need 432 open files, but this process may open 64", 0) == 0;
    _exit(fits && refused ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace qrv
