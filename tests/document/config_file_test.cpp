#include "config_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qrv {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr int kFirstTitleLine = 772;  // 0-based index of the first title line

std::string ReadData(const std::string& name) {
  std::ifstream in(std::string(QRV_TEST_DATA) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Written(const DisplayConfig& config) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(WriteConfigFile(out, config));
  return out.str();
}

void Read(const std::string& text, DisplayConfig& config) {
  std::istringstream in(text, std::ios::binary);
  ReadConfigFile(in, config);
}

// Splits at CR LF; fails the test if anything trails the last line end.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size());
  return lines;
}

// Every saved field away from its default, with the int32 limits at the front.
DisplayConfig MakeShow() {
  DisplayConfig c;
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      c.char_colour[p][l] = (p + l) % 7;
      c.border_colour[p][l] = 1 + (p * kLines + l) % 8;
      c.blink[p][l] = 1 + l % 4;
      c.set_title(p, l, "P" + std::to_string(p) + "L" + std::to_string(l));
    }
    c.fill_mask[p] = p + 1;
    c.char_level[p] = 0;
    c.display_time[p] = 60 + p;
  }
  c.char_colour[0][0] = kMin;
  c.char_colour[0][1] = kMax;
  c.char_colour[0][2] = -1;
  c.set_title(0, 0, "\x82\x60\x82\x61");  // "ＡＢ"
  c.set_title(0, 1, std::string(28, 'W'));
  std::string wide;
  for (int i = 0; i < 14; ++i) wide += "\x82\x60";
  c.set_title(31, 6, wide);
  c.position_h = 15;
  c.position_v = 0;
  c.current_page = kAutoPage;
  c.display_page_auto = 1;
  return c;
}

TEST(ConfigFileTest, DefaultsAreWrittenByteExact) {
  const std::string expected = ReadData("defaults.dat");
  EXPECT_EQ(Written(DisplayConfig()), expected);

  DisplayConfig show = MakeShow();
  Read(expected, show);
  EXPECT_EQ(Written(show), expected);

  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  EXPECT_FALSE(WriteConfigFile(broken, DisplayConfig()));
}

TEST(ConfigFileTest, RoundTripKeepsSavedFieldsAndNothingElse) {
  const DisplayConfig show = MakeShow();
  const std::string text = Written(show);
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 996u);
  const std::vector<std::pair<int, std::string>> spots = {
      {0, "-2147483648"}, {1, "2147483647"}, {2, "-1"},
      {3, "3"},           {224, "1"},        {225, "2"},
      {448, "1"},         {671, "3"},        {672, "0"},
      {704, "60"},        {735, "91"},       {736, "1"},
      {767, "32"},        {768, "15"},       {769, "0"},
      {770, "32"},        {771, "1"},        {772, "\x82\x60\x82\x61"},
      {774, "P0L2"},      {779, "P1L0"},
  };
  for (const auto& [index, value] : spots) EXPECT_EQ(lines[index], value) << "line " << index + 1;

  DisplayConfig loaded;
  loaded.display_on = 1;
  loaded.assign_table[3] = 99;
  loaded.schedule_page[5][2] = 7;
  ASSERT_TRUE(loaded.set_file_name("C:\\shows\\a.dat"));
  loaded.modified = 1;
  Read(text, loaded);
  EXPECT_EQ(Written(loaded), text);
  EXPECT_EQ(loaded.modified, 0);
  EXPECT_EQ(loaded.display_on, 1);
  EXPECT_EQ(loaded.assign_table[3], 99);
  EXPECT_EQ(loaded.schedule_page[5][2], 7);
  EXPECT_EQ(loaded.file_name_text(), "C:\\shows\\a.dat");
}

TEST(ConfigFileTest, FileEndingEarlyKeepsNumbersAndEmptiesTitles) {
  const std::vector<std::string> full = Lines(Written(MakeShow()));
  DisplayConfig before;
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) before.set_title(p, l, "old");
  }
  const std::vector<std::string> old = Lines(Written(before));
  for (int cut : {0, 1, 300, 772, 773, 800, 995}) {
    for (bool final_line_end : {true, false}) {
      std::string text;
      for (int i = 0; i < cut; ++i) text += full[i] + "\r\n";
      if (!final_line_end && cut > 0) text.resize(text.size() - 2);
      DisplayConfig loaded = before;
      loaded.modified = 1;
      Read(text, loaded);
      EXPECT_EQ(loaded.modified, 0);
      const std::vector<std::string> got = Lines(Written(loaded));
      for (int i = 0; i < 996; ++i) {
        const std::string& want = i < cut ? full[i] : i < kFirstTitleLine ? old[i] : "s";
        ASSERT_EQ(got[i], want) << "cut " << cut << ", line " << i + 1;
      }
    }
  }
}

