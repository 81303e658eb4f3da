#include "board_model.h"

#include <gtest/gtest.h>

#include "varied_config.h"

namespace qrv {
namespace {

auto Tie(const BoardState& s) {
  return std::tie(s.titles, s.shown_titles, s.blink, s.char_colour, s.border_colour, s.fill_mask,
                  s.display_time, s.char_level, s.position_h, s.position_v, s.display_page,
                  s.display_auto, s.display_on);
}

// The program's whole run through the board is checked over a pseudo-terminal in
// serial_link_test; its faults, delays and split answers there too.
TEST(BoardModel, LoadsWhatTheBoardWouldTakeAndKeepsTheRest) {
  BoardModel loaded;
  DisplayConfig bad = VariedConfig();
  bad.set_title(0, 1, "A");  // half-width: the page cannot be converted
  bad.blink[4][1] = 5;
  bad.fill_mask[5] = 0x80;
  bad.display_time[6] = -1;
  bad.position_v = 16;
  bad.display_page_auto = 1;
  bad.display_on = 0;
  loaded.LoadFrom(bad);
  const BoardState& s = loaded.state();
  EXPECT_EQ(std::tie(s.titles[0], s.blink[4][1], s.blink[4][2], s.fill_mask[5], s.display_time[6],
                     s.position_v, s.display_auto, s.display_on),
            std::make_tuple(BoardModel().state().titles[0], 0, 3, 0, 2, 8, true, false));
}

// Each frame set in turn on one board, then the request that shows it.
TEST(BoardModel, AnswersAtTheBoundariesByteForByte) {
  const std::string codes = "467C" + Times("2121", 96) + "7E7E";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"", "RCA01", "CA01" + Times("2121", 98)},
      {"CA32" + codes, "RCA32", "CA32" + codes},
      {"PAS", "RP", "PA"},
      {"P01", "RP", "P01"},
      {"P32", "RP", "P32"},
      {"P01FBLT41", "RPTFB", "PTFBN-----N" + Times("-", 7 * 31)},
      {"PH15", "RPH", "PVH15"},
      {"PTWLL" + Times("H", 31), "RPTWL", "PTWLL" + Times("H", 31)},
      {"P32BDLT0123440", "RP01BDLT", "PTBD" + Times("0", 217) + "0123440"},
      {"P01ICLT88012345678000", "RP32ICLT", "PTIC88012345678000" + Times("70", 7 * 31)},
      {"CN05467C" + Times("2121", 97), "RCA05", "CA05" + Times("2121", 98)}};  // shown only
  BoardModel board;
  for (const auto& [set, request, answer] : cases) {
    if (!set.empty()) {
      EXPECT_EQ(board.Answer(set + "\r\n"), "GO\r\n") << set;
    }
    const std::string got = board.Answer(request + "\r\n");
    EXPECT_EQ(got, answer + "\r\n") << request;
    EXPECT_LE(got.size(), BoardModel::kMaxAnswerBytes);
  }
  EXPECT_EQ(board.state().shown_titles[4][0], 0x467C);
  for (bool on : {false, true}) {
    EXPECT_EQ(board.Answer(on ? "IDON\r\n" : "IDOF\r\n"), "GO\r\n");
    EXPECT_EQ(board.state().display_on, on);
  }
}

TEST(BoardModel, RefusesAnythingNotUnderstoodExactlyAndChangesNothing) {
  BoardModel board;
  board.LoadFrom(VariedConfig());
  const BoardState before = board.state();
  // Pages, lengths and letters; values out of range: blink 5, colour 9, fill bit 7, position 16,
  // lower-case hex, JIS rows and cells outside 0x21..0x7E.
  std::vector<std::string> refused = {
      "PH1", "P1",     "P3A",       "PA",        "PASS", "IDOX",     "IDO",
      "XYZ", "GO",     "",          "RCA33",     "RCA1", "RP00BDLT", "RP01BDLX",
      "RPX", "RPTCT ", "P01FBLT80", "P01FBLT4a", "PH16", "PV-1",     "PH 8"};
  refused.insert(refused.end(),
                 {"P33BDLT0000000", "P00BDLT0000000", "P01BDLT000000", "P01BDLT00000000",
                  "P01ICLT0000000000000", "P02BDLT0000005", "P01ICLT00000000000009"});
  for (const char* codes : {"CA01212", "CA332121", "CA012120", "CA017F21", "CN01212a"})
    refused.push_back(std::string(codes, 4) + Times("2121", 97) + (codes + 4));
  for (const char* values : {"PTFB0a", "PTFB80", "PTCT0x"})
    refused.push_back(std::string(values, 4) + Times("0", 62) + (values + 4));
  for (const char* levels : {"", "h"}) refused.push_back("PTWL" + Times("H", 31) + levels);
  for (const std::string& frame : refused) {
    EXPECT_EQ(board.Answer(frame + "\r\n"), "E3\r\n") << frame;
    EXPECT_TRUE(Tie(board.state()) == Tie(before)) << frame;
  }
  // Endings other than one CR LF.
  for (const std::string frame : {"", "P01", "P01\r", "P01\n", "P01\n\r", "P01\r\n\r\n"})
    EXPECT_EQ(board.Answer(frame), "E3\r\n") << frame;
  EXPECT_EQ(board.Answer(std::string("P0\0\r\n", 5)), "E3\r\n");
}

}  // namespace
}  // namespace qrv
