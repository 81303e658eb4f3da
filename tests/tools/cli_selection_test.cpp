#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "cli_runner.h"
#include "logged_board.h"
#include "run_steps.h"
#include "serial_port.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Texts = std::vector<std::string>;

bool Has(const CliRun& run, const std::string& text) {
  return (run.out + run.err).find(text) != std::string::npos;
}

// Sets the boards' variable for one test, and takes it away again.
class PortsVariable {
 public:
  explicit PortsVariable(const char* value) {
    if (value != nullptr) {
      setenv("QRV470KSE_PORTS", value, 1);
    } else {
      unsetenv("QRV470KSE_PORTS");
    }
  }
  ~PortsVariable() { unsetenv("QRV470KSE_PORTS"); }
};

// Known values where the frames show them; page 3's title is refused (a half-width A).
DisplayConfig SelectionConfig() {
  DisplayConfig c;
  c.fill_mask[1] = 0x05;
  c.fill_mask[4] = 0x7F;
  c.blink[29] = {1, 0, 0, 0, 0, 0, 4};
  c.char_level[0] = 0;
  c.display_time[2] = 99;
  c.position_h = 15;
  c.current_page = 6;
  c.set_title(2, 0, "A\x82\xa0");
  c.set_title(3, 0, "\x82\x60");  // Ａ
  return c;
}

TEST(CliSelectionTest, EachCommandPutsExactlyItsDialogsFramesOnTheLine) {
  ScratchFolder dir;
  const DisplayConfig c = SelectionConfig();
  const std::string file = dir.Save("selection.dat", c);
  const auto step = [&c](int s) { return *AllItemsStep(c, s).frame; };
  Texts whole, paged;
  for (int s = 1; s <= kAllItemsSteps; ++s) {
    if (const auto frame = AllItemsStep(c, s).frame) whole.push_back(*frame);
    if (s != send_step::kFill) {
      if (const auto frame = AllItemsStep(c, s).frame) paged.push_back(*frame);
      continue;
    }
    for (int p = 1; p <= kPages; ++p) {
      const char* mask = p == 2 ? "05" : p == 5 ? "7F" : "00";
      paged.push_back("P" + std::string(p < 10 ? "0" : "") + std::to_string(p) + "FBLT" + mask +
                      "\r\n");
    }
  }
  const std::string time = "PTCT0202990202" + Times("02", 27) + "\r\n";
  const std::tuple<Texts, Texts, int> cases[] = {
      {{"display", "on"}, {"IDON\r\n"}, 0},
      {{"display", "off", "--pace", "answer"}, {"IDOF\r\n"}, 0},
      {{"page", "7"}, {"P07\r\n"}, 0},
      {{"page", "auto"}, {"PAS\r\n"}, 0},
      {{"send", file, "--page", "2,5", "--only", "fill"}, {"P02FBLT05\r\n", "P05FBLT7F\r\n"}, 0},
      {{"send", file, "--only", "fill"}, {"PTFB000500007F" + Times("00", 27) + "\r\n"}, 0},
      {{"send", file, "--only", "position,level", "--pace", "answer"},
       {"PTWLL" + Times("H", 31) + "\r\n", "PH15\r\n", "PV08\r\n"},
       0},
      // Frames that carry every page go once, whatever --page says.
      {{"send", file, "--only", "time", "--page", "3"}, {time}, 0},
      {{"send", file, "--only", "page,blink", "--page", "32,30-31", "--pace", "answer"},
       {"P30BDLT1000004\r\n", "P31BDLT0000000\r\n", "P32BDLT0000000\r\n", "P07\r\n"},
       0},
      // Page 3's title is passed over, its colours go.
      {{"send", file, "--page", "3,4", "--only", "colours,titles", "--pace", "answer"},
       {step(4), step(send_step::kColours.Step(2)), step(send_step::kColours.Step(3))},
       1},
      {{"send", file, "--only", "position,time,page,blink,colours,level,fill,titles", "--pace",
        "answer"},
       whole,
       1},
      {{"send", file, "--page", "1-32", "--pace", "answer"}, paged, 1},
  };
  for (const auto& [args, frames, status] : cases) {
    LoggedBoard board;
    Texts line = args;
    line.insert(line.end(), {"--port", board.device()});
    const CliRun run = RunClient(line, std::chrono::milliseconds(20));
    EXPECT_EQ(run.status, status) << run.out << run.err;
    EXPECT_EQ(board.frames(), frames) << args[0] << " " << args[1] << " " << args[2];
    if (status == 1) {
      EXPECT_TRUE(Has(run, "warning: not sent: page 3 line 1: title refused"));
    }
  }
  const CliRun printed = RunClient({"frames", file, "--only", "fill", "--page", "5,2"});
  EXPECT_EQ(printed.out, "P02FBLT05<CR><LF>\nP05FBLT7F<CR><LF>\n");
}

