// Arbitrary reads from the port: every line handed over must be exactly the bytes read since
// the previous one, end in LF, and stay within the line limit; nothing may overrun. Handed
// over at each LF, each line holds one LF, at its end, and no read gives more lines than LFs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "line_assembler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qrv::LineAssembler assembler, each;
  std::string since_last;  // what a correct assembler holds
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  // Each read: one length byte (times 2, so reads of up to 500 bytes occur), then its bytes.
  while (!rest.empty()) {
    const std::size_t want = static_cast<std::uint8_t>(rest[0]) * 2u;
    rest.remove_prefix(1);
    const std::string_view read = rest.substr(0, std::min({want, rest.size(), std::size_t{500}}));
    rest.remove_prefix(read.size());

    const std::vector<std::string> lines = each.FeedEachLine(read);
    if (lines.size() > static_cast<std::size_t>(std::count(read.begin(), read.end(), '\n')) ||
        each.open_bytes() > qrv::LineAssembler::kMaxLineBytes)
      std::abort();
    for (const std::string& got : lines) {
      if (got.size() > qrv::LineAssembler::kMaxLineBytes || got.find('\n') != got.size() - 1)
        std::abort();
    }
    const auto line = assembler.Feed(read);
    if (read.empty()) {
      if (line) std::abort();
      continue;
    }
    since_last += read;
    if (since_last.size() > qrv::LineAssembler::kMaxLineBytes) {
      since_last.clear();
      if (line) std::abort();
    } else if (read.back() == '\n') {
      if (!line || *line != since_last || line->back() != '\n') std::abort();
      since_last.clear();
    } else if (line) {
      std::abort();
    }
    if (assembler.open_bytes() != since_last.size()) std::abort();
  }
  return 0;
}
