#include "fill_text.h"

namespace qrv {

std::string Fill(std::string_view pattern,
                 std::initializer_list<std::pair<std::string_view, std::string>> values) {
  std::string text;
  for (std::size_t at = 0; at < pattern.size();) {
    const std::size_t open = pattern.find('{', at);
    const std::size_t close = open == pattern.npos ? open : pattern.find('}', open);
    if (close == pattern.npos) {
      text += pattern.substr(at);
      break;
    }
    text += pattern.substr(at, open - at);
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    const std::string* value = nullptr;
    for (const auto& [key, v] : values)
      if (key == name) value = &v;
    text += value != nullptr ? std::string_view(*value) : pattern.substr(open, close - open + 1);
    at = close + 1;
  }
  return text;
}

}  // namespace qrv
