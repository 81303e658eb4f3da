#include "translation.h"

#include <gtest/gtest.h>

#include "config_file.h"
#include "config_problems.h"
#include "japanese_locale.h"
#include "reason_text.h"
#include "text_format.h"

namespace qrv {
namespace {

TEST(TextFormat, PutsEachPartWhereItsNumberStands) {
  const struct {
    const char* pattern;
    std::initializer_list<std::string_view> parts;
    std::string want;
  } cases[] = {
      {"ends at line {1} of {2}", {"500", "996"}, "ends at line 500 of 996"},
      // A translation orders the parts as its language does.
      {"{2} 行のうち {1} 行目", {"500", "996"}, "996 行のうち 500 行目"},
      {"{1}{1}", {"a"}, "aa"},
      {"{9}", {"1", "2", "3", "4", "5", "6", "7", "8", "nine"}, "nine"},
      // A part not given, and braces that are no placeholder, stay as written.
      {"{2} stays", {"a"}, "{2} stays"},
      {"{0} {a} {10} { {1", {"x"}, "{0} {a} {10} { {1"},
      {"{}", {"x"}, "{}"},
      // A part is put in as it is, never read as a pattern again.
      {"{1}!", {"{2}"}, "{2}!"},
      {"", {}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.pattern, c.parts), c.want) << c.pattern;
  // By name, the same rules.
  EXPECT_EQ(Fill("{option} is {first} to {last}, not \"{value}\" {other}",
                 {{"first", "0"}, {"last", "99"}, {"option", "--delay"}, {"value", "{first}"}}),
            "--delay is 0 to 99, not \"{first}\" {other}");
}

TEST(Translation, EnglishUnderTheCLocale) {
  EXPECT_STREQ(Tr("the file is empty"), "the file is empty");
  EXPECT_STREQ(TrN("{1} page of {2} could not be sent (listed above)",
                   "{1} pages of {2} could not be sent (listed above)", 1),
               "{1} page of {2} could not be sent (listed above)");
  EXPECT_STREQ(TrN("{1} page of {2} could not be sent (listed above)",
                   "{1} pages of {2} could not be sent (listed above)", 2),
               "{1} pages of {2} could not be sent (listed above)");
  const ReasonText inner = Explain("frame {1}: no answer within {2} ms", {"5", "3500"});
  const ReasonText outer = Explain("read back: {1}", {inner});
  EXPECT_EQ(outer.shown, "read back: frame 5: no answer within 3500 ms");
  EXPECT_EQ(outer.english, outer.shown);
}

TEST(Translation, JapaneseUnderAJapaneseLocaleWithEnglishForScripts) {
  QRV_UNDER_JAPANESE_LOCALE(ja);
  EXPECT_STREQ(Tr("the file is empty"), "ファイルが空");
  EXPECT_STREQ(TrN("{1} page of {2} could not be sent (listed above)",
                   "{1} pages of {2} could not be sent (listed above)", 7),
               "{2} の {1} ページを送信できなかった (上記のとおり)");
  // What the catalogue lacks is the English itself; the empty text is not its header.
  const char* unknown = "a text of no catalogue";
  EXPECT_EQ(Tr(unknown), unknown);
  EXPECT_STREQ(Tr(""), "");

  const ReasonText inner =
      Explain("frame {1}: no answer within {2} ms; the connection was lost", {"5", "3500"});
  const ReasonText outer = Explain("read back: {1}", {inner});
  EXPECT_EQ(outer.shown, "読み戻し: フレーム 5: 3500 ms 以内に応答がない。接続が切れた");
  EXPECT_EQ(outer.english, "read back: frame 5: no answer within 3500 ms; the connection was lost");

  // The core's words about a file, as the client prints them and the GUI's box lists them.
  DisplayConfig config;
  config.char_colour[1][0] = 99;
  config.fill_mask[3] = 0x80;
  config.position_h = 16;
  ConfigFileExtent cut;
  cut.lines = 500;
  cut.ended = true;
  EXPECT_EQ(ConfigProblems(config, cut),
            (std::vector<std::string>{"996 行のうち 500 行目で終わっている",
                                      "ページ 2 行 1 文字色 99 (0..8)",
                                      "ページ 4 背景 128 (0..127)", "水平位置 16 (0..15)"}));
}

}  // namespace
}  // namespace qrv
