#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "cli_runner.h"
#include "logged_board.h"
#include "tcp_port.h"
#include "varied_config.h"

namespace qrv {
namespace {

// Debian's ser2net on the loopback, bridging a TCP port to a device, with the banner of
// Debian's default configuration.
class Ser2net {
 public:
  Ser2net(const std::string& program, const ScratchFolder& dir, const std::string& device,
          int port) {
    const std::string config = dir / "ser2net.yaml";
    const std::string pid_file = dir / "ser2net.pid";
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
    pid_ = fork();
    if (pid_ == 0) {
      execl(program.c_str(), "ser2net", "-n", "-u", "-c", config.c_str(), "-P", pid_file.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Ser2net() {
    if (pid_ > 0 && kill(pid_, SIGTERM) == 0) waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
};

// Whether the port takes connections within a few seconds.
bool Listening(int port) {
  for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
    const PortOpenResult r = OpenTcpPort("127.0.0.1:" + std::to_string(port));
    if (r.status == PortStatus::kOpened) return true;
  }
  return false;
}

TEST(CliSer2netTest, SendAndReadBackThroughSer2netSkippingItsBanner) {
  std::string program;
  for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net"})
    if (access(path, X_OK) == 0) program = path;
  if (program.empty()) {
    if (std::getenv("QRV_REQUIRE_SER2NET") != nullptr) FAIL() << "ser2net is not installed";
    GTEST_SKIP() << "ser2net is not installed";
  }
  ScratchFolder dir;
  LoggedBoard board;
  const int port = FreeLoopbackPort();
  Ser2net bridge(program, dir, board.device(), port);
  ASSERT_TRUE(Listening(port));
  // The probe above took the line and let it go; ser2net may still be closing it.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));

  const std::string device = "tcp://127.0.0.1:" + std::to_string(port);
  const std::string log = dir / "traffic.log";
  // Sent and read back to compare, answer-paced at the shipped periods: through the bridge
  // an answer takes tens of ms.
  const CliRun run = RunClient({"send", dir.Save("varied.dat", VariedConfig()), "--verify",
                                "--pace", "answer", "--port", device, "--log", log},
                               std::chrono::milliseconds(500), std::chrono::milliseconds(300));
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find(": matches the file"), std::string::npos) << run.out;

  std::ifstream in(log);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(text.find(device + " <- (skipped) ser2net port"), text.npos) << text;
  EXPECT_NE(text.find(device + " -> CA01"), text.npos);
  EXPECT_NE(text.find(device + " <- GO<CR><LF>\n"), text.npos);
}

}  // namespace
}  // namespace qrv
