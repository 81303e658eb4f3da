#include "board_model.h"

#include <cstdint>

#include "frame_encoding.h"
#include "value_range.h"

namespace qrv {
namespace {

constexpr std::string_view kEnd = "\r\n";
constexpr std::string_view kGo = "GO\r\n";
constexpr std::string_view kNotUnderstood = "E3\r\n";

// A frame carrying any value outside its setting's range is refused whole: the board would
// otherwise index past its blink, colour and position tables.
constexpr ValueRange kTitleCodeRange{0, 0x7E7E};
constexpr ValueRange kPageIndexRange{0, kPages - 1};

// Value of a run of decimal digits, or -1 when any character is not one.
int Decimal(std::string_view s) {
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + ReadDigit(c);
  }
  return v;
}

// Value of a run of upper-case hexadecimal digits, or -1: the board has no lower case.
int Hex(std::string_view s) {
  int v = 0;
  for (char c : s) {
    if ((c < '0' || c > '9') && (c < 'A' || c > 'F')) return -1;
    v = v * 16 + ReadHexDigit(c);
  }
  return v;
}

int Level(std::string_view s) {
  return s == "H" ? 1 : s == "L" ? 0 : -1;
}

// A JIS code the board can draw: row and cell both 0x21..0x7E.
int JisCode(std::string_view s) {
  const int v = Hex(s), row = v >> 8, cell = v & 0xFF;
  return v >= 0 && row >= 0x21 && row <= 0x7E && cell >= 0x21 && cell <= 0x7E ? v : -1;
}

// Decodes N fields of width characters each into out, all or nothing.
template <typename T, std::size_t N>
bool Decode(std::string_view body, std::size_t width, int (*decode)(std::string_view),
            ValueRange range, std::array<T, N>& out) {
  std::array<T, N> values;
  for (std::size_t i = 0; i < N; ++i) {
    const int v = decode(body.substr(i * width, width));
    if (!range.Holds(v)) return false;
    values[i] = static_cast<T>(v);
  }
  out = values;
  return true;
}

bool DecodeOne(std::string_view body, int (*decode)(std::string_view), ValueRange range, int& out) {
  std::array<int, 1> v;
  if (!Decode(body, body.size(), decode, range, v)) return false;
  out = v[0];
  return true;
}

// A set handler stores what body says and answers "GO"; a read handler answers with data.
// An empty answer means body was not understood, and then nothing may have changed.
using Handler = std::string (*)(BoardState&, int page, std::string_view body);

std::string Go(bool understood) {
  return understood ? std::string(kGo) : std::string();
}

std::string Line(std::string text) {
  return text.append(kEnd);
}

std::string SetColours(BoardState& s, int p, std::string_view body) {
  std::array<int, 2 * kLines> v;
  if (!Decode(body, 1, Decimal, kColourRange, v)) return {};
  for (int l = 0; l < kLines; ++l) {
    s.char_colour[p][l] = v[2 * l];
    s.border_colour[p][l] = v[2 * l + 1];
  }
  return std::string(kGo);
}

std::string StoreTitles(BoardState& s, int p, std::string_view body) {
  if (!Decode(body, 4, JisCode, kTitleCodeRange, s.shown_titles[p])) return {};
  s.titles[p] = s.shown_titles[p];
  return std::string(kGo);
}

std::string ReadTitles(BoardState& s, int p, std::string_view) {
  std::string out = "CA";
  AppendTwoDigits(out, p + 1);
  for (std::uint16_t code : s.titles[p]) {
    AppendHexByte(out, code >> 8);
    AppendHexByte(out, code & 0xFF);
  }
  return Line(out);
}

std::string ReadColours(BoardState& s, int, std::string_view) {
  std::string out = "PTIC";
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      out += DecimalDigit(s.char_colour[p][l]);
      out += DecimalDigit(s.border_colour[p][l]);
    }
  }
  return Line(out);
}

