#include "text_format.h"

namespace qrv {

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> parts) {
  return Format(pattern, parts.begin(), parts.size());
}

std::string Format(std::string_view pattern, const std::string_view* parts, std::size_t count) {
  std::string text;
  text.reserve(pattern.size() + 16 * count);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool placeholder = pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 1] >= '1' &&
                             pattern[i + 1] <= '9' && pattern[i + 2] == '}';
    const std::size_t part = placeholder ? static_cast<std::size_t>(pattern[i + 1] - '1') : 0;
    if (placeholder && part < count) {
      text += parts[part];
      i += 2;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace qrv
