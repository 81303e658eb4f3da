#include "config_differences.h"

#include "terminal_text.h"
#include "title_frame.h"

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

class Differences {
 public:
  void Add(const std::string& where, const std::string& field, const std::string& file,
           const std::string& board) {
    if (file != board) lines.push_back(where + field + ": file " + file + ", board " + board);
  }
  std::vector<std::string> lines;
};

std::string Where(int page, int line = -1) {
  return "page " + std::to_string(page + 1) +
         (line >= 0 ? " line " + std::to_string(line + 1) : std::string()) + " ";
}

}  // namespace

std::vector<std::string> ConfigDifferences(const DisplayConfig& file, const DisplayConfig& board) {
  const DisplayConfig titles = TitlesAsReported(file);
  Differences d;
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      const std::string where = Where(p, l);
      d.Add(where, "title", Quoted(titles.title(p, l)), Quoted(board.title(p, l)));
      d.Add(where, "character colour", Colour(file.char_colour[p][l]),
            Colour(board.char_colour[p][l]));
      d.Add(where, "border colour", Colour(file.border_colour[p][l]),
            Colour(board.border_colour[p][l]));
      d.Add(where, "blink", std::to_string(file.blink[p][l]), std::to_string(board.blink[p][l]));
      d.Add(where, "fill", OnOff(file.fill_mask[p], l), OnOff(board.fill_mask[p], l));
    }
    const std::string where = Where(p);
    d.Add(where, "character level", file.char_level[p] != 0 ? "High" : "Low",
          board.char_level[p] != 0 ? "High" : "Low");
    d.Add(where, "display time", std::to_string(file.display_time[p]),
          std::to_string(board.display_time[p]));
  }
  d.Add("", "display page", DisplayPage(file), DisplayPage(board));
  d.Add("", "horizontal position", std::to_string(file.position_h),
        std::to_string(board.position_h));
  d.Add("", "vertical position", std::to_string(file.position_v), std::to_string(board.position_v));
  return d.lines;
}

}  // namespace qrv
