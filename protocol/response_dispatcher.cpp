#include "response_dispatcher.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "frame_encoding.h"
#include "messages.h"
#include "title_frame.h"

namespace qrv {
namespace {

// The line as the handlers see it: zero bytes past its end, so every fixed position
// of every layout can be read whatever the line's length.
using LineBuffer = std::array<char, ResponseDispatcher::kMaxLineBytes + 1>;

int Number(const LineBuffer& b, int pos) {
  return ReadTwoDigits(b.data() + pos);
}
int Digit(const LineBuffer& b, int pos) {
  return ReadDigit(b[pos]);
}

void StoreAssignTable(DisplayConfig& c, const LineBuffer& b, int minus) {
  for (int k = 0; k < 8; ++k) c.assign_table[k] = Number(b, 3 + 2 * k) - minus;
}

void StoreSchedule(PerPage<std::array<std::int32_t, 4>>& table, const LineBuffer& b) {
  // The board reports 31 rows; the last row keeps its value.
  for (int r = 0; r < kPages - 1; ++r) {
    for (int k = 0; k < 4; ++k) table[r][k] = Number(b, 4 + 8 * r + 2 * k) - 1;
  }
}

void StoreTitlePage(DisplayConfig& c, const LineBuffer& b) {
  if (!std::isdigit(static_cast<unsigned char>(b[2])) ||
      !std::isdigit(static_cast<unsigned char>(b[3])))
    return;
  const int page = Number(b, 2) - 1;
  if (page < 0 || page >= kPages) return;
  std::array<int, kTitleCodes> codes;
  for (int i = 0; i < kTitleCodes; ++i) {
    codes[i] = ReadHexByte(b.data() + 4 + 4 * i) * 256 + ReadHexByte(b.data() + 6 + 4 * i);
  }
  StoreTitleCodes(c, page, codes);
}

// "PA..." is Auto; "P" and two digits 01..32 a page; anything else says nothing we can use.
void StoreDisplayPage(DisplayConfig& c, const LineBuffer& b) {
  if (b[1] == 'A') {
    c.current_page = kAutoPage;
    c.display_page_auto = 1;
    return;
  }
  if (!std::isdigit(static_cast<unsigned char>(b[1])) ||
      !std::isdigit(static_cast<unsigned char>(b[2])))
    return;
  const int number = Number(b, 1);
  if (number < 1 || number > kPages) return;
  c.current_page = number - 1;
  c.display_page_auto = 0;
}

using Handler = void (*)(DisplayConfig&, const LineBuffer&);

struct Tag {
  const char* text;
  Handler handler;
};

// Tried in this order; the first whose letters start the line wins, so every "PT"/"PV" tag
// comes before the catch-all for other 'P' lines.
const Tag kTags[] = {
    {"ACA", [](DisplayConfig& c, const LineBuffer& b) { StoreAssignTable(c, b, 0); }},
    {"ADT",
     [](DisplayConfig& c, const LineBuffer& b) {
       c.adt_value = 100 * Digit(b, 3) + 10 * Digit(b, 4) + Digit(b, 5);
     }},
    {"AIC", [](DisplayConfig& c, const LineBuffer& b) { c.aic_flag = b[3] == 'B' ? 1 : 0; }},
    {"AM", [](DisplayConfig& c, const LineBuffer& b) { c.am_flag = b[2] == 'E' ? 1 : 0; }},
    {"AR", [](DisplayConfig& c, const LineBuffer& b) { c.ar_flag = b[2] == 'B' ? 1 : 0; }},
    {"CA", StoreTitlePage},
    {"CI", [](DisplayConfig& c, const LineBuffer& b) { c.ci_flag = b[2] == 'R' ? 1 : 0; }},
    {"PTBD",
     [](DisplayConfig& c, const LineBuffer& b) {
       for (int p = 0; p < kPages; ++p)
         for (int l = 0; l < kLines; ++l) c.blink[p][l] = Digit(b, 4 + 7 * p + l);
     }},
    {"PTCT",
     [](DisplayConfig& c, const LineBuffer& b) {
       for (int p = 0; p < kPages; ++p) c.display_time[p] = Number(b, 4 + 2 * p);
     }},
    {"PTFB",
     [](DisplayConfig& c, const LineBuffer& b) {
       for (int p = 0; p < kPages; ++p) {
         c.fill_mask[p] = 0;
         for (int l = 0; l < kLines; ++l)
           if (b[4 + 7 * p + l] == 'N') c.fill_mask[p] |= 1 << l;
       }
     }},
    {"PTIC",
     [](DisplayConfig& c, const LineBuffer& b) {
       for (int p = 0; p < kPages; ++p) {
         for (int l = 0; l < kLines; ++l) {
           c.char_colour[p][l] = Digit(b, 4 + 14 * p + 2 * l);
           c.border_colour[p][l] = Digit(b, 5 + 14 * p + 2 * l);
         }
       }
     }},
    {"PTWL",
     [](DisplayConfig& c, const LineBuffer& b) {
       for (int p = 0; p < kPages; ++p) c.char_level[p] = b[4 + p] == 'H' ? 1 : 0;
     }},
    {"PVH", [](DisplayConfig& c, const LineBuffer& b) { c.position_h = Number(b, 3); }},
    {"PVV", [](DisplayConfig& c, const LineBuffer& b) { c.position_v = Number(b, 3); }},
    {"RCA", [](DisplayConfig& c, const LineBuffer& b) { StoreAssignTable(c, b, 1); }},
    {"RM",
     [](DisplayConfig& c, const LineBuffer& b) {
       c.rm_mode = b[4] == 'D' ? 0 : b[4] == 'N' ? 1 : 2;
     }},
    {"SDPT", [](DisplayConfig& c, const LineBuffer& b) { StoreSchedule(c.schedule_page, b); }},
    {"SDTT", [](DisplayConfig& c, const LineBuffer& b) { StoreSchedule(c.schedule_time, b); }},
    {"TSD",
     [](DisplayConfig& c, const LineBuffer& b) {
       c.tsd_mode = b[3] == 'O' ? 0 : b[3] == 'S' ? 1 : 2;
     }},
    {"TSR", [](DisplayConfig& c, const LineBuffer& b) { c.tsr_value = ReadDigit(b[3]) - 1; }},
};

struct ErrorAnswer {
  const char* line;
  const char* message;
};

const ErrorAnswer kErrorAnswers[] = {
    {"GN\r\n", msg::kModeError},   {"MENU\r\n", msg::kMenuDisplay}, {"E0\r\n", msg::kFramingError},
    {"E1\r\n", msg::kParityError}, {"E2\r\n", msg::kOverRunError},  {"E3\r\n", msg::kCommandError},
};

// The part of a line that is looked at: up to a NUL, within the line limit.
std::string_view LookedAt(std::string_view line) {
  return line.substr(0,
                     std::min({line.find('\0'), line.size(), ResponseDispatcher::kMaxLineBytes}));
}

bool StartsWith(std::string_view line, const char* text) {
  return line.substr(0, std::strlen(text)) == text;
}

}  // namespace

bool IsBoardAnswer(std::string_view line) {
  line = LookedAt(line);
  if (line == "GO\r\n" || (!line.empty() && line[0] == 'P')) return true;
  for (const Tag& tag : kTags) {
    if (StartsWith(line, tag.text)) return true;
  }
  return ErrorAnswerMeaning(line) != nullptr;
}

std::vector<std::string_view> ErrorAnswers() {
  std::vector<std::string_view> answers;
  for (const ErrorAnswer& answer : kErrorAnswers)
    answers.push_back(std::string_view(answer.line).substr(0, std::strlen(answer.line) - 2));
  return answers;
}

const char* ErrorAnswerMeaning(std::string_view line) {
  line = LookedAt(line);
  for (const ErrorAnswer& error : kErrorAnswers) {
    if (line == error.line) return error.message;
  }
  return nullptr;
}

void ResponseDispatcher::Dispatch(std::string_view line) {
  link_.LineReceived();

  line = LookedAt(line);
  LineBuffer b{};
  std::copy(line.begin(), line.end(), b.begin());

  if (line == "GO\r\n") {
    // A running multi-frame send shows its own progress instead.
    if (link_.BatchStep() == 0) reporter_.SetCompleteBox();
    return;
  }
  for (const Tag& tag : kTags) {
    if (StartsWith(line, tag.text)) {
      tag.handler(config_, b);
      if (std::strcmp(tag.text, "TSR") == 0) reporter_.ReadCompleteBox();
      return;
    }
  }
  if (b[0] == 'P') {
    StoreDisplayPage(config_, b);
    return;
  }
  if (const char* meaning = ErrorAnswerMeaning(line)) {
    link_.ErrorAnswerReceived();
    reporter_.ErrorBox(meaning);
  }
}

}  // namespace qrv
