// Arbitrary page texts through the title conversion: every accepted page gives a 398-byte
// frame of upper-case hexadecimal codes within 2121..7E7E that a "CA" answer decodes back
// to text the conversion accepts again with the same codes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "response_dispatcher.h"
#include "title_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qrv::DisplayConfig config;
  // Seven lines separated by LF, each cut to the slot.
  std::size_t at = 0;
  for (int l = 0; l < qrv::kLines && at <= size; ++l) {
    std::size_t end = at;
    while (end < size && data[end] != '\n') ++end;
    config.set_title(0, l, std::string(reinterpret_cast<const char*>(data + at), end - at));
    at = end + 1;
  }
  const auto frame = qrv::BuildTitleFrame(config, 0, true);
  if (!frame) return 0;
  if (frame->size() != 398 || frame->compare(0, 4, "CA01") != 0) std::abort();
  bool beyond_row_92 = false;
  for (std::size_t i = 4; i < 396; i += 4) {
    const std::string digits = frame->substr(i, 4);
    if (digits.find_first_not_of("0123456789ABCDEF") != std::string::npos) std::abort();
    const unsigned long code = std::stoul(digits, nullptr, 16);
    if (code < 0x2121 || code > 0x7E7E) std::abort();
    beyond_row_92 |= code > 0x7C7E;
  }

  qrv::DisplayConfig back;
  qrv::LinkState link;
  qrv::SilentReporter reporter;
  qrv::ResponseDispatcher(back, link, reporter).Dispatch(*frame);
  // Codes past row 92 come back as spaces, so only pages without them must come back whole.
  const auto again = qrv::BuildTitleFrame(back, 0, true);
  if (!again || (!beyond_row_92 && *again != *frame)) std::abort();
  return 0;
}
