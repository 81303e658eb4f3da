#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "descriptor_device.h"

namespace qrv {
namespace {

// A network connection: closed with the device, and written so that a closed peer comes
// back as EPIPE rather than as a signal that ends the program.
class SocketDevice : public DescriptorDevice {
 public:
  using DescriptorDevice::DescriptorDevice;
  ~SocketDevice() override { close(fd_); }

  std::optional<std::size_t> Write(std::string_view bytes) override {
    for (;;) {
      const ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n > 0) return static_cast<std::size_t>(n);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) return 0;
      return std::nullopt;
    }
  }
  // Device servers greet each connection (ser2net's banner).
  bool GreetsOnConnect() const override { return true; }
};

}  // namespace

PortEvents DescriptorDevice::Wait(bool for_bytes, bool for_room, int timeout_ms,
                                  const WakePipe& wake) {
  const short wanted = static_cast<short>((for_bytes ? POLLIN : 0) | (for_room ? POLLOUT : 0));
  pollfd fds[2] = {{fd_, wanted, 0}, {static_cast<int>(wake.handle()), POLLIN, 0}};
  PortEvents events;
  if (poll(fds, 2, timeout_ms) < 0) return events;
  const short got = fds[0].revents;
  events.readable = (got & POLLIN) != 0;
  events.writable = (got & POLLOUT) != 0;
  events.gone = !events.readable && (got & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  events.woken = fds[1].revents != 0;
  return events;
}

std::optional<std::size_t> DescriptorDevice::Read(char* into, std::size_t size) {
  const ssize_t n = read(fd_, into, size);
  if (n > 0) return static_cast<std::size_t>(n);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
  return std::nullopt;
}

std::optional<std::size_t> DescriptorDevice::Write(std::string_view bytes) {
  for (;;) {
    const ssize_t n = write(fd_, bytes.data(), bytes.size());
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return 0;
    return std::nullopt;
  }
}

std::unique_ptr<PortDevice> BorrowDescriptor(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  return std::make_unique<DescriptorDevice>(fd);
}

std::unique_ptr<PortDevice> AdoptSocket(int fd) {
  return std::make_unique<SocketDevice>(fd);
}

}  // namespace qrv