TEST(ConfigFileTest, TextFileThatIsNotAConfiguration) {
  DisplayConfig loaded;
  ASSERT_TRUE(loaded.set_file_name("notes.txt"));
  loaded.modified = 1;
  Read(ReadData("notes.txt"), loaded);
  EXPECT_EQ(Written(loaded), ReadData("notes_expected.dat"));
  EXPECT_EQ(loaded.char_colour[0][3], 5);
  EXPECT_EQ(loaded.title(0, 0), "volts");
  EXPECT_EQ(loaded.title(1, 3), "an-over-long-word-that-does-n");
  EXPECT_EQ(loaded.file_name_text(), "notes.txt");
  EXPECT_EQ(loaded.modified, 0);
}

TEST(ConfigFileTest, NumbersAreReadLikeScanf) {
  struct Case {
    std::string text;
    std::int32_t first, second;
    std::string first_title;
  };
  const Case cases[] = {
      {"5\r\n6", 5, 6, ""},
      {" \t\v\f+12\n-0", 12, 0, ""},
      {"003 2147483647", 3, kMax, ""},
      {"2147483648 -2147483649", kMax, kMin, ""},
      {"99999999999999999999999 -2147483648", kMax, kMin, ""},
      {"1-2", 1, -2, ""},
      {"0x10 5", 0, 7, "x10"},
      {"4+ 5", 4, 7, "+"},
      {"+x 3", 7, 7, "+x"},
      {"- 3", 7, 7, "-"},
  };
  for (const Case& c : cases) {
    DisplayConfig loaded;
    Read(c.text, loaded);
    EXPECT_EQ(loaded.char_colour[0][0], c.first) << c.text;
    EXPECT_EQ(loaded.char_colour[0][1], c.second) << c.text;
    EXPECT_EQ(loaded.char_colour[31][6], 7) << c.text;
    EXPECT_EQ(loaded.display_page_auto, 0) << c.text;
    EXPECT_EQ(loaded.title(0, 0), c.first_title) << c.text;
  }
}

TEST(ConfigFileTest, LongTokensAreCutAndLaterTitlesStayAligned) {
  std::string wide;
  for (int i = 0; i < 20; ++i) wide += "\x82\xA0";
  const std::string defaults = ReadData("defaults.dat");
  const std::string titles[] = {"abcdefghijklmnopqrstuvwxyz0123456789ABCD",
                                "next",
                                wide,
                                std::string(500, 'y'),
                                "after",
                                "s",
                                std::string("ab\0cd", 5),
                                std::string("s\0x", 3),
                                "last"};
  std::string text = defaults.substr(0, defaults.find("s\r\n"));
  for (const std::string& t : titles) text += t + "\r\n";
  DisplayConfig loaded;
  Read(text, loaded);
  const std::string expected[] = {"abcdefghijklmnopqrstuvwxyz012",
                                  "next",
                                  wide.substr(0, 28),
                                  std::string(29, 'y'),
                                  "after",
                                  "",
                                  "ab",
                                  "",
                                  "last"};
  for (int i = 0; i < kPages * kLines; ++i) {
    EXPECT_EQ(loaded.title(i / kLines, i % kLines), i < 9 ? expected[i] : "") << "title " << i;
  }
}

TEST(ConfigFileTest, WhiteSpaceInTitlesIsWrittenAsFullWidthSpace) {
  const std::string fw = "\x81\x40";
  DisplayConfig show;
  show.set_title(0, 0, "A B");
  show.set_title(0, 1, "\tx\ny\r");
  show.set_title(0, 2, "\v\f");
  show.set_title(0, 3, std::string(29, ' '));
  show.set_title(0, 4, "end");
  const std::vector<std::string> lines = Lines(Written(show));
  ASSERT_EQ(lines.size(), 996u);
  std::string spaces;
  for (int i = 0; i < 29; ++i) spaces += fw;
  const std::string written[] = {
      "A" + fw + "B", fw + "x" + fw + "y" + fw, fw + fw, spaces, "end", "s"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(lines[kFirstTitleLine + i], written[i]) << i;

  DisplayConfig loaded;
  Read(Written(show), loaded);
  const std::string read_back[] = {written[0],           written[1], written[2],
                                   spaces.substr(0, 28), "end",      ""};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(loaded.title(0, i), read_back[i]) << i;
}

TEST(ConfigFileTest, ContainsDatTag) {
  const std::pair<const char*, bool> cases[] = {
      {"show", false},     {"show.dat", true}, {"my.dat.txt", true}, {"old.dat/show", true},
      {"SHOW.DAT", false}, {".dat", false},    {"x.dat", true},      {"", false},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(ContainsDatTag(name), expected) << name;
}

}  // namespace
}  // namespace qrv
