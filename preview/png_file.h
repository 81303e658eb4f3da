#pragma once

#include <string>
#include <vector>

#include "dot_renderer.h"

namespace qrv {

// Writes pixels (width x height, row by row) as an 8-bit RGB PNG, whole or not at all, under
// the rules of a .dat save. False with a one-line reason.
bool WritePng(const std::string& path, const std::vector<Rgb>& pixels, int width, int height,
              std::string* why);

}  // namespace qrv
