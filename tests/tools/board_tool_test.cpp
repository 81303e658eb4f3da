#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli_runner.h"

namespace qrv {
namespace {

using Texts = std::vector<std::string>;

// The board tool as a child process, what it writes kept.
class BoardTool {
 public:
  explicit BoardTool(const Texts& args) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(err[1], 2);
      std::vector<char*> argv{const_cast<char*>(QRV_BOARD_TOOL)};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execv(QRV_BOARD_TOOL, argv.data());
      _exit(127);
    }
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~BoardTool() {
    if (pid_ > 0) End(false);
  }

  // The next line on stdout, without its end; empty at its end.
  std::string Line() {
    std::string line;
    for (char c; read(out_, &c, 1) == 1 && c != '\n';) line += c;
    return line;
  }
  // Stops it with SIGTERM (or lets it end by itself): its exit status, and in log its stderr.
  int End(bool stop, std::string* log = nullptr) {
    if (stop) kill(pid_, SIGTERM);
    std::string text;
    char chunk[4096];
    for (ssize_t n; (n = read(err_, chunk, sizeof chunk)) > 0;) text.append(chunk, n);
    int status = -1;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    close(out_);
    close(err_);
    if (log != nullptr) *log = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Three boards on three consecutive ports, each with the tool's fault at its own second frame;
// quiet, the log keeps only what went wrong.
TEST(BoardToolTest, ARackAnswersOnConsecutivePortsEachBoardWithTheToolsOptions) {
  for (const bool quiet : {false, true}) {
    Texts ports;
    std::unique_ptr<BoardTool> tool;
    for (int attempt = 0; attempt < 10 && ports.empty(); ++attempt) {
      const int first = FreeLoopbackPort();
      if (first > 65533) continue;
      Texts args = {"--listen", "127.0.0.1:" + std::to_string(first), "--boards", "3", "--fault",
                    "2:E1"};
      if (quiet) args.push_back("--quiet");
      tool = std::make_unique<BoardTool>(args);
      const std::string line = tool->Line();
      if (line != "tcp://127.0.0.1:" + std::to_string(first)) continue;  // taken meanwhile
      ports = {line, tool->Line(), tool->Line()};
      EXPECT_EQ(ports[2], "tcp://127.0.0.1:" + std::to_string(first + 2));
    }
    ASSERT_EQ(ports.size(), 3u);
    const Texts all = {"--port", ports[0], "--port", ports[1], "--port", ports[2]};
    Texts on = {"display", "on"}, page = {"page", "7"};
    on.insert(on.end(), all.begin(), all.end());
    page.insert(page.end(), all.begin(), all.end());
    EXPECT_EQ(RunClient(on).status, 0);
    const CliRun failed = RunClient(page);
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(Has(failed.out, "0 of 3 boards answered every frame")) << failed.out;
    std::string log;
    EXPECT_EQ(tool->End(true, &log), 0);
    for (const std::string& port : ports) {
      const std::string board = port.substr(6) + " ";
      EXPECT_EQ(Has(log, board + "<- IDON<CR><LF>\n" + board + "-> GO<CR><LF>\n"), !quiet) << log;
      EXPECT_TRUE(Has(log, board + "<- P07<CR><LF>\n" + board + "-> E1<CR><LF>\n")) << log;
    }
    EXPECT_TRUE(Has(log, "stopped after 6 frames on 3 boards, 0 unplugged\n")) << log;
  }
}

TEST(BoardToolTest, ACommandLineItDoesNotTakeEndsWithStatus2AndOneLine) {
  const std::pair<Texts, std::string> cases[] = {
      {{"--boards", "3"}, "--boards needs --listen HOST:PORT"},
      {{"--listen", "127.0.0.1:65535", "--boards", "2"},
       "--boards 2 from port 65535 would pass port 65535"},
      {{"--listen", "127.0.0.1:1", "--boards", "0"},
       "--boards is a number from 1 to 10000, not \"0\""},
      {{"--listen", "127.0.0.1:1", "--boards", "10001"},
       "--boards is a number from 1 to 10000, not \"10001\""},
      {{"--device", "/dev/null", "--listen", "127.0.0.1:0"},
       "--device and --listen do not go together"},
      {{"--listen", "localhost"}, "--listen is HOST:PORT, not \"localhost\""},
      {{"--fault", "3:XX"},
       "--fault is N:WHAT, WHAT one of GN MENU E0 E1 E2 E3 silent garbage[=TEXT] GO unplug, not "
       "\"3:XX\""},
      {{"--delay", "1000000"}, "--delay is a number from 0 to 999999, not \"1000000\""},
      {{"--baud", "0"}, "--baud is a number from 1 to 999999, not \"0\""},
      {{"--split", "5:x"}, "--split is BYTES or BYTES:GAP_MS, each from 0 to 999999, not \"5:x\""},
      {{"--latency"}, "--latency needs a value"},
      {{"--bogus"}, "unknown option --bogus"},
      {{"extra"}, "unexpected argument \"extra\""},
  };
  for (const auto& [args, says] : cases) {
    std::string log;
    EXPECT_EQ(BoardTool(args).End(false, &log), 2) << args[0];
    EXPECT_EQ(log,
              "qrv470kse-board: " + says + "\nRun `qrv470kse-board --help` for the options.\n");
  }
  BoardTool help({"--help"});
  EXPECT_EQ(help.Line(), "usage: qrv470kse-board [--device DEV] [--listen HOST:PORT] [--boards N]");
  EXPECT_EQ(help.End(false), 0);
}

}  // namespace
}  // namespace qrv
