#include "tcp_port.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>

#include "line_queue.h"
#include "recording_reporter.h"
#include "serial_link.h"
#include "visible_text.h"

namespace qrv {
namespace {

using namespace std::chrono_literals;

// What Debian's ser2net says to each new connection.
const std::string kBanner =
    "\r\nser2net port tcp,127.0.0.1,47001 device serialdev,/dev/pts/0,38400e81,local "
    "[,38400E81,CLOCAL] (Debian GNU/Linux)\r\n\r\n";

// A device server listening on 127.0.0.1. The kernel completes connections in the backlog,
// so the test's own thread accepts them when it is ready.
struct Listener {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  std::string device;

  Listener() {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), size), 0);
    EXPECT_EQ(listen(fd, 4), 0);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    device = "tcp://127.0.0.1:" + std::to_string(ntohs(a.sin_port));
  }
  ~Listener() { close(fd); }
  // The next connection within 5 s, or -1.
  int Accept() {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 5000) == 1 ? accept4(fd, nullptr, nullptr, SOCK_CLOEXEC) : -1;
  }
};

// Up to size bytes from fd, as long as they keep coming within 3 s.
std::string ReadBytes(int fd, std::size_t size) {
  std::string got(size, '\0');
  std::size_t n = 0;
  for (pollfd p{fd, POLLIN, 0}; n < size && poll(&p, 1, 3000) == 1;) {
    const ssize_t r = read(fd, &got[n], size - n);
    if (r <= 0) break;
    n += static_cast<std::size_t>(r);
  }
  return got.substr(0, n);
}

TEST(TcpPortTest, DeviceServerOpensAndClosesLikeAPortAndOnlyHostPortIsTaken) {
  auto server = std::make_unique<Listener>();
  const PortOpenResult port = OpenPortDevice(server->device);
  ASSERT_EQ(port.status, PortStatus::kOpened);
  EXPECT_NE(fcntl(port.fd, F_GETFL) & O_NONBLOCK, 0);
  const int peer = server->Accept();
  ASSERT_GE(peer, 0);
  ClosePortDevice(port.fd);
  pollfd ended{peer, POLLIN, 0};  // the server sees the connection end
  EXPECT_EQ(poll(&ended, 1, 3000), 1);
  EXPECT_EQ(read(peer, &ended, 1), 0);
  close(peer);

  const std::string closed = server->device;
  server.reset();
  EXPECT_EQ(PortErrorText(closed, OpenPortDevice(closed)), closed + ": connection refused");

  for (const char* device : {"tcp://nohost", "tcp://h:99999", "tcp://h:", "tcp://h:0",
                             "tcp://::1:4001", "tcp://[::1]4001", "tcp://h:4001/"}) {
    const PortOpenResult r = OpenPortDevice(device);
    EXPECT_EQ(r.error, EINVAL) << device;
    EXPECT_EQ(PortErrorText(device, r), std::string(device) + ": not HOST:PORT");
  }
  EXPECT_EQ(SplitHostPort("[::1]:4001")->host, "::1");
  EXPECT_EQ(SplitHostPort("[::1]:4001")->port, "4001");
  EXPECT_TRUE(IsTcpDevice("TCP://h:1"));
  EXPECT_FALSE(IsTcpDevice("/dev/tcp://h:1"));
}

// After every connect the greeting is dropped, on its own or with the first answer, and
// kept in the traffic log.
TEST(TcpPortTest, LinkSkipsTheGreetingAfterEveryConnect) {
  char log_path[] = "/tmp/qrv-tcp-log-XXXXXX";
  close(mkstemp(log_path));
  TrafficLog log;
  ASSERT_TRUE(log.Open(log_path, nullptr));
  Listener server;
  LinkState link;
  LineQueue lines;
  SerialLink serial(link, [&lines](std::string line) { lines.Push(std::move(line)); });
  serial.SetTrafficLog(&log);
  RecordingReporter reporter;
  ASSERT_EQ(serial.OpenSerialPort(server.device, reporter), PortStatus::kOpened);
  serial.Start();

  const int peer = server.Accept();
  ASSERT_EQ(write(peer, kBanner.data(), kBanner.size()), static_cast<ssize_t>(kBanner.size()));
  std::this_thread::sleep_for(50ms);  // so the greeting is read on its own, as ser2net's is
  ASSERT_EQ(write(peer, "GO\r\n", 4), 4);
  EXPECT_EQ(lines.Pop(3s), "GO\r\n");
  ASSERT_TRUE(serial.SendFrame("PVH05\r\n"));
  EXPECT_EQ(ReadBytes(peer, 7), "PVH05\r\n");
  ASSERT_EQ(write(peer, "ser2net\r\n", 9), 9);  // past the first answer every line counts
  EXPECT_EQ(lines.Pop(3s), "ser2net\r\n");

  close(peer);  // the link connects again by itself
  const int again = server.Accept();
  const std::string greeted = kBanner + "E1\r\n";
  ASSERT_EQ(write(again, greeted.data(), greeted.size()), static_cast<ssize_t>(greeted.size()));
  EXPECT_EQ(lines.Pop(3s), "E1\r\n");
  serial.Stop();
  close(again);
  EXPECT_EQ(lines.Pop(0ms), std::nullopt);

  std::ifstream in(log_path);
  std::vector<std::string> entries;
  for (std::string line; std::getline(in, line);) entries.push_back(line.substr(24));
  const std::string from = server.device + " <- ";
  EXPECT_EQ(entries, (std::vector<std::string>{
                         from + "(skipped) " + VisibleText(kBanner), from + "GO<CR><LF>",
                         server.device + " -> PVH05<CR><LF>", from + "ser2net<CR><LF>",
                         from + "(skipped) " + VisibleText(kBanner), from + "E1<CR><LF>"}));
  std::remove(log_path);
}

}  // namespace
}  // namespace qrv
