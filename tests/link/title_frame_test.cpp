#include "title_frame.h"

#include <gtest/gtest.h>

#include "sjis_jis.h"

namespace qrv {
namespace {

std::string Times(const char* s, int n) {
  std::string r;
  while (n-- > 0) r += s;
  return r;
}

TEST(SjisToJis, AcceptsRowsOneToNinetyFourAndMappedIbmCodesOnly) {
  const std::pair<unsigned, unsigned> cases[] = {
      {0x8140, 0x2121},  // full-width space
      {0x8260, 0x2341},  // Ａ
      {0x8261, 0x2342},  // Ｂ
      {0x889F, 0x3021},  // 亜, first kanji of level 1
      {0x9FFC, 0x5E7E},  // last lead byte before the gap
      {0xE040, 0x5F21},  // first lead byte after the gap
      {0x8740, 0x2D21},  // ①, NEC row 13
      {0x8754, 0x2D35},  // Ⅰ in its NEC form
      {0xEFFC, 0x7E7E},  // last cell of row 94
      {0xFA40, 0x7C71},  // ⅰ: small roman numerals are taken as they are
      {0xFA49, 0x7C7A}, {0xFA55, 0x7C7C},
      {0xFA57, 0x7C7E}, {0xFA5C, 0x7921},  // first IBM kanji, by way of NEC 0xED40
      {0xFBFC, 0x7C62},                    // 髙 (IBM) by way of NEC 0xEEE0
      {0xFC4B, 0x7C6E},                    // last mapped IBM code
      {0xFA4A, 0},                         // Ⅰ in its IBM form
      {0xFA54, 0},                         // ￢ (IBM)
      {0xFA58, 0},                         // ㈱ (IBM)
      {0xFA5B, 0},                         // ∵ (IBM)
      {0xFA7F, 0},                         // not a character
      {0xFC4C, 0},                         // past the table
      {0xF040, 0},                         // user-defined
      {0x4142, 0},                         // two half-width letters
      {0x82A0, 0x2422},                    // あ
      {0x817F, 0},                         // 0x7F is no trail byte
      {0x8100, 0},
  };
  for (const auto& [sjis, jis] : cases) EXPECT_EQ(SjisToJis(sjis), jis) << std::hex << sjis;
}

TEST(SjisToJis, EveryJisCodeSurvivesTheWayBackAndForth) {
  for (int row = 0x21; row <= 0x7E; ++row) {
    for (int cell = 0x21; cell <= 0x7E; ++cell) {
      const int jis = row * 256 + cell;
      ASSERT_EQ(SjisToJis(JisToSjis(jis)), jis) << std::hex << jis;
    }
  }
  EXPECT_EQ(JisToSjis(0x2341), 0x8260);
  EXPECT_EQ(JisToSjis(0x7C71), 0xEEEF);  // NEC form of ⅰ
  EXPECT_EQ(JisToSjis(0x2120), 0);
  EXPECT_EQ(JisToSjis(0x7F21), 0);
  EXPECT_EQ(JisToSjis(-1), 0);
}

TEST(TitleFrame, PagesThatCanBeSent) {
  DisplayConfig c;
  EXPECT_EQ(BuildTitleFrame(c, 0, true), "CA01" + Times("2121", 98) + "\r\n");

  c.set_title(0, 0, "\x82\x60\x82\x61");  // ＡＢ
  EXPECT_EQ(BuildTitleFrame(c, 0, true),
            "CA01"
            "23412342" +
                Times("2121", 96) + "\r\n");

  const auto frame = BuildTitleFrame(c, 11, false);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->substr(0, 4), "CN12");
  EXPECT_EQ(frame->size(), 398u);

  // Fourteen full-width characters fill the line with no space added; the full-width
  // space of line 2 stands where it was typed.
  c.set_title(31, 0, Times("\x88\x9F", 14));
  c.set_title(31, 1, "\x81\x40\x82\xA0");
  EXPECT_EQ(BuildTitleFrame(c, 31, true),
            "CA32" + Times("3021", 14) + "21212422" + Times("2121", 82) + "\r\n");
}

TEST(TitleFrame, RefusedPagesSayWhereAndWhy) {
  struct Case {
    std::string text;
    TitleFault fault;
    int column;
  };
  const Case cases[] = {
      {"\x82\xA0"
       "A",
       TitleFault::kOddLength, -1},              // あA
      {"AB", TitleFault::kRefusedCharacter, 0},  // even, still half-width
      {"\x82\xA0"
       "AB",
       TitleFault::kRefusedCharacter, 1},  // あAB: "AB" is the second unit
      {"\x82\xA0\xFA\x4A", TitleFault::kRefusedCharacter, 1},
      {"\xF0\x40", TitleFault::kRefusedCharacter, 0},
      {Times("\x82\xA0", 14) + "A", TitleFault::kLineTooLong, -1},  // 29 bytes, from a file
  };
  for (const Case& k : cases) {
    DisplayConfig c;
    c.set_title(4, 2, k.text);
    TitleCheck why;
    EXPECT_FALSE(BuildTitleFrame(c, 4, true, &why)) << k.text;
    EXPECT_EQ(why.fault, k.fault) << k.text;
    EXPECT_EQ(why.line, 2) << k.text;
    EXPECT_EQ(why.column, k.column) << k.text;
  }
}

}  // namespace
}  // namespace qrv
