#pragma once

#include <cstddef>
#include <string>

namespace qrv {

// Files a board's transfer holds open: its line, the reader's wake-up and their spare.
constexpr std::size_t kFilesPerBoard = 4;
// What the process holds besides: standard streams, the log, the report, the file read.
constexpr std::size_t kFilesBesides = 32;

// Raises the process's limit of open files as far as the system lets it, and says whether
// boards can be served within it; why, otherwise, in one line.
bool FitOpenFiles(std::size_t boards, std::string* why);

}  // namespace qrv
