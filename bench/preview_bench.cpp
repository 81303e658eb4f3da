// Cost of drawing the board's dots: one page and the sheet of all 32, as pixels at scale 1
// and 4 the way the client makes them, with the fonts' glyphs cached and from a fresh
// renderer, and the PNG the client writes. Measured and reported, never asserted.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>

#include "full_config.h"
#include "png_file.h"
#include "preview_sheet.h"

namespace {

using bench::FullConfig;

void BM_PagePicture(benchmark::State& state) {
  const qrv::DotRenderer renderer;
  const qrv::DisplayConfig config = FullConfig();
  for (auto _ : state) {
    benchmark::DoNotOptimize(qrv::PagePicture(renderer, qrv::PreviewFromConfig(config, 5),
                                              static_cast<int>(state.range(0))));
  }
}
BENCHMARK(BM_PagePicture)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

void BM_AllPagesSheet(benchmark::State& state) {
  const qrv::DotRenderer renderer;
  const qrv::DisplayConfig config = FullConfig();
  for (auto _ : state) {
    benchmark::DoNotOptimize(qrv::SheetPicture(renderer, config, static_cast<int>(state.range(0))));
  }
}
BENCHMARK(BM_AllPagesSheet)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// A run of the client: the fonts opened and every glyph loaded anew.
void BM_AllPagesSheetFreshRenderer(benchmark::State& state) {
  const qrv::DisplayConfig config = FullConfig();
  for (auto _ : state) {
    const qrv::DotRenderer renderer;
    benchmark::DoNotOptimize(qrv::SheetPicture(renderer, config, 1));
  }
}
BENCHMARK(BM_AllPagesSheetFreshRenderer)->Unit(benchmark::kMillisecond);

void BM_WritePng(benchmark::State& state) {
  const qrv::DotRenderer renderer;
  const qrv::Picture picture = state.range(0) == 0 ? qrv::PagePicture(renderer, {}, 4)
                                                   : qrv::SheetPicture(renderer, FullConfig(), 4);
  char path[] = "/tmp/qrv-preview-bench-XXXXXX";
  close(mkstemp(path));
  std::string why;
  for (auto _ : state) {
    if (!qrv::WritePng(path, picture.pixels, picture.width, picture.height, &why)) {
      state.SkipWithError(why.c_str());
      break;
    }
  }
  unlink(path);
  state.SetLabel(std::to_string(picture.width) + " x " + std::to_string(picture.height));
}
BENCHMARK(BM_WritePng)->ArgName("sheet")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
