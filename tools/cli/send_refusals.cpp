#include "send_refusals.h"

#include "messages.h"
#include "terminal_text.h"
#include "title_check.h"

namespace qrv {
std::vector<std::string> SendRefusals(const DisplayConfig& config, const SendPlan& plan) {
  std::vector<std::string> lines;
  for (const AllItemsStepResult& r : plan) {
    const int page = r.page;
    if (r.refusal == FrameRefusal::kTitle) {
      lines.push_back(
          "page " + std::to_string(page + 1) + " line " + std::to_string(r.title.line + 1) +
          ": title refused: " + TitleFaultText(config.title(page, r.title.line), r.title) +
          " in \"" + TerminalText(config.title(page, r.title.line)) + "\" (" + msg::kTitleRefused +
          ")");
    } else if (r.refusal == FrameRefusal::kColour) {
      lines.push_back("page " + std::to_string(page + 1) + " line " +
                      std::to_string(r.colour_line + 1) +
                      ": colours refused: character and border colour are both " +
                      std::string(kColourNames[kColourBlank]) + " (" + msg::kCantSetColour + ")");
    } else if (r.refusal == FrameRefusal::kValue) {
      lines.push_back(r.misfit + ": does not fit its frame, which is not sent");
    }
  }
  return lines;
}

}  // namespace qrv
