#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "cli_runner.h"
#include "logged_board.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Boards = std::vector<std::unique_ptr<LoggedBoard>>;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> SendArgs(const std::string& file, const Boards& boards,
                                  const std::string& pace) {
  std::vector<std::string> args = {"send", file, "--pace", pace};
  for (const auto& b : boards) args.insert(args.end(), {"--port", b->device()});
  return args;
}

DisplayConfig Loaded(const std::string& path) {
  DisplayConfig c;
  std::string why;
  EXPECT_TRUE(LoadConfigFile(path, c, &why)) << why;
  return c;
}

TEST(CliTest, SendThenReadGivesTheFileBackFromOneAndFromThreeBoards) {
  ScratchFolder dir;
  const std::string file = dir.Save("varied.dat", VariedConfig());
  const DisplayConfig want = Loaded(file);
  for (int count : {1, 3}) {
    Boards boards;
    for (int i = 0; i < count; ++i) boards.push_back(std::make_unique<LoggedBoard>());
    const CliRun sent = RunClient(SendArgs(file, boards, "answer"));
    EXPECT_EQ(sent.status, 0) << sent.out << sent.err;
    EXPECT_EQ(Lines(sent.out).back(), std::to_string(count) + " of " + std::to_string(count) +
                                          (count == 1 ? " board" : " boards") +
                                          " answered every frame");
    for (const auto& board : boards) {
      EXPECT_EQ(board->count(), 102u);
      const std::string back = dir / "back.dat";
      const CliRun read =
          RunClient({"read", "--port", board->device(), "-o", back, "--pace", "answer"});
      EXPECT_EQ(read.status, 0) << read.out << read.err;
      EXPECT_EQ(BoardSettings(Loaded(back)), BoardSettings(want));
    }
  }
}

TEST(CliTest, ABoardAnsweringAParityErrorFailsAloneAtThatFrame) {
  ScratchFolder dir;
  const std::string file = dir.Save("varied.dat", VariedConfig());
  Boards boards;
  boards.push_back(std::make_unique<LoggedBoard>());
  boards.push_back(
      std::make_unique<LoggedBoard>(BoardOptions{{{40, BoardFault::Kind::kAnswer, "E1"}}}));
  boards.push_back(std::make_unique<LoggedBoard>());
  const CliRun run = RunClient(SendArgs(file, boards, "fixed"));
  EXPECT_EQ(run.status, 1);
  const std::string out = run.out;
  EXPECT_NE(
      out.find(boards[1]->device() + ": FAILED: frame 40: Parity Error (the board answered E1)\n"),
      out.npos)
      << out;
  for (int i : {0, 2}) {
    EXPECT_NE(out.find(boards[i]->device() + ": sent 102 frames in "), out.npos) << out;
    EXPECT_EQ(boards[i]->count(), 102u);
  }
  EXPECT_EQ(boards[1]->count(), 40u);
  EXPECT_EQ(Lines(out).back(), "2 of 3 boards answered every frame");
}

TEST(CliTest, AnswerPaceWritesTheFramesOfFixedPaceInTheSameOrder) {
  ScratchFolder dir;
  const std::string file = dir.Save("varied.dat", VariedConfig());
  Boards fixed, answer;
  fixed.push_back(std::make_unique<LoggedBoard>());
  answer.push_back(std::make_unique<LoggedBoard>());
  EXPECT_EQ(RunClient(SendArgs(file, fixed, "fixed")).status, 0);
  EXPECT_EQ(RunClient(SendArgs(file, answer, "answer")).status, 0);
  EXPECT_EQ(fixed[0]->count(), 102u);
  EXPECT_EQ(answer[0]->frames(), fixed[0]->frames());

  for (const auto* boards : {&fixed, &answer}) {
    const std::string pace = boards == &fixed ? "fixed" : "answer";
    const CliRun read = RunClient(
        {"read", "--port", (*boards)[0]->device(), "-o", dir / (pace + ".dat"), "--pace", pace});
    EXPECT_EQ(read.status, 0) << read.out;
  }
  const auto requests = [](const LoggedBoard& b) {
    const auto all = b.frames();
    return std::vector<std::string>(all.begin() + 102, all.end());
  };
  EXPECT_EQ(requests(*answer[0]).size(), 102u);
  EXPECT_EQ(requests(*answer[0]), requests(*fixed[0]));
}

