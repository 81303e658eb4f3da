#include "cli_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <sstream>

#include "cli_build.h"
#include "display_config.h"

namespace qrv {
namespace {

struct CommandInfo {
  CliCommand command;
  const char* name;
  const char* usage;
};

const std::array<CommandInfo, 11> kCommands = {{
    {CliCommand::kSend, "send",
     "usage: qrv470kse-cli send FILE.dat --port DEVICE [--port DEVICE]...\n"
     "                          [--page LIST] [--only KINDS] [--pace fixed|answer]\n"
     "                          [--answer-timeout MS] [--verify] [--log LOGFILE]\n"
     "Sends the whole configuration of FILE.dat to each board, as the program's\n"
     "\"全項目設定\" does: titles (stored), fill, character level, colours, blink,\n"
     "display page, display time and position. Several boards are served at once.\n"
     "--only KINDS sends only those kinds, comma-separated, in that same order\n"
     "whatever order is given: titles, fill, level, colours, blink, page, time,\n"
     "position. --page LIST (3, 1-8, 2,5,30-32) sends the titles, colours and blink\n"
     "of those pages only, and their fill page by page; level, time, page and\n"
     "position carry every page and go once. Each frame is the one its setting\n"
     "dialog's button sends. --verify reads the whole board back and does not go\n"
     "with --page or --only.\n"
     "A page that cannot be sent is passed over with a warning (see `check`); a\n"
     "file cut short or holding values no dialog offers is refused before the\n"
     "first frame.\n"
     "Exit status 0 only when every page went out and every board answered every\n"
     "frame with GO (and, with --verify, reads back equal to the file).\n"},
    {CliCommand::kRead, "read",
     "usage: qrv470kse-cli read --port DEVICE -o FILE.dat [--pace fixed|answer]\n"
     "                          [--answer-timeout MS] [--log LOGFILE]\n"
     "Reads a board's settings back, as the program's \"読み込み\" does, into a fresh\n"
     "configuration and writes it as FILE.dat (checked before the read, replaced\n"
     "only when the read went through; a device or FIFO is never written over).\n"},
    {CliCommand::kVerify, "verify",
     "usage: qrv470kse-cli verify FILE.dat --port DEVICE [--port DEVICE]...\n"
     "                            [--pace fixed|answer] [--answer-timeout MS]\n"
     "                            [--log LOGFILE]\n"
     "Reads each board back and compares it with FILE.dat field by field, printing\n"
     "each difference as page, line, field, file value and board value.\n"
     "Exit status 0 only when every board matches.\n"},
    {CliCommand::kFrames, "frames",
     "usage: qrv470kse-cli frames FILE.dat [--page LIST] [--only KINDS]\n"
     "Prints the frames that `send` would write, one per line, with CR and LF\n"
     "shown as <CR><LF>. Pages that cannot be sent, and what `check` finds, are\n"
     "named on stderr.\n"},
    {CliCommand::kCheck, "check",
     "usage: qrv470kse-cli check FILE.dat\n"
     "Lists what is wrong with FILE.dat: where it ends when cut short, every value\n"
     "no dialog offers (by page, line and field), every page that cannot be sent\n"
     "(a title refused and why, a colour line with both colours blank). Exit\n"
     "status 1 when there is any.\n"},
    {CliCommand::kPorts, "ports",
     "usage: qrv470kse-cli ports\n"
     "Lists the serial devices of this machine, one a line: the path to give to\n"
     "--port (the stable /dev/serial/by-id/ name when there is one), then what the\n"
     "device says it is. Opening one needs the dialout group's rights.\n"},
    {CliCommand::kPreview, "preview",
     "usage: qrv470kse-cli preview FILE.dat [--page N | --all] [--scale K] -o OUT.png\n"
     "Draws page N (1..32, page 1 when not given) of FILE.dat as the board's dots\n"
     "would show it, through its 16x16 font, with the colours, bordering, fill and\n"
     "character level of each line (blinking lines lit), K pixels a dot (1..8,\n"
     "default 4: --scale 1 gives 224 x 112). --all draws the 32 pages on one sheet,\n"
     "each under its number. A character the board would refuse is hatched red.\n"},
    {CliCommand::kDisplay, "display",
     "usage: qrv470kse-cli display on|off --port DEVICE [--port DEVICE]...\n"
     "                             [--pace fixed|answer] [--answer-timeout MS]\n"
     "                             [--log LOGFILE]\n"
     "Switches each board's display on or off (the frame IDON or IDOF), as the\n"
     "program's \"表示/非表示の設定\" does. Several boards are served at once.\n"
     "Exit status 0 only when every board answered GO.\n"},
    {CliCommand::kPage, "page",
     "usage: qrv470kse-cli page N|auto --port DEVICE [--port DEVICE]...\n"
     "                          [--pace fixed|answer] [--answer-timeout MS]\n"
     "                          [--log LOGFILE]\n"
     "Makes each board show page N (1..32, the frame P07 for page 7), or turn its\n"
     "pages by their display times (auto, the frame PAS), as the program's\n"
     "\"表示ページの設定\" does. Several boards are served at once.\n"
     "Exit status 0 only when every board answered GO.\n"},
    {CliCommand::kExport, "export",
     "usage: qrv470kse-cli export FILE.dat -o OUT.csv\n"
     "Writes the titles, colours, blink and fill of every line and the display time\n"
     "and character level of every page of FILE.dat as a CSV that a spreadsheet\n"
     "opens as it is (UTF-8 with a byte-order mark, CR LF): the header\n"
     "  page,line,text,char_colour,border_colour,blink,fill,display_time,char_level\n"
     "then 224 rows, page 1 line 1 to page 32 line 7. Colours are named 黒 赤 緑 黄\n"
     "青 マゼンタ シアン 白 ブランク, the level High or Low. A file cut short is refused;\n"
     "values no dialog offers are written as numbers, with a warning.\n"},
    {CliCommand::kImport, "import",
     "usage: qrv470kse-cli import IN.csv [--base BASE.dat] -o OUT.dat\n"
     "Makes OUT.dat from a CSV as `export` writes it (UTF-8 with or without the\n"
     "byte-order mark, or code page 932; CR LF or LF; rows in any order). The\n"
     "position, current page and Auto come from BASE.dat, or are the start values;\n"
     "a title left as exported from BASE.dat keeps its bytes. Colours are taken by\n"
     "name or as 0..8, the level as High, Low, 1 or 0. Everything is checked first:\n"
     "each problem is one line naming the CSV line (the header is line 1) and the\n"
     "column, and then nothing is written and the exit status is 1.\n"},
}};

constexpr char kOverview[] =
    "usage: qrv470kse-cli COMMAND [OPTIONS]\n"
    "Configures QRV-470K boards from scripts.\n"
    "  send FILE.dat --port DEVICE...   send a whole configuration to boards, or\n"
    "                                   with --page LIST and --only KINDS a part\n"
    "  display on|off --port DEVICE...  switch the boards' display on or off\n"
    "  page N|auto --port DEVICE...     make the boards show page N, or turn pages\n"
    "  read --port DEVICE -o FILE.dat   read a board's settings into a file\n"
    "  verify FILE.dat --port DEVICE... compare boards with a file\n"
    "  frames FILE.dat                  print the frames send would write\n"
    "  check FILE.dat                   list what in a file cannot be sent\n"
    "  ports                            list the serial devices of this machine\n"
    "  preview FILE.dat -o OUT.png      draw a page as the board would show it\n"
    "  export FILE.dat -o OUT.csv       write titles, colours and times as CSV\n"
    "  import IN.csv -o OUT.dat         make a file from such a CSV\n"
    "Options of the transfers:\n"
    "  --port DEVICE       a serial device (/dev/ttyUSB0) or tcp://HOST:PORT of a\n"
    "                      serial device server; repeat it for several boards.\n"
    "                      Without it, the boards QRV470KSE_PORTS names (devices\n"
    "                      separated by blanks)\n"
    "  --pace fixed        one frame every 500 ms (reads: 300 ms), as the program\n"
    "                      does, whether or not earlier answers have come (the\n"
    "                      default)\n"
    "  --pace answer       the next frame as soon as the board has answered the last,\n"
    "                      or one fixed period after it at the latest\n"
    "  --answer-timeout MS a frame not answered within MS ms (default 3500) stops\n"
    "                      that board, at either pace\n"
    "  --log LOGFILE       append every frame and answer, with the time, to LOGFILE\n"
    "Run `qrv470kse-cli COMMAND --help` for one command, `qrv470kse-cli --version`\n"
    "for the version.\n";

// Whether this build holds the command: a Windows build lacks the libraries of some.
bool Built(CliCommand command) {
  if (command == CliCommand::kPreview) return kCliHasPreview;
  if (command == CliCommand::kExport || command == CliCommand::kImport) return kCliHasCsv;
  return true;
}

const CommandInfo* FindCommand(CliCommand command) {
  for (const CommandInfo& info : kCommands)
    if (info.command == command && Built(command)) return &info;
  return nullptr;
}

const CommandInfo* FindCommand(const std::string& name) {
  for (const CommandInfo& info : kCommands)
    if (name == info.name && Built(info.command)) return &info;
  return nullptr;
}

// The overview without the lines of commands this build lacks, and a word on them.
std::string Overview() {
  std::string text;
  std::istringstream lines(kOverview);
  for (std::string line; std::getline(lines, line);) {
    const bool unbuilt =
        std::any_of(kCommands.begin(), kCommands.end(), [&line](const CommandInfo& info) {
          return !Built(info.command) && line.rfind(std::string("  ") + info.name + " ", 0) == 0;
        });
    if (line == "Options of the transfers:") text += kUnbuiltCommands;
    if (!unbuilt) text += line + "\n";
  }
  return text;
}

bool Fail(std::string* error, std::string text) {
  *error = std::move(text);
  return false;
}

// A whole number from 1 to limit, as the option's value.
bool ParseWholeNumber(const std::string& option, const std::string& value, int limit, int& count,
                      std::string* error) {
  const char* end = value.data() + value.size();
  const auto [stop, fault] = std::from_chars(value.data(), end, count);
  if (fault == std::errc() && stop == end && count >= 1 && count <= limit) return true;
  return Fail(error, option + " is a number from 1 to " + std::to_string(limit) + ", not \"" +
                         value + "\"");
}

bool ParseDisplaySetting(const std::string& word, CliOptions& o, std::string* error) {
  if (word.empty()) return Fail(error, "display needs on or off");
  if (word != "on" && word != "off")
    return Fail(error, "display is on or off, not \"" + word + "\"");
  o.display_on = word == "on";
  return true;
}

bool ParseShownPage(const std::string& word, CliOptions& o, std::string* error) {
  if (word.empty()) return Fail(error, "page needs a page number (1 to 32) or auto");
  if (word == "auto") {
    o.shown_page = 0;
    return true;
  }
  const char* end = word.data() + word.size();
  const auto [stop, fault] = std::from_chars(word.data(), end, o.shown_page);
  if (fault == std::errc() && stop == end && o.shown_page >= 1 && o.shown_page <= kPages)
    return true;
  return Fail(error, "page is a number from 1 to 32 or auto, not \"" + word + "\"");
}

// The boards named once for every command, in the environment.
bool PortsFromEnvironment(CliOptions& o, std::string* error) {
  const char* value = std::getenv(kPortsVariable);
  std::istringstream words(value != nullptr ? value : "");
  for (std::string device; words >> device;) o.ports.push_back(device);
  if (!o.ports.empty()) return true;
  return Fail(error, std::string("no --port given, and ") + kPortsVariable +
                         (value == nullptr ? " is not set" : " names no device"));
}

// The options after the command's name.
bool ParseRest(const std::vector<std::string>& args, CliOptions& o, std::string* error) {
  const bool takes_setting = o.command == CliCommand::kDisplay || o.command == CliCommand::kPage;
  const bool takes_file =
      o.command != CliCommand::kRead && o.command != CliCommand::kPorts && !takes_setting;
  const bool transfer = o.command == CliCommand::kSend || o.command == CliCommand::kRead ||
                        o.command == CliCommand::kVerify || takes_setting;
  const bool preview = o.command == CliCommand::kPreview;
  const bool selects = o.command == CliCommand::kSend || o.command == CliCommand::kFrames;
  std::string setting;
  const bool csv = o.command == CliCommand::kExport || o.command == CliCommand::kImport;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      o.help = true;
      return true;
    }
    const bool takes_value = (transfer && (arg == "--port" || arg == "--pace" || arg == "--log" ||
                                           arg == "--answer-timeout")) ||
                             (arg == "-o" && (o.command == CliCommand::kRead || preview || csv)) ||
                             (preview && (arg == "--page" || arg == "--scale")) ||
                             (selects && (arg == "--page" || arg == "--only")) ||
                             (arg == "--base" && o.command == CliCommand::kImport);
    if (takes_value) {
      if (i + 1 >= args.size()) return Fail(error, arg + " needs a value");
      const std::string& value = args[++i];
      if (value.empty()) return Fail(error, arg + " needs a value, not an empty one");
      if (arg == "--port") {
        o.ports.push_back(value);
      } else if (arg == "--pace") {
        if (value != "fixed" && value != "answer")
          return Fail(error, "--pace is fixed or answer, not \"" + value + "\"");
        o.pace = value == "answer" ? Pace::kAnswer : Pace::kFixed;
      } else if (arg == "--log") {
        o.log = value;
      } else if (arg == "--answer-timeout") {
        if (!ParseWholeNumber(arg, value, kMaxAnswerTimeoutMs, o.answer_timeout_ms, error))
          return false;
      } else if (arg == "--page" && selects) {
        if (!ParsePageList(value, o.selection, error)) return false;
      } else if (arg == "--only") {
        if (!ParseSendKinds(value, o.selection, error)) return false;
      } else if (arg == "--page") {
        if (!ParseWholeNumber(arg, value, kPages, o.page, error)) return false;
      } else if (arg == "--scale") {
        if (!ParseWholeNumber(arg, value, kMaxPreviewScale, o.scale, error)) return false;
      } else if (arg == "--base") {
        o.base = value;
      } else {
        o.output = value;
      }
    } else if (arg == "--verify" && o.command == CliCommand::kSend) {
      o.verify = true;
    } else if (arg == "--all" && preview) {
      o.all_pages = true;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return Fail(error, "unknown option " + arg);
    } else if (takes_setting && setting.empty()) {
      setting = arg;
    } else if (takes_file && o.file.empty()) {
      o.file = arg;
    } else {
      return Fail(error, "unexpected argument \"" + arg + "\"");
    }
  }
  if (takes_file && o.file.empty())
    return Fail(error, o.command == CliCommand::kImport ? "no IN.csv given" : "no FILE.dat given");
  if (o.command == CliCommand::kDisplay && !ParseDisplaySetting(setting, o, error)) return false;
  if (o.command == CliCommand::kPage && !ParseShownPage(setting, o, error)) return false;
  if (o.verify && !o.selection.whole())
    return Fail(error, "--verify reads the whole board back: it does not go with --page or --only");
  if (transfer && o.ports.empty() && !PortsFromEnvironment(o, error)) return false;
  if (o.command == CliCommand::kRead) {
    if (o.ports.size() > 1)
      return Fail(error, "read takes one board, not " + std::to_string(o.ports.size()));
    if (o.output.empty()) return Fail(error, "no -o FILE.dat given");
  }
  if (preview && o.output.empty()) return Fail(error, "no -o OUT.png given");
  if (csv && o.output.empty())
    return Fail(error,
                o.command == CliCommand::kImport ? "no -o OUT.dat given" : "no -o OUT.csv given");
  if (o.all_pages && o.page != 0) return Fail(error, "--page and --all do not go together");
  return true;
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args,
                                          std::string* error) {
  CliOptions o;
  if (args.empty()) {
    *error = "no command given";
    return std::nullopt;
  }
  if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
    o.help = true;
    if (args.size() > 1) {
      if (const CommandInfo* info = FindCommand(args[1])) o.command = info->command;
    }
    return o;
  }
  if (args[0] == "--version" && args.size() == 1) {
    o.version = true;
    return o;
  }
  if (const CommandInfo* info = FindCommand(args[0])) o.command = info->command;
  if (o.command == CliCommand::kNone) {
    const bool unbuilt = std::any_of(kCommands.begin(), kCommands.end(),
                                     [&](const CommandInfo& info) { return args[0] == info.name; });
    *error = unbuilt ? args[0] + " is not in this build of qrv470kse-cli (see --help)"
                     : "unknown command \"" + args[0] + "\"";
    return std::nullopt;
  }
  if (!ParseRest(args, o, error)) return std::nullopt;
  return o;
}

std::string CliUsage(CliCommand command) {
  const CommandInfo* info = FindCommand(command);
  return info != nullptr ? info->usage : Overview();
}

}  // namespace qrv
