#include "board_tool_options.h"

#include "command_line.h"
#include "response_dispatcher.h"
#include "tcp_port.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

// Milliseconds and byte counts: at most six digits.
constexpr ValueRange kCountRange{0, 999999};
constexpr ValueRange kBaudRange{1, 999999};
constexpr ValueRange kBoardsRange{1, 10000};
constexpr int kLastPort = 65535;

std::string ErrorAnswerWords() {
  std::string words;
  for (const std::string_view answer : ErrorAnswers())
    words += (words.empty() ? "" : " ") + std::string(answer);
  return words;
}

std::string ShowBoardText(const char* text) {
  return Fill(Tr(text), {{"quiet_boards", std::to_string(kQuietFromBoards)},
                         {"max_boards", std::to_string(kBoardsRange.last)},
                         {"answers", ErrorAnswerWords()}});
}

std::optional<BoardFault> ParseFault(const std::string& spec) {
  const auto colon = spec.find(':');
  if (colon == spec.npos) return std::nullopt;
  const auto frame = ParseValueIn(std::string_view(spec).substr(0, colon), kCountRange);
  if (!frame) return std::nullopt;
  const std::string what = spec.substr(colon + 1);
  BoardFault fault;
  fault.frame = *frame;
  if (what == "GO" || ErrorAnswerMeaning(what + "\r\n") != nullptr) {
    fault.text = what;
  } else if (what == "silent") {
    fault.kind = BoardFault::Kind::kSilent;
  } else if (what == "unplug") {
    fault.kind = BoardFault::Kind::kUnplug;
  } else if (what.rfind("garbage", 0) == 0) {
    fault.kind = BoardFault::Kind::kGarbage;
    fault.text = what.size() > 8 && what[7] == '=' ? what.substr(8) : "\x7f#?Z\r\n";
  } else {
    return std::nullopt;
  }
  return fault;
}

using Take = std::string (*)(const std::string& value, BoardToolOptions& o);

struct BoardToolOption {
  OptionRow row;
  Take take;
};

const std::vector<BoardToolOption>& Options() {
  static const std::vector<BoardToolOption> options = {
      {{"--device", "DEV",
        QRV_TEXT("serve a serial device (e.g. a null-modem cable, or COM2\n"
                 "of a virtual null-modem pair) instead")},
       [](const std::string& value, BoardToolOptions& o) {
         o.device = value;
         return std::string();
       }},
      {{"--listen", "HOST:PORT",
        QRV_TEXT("serve TCP port PORT of address HOST (127.0.0.1:4001)\n"
                 "instead, one connection at a time, and print\n"
                 "tcp://HOST:PORT on stdout (port 0: one the system\n"
                 "chooses)")},
       [](const std::string& value, BoardToolOptions& o) {
         if (!SplitHostPort(value, true))
           return Fill(Tr("--listen is HOST:PORT, not \"{value}\""), {{"value", value}});
         o.listen = value;
         return std::string();
       }},
      {{"--boards", "N",
        QRV_TEXT("with --listen, N boards (1 to {max_boards}) in this one\n"
                 "process on the N consecutive ports from PORT (port 0:\n"
                 "ports the system chooses), each its own settings and\n"
                 "the options below; each tcp://HOST:PORT is printed on\n"
                 "stdout, one a line. Not on Windows")},
       [](const std::string& value, BoardToolOptions& o) {
         return TakeWholeNumber("--boards", value, kBoardsRange, o.boards);
       }},
      {{"--quiet", nullptr,
        QRV_TEXT("log only the frames answered with an error or not at all,\n"
                 "and the summary; the default from {quiet_boards} boards on")},
       [](const std::string&, BoardToolOptions& o) {
         o.quiet = true;
         return std::string();
       }},
      {{"--load", "FILE.dat", QRV_TEXT("start with the settings of a configuration file")},
       [](const std::string& value, BoardToolOptions& o) {
         o.load = value;
         return std::string();
       }},
      {{"--fault", "N:WHAT",
        QRV_TEXT("misbehave at the N-th frame (0: every frame); WHAT is\n"
                 "one of {answers} (that answer),\n"
                 "silent (no answer), garbage[=TEXT] (TEXT, or some\n"
                 "junk, instead of an answer), GO (claim success but\n"
                 "keep the frame's old settings), unplug (no answer;\n"
                 "the line is let go and the board ends)"),
        true},
       [](const std::string& value, BoardToolOptions& o) {
         const auto fault = ParseFault(value);
         if (!fault) {
           return Fill(ShowBoardText(QRV_TEXT("--fault is N:WHAT, WHAT one of {answers} silent "
                                              "garbage[=TEXT] GO unplug, not \"{value}\"")),
                       {{"value", value}});
         }
         o.board.faults.push_back(*fault);
         return std::string();
       }},
      {{"--delay", "MS",
        QRV_TEXT("wait MS milliseconds before each answer, as a slow\n"
                 "board: later frames wait too")},
       [](const std::string& value, BoardToolOptions& o) {
         return TakeWholeNumber("--delay", value, kCountRange, o.board.answer_delay_ms);
       }},
      {{"--latency", "MS",
        QRV_TEXT("each answer arrives MS milliseconds late, as over a far\n"
                 "network: later frames are taken and answered meanwhile")},
       [](const std::string& value, BoardToolOptions& o) {
         return TakeWholeNumber("--latency", value, kCountRange, o.board.latency_ms);
       }},
      {{"--split", "BYTES[:GAP_MS]",
        QRV_TEXT("write answers in pieces of BYTES bytes, GAP_MS ms apart")},
       [](const std::string& value, BoardToolOptions& o) {
         const auto colon = value.find(':');
         const auto bytes = ParseValueIn(std::string_view(value).substr(0, colon), kCountRange);
         const auto gap =
             colon == value.npos
                 ? std::optional<int>(0)
                 : ParseValueIn(std::string_view(value).substr(colon + 1), kCountRange);
         if (!bytes || !gap) {
           return Fill(Tr("--split is BYTES or BYTES:GAP_MS, each from 0 to 999999, not "
                          "\"{value}\""),
                       {{"value", value}});
         }
         o.board.split_bytes = *bytes;
         o.board.split_gap_ms = *gap;
         return std::string();
       }},
      {{"--baud", "RATE",
        QRV_TEXT("model a line of RATE baud: 11 bit times per byte each\n"
                 "way, and each frame answered only once all of it has\n"
                 "arrived")},
       [](const std::string& value, BoardToolOptions& o) {
         return TakeWholeNumber("--baud", value, kBaudRange, o.board.baud);
       }},
      {{"--version", nullptr, QRV_TEXT("print the version and exit"), false, nullptr, true},
       [](const std::string&, BoardToolOptions& o) {
         o.version = true;
         return std::string();
       }},
  };
  return options;
}

