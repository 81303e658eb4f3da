// Cost of the core operations behind a whole-configuration send, a read-back and a file
// save or open. Measured and reported, never asserted.
#include <benchmark/benchmark.h>

#include <sstream>

#include "config_file.h"
#include "frames.h"
#include "response_dispatcher.h"
#include "run_steps.h"

namespace {

// Every field away from its default, every title line 14 full-width characters.
qrv::DisplayConfig FullConfig() {
  qrv::DisplayConfig c;
  for (int p = 0; p < qrv::kPages; ++p) {
    for (int l = 0; l < qrv::kLines; ++l) {
      std::string text;
      for (int i = 0; i < 14; ++i) {
        text += static_cast<char>(0x88 + (p + l) % 8);
        text += static_cast<char>(0x9F + i);
      }
      c.set_title(p, l, text);
      c.char_colour[p][l] = (p + l) % 8;
      c.border_colour[p][l] = (p * 3 + l) % 8;
      c.blink[p][l] = (p + l) % 5;
    }
    c.fill_mask[p] = p * 5 & 0x7F;
    c.char_level[p] = p % 2;
    c.display_time[p] = 99 - p;
  }
  c.position_h = 15;
  c.position_v = 3;
  c.current_page = 17;
  return c;
}

void BM_AllItemsFrames(benchmark::State& state) {
  const qrv::DisplayConfig config = FullConfig();
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (int step = 1; step <= qrv::kAllItemsSteps; ++step) {
      auto r = qrv::AllItemsStep(config, step);
      if (r.frame) bytes += r.frame->size();
      benchmark::DoNotOptimize(r);
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_AllItemsFrames);

void Dispatch(benchmark::State& state, const std::string& line) {
  qrv::DisplayConfig config;
  qrv::LinkState link;
  qrv::SilentReporter reporter;
  qrv::ResponseDispatcher dispatcher(config, link, reporter);
  for (auto _ : state) {
    dispatcher.Dispatch(line);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

void BM_DispatchPtic(benchmark::State& state) {
  std::string line = "PTIC";
  for (int i = 0; i < 224; ++i) line += "71";
  Dispatch(state, line + "\r\n");
}
BENCHMARK(BM_DispatchPtic);

void BM_DispatchCa(benchmark::State& state) {
  Dispatch(state, *qrv::BuildTitleFrame(FullConfig(), 4, true));
}
BENCHMARK(BM_DispatchCa);

void BM_WriteDat(benchmark::State& state) {
  const qrv::DisplayConfig config = FullConfig();
  for (auto _ : state) {
    std::ostringstream out;
    qrv::WriteConfigFile(out, config);
    benchmark::DoNotOptimize(out.str());
  }
}
BENCHMARK(BM_WriteDat);

void BM_ReadDat(benchmark::State& state) {
  std::ostringstream out;
  qrv::WriteConfigFile(out, FullConfig());
  const std::string file = out.str();
  qrv::DisplayConfig config;
  for (auto _ : state) {
    std::istringstream in(file);
    qrv::ReadConfigFile(in, config);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ReadDat);

}  // namespace
