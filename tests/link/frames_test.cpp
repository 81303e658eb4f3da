#include "frames.h"

#include <gtest/gtest.h>

namespace qrv {
namespace {

DisplayConfig NonDefault() {
  DisplayConfig c;
  c.blink[0] = {1, 0, 0, 0, 0, 0, 4};
  c.blink[31] = {0, 1, 2, 3, 4, 0, 0};
  c.char_colour[31] = {8, 0, 1, 2, 3, 4, 5};
  c.border_colour[31] = {1, 2, 3, 4, 5, 6, 7};
  c.fill_mask[1] = 0x10;
  c.fill_mask[2] = 0x5A;
  c.fill_mask[9] = 0x7F;
  c.fill_mask[31] = 0x0F;
  c.display_time[0] = 0;
  c.display_time[1] = 99;
  c.display_time[2] = 7;
  c.char_level[0] = 0;
  c.char_level[31] = 0;
  c.position_h = 15;
  c.position_v = 0;
  return c;
}

std::string Times(const char* s, int n) {
  std::string r;
  while (n-- > 0) r += s;
  return r;
}

TEST(Frames, SetFramesByteForByte) {
  DisplayConfig c = NonDefault();
  const DisplayConfig defaults;
  const std::pair<Frame, std::string> cases[] = {
      {PageBlinkFrame(c, 0), "P01BDLT1000004\r\n"},
      {PageBlinkFrame(c, 31), "P32BDLT0123400\r\n"},
      {PageColourFrame(defaults, 0), "P01ICLT70707070707070\r\n"},
      {PageColourFrame(c, 31), "P32ICLT81021324354657\r\n"},
      {PageFillFrame(c, 2), "P03FBLT5A\r\n"},
      {PageFillFrame(c, 9), "P10FBLT7F\r\n"},
      {PageFillFrame(c, 0), "P01FBLT00\r\n"},
      {AllFillFrame(c), "PTFB00105A" + Times("00", 6) + "7F" + Times("00", 21) + "0F\r\n"},
      {AllFillFrame(defaults), "PTFB" + Times("0", 64) + "\r\n"},
      {DisplayTimeFrame(c), "PTCT009907" + Times("02", 29) + "\r\n"},
      {DisplayTimeFrame(defaults), "PTCT" + Times("02", 32) + "\r\n"},
      {CharLevelFrame(c), "PTWLL" + Times("H", 30) + "L\r\n"},
      {PositionHFrame(c), "PH15\r\n"},
      {PositionVFrame(c), "PV00\r\n"},
      {PositionHFrame(defaults), "PH08\r\n"},
      {DisplayOnOffFrame(defaults), "IDOF\r\n"},
  };
  for (const auto& [frame, expected] : cases) EXPECT_EQ(frame, expected);

  c.display_on = 1;
  EXPECT_EQ(DisplayOnOffFrame(c), "IDON\r\n");
  EXPECT_EQ(DisplayPageFrame(c), "P01\r\n");
  c.current_page = 31;
  EXPECT_EQ(DisplayPageFrame(c), "P32\r\n");
  // Auto wins over whatever page the list shows.
  c.display_page_auto = 1;
  c.current_page = 4;
  EXPECT_EQ(DisplayPageFrame(c), "PAS\r\n");
}

TEST(Frames, ReadRequestsByteForByte) {
  EXPECT_EQ(ReadTitleRequest(0), "RCA01\r\n");
  EXPECT_EQ(ReadTitleRequest(31), "RCA32\r\n");
  EXPECT_EQ(ReadBlinkRequest(0), "RP01BDLT\r\n");
  EXPECT_EQ(ReadBlinkRequest(31), "RP32BDLT\r\n");
  EXPECT_EQ(ReadColourRequest(9), "RP10ICLT\r\n");
  EXPECT_EQ(ReadDisplayPageRequest(), "RP\r\n");
  EXPECT_EQ(ReadDisplayTimeRequest(), "RPTCT\r\n");
  EXPECT_EQ(ReadFillRequest(), "RPTFB\r\n");
  EXPECT_EQ(ReadCharLevelRequest(), "RPTWL\r\n");
  EXPECT_EQ(ReadPositionHRequest(), "RPH\r\n");
  EXPECT_EQ(ReadPositionVRequest(), "RPV\r\n");
}

TEST(Frames, BlankColourLineIsFoundOnlyWhenBothColoursAreBlank) {
  DisplayConfig c;
  c.char_colour[4][2] = kColourBlank;  // blank characters, red bordering: fine
  c.border_colour[4][2] = 1;
  EXPECT_EQ(FirstBlankColourLine(c, 4), -1);
  EXPECT_EQ(PageColourFrame(c, 4), "P05ICLT70708170707070\r\n");
  c.char_colour[4][5] = kColourBlank;
  c.border_colour[4][5] = kColourBlank;
  c.char_colour[4][6] = kColourBlank;
  c.border_colour[4][6] = kColourBlank;
  EXPECT_EQ(FirstBlankColourLine(c, 4), 5);
}

}  // namespace
}  // namespace qrv
