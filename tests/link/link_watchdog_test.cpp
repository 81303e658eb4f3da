#include "link_watchdog.h"

#include <gtest/gtest.h>

#include "recording_reporter.h"

namespace qrv {
namespace {

using Shown = std::vector<std::string>;

TEST(LinkWatchdogTest, ReportsAtTheSeventhPendingTickOnceAndOnlyOutsideRuns) {
  LinkState link;
  RecordingReporter reporter;
  LinkWatchdog(link, reporter);  // nothing pending: nothing counted
  EXPECT_EQ(link.UnansweredTicks, 0);

  link.AnswerPending = 1;
  for (int tick = 1; tick <= 6; ++tick) LinkWatchdog(link, reporter);
  EXPECT_EQ(reporter.shown, Shown{});
  EXPECT_EQ(link.UnansweredTicks, 6);

  // A timed run neither counts nor resets the count.
  link.BatchRunning = 1;
  for (int tick = 0; tick < 100; ++tick) LinkWatchdog(link, reporter);
  EXPECT_EQ(link.UnansweredTicks, 6);
  link.BatchRunning = 0;

  LinkWatchdog(link, reporter);
  EXPECT_EQ(reporter.shown, Shown{"error:No Connect"});
  EXPECT_EQ(link.AnswerPending, 0);
  EXPECT_EQ(link.UnansweredTicks, 0);
  LinkWatchdog(link, reporter);
  EXPECT_EQ(reporter.shown.size(), 1u);

  // The next frame starts counting from nothing.
  link.AnswerPending = 1;
  for (int tick = 1; tick <= 6; ++tick) LinkWatchdog(link, reporter);
  EXPECT_EQ(reporter.shown.size(), 1u);
}

}  // namespace
}  // namespace qrv
