#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "cli_runner.h"
#include "logged_board.h"
#include "qrv_version.h"
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

TEST(CliTest, SendsToBoardsAtOnceAtEitherPaceAndReadsBack) {
  ScratchFolder dir;
  const std::string file = dir.Save("varied.dat", VariedConfig());
  LoggedBoard answer1, answer2, fixed, parity(BoardOptions{{{40, Fault::kAnswer, "E1"}}});
  const CliRun sent = RunClient(
      {"send", file, "--pace", "answer", "--port", answer1.device(), "--port", answer2.device()});
  EXPECT_EQ(sent.status, 0) << sent.out << sent.err;
  EXPECT_TRUE(Has(sent, "summary:\n")) << sent.out;  // of more than one board
  EXPECT_EQ(Lines(sent.out).back(), "2 of 2 boards answered every frame");
  // A board answering a parity error fails alone, at that frame.
  const CliRun run = RunClient({"send", file, "--port", fixed.device(), "--port", parity.device()});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(
      Has(run, parity.device() + ": FAILED: frame 40: Parity Error (the board answered E1)"))
      << run.out;
  EXPECT_EQ(Lines(run.out).back(), "1 of 2 boards answered every frame");
  EXPECT_EQ(parity.count(), 40u);
  // Both paces write the same frames.
  EXPECT_EQ(answer1.count(), 102u);
  EXPECT_EQ(fixed.frames(), answer1.frames());

  const std::string back = dir / "back.dat";
  const CliRun read =
      RunClient({"read", "--port", answer2.device(), "-o", back, "--pace", "answer"});
  EXPECT_EQ(read.status, 0) << read.out << read.err;
  EXPECT_FALSE(Has(read, "summary"));
  DisplayConfig want, got;
  std::string why;
  ASSERT_TRUE(LoadConfigFile(file, want, nullptr, &why) && LoadConfigFile(back, got, nullptr, &why))
      << why;
  EXPECT_EQ(BoardSettings(got), BoardSettings(want));
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
  LoggedBoard board;
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
      {{"ports"}, 0, ""},  // whether this machine has any
      {{"sned", good}, 2, "qrv470kse-cli: unknown command \"sned\"\n"},
      {{"send", good}, 2, "qrv470kse-cli: no --port given\n"},
      {{"send", "--help"}, 0, "usage: qrv470kse-cli send FILE.dat --port DEVICE"},
      {{"--version"}, 0, "qrv470kse-cli " QRV_VERSION "\n"},
      {{"--version", "send"}, 2, "unknown command \"--version\""},
      {{"preview", good, "--page", "33", "-o", "p.png"}, 2, "--page is a number from 1 to 32"},
      {{"preview", good, "-o", dir / "none/p.png"}, 1, "cannot write " + dir / "none/p.png"},
  };
  for (const auto& [args, status, says] : cases) {
    const CliRun run = RunClient(args);
    EXPECT_EQ(run.status, status) << args[0] << " " << args[1];
    EXPECT_TRUE(Has(run, says)) << run.out << run.err;
  }
  // A board that stops answering halfway through a read leaves the old file as it was.
  LoggedBoard silent(BoardOptions{{{10, Fault::kSilent, ""}}});
  std::ofstream(dir / "kept.dat") << "old";
  const CliRun read = RunClient({"read", "--port", silent.device(), "-o", dir / "kept.dat"});
  EXPECT_EQ(read.status, 1);
  EXPECT_TRUE(Has(read, "FAILED: frame 10: no answer within 100 ms")) << read.out;
  std::ifstream kept(dir / "kept.dat");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
}

}  // namespace
}  // namespace qrv
