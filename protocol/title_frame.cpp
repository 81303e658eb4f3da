#include "title_frame.h"

#include <algorithm>

#include "frame_encoding.h"
#include "sjis_jis.h"

namespace qrv {
namespace {

constexpr unsigned char kWideSpace[2] = {0x81, 0x40};
constexpr int kJisWideSpace = 0x2121;
// Codes past the end of row 92 never come from a page we sent.
constexpr int kLastJisCode = 0x7C7E;

void Report(TitleCheck* why, TitleFault fault, int line, int column = -1, unsigned unit = 0) {
  if (why != nullptr) *why = TitleCheck{fault, line, column, unit};
}

}  // namespace

bool ComposeTitlePage(const DisplayConfig& config, int page, PageText& text, TitleCheck* why) {
  text.fill(0);
  Report(why, TitleFault::kNone, -1);
  std::size_t at = 0;
  bool ok = true;
  for (int l = 0; l < kLines; ++l) {
    const std::string_view line = config.title(page, l);
    if (line.size() > static_cast<std::size_t>(kTitleLineBytes) || line.size() % 2 != 0) {
      if (ok) {
        Report(why,
               line.size() > kTitleLineBytes ? TitleFault::kLineTooLong : TitleFault::kOddLength,
               l);
      }
      ok = false;
      continue;
    }
    std::copy(line.begin(), line.end(), text.begin() + at);
    at += line.size();
    for (std::size_t pad = line.size(); pad < static_cast<std::size_t>(kTitleLineBytes); pad += 2) {
      text[at++] = kWideSpace[0];
      text[at++] = kWideSpace[1];
    }
  }
  return ok;
}

bool ConvertTitlePage(const PageText& text, TitleCodes& codes, TitleCheck* why) {
  Report(why, TitleFault::kNone, -1);
  for (int k = 0; k < kTitleCodes; ++k) {
    const unsigned unit = text[2 * k] * 256u + text[2 * k + 1];
    codes[k] = SjisToJis(unit);
    if (codes[k] == 0) {
      Report(why, TitleFault::kRefusedCharacter, k / kCodesPerLine, k % kCodesPerLine, unit);
      return false;
    }
  }
  return true;
}

Frame TitleTextFrame(bool store, int page, const TitleCodes& codes) {
  Frame f = store ? "CA" : "CN";
  AppendTwoDigits(f, page + 1);
  for (std::uint16_t code : codes) {
    AppendHexByte(f, code >> 8);
    AppendHexByte(f, code & 0xFF);
  }
  return f + "\r\n";
}

std::optional<Frame> BuildTitleFrame(const DisplayConfig& config, int page, bool store,
                                     TitleCheck* why) {
  PageText text;
  TitleCodes codes;
  if (!ComposeTitlePage(config, page, text, why) || !ConvertTitlePage(text, codes, why))
    return std::nullopt;
  return TitleTextFrame(store, page, codes);
}

void StoreTitleCodes(DisplayConfig& config, int page, const std::array<int, kTitleCodes>& codes) {
  for (int l = 0; l < kLines; ++l) {
    const int* line = codes.data() + l * kCodesPerLine;
    auto code_at = [&](int i) { return line[i] > kLastJisCode ? kJisWideSpace : line[i]; };
    int kept = kCodesPerLine;
    while (kept > 0 && code_at(kept - 1) == kJisWideSpace) --kept;
    std::string text;
    for (int i = 0; i < kept; ++i) {
      const std::uint16_t sjis = JisToSjis(code_at(i));
      text += static_cast<char>(sjis >> 8);
      text += static_cast<char>(sjis & 0xFF);
    }
    // A code that does not convert leaves two NULs: the line ends there.
    config.set_title(page, l, text);
  }
}

}  // namespace qrv