std::string ReadFill(BoardState& s, int, std::string_view) {
  std::string out = "PTFB";
  for (int mask : s.fill_mask)
    for (int l = 0; l < kLines; ++l) out += (mask >> l & 1) != 0 ? 'N' : '-';
  return Line(out);
}

struct Command {
  std::string_view head;  // letters before the page number, or all of them
  bool paged;             // a page number 01..32 follows head
  std::string_view tail;  // letters after the page number
  std::size_t body;       // characters after the letters, decoded by the handler
  Handler handler;
};

// Lengths, letters and page digits together tell every frame apart ("P"nn from "PAS"), so
// the order does not matter.
const Command kCommands[] = {
    {"P", true, "BDLT", kLines,
     [](BoardState& s, int p, std::string_view b) {
       return Go(Decode(b, 1, Decimal, kBlinkRange, s.blink[p]));
     }},
    {"P", true, "ICLT", 2 * kLines, SetColours},
    {"P", true, "FBLT", 2,
     [](BoardState& s, int p, std::string_view b) {
       return Go(DecodeOne(b, Hex, kFillMaskRange, s.fill_mask[p]));
     }},
    {"PTFB", false, "", 2 * kPages,
     [](BoardState& s, int, std::string_view b) {
       return Go(Decode(b, 2, Hex, kFillMaskRange, s.fill_mask));
     }},
    {"PTCT", false, "", 2 * kPages,
     [](BoardState& s, int, std::string_view b) {
       return Go(Decode(b, 2, Decimal, kDisplayTimeRange, s.display_time));
     }},
    {"PTWL", false, "", kPages,
     [](BoardState& s, int, std::string_view b) {
       return Go(Decode(b, 1, Level, kCharLevelRange, s.char_level));
     }},
    {"PH", false, "", 2,
     [](BoardState& s, int, std::string_view b) {
       return Go(DecodeOne(b, Decimal, kPositionRange, s.position_h));
     }},
    {"PV", false, "", 2,
     [](BoardState& s, int, std::string_view b) {
       return Go(DecodeOne(b, Decimal, kPositionRange, s.position_v));
     }},
    {"P", true, "", 0,
     [](BoardState& s, int p, std::string_view) {
       s.display_page = p;
       s.display_auto = false;
       return Go(true);
     }},
    {"PAS", false, "", 0,
     [](BoardState& s, int, std::string_view) {
       s.display_auto = true;
       return Go(true);
     }},
    {"IDON", false, "", 0,
     [](BoardState& s, int, std::string_view) {
       s.display_on = true;
       return Go(true);
     }},
    {"IDOF", false, "", 0,
     [](BoardState& s, int, std::string_view) {
       s.display_on = false;
       return Go(true);
     }},
    {"CA", true, "", 4 * kTitleCodes, StoreTitles},
    {"CN", true, "", 4 * kTitleCodes,
     [](BoardState& s, int p, std::string_view b) {
       return Go(Decode(b, 4, JisCode, kTitleCodeRange, s.shown_titles[p]));
     }},

    {"RCA", true, "", 0, ReadTitles},
    // Blink and colours come back for every page, whichever page was asked for.
    {"RP", true, "BDLT", 0,
     [](BoardState& s, int, std::string_view) {
       std::string out = "PTBD";
       for (const auto& page : s.blink)
         for (int v : page) out += DecimalDigit(v);
       return Line(out);
     }},
    {"RP", true, "ICLT", 0, ReadColours},
    {"RP", false, "", 0,
     [](BoardState& s, int, std::string_view) {
       std::string out = "P";
       if (s.display_auto) {
         out += 'A';
       } else {
         AppendTwoDigits(out, s.display_page + 1);
       }
       return Line(out);
     }},
    {"RPTCT", false, "", 0,
     [](BoardState& s, int, std::string_view) {
       std::string out = "PTCT";
       for (int t : s.display_time) AppendTwoDigits(out, t);
       return Line(out);
     }},
    {"RPTFB", false, "", 0, ReadFill},
    {"RPTWL", false, "", 0,
     [](BoardState& s, int, std::string_view) {
       std::string out = "PTWL";
       for (int level : s.char_level) out += level != 0 ? 'H' : 'L';
       return Line(out);
     }},
    {"RPH", false, "", 0,
     [](BoardState& s, int, std::string_view) {
       std::string out = "PVH";
       AppendTwoDigits(out, s.position_h);
       return Line(out);
     }},
    {"RPV", false, "", 0,
     [](BoardState& s, int, std::string_view) {
       std::string out = "PVV";
       AppendTwoDigits(out, s.position_v);
       return Line(out);
     }},
};

