#include "cli_table.h"

#include <algorithm>

#include "cli_build.h"
#include "page_numbers.h"
#include "periods.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

using C = CliCommand;

constexpr ValueRange kAnswerTimeoutRange{1, kMaxAnswerTimeoutMs};
constexpr ValueRange kScaleRange{1, kMaxPreviewScale};

const std::vector<CliCommand> kTransfers = {C::kSend, C::kRead, C::kVerify, C::kDisplay, C::kPage};

std::string Numbers(ValueRange range) {
  std::string words;
  for (int n = range.first; n <= range.last; ++n)
    words += (words.empty() ? "" : " ") + std::to_string(n);
  return words;
}

std::string PageWords() {
  return Numbers(kPageNumberRange);
}
std::string AnyFile() {
  return "";
}
std::string DatFiles() {
  return "dat";
}
std::string CsvFiles() {
  return "csv";
}
std::string PngFiles() {
  return "png";
}

// An option's value kept as it is.
template <std::string CliOptions::*field>
std::string Keep(const std::string& value, CliOptions& o) {
  o.*field = value;
  return {};
}

std::string TakeOutput(const std::string& value, CliOptions& o) {
  return Keep<&CliOptions::output>(value, o);
}

std::string TakeFile(const std::string& value, CliOptions& o) {
  return Keep<&CliOptions::file>(value, o);
}

}  // namespace

bool ClientOption::TakenBy(CliCommand command) const {
  return std::find(commands.begin(), commands.end(), command) != commands.end();
}

std::string ShowClientText(const char* text) {
  return Fill(Tr(text), {{"first_page", std::to_string(kPageNumberRange.first)},
                         {"last_page", std::to_string(kPageNumberRange.last)},
                         {"send_ms", std::to_string(kSendPeriod.count())},
                         {"read_ms", std::to_string(kReadPeriod.count())},
                         {"timeout_ms", std::to_string(kDefaultAnswerTimeout.count())},
                         {"max_timeout_ms", std::to_string(kAnswerTimeoutRange.last)},
                         {"max_scale", std::to_string(kScaleRange.last)},
                         {"default_scale", std::to_string(CliOptions{}.scale)},
                         {"ports_variable", kPortsVariable}});
}

