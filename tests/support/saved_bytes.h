#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "config_file.h"

namespace qrv {

// The bytes of a file as it is on disk.
inline std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The bytes a .dat file of config holds.
inline std::string Written(const DisplayConfig& config) {
  std::ostringstream out(std::ios::binary);
  return WriteConfigFile(out, config) ? out.str() : "write failed";
}

}  // namespace qrv
