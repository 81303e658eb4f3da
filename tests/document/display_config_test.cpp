#include "display_config.h"

#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

static_assert(std::has_unique_object_representations_v<qrv::DisplayConfig>,
              "compared byte for byte below");

namespace qrv {
namespace {

// The saved fields' start values are checked byte for byte through the defaults file.
TEST(DisplayConfig, ResetRestoresEveryFieldButDisplayOn) {
  DisplayConfig c;
  for (std::int32_t* field : {&c.position_h,
                              &c.position_v,
                              &c.current_page,
                              &c.display_page_auto,
                              &c.modified,
                              &c.adt_value,
                              &c.ar_flag,
                              &c.tsd_mode,
                              &c.tsr_value,
                              &c.rm_mode,
                              &c.aic_flag,
                              &c.am_flag,
                              &c.ci_flag,
                              &c.blink[31][6],
                              &c.char_colour[0][0],
                              &c.border_colour[5][5],
                              &c.fill_mask[9],
                              &c.char_level[31],
                              &c.display_time[0],
                              &c.assign_table[7],
                              &c.schedule_page[31][3],
                              &c.schedule_time[0][0],
                              &c.display_on})
    *field = 77;
  c.set_title(3, 3, "\x82\xA0");
  c.set_file_name("/tmp/x.dat");
  c.reset_to_defaults();

  EXPECT_EQ(c.display_on, 77);
  c.display_on = 0;
  const DisplayConfig fresh;
  EXPECT_EQ(std::memcmp(&c, &fresh, sizeof c), 0);
  EXPECT_EQ(fresh.assign_table, (std::array<std::int32_t, 8>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(fresh.schedule_page[31], (std::array<std::int32_t, 4>{33, 33, 33, 33}));
  EXPECT_EQ(fresh.schedule_time[31], (std::array<std::int32_t, 4>{9, 12, 15, 18}));
  EXPECT_EQ(std::make_tuple(fresh.adt_value, fresh.ar_flag, fresh.tsd_mode, fresh.display_on),
            std::make_tuple(30, 1, 1, 0));
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