const std::vector<ClientOption>& ClientOptions() {
  static const std::vector<ClientOption> options = {
      {{"--port", "DEVICE",
        QRV_TEXT("a serial device (/dev/ttyUSB0) or tcp://HOST:PORT of a\n"
                 "serial device server; repeat it for several boards.\n"
                 "Without it, the boards {ports_variable} names (devices\n"
                 "separated by blanks)"),
        true},
       kTransfers,
       [](const std::string& value, CliOptions& o) {
         o.ports.push_back(value);
         return std::string();
       },
       Completion::kDevices},
      {{"-o", "FILE.dat", QRV_TEXT("the .dat file to write, once the whole read went through"),
        false, QRV_TEXT("no -o FILE.dat given")},
       {C::kRead},
       TakeOutput,
       Completion::kFiles,
       DatFiles},
      {{"-o", "OUT.png", QRV_TEXT("the PNG file to write"), false, QRV_TEXT("no -o OUT.png given")},
       {C::kPreview},
       TakeOutput,
       Completion::kFiles,
       PngFiles},
      {{"-o", "OUT.csv", QRV_TEXT("the CSV file to write"), false, QRV_TEXT("no -o OUT.csv given")},
       {C::kExport},
       TakeOutput,
       Completion::kFiles,
       CsvFiles},
      {{"-o", "OUT.dat", QRV_TEXT("the .dat file to write"), false,
        QRV_TEXT("no -o OUT.dat given")},
       {C::kImport},
       TakeOutput,
       Completion::kFiles,
       DatFiles},
      {{"--base", "BASE.dat",
        QRV_TEXT("the file whose position, current page and Auto the new\n"
                 "file keeps, and whose titles left as exported keep\n"
                 "their bytes")},
       {C::kImport},
       Keep<&CliOptions::base>,
       Completion::kFiles,
       DatFiles},
      {{"--page", "LIST",
        QRV_TEXT("only the titles, colours and blink of these pages, one\n"
                 "frame a page, and their fill page by page: pages\n"
                 "{first_page} to {last_page} and ranges such as 2,5,30-32")},
       {C::kSend, C::kFrames},
       [](const std::string& value, CliOptions& o) {
         std::string bad;
         const auto pages = ParsePageList(value, &bad);
         if (!pages) {
           return Fill(ShowClientText(QRV_TEXT("--page takes pages {first_page} to {last_page} "
                                               "and ranges such as 2,5,30-32, not \"{part}\"")),
                       {{"part", bad}});
         }
         o.selection.pages = *pages;
         o.selection.pages_given = true;
         return std::string();
       },
       Completion::kWords,
       PageWords},
      {{"--only", "KINDS",
        QRV_TEXT("only these kinds, comma-separated, in the whole send's\n"
                 "order whatever order is given: titles, fill, level,\n"
                 "colours, blink, page, time, position")},
       {C::kSend, C::kFrames},
       [](const std::string& value, CliOptions& o) {
         std::string bad;
         const auto kinds = ParseSendKinds(value, &bad);
         if (!kinds) {
           return Fill(Tr("--only takes titles, fill, level, colours, blink, page, time and "
                          "position, not \"{kind}\""),
                       {{"kind", bad}});
         }
         o.selection.kinds = *kinds;
         return std::string();
       },
       Completion::kWordList,
       [] {
         std::string words;
         for (const char* kind : kSendKindNames)
           words += (words.empty() ? "" : " ") + std::string(kind);
         return words;
       }},
      {{"--page", "N",
        QRV_TEXT("the page to draw, {first_page} to {last_page}; page 1 when not given")},
       {C::kPreview},
       [](const std::string& value, CliOptions& o) {
         return TakeWholeNumber("--page", value, kPageNumberRange, o.page);
       },
       Completion::kWords,
       PageWords},
      {{"--all", nullptr, QRV_TEXT("draw the 32 pages on one sheet, each under its number")},
       {C::kPreview},
       [](const std::string&, CliOptions& o) {
         o.all_pages = true;
         return std::string();
       }},
      {{"--scale", "K", QRV_TEXT("pixels a dot, 1 to {max_scale}; {default_scale} when not given")},
       {C::kPreview},
       [](const std::string& value, CliOptions& o) {
         return TakeWholeNumber("--scale", value, kScaleRange, o.scale);
       },
       Completion::kWords,
       [] { return Numbers(kScaleRange); }},
      {{"--pace", "fixed|answer",
        QRV_TEXT("fixed: one frame every {send_ms} ms (reads: {read_ms} ms), as\n"
                 "the program does, whether or not earlier answers have\n"
                 "come (the default); answer: the next frame as soon as\n"
                 "the board has answered the last, or one fixed period\n"
                 "after it at the latest")},
       kTransfers,
       [](const std::string& value, CliOptions& o) {
         if (value != "fixed" && value != "answer")
           return Fill(Tr("--pace is fixed or answer, not \"{value}\""), {{"value", value}});
         o.pace = value == "answer" ? Pace::kAnswer : Pace::kFixed;
         return std::string();
       },
       Completion::kWords,
       [] { return std::string("fixed answer"); }},
      {{"--answer-timeout", "MS",
        QRV_TEXT("a frame not answered within MS ms ({timeout_ms} when not\n"
                 "given, at most {max_timeout_ms}) stops that board, at\n"
                 "either pace")},
       kTransfers,
       [](const std::string& value, CliOptions& o) {
         return TakeWholeNumber("--answer-timeout", value, kAnswerTimeoutRange,
                                o.answer_timeout_ms);
       },
       Completion::kWords,
       [] { return std::to_string(kDefaultAnswerTimeout.count()); }},
      {{"--verify", nullptr,
        QRV_TEXT("then read each board back and compare it with the file;\n"
                 "not with --page or --only")},
       {C::kSend},
       [](const std::string&, CliOptions& o) {
         o.verify = true;
         return std::string();
       }},
      {{"--log", "LOGFILE", QRV_TEXT("append every frame and answer, with the time, to LOGFILE")},
       kTransfers,
       Keep<&CliOptions::log>,
       Completion::kFiles,
       AnyFile},
      {{"--report", "FILE",
        QRV_TEXT("write how each board ended to FILE, made anew: JSON\n"
                 "Lines, one object a board as it ends, with port, ok,\n"
                 "frames, seconds, error, and after a read back to\n"
                 "compare differences")},
       kTransfers,
       Keep<&CliOptions::report>,
       Completion::kFiles,
       AnyFile},
  };
  return options;
}

