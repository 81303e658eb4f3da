#include "config_csv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "config_file.h"
#include "config_files.h"
#include "cp932_utf8.h"
#include "japanese_locale.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Texts = std::vector<std::string>;
const std::string kBom = "\xEF\xBB\xBF";

std::string Dat(const DisplayConfig& config) {
  std::ostringstream out(std::ios::binary);
  WriteConfigFile(out, config);
  return out.str();
}

// The CSV's lines after the mark, without their line ends.
Texts CsvLines(const std::string& csv) {
  Texts lines;
  std::istringstream in(csv.substr(kBom.size()));
  for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.size() - 1));
  return lines;
}

std::string Joined(const Texts& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

// Titles only a file or a board gives: a code two forms share (纊 as NEC-selected ED40,
// which Unicode maps to FA5C), bytes that are no character, a control byte; and a comma and
// quotes that want quoting.
DisplayConfig OddTitles(DisplayConfig c) {
  c.set_title(1, 1, "\xED\x40\x82\xA0");
  c.set_title(1, 2, "\x80\xFD\xA0\x81");
  c.set_title(1, 3, "\x01\x82\xA0");
  c.set_title(1, 4, "A,\"B\"");
  return c;
}

// Export then import over the same base gives the same file, and every field the CSV holds
// comes over whatever the base; from the mark or without it, from code page 932, with CR LF
// or LF line ends alike.
TEST(ConfigCsv, ExportedCsvComesBackByteForByteInEveryEncoding) {
  DisplayConfig sample;
  ConfigFileExtent extent;
  ASSERT_TRUE(LoadConfigFile(QRV_SAMPLE_DAT, sample, &extent, nullptr));
  for (const DisplayConfig& base : {sample, VariedConfig(), OddTitles(VariedConfig())}) {
    DisplayConfig read = base;
    EXPECT_EQ(ReadConfigCsv(WriteConfigCsv(base), read), Texts{});
    EXPECT_EQ(Dat(read), Dat(base));
  }
  const DisplayConfig varied = VariedConfig();
  const Texts lines = CsvLines(WriteConfigCsv(varied));
  Texts cp932;
  for (const std::string& line : lines) cp932.push_back(Cp932FromUtf8(line).bytes);
  for (const std::string end : {"\r\n", "\n"}) {
    for (const std::string& csv :
         {kBom + Joined(lines, end), Joined(lines, end), Joined(cp932, end)}) {
      DisplayConfig read;
      read.position_h = 3;
      EXPECT_EQ(ReadConfigCsv(csv, read), Texts{}) << csv.substr(0, 20);
      EXPECT_EQ(
          std::tie(read.title_text, read.char_colour, read.border_colour, read.blink,
                   read.fill_mask, read.display_time, read.char_level, read.position_h),
          std::tie(varied.title_text, varied.char_colour, varied.border_colour, varied.blink,
                   varied.fill_mask, varied.display_time, varied.char_level, read.position_h));
      EXPECT_EQ(read.position_h, 3);
    }
  }
  // Without the file as base, a shared code takes Unicode's form and bytes that are no
  // character are refused.
  const std::string kNoCharacter =
      " column text: code page 932 lacks \"\xEF\xBF\xBD\" (bytes of a .dat file that are no "
      "character: take that file as the base)";
  DisplayConfig fresh;
  EXPECT_EQ(ReadConfigCsv(WriteConfigCsv(OddTitles({})), fresh),
            (Texts{"line 11" + kNoCharacter, "line 12" + kNoCharacter}));
  DisplayConfig shared;
  shared.set_title(1, 1, "\xED\x40\x82\xA0");
  EXPECT_EQ(ReadConfigCsv(WriteConfigCsv(shared), fresh), Texts{});
  EXPECT_EQ(fresh.title(1, 1), "\xFA\x5C\x82\xA0");
}

TEST(ConfigCsv, WritesTheFixedFormat) {
  DisplayConfig c = OddTitles(VariedConfig());
  c.set_title(0, 1, " x");
  c.char_colour[0][2] = 99;
  c.char_level[1] = 5;
  const std::string csv = WriteConfigCsv(c);
  const Texts lines = CsvLines(csv);
  ASSERT_EQ(lines.size(), 225u);
  EXPECT_EQ(csv.substr(0, kBom.size() + CsvHeader().size() + 2), kBom + CsvHeader() + "\r\n");
  EXPECT_EQ(Joined(lines, "\r\n"), csv.substr(kBom.size()));
  const std::pair<int, std::string> rows[] = {
      {1, "1,1,日本,黒,赤,0,0,0,Low"},
      {2, "1,2,\" x\",赤,黄,0,0,0,Low"},
      {3, "1,3,,99,マゼンタ,0,0,0,Low"},
      {9, "2,2,纊あ,緑,青,1,0,7,5"},
      {10, "2,3,\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD,黄,シアン,2,1,7,5"},
      {12, "2,5,\"A,\"\"B\"\"\",マゼンタ,緑,4,0,7,5"},
      {224, "32,7,,赤,青,1,0,17,High"}};
  for (const auto& [at, row] : rows) EXPECT_EQ(lines[at], row);
}

// Every kind of problem is found, each naming its line and column, and nothing is taken.
// Every row's field `column` set to value.
std::string WithColumn(const Texts& lines, int column, const std::string& value) {
  Texts changed = lines;
  for (std::size_t i = 1; i < changed.size(); ++i) {
    std::size_t begin = 0;
    for (int c = 0; c < column; ++c) begin = changed[i].find(',', begin) + 1;
    changed[i].replace(begin, changed[i].find(',', begin) - begin, value);
  }
  return kBom + Joined(changed, "\r\n");
}

TEST(ConfigCsv, RefusesEachFaultByLineAndColumn) {
  const Texts good = CsvLines(WriteConfigCsv({}));
  const auto with = [&](std::vector<std::pair<int, std::string>> changes) {
    Texts lines = good;
    for (const auto& [at, line] : changes) lines[at] = line;
    return kBom + Joined(lines, "\r\n");
  };
  const std::string r2 = ",白,黒,0,0,2,High";  // the rest of a row of page 1 after its text
  const std::pair<std::string, Texts> cases[] = {
      {with({{1, "1,1,€α" + r2}}), {"line 2 column text: code page 932 lacks \"€\""}},
      {with({{1, "1,1,\"a\tb\"" + r2}}), {"line 2 column text: code page 932 lacks U+0009"}},
      {with({{1, "1,1," + Times("あ", 15) + r2}}),
       {"line 2 column text: 30 bytes in code page 932, more than 28"}},
      // 28 bytes as typed, but each half-width space is stored as two.
      {with({{1, "1,1,東京 大阪 名古屋京都神戸博終" + r2}}),
       {"line 2 column text: 30 bytes in code page 932 once its half-width spaces are "
        "full-width ones, as a line stores them, more than 28"}},
      {with({{1, "1,1,x,桃,9,0,0,2,High"}}),
       {"line 2 column char_colour: \"桃\" is not a colour (黒 赤 緑 黄 青 マゼンタ シアン 白 "
        "ブランク, or 0..8)",
        "line 2 column border_colour: \"9\" is not a colour (黒 赤 緑 黄 青 マゼンタ シアン 白 "
        "ブランク, or 0..8)"}},
      {with({{1, "1,1,,白,黒,5,2,100,Mid"}}),
       {"line 2 column blink: \"5\" is not 0..4", "line 2 column fill: \"2\" is not 1 or 0",
        "line 2 column display_time: \"100\" is not 0..99",
        "line 2 column char_level: \"Mid\" is not High, Low, 1 or 0"}},
      {with({{1, "1,1,,白,黒,-0,1 ,+2,High"}}),
       {"line 2 column blink: \"-0\" is not 0..4", "line 2 column fill: \"1 \" is not 1 or 0",
        "line 2 column display_time: \"+2\" is not 0..99"}},
      {with({{1, "0,8,,白,黒,0,0,2,High"}, {2, "33,x,,白,黒,0,0,2,High"}}),
       {"line 2 column page: \"0\" is not a page 1..32",
        "line 2 column line: \"8\" is not a line 1..7",
        "line 3 column page: \"33\" is not a page 1..32",
        "line 3 column line: \"x\" is not a line 1..7",
        "no rows for page 1 line 1 to page 1 line 2"}},
      {with({{3, "1,1,,白,黒,0,0,3,Low"}}),
       {"line 4 column page: page 1 line 1 again, as on line 2",
        "line 4 column display_time: 3, but 2 on line 2 of the same page",
        "line 4 column char_level: Low, but High on line 2 of the same page",
        "no row for page 1 line 3"}},
      {with({{0, "page,line,title,char_colour,border_colour,blink,fill,display_time"}}),
       {"line 1 column text: the header says \"title\"",
        "line 1 column char_level: missing from the header"}},
      {Joined(Texts(good.begin() + 1, good.end()), "\r\n"),
       {"line 1: the first line must be the header " + CsvHeader(), "no row for page 1 line 1"}},
      {with({{1, "1,1,a,b" + r2}, {2, "1,2,,白,黒,0"}}),
       {"line 2 column 10: the row has 10 columns, not 9 (a text with a comma is quoted whole)",
        "line 3 column fill: missing: the row has 6 of the 9 columns"}},
      // A column more that holds text, and the header's: empty ones are passed over.
      {with({{0, CsvHeader() + ",,"}, {1, "1,1,a" + r2 + ",note,"}}),
       {"line 2 column 10: the row has 10 columns, not 9: the format has no column 10 for "
        "\"note\""}},
      // A few numbers a spreadsheet wrote with a decimal point are named each; a column of
      // them once, with the first few.
      {with({{1, "1,1,,白,黒,1.0,0,2,1.00"}, {2, "1,2,,2.,黒,0,0,2,High"}}),
       {"line 2 column blink: \"1.0\" is not a whole number",
        "line 2 column char_level: \"1.00\" is not a whole number",
        "line 3 column char_colour: \"2.\" is not a whole number"}},
      {WithColumn(good, 7, "5.0"),
       {"column display_time: 224 rows hold numbers that are not whole (line 2 \"5.0\", "
        "line 3 \"5.0\", line 4 \"5.0\", ...); format the column's cells as whole numbers"}},
      {with({{1, "1,1,\"a"}, {2, "b\"" + r2}}),
       {"line 2 column text: a line break inside the field", "no row for page 1 line 2"}},
      {with({{5, "1,5,a\"b" + r2}}),
       {"line 6 column text: a quote out of place: a field with quotes in it is quoted whole, its "
        "quotes doubled",
        "no rows for page 1 line 5 to page 32 line 7"}},
      {with({{224, "32,7,\"open,白,黒,0,0,2,High"}}),
       {"line 225 column text: a quoted field that is never closed", "no row for page 32 line 7"}},
      {with({{40, "6,5,\x80" + r2}}).substr(kBom.size()),
       {"line 41: neither UTF-8 nor code page 932 (Shift_JIS)"}},
      {kBom + Joined(good, "\r\n") + "\x82\xA0",
       {"line 226: not UTF-8, though the file starts with "
        "UTF-8's byte-order mark"}},
      {"\xFF\xFE"
       "p\0a\0",
       {"line 1: UTF-16 text; save the CSV as UTF-8 or code page 932 (Shift_JIS)"}},
      {"",
       {"line 1: no header: the first line must be " + CsvHeader(),
        "no rows for page 1 line 1 to page 32 line 7"}},
  };
  for (const auto& [csv, want] : cases) {
    DisplayConfig read = VariedConfig();
    EXPECT_EQ(ReadConfigCsv(csv, read), want) << csv.substr(0, 300);
    EXPECT_EQ(Dat(read), Dat(VariedConfig()));
  }
}

// Under a Japanese locale each problem is told in Japanese, the column names and the values
// quoted as the file has them.
TEST(ConfigCsv, NamesEachFaultInJapaneseUnderAJapaneseLocale) {
  QRV_UNDER_JAPANESE_LOCALE(ja);
  Texts lines = CsvLines(WriteConfigCsv({}));
  lines[1] = "1,1,x,桃,黒,5,0,2,High";
  lines[2] = "1,1,,白,黒,0,0,3,Low";
  lines[224] = "32,7," + Times("あ", 15) + ",白,黒,0,0,2,High";
  DisplayConfig read = VariedConfig();
  EXPECT_EQ(
      ReadConfigCsv(kBom + Joined(lines, "\r\n"), read),
      (Texts{"2行目 char_colour列: \"桃\" は色 (黒 赤 緑 黄 青 マゼンタ シアン 白 ブランク、または "
             "0..8)ではない",
             "2行目 blink列: \"5\" は0..4ではない",
             "3行目 page列: ページ 1 行 1 が 2行目と重複している",
             "3行目 display_time列: 3 だが、同じページの 2行目では 2",
             "3行目 char_level列: Low だが、同じページの 2行目では High",
             "225行目 text列: コードページ 932 で 30 バイトになり、28 バイトを超える",
             "ページ 1 行 2 の行がない"}));
  EXPECT_EQ(ReadConfigCsv("", read),
            (Texts{"1行目: ヘッダーがない: 1行目は " + CsvHeader() + " でなければならない",
                   "ページ 1 行 1 から ページ 32 行 7 までの行がない"}));
}

// What spreadsheets and scripts write besides the exact format is taken: numbers for colours
// and levels, rows in any order, blank and empty rows, quoted fields, the JIS forms, no line
// end at the last row.
TEST(ConfigCsv, TakesTheVariationsOfSpreadsheetsAndScripts) {
  Texts lines = CsvLines(WriteConfigCsv({}));
  std::reverse(lines.begin() + 1, lines.end());
  lines[224] = "\"1\",1,\"〜,\"\"−\",8,\"0\",4,1,2,1";
  lines.insert(lines.begin() + 100, {"", ",,,,,,,,"});
  DisplayConfig read;
  std::string csv = Joined(lines, "\n");
  EXPECT_EQ(ReadConfigCsv(csv.substr(0, csv.size() - 1), read), Texts{});
  EXPECT_EQ(std::make_tuple(read.title(0, 0), read.char_colour[0][0], read.border_colour[0][0],
                            read.blink[0][0], read.fill_mask[0], read.display_time[0],
                            read.char_level[0], read.char_colour[0][1]),
            std::make_tuple("\x81\x60,\"\x81\x7C", 8, 0, 4, 1, 2, 1, 7));
}

// A sheet saved with a column that only looks empty (="") has a comma more on every line.
TEST(ConfigCsv, TakesTheEmptyFieldsOfAColumnThatOnlyLooksEmpty) {
  const DisplayConfig varied = VariedConfig();
  Texts lines = CsvLines(WriteConfigCsv(varied));
  for (std::string& line : lines) line += ",";
  DisplayConfig read = varied;
  EXPECT_EQ(ReadConfigCsv(kBom + Joined(lines, "\r\n"), read), Texts{});
  EXPECT_TRUE(Dat(read) == Dat(varied));
}

}  // namespace
}  // namespace qrv
