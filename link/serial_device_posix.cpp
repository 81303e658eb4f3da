#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "descriptor_device.h"
#include "serial_device.h"

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

// An open terminal, held exclusively.
class TerminalDevice : public DescriptorDevice {
 public:
  using DescriptorDevice::DescriptorDevice;

  ~TerminalDevice() override {
    // What the line has not sent is given up: close() would otherwise wait up to 30 s for a
    // line held by flow control, and a board attached later would get it.
    tcflush(fd_, TCOFLUSH);
    // A terminal that someone else keeps open (a pseudo-terminal's far end) would otherwise
    // stay exclusive, and refuse our own reopening.
    ioctl(fd_, TIOCNXCL);
    flock(fd_, LOCK_UN);
    close(fd_);
  }

  std::size_t Queued() override {
    int n = 0;
    return ioctl(fd_, TIOCOUTQ, &n) == 0 && n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  void Flush() override { tcflush(fd_, TCOFLUSH); }
  void DropInput() override { tcflush(fd_, TCIFLUSH); }
};

PortError ErrorOf(int error) {
  switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return PortError::kNoDevice;
    case EBUSY:
    case EWOULDBLOCK:
      return PortError::kBusy;
    case EACCES:
    case EPERM:
      return PortError::kPermission;
    default:
      return PortError::kOther;
  }
}

PortOpenResult Failed(int error, PortStatus status = PortStatus::kCannotOpen) {
  PortOpenResult result;
  result.status = status;
  result.error = ErrorOf(error);
  result.system_text = std::strerror(error);
  return result;
}

}  // namespace

std::string PortDeviceName(std::int32_t com_port) {
  if (com_port < 0 || com_port > 5) return {};
  return "/dev/ttyS" + std::to_string(com_port);
}

PortOpenResult OpenSerialDevice(const std::string& device) {
  const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Failed(errno);
  // Nobody else may use the line while we hold it. TIOCEXCL alone does not stop root.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno == EWOULDBLOCK ? EBUSY : errno;
    close(fd);
    return Failed(error);
  }
  termios t{};
  if (tcgetattr(fd, &t) != 0) {
    const int error = errno;
    close(fd);
    return Failed(error, PortStatus::kNotSerial);
  }
  ioctl(fd, TIOCEXCL);
  SetBoardLine(t);
  PortOpenResult result;
  result.device = std::make_unique<TerminalDevice>(fd);
  errno = 0;
  // On a pseudo-terminal the C library may call the dropped parity a failure; what was
  // really applied is checked below either way.
  const bool set = tcsetattr(fd, TCSANOW, &t) == 0 || IsPseudoTerminal(fd);
  if (!set || !LineApplied(fd, t)) {
    const int error = errno != 0 ? errno : EINVAL;
    result.status = PortStatus::kNotConfigured;
    result.error = ErrorOf(error);
    result.system_text = std::strerror(error);
    return result;
  }
  // DTR has no handshake mode here: raise it so the board sees a terminal that is ready.
  // Pseudo-terminals refuse modem-line requests, which is harmless.
  const int dtr = TIOCM_DTR;
  ioctl(fd, TIOCMBIS, &dtr);
  result.status = PortStatus::kOpened;
  return result;
}

}  // namespace qrv