// Takes each value the board would take; any other keeps what is there.
template <typename T, std::size_t N>
void Take(const std::array<T, N>& from, ValueRange range, std::array<int, N>& to) {
  for (std::size_t i = 0; i < N; ++i)
    if (range.Holds(from[i])) to[i] = from[i];
}

void Take(int from, ValueRange range, int& to) {
  if (range.Holds(from)) to = from;
}

void Load(BoardState& s, const DisplayConfig& c) {
  for (int p = 0; p < kPages; ++p) {
    PageText text;
    TitleCodes codes;
    if (ComposeTitlePage(c, p, text) && ConvertTitlePage(text, codes))
      s.titles[p] = s.shown_titles[p] = codes;
    Take(c.blink[p], kBlinkRange, s.blink[p]);
    Take(c.char_colour[p], kColourRange, s.char_colour[p]);
    Take(c.border_colour[p], kColourRange, s.border_colour[p]);
    Take(c.fill_mask[p], kFillMaskRange, s.fill_mask[p]);
    Take(c.display_time[p], kDisplayTimeRange, s.display_time[p]);
    s.char_level[p] = c.char_level[p] != 0 ? 1 : 0;
  }
  Take(c.position_h, kPositionRange, s.position_h);
  Take(c.position_v, kPositionRange, s.position_v);
  s.display_auto = c.display_page_auto != 0 || c.current_page == kAutoPage;
  if (!s.display_auto) Take(c.current_page, kPageIndexRange, s.display_page);
  s.display_on = c.display_on != 0;
}

// A reset configuration holds every start value, titles of full-width spaces included.
BoardState StartState() {
  BoardState s;
  DisplayConfig fresh;
  fresh.display_on = 1;
  Load(s, fresh);
  return s;
}

// Page index of "01".."32", or -1.
int PageIndex(std::string_view digits) {
  const int number = Decimal(digits);
  return kPageIndexRange.Holds(number - 1) ? number - 1 : -1;
}

}  // namespace

BoardModel::BoardModel() : state_(StartState()) {}

void BoardModel::LoadFrom(const DisplayConfig& config) {
  BoardState s = StartState();
  Load(s, config);
  state_ = s;
}

std::string BoardModel::Answer(std::string_view frame) {
  if (frame.size() < kEnd.size() || frame.substr(frame.size() - kEnd.size()) != kEnd)
    return std::string(kNotUnderstood);
  const std::string_view line = frame.substr(0, frame.size() - kEnd.size());
  for (const Command& c : kCommands) {
    const std::size_t digits = c.paged ? 2 : 0;
    const std::size_t letters = c.head.size() + digits + c.tail.size();
    if (line.size() != letters + c.body || line.substr(0, c.head.size()) != c.head ||
        line.substr(c.head.size() + digits, c.tail.size()) != c.tail)
      continue;
    const int page = c.paged ? PageIndex(line.substr(c.head.size(), 2)) : 0;
    if (page < 0) continue;
    std::string answer = c.handler(state_, page, line.substr(letters));
    return answer.empty() ? std::string(kNotUnderstood) : answer;
  }
  return std::string(kNotUnderstood);
}

}  // namespace qrv
