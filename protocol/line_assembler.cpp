#include "line_assembler.h"

namespace qrv {

std::optional<std::string> LineAssembler::Feed(std::string_view chunk) {
  if (chunk.empty()) return std::nullopt;
  if (line_.size() + chunk.size() > kMaxLineBytes) {
    line_.clear();
    return std::nullopt;
  }
  line_.append(chunk);
  if (chunk.back() != '\n') return std::nullopt;
  std::string line;
  line.swap(line_);
  line_.reserve(kMaxLineBytes);
  return line;
}

std::vector<std::string> LineAssembler::FeedEachLine(std::string_view chunk) {
  std::vector<std::string> lines;
  for (const char c : chunk) {
    if (line_.size() < kMaxLineBytes) {
      line_ += c;
    } else {
      overlong_ = true;
    }
    if (c != '\n') continue;
    if (!overlong_) lines.push_back(line_);
    line_.clear();
    overlong_ = false;
  }
  return lines;
}

}  // namespace qrv
