#include "traffic_recorder.h"

#include <gtest/gtest.h>

#include <regex>

namespace qrv {
namespace {

using D = TrafficDirection;

// Entries are the log's lines; error answers carry their meaning and are counted.
TEST(TrafficRecorderTest, EntriesAsTheLogWritesThemWithErrorsCounted) {
  TrafficRecorder recorder;
  recorder.Record(D::kSent, "/dev/pts/3", "E1\r\n");  // a frame is never an error answer
  recorder.Record(D::kReceived, "/dev/pts/3", "E1\r\n");
  recorder.Record(D::kSkipped, "/dev/pts/3", "\x01hi");
  recorder.Unanswered();
  const auto entries = recorder.Since(0);
  ASSERT_EQ(entries.size(), 3u);
  const std::regex stamp(R"(20\d\d-[01]\d-[0-3]\d [0-2]\d:[0-5]\d:[0-5]\d\.\d{3} )");
  EXPECT_EQ(std::regex_replace(entries[0].text, stamp, "@ "), "@ /dev/pts/3 -> E1<CR><LF>");
  EXPECT_EQ(std::regex_replace(entries[2].text, stamp, "@ "), "@ /dev/pts/3 <- (skipped) <01>hi");
  EXPECT_EQ(entries[0].meaning + "|" + entries[1].meaning, "|E1: Parity Error");
  const auto counts = recorder.counts();
  EXPECT_EQ(counts.sent + counts.answers * 10 + counts.errors * 100 + counts.unanswered * 1000,
            1111u);
}

// The oldest go past kCapacity; what is new is found after any number, also after a clear.
TEST(TrafficRecorderTest, KeepsTheNewestAndNumbersOnAfterAClear) {
  TrafficRecorder recorder;
  const std::size_t total = TrafficRecorder::kCapacity + 5;
  for (std::size_t i = 0; i < total; ++i) recorder.Record(D::kSent, "p", "IDON\r\n");
  auto entries = recorder.Since(0);
  ASSERT_EQ(entries.size(), TrafficRecorder::kCapacity);
  EXPECT_EQ(entries.front().number, 6u);
  EXPECT_EQ(recorder.Since(total - 2).size(), 2u);
  EXPECT_TRUE(recorder.Since(total).empty());
  recorder.Clear();
  EXPECT_TRUE(recorder.Since(0).empty());
  EXPECT_EQ(recorder.counts().sent, 0u);
  recorder.Record(D::kReceived, "p", "GO\r\n");
  entries = recorder.Since(total);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].number, total + 1);
}

}  // namespace
}  // namespace qrv
