// Arbitrary lines from a board: nothing may read or write out of bounds, and the page the
// dialogs index with must stay a page (or Auto, and then only with the Auto flag).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "response_dispatcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static qrv::DisplayConfig config;
  qrv::LinkState link;
  qrv::SilentReporter reporter;
  qrv::ResponseDispatcher dispatcher(config, link, reporter);
  // Several lines per input, split at LF, so state carries from one line to the next.
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::size_t take = end == std::string_view::npos ? rest.size() : end + 1;
    link.FrameSent();
    dispatcher.Dispatch(rest.substr(0, take));
    rest.remove_prefix(take);

    if (link.AnswerPending() != 0 || link.UnansweredTicks() != 0) std::abort();
    if (config.current_page < 0 || config.current_page > qrv::kAutoPage) std::abort();
    if (config.current_page == qrv::kAutoPage && config.display_page_auto != 1) std::abort();
    for (const auto& page : config.title_text) {
      for (const auto& slot : page) {
        if (std::memchr(slot.data(), '\0', slot.size()) == nullptr) std::abort();
      }
    }
    if (config.modified != 0) std::abort();
  }
  return 0;
}
