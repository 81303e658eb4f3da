#include "board_server.h"

#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "pseudo_terminal.h"
#include "serial_port.h"

namespace qrv {
namespace {

// Three requests written at once to a board 1.5 s away: it takes all three before the
// first answer reaches the line (a slow board, --delay, would take the second only after
// answering the first), and the answers follow in order.
TEST(BoardServer, ALatencyHoldsBackAnswersButNotTheFramesAfterThem) {
  PseudoTerminal pty;
  BoardOptions options;
  options.latency_ms = 1500;
  std::mutex mutex;
  std::vector<std::string> events;
  BoardServer board(pty.master(), options, [&](const std::string& frame, const std::string&) {
    std::lock_guard<std::mutex> lock(mutex);
    events.push_back(frame);
  });
  board.Start();
  const PortOpenResult port = OpenPortDevice(pty.path());
  ASSERT_EQ(port.status, PortStatus::kOpened);
  const std::string requests = "RPH\r\nRPV\r\nRPTWL\r\n";
  BoardModel model;
  const std::string expected =
      model.Answer("RPH\r\n") + model.Answer("RPV\r\n") + model.Answer("RPTWL\r\n");
  const auto written = std::chrono::steady_clock::now();
  ASSERT_EQ(write(port.fd, requests.data(), requests.size()),
            static_cast<ssize_t>(requests.size()));

  std::string answers;
  char chunk[256];
  for (pollfd p{port.fd, POLLIN, 0}; answers.size() < expected.size() && poll(&p, 1, 10000) == 1;) {
    const ssize_t n = read(port.fd, chunk, sizeof chunk);
    if (n <= 0) break;
    std::lock_guard<std::mutex> lock(mutex);
    if (answers.empty()) {
      events.push_back("first answer");
      // Never sooner, however fast or loaded the machine.
      EXPECT_GE(std::chrono::steady_clock::now() - written, std::chrono::milliseconds(1500));
    }
    answers.append(chunk, static_cast<std::size_t>(n));
  }
  ClosePortDevice(port.fd);
  board.Stop();
  EXPECT_EQ(events, (std::vector<std::string>{"RPH\r\n", "RPV\r\n", "RPTWL\r\n", "first answer"}));
  EXPECT_EQ(answers, expected);
}

}  // namespace
}  // namespace qrv
