#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "board_server.h"
#include "frames.h"
#include "line_queue.h"
#include "serial_link.h"
#include "tcp_listener.h"
#include "tcp_port.h"

namespace qrv {
namespace {

using namespace std::chrono_literals;

// The program's side of one connection.
struct Client {
  LinkState link;
  LineQueue lines;
  SerialLink serial{link, [this](std::string line) { lines.Push(std::move(line)); }};

  explicit Client(const std::string& device) {
    EXPECT_EQ(serial.OpenPort(device).status, PortStatus::kOpened);
    serial.Start();
  }
};

bool Within10s(const std::function<bool()>& done) {
  for (int i = 0; i < 100 && !done(); ++i) std::this_thread::sleep_for(100ms);
  return done();
}

// A board on a TCP port, as a rack of them is reached: one connection at a time is its
// cable, the next waits until it closes, the board keeps its settings across them, and an
// unplug lets go of the port.
TEST(BoardListener, OneConnectionAtATimeIsTheCableUntilTheBoardIsUnplugged) {
  EXPECT_EQ(PortProblem(ListenTcpPort("127.0.0.1")).english, "not HOST:PORT");
  PortOpenResult listening = ListenTcpPort("127.0.0.1:0");
  ASSERT_EQ(listening.status, PortStatus::kOpened);
  const std::string device = std::string(kTcpScheme) + ListeningAddress(*listening.device);
  ASSERT_EQ(device.rfind("tcp://127.0.0.1:", 0), 0u) << device;
  ASSERT_NE(device, "tcp://127.0.0.1:0");
  BoardServer board(std::move(listening.device), {{{3, BoardFault::Kind::kUnplug, ""}}});
  std::atomic<bool> unplugged{false};
  board.OnUnplug([&unplugged] { unplugged = true; });
  board.Start();

  DisplayConfig config;
  config.position_h = 5;
  auto first = std::make_unique<Client>(device);
  first->serial.SendFrame(PositionHFrame(config));
  EXPECT_EQ(first->lines.Pop(5s), "GO\r\n");
  Client second(device);
  second.serial.SendFrame(ReadPositionHRequest());
  EXPECT_EQ(second.lines.Pop(300ms), std::nullopt);  // the cable is the first one's
  first.reset();
  EXPECT_EQ(second.lines.Pop(5s), "PVH05\r\n");

  second.serial.SendFrame(ReadPositionVRequest());
  EXPECT_TRUE(Within10s([&] { return unplugged && !second.serial.port_open(); }));
  EXPECT_EQ(second.lines.Pop(300ms), std::nullopt);
  EXPECT_EQ(board.frames_received(), 3);
}

}  // namespace
}  // namespace qrv
