#include <gtest/gtest.h>

#include "line_assembler.h"
#include "link_watchdog.h"
#include "recording_reporter.h"
#include "response_dispatcher.h"
#include "run_steps.h"
#include "sjis_jis.h"
#include "varied_config.h"

// The protocol without a line: frames, title codes, run steps, answers, line assembly and the
// answer watchdog.
namespace qrv {
namespace {

using namespace std::string_literals;
using Shown = std::vector<std::string>;

TEST(Frames, SetAndTitleFramesByteForByte) {
  DisplayConfig c;
  c.blink[31] = {0, 1, 2, 3, 4, 0, 0};
  c.char_colour[31] = {8, 0, 1, 2, 3, 4, 5};
  c.border_colour[31] = {1, 2, 3, 4, 5, 6, 7};
  c.fill_mask[0] = 0x5A;
  c.fill_mask[31] = 0x0F;
  c.display_time[1] = 99;
  c.display_time[31] = c.char_level[0] = c.char_level[31] = c.position_v = 0;
  c.position_h = 15;
  EXPECT_EQ(
      PageBlinkFrame(c, 31) + PageColourFrame(c, 31) + PageFillFrame(c, 0) + PositionHFrame(c) +
          PositionVFrame(c) + DisplayPageFrame(c) + DisplayOnOffFrame(c),
      "P32BDLT0123400\r\nP32ICLT81021324354657\r\nP01FBLT5A\r\nPH15\r\nPV00\r\nP01\r\nIDOF\r\n");
  c.display_page_auto = 1;  // Auto wins over whatever page the list shows
  EXPECT_EQ(DisplayPageFrame(c), "PAS\r\n");
  // Fourteen characters fill a line with no space added; a typed full-width space stays.
  c.set_title(31, 0, Times("\x88\x9F", 14));
  c.set_title(31, 1, "\x81\x40\x82\xA0");
  EXPECT_EQ(BuildTitleFrame(c, 31, true),
            "CA32" + Times("3021", 14) + "21212422" + Times("2121", 82) + "\r\n");
}

// Rows 1..94 across the gap in lead bytes, NEC row 13, and the IBM extensions by way of their
// NEC-selected form or, for those without one, the end of row 92; 0 for what cannot be shown.
TEST(SjisToJis, AcceptsRowsOneToNinetyFourAndMappedIbmCodesOnly) {
  const std::pair<unsigned, unsigned> cases[] = {
      {0x889F, 0x3021}, {0x9FFC, 0x5E7E}, {0xE040, 0x5F21}, {0x8740, 0x2D21}, {0xEFFC, 0x7E7E},
      {0xFA40, 0x7C71}, {0xFA5C, 0x7921}, {0xFC4B, 0x7C6E}, {0xFA4A, 0},      {0xFC4C, 0},
      {0xF040, 0},      {0x4142, 0},      {0x817F, 0}};
  for (const auto& [sjis, jis] : cases) EXPECT_EQ(SjisToJis(sjis), jis) << std::hex << sjis;
  for (int row = 0x21; row <= 0x7E; ++row)
    for (int jis = row * 256 + 0x21; jis <= row * 256 + 0x7E; ++jis)
      ASSERT_EQ(SjisToJis(JisToSjis(jis)), jis) << std::hex << jis;
  for (int refused : {0x2120, 0x7F21, 0x217F, -1}) EXPECT_EQ(JisToSjis(refused), 0) << refused;
  EXPECT_EQ(JisToSjis(0x7C71), 0xEEEF);  // the NEC form of a small roman numeral
}

// Both runs at the edges of their step ranges: the start of what each step sends, "-" for nothing.
TEST(RunSteps, StepsSendAndReadEveryFieldOnceInOrder) {
  DisplayConfig c;
  c.current_page = 6;
  std::string sends, reads;
  for (int step : {1, 32, 33, 34, 35, 36, 67, 68, 99, 100, 101, 102, 103})
    sends += AllItemsStep(c, step).frame.value_or("-").substr(0, 4) + " ";
  EXPECT_EQ(sends, "CA01 CA32 - PTFB PTWL P01I P32I P01B P32B P07\r PTCT PH08 PV08 ");
  for (int step : {1, 32, 33, 64, 65, 96, 97, 98, 99, 100, 101, 102, 103})
    reads += MaintenanceReadStep(step).value_or("-");
  EXPECT_EQ(reads,
            "RCA01\r\nRCA32\r\nRP01BDLT\r\nRP32BDLT\r\nRP01ICLT\r\nRP32ICLT\r\n-RP\r\nRPTCT\r\n"
            "RPTFB\r\nRPTWL\r\nRPH\r\nRPV\r\n");
}

// One page as the page editor sends it: its title stored, colours, blink and fill, then the
// level and display time of every page.
TEST(RunSteps, APageGoesInItsSixFrames) {
  DisplayConfig c;
  c.set_title(1, 0, "\x82\x60");  // Ａ
  c.char_colour[1][0] = 1;
  c.border_colour[1][0] = 2;
  c.blink[1][2] = 2;
  c.fill_mask[1] = 0b101;
  c.char_level[1] = 0;
  c.display_time[1] = 7;
  std::string frames;
  for (int step = 1; step <= kPageSendSteps; ++step)
    frames += PageSendStep(c, 1, step).frame.value_or("-");
  EXPECT_EQ(frames, "CA022341" + Times("2121", 97) +
                        "\r\nP02ICLT12707070707070\r\nP02BDLT0020000\r\nP02FBLT05\r\nPTWLHL" +
                        Times("H", 30) + "\r\nPTCT0207" + Times("02", 30) + "\r\n");
}

TEST(RunSteps, RefusedPagesSendNothingAndSayWhere) {
  using F = TitleFault;
  const std::tuple<std::string, TitleFault, int> titles[] = {
      {"\x82\xA0\x41", F::kOddLength, -1},                  // あA
      {"\x82\xA0\x41\x42", F::kRefusedCharacter, 1},        // あAB
      {Times("\x82\xA0", 14) + "A", F::kLineTooLong, -1}};  // 29 bytes, from a file
  for (const auto& [text, fault, column] : titles) {
    DisplayConfig c;
    c.set_title(4, 2, text);
    const AllItemsStepResult r = AllItemsStep(c, 5);
    EXPECT_EQ(std::make_tuple(r.frame.has_value(), r.refusal, r.title.fault, r.title.line,
                              r.title.column),
              std::make_tuple(false, FrameRefusal::kTitle, fault, 2, column))
        << text;
  }
  DisplayConfig c;
  // Page 7: line 2 has one colour blank, which is fine; line 4 has both.
  c.char_colour[6][1] = c.char_colour[6][3] = c.border_colour[6][3] = kColourBlank;
  const AllItemsStepResult r = AllItemsStep(c, 36 + 6);
  EXPECT_EQ(std::make_tuple(r.frame.has_value(), r.refusal, r.colour_line),
            std::make_tuple(false, FrameRefusal::kColour, 3));
  // A value the board does not take is named with its range, and the frame not built; the
  // largest it takes (8, 4, 0x7F, 99, 15, page 32 or any page under Auto) are sent.
  const std::tuple<int, void (*)(DisplayConfig&), std::string> values[] = {
      {37, [](DisplayConfig& d) { d.border_colour[1][6] = 9; },
       "page 2 line 7 border colour 9 (0..8)"},
      {99, [](DisplayConfig& d) { d.blink[31][0] = -1; }, "page 32 line 1 blink -1 (0..4)"},
      {34, [](DisplayConfig& d) { d.fill_mask[3] = 0x80; }, "page 4 fill 128 (0..127)"},
      {35, [](DisplayConfig& d) { d.char_level[0] = 2; }, "page 1 character level 2 (0..1)"},
      {100, [](DisplayConfig& d) { d.current_page = 32; }, "current page 32 (0..31)"},
      {101, [](DisplayConfig& d) { d.display_time[4] = 100; }, "page 5 display time 100 (0..99)"},
      {102, [](DisplayConfig& d) { d.position_h = 16; }, "horizontal position 16 (0..15)"},
      {103, [](DisplayConfig& d) { d.position_v = -3; }, "vertical position -3 (0..15)"}};
  DisplayConfig edge;
  edge.border_colour[1][6] = 8;
  edge.blink[31][0] = 4;
  edge.fill_mask[3] = 0x7F;
  edge.display_time[4] = 99;
  edge.position_h = edge.position_v = 15;
  edge.current_page = 40, edge.display_page_auto = 1;
  for (const auto& [step, change, misfit] : values) {
    DisplayConfig d;
    change(d);
    const AllItemsStepResult bad = AllItemsStep(d, step);
    EXPECT_EQ(std::make_tuple(bad.frame.has_value(), bad.refusal, bad.misfit),
              std::make_tuple(false, FrameRefusal::kValue, misfit));
    EXPECT_TRUE(AllItemsStep(edge, step).frame.has_value()) << step;
  }
}

// Page tables and titles as a board sends them are checked end to end in serial_link_test.
class DispatcherTest : public ::testing::Test {
 protected:
  DisplayConfig config;
  LinkState link;
  RecordingReporter reporter;
  ResponseDispatcher dispatcher{config, link, reporter};

