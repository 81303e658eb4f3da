#include "display_config.h"

#include <algorithm>
#include <cstring>

namespace qrv {

void DisplayConfig::reset_to_defaults() {
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      char_colour[p][l] = 7;
      border_colour[p][l] = 0;
      blink[p][l] = 0;
      title_text[p][l].fill('\0');
    }
    display_time[p] = 2;
    char_level[p] = 1;
    fill_mask[p] = 0;
    for (int k = 0; k < 4; ++k) {
      schedule_time[p][k] = 3 * k + 9;
      schedule_page[p][k] = 33;
    }
  }
  position_v = 8;
  position_h = 8;
  tsd_mode = 1;
  tsr_value = 0;
  file_name.fill('\0');
  display_page_auto = 0;
  modified = 0;
  ci_flag = 0;
  am_flag = 0;
  aic_flag = 0;
  adt_value = 30;
  ar_flag = 1;
  rm_mode = 0;
  current_page = 0;
  for (int k = 0; k < 8; ++k) assign_table[k] = k;
}

std::string_view DisplayConfig::title(int page, int line) const {
  const TitleSlot& slot = title_text[page][line];
  return std::string_view(slot.data(), strnlen(slot.data(), slot.size()));
}

void DisplayConfig::set_title(int page, int line, std::string_view text) {
  TitleSlot& slot = title_text[page][line];
  slot.fill('\0');
  const std::size_t n = SjisPrefixLength(text, kTitleMaxBytes);
  std::copy_n(text.data(), n, slot.data());
}

std::string_view DisplayConfig::file_name_text() const {
  return std::string_view(file_name.data(), strnlen(file_name.data(), file_name.size()));
}

bool DisplayConfig::set_file_name(std::string_view path) {
  if (path.size() >= file_name.size() || path.find('\0') != std::string_view::npos) return false;
  file_name.fill('\0');
  std::copy(path.begin(), path.end(), file_name.begin());
  return true;
}

DisplayConfig& ProcessDisplayConfig() {
  static DisplayConfig config;
  return config;
}

std::string StoredTitle(std::string_view cp932) {
  std::string stored;
  stored.reserve(cp932.size());
  // Byte by byte: no second byte of a double-byte character is white space.
  for (const char c : cp932) {
    if (IsFileSpace(static_cast<unsigned char>(c))) {
      stored += "\x81\x40";
    } else {
      stored += c;
    }
  }
  return stored;
}

std::size_t SjisPrefixLength(std::string_view text, std::size_t limit) {
  std::size_t i = 0;
  while (i < text.size()) {
    const bool pair = IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    const std::size_t width = pair ? 2 : 1;
    if (i + width > limit) break;
    i += width;
  }
  return i;
}

}  // namespace qrv
