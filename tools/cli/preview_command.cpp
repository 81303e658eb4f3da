#include "preview_command.h"

#include "png_file.h"
#include "preview_sheet.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {

int RunPreview(const CliOptions& options, const DisplayConfig& config,
               const std::vector<std::string>& problems, CliContext& context) {
  for (const std::string& line : problems)
    context.err << Format(Tr("warning: {1}"), {line}) << "\n";
  const DotRenderer renderer;
  if (!renderer.warning().empty())
    context.err << Format(Tr("warning: {1}"), {renderer.warning()}) << "\n";
  const int page = options.page == 0 ? 0 : options.page - 1;
  const Picture picture =
      options.all_pages ? SheetPicture(renderer, config, options.scale)
                        : PagePicture(renderer, PreviewFromConfig(config, page), options.scale);
  std::string why;
  if (!WritePng(options.output, picture.pixels, picture.width, picture.height, &why)) {
    context.err << "qrv470kse-cli: " << why << "\n";
    return 1;
  }
  return 0;
}

}  // namespace qrv
