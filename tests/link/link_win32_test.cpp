#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "board_server.h"
#include "line_queue.h"
#include "link_fixture.h"
#include "run_steps.h"
#include "serial_devices.h"
#include "serial_link.h"
#include "tcp_listener.h"
#include "tcp_port.h"
#include "varied_config.h"

namespace qrv {
namespace {

using namespace std::chrono_literals;
using Shown = std::vector<std::string>;

// The COM port of a board that tests/windows/wine_tests.sh started on a pseudo-terminal and
// mapped for wine: QRV_TEST_COM_BOARD (a sound board), QRV_TEST_COM_PARITY (it answers
// frame 1 with E1), QRV_TEST_COM_SILENT (it answers nothing), QRV_TEST_COM_UNPLUG (it goes
// away at frame 2). Each board serves one test: a pseudo-terminal takes one set-up.
std::string BoardPort(const char* variable) {
  const char* port = std::getenv(variable);
  return port != nullptr ? port : "";
}

#define SKIP_WITHOUT(port)                                                     \
  if ((port).empty()) {                                                        \
    if (std::getenv("QRV_REQUIRE_COM_BOARDS") != nullptr) {                    \
      FAIL() << "no board";                                                    \
    }                                                                          \
    GTEST_SKIP() << "no board named (tests/windows/wine_tests.sh names them)"; \
  }

using ComLinkTest = LinkFixture;

TEST_F(ComLinkTest, WholeConfigurationGoesToTheBoardAndReadsBackTheSame) {
  const std::string port = BoardPort("QRV_TEST_COM_BOARD");
  SKIP_WITHOUT(port);
  Connect(port);
  const DisplayConfig x = VariedConfig();
  int sent = 0;
  for (int step = 1; step <= kAllItemsSteps; ++step) {
    if (const auto frame = AllItemsStep(x, step).frame) {
      ASSERT_EQ(Exchange(*frame), "GO\r\n") << *frame;
      ++sent;
    }
  }
  EXPECT_EQ(reporter.shown, Shown(static_cast<std::size_t>(sent), "set-complete"));
  reporter.shown.clear();
  config = DisplayConfig();
  link.RunBegun();
  // The answers byte for byte: each is one line ending in CR LF.
  EXPECT_EQ(Exchange(ReadPositionHRequest()),
            "PVH" + std::to_string(100 + x.position_h).substr(1) + "\r\n");
  for (int step = 1; step <= kMaintenanceReadSteps; ++step) {
    if (const auto request = MaintenanceReadStep(step)) {
      ASSERT_NE(Exchange(*request), "-") << step;
    }
  }
  EXPECT_EQ(reporter.shown, Shown{});
  EXPECT_EQ(BoardSettings(config), BoardSettings(x));
}

TEST_F(ComLinkTest, AParityErrorAnswerIsShownAndTheNextFrameGoesOn) {
  const std::string port = BoardPort("QRV_TEST_COM_PARITY");
  SKIP_WITHOUT(port);
  Connect(port);
  EXPECT_EQ(Exchange(PositionHFrame(config)), "E1\r\n");
  EXPECT_EQ(link.ErrorReceived(), 1);
  EXPECT_EQ(Exchange(PositionVFrame(config)), "GO\r\n");
  EXPECT_EQ(reporter.shown, (Shown{"error:Parity Error", "set-complete"}));
}

TEST_F(ComLinkTest, ASilentBoardLeavesTheAnswerPendingAndThePortOpen) {
  const std::string port = BoardPort("QRV_TEST_COM_SILENT");
  SKIP_WITHOUT(port);
  Connect(port);
  EXPECT_EQ(Exchange(PositionHFrame(config), 1500ms), "-");
  EXPECT_EQ(Exchange(PositionVFrame(config), 500ms), "-");
  EXPECT_EQ(link.AnswerPending(), 1);  // so the watchdog says "No Connect"
  EXPECT_TRUE(serial.port_open());
  EXPECT_EQ(reporter.shown, Shown{});
}

// The board's pseudo-terminal closes while the port is open: the port goes, frames get no
// answer, and looking for the port again finds nothing.
TEST_F(ComLinkTest, AnUnpluggedBoardClosesThePort) {
  const std::string port = BoardPort("QRV_TEST_COM_UNPLUG");
  SKIP_WITHOUT(port);
  Connect(port);
  EXPECT_EQ(Exchange(PositionHFrame(config)), "GO\r\n");
  EXPECT_TRUE(serial.SendFrame(PositionVFrame(config)));
  for (int i = 0; i < 100 && serial.port_open(); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(serial.port_open());
  EXPECT_EQ(Exchange(PositionHFrame(config), 1500ms), "-");
  EXPECT_FALSE(serial.port_open());
}

// What opening says of names that are no COM port with a board, and the device list, which
// SetupAPI gives (empty under wine) without failing.
TEST(ComPortTest, NamesThatAreNoBoardsPortSayWhyAndTheListDoesNotFail) {
  EXPECT_EQ(PortDeviceName(0) + PortDeviceName(5) + PortDeviceName(6), "COM1COM6");
  EXPECT_EQ(PortErrorText("COM42", OpenPortDevice("COM42")), "COM42: no such device");
  const PortOpenResult null = OpenPortDevice("NUL");
  EXPECT_EQ(std::make_pair(null.status, null.device == nullptr),
            std::make_pair(PortStatus::kNotSerial, true));
  for (const SerialDevice& d : ListSerialDevices()) {
    EXPECT_EQ(d.path.rfind("COM", 0), 0u) << d.path;
    EXPECT_FALSE(d.description.empty());
  }
}

// Winsock: a board on a loopback port is reached as a device server, its connection made
// again when the board drops it; a refused connection and a bad address say so.
TEST(TcpDeviceTest, ABoardOnALoopbackPortIsReachedAndAnUnplugIsSeen) {
  PortOpenResult listening = ListenTcpPort("127.0.0.1:0");
  ASSERT_EQ(listening.status, PortStatus::kOpened);
  const std::string device = std::string(kTcpScheme) + ListeningAddress(*listening.device);
  BoardServer board(std::move(listening.device), {{{2, BoardFault::Kind::kUnplug, ""}}});
  board.Start();
  LinkState link;
  LineQueue lines;
  SerialLink serial{link, [&lines](std::string line) { lines.Push(std::move(line)); }};
  ASSERT_EQ(serial.OpenPort(device).status, PortStatus::kOpened);
  ASSERT_TRUE(serial.Start());
  DisplayConfig config;
  serial.SendFrame(ReadPositionVRequest());
  EXPECT_EQ(lines.Pop(5s), "PVV08\r\n");
  serial.SendFrame(PositionHFrame(config));
  for (int i = 0; i < 100 && serial.port_open(); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(serial.port_open());
  EXPECT_EQ(PortErrorText(device, OpenPortDevice(device)), device + ": connection refused");
  EXPECT_EQ(PortProblem(OpenPortDevice("tcp://h:99999")).english, "not HOST:PORT");
}

}  // namespace
}  // namespace qrv