  // Dispatches line as after an unanswered frame; what it showed.
  Shown Dispatch(std::string_view line) {
    link.FrameSent();
    link.UnansweredTick();
    link.ErrorAnswerReceived();
    reporter.shown.clear();
    dispatcher.Dispatch(line);
    EXPECT_EQ(std::make_pair(link.AnswerPending(), link.UnansweredTicks()), std::make_pair(0, 0));
    return reporter.shown;
  }
};

TEST_F(DispatcherTest, GoAndErrorAnswersCountOnlyWhenExact) {
  EXPECT_EQ(Dispatch("GO\r\n"), Shown{"set-complete"});
  const std::pair<const char*, const char*> errors[] = {
      {"GN\r\n", "Mode Error"},   {"MENU\r\n", "Menu Display"}, {"E0\r\n", "Framing Error"},
      {"E1\r\n", "Parity Error"}, {"E2\r\n", "Over Run Error"}, {"E3\r\n", "Command Error"}};
  for (const auto& [line, message] : errors) {
    EXPECT_EQ(Dispatch(line), Shown{"error:"s + message});
    EXPECT_EQ(link.ErrorReceived(), 1) << line;
  }
  const std::string cut = std::string(499, 'Z') + "GO\r\n";  // past the bytes looked at
  const std::string_view ignored[] = {"GOX\r\n", "GO",      {"G\0O\r\n", 5}, "E4\r\n", "E3",
                                      "E3 \r\n", "GNX\r\n", "\r\n",          "",       cut};
  for (std::string_view line : ignored) {
    EXPECT_EQ(Dispatch(line), Shown{}) << line;
    EXPECT_EQ(link.ErrorReceived(), 0) << line;
    EXPECT_EQ(IsBoardAnswer(line), false) << line;
  }
}

// Tags match whatever follows, and a short line reads zero bytes past its end. What only the
// board reports is kept without a box.
TEST_F(DispatcherTest, ValuesAreStoredWithoutABox) {
  config.fill_mask[2] = 9;
  for (const char* line : {"ADT123\r\n", "AICB\r\n", "AMX\r\n", "ARB", "CIR\r\n", "RMxxN", "TSDx",
                           "ACA0102030405060708", "PVH05\r\n", "PVV12\r\n", "PTFB-------N-N\r\n"})
    EXPECT_EQ(Dispatch(line), Shown{}) << line;
  Dispatch("SDPT" + Times("05", 31 * 4) + "\r\n");  // the last row is never reported
  Dispatch("PTWL" + Times("H", 31) + "h" + std::string(2000, 'x'));  // only 'H' is High
  EXPECT_EQ(
      std::make_tuple(config.adt_value, config.aic_flag, config.am_flag, config.ar_flag,
                      config.ci_flag, config.rm_mode, config.tsd_mode, config.assign_table[7],
                      config.schedule_page[30][3], config.schedule_page[31][3], config.position_h,
                      config.position_v, config.fill_mask[1], config.fill_mask[2],
                      config.char_level[30], config.char_level[31], config.modified),
      std::make_tuple(123, 1, 0, 1, 1, 1, 2, 8, 4, 33, 5, 12, 5, 0, 1, 0, 0));
  EXPECT_EQ(Dispatch("TSR1\r\n"), Shown{"read-complete"});
  std::string pages;
  for (const char* line : {"P07\r\n", "PAS\r\n", "P01\r\n", "P32\r\n", "P33\r\n", "PVH03\r\n"}) {
    EXPECT_EQ(Dispatch(line), Shown{}) << line;
    pages += std::to_string(config.current_page) + (config.display_page_auto ? "A " : " ");
  }
  // Display page reports: anything unusable, or a known "PV" tag, leaves the last value.
  EXPECT_EQ(pages, "6 32A 0 31 31 31 ");
}

TEST_F(DispatcherTest, TitleAnswersDecodeInBoundsAndInNecForm) {
  for (const char* page : {"00", "33", "99", "-1", "a1"})
    Dispatch("CA"s + page + Times("2341", 98) + "\r\n");
  for (int p = 0; p < kPages; ++p) EXPECT_EQ(config.title(p, 0), "") << p;

  DisplayConfig sent;
  sent.set_title(4, 0, "\x87\x40\x87\x54\xEE\xEF\xEE\xE0");  // ① Ⅰ ⅰ 髙 in NEC form
  sent.set_title(4, 1, "\xFB\xFC\xFA\x40");                  // 髙 ⅰ in IBM form
  config.set_title(4, 0, Times("\x82\xA0", 5));              // longer text is replaced
  Dispatch(*BuildTitleFrame(sent, 4, true));
  EXPECT_EQ(config.title(4, 0), sent.title(4, 0));
  EXPECT_EQ(config.title(4, 1), "\xEE\xE0\xEE\xEF");
  // Codes past row 92 read as spaces, and a code that does not convert ends the line.
  Dispatch("CA02" + "23417D21234221002341"s + Times("2121", 93) + "\r\n");
  EXPECT_EQ(config.title(1, 0), "\x82\x60\x81\x40\x82\x61");
}

// A line is handed over only when a read ends in LF; one growing past 499 bytes is dropped
// with that read.
TEST(LineAssemblerTest, HandsOverWhenAReadEndsInLfAndDropsOverlongLines) {
  const std::string longest(LineAssembler::kMaxLineBytes - 2, 'x'),
      nul = "G\0O\r\n"s, full_read(LineAssembler::kMaxReadBytes, 'y'), part(300, 'z'),
      rest = std::string(199, 'z') + "\n";
  const std::string reads[] = {"G",      "O\r", "\n", "GO\r\nG", "O\r\n", "",
                               "E1\r\n", nul,   "\n", longest,   "\r\n",  full_read,
                               "GO\r\n", part,  rest, "E3\r\n",  "GO\r"};
  LineAssembler a;
  std::string handed;
  for (const std::string& read : reads) handed += a.Feed(read).value_or("-") + "|";
  EXPECT_EQ(handed, "-|-|GO\r\n|-|GO\r\nGO\r\n|-|E1\r\n|" + nul + "|\n|-|" + longest +
                        "\r\n|-|GO\r\n|-|-|E3\r\n|-|");
}

// With answers in flight every LF ends a line, also inside a read; the longest line is 499
// bytes, LF included.
TEST(LineAssemblerTest, EachLineMayEndInsideARead) {
  const std::string longest(LineAssembler::kMaxLineBytes - 1, 'x');
  const std::string reads[] = {"GO\r\nPT", "WL\r\nGO\r\nE", "1\r\n",   longest,
                               "\n",       longest + "y",   "\nGO\r\n"};
  LineAssembler a;
  std::string handed;
  for (const std::string& read : reads)
    for (const std::string& line : a.FeedEachLine(read)) handed += line + "|";
  EXPECT_EQ(handed, "GO\r\n|PTWL\r\n|GO\r\n|E1\r\n|" + longest + "\n|GO\r\n|");
  EXPECT_EQ(a.FeedEachLine("GO\r").size() + a.open_bytes(), 3u);
}

TEST(LinkWatchdogTest, ReportsAtTheSeventhPendingTickOnceAndOnlyOutsideRuns) {
  LinkState link;
  RecordingReporter reporter;
  const auto ticks = [&](int n) {
    while (n-- > 0) LinkWatchdog(link, reporter);
    return reporter.shown;
  };
  link.FrameSent();
  EXPECT_EQ(ticks(6), Shown{});
  link.RunBegun();  // a timed run neither counts nor resets the count
  EXPECT_EQ(ticks(100), Shown{});
  link.RunEnded();
  link.FrameSent();
  EXPECT_EQ(ticks(1), Shown{"error:No Connect"});
  EXPECT_EQ(std::make_pair(link.AnswerPending(), link.UnansweredTicks()), std::make_pair(0, 0));
}

}  // namespace
}  // namespace qrv
