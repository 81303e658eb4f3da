#include "serial_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "link_fixture.h"
#include "logged_board.h"
#include "run_steps.h"
#include "serial_settings.h"
#include "tcp_port.h"
#include "varied_config.h"
#include "visible_text.h"

namespace qrv {
namespace {

using namespace std::chrono_literals;
using Shown = std::vector<std::string>;
using namespace std::string_literals;
namespace fs = std::filesystem;

using LinkTest = LinkFixture;

TEST_F(LinkTest, WholeConfigurationGoesToTheBoardAndReadsBackTheSame) {
  LoggedBoard board;
  Connect(board.device());
  const DisplayConfig x = VariedConfig();
  std::vector<std::string> sent;
  for (int step = 1; step <= kAllItemsSteps; ++step)
    if (const auto frame = AllItemsStep(x, step).frame) sent.push_back(*frame);
  sent.push_back(DisplayOnOffFrame(x));
  for (const Frame& frame : sent) ASSERT_EQ(Exchange(frame), "GO\r\n") << frame;
  EXPECT_EQ(reporter.shown, Shown(sent.size(), "set-complete"));

  // Read back into a fresh configuration, as the maintenance read does.
  reporter.shown.clear();
  config = DisplayConfig();
  link.RunBegun();
  for (int step = 1; step <= kMaintenanceReadSteps; ++step) {
    if (const auto request = MaintenanceReadStep(step)) {
      ASSERT_NE(Exchange(*request), "-") << step;
      sent.push_back(*request);
    }
  }
  EXPECT_EQ(reporter.shown, Shown{});
  EXPECT_EQ(BoardSettings(config), BoardSettings(x));
  EXPECT_EQ(board.frames(), sent);  // every frame whole and in the order sent
}

// Every answer comes 50 ms late, one byte every 5 ms.
TEST_F(LinkTest, FaultySlowSplitAnswersAndAHeldLineAreSurvived) {
  using Kind = BoardFault::Kind;
  const BoardOptions options{
      {{1, Kind::kAnswer, "E1"}, {2, Kind::kGarbage, "\x7f#?Z"}, {4, Kind::kSilent, ""}}, 50, 1, 5};
  PseudoTerminal pty;
  BoardServer board(pty.master(), options);
  board.Start();
  Connect(pty.path());
  EXPECT_EQ(Exchange(PositionHFrame(config)), "E1\r\n");
  // Junk without LF and the next answer travel as one line, which is no known answer.
  EXPECT_TRUE(serial.SendFrame(PositionHFrame(config)));
  EXPECT_EQ(Exchange(PositionVFrame(config)), "\x7f#?ZGO\r\n");
  for (int tick = 0; tick < 3; ++tick) link.UnansweredTick();  // left from before: kept
  EXPECT_EQ(Exchange(DisplayPageFrame(config), 300ms), "-");
  EXPECT_EQ(link.UnansweredTicks(), 3);
  // Only frames within the limit are taken.
  const std::string longest = std::string(kMaxFrameBytes - 2, 'P') + "\r\n";
  EXPECT_FALSE(serial.SendFrame(longest + "P"));
  EXPECT_EQ(Exchange(longest), "E3\r\n");
  // A line held by flow control drops the frame after SerialLink::kWriteLimitMs.
  ASSERT_EQ(write(pty.master(), "\x13", 1), 1);  // XOFF
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(serial.SendFrame(PositionVFrame(config)));
  EXPECT_EQ(lines.Pop(1300ms), std::nullopt);
  ASSERT_EQ(write(pty.master(), "\x11", 1), 1);  // XON
  EXPECT_EQ(Exchange(DisplayPageFrame(config)), "GO\r\n");
  EXPECT_EQ(reporter.shown, (Shown{"error:Parity Error", "error:Command Error", "set-complete"}));
  EXPECT_EQ(board.frames_received(), 6);
}

// A board 1.5 s away takes every frame while the first answer travels (a slow board,
// --delay, would hold the next frame back), and the answers follow in order.
TEST_F(LinkTest, AFarBoardTakesTheFramesThatFollowWhileItsAnswersTravel) {
  BoardOptions far;
  far.latency_ms = 1500;
  LoggedBoard board(far);
  Connect(board.device());
  const auto sent = std::chrono::steady_clock::now();
  for (const Frame& f : {ReadPositionHRequest(), ReadPositionVRequest(), ReadCharLevelRequest()})
    serial.SendFrame(f);
  std::string answers = lines.Pop(10s).value_or("");
  EXPECT_GE(std::chrono::steady_clock::now() - sent, 1500ms);  // never sooner
  EXPECT_EQ(board.count(), 3u);
  while (answers.size() < 52) answers += lines.Pop(10s).value_or("-");
  EXPECT_EQ(answers, "PVH08\r\nPVV08\r\nPTWL" + Times("H", kPages) + "\r\n");
}

// Writes dots until the line takes no more (a board that reads nothing); returns how many.
std::size_t FillLine(int fd) {
  std::size_t taken = 0;
  while (write(fd, ".", 1) == 1) ++taken;
  return taken;
}
std::size_t FillLine(PortDevice& device) {
  std::size_t taken = 0;
  while (device.Write(".") == std::size_t{1}) ++taken;
  return taken;
}

// What reaches the board's end until it stays quiet for 300 ms.
std::string BoardEndReads(int master) {
  std::string got;
  char c;
  for (pollfd p{master, POLLIN, 0}; poll(&p, 1, 300) == 1 && read(master, &c, 1) == 1;) got += c;
  return got;
}

// At a frame's limit what the kernel holds for the line goes too (here earlier bytes; on a
// UART the frame itself), so the next frame follows only what had reached the board.
TEST_F(LinkTest, WhatTheKernelHoldsIsDroppedAtAFramesLimit) {
  PseudoTerminal pty;
  const int other = open(pty.path().c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
  const std::size_t filled = FillLine(other);
  close(other);
  Connect(pty.path());
  EXPECT_TRUE(serial.SendFrame("IDON\r\n"));
  std::this_thread::sleep_for(1300ms);
  EXPECT_TRUE(serial.SendFrame("IDOFF\r\n"));
  const std::string got = BoardEndReads(pty.master());
  EXPECT_EQ(got.substr(std::min(got.find_first_not_of('.'), got.size())), "IDOFF\r\n");
  EXPECT_LT(got.size(), filled);
}

// The program opens the device through a path that can be pointed at a new device, as udev
// does when an adapter is plugged in again.
TEST_F(LinkTest, UnpluggedPortIsLookedForAgainWithoutSpinning) {
  const std::string device = ::testing::TempDir() + "qrv-unplug-" + std::to_string(getpid());
  auto board = std::make_unique<LoggedBoard>();
  fs::remove(device);
  fs::create_symlink(board->device(), device);
  Connect(device);
  EXPECT_EQ(Exchange(PositionHFrame(config)), "GO\r\n");

  board.reset();
  for (int i = 0; i < 100 && serial.port_open(); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(serial.port_open());
  EXPECT_EQ(Exchange(PositionHFrame(config), 300ms), "-");  // so "No Connect" follows

  board = std::make_unique<LoggedBoard>();
  fs::remove(device);
  fs::create_symlink(board->device(), device);
  for (int i = 0; i < 40 && !serial.port_open(); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_EQ(Exchange(PositionHFrame(config)), "GO\r\n");
  fs::remove(device);
}

// A device chosen while the link runs is used at once; the old one hears nothing more.
TEST_F(LinkTest, AChosenDeviceIsUsedAtOnce) {
  LoggedBoard first, second;
  Connect(first.device());
  EXPECT_EQ(Exchange(PositionHFrame(config)), "GO\r\n");
  EXPECT_EQ(serial.SwitchDevice(second.device(), reporter), PortStatus::kOpened);
  EXPECT_EQ(Exchange(PositionVFrame(config)), "GO\r\n");
  EXPECT_EQ(std::make_tuple(first.count(), second.count(), serial.device()),
            std::make_tuple(std::size_t{1}, std::size_t{1}, second.device()));
  // One that cannot be opened brings the start-up warnings; the link waits for it.
  EXPECT_EQ(serial.SwitchDevice(::testing::TempDir() + "none", reporter), PortStatus::kCannotOpen);
  EXPECT_EQ(std::make_tuple(reporter.shown.size(), serial.port_open()),
            std::make_tuple(std::size_t{2 + 5}, false));  // after the two "GO"s
}

// Only the last set-up warning when it was no terminal; the others are checked where the
// program starts.
class SerialPortTest : public LinkTest {};

TEST_F(SerialPortTest, OnlyATerminalOpensAndOnlyOnceWithTheBoardsLineSettings) {
  EXPECT_EQ(serial.OpenSerialPort("/dev/null", reporter), PortStatus::kNotSerial);
  EXPECT_EQ(reporter.shown, Shown{"warning:Miss! Set Comm State"});
  PseudoTerminal pty;
  PortOpenResult first = OpenPortDevice(pty.path());
  ASSERT_EQ(first.status, PortStatus::kOpened);
  // The two ends of a pseudo-terminal share one set of settings.
  termios t{};
  ASSERT_EQ(tcgetattr(pty.master(), &t), 0);
  EXPECT_EQ(std::make_tuple(cfgetospeed(&t), cfgetispeed(&t), t.c_cflag & (CSIZE | CSTOPB | PARODD),
                            t.c_iflag & (IXON | IXOFF | INPCK | ICRNL | ISTRIP),
                            (t.c_lflag & (ICANON | ECHO | ISIG)) | (t.c_oflag & OPOST),
                            t.c_cc[VSTART], t.c_cc[VSTOP]),
            std::make_tuple(speed_t{B38400}, speed_t{B38400}, tcflag_t{CS8}, tcflag_t{IXON | IXOFF},
                            tcflag_t{0}, cc_t{0x11}, cc_t{0x13}));
  char none[1];
  EXPECT_EQ(first.device->Read(none, 1), std::size_t{0});  // at once: it does not block
  // Held by us: a second open is refused as busy, and the reason reads plainly.
  const PortOpenResult second = OpenPortDevice(pty.path());
  EXPECT_EQ(std::make_pair(second.status, second.device == nullptr),
            std::make_pair(PortStatus::kCannotOpen, true));
  EXPECT_EQ(PortErrorText("/dev/x", second), "/dev/x: busy: another program holds it");
  // Closing drops what the board has not taken (close() would wait for it), and clears the
  // exclusive mode, or an ordinary user could not open it again.
  const std::size_t filled = FillLine(*first.device);
  t.c_cflag |= CMSPAR | PARODD;  // mark parity, as another program may leave it
  ASSERT_EQ(tcsetattr(pty.master(), TCSANOW, &t), 0);
  first.device.reset();
  EXPECT_LT(BoardEndReads(pty.master()).size(), filled);
  // Under a sanitizer and load the kernel may not have finished the last close: a reopen
  // that keeps failing is the fault, not one that needs a moment.
  PortOpenResult again = OpenPortDevice(pty.path());
  for (int tries = 0; again.status == PortStatus::kCannotOpen && tries < 100; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    again = OpenPortDevice(pty.path());
  }
  EXPECT_EQ(again.status, PortStatus::kOpened) << PortErrorText(pty.path(), again);
  // Even parity again (pseudo-terminals keep CMSPAR and PARODD, if not PARENB).
  EXPECT_TRUE(tcgetattr(pty.master(), &t) == 0 && (t.c_cflag & (CMSPAR | PARODD)) == 0);
}

bool Send(int fd, const std::string& bytes) {
  return write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

// A device server listening on 127.0.0.1. The kernel completes connections in the backlog,
// so the test's own thread accepts them when it is ready.
struct Listener {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  std::string device;

  Listener() {
    sockaddr_in a{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t size = sizeof a;
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), size) | listen(fd, 4), 0);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    device = "tcp://127.0.0.1:" + std::to_string(ntohs(a.sin_port));
  }
  ~Listener() { close(fd); }
  int Accept() {  // within 5 s, or -1
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 5000) == 1 ? accept4(fd, nullptr, nullptr, SOCK_CLOEXEC) : -1;
  }
};

class TcpPortTest : public LinkTest {};

TEST_F(TcpPortTest, OnlyHostPortIsTakenAndARefusedConnectionSaysSo) {
  const std::string closed = Listener().device;
  EXPECT_EQ(PortErrorText(closed, OpenPortDevice(closed)), closed + ": connection refused");
  for (const std::string device :
       {"tcp://nohost", "tcp://h:", "tcp://h:99999", "tcp://::1:4001", "tcp://[::1]4001"})
    EXPECT_EQ(PortErrorText(device, OpenPortDevice(device)), device + ": not HOST:PORT");
  EXPECT_EQ(SplitHostPort("[::1]:4001")->host + SplitHostPort("[::1]:4001")->port, "::14001");
  EXPECT_TRUE(IsTcpDevice("TCP://h:1") && !IsTcpDevice("/dev/tcp://h:1"));
}

// After every connect what ser2net says first is dropped, on its own or with the first answer,
// and kept in the traffic log, which is appended to with every byte readable.
TEST_F(TcpPortTest, LinkSkipsTheGreetingAfterEveryConnectAndLogsTheTraffic) {
  const std::string banner =
      "\r\nser2net port tcp,127.0.0.1,47001 device serialdev,/dev/pts/0,38400e81,local "
      "[,38400E81,CLOCAL] (Debian GNU/Linux)\r\n\r\n";
  const std::string log_path = ::testing::TempDir() + "/qrv-tcp-" + std::to_string(getpid());
  std::ofstream(log_path) << "earlier\n";
  TrafficLog log;
  ASSERT_TRUE(log.Open(log_path, nullptr));
  Listener server;
  serial.SetTrafficLog(&log);
  ASSERT_EQ(serial.OpenPort(server.device).status, PortStatus::kOpened);
  serial.Start();

  const int peer = server.Accept();
  ASSERT_TRUE(Send(peer, banner));
  std::this_thread::sleep_for(50ms);  // so the greeting is read on its own, as ser2net's is
  ASSERT_TRUE(Send(peer, "GO\r\n"));
  EXPECT_EQ(lines.Pop(3s), "GO\r\n");
  ASSERT_TRUE(Send(peer, "ser2net\r\n"));  // past the first answer every line counts
  EXPECT_EQ(lines.Pop(3s), "ser2net\r\n");
  ASSERT_TRUE(serial.SendFrame("IDON\r\n"));

  close(peer);  // the link connects again by itself
  const int again = server.Accept();
  ASSERT_TRUE(Send(again, banner + "E1\r\n"));
  EXPECT_EQ(lines.Pop(3s), "E1\r\n");
  serial.Stop();
  close(again);

  std::ifstream in(log_path);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  // Each entry starts with its local time, replaced by "@" here.
  const std::regex stamp(R"(\n20\d\d-[01]\d-[0-3]\d [0-2]\d:[0-5]\d:[0-5]\d\.\d{3} )");
  const std::string to = "\n@ " + server.device + " <- ";
  EXPECT_EQ(std::regex_replace(text, stamp, "\n@ "),
            "earlier" + to + "(skipped) " + VisibleText(banner) + to + "GO<CR><LF>" + to +
                "ser2net<CR><LF>\n@ " + server.device + " -> IDON<CR><LF>" + to + "(skipped) " +
                VisibleText(banner) + to + "E1<CR><LF>\n");
  std::remove(log_path.c_str());
  EXPECT_FALSE(log.Open("/nonexistent/qrv/traffic.log", nullptr));
}

class SerialSettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { dir = mkdtemp(dir.data()) + "/"s; }
  void TearDown() override { fs::remove_all(dir); }
  void Put(const std::string& bytes, const std::string& name = "s.ini") const {
    std::ofstream(dir + name, std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name = "s.ini") const {
    std::ifstream in(dir + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // com_port, com_control and com_device as read.
  std::string Read(const std::string& name = "s.ini") const {
    const SerialSettings s = ReadSerialSettings(dir + name);
    return std::to_string(s.com_port) + " " + std::to_string(s.com_control) + " " + s.com_device;
  }
  std::string dir = ::testing::TempDir() + "/qrv_settings_XXXXXX";
};

// The Windows profile rules: the first matching section and key, names in any case, blanks
// and quotes around values, a UTF-8 mark; numbers as atoi reads their first 9 characters.
TEST_F(SerialSettingsFile, ReadsAsTheProfileFunctionsDo) {
  std::vector<std::string> files = {
      "[Other]\ncom_port=3\ncom_control=1\n",
      "[QRV-470KSE_Section]\nfoo=1\n[Other]\ncom_port=3\ncom_device=x\n",
      "[Other]\ncom_port=5\ncom_control=1\n[QRV-470KSE_Section]\ncom_port=1\n",
      "\xEF\xBB\xBF  [ qrv-470kse_section ]  \r\n;com_control=1\r\njust text\r\n\tCOM_PORT = 2 "
      "\r\ncom_port=4\r\nCom_Device =  '/dev/ttyUSB0' \r\n[QRV-470KSE_Section]\r\ncom_control=1"};
  for (const char* raw : {"3abc", "", "1234567890", "-123456789", "'-3'", "\" 6\"", "\"7"})
    files.push_back("[QRV-470KSE_Section]\ncom_control=1\ncom_port="s + raw);
  std::string got = Read() + ";";  // no file yet
  for (const std::string& file : files) {
    Put(file);
    got += Read() + ";";
  }
  EXPECT_EQ(
      got,
      "0 0 ;0 0 ;0 0 ;1 0 ;2 0 /dev/ttyUSB0;3 1 ;0 1 ;123456789 1 ;-12345678 1 ;-3 1 ;6 1 ;0 1 ;");
}

TEST_F(SerialSettingsFile, WriteChangesOnlyTheValueOrAddsTheKey) {
  const std::pair<std::string, std::string> cases[] = {
      {"[Other]\nx=1", "[Other]\nx=1\n\n[QRV-470KSE_Section]\ncom_port=2\ncom_control=1\n"},
      {"[QRV-470KSE_Section]\ncom_control=", "[QRV-470KSE_Section]\ncom_control=1\ncom_port=2\n"},
      {"; QRV\r\n[Other]\r\ncom_port=5\r\n\r\n[qrv-470kse_section]\r\ncom_device=/dev/ttyUSB1\r\n"
       " com_port = \"3\"  \r\ncom_port=9\r\n\r\n[Tail]\r\nk=v",
       "; QRV\r\n[Other]\r\ncom_port=5\r\n\r\n[qrv-470kse_section]\r\ncom_device=/dev/ttyUSB1\r\n"
       " com_port = 2  \r\ncom_port=9\r\ncom_control=1\r\n\r\n[Tail]\r\nk=v"}};
  for (const auto& [before, after] : cases) {
    Put(before);
    ASSERT_TRUE(WriteSerialSetting(dir + "s.ini", "com_port", 2)) << before;
    ASSERT_TRUE(WriteSerialSetting(dir + "s.ini", "com_control", 1)) << before;
    EXPECT_EQ(Get(), after) << before;
  }
  // A device is text; without one its line goes, line end and all.
  ASSERT_TRUE(WriteSerialSettingText(dir + "s.ini", "com_device", "/dev/serial/by-id/usb-x"));
  EXPECT_EQ(Read(), "2 1 /dev/serial/by-id/usb-x");
  ASSERT_TRUE(WriteSerialSettingText(dir + "s.ini", "com_device", std::nullopt));
  EXPECT_EQ(Get(),
            "; QRV\r\n[Other]\r\ncom_port=5\r\n\r\n[qrv-470kse_section]\r\n com_port = 2  \r\n"
            "com_port=9\r\ncom_control=1\r\n\r\n[Tail]\r\nk=v");
  EXPECT_FALSE(WriteSerialSettingText(dir + "s.ini", "com_device", "/dev/a\n[x]"));
}

// The file is replaced whole, or not at all.
TEST_F(SerialSettingsFile, WriteCreatesFollowsLinksKeepsTheModeOrReportsFailure) {
  ASSERT_TRUE(WriteSerialSetting(dir + "a/b/qrv470kse.ini", "com_port", 2));
  EXPECT_EQ(Get("a/b/qrv470kse.ini"), "[QRV-470KSE_Section]\ncom_port=2\n");
  // Only the file itself: no temporary left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir + "a/b"), fs::directory_iterator()), 1);

  Put("[QRV-470KSE_Section]\ncom_port=1\n", "real.ini");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(dir + "real.ini", mode);
  fs::create_symlink("real.ini", dir + "link.ini");
  ASSERT_TRUE(WriteSerialSetting(dir + "link.ini", "com_port", 3));
  EXPECT_TRUE(fs::is_symlink(dir + "link.ini"));
  EXPECT_EQ(Get("real.ini"), "[QRV-470KSE_Section]\ncom_port=3\n");
  EXPECT_EQ(fs::status(dir + "real.ini").permissions(), mode);

  Put("x", "plain");  // a regular file where a directory should be
  EXPECT_FALSE(WriteSerialSetting(dir + "plain/qrv470kse.ini", "com_port", 1));
  EXPECT_FALSE(WriteSerialSetting(dir + "s.ini", "com=port", 1));
  EXPECT_EQ(Get("plain"), "x");
  EXPECT_FALSE(fs::exists(dir + "s.ini"));
}

}  // namespace
}  // namespace qrv
