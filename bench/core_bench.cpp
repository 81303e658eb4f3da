// Cost of the core operations behind a whole-configuration send, a read-back and a file
// save or open. Measured and reported, never asserted.
#include <benchmark/benchmark.h>

#include <sstream>

#include "config_file.h"
#include "frames.h"
#include "full_config.h"
#include "response_dispatcher.h"
#include "run_steps.h"

namespace {

using bench::FullConfig;

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
