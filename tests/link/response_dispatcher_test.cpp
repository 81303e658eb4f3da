#include "response_dispatcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "frames.h"
#include "recording_reporter.h"
#include "title_frame.h"
#include "varied_config.h"

namespace qrv {
namespace {

class DispatcherTest : public ::testing::Test {
 protected:
  DisplayConfig config;
  LinkState link;
  RecordingReporter reporter;
  ResponseDispatcher dispatcher{config, link, reporter};

  // Sends line with every flag raised, as after an unanswered frame.
  std::vector<std::string> Dispatch(std::string_view line) {
    link.AnswerPending = 1;
    link.UnansweredTicks = 4;
    link.ErrorReceived = 1;
    reporter.shown.clear();
    dispatcher.Dispatch(line);
    EXPECT_EQ(link.AnswerPending, 0);
    EXPECT_EQ(link.UnansweredTicks, 0);
    return reporter.shown;
  }
};

using Shown = std::vector<std::string>;

TEST_F(DispatcherTest, GoConfirmsOnlyOutsideRunsAndOnlyWhenExact) {
  EXPECT_EQ(Dispatch("GO\r\n"), Shown{"set-complete"});
  EXPECT_EQ(link.ErrorReceived, 0);
  link.BatchStep = 5;
  EXPECT_EQ(Dispatch("GO\r\n"), Shown{});
  link.BatchStep = 0;
  EXPECT_EQ(Dispatch("GOX\r\n"), Shown{});
  EXPECT_EQ(Dispatch("GO"), Shown{});
  EXPECT_EQ(Dispatch(std::string_view("G\0O\r\n", 5)), Shown{});
  EXPECT_EQ(link.ErrorReceived, 0);
}

TEST_F(DispatcherTest, ErrorAnswersRaiseErrorReceivedAndTheirBox) {
  const std::pair<const char*, const char*> cases[] = {
      {"GN\r\n", "Mode Error"},   {"MENU\r\n", "Menu Display"}, {"E0\r\n", "Framing Error"},
      {"E1\r\n", "Parity Error"}, {"E2\r\n", "Over Run Error"}, {"E3\r\n", "Command Error"},
  };
  for (const auto& [line, message] : cases) {
    EXPECT_EQ(Dispatch(line), Shown{std::string("error:") + message});
    EXPECT_EQ(link.ErrorReceived, 1) << line;
  }
  for (const char* ignored : {"E4\r\n", "E3", "E3 \r\n", "GNX\r\n", "\r\n", ""}) {
    EXPECT_EQ(Dispatch(ignored), Shown{}) << ignored;
    EXPECT_EQ(link.ErrorReceived, 0) << ignored;
  }
}

TEST_F(DispatcherTest, ResponseOnlyValuesAndTheirTagOrder) {
  Dispatch("ACA0102030405060708\r\n");
  EXPECT_EQ(config.assign_table, (std::array<std::int32_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
  Dispatch("RCA0102030405060708\r\n");
  EXPECT_EQ(config.assign_table, (std::array<std::int32_t, 8>{0, 1, 2, 3, 4, 5, 6, 7}));
  using C = DisplayConfig;
  const struct {
    const char* line;
    std::int32_t C::*field;
    int value;
  } cases[] = {
      {"ADT123\r\n", &C::adt_value, 123},
      {"AICB\r\n", &C::aic_flag, 1},
      {"AICX\r\n", &C::aic_flag, 0},
      {"AMEX\r\n", &C::am_flag, 1},  // tags match any tail
      {"ARB", &C::ar_flag, 1},
      {"ARX\r\n", &C::ar_flag, 0},
      {"CIR\r\n", &C::ci_flag, 1},
      {"RMxxD", &C::rm_mode, 0},
      {"RMxxN", &C::rm_mode, 1},
      {"RMxxQ", &C::rm_mode, 2},
      {"RM", &C::rm_mode, 2},
      {"TSDO", &C::tsd_mode, 0},
      {"TSDS", &C::tsd_mode, 1},
      {"TSDx", &C::tsd_mode, 2},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(Dispatch(k.line), Shown{}) << k.line;
    EXPECT_EQ(config.*k.field, k.value) << k.line;
  }
  EXPECT_EQ(Dispatch("TSR1\r\n"), Shown{"read-complete"});
  EXPECT_EQ(config.tsr_value, 0);

  std::string sdpt = "SDPT";
  for (int i = 0; i < 31 * 4; ++i) sdpt += "05";
  Dispatch(sdpt + "\r\n");
  Dispatch("SDTT" + std::string(248, '1') + "\r\n");
  EXPECT_EQ(config.schedule_page[30][3], 4);
  EXPECT_EQ(config.schedule_time[0][0], 10);
  EXPECT_EQ(config.schedule_page[31][0], 33);  // the last row is never reported
  EXPECT_EQ(config.schedule_time[31][3], 18);
  EXPECT_EQ(config.modified, 0);
}

TEST_F(DispatcherTest, PageTablesComeBackAsTheySent) {
  DisplayConfig sent;
  std::string ptbd = "PTBD", ptic = "PTIC", ptfb = "PTFB", ptwl = "PTWL", ptct = "PTCT";
  for (int p = 0; p < kPages; ++p) {
    sent.fill_mask[p] = (p * 37) & 0x7F;
    sent.char_level[p] = p % 3 == 0 ? 0 : 1;
    sent.display_time[p] = (p * 7) % 100;
    for (int l = 0; l < kLines; ++l) {
      sent.blink[p][l] = (p + l) % 5;
      sent.char_colour[p][l] = (p + 2 * l) % 9;
      sent.border_colour[p][l] = (3 * p + l) % 9;
      ptbd += static_cast<char>('0' + sent.blink[p][l]);
      ptic += static_cast<char>('0' + sent.char_colour[p][l]);
      ptic += static_cast<char>('0' + sent.border_colour[p][l]);
      ptfb += (sent.fill_mask[p] >> l & 1) ? 'N' : '-';
    }
    ptwl += sent.char_level[p] ? 'H' : 'h';  // lower case counts as Low
    ptct += DisplayTimeFrame(sent).substr(4 + 2 * p, 2);
  }
  for (const std::string& line : {ptbd, ptic, ptfb, ptwl, ptct}) Dispatch(line + "\r\n");
  Dispatch("PVH05\r\n");
  Dispatch("PVV12\r\n");
  EXPECT_EQ(config.blink, sent.blink);
  EXPECT_EQ(config.char_colour, sent.char_colour);
  EXPECT_EQ(config.border_colour, sent.border_colour);
  EXPECT_EQ(config.fill_mask, sent.fill_mask);
  EXPECT_EQ(config.char_level, sent.char_level);
  EXPECT_EQ(config.display_time, sent.display_time);
  EXPECT_EQ(std::make_pair(config.position_h, config.position_v), std::make_pair(5, 12));
  EXPECT_EQ(ptic.size(), 452u);  // the longest answer fits the line limit

  Dispatch("PTFB-------N-N----\r\n");  // page 2: lines 1 and 3
  EXPECT_EQ(config.fill_mask[1], 5);
  EXPECT_EQ(config.fill_mask[2], 0);
}

TEST_F(DispatcherTest, DisplayPageReportsStayWithinThePageRange) {
  const struct {
    const char* line;
    int page, autoflag;
  } cases[] = {
      {"P07\r\n", 6, 0},  {"PAS\r\n", 32, 1},  {"P01\r\n", 0, 0},
      {"P32\r\n", 31, 0}, {"P33\r\n", 31, 0},  // nothing usable: the last value stays
      {"P00\r\n", 31, 0}, {"P\r\n", 31, 0},    {"P7\r\n", 31, 0},
      {"PX1\r\n", 31, 0}, {"PTXX\r\n", 31, 0},  // 'P' line without a known tag
  };
  for (const auto& k : cases) {
    Dispatch(k.line);
    EXPECT_EQ(config.current_page, k.page) << k.line;
    EXPECT_EQ(config.display_page_auto, k.autoflag) << k.line;
  }
  Dispatch("PVH03\r\n");  // a known "PV" tag is not a page report
  EXPECT_EQ(config.current_page, 31);
}

TEST_F(DispatcherTest, TitleAnswersDecodeToWhatWasSent) {
  DisplayConfig sent;
  sent.set_title(4, 0, "\x82\x60\x82\x61");                    // ＡＢ
  sent.set_title(4, 1, "\x81\x40\x82\xA0\x81\x40\x82\xA2");    // leading and inner spaces kept
  sent.set_title(4, 2, "\x87\x40\x87\x54\xEE\xEF\xEE\xE0");    // ① Ⅰ ⅰ 髙 in NEC form
  sent.set_title(4, 6, Times("\x88\x9F", 14));                 // 亜 x 14, no padding
  config.set_title(4, 0, "\x82\xA0\x82\xA0\x82\xA0\x82\xA0");  // longer text is replaced
  const auto frame = BuildTitleFrame(sent, 4, true);
  ASSERT_TRUE(frame);
  Dispatch(*frame);
  for (int l = 0; l < kLines; ++l) EXPECT_EQ(config.title(4, l), sent.title(4, l)) << l;

  // IBM forms come back in their NEC form; codes past row 92 read as spaces.
  DisplayConfig ibm;
  ibm.set_title(0, 0, "\xFB\xFC\xFA\x40");
  Dispatch(*BuildTitleFrame(ibm, 0, true));
  EXPECT_EQ(config.title(0, 0), "\xEE\xE0\xEE\xEF");
  Dispatch(
      "CA02"
      "2341"
      "7D21"
      "2342" +
      Times("2121", 95) + "\r\n");
  EXPECT_EQ(config.title(1, 0).substr(0, 6), "\x82\x60\x81\x40\x82\x61");
}

TEST_F(DispatcherTest, TitleAnswersForNoPageOrWithBadCodesStayInBounds) {
  const std::string codes = Times("2341", 98);
  for (const char* page : {"00", "33", "99", "-1", "a1"}) {
    Dispatch(std::string("CA") + page + codes + "\r\n");
  }
  for (int p = 0; p < kPages; ++p) EXPECT_EQ(config.title(p, 0), "") << p;
  // An unconvertible code ends the line where it stands.
  Dispatch(
      "CA01"
      "2341"
      "2100"
      "2342" +
      codes.substr(12) + "\r\n");
  EXPECT_EQ(config.title(0, 0), "\x82\x60");
  // A short answer reads zero bytes past its end: nothing converts.
  Dispatch("CA03\r\n");
  EXPECT_EQ(config.title(2, 0), "");
}

TEST_F(DispatcherTest, OverlongLinesAreCutAt499Bytes) {
  std::string line = "PTWL" + std::string(32, 'L') + std::string(2000, 'x');
  Dispatch(line);
  EXPECT_EQ(config.char_level[31], 0);
  // The cut leaves "GO\r\n" at bytes 499.. unseen: not a confirmation.
  EXPECT_EQ(Dispatch(std::string(499, 'Z') + "GO\r\n"), Shown{});
}

TEST(IsBoardAnswerTest, OnlyWhatTheDispatcherUnderstands) {
  for (std::string_view line :
       {"GO\r\n", "E1\r\n", "MENU\r\n", "PTCT0101\r\n", "CA0121\r\n", "P05\r\n", "TSR1\r\n"})
    EXPECT_TRUE(IsBoardAnswer(line)) << line;
  EXPECT_TRUE(IsBoardAnswer({"GO\r\n\0junk", 9}));  // read up to the NUL, as Dispatch reads it
  for (std::string_view line :
       {"GOX\r\n", "GO", "E4\r\n", "\r\n", "", "ser2net port tcp\r\n",
        "\r\nser2net port tcp,127.0.0.1,47001 device serialdev,/dev/pts/0,38400e81,local "
        "[,38400E81,CLOCAL] (Debian GNU/Linux)\r\n\r\n"})
    EXPECT_FALSE(IsBoardAnswer(line)) << line;
}

}  // namespace
}  // namespace qrv
