#pragma once

#include <string>

#include "display_config.h"

namespace qrv {

// Reads a .dat file; false with a one-line reason when it cannot be read.
bool LoadConfigFile(const std::string& path, DisplayConfig& config, std::string* why);

// Writes a .dat file whole or not at all: into a temporary file beside it, then renamed
// over it. False with a one-line reason, the old file untouched.
bool SaveConfigFile(const std::string& path, const DisplayConfig& config, std::string* why);

}  // namespace qrv