const std::vector<Exclusion>& ClientExclusions() {
  static const std::vector<Exclusion> exclusions = {
      {"--page", "--all", QRV_TEXT("--page and --all do not go together")},
      {"--verify", "--page",
       QRV_TEXT("--verify reads the whole board back: it does not go with --page or --only")},
      {"--verify", "--only",
       QRV_TEXT("--verify reads the whole board back: it does not go with --page or --only")},
  };
  return exclusions;
}

const std::vector<ClientCommand>& ClientCommands() {
  static const std::vector<ClientCommand> commands = {
      {C::kSend, "send", "FILE.dat", QRV_TEXT("no FILE.dat given"), TakeFile, Completion::kFiles,
       DatFiles,
       QRV_TEXT("send a whole configuration to boards, or with --page\n"
                "and --only a part"),
       QRV_TEXT("Sends the whole configuration of FILE.dat to each board, as the program's\n"
                "\"全項目設定\" does: titles (stored), fill, character level, colours, blink,\n"
                "display page, display time and position. Several boards are served at once.\n"
                "With --page or --only it sends a part, each frame as its setting dialog's\n"
                "button sends it; level, time, page and position carry every page and go\n"
                "once. A page that cannot be sent is passed over with a warning (see\n"
                "`check`); a file cut short or holding values no dialog offers is refused\n"
                "before the first frame.\n"
                "Exit status 0 only when every page went out and every board answered every\n"
                "frame with GO (and, with --verify, reads back equal to the file).\n"),
       true},
      {C::kDisplay, "display", "on|off", QRV_TEXT("display needs on or off"),
       [](const std::string& value, CliOptions& o) {
         if (value != "on" && value != "off")
           return Fill(Tr("display is on or off, not \"{value}\""), {{"value", value}});
         o.display_on = value == "on";
         return std::string();
       },
       Completion::kWords, [] { return std::string("on off"); },
       QRV_TEXT("switch the boards' display on or off"),
       QRV_TEXT("Switches each board's display on or off (the frame IDON or IDOF), as the\n"
                "program's \"表示/非表示の設定\" does. Several boards are served at once.\n"
                "Exit status 0 only when every board answered GO.\n"),
       true},
      {C::kPage, "page", "N|auto",
       QRV_TEXT("page needs a page number ({first_page} to {last_page}) or auto"),
       [](const std::string& value, CliOptions& o) {
         const auto page = ParsePageNumber(value);
         if (value != "auto" && !page) {
           return Fill(
               ShowClientText(QRV_TEXT(
                   "page is a number from {first_page} to {last_page} or auto, not \"{value}\"")),
               {{"value", value}});
         }
         o.shown_page = page.value_or(0);
         return std::string();
       },
       Completion::kWords, [] { return "auto " + PageWords(); },
       QRV_TEXT("make the boards show page N, or turn pages"),
       QRV_TEXT("Makes each board show page N ({first_page} to {last_page}, the frame P07 for\n"
                "page 7), or turn its pages by their display times (auto, the frame PAS), as\n"
                "the program's \"表示ページの設定\" does. Several boards are served at once.\n"
                "Exit status 0 only when every board answered GO.\n"),
       true},
      {C::kRead, "read", nullptr, nullptr, nullptr, Completion::kNothing, nullptr,
       QRV_TEXT("read a board's settings into a file"),
       QRV_TEXT("Reads a board's settings back, as the program's \"読み込み\" does, into a fresh\n"
                "configuration and writes it as FILE.dat (checked before the read, replaced\n"
                "only when the read went through; a device or FIFO is never written over).\n"),
       true},
      {C::kVerify, "verify", "FILE.dat", QRV_TEXT("no FILE.dat given"), TakeFile,
       Completion::kFiles, DatFiles, QRV_TEXT("compare boards with a file"),
       QRV_TEXT("Reads each board back and compares it with FILE.dat field by field, printing\n"
                "each difference as page, line, field, file value and board value.\n"
                "Exit status 0 only when every board matches.\n"),
       true},
      {C::kFrames, "frames", "FILE.dat", QRV_TEXT("no FILE.dat given"), TakeFile,
       Completion::kFiles, DatFiles, QRV_TEXT("print the frames send would write"),
       QRV_TEXT("Prints the frames that `send` would write, one per line, with CR and LF\n"
                "shown as <CR><LF>. Pages that cannot be sent, and what `check` finds, are\n"
                "named on stderr.\n"),
       false},
      {C::kCheck, "check", "FILE.dat", QRV_TEXT("no FILE.dat given"), TakeFile, Completion::kFiles,
       DatFiles, QRV_TEXT("list what in a file cannot be sent"),
       QRV_TEXT("Lists what is wrong with FILE.dat: where it ends when cut short, every value\n"
                "no dialog offers (by page, line and field), every page that cannot be sent\n"
                "(a title refused and why, a colour line with both colours blank). Exit\n"
                "status 1 when there is any.\n"),
       false},
      {C::kPorts, "ports", nullptr, nullptr, nullptr, Completion::kNothing, nullptr,
       QRV_TEXT("list the serial devices of this machine"),
       QRV_TEXT("Lists the serial devices of this machine, one a line: the path to give to\n"
                "--port (the stable /dev/serial/by-id/ name when there is one), then what the\n"
                "device says it is. Opening one needs the dialout group's rights.\n"),
       false},
      {C::kPreview, "preview", "FILE.dat", QRV_TEXT("no FILE.dat given"), TakeFile,
       Completion::kFiles, DatFiles, QRV_TEXT("draw a page as the board would show it"),
       QRV_TEXT("Draws a page of FILE.dat as the board's dots would show it, through its 16x16\n"
                "font, with the colours, bordering, fill and character level of each line\n"
                "(blinking lines lit); --scale 1 gives 224 x 112 pixels. A character the\n"
                "board would refuse is hatched red.\n"),
       false},
      {C::kExport, "export", "FILE.dat", QRV_TEXT("no FILE.dat given"), TakeFile,
       Completion::kFiles, DatFiles, QRV_TEXT("write titles, colours and times as CSV"),
       QRV_TEXT(
           "Writes the titles, colours, blink and fill of every line and the display time\n"
           "and character level of every page of FILE.dat as a CSV that a spreadsheet\n"
           "opens as it is (UTF-8 with a byte-order mark, CR LF): the header\n"
           "  page,line,text,char_colour,border_colour,blink,fill,display_time,char_level\n"
           "then 224 rows, page 1 line 1 to page 32 line 7. Colours are named 黒 赤 緑 黄\n"
           "青 マゼンタ シアン 白 ブランク, the level High or Low. A file cut short is refused;\n"
           "values no dialog offers are written as numbers, with a warning.\n"),
       false},
      {C::kImport, "import", "IN.csv", QRV_TEXT("no IN.csv given"), TakeFile, Completion::kFiles,
       CsvFiles, QRV_TEXT("make a file from such a CSV"),
       QRV_TEXT("Makes OUT.dat from a CSV as `export` writes it (UTF-8 with or without the\n"
                "byte-order mark, or code page 932; CR LF or LF; rows in any order). The\n"
                "position, current page and Auto come from BASE.dat, or are the start values.\n"
                "Colours are taken by name or as 0..8, the level as High, Low, 1 or 0.\n"
                "Everything is checked first: each problem is one line naming the CSV line\n"
                "(the header is line 1) and the column, and then nothing is written and the\n"
                "exit status is 1.\n"),
       false},
  };
  return commands;
}

const OptionRow& HelpRow() {
  static const OptionRow row{"-h,--help", nullptr, QRV_TEXT("print this and exit")};
  return row;
}

const OptionRow& VersionRow() {
  static const OptionRow row{"--version", nullptr, QRV_TEXT("print the version and exit"),
                             false,       nullptr, true};
  return row;
}

const OptionRow& CompletionRow() {
  static const OptionRow row{"--completion-table", nullptr, nullptr, false, nullptr, true};
  return row;
}

bool Built(CliCommand command) {
  if (command == C::kPreview) return kCliHasPreview;
  if (command == C::kExport || command == C::kImport) return kCliHasCsv;
  return true;
}

}  // namespace qrv
