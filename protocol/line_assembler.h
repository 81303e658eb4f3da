#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrv {

// Collects the bytes of successive reads into answer lines. A line is complete only when a
// read's last byte is LF: two answers in one read travel together, and a read that ends
// inside the next answer hands over nothing until a later read ends in LF. Bytes, NUL
// included, are kept exactly as received.
class LineAssembler {
 public:
  static constexpr std::size_t kMaxReadBytes = 500;
  static constexpr std::size_t kMaxLineBytes = 499;

  // One read's bytes; the completed line, CR LF included, when the read ends in LF.
  // A line that would grow past kMaxLineBytes is dropped with this read, and assembly
  // starts again from the next read.
  std::optional<std::string> Feed(std::string_view chunk);

  // The same for a link with answers in flight, where a read may end inside the next
  // answer: every LF ends a line, and each line completed by this read is handed over on
  // its own; the bytes after the last LF stay open. A line that would grow past
  // kMaxLineBytes is dropped at its LF.
  std::vector<std::string> FeedEachLine(std::string_view chunk);

  // Forgets an open line, as when the port goes away.
  void Reset() {
    line_.clear();
    overlong_ = false;
  }

  std::size_t open_bytes() const { return line_.size(); }

 private:
  std::string line_;
  bool overlong_ = false;  // FeedEachLine: the open line is being dropped
};

}  // namespace qrv
