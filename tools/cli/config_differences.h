#pragma once

#include <string>
#include <vector>

#include "display_config.h"

namespace qrv {

// Every setting a read-back covers that differs between what a file holds and what a board
// reported, one line each: "page 12 line 3 border colour: file 1 (赤), board 0 (黒)".
// Titles are compared as the board would report the file's page, so padding the board adds
// does not count.
std::vector<std::string> ConfigDifferences(const DisplayConfig& file, const DisplayConfig& board);

}  // namespace qrv
