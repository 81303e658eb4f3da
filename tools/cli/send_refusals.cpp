#include "send_refusals.h"

#include <cstdio>

#include "messages.h"
#include "terminal_text.h"

namespace qrv {
namespace {

std::string TitleReason(const DisplayConfig& config, int page, const TitleCheck& why) {
  const std::string_view text = config.title(page, why.line);
  switch (why.fault) {
    case TitleFault::kLineTooLong:
      return std::to_string(text.size()) + " bytes, more than " + std::to_string(kTitleLineBytes);
    case TitleFault::kOddLength:
      return "odd number of bytes (" + std::to_string(text.size()) + "): a half-width character";
    case TitleFault::kRefusedCharacter: {
      char unit[8];
      std::snprintf(unit, sizeof unit, "%04X", why.unit);
      return "character " + std::to_string(why.column + 1) + " (Shift_JIS " + unit +
             ") is not in JIS levels 1 and 2";
    }
    case TitleFault::kNone:
      break;
  }
  return {};
}

}  // namespace

std::vector<std::string> SendRefusals(const DisplayConfig& config, const SendPlan& plan) {
  std::vector<std::string> lines;
  for (const AllItemsStepResult& r : plan) {
    const int page = r.page;
    if (r.refusal == FrameRefusal::kTitle) {
      lines.push_back(
          "page " + std::to_string(page + 1) + " line " + std::to_string(r.title.line + 1) +
          ": title refused: " + TitleReason(config, page, r.title) + " in \"" +
          TerminalText(config.title(page, r.title.line)) + "\" (" + msg::kTitleRefused + ")");
    } else if (r.refusal == FrameRefusal::kColour) {
      lines.push_back("page " + std::to_string(page + 1) + " line " +
                      std::to_string(r.colour_line + 1) +
                      ": colours refused: character and border colour are both " +
                      std::string(kColourNames[kColourBlank]) + " (" + msg::kCantSetColour + ")");
    } else if (r.refusal == FrameRefusal::kValue) {
      lines.push_back(r.misfit + ": does not fit its frame (" + msg::kCantSetColour + ")");
    }
  }
  return lines;
}

}  // namespace qrv
