#include "tcp_port.h"

#include <algorithm>
#include <cctype>

namespace qrv {

bool IsTcpDevice(std::string_view device) {
  const std::string_view scheme = device.substr(0, kTcpScheme.size());
  return std::equal(
      scheme.begin(), scheme.end(), kTcpScheme.begin(), kTcpScheme.end(),
      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::optional<TcpAddress> SplitHostPort(std::string_view host_port, bool listening) {
  std::string_view host;
  std::string_view port;
  if (!host_port.empty() && host_port.front() == '[') {
    const std::size_t close = host_port.find(']');
    if (close == std::string_view::npos || host_port.substr(close + 1, 1) != ":") return {};
    host = host_port.substr(1, close - 1);
    port = host_port.substr(close + 2);
  } else {
    const std::size_t colon = host_port.rfind(':');
    if (colon == std::string_view::npos) return {};
    host = host_port.substr(0, colon);
    port = host_port.substr(colon + 1);
    // Without brackets an IPv6 address could not be told from its port.
    if (host.find(':') != std::string_view::npos) return {};
  }
  if (host.empty() || port.empty() || port.size() > 5 ||
      !std::all_of(port.begin(), port.end(),
                   [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    return {};
  const long number = std::stol(std::string(port));
  if (number < (listening ? 0 : 1) || number > 65535) return {};
  return TcpAddress{std::string(host), std::string(port)};
}

}  // namespace qrv
