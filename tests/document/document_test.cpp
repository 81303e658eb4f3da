#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "config_file.h"
#include "config_problems.h"
#include "saved_bytes.h"
#include "scratch_folder.h"
#include "varied_config.h"

namespace qrv {
namespace {

constexpr int kFirstTitleLine = 772;  // 0-based
const std::string kWide = "\x82\xA0";

std::string ReadData(const std::string& name) {
  return Contents(std::string(QRV_TEST_DATA) + "/" + name);
}

DisplayConfig Loaded(const std::string& text, DisplayConfig config = {}) {
  std::istringstream in(text, std::ios::binary);
  ReadConfigFile(in, config);
  return config;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  return lines;
}

// Every line differs: the int32 limits, then each line's own index (titles as "t" and the
// index), and a full line of double-byte characters last.
std::string NumberedFile() {
  std::string text = "-2147483648\r\n2147483647\r\n-1\r\n";
  for (int i = 3; i < 995; ++i)
    text += (i < kFirstTitleLine ? "" : "t") + std::to_string(i) + "\r\n";
  return text + Times(kWide, 14) + "\r\n";
}

// Reset restores every field but display_on; the saved ones are checked through the defaults file.
TEST(DisplayConfig, StartValuesAndATextFileAreWrittenByteExact) {
  DisplayConfig c;
  std::memset(static_cast<void*>(&c), 0x4D, sizeof c);
  c.reset_to_defaults();
  EXPECT_EQ(c.display_on, 0x4D4D4D4D);
  c.display_on = 0;
  const DisplayConfig fresh;
  EXPECT_EQ(std::memcmp(&c, &fresh, sizeof c), 0);
  EXPECT_EQ(
      std::make_tuple(fresh.assign_table[7], fresh.schedule_page[31][3], fresh.schedule_time[31][0],
                      fresh.schedule_time[31][3], fresh.adt_value, fresh.ar_flag, fresh.tsd_mode),
      std::make_tuple(7, 33, 9, 18, 30, 1, 1));
  EXPECT_EQ(Written(fresh), ReadData("defaults.dat"));
  // Not a configuration at all: read as scanf would, over the start values.
  EXPECT_EQ(Written(Loaded(ReadData("notes.txt"))), ReadData("notes_expected.dat"));
}

TEST(DisplayConfig, FileNamesFitTheirSlotAndDatTagsAreFoundFromTheSecondCharacter) {
  DisplayConfig c;
  const std::string longest(kFileNameBytes - 1, 'f');
  EXPECT_TRUE(c.set_file_name(longest));
  EXPECT_FALSE(c.set_file_name(longest + "g") || c.set_file_name(std::string("a\0b", 3)));
  const char* names[] = {"x.dat", "my.dat.txt", "old.dat/show", "show", "SHOW.DAT", ".dat", ""};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ContainsDatTag(names[i]), i < 3) << names[i];
}

TEST(ConfigFile, RoundTripKeepsSavedFieldsInFileOrderAndNothingElse) {
  const std::string text = NumberedFile();
  DisplayConfig c;
  c.display_on = c.modified = 1;
  c.assign_table[3] = 99;
  ASSERT_TRUE(c.set_file_name("C:\\shows\\a.dat"));
  c = Loaded(text, c);
  EXPECT_EQ(Written(c), text);
  // Each line table page by page, the page tables, the four values, then the titles.
  EXPECT_EQ(std::make_tuple(c.char_colour[1][0], c.border_colour[0][0], c.fill_mask[31],
                            c.current_page, c.display_page_auto, c.title(1, 0), c.modified,
                            c.display_on, c.assign_table[3], c.file_name_text()),
            std::make_tuple(7, 224, 767, 770, 771, "t779", 0, 1, 99, "C:\\shows\\a.dat"));
}

TEST(ConfigFile, FileEndingEarlyKeepsNumbersAndEmptiesTitles) {
  const std::vector<std::string> full = Lines(NumberedFile());
  DisplayConfig before;
  for (int i = 0; i < kPages * kLines; ++i) before.set_title(i / kLines, i % kLines, "old");
  const std::vector<std::string> old = Lines(Written(before));
  for (int cut : {300, 800}) {
    std::string text, want;
    for (int i = 0; i < 996; ++i) {
      if (i < cut) text += full[i] + "\r\n";
      want += (i < cut ? full[i] : i < kFirstTitleLine ? old[i] : "s") + "\r\n";
    }
    for (const std::string& file : {text, text.substr(0, text.size() - (cut > 0 ? 2 : 0))})
      EXPECT_EQ(Written(Loaded(file, before)), want) << "cut " << cut;
  }
}

TEST(ConfigFile, NumbersAreReadLikeScanf) {
  const std::string want =
      "5\r\n6\r\n12\r\n0\r\n3\r\n2147483647\r\n2147483647\r\n-2147483648\r\n2147483647\r\n"
      "-2147483648\r\n1\r\n-2\r\n7\r\n";
  EXPECT_EQ(Written(Loaded("5\r\n6 \t\v\f+12\n-0 003 2147483647 2147483648 -2147483649 "
                           "99999999999999999999999 -2147483648 1-2"))
                .substr(0, want.size()),
            want);
  // Where no number starts, every later number keeps its value and the titles start there.
  const std::tuple<const char*, int, const char*> stops[] = {
      {"0x10 5", 0, "x10"}, {"4+ 5", 4, "+"}, {"+x 3", 7, "+x"}, {"- 3", 7, "-"}};
  for (const auto& [text, first, title] : stops) {
    const DisplayConfig c = Loaded(text);
    EXPECT_EQ(std::make_tuple(c.char_colour[0][0], c.char_colour[0][1], c.title(0, 0)),
              std::make_tuple(first, 7, title))
        << text;
  }
}

// A NUL ends a title.
TEST(ConfigFile, LongTokensAreCutAndLaterTitlesStayAligned) {
  const std::string defaults = ReadData("defaults.dat");
  std::string text = defaults.substr(0, defaults.find("s\r\n"));
  const std::pair<std::string, std::string> titles[] = {
      {"A" + Times(kWide, 15), "A" + Times(kWide, 14)},  // no lead byte left at byte 29
      {std::string(500, 'y'), std::string(29, 'y')},
      {std::string("ab\0cd", 5), "ab"},
      {"last", "last"}};
  for (const auto& title : titles) text += title.first + "\r\n";
  const DisplayConfig c = Loaded(text);
  for (int i = 0; i < kPages * kLines; ++i)
    EXPECT_EQ(c.title(i / kLines, i % kLines), i < 4 ? titles[i].second : "") << "title " << i;
}

// The file has no escape for white space: a raw byte would split the title on reading.
TEST(ConfigFile, WhiteSpaceInTitlesIsWrittenAsFullWidthSpace) {
  const std::string fw = "\x81\x40", one = fw + "A" + fw + "B" + Times(fw, 4);
  DisplayConfig show;
  show.set_title(0, 0, "\tA B\n\v\f\r");
  show.set_title(0, 1, std::string(29, ' '));
  std::string want = ReadData("defaults.dat");
  want.replace(want.find("s\r\ns\r\n"), 6, one + "\r\n" + Times(fw, 29) + "\r\n");
  EXPECT_EQ(Written(show), want);
  const DisplayConfig c = Loaded(want);
  EXPECT_EQ(std::make_tuple(c.title(0, 0), c.title(0, 1)), std::make_tuple(one, Times(fw, 14)));
}

// A file cut short anywhere is named by its last line; values no dialog offers by their place.
TEST(ConfigFile, SaysHowFarAFileWentAndWhichValuesNoDialogOffers) {
  std::vector<std::string> lines = Lines(Written({}));
  const auto join = [&](std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text += lines[i] + "\r\n";
    return text;
  };
  const std::string cut = join(500), most = join(995);
  lines[7] = "99", lines[704] = "2147483648", lines[736] = "-1";
  lines[769] = "16", lines[770] = "33";
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {Written({}), {}},
      {"", {"the file is empty"}},
      {std::string(64, '\0'), {"line 1 of 996 is not a number"}},
      {cut, {"ends at line 500 of 996"}},
      {most, {"ends at line 995 of 996"}},
      {join(996),
       {"page 2 line 1 character colour 99 (0..8)", "page 1 display time 2147483647 (0..99)",
        "page 1 fill -1 (0..127)", "vertical position 16 (0..15)", "current page 33 (0..32)"}}};
  for (const auto& [text, want] : cases) {
    DisplayConfig config;
    std::istringstream in(text, std::ios::binary);
    const ConfigFileExtent extent = ReadConfigFile(in, config);
    EXPECT_EQ(ConfigProblems(config, extent), want) << text.size();
  }
}

}  // namespace
}  // namespace qrv
