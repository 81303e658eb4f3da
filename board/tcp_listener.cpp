#include "tcp_listener.h"

#include "listening_socket.h"

namespace qrv {
namespace {

class TcpListener : public PortDevice {
 public:
  explicit TcpListener(std::unique_ptr<ListeningSocket> listening)
      : listening_(std::move(listening)) {}

  PortEvents Wait(bool for_bytes, bool for_room, int timeout_ms, const WakePipe& wake) override {
    PortEvents events;
    if (!connection_) {
      if (listening_->WaitForCaller(timeout_ms, wake, &events.woken))
        connection_ = listening_->Accept();
      // Nothing attached takes whatever the board says.
      events.writable = for_room;
      return events;
    }
    events = connection_->Wait(for_bytes, for_room, timeout_ms, wake);
    // The cable is pulled; the next connection plugs it in again.
    if (events.gone) connection_.reset();
    events.gone = false;
    return events;
  }

  std::optional<std::size_t> Read(char* into, std::size_t size) override {
    if (!connection_) return 0;
    const std::optional<std::size_t> n = connection_->Read(into, size);
    if (!n) connection_.reset();
    return n.value_or(0);
  }

  std::optional<std::size_t> Write(std::string_view bytes) override {
    if (!connection_) return bytes.size();
    const std::optional<std::size_t> n = connection_->Write(bytes);
    if (!n) connection_.reset();
    return n.value_or(bytes.size());
  }

  std::size_t Queued() override { return 0; }
  void Flush() override {}
  void DropInput() override {}
  bool GreetsOnConnect() const override { return false; }

  std::string address() const { return listening_->address(); }

 private:
  std::unique_ptr<ListeningSocket> listening_;
  std::unique_ptr<PortDevice> connection_;
};

}  // namespace

PortOpenResult ListenTcpPort(std::string_view host_port) {
  PortOpenResult result;
  std::unique_ptr<ListeningSocket> listening = ListenOn(host_port, result);
  if (!listening) return result;
  result.device = std::make_unique<TcpListener>(std::move(listening));
  result.status = PortStatus::kOpened;
  return result;
}

std::string ListeningAddress(const PortDevice& device) {
  const auto* listener = dynamic_cast<const TcpListener*>(&device);
  return listener != nullptr ? listener->address() : std::string();
}

}  // namespace qrv
