#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "config_files.h"
#include "scratch_folder.h"

namespace qrv {

// Runs the command-line client in-process at shortened fixed periods and keeps what it wrote.
struct CliRun {
  int status = -1;
  std::string out, err;
};

inline CliRun RunClient(const std::vector<std::string>& args,
                        std::chrono::milliseconds send_period = std::chrono::milliseconds(100),
                        std::chrono::milliseconds read_period = std::chrono::milliseconds(100)) {
  std::ostringstream out, err;
  CliContext context{out, err, false, send_period, read_period};
  CliRun run;
  run.status = RunCli(args, context);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// A TCP port on the loopback that nothing listens on now.
inline int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof a;
  bind(fd, reinterpret_cast<sockaddr*>(&a), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
  close(fd);
  return ntohs(a.sin_port);
}

}  // namespace qrv
