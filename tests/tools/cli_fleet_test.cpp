#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <random>
#include <sstream>

#include "board_rack.h"
#include "cli_runner.h"

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

}  // namespace
}  // namespace qrv
