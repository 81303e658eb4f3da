#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "cli_runner.h"
#include "logged_board.h"
#include "varied_config.h"

namespace qrv {
namespace {

// Debian's ser2net on the loopback, bridging a TCP port to a device, with the banner of
// Debian's default configuration.
class Ser2net {
 public:
  static std::string Program() {
    for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net"})
      if (access(path, X_OK) == 0) return path;
    return {};
  }

  Ser2net(const ScratchFolder& dir, const std::string& device, int port) {
    const std::string config = dir / "ser2net.yaml";
    std::ofstream(config) << "%YAML 1.1\n---\n"
                             "define: &banner \\r\\nser2net port \\p device \\d [\\B] (Debian "
                             "GNU/Linux)\\r\\n\\r\\n\n"
                             "connection: &board\n"
                             "    accepter: tcp,127.0.0.1,"
                          << port
                          << "\n    enable: on\n"
                             "    options:\n"
                             "      banner: *banner\n"
                             "      kickolduser: true\n"
                             "    connector: serialdev,"
                          << device << ",38400e81,local\n";
    const std::string program = Program();
    const std::string pid_file = dir / "ser2net.pid";
    pid_ = fork();
    if (pid_ == 0) {
      execl(program.c_str(), "ser2net", "-n", "-u", "-c", config.c_str(), "-P", pid_file.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Ser2net() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }

  // Whether it takes connections within a few seconds.
  static bool Listening(int port) {
    for (int i = 0; i < 100; ++i) {
      const int fd = socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in a{};
      a.sin_family = AF_INET;
      a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      a.sin_port = htons(static_cast<std::uint16_t>(port));
      const bool up = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
      close(fd);
      if (up) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

 private:
  pid_t pid_ = -1;
};

TEST(CliSer2netTest, SendAndReadThroughSer2netSkippingItsBanner) {
  if (Ser2net::Program().empty()) {
    if (std::getenv("QRV_REQUIRE_SER2NET") != nullptr) FAIL() << "ser2net is not installed";
    GTEST_SKIP() << "ser2net is not installed";
  }
  ScratchFolder dir;
  LoggedBoard board;
  const int port = FreeLoopbackPort();
  Ser2net bridge(dir, board.device(), port);
  ASSERT_TRUE(Ser2net::Listening(port));
  // The probe above took the line and let it go; ser2net may still be closing it.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));

  const std::string device = "tcp://127.0.0.1:" + std::to_string(port);
  const std::string file = dir.Save("varied.dat", VariedConfig());
  const std::string log = dir / "traffic.log";
  // Answer-paced at the shipped periods: through the bridge an answer takes tens of ms.
  const auto send_period = std::chrono::milliseconds(500);
  const auto read_period = std::chrono::milliseconds(300);
  const CliRun sent = RunClient({"send", file, "--pace", "answer", "--port", device, "--log", log},
                                send_period, read_period);
  EXPECT_EQ(sent.status, 0) << sent.out << sent.err;
  EXPECT_EQ(board.count(), 102u);

  const std::string back = dir / "back.dat";
  const CliRun read = RunClient({"read", "--port", device, "-o", back, "--pace", "answer"},
                                send_period, read_period);
  EXPECT_EQ(read.status, 0) << read.out << read.err;
  DisplayConfig want, got;
  std::string why;
  ASSERT_TRUE(LoadConfigFile(file, want, &why));
  ASSERT_TRUE(LoadConfigFile(back, got, &why));
  EXPECT_EQ(BoardSettings(got), BoardSettings(want));

  std::ifstream in(log);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(text.find(device + " <- (skipped) <CR><LF>ser2net port"), text.npos) << text;
  EXPECT_NE(text.find(device + " -> CA01"), text.npos);
  EXPECT_NE(text.find(device + " <- GO<CR><LF>\n"), text.npos);
}

}  // namespace
}  // namespace qrv
