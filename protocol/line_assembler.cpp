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

}  // namespace qrv