TEST(CliSelectionTest, BoardsNamedOnceOrOnTheLineAreServedAtOnceEachFailingAlone) {
  ScratchFolder dir;
  LoggedBoard first, second, named;
  LoggedBoard parity(BoardOptions{{{1, BoardFault::Kind::kAnswer, "E1"}}});
  LoggedBoard mute(BoardOptions{{{0, BoardFault::Kind::kSilent, ""}}});
  const PortsVariable ports((" " + first.device() + "\t" + second.device() + " ").c_str());
  const CliRun both = RunClient({"display", "on", "--log", dir / "line.log"});
  EXPECT_EQ(both.status, 0) << both.out << both.err;
  EXPECT_TRUE(Has(both, "2 of 2 boards answered every frame\n"));
  EXPECT_EQ(first.frames(), Texts{"IDON\r\n"});
  EXPECT_EQ(second.frames(), Texts{"IDON\r\n"});
  std::ifstream log(dir / "line.log");
  const std::string logged(std::istreambuf_iterator<char>(log), {});
  EXPECT_NE(logged.find(second.device() + " -> IDON<CR><LF>"), std::string::npos) << logged;
  // --port wins over the variable.
  const CliRun one = RunClient({"page", "auto", "--port", named.device()});
  EXPECT_EQ(one.status, 0);
  EXPECT_EQ(named.frames(), Texts{"PAS\r\n"});
  EXPECT_EQ(first.count(), 1u);
  const CliRun failing =
      RunClient({"page", "12", "--port", parity.device(), "--port", mute.device(), "--port",
                 named.device(), "--answer-timeout", "300"});
  EXPECT_EQ(failing.status, 1);
  EXPECT_TRUE(Has(failing, parity.device() + ": FAILED: frame 1: Parity Error")) << failing.out;
  EXPECT_TRUE(Has(failing, mute.device() + ": FAILED: frame 1: no answer within 300 ms"));
  EXPECT_TRUE(Has(failing, "1 of 3 boards answered every frame\n"));
  EXPECT_EQ(named.frames(), (Texts{"PAS\r\n", "P12\r\n"}));
  // The program's window holds its port as this does.
  PortOpenResult held = OpenPortDevice(named.device());
  ASSERT_EQ(held.status, PortStatus::kOpened);
  const CliRun busy = RunClient({"display", "off", "--port", named.device()});
  held.device.reset();
  EXPECT_EQ(busy.status, 1);
  EXPECT_TRUE(Has(busy, named.device() +
                            ": FAILED: busy: another program holds it; is the QRV-470KSE "
                            "window open on it?\n"))
      << busy.out;
  EXPECT_EQ(named.count(), 2u);
}

TEST(CliSelectionTest, ACommandLineThatMakesNoSenseEndsWithStatus2AndNothingOnTheLine) {
  ScratchFolder dir;
  const std::string file = dir.Save("any.dat", {});
  LoggedBoard board;
  const std::pair<Texts, std::string> cases[] = {
      {{"page", "0"}, "page is a number from 1 to 32 or auto, not \"0\""},
      {{"page"}, "page needs a page number (1 to 32) or auto"},
      {{"display"}, "display needs on or off"},
      {{"display", "dim"}, "display is on or off, not \"dim\""},
      {{"display", "on", "--page", "3"}, "unknown option --page"},
      {{"page", "3", "--only", "fill"}, "unknown option --only"},
      {{"send", file, "--page", "0"}, "--page takes pages 1 to 32 and ranges such as"},
      {{"send", file, "--page", "1,33"}, "not \"33\""},
      {{"send", file, "--page", "5-3"}, "not \"5-3\""},
      {{"send", file, "--page", "2,"}, "not \"\""},
      {{"send", file, "--only", "titles,colors"}, "blink, page, time and position, not \"colors\""},
      {{"send", file, "--only", "fill", "--verify"}, "--verify reads the whole board back"},
      {{"read", "-o", "x.dat"}, "read takes one board, not 2"},
  };
  const PortsVariable ports((board.device() + " " + board.device()).c_str());
  for (const auto& [args, says] : cases) {
    Texts line = args;
    if (args[0] != "read") line.insert(line.end(), {"--port", board.device()});
    const CliRun run = RunClient(line);
    EXPECT_EQ(run.status, 2) << args[0] << " " << args.back();
    EXPECT_TRUE(Has(run, says)) << run.err;
  }
  EXPECT_EQ(board.count(), 0u);
  const PortsVariable blank(" \t");
  EXPECT_TRUE(
      Has(RunClient({"display", "on"}), "no --port given, and QRV470KSE_PORTS names no device\n"));
  const PortsVariable none(nullptr);
  const CliRun unset = RunClient({"page", "auto"});
  EXPECT_EQ(unset.status, 2);
  EXPECT_TRUE(Has(unset, "no --port given, and QRV470KSE_PORTS is not set\n"));
}

}  // namespace
}  // namespace qrv
