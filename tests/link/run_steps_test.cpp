#include "run_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrv {
namespace {

std::string Page(int number) {
  return std::string(1, static_cast<char>('0' + number / 10)) +
         static_cast<char>('0' + number % 10);
}

TEST(AllItemsSteps, SendsTheWholeConfigurationInOrder) {
  DisplayConfig c;
  c.current_page = 6;
  std::vector<std::string> heads;
  for (int step = 1; step <= kAllItemsSteps; ++step) {
    const AllItemsStepResult r = AllItemsStep(c, step);
    EXPECT_EQ(r.refusal, StepRefusal::kNone);
    if (step == 33) {
      EXPECT_FALSE(r.frame);
      continue;
    }
    ASSERT_TRUE(r.frame) << step;
    ASSERT_EQ(r.frame->substr(r.frame->size() - 2), "\r\n");
    heads.push_back(r.frame->substr(0, 4));
  }
  ASSERT_EQ(heads.size(), 102u);
  std::vector<std::string> expected;
  for (int p = 1; p <= 32; ++p) expected.push_back("CA" + Page(p));
  expected.push_back("PTFB");
  expected.push_back("PTWL");
  for (int p = 1; p <= 32; ++p) expected.push_back("P" + Page(p) + "I");
  for (int p = 1; p <= 32; ++p) expected.push_back("P" + Page(p) + "B");
  expected.insert(expected.end(), {"P07\r", "PTCT", "PH08", "PV08"});
  EXPECT_EQ(heads, expected);

  c.display_page_auto = 1;
  EXPECT_EQ(AllItemsStep(c, 100).frame, "PAS\r\n");
}

TEST(AllItemsSteps, RefusedPagesSendNothingAndSayWhy) {
  DisplayConfig c;
  c.set_title(4, 2,
              "\x82\xA0"
              "A");                    // page 5, line 3: half-width
  c.char_colour[6][3] = kColourBlank;  // page 7, line 4: both blank
  c.border_colour[6][3] = kColourBlank;
  const AllItemsStepResult title = AllItemsStep(c, 5);
  EXPECT_FALSE(title.frame);
  EXPECT_EQ(title.refusal, StepRefusal::kTitle);
  EXPECT_EQ(title.title.line, 2);
  const AllItemsStepResult colour = AllItemsStep(c, 36 + 6);
  EXPECT_FALSE(colour.frame);
  EXPECT_EQ(colour.refusal, StepRefusal::kColour);
  EXPECT_EQ(colour.colour_line, 3);
  EXPECT_TRUE(AllItemsStep(c, 4).frame);
  EXPECT_TRUE(AllItemsStep(c, 36 + 5).frame);
}

TEST(MaintenanceReadSteps, RequestsEveryFieldOnce) {
  std::vector<std::string> expected;
  for (int p = 1; p <= 32; ++p) expected.push_back("RCA" + Page(p) + "\r\n");
  for (int p = 1; p <= 32; ++p) expected.push_back("RP" + Page(p) + "BDLT\r\n");
  for (int p = 1; p <= 32; ++p) expected.push_back("RP" + Page(p) + "ICLT\r\n");
  expected.push_back("");  // step 97
  for (const char* r : {"RP", "RPTCT", "RPTFB", "RPTWL", "RPH", "RPV"})
    expected.push_back(std::string(r) + "\r\n");
  std::vector<std::string> sent;
  for (int step = 1; step <= kMaintenanceReadSteps; ++step)
    sent.push_back(MaintenanceReadStep(step).value_or(""));
  EXPECT_EQ(sent, expected);
}

}  // namespace
}  // namespace qrv
