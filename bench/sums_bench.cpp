// The cage-sum engine on real puzzles: loading a layout and running the sum check to its end.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

std::vector<std::string> layouts() {
  std::vector<std::string> out;
  for (const ks::bench::Puzzle& p : ks::bench::killer_puzzles()) out.push_back(p.layout);
  if (out.empty()) throw std::runtime_error("no puzzles");
  return out;
}

void load(ks::Main& m, const std::string& layout) {
  m.nuovo_schema();
  m.stringa = layout;
  m.carica_gruppi_da_stringa();
  m.inizializza_candidati();
}

void BM_Board_LoadLayout(benchmark::State& state) {
  const auto all = layouts();
  ks::HeadlessRuntime rt;
  auto m = std::make_unique<ks::Main>(rt);
  m->Form_Load();
  size_t i = 0;
  for (auto _ : state) {
    load(*m, all[i++ % all.size()]);
    benchmark::DoNotOptimize(m->gruppi);
  }
}
BENCHMARK(BM_Board_LoadLayout);

// The sum check with every cage, repeated until it changes nothing, deep step on.
void BM_Sums_SumCheckToFixpoint(benchmark::State& state) {
  const auto all = layouts();
  ks::HeadlessRuntime rt;
  auto m = std::make_unique<ks::Main>(rt);
  m->Form_Load();
  size_t i = 0;
  long steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    load(*m, all[i++ % all.size()]);
    m->calling = ks::mode::kRisolvi;
    m->chiamante = ks::mode::kAnalisi;
    m->varcontrolloesteso = true;
    state.ResumeTiming();
    do {
      m->controllo_somme(81);
      ++steps;
    } while (m->modificato && !m->problema);
  }
  if (m->problema) state.SkipWithError("contradiction on a sound puzzle");
  state.counters["steps"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Sums_SumCheckToFixpoint)->Unit(benchmark::kMicrosecond);

}  // namespace
