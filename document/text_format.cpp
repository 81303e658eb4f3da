#include "text_format.h"

#include <array>

namespace qrv {
namespace {

struct Part {
  std::string_view name, value;
};

std::string Put(std::string_view pattern, const Part* parts, std::size_t count) {
  std::string text;
  text.reserve(pattern.size() + 16 * count);
  for (std::size_t at = 0; at < pattern.size();) {
    const std::size_t open = pattern.find('{', at);
    const std::size_t close = open == pattern.npos ? open : pattern.find('}', open);
    if (close == pattern.npos) {
      text += pattern.substr(at);
      break;
    }
    text += pattern.substr(at, open - at);
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    const Part* part = nullptr;
    for (std::size_t i = 0; i < count && part == nullptr; ++i)
      if (parts[i].name == name) part = &parts[i];
    text += part != nullptr ? part->value : pattern.substr(open, close - open + 1);
    at = close + 1;
  }
  return text;
}

}  // namespace

std::string Fill(std::string_view pattern,
                 std::initializer_list<std::pair<std::string_view, std::string>> values) {
  std::array<Part, 16> parts;
  std::size_t count = 0;
  for (const auto& [name, value] : values) {
    if (count < parts.size()) parts[count++] = {name, value};
  }
  return Put(pattern, parts.data(), count);
}

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> parts) {
  return Format(pattern, parts.begin(), parts.size());
}

std::string Format(std::string_view pattern, const std::string_view* parts, std::size_t count) {
  static constexpr std::array<std::string_view, 9> kNumbers = {"1", "2", "3", "4", "5",
                                                               "6", "7", "8", "9"};
  std::array<Part, kNumbers.size()> numbered;
  count = std::min(count, kNumbers.size());
  for (std::size_t i = 0; i < count; ++i) numbered[i] = {kNumbers[i], parts[i]};
  return Put(pattern, numbered.data(), count);
}

}  // namespace qrv
