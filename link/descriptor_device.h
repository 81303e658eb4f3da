#pragma once

#include <memory>

#include "port_device.h"

namespace qrv {

// A port on a non-blocking POSIX descriptor: a terminal, a pseudo-terminal's far end or a
// socket. The kinds differ only in how they close and what the kernel holds for them, which
// the subclasses add.
class DescriptorDevice : public PortDevice {
 public:
  explicit DescriptorDevice(int fd) : fd_(fd) {}

  PortEvents Wait(bool for_bytes, bool for_room, int timeout_ms, const WakePipe& wake) override;
  std::optional<std::size_t> Read(char* into, std::size_t size) override;
  std::optional<std::size_t> Write(std::string_view bytes) override;
  std::size_t Queued() override { return 0; }
  void Flush() override {}
  void DropInput() override {}
  bool GreetsOnConnect() const override { return false; }

  int fd() const { return fd_; }

 protected:
  int fd_;
};

// The board's end of a line that the caller keeps and closes: a pseudo-terminal's master.
// Made non-blocking.
std::unique_ptr<PortDevice> BorrowDescriptor(int fd);

// A connected TCP socket, closed with the device.
std::unique_ptr<PortDevice> AdoptSocket(int fd);

}  // namespace qrv
