#pragma once

#include <iosfwd>
#include <string_view>

#include "display_config.h"

namespace qrv {

// Writes the saved fields as the 996 CR LF lines of a .dat file. The stream must be in
// binary mode. Leaves `modified` alone: only the caller knows when the file is safely
// on disk. Returns whether the stream is still good.
bool WriteConfigFile(std::ostream& out, const DisplayConfig& config);

// Lines of a complete file: 772 numbers, then 224 titles.
constexpr int kConfigFileLines = 996;

// How far a file went: the values read in order before it ended (`ended`) or before a
// number was missing where one belongs.
struct ConfigFileExtent {
  int lines = 0;
  bool ended = false;
  bool complete() const { return lines == kConfigFileLines; }
};

// Reads the 996 values of a .dat file over the saved fields, then clears `modified`.
// Nothing is reset first: a numeric field the file does not supply keeps its value, a
// title line it does not supply becomes empty. Any byte sequence is accepted; the extent
// tells the caller whether the file was whole.
ConfigFileExtent ReadConfigFile(std::istream& in, DisplayConfig& config);

// True when ".dat" occurs at position 1 or later; Save As appends ".dat" otherwise.
bool ContainsDatTag(std::string_view name);

}  // namespace qrv
