#include "board_preview.h"

namespace qrv {

PreviewPage PreviewFromBoard(const BoardState& board, int page) {
  PreviewPage p;
  p.codes = board.shown_titles[page];
  for (int l = 0; l < kLines; ++l) {
    p.lines[l] = {board.char_colour[page][l], board.border_colour[page][l],
                  ((board.fill_mask[page] >> l) & 1) != 0, board.blink[page][l]};
  }
  p.low = board.char_level[page] == 0;
  return p;
}

}  // namespace qrv
