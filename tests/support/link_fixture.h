#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "frames.h"
#include "line_queue.h"
#include "recording_reporter.h"
#include "response_dispatcher.h"
#include "serial_link.h"

namespace qrv {

// The program's side as the GUI wires it: the serial link feeds a line queue, and this
// thread, standing in for the GUI thread, sends frames and dispatches the lines.
class LinkFixture : public ::testing::Test {
 protected:
  DisplayConfig config;
  LinkState link;
  RecordingReporter reporter;
  ResponseDispatcher dispatcher{config, link, reporter};
  LineQueue lines;
  SerialLink serial{link, [this](std::string line) { lines.Push(std::move(line)); }};

  void Connect(const std::string& device) {
    ASSERT_EQ(serial.OpenSerialPort(device, reporter), PortStatus::kOpened);
    ASSERT_TRUE(serial.Start());
  }

  // Sends frame and dispatches the line that comes back; "-" when none comes in time.
  std::string Exchange(const Frame& frame,
                       std::chrono::milliseconds wait = std::chrono::milliseconds(3000)) {
    EXPECT_TRUE(serial.SendFrame(frame));
    EXPECT_EQ(link.AnswerPending(), 1);
    const auto line = lines.Pop(wait);
    if (!line) return "-";
    dispatcher.Dispatch(*line);
    return *line;
  }
};

}  // namespace qrv
