#include "serial_port.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "pseudo_terminal.h"
#include "recording_reporter.h"
#include "serial_link.h"

namespace qrv {
namespace {

using Shown = std::vector<std::string>;

const Shown kCannotOpen = {"warning:Miss! File Open", "warning:Miss! Mask Set",
                           "warning:Miss! Buffer Set", "warning:Miss! Time Out Set",
                           "warning:Miss! Set Comm State"};

Shown OpenThroughLink(const std::string& device, PortStatus expected) {
  LinkState link;
  SerialLink serial(link, [](std::string) {});
  RecordingReporter reporter;
  EXPECT_EQ(serial.OpenSerialPort(device, reporter), expected) << device;
  EXPECT_EQ(serial.port_open(), expected == PortStatus::kOpened) << device;
  return reporter.shown;
}

TEST(SerialPortTest, PortIndexNamesOnlyTheSixPortsAndADeviceOverridesIt) {
  EXPECT_EQ(PortDeviceName(0), "/dev/ttyS0");
  EXPECT_EQ(PortDeviceName(5), "/dev/ttyS5");
  EXPECT_EQ(PortDeviceName(6), "");
  EXPECT_EQ(PortDeviceName(-1), "");
  EXPECT_EQ(SettingsDevice({3, 0, ""}), "/dev/ttyS3");
  EXPECT_EQ(SettingsDevice({9, 1, ""}), "");
  EXPECT_EQ(SettingsDevice({9, 1, "/dev/ttyUSB0"}), "/dev/ttyUSB0");
}

TEST(SerialPortTest, FailuresGiveTheirWarningsInOrder) {
  EXPECT_EQ(OpenThroughLink("/nonexistent/ttyQRV", PortStatus::kCannotOpen), kCannotOpen);
  // An index outside 0..5 names no device at all.
  EXPECT_EQ(OpenThroughLink(PortDeviceName(9), PortStatus::kCannotOpen), kCannotOpen);

  char name[] = "/tmp/qrv-not-serial-XXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_EQ(OpenThroughLink(name, PortStatus::kNotSerial), Shown{"warning:Miss! Set Comm State"});
  EXPECT_EQ(OpenThroughLink("/dev/null", PortStatus::kNotSerial),
            Shown{"warning:Miss! Set Comm State"});
  std::remove(name);
}

TEST(SerialPortTest, PseudoTerminalOpensExclusivelyWithTheBoardsLineSettings) {
  PseudoTerminal pty;
  EXPECT_EQ(OpenThroughLink(pty.path(), PortStatus::kOpened), Shown{});

  const PortOpenResult first = OpenPortDevice(pty.path());
  ASSERT_EQ(first.status, PortStatus::kOpened);
  termios t{};
  ASSERT_EQ(tcgetattr(first.fd, &t), 0);
  EXPECT_EQ(cfgetospeed(&t), B38400);
  EXPECT_EQ(cfgetispeed(&t), B38400);
  EXPECT_EQ(t.c_cflag & (CSIZE | CSTOPB | PARODD), static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK | ICRNL | ISTRIP),
            static_cast<tcflag_t>(IXON | IXOFF));
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_cc[VSTART], 0x11);
  EXPECT_EQ(t.c_cc[VSTOP], 0x13);
  EXPECT_NE(fcntl(first.fd, F_GETFL) & O_NONBLOCK, 0);

  // Held by us: a second open is refused as busy, and the reason reads plainly.
  const PortOpenResult second = OpenPortDevice(pty.path());
  EXPECT_EQ(second.status, PortStatus::kCannotOpen);
  EXPECT_EQ(second.fd, -1);
  EXPECT_EQ(PortErrorText("/dev/x", second), "/dev/x: busy: another program holds it");
  ClosePortDevice(first.fd);

  const PortOpenResult again = OpenPortDevice(pty.path());
  EXPECT_EQ(again.status, PortStatus::kOpened);
  ClosePortDevice(again.fd);
  EXPECT_EQ(PortErrorText("/dev/x", OpenPortDevice("/dev/x")), "/dev/x: no such device");
}

}  // namespace
}  // namespace qrv
