#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "serial_port.h"
#include "tcp_port.h"

namespace qrv {
namespace {

constexpr cc_t kXon = 0x11;   // DC1
constexpr cc_t kXoff = 0x13;  // DC3

void SetBoardLine(termios& t) {
  cfmakeraw(&t);
  cfsetispeed(&t, B38400);
  cfsetospeed(&t, B38400);
  // Even parity: PARODD and CMSPAR both cleared, as another program may have left mark or
  // space parity behind.
  t.c_cflag &= ~(CSIZE | PARODD | CMSPAR | CSTOPB);
  t.c_cflag |= CS8 | PARENB | CRTSCTS | CLOCAL | CREAD;
  // Parity is generated on transmit but not checked on receive.
  t.c_iflag &= ~(INPCK | IGNPAR | PARMRK | IXANY);
  t.c_iflag |= IXON | IXOFF;
  t.c_cc[VSTART] = kXon;
  t.c_cc[VSTOP] = kXoff;
  // With VMIN 1 a non-blocking read of nothing fails with EAGAIN, so 0 always means hang-up.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

// Linux pseudo-terminals take the settings but drop parity and may ignore the handshake;
// they carry bytes all the same, so only the rest is checked on them.
bool IsPseudoTerminal(int fd) {
  struct stat st {};
  if (fstat(fd, &st) != 0) return false;
  const unsigned m = major(st.st_rdev);
  return m >= 136 && m <= 143;
}

bool LineApplied(int fd, const termios& wanted) {
  termios got{};
  if (tcgetattr(fd, &got) != 0) return false;
  tcflag_t cflag_mask = CSIZE | CSTOPB | PARODD | CMSPAR;
  if (!IsPseudoTerminal(fd)) cflag_mask |= PARENB | CRTSCTS;
  const tcflag_t iflag_mask = IXON | IXOFF | INPCK;
  return cfgetospeed(&got) == B38400 && cfgetispeed(&got) == B38400 &&
         (got.c_cflag & cflag_mask) == (wanted.c_cflag & cflag_mask) &&
         (got.c_iflag & iflag_mask) == (wanted.c_iflag & iflag_mask) &&
         (got.c_lflag & (ICANON | ECHO)) == 0;
}

}  // namespace

std::string PortDeviceName(std::int32_t com_port) {
  if (com_port < 0 || com_port > 5) return {};
  return "/dev/ttyS" + std::to_string(com_port);
}

PortOpenResult OpenPortDevice(const std::string& device, int cancel_fd) {
  if (IsTcpDevice(device)) {
    return OpenTcpPort(std::string_view(device).substr(kTcpScheme.size()), cancel_fd);
  }
  PortOpenResult result;
  if (device.empty()) {
    result.error = ENOENT;
    return result;
  }
  const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  // Nobody else may use the line while we hold it. TIOCEXCL alone does not stop root.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    result.error = errno == EWOULDBLOCK ? EBUSY : errno;
    close(fd);
    return result;
  }
  termios t{};
  if (tcgetattr(fd, &t) != 0) {
    result.error = errno;
    result.status = PortStatus::kNotSerial;
    close(fd);
    return result;
  }
  ioctl(fd, TIOCEXCL);
  SetBoardLine(t);
  result.fd = fd;
  errno = 0;
  // On a pseudo-terminal the C library may call the dropped parity a failure; what was
  // really applied is checked below either way.
  const bool set = tcsetattr(fd, TCSANOW, &t) == 0 || IsPseudoTerminal(fd);
  if (!set || !LineApplied(fd, t)) {
    result.error = errno != 0 ? errno : EINVAL;
    result.status = PortStatus::kNotConfigured;
    return result;
  }
  // DTR has no handshake mode here: raise it so the board sees a terminal that is ready.
  // Pseudo-terminals refuse modem-line requests, which is harmless.
  const int dtr = TIOCM_DTR;
  ioctl(fd, TIOCMBIS, &dtr);
  result.status = PortStatus::kOpened;
  return result;
}

void ClosePortDevice(int fd) {
  if (fd < 0) return;
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode)) {
    close(fd);
    return;
  }
  // What the line has not sent is given up: close() would otherwise wait up to 30 s for a
  // line held by flow control, and a board attached later would get it.
  tcflush(fd, TCOFLUSH);
  // A terminal that someone else keeps open (a pseudo-terminal's far end) would otherwise
  // stay exclusive, and refuse our own reopening.
  ioctl(fd, TIOCNXCL);
  flock(fd, LOCK_UN);
  close(fd);
}

}  // namespace qrv
