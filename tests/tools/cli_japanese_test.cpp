#include <gtest/gtest.h>

#include "board_session.h"
#include "cli_runner.h"
#include "japanese_locale.h"
#include "logged_board.h"
#include "send_plan.h"
#include "varied_config.h"

namespace qrv {
namespace {

using std::chrono::milliseconds;
using Fault = BoardFault::Kind;

// A board's failure is told to the operator in Japanese and kept in English for the report,
// which scripts read whatever the locale.
TEST(CliJapanese, FailuresToldInJapaneseAndKeptInEnglish) {
  QRV_UNDER_JAPANESE_LOCALE(ja);
  const SessionTiming quick{Pace::kAnswer, milliseconds(10), milliseconds(10), milliseconds(300)};
  ReasonText why;
  BoardSession absent("/nonexistent/tty", quick, nullptr);
  EXPECT_FALSE(absent.Open(&why));
  EXPECT_EQ(why.shown, "デバイスがない");
  EXPECT_EQ(why.english, "no such device");

  const SendPlan plan = PlanSend(VariedConfig(), {});
  LoggedBoard parity(BoardOptions{{{40, Fault::kAnswer, "E1"}}});
  BoardSession session(parity.device(), quick, nullptr);
  ASSERT_TRUE(session.Open(&why)) << why.english;
  TransferResult sent = session.Send(plan, {});
  // The board's own words for its error stay as they are in every language.
  EXPECT_EQ(sent.failure.shown, "フレーム 40: Parity Error (表示板の応答は E1)");
  EXPECT_EQ(sent.failure.english, "frame 40: Parity Error (the board answered E1)");

  // Silent from frame 3 on.
  std::vector<BoardFault> silence;
  for (int frame = 3; frame <= static_cast<int>(plan.size()); ++frame)
    silence.push_back({frame, Fault::kSilent, ""});
  LoggedBoard silent(BoardOptions{silence});
  BoardSession unanswered(silent.device(), quick, nullptr);
  ASSERT_TRUE(unanswered.Open(&why)) << why.english;
  sent = unanswered.Send(plan, {});
  EXPECT_EQ(sent.failure.shown, "フレーム 3: 300 ms 以内に応答がない");
  EXPECT_EQ(sent.failure.english, "frame 3: no answer within 300 ms");
}

// What the client prints around a board's transfer, in Japanese; the frames the same bytes
// as in English.
TEST(CliJapanese, ProgressSummaryAndCountInJapanese) {
  ScratchFolder dir;
  const std::string file = dir.Save("varied.dat", VariedConfig());
  const CliRun frames_c = RunClient({"frames", file});
  QRV_UNDER_JAPANESE_LOCALE(ja);
  LoggedBoard board, parity(BoardOptions{{{1, Fault::kAnswer, "E1"}}});
  const CliRun run = RunClient(
      {"display", "off", "--port", board.device(), "--port", parity.device(), "--pace", "answer"},
      milliseconds(10), milliseconds(10));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find(board.device() + ": 0.0秒で 1 フレームを送信、すべて GO の応答\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(
      run.out.find(parity.device() + ": 失敗: フレーム 1: Parity Error (表示板の応答は E1)\n"),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("まとめ:\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("表示板 2 台: 完了 1、失敗 1 (" + parity.device() +
                         " フレーム 1: Parity Error (表示板の応答は E1))\n"
                         "表示板 2 台のうち 1 台が全フレームに応答\n"),
            std::string::npos)
      << run.out;

  const CliRun frames_ja = RunClient({"frames", file});
  EXPECT_EQ(frames_ja.out, frames_c.out);
  EXPECT_EQ(frames_ja.status, 0);
  const CliRun missing = RunClient({"check", dir / "missing.dat"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err.rfind("qrv470kse-cli: " + (dir / "missing.dat") + " を読めない: ", 0), 0u)
      << missing.err;
}

}  // namespace
}  // namespace qrv
