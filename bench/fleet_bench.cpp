// The command-line client's answer-paced whole send to a fleet: 1, 10, 100 and 1,000
// simulated boards of one rack (one process, one thread, each board modelling a 38400 baud
// line) on loopback ports, the client a process of its own. Each row: the wall time, as a
// ratio to one board's, the client's peak resident memory and CPU time, the rack's CPU time
// and whether every board answered every frame. Reports; asserts nothing.
// usage: fleet_bench [CLIENT [BOARDS...]]   CLIENT: the qrv470kse-cli to run (default
// build/tools/qrv470kse-cli), BOARDS: the fleet sizes (default 1 10 100 1000).
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "board_rack.h"
#include "config_files.h"
#include "full_config.h"

extern char** environ;

namespace {

struct Run {
  double seconds = 0, cpu_seconds = 0;
  long peak_kb = 0;
  int status = -1;
};

// The client sending file to every board of rack, its output thrown away.
Run Send(const std::string& client, const std::string& file, const qrv::BoardRack& rack) {
  std::vector<std::string> args = {client, "send", file, "--pace", "answer"};
  for (int i = 0; i < rack.size(); ++i)
    args.insert(args.end(), {"--port", "tcp://" + rack.address(i)});
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  Run run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, client.c_str(), &actions, nullptr, argv.data(), environ) != 0) return run;
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.cpu_seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.peak_kb = usage.ru_maxrss;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// This process's CPU time so far: the rack's, which serves the boards in it.
double OwnCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string client = argc > 1 ? argv[1] : "build/tools/qrv470kse-cli";
  std::vector<int> sizes;
  for (int i = 2; i < argc; ++i) sizes.push_back(std::stoi(argv[i]));
  if (sizes.empty()) sizes = {1, 10, 100, 1000};
  // A fleet needs a socket a board on each side, and its rack's listening sockets.
  rlimit files{};
  getrlimit(RLIMIT_NOFILE, &files);
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);
  char folder[] = "/tmp/fleet_bench.XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  const std::string file = std::string(folder) + "/full.dat";
  if (!qrv::SaveConfigFile(file, bench::FullConfig(), nullptr)) return 1;

  std::printf("boards  seconds  ratio  client peak MB  client CPU s  rack CPU s  status\n");
  double one = 0;
  std::mt19937 pick(std::random_device{}());
  for (const int boards : sizes) {
    std::unique_ptr<qrv::BoardRack> rack;
    std::string why;
    for (int attempt = 0; attempt < 20 && !rack; ++attempt) {
      rack = qrv::BoardRack::Listen(
          "127.0.0.1", 20000 + static_cast<int>(pick() % 28000), boards,
          [](int) {
            qrv::BoardOptions options;
            options.baud = 38400;
            return options;
          },
          {}, &why);
    }
    if (!rack) {
      std::printf("%6d  no rack: %s\n", boards, why.c_str());
      continue;
    }
    const double rack_before = OwnCpuSeconds();
    rack->Start();
    const Run run = Send(client, file, *rack);
    rack->Stop();
    const double rack_cpu = OwnCpuSeconds() - rack_before;
    if (one == 0) one = run.seconds;
    std::printf("%6d  %7.2f  %5.2f  %14.1f  %12.2f  %10.2f  %s\n", boards, run.seconds,
                run.seconds / one, static_cast<double>(run.peak_kb) / 1024, run.cpu_seconds,
                rack_cpu, run.status == 0 ? "all answered" : "FAILED");
    std::fflush(stdout);
  }
  unlink(file.c_str());
  rmdir(folder);
  return 0;
}
