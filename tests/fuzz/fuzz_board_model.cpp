// Arbitrary frames to the simulated board: every answer is "GO", "E3" or one data line no
// longer than the longest the board sends, and whatever got through leaves every value in
// the range the board takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "board_model.h"

namespace {

bool In(int v, int lo, int hi) {
  return v >= lo && v <= hi;
}

void CheckRanges(const qrv::BoardState& s) {
  for (int p = 0; p < qrv::kPages; ++p) {
    for (const auto* titles : {&s.titles[p], &s.shown_titles[p]}) {
      for (std::uint16_t code : *titles) {
        if (!In(code >> 8, 0x21, 0x7E) || !In(code & 0xFF, 0x21, 0x7E)) std::abort();
      }
    }
    for (int l = 0; l < qrv::kLines; ++l) {
      if (!In(s.blink[p][l], 0, 4) || !In(s.char_colour[p][l], 0, 8) ||
          !In(s.border_colour[p][l], 0, 8))
        std::abort();
    }
    if (!In(s.fill_mask[p], 0, 0x7F) || !In(s.display_time[p], 0, 99) || !In(s.char_level[p], 0, 1))
      std::abort();
  }
  if (!In(s.position_h, 0, 15) || !In(s.position_v, 0, 15) ||
      !In(s.display_page, 0, qrv::kPages - 1))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One board for the whole run, so each input starts from what earlier ones left.
  static qrv::BoardModel board;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::size_t take = end == std::string_view::npos ? rest.size() : end + 1;
    const std::string answer = board.Answer(rest.substr(0, take));
    rest.remove_prefix(take);

    if (answer.size() < 4 || answer.size() > qrv::BoardModel::kMaxAnswerBytes ||
        answer.compare(answer.size() - 2, 2, "\r\n") != 0 ||
        answer.find_first_of("\r\n") != answer.size() - 2)
      std::abort();
    // Only an accepted frame may change anything.
    if (answer == "GO\r\n") CheckRanges(board.state());
  }
  return 0;
}
