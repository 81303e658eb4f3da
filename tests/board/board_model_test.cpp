#include "board_model.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "response_dispatcher.h"
#include "run_steps.h"
#include "varied_config.h"

namespace qrv {
namespace {

auto Tie(const BoardState& s) {
  return std::tie(s.titles, s.shown_titles, s.blink, s.char_colour, s.border_colour, s.fill_mask,
                  s.display_time, s.char_level, s.position_h, s.position_v, s.display_page,
                  s.display_auto, s.display_on);
}

// The program's maintenance read against the board, answers read by the program's dispatcher.
void ExpectReadsBack(BoardModel& board, const DisplayConfig& want) {
  DisplayConfig read;
  LinkState link;
  SilentReporter reporter;
  ResponseDispatcher dispatcher(read, link, reporter);
  for (int step = 1; step <= kMaintenanceReadSteps; ++step) {
    if (auto request = MaintenanceReadStep(step)) dispatcher.Dispatch(board.Answer(*request));
  }
  EXPECT_EQ(BoardSettings(read), BoardSettings(want));
}

TEST(BoardModel, TakesTheAllItemsRunAndLoadsAConfigurationAsTheProgramReadsThemBack) {
  const DisplayConfig x = VariedConfig();
  BoardModel board;
  ExpectReadsBack(board, DisplayConfig());
  for (int step = 1; step <= kAllItemsSteps; ++step) {
    if (auto frame = AllItemsStep(x, step).frame) {
      EXPECT_EQ(board.Answer(*frame), "GO\r\n") << "step " << step;
    }
  }
  ExpectReadsBack(board, x);

  BoardModel loaded;
  loaded.LoadFrom(x);
  ExpectReadsBack(loaded, x);
  EXPECT_TRUE(Tie(loaded.state()) == Tie(board.state()));

  DisplayConfig bad = x;
  bad.set_title(0, 1, "A");  // half-width: the page cannot be converted
  bad.blink[4][1] = 5;
  bad.fill_mask[5] = 0x80;
  bad.display_time[6] = -1;
  bad.position_v = 16;
  bad.display_page_auto = 1;
  bad.display_on = 0;
  loaded.LoadFrom(bad);
  const BoardState& s = loaded.state();
  EXPECT_EQ(s.titles[0], BoardModel().state().titles[0]);
  EXPECT_EQ(std::tie(s.blink[4][1], s.blink[4][2], s.fill_mask[5], s.display_time[6], s.position_v,
                     s.display_auto, s.display_on),
            std::make_tuple(0, 3, 0, 2, 8, true, false));
}

TEST(BoardModel, AnswersAtTheBoundariesByteForByte) {
  const std::string codes = "467C" + Times("2121", 96) + "7E7E";
  const struct {
    std::vector<std::string> set;
    std::string request, answer;
  } cases[] = {
      {{}, "RCA01\r\n", "CA01" + Times("2121", 98) + "\r\n"},
      {{"CA32" + codes + "\r\n"}, "RCA32\r\n", "CA32" + codes + "\r\n"},
      {{"PAS\r\n"}, "RP\r\n", "PA\r\n"},
      {{"PAS\r\n", "P01\r\n"}, "RP\r\n", "P01\r\n"},
      {{"P32\r\n"}, "RP\r\n", "P32\r\n"},
      {{"P01FBLT41\r\n"}, "RPTFB\r\n", "PTFBN-----N" + Times("-", 7 * 31) + "\r\n"},
      {{"PH15\r\n"}, "RPH\r\n", "PVH15\r\n"},
      {{"P32BDLT0123440\r\n"}, "RP01BDLT\r\n", "PTBD" + Times("0", 217) + "0123440\r\n"},
      {{"P01ICLT88012345678000\r\n"},
       "RP32ICLT\r\n",
       "PTIC88012345678000" + Times("70", 7 * 31) + "\r\n"},
  };
  for (const auto& c : cases) {
    BoardModel board;
    for (const std::string& frame : c.set) ASSERT_EQ(board.Answer(frame), "GO\r\n") << frame;
    const std::string answer = board.Answer(c.request);
    EXPECT_EQ(answer, c.answer) << c.request;
    EXPECT_LE(answer.size(), BoardModel::kMaxAnswerBytes);
  }
}

TEST(BoardModel, RefusesAnythingNotUnderstoodExactlyAndChangesNothing) {
  BoardModel board;
  board.LoadFrom(VariedConfig());
  const BoardState before = board.state();
  const auto refused = [&](std::vector<std::string> frames, const char* end = "\r\n") {
    for (const std::string& frame : frames) {
      EXPECT_EQ(board.Answer(frame + end), "E3\r\n") << frame;
      EXPECT_TRUE(Tie(board.state()) == Tie(before)) << frame;
    }
  };
  const std::string blank = Times("2121", 97), zeros = Times("0", 62), highs = Times("H", 31);
  // Pages, lengths and letters.
  refused({"P33BDLT0000000", "P00BDLT0000000", "P01BDLT000000", "P01BDLT00000000",
           "P01ICLT0000000000000", "PTWL" + highs, "CA01" + blank + "212", "CA33" + blank + "2121",
           "PH1", "P1", "P3A", "PA", "PASS", "IDOX", "IDO", "XYZ", "GO", ""});
  refused({"RCA33", "RCA1", "RP00BDLT", "RP01BDLX", "RPX", "RPTCT "});
  // Characters and values out of range: blink 5, colour 9, fill bit 7, position 16.
  refused({"P02BDLT0000005", "P01ICLT00000000000009", "P01FBLT80", "P01FBLT4a",
           "PTFB" + zeros + "0a", "PTFB" + zeros + "80", "PTCT" + zeros + "0x",
           "PTWL" + highs + "h", "PH16", "PV-1", "PH 8", "CA01" + blank + "2120",
           "CA01" + blank + "7F21", "CN01" + blank + "212a"});
  // Endings other than one CR LF.
  refused({"", "P01", "P01\r", "P01\n", "P01\n\r", "P01\r\n\r\n", std::string("P0\0\r\n", 5)}, "");
}

TEST(BoardModel, NotMemoryTitlesChangeOnlyWhatIsShownAndDisplayOnOffIsKept) {
  BoardModel board;
  const TitleCodes blank = board.state().titles[4];
  ASSERT_EQ(board.Answer("CN05467C" + Times("2121", 97) + "\r\n"), "GO\r\n");
  EXPECT_EQ(board.state().shown_titles[4][0], 0x467C);
  EXPECT_EQ(board.state().titles[4], blank);
  ASSERT_EQ(board.Answer("CA05" + Times("2121", 98) + "\r\n"), "GO\r\n");
  EXPECT_EQ(board.state().shown_titles[4], blank);
  for (bool on : {false, true}) {
    EXPECT_EQ(board.Answer(on ? "IDON\r\n" : "IDOF\r\n"), "GO\r\n");
    EXPECT_EQ(board.state().display_on, on);
  }
}

}  // namespace
}  // namespace qrv
