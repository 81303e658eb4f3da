#pragma once

#include "board_model.h"
#include "preview_page.h"

namespace qrv {

// The page the board shows now (its displayed titles, not the stored ones a "CN" send
// leaves alone), for the same renderer the configuration's preview uses.
PreviewPage PreviewFromBoard(const BoardState& board, int page);

}  // namespace qrv
