#include "preview_page.h"

#include <memory>

#include "sjis_jis.h"

namespace qrv {

PreviewPage PreviewFromConfig(const DisplayConfig& config, int page) {
  PreviewPage preview;
  // ComposeTitlePage names only the first line it refuses and leaves the text incomplete:
  // blank each refused line in a copy until the rest composes, so every line keeps its place.
  const DisplayConfig* source = &config;
  std::unique_ptr<DisplayConfig> copy;
  std::array<bool, kLines> refused_line{};
  PageText text;
  TitleCheck why;
  while (!ComposeTitlePage(*source, page, text, &why)) {
    if (!copy) source = (copy = std::make_unique<DisplayConfig>(config)).get();
    refused_line[why.line] = true;
    copy->set_title(page, why.line, {});
  }
  for (int k = 0; k < kTitleCodes; ++k) {
    const std::uint16_t code =
        refused_line[k / kCodesPerLine] ? 0 : SjisToJis(text[2 * k] * 256u + text[2 * k + 1]);
    preview.codes[k] = code;
    preview.refused[k] = code == 0;
  }
  for (int l = 0; l < kLines; ++l) {
    preview.lines[l] = PreviewLine{config.char_colour[page][l], config.border_colour[page][l],
                                   config.fill(page, l), config.blink[page][l]};
  }
  preview.low = config.char_level[page] == 0;
  return preview;
}

}  // namespace qrv
