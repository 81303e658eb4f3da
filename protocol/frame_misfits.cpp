#include "frame_misfits.h"

#include "config_problems.h"
#include "messages.h"

namespace qrv {
namespace {

constexpr int kOneDigit = 9;
constexpr int kTwoDigits = 99;

std::string Misfit(const char* field, int page, int line, std::int32_t value, int high) {
  return value >= 0 && value <= high ? std::string() : DescribeValue(field, page, line, value);
}

}  // namespace

std::string PageBlinkMisfit(const DisplayConfig& config, int page) {
  for (int l = 0; l < kLines; ++l) {
    if (auto m = Misfit("blink", page, l, config.blink[page][l], kOneDigit); !m.empty()) return m;
  }
  return {};
}

std::string PageColourMisfit(const DisplayConfig& config, int page) {
  for (int l = 0; l < kLines; ++l) {
    for (auto m : {Misfit("character colour", page, l, config.char_colour[page][l], kOneDigit),
                   Misfit("border colour", page, l, config.border_colour[page][l], kOneDigit)}) {
      if (!m.empty()) return m;
    }
  }
  return {};
}

std::string DisplayTimeMisfit(const DisplayConfig& config) {
  for (int p = 0; p < kPages; ++p) {
    if (auto m = Misfit("display time", p, -1, config.display_time[p], kTwoDigits); !m.empty())
      return m;
  }
  return {};
}

std::string PositionHMisfit(const DisplayConfig& config) {
  return Misfit("horizontal position", -1, -1, config.position_h, kTwoDigits);
}

std::string PositionVMisfit(const DisplayConfig& config) {
  return Misfit("vertical position", -1, -1, config.position_v, kTwoDigits);
}

std::string DisplayPageMisfit(const DisplayConfig& config) {
  if (config.display_page_auto != 0) return {};
  return Misfit("current page", -1, -1, config.current_page, kPages - 1);
}

std::string MisfitMessage(const std::string& misfit) {
  return std::string(msg::kCantSetColour) + ": " + misfit;
}

}  // namespace qrv
