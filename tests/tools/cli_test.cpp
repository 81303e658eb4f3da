#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "cli_runner.h"
#include "logged_board.h"
#include "qrv_version.h"
#include "run_steps.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Texts = std::vector<std::string>;
using Fault = BoardFault::Kind;

Texts Lines(const std::string& text) {
  Texts lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Has(const CliRun& run, const std::string& text) {
  return (run.out + run.err).find(text) != std::string::npos;
}

// Boards far away answer 1.2 send periods and 2 read periods late, as boards 600 ms away do
// at the shipped periods: the fixed pace keeps its schedule with answers in flight, each
// answer taken for the oldest frame not yet answered, and the answer pace is no slower.
TEST(CliTest, SendsToBoardsNearAndFarAtOnceAtEitherPaceAndReadsBack) {
  using std::chrono::milliseconds;
  ScratchFolder dir;
  const DisplayConfig config = VariedConfig();
  const std::string file = dir.Save("varied.dat", config);
  BoardOptions far;
  far.latency_ms = 36;
  BoardOptions far_parity = far;
  far_parity.faults = {{40, Fault::kAnswer, "E1"}};
  LoggedBoard fixed(far), answer(far), far_parity_board(far_parity);
  LoggedBoard parity(BoardOptions{{{40, Fault::kAnswer, "E1"}}});
  // A board answering a parity error fails alone, at that frame, however late it comes.
  const CliRun sent = RunClient(
      {"send", file, "--verify", "--port", fixed.device(), "--port", far_parity_board.device()},
      milliseconds(30), milliseconds(18));
  EXPECT_EQ(sent.status, 1);
  EXPECT_TRUE(Has(sent, "summary:\n")) << sent.out;  // of more than one board
  EXPECT_TRUE(Has(sent, fixed.device() + ": sent 102 frames in ")) << sent.out;
  EXPECT_TRUE(Has(sent, far_parity_board.device() + ": FAILED: frame 40: Parity Error"))
      << sent.out;
  EXPECT_EQ(Lines(sent.out).back(), "1 of 2 boards matched the file") << sent.out;
  const CliRun paced = RunClient(
      {"send", file, "--pace", "answer", "--port", answer.device(), "--port", parity.device()},
      milliseconds(30), milliseconds(18));
  EXPECT_TRUE(
      Has(paced, parity.device() + ": FAILED: frame 40: Parity Error (the board answered E1)"))
      << paced.out;
  EXPECT_EQ(Lines(paced.out).back(), "1 of 2 boards answered every frame");
  const std::string back = dir / "back.dat";
  const CliRun read = RunClient({"read", "--port", answer.device(), "-o", back, "--pace", "answer"},
                                milliseconds(18), milliseconds(18));
  EXPECT_EQ(read.status, 0) << read.out << read.err;
  DisplayConfig got;
  std::string why;
  ASSERT_TRUE(LoadConfigFile(back, got, nullptr, &why)) << why;
  EXPECT_EQ(BoardSettings(got), BoardSettings(config));
  Texts frames;
  for (int step = 1; step <= kAllItemsSteps; ++step)
    if (const auto frame = AllItemsStep(config, step).frame) frames.push_back(*frame);
  for (int step = 1; step <= kMaintenanceReadSteps; ++step)
    if (const auto frame = MaintenanceReadStep(step)) frames.push_back(*frame);
  EXPECT_EQ(fixed.frames(), frames);
  EXPECT_EQ(answer.frames(), frames);
}

TEST(CliTest, VerifyNamesExactlyTheSettingsABoardDidNotKeep) {
  ScratchFolder dir;
  DisplayConfig config;
  config.fill_mask[0] = 1;
  config.current_page = 4;
  const std::string file = dir.Save("two.dat", config);
  // The board claims to take the fill and the display page but keeps what it had.
  LoggedBoard liar(BoardOptions{{{33, Fault::kAnswer, "GO"}, {99, Fault::kAnswer, "GO"}}});
  const CliRun run =
      RunClient({"send", file, "--verify", "--pace", "answer", "--port", liar.device()});
  EXPECT_EQ(run.status, 1);
  const Texts lines = Lines(run.out);
  EXPECT_EQ(Texts(lines.end() - 4, lines.end()),
            (Texts{liar.device() + " differs from " + file + ":",
                   "  page 1 line 1 fill: file ON, board OFF", "  display page: file 5, board 1",
                   "0 of 1 board matched the file"}))
      << run.out;
}

TEST(CliTest, EachCommandSaysWhatWentWrongInOneLine) {
  ScratchFolder dir;
  DisplayConfig config;
  config.set_title(2, 1, "A\x82\xa0");  // Aあ: a half-width letter makes the line odd
  config.set_title(4, 6, "\x1b[2J");    // an escape sequence is shown, never sent to the terminal
  config.char_colour[6][3] = config.border_colour[6][3] = kColourBlank;
  const std::string bad = dir.Save("bad.dat", config), good = dir.Save("good.dat", {});
  config = {};
  config.char_colour[1][0] = 99;
  const std::string odd = dir.Save("odd.dat", config), cut = dir / "cut.dat";
  std::ifstream whole(good);
  std::ofstream(cut) << std::string(std::istreambuf_iterator<char>(whole), {}).substr(0, 1500);
  ASSERT_EQ(mkfifo((dir / "fifo.dat").c_str(), 0600), 0);
  const std::string nobody = "tcp://127.0.0.1:" + std::to_string(FreeLoopbackPort());
  LoggedBoard board, mute(BoardOptions{{{0, Fault::kSilent, ""}}});
  const std::tuple<Texts, int, std::string> cases[] = {
      {{"check", bad}, 1, "page 3 line 2: title refused: odd number of bytes (3)"},
      {{"check", bad}, 1, "page 5 line 7: title refused: character 1 (Shift_JIS 1B5B)"},
      {{"check", bad}, 1, "in \"<1b>[2J\""},
      {{"check", bad}, 1, "page 7 line 4: colours refused: character and border colour are both"},
      {{"check", good}, 0, "every page can be sent"},
      {{"frames", bad}, 0, "<CR><LF>\nCA04"},  // page 3 passed over
      {{"check", odd}, 1, "page 2 line 1 character colour 99 (0..8)\n"},
      {{"check", cut}, 1, "ends at line 500 of 996\n"},
      {{"check", "/dev/zero"}, 1, "cannot read /dev/zero: not a regular file"},
      // Refused whole before a port is opened: nobody listens on it.
      {{"send", odd, "--port", nobody}, 1, "not sent: fix the lines above"},
      {{"read", "--port", nobody, "-o", dir / "fifo.dat"}, 1, "fifo.dat: not a regular file"},
      {{"send", good, "--port", "x", "--log", ""}, 2, "--log needs a value"},
      // The same board twice: whichever comes second finds it held by the first.
      {{"send", good, "--port", board.device(), "--port", board.device()}, 1, "FAILED: busy"},
      {{"verify", good, "--port", nobody}, 1, nobody + ": FAILED: connection refused"},
      {{"verify", good, "--port", mute.device(), "--answer-timeout", "300"},
       1,
       "FAILED: frame 1: no answer within 300 ms"},
      {{"read", "--port", "x", "-o", "y", "--answer-timeout", "0"},
       2,
       "--answer-timeout is a number from 1 to 600000, not \"0\""},
      {{"ports"}, 0, ""},  // whether this machine has any
      {{"sned", good}, 2, "qrv470kse-cli: unknown command \"sned\"\n"},
      {{"send", good}, 2, "qrv470kse-cli: no --port given, and QRV470KSE_PORTS is not set\n"},
      {{"send", "--help"}, 0, "usage: qrv470kse-cli send FILE.dat --port DEVICE"},
      {{"--version"}, 0, "qrv470kse-cli " QRV_VERSION "\n"},
      {{"--version", "send"}, 2, "--version takes no other argument"},
      {{"preview", good, "--page", "33", "-o", "p.png"}, 2, "--page is a number from 1 to 32"},
      {{"preview", good, "-o", dir / "none/p.png"}, 1, "cannot write " + dir / "none/p.png"},
  };
  for (const auto& [args, status, says] : cases) {
    const CliRun run = RunClient(args);
    EXPECT_EQ(run.status, status) << args[0] << " " << args[1];
    EXPECT_TRUE(Has(run, says)) << run.out << run.err;
  }
  // A board that goes silent at frame 10 fails there once its answer time-out has run out,
  // later frames going out meanwhile, and the old file stays as it was.
  std::vector<BoardFault> silence;
  for (int frame = 10; frame <= kMaintenanceReadSteps; ++frame)
    silence.push_back({frame, Fault::kSilent, ""});
  LoggedBoard silent(BoardOptions{silence});
  std::ofstream(dir / "kept.dat") << "old";
  const CliRun read = RunClient({"read", "--port", silent.device(), "-o", dir / "kept.dat"});
  EXPECT_EQ(read.status, 1);
  EXPECT_TRUE(Has(read, "FAILED: frame 10: no answer within 3500 ms")) << read.out;
  EXPECT_LT(silent.count(), 102u);  // it stopped there, not at the end
  std::ifstream kept(dir / "kept.dat");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
}

}  // namespace
}  // namespace qrv