TEST(CliTest, VerifyNamesExactlyTheSettingsABoardDidNotKeep) {
  ScratchFolder dir;
  DisplayConfig config;
  config.border_colour[11][2] = 1;
  config.position_h = 15;
  const std::string file = dir.Save("two.dat", config);
  // The board claims to take page 12's colours and the horizontal position but keeps
  // what it had.
  LoggedBoard liar(BoardOptions{
      {{46, BoardFault::Kind::kAnswer, "GO"}, {101, BoardFault::Kind::kAnswer, "GO"}}});
  const CliRun run =
      RunClient({"send", file, "--verify", "--pace", "answer", "--port", liar.device()});
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = Lines(run.out);
  const std::vector<std::string> differences(lines.end() - 4, lines.end());
  EXPECT_EQ(differences,
            (std::vector<std::string>{liar.device() + " differs from " + file + ":",
                                      "  page 12 line 3 border colour: file 1 (赤), board 0 (黒)",
                                      "  horizontal position: file 15, board 8",
                                      "0 of 1 board matched the file"}))
      << run.out;

  LoggedBoard honest;
  EXPECT_EQ(RunClient({"send", file, "--pace", "answer", "--port", honest.device()}).status, 0);
  const CliRun verify = RunClient({"verify", file, "--port", honest.device()});
  EXPECT_EQ(verify.status, 0) << verify.out;
  EXPECT_NE(verify.out.find(": matches the file\n"), verify.out.npos);
}

TEST(CliTest, CheckAndFramesNameThePagesThatCannotBeSent) {
  ScratchFolder dir;
  DisplayConfig config;
  config.set_title(2, 1, "A\x82\xa0");  // Aあ: a half-width letter makes the line odd
  config.set_title(4, 6, "\x1b[2J");    // an escape sequence is shown, never sent to the terminal
  config.char_colour[6][3] = config.border_colour[6][3] = kColourBlank;
  const std::string bad = dir.Save("bad.dat", config);
  const std::string good = dir.Save("good.dat", DisplayConfig());

  const CliRun check = RunClient({"check", bad});
  EXPECT_EQ(check.status, 1);
  EXPECT_EQ(Lines(check.out),
            (std::vector<std::string>{
                "page 3 line 2: title refused: odd number of bytes (3): a half-width character "
                "in \"Aあ\" (ＪＩＳ第１水準,第２水準以外の字が選択されてます)",
                "page 5 line 7: title refused: character 1 (Shift_JIS 1B5B) is not in JIS levels 1 "
                "and 2 in \"<1b>[2J\" (ＪＩＳ第１水準,第２水準以外の字が選択されてます)",
                "page 7 line 4: colours refused: character and border colour are both ブランク "
                "(Miss! Can't Set)"}));
  EXPECT_EQ(RunClient({"check", good}).status, 0);

  const CliRun frames = RunClient({"frames", bad});
  EXPECT_EQ(frames.status, 0);
  const std::vector<std::string> lines = Lines(frames.out);
  ASSERT_EQ(lines.size(), 99u);
  EXPECT_EQ(lines[0], "CA01" + Times("2121", 98) + "<CR><LF>");
  EXPECT_EQ(lines[2].substr(0, 4), "CA04");
  EXPECT_EQ(lines.back(), "PV08<CR><LF>");
  EXPECT_EQ(Lines(frames.err).size(), 3u);
}

TEST(CliTest, FailuresAreOneClearLineAndLeaveFilesAlone) {
  ScratchFolder dir;
  const std::string file = dir.Save("good.dat", DisplayConfig());
  LoggedBoard board;
  const struct {
    std::vector<std::string> args;
    int status;
    std::string says;
  } cases[] = {
      {{"send", dir / "none.dat", "--port", "/dev/null"},
       1,
       "qrv470kse-cli: cannot read " + dir / "none.dat" + ": No such file or directory\n"},
      {{"send", file, "--port", "/nonexistent/ttyQRV"}, 1, "/nonexistent/ttyQRV: FAILED: "},
      // The same board twice: whichever comes second finds it held by the first.
      {{"send", file, "--port", board.device(), "--port", board.device()},
       1,
       board.device() + ": FAILED: busy: another program holds it\n"},
      {{"verify", file, "--port", "tcp://127.0.0.1:" + std::to_string(FreeLoopbackPort())},
       1,
       "connection refused"},
      {{"sned", file}, 2, "qrv470kse-cli: unknown command \"sned\"\n"},
      {{"send", file}, 2, "qrv470kse-cli: no --port given\n"},
      {{"send", file, "--port", "x", "--pace", "fast"}, 2, "--pace is fixed or answer"},
      {{"read", "--port", "x"}, 2, "no -o FILE.dat given"},
      {{"send", "--help"}, 0, "usage: qrv470kse-cli send FILE.dat --port DEVICE"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunClient(c.args);
    EXPECT_EQ(run.status, c.status) << c.args[0] << " " << c.args[1];
    EXPECT_NE((run.out + run.err).find(c.says), std::string::npos) << run.out << run.err;
  }

  // A board that stops answering halfway through a read leaves the old file as it was.
  LoggedBoard silent(BoardOptions{{{10, BoardFault::Kind::kSilent, ""}}});
  const std::string kept = dir / "kept.dat";
  std::ofstream(kept) << "old";
  const CliRun read = RunClient({"read", "--port", silent.device(), "-o", kept});
  EXPECT_EQ(read.status, 1);
  EXPECT_NE(read.out.find("FAILED: frame 10: no answer within 100 ms"), read.out.npos) << read.out;
  std::ifstream in(kept);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
}

}  // namespace
}  // namespace qrv