const OptionRow kHelp{"-h,--help", nullptr, QRV_TEXT("print this and exit")};

const Exclusion kExclusions[] = {
    {"--device", "--listen", QRV_TEXT("--device and --listen do not go together")},
    {"--device", "--boards", QRV_TEXT("--boards needs --listen HOST:PORT, not --device")},
};

// Whether the rack's ports all exist: PORT + N - 1 is a port.
bool FitPorts(const BoardToolOptions& o, std::string* error) {
  const auto address = SplitHostPort(o.listen, true);
  const int first = std::stoi(address->port);
  if (first == 0 || first + o.boards - 1 <= kLastPort) return true;
  *error = Fill(Tr("--boards {count} from port {port} would pass port {last}"),
                {{"count", std::to_string(o.boards)},
                 {"port", address->port},
                 {"last", std::to_string(kLastPort)}});
  return false;
}

}  // namespace

std::optional<BoardToolOptions> ParseBoardToolOptions(const std::vector<std::string>& args,
                                                      std::string* error) {
  BoardToolOptions o;
  CommandLineParser parser(
      kHelp,
      [&o](const std::string&) {
        o.help = true;
        return std::string();
      },
      ShowBoardText);
  for (const BoardToolOption& option : Options())
    parser.AddOption(parser.root(), option.row,
                     [&o, take = option.take](const std::string& v) { return take(v, o); });
  for (const Exclusion& exclusion : kExclusions) parser.AddExclusion(parser.root(), exclusion);
  if (!parser.Parse(args, error)) return std::nullopt;
  if (o.help || o.version) return o;
  if (o.boards > 0 && o.listen.empty()) {
    *error = Tr("--boards needs --listen HOST:PORT");
    return std::nullopt;
  }
  if (o.boards > 0 && !FitPorts(o, error)) return std::nullopt;
  if (o.boards >= kQuietFromBoards) o.quiet = true;
  return o;
}

std::string BoardToolUsage() {
  std::vector<std::string> words;
  std::vector<const OptionRow*> rows;
  for (const BoardToolOption& option : Options()) {
    rows.push_back(&option.row);
    if (option.row.flag == std::string("--version")) continue;
    words.push_back("[" + OptionSpelling(option.row) + "]" + (option.row.repeated ? "..." : ""));
  }
  rows.push_back(&kHelp);
  return FormatSynopsis("usage: qrv470kse-board", words) +
         Tr("Plays a QRV-470K board. Without --device or --listen it creates a pseudo-terminal\n"
            "(not on Windows) and prints its path on stdout; point the program at that path.\n"
            "Each frame and answer is logged on stderr. Ends on Ctrl-C or SIGTERM.\n") +
         FormatOptions(rows, ShowBoardText);
}

}  // namespace qrv
