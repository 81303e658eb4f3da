#include "send_refusals.h"

#include "messages.h"
#include "terminal_text.h"
#include "text_format.h"
#include "title_check.h"
#include "translation.h"

namespace qrv {
std::vector<std::string> SendRefusals(const DisplayConfig& config, const SendPlan& plan) {
  std::vector<std::string> lines;
  for (const AllItemsStepResult& r : plan) {
    const int page = r.page;
    if (r.refusal == FrameRefusal::kTitle) {
      const std::string_view title = config.title(page, r.title.line);
      lines.push_back(Format(
          Tr("page {1} line {2}: title refused: {3}"),
          {std::to_string(page + 1), std::to_string(r.title.line + 1),
           Format(Tr("{1} in \"{2}\" ({3})"),
                  {TitleFaultText(title, r.title), TerminalText(title), msg::kTitleRefused})}));
    } else if (r.refusal == FrameRefusal::kColour) {
      lines.push_back(Format(Tr("page {1} line {2}: colours refused: character and border colour "
                                "are both {3} ({4})"),
                             {std::to_string(page + 1), std::to_string(r.colour_line + 1),
                              kColourNames[kColourBlank], msg::kCantSetColour}));
    } else if (r.refusal == FrameRefusal::kValue) {
      lines.push_back(Format(Tr("{1}: does not fit its frame, which is not sent"), {r.misfit}));
    }
  }
  return lines;
}

}  // namespace qrv
