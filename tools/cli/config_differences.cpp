#include "config_differences.h"

#include "terminal_text.h"
#include "text_format.h"
#include "title_frame.h"
#include "translation.h"

namespace qrv {
namespace {

std::string Colour(int code) {
  const bool known = code >= 0 && code < static_cast<int>(kColourNames.size());
  return std::to_string(code) + " (" + (known ? std::string(kColourNames[code]) : "?") + ")";
}

std::string OnOff(int mask, int line) {
  return ((mask >> line) & 1) != 0 ? "ON" : "OFF";
}

std::string DisplayPage(const DisplayConfig& c) {
  return c.display_page_auto != 0 ? "Auto" : std::to_string(c.current_page + 1);
}

std::string Quoted(std::string_view title) {
  return "\"" + TerminalText(title) + "\"";
}

// The file's titles as the board reports a page it holds: the lines it can show.
DisplayConfig TitlesAsReported(const DisplayConfig& file) {
  DisplayConfig reported = file;
  for (int page = 0; page < kPages; ++page) {
    PageText text;
    TitleCodes codes;
    if (!ComposeTitlePage(file, page, text) || !ConvertTitlePage(text, codes)) continue;
    std::array<int, kTitleCodes> values;
    std::copy(codes.begin(), codes.end(), values.begin());
    StoreTitleCodes(reported, page, values);
  }
  return reported;
}

// Each difference one line, named as the file's problems are: "page 12 line 3 border colour:
// file 1 (赤), board 0 (黒)". Page and line count from 0; -1 where the field has none.
class Differences {
 public:
  void Add(int page, int line, const char* field, const std::string& file,
           const std::string& board) {
    if (file == board) return;
    const std::string name = Tr(field);
    if (page < 0) {
      lines.push_back(Format(Tr("{1}: file {2}, board {3}"), {name, file, board}));
    } else if (line < 0) {
      lines.push_back(Format(Tr("page {1} {2}: file {3}, board {4}"),
                             {std::to_string(page + 1), name, file, board}));
    } else {
      lines.push_back(
          Format(Tr("page {1} line {2} {3}: file {4}, board {5}"),
                 {std::to_string(page + 1), std::to_string(line + 1), name, file, board}));
    }
  }
  std::vector<std::string> lines;
};

}  // namespace

std::vector<std::string> ConfigDifferences(const DisplayConfig& file, const DisplayConfig& board) {
  const DisplayConfig titles = TitlesAsReported(file);
  Differences d;
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      d.Add(p, l, QRV_TEXT("title"), Quoted(titles.title(p, l)), Quoted(board.title(p, l)));
      d.Add(p, l, QRV_TEXT("character colour"), Colour(file.char_colour[p][l]),
            Colour(board.char_colour[p][l]));
      d.Add(p, l, QRV_TEXT("border colour"), Colour(file.border_colour[p][l]),
            Colour(board.border_colour[p][l]));
      d.Add(p, l, QRV_TEXT("blink"), std::to_string(file.blink[p][l]),
            std::to_string(board.blink[p][l]));
      d.Add(p, l, QRV_TEXT("fill"), OnOff(file.fill_mask[p], l), OnOff(board.fill_mask[p], l));
    }
    d.Add(p, -1, QRV_TEXT("character level"), file.char_level[p] != 0 ? "High" : "Low",
          board.char_level[p] != 0 ? "High" : "Low");
    d.Add(p, -1, QRV_TEXT("display time"), std::to_string(file.display_time[p]),
          std::to_string(board.display_time[p]));
  }
  d.Add(-1, -1, QRV_TEXT("display page"), DisplayPage(file), DisplayPage(board));
  d.Add(-1, -1, QRV_TEXT("horizontal position"), std::to_string(file.position_h),
        std::to_string(board.position_h));
  d.Add(-1, -1, QRV_TEXT("vertical position"), std::to_string(file.position_v),
        std::to_string(board.position_v));
  return d.lines;
}

}  // namespace qrv
