#include "display_config.h"

#include <gtest/gtest.h>

namespace qrv {
namespace {

TEST(DisplayConfig, ResetGivesTheStartValuesAndLeavesDisplayOnAlone) {
  DisplayConfig c;
  c.display_on = 1;
  c.current_page = 12;
  c.modified = 1;
  c.set_title(3, 3, "\x82\xA0");
  c.set_file_name("/tmp/x.dat");
  c.schedule_page[31][3] = 0;
  c.reset_to_defaults();
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      ASSERT_EQ(c.title(p, l), "");
      ASSERT_EQ(c.char_colour[p][l], 7);
      ASSERT_EQ(c.border_colour[p][l], 0);
      ASSERT_EQ(c.blink[p][l], 0);
    }
    ASSERT_EQ(c.display_time[p], 2);
    ASSERT_EQ(c.char_level[p], 1);
    ASSERT_EQ(c.fill_mask[p], 0);
    ASSERT_EQ(c.schedule_page[p], (std::array<std::int32_t, 4>{33, 33, 33, 33}));
    ASSERT_EQ(c.schedule_time[p], (std::array<std::int32_t, 4>{9, 12, 15, 18}));
  }
  EXPECT_EQ(std::make_tuple(c.position_h, c.position_v, c.current_page, c.display_page_auto),
            std::make_tuple(8, 8, 0, 0));
  EXPECT_EQ(std::make_tuple(c.tsd_mode, c.tsr_value, c.adt_value, c.ar_flag, c.rm_mode),
            std::make_tuple(1, 0, 30, 1, 0));
  EXPECT_EQ(std::make_tuple(c.ci_flag, c.am_flag, c.aic_flag), std::make_tuple(0, 0, 0));
  EXPECT_EQ(c.assign_table, (std::array<std::int32_t, 8>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(c.file_name_text(), "");
  EXPECT_EQ(c.modified, 0);
  EXPECT_EQ(c.display_on, 1);
  EXPECT_EQ(DisplayConfig().display_on, 0);
}

TEST(DisplayConfig, TitlesAndFileNamesNeverOverrunTheirSlots) {
  DisplayConfig c;
  c.set_title(0, 0, std::string(40, 'x'));
  EXPECT_EQ(c.title(0, 0), std::string(29, 'x'));
  // 14 double-byte characters and a lead byte at byte 29 would split it: cut to 28.
  std::string wide;
  for (int i = 0; i < 15; ++i) wide += "\x82\xA0";
  c.set_title(0, 1, "A" + wide);
  EXPECT_EQ(c.title(0, 1), "A" + wide.substr(0, 28));
  c.set_title(0, 1, "");
  EXPECT_EQ(c.title(0, 1), "");
  EXPECT_EQ(c.title(0, 2), "");

  EXPECT_TRUE(c.set_file_name(std::string(kFileNameBytes - 1, 'f')));
  EXPECT_EQ(c.file_name_text().size(), static_cast<std::size_t>(kFileNameBytes - 1));
  EXPECT_FALSE(c.set_file_name(std::string(kFileNameBytes, 'g')));
  EXPECT_EQ(c.file_name_text()[0], 'f');
}

}  // namespace
}  // namespace qrv
