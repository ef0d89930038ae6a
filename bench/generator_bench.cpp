// The generator: the cage-layout run from a complete grid to a carved, verified and renumbered
// layout, and the generate command from a seed to an accepted puzzle.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "board/main.h"
#include "platform/headless_runtime.h"
#include "solving/solver.h"

namespace {

// Grids of the classic generator from fixed seeds; each timed run starts from one of them on a
// reset board, as the generate command hands it over. The board is set up outside the timed part.
void BM_Generator_Carving(benchmark::State& state) {
  ks::HeadlessRuntime rt;
  auto m = std::make_unique<ks::Main>(rt);
  m->Form_Load();
  std::vector<std::string> grids;
  for (std::uint32_t seed = 1; seed <= 64; ++seed) {
    rt.Randomize(seed);
    m->genera_griglia_classica();
    grids.push_back(m->solver.stringasoluzione.substr(0, ks::kCells));
  }
  std::size_t next = 0;
  long runs = 0, accepted = 0;
  for (auto _ : state) {
    const std::string& grid = grids[next++ % grids.size()];
    m->nuovo_schema();
    m->calling1 = ks::mode::kClassico;
    for (int i = 0; i < ks::kCells; ++i)
      m->Text1[i].set_text(grid.substr(static_cast<std::size_t>(i), 1));
    m->solver.stringasoluzione = grid;
    m->frmgeneratore.Text1.set_text("");
    const auto start = std::chrono::steady_clock::now();
    m->genera_schema();
    const auto stop = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    ++runs;
    accepted += m->problema ? 0 : 1;
    benchmark::DoNotOptimize(m->gruppi);
  }
  state.counters["accepted"] = static_cast<double>(accepted) / static_cast<double>(runs);
  if (accepted == 0 || !rt.messages.empty()) state.SkipWithError("no layout was accepted");
}
BENCHMARK(BM_Generator_Carving)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The generate command ("genera") headless, one puzzle per seed 1..200: the time to an accepted
// puzzle (new grids and attempts included), the verification tries and attempts it took, and the
// levels of the puzzles made.
void BM_GenerateKiller(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<double> times, tries, attempts;
    std::map<int, int> levels;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
      ks::HeadlessRuntime rt;
      auto m = std::make_unique<ks::Main>(rt);
      m->Form_Load();
      rt.Randomize(seed);
      const auto start = std::chrono::steady_clock::now();
      m->Toolbar2.on_button_click("genera");
      const auto stop = std::chrono::steady_clock::now();
      times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
      // The try log keeps every attempt's lines, newest on top.
      const std::string& log = m->frmgeneratore.Text1.text();
      double t = 0, a = 0;
      for (std::size_t p = log.find(" tentativo "); p != std::string::npos;
           p = log.find(" tentativo ", p + 1)) {
        ++t;
        if (log.compare(p + 11, 3, "1\r\n") == 0) ++a;
      }
      tries.push_back(t);
      attempts.push_back(a);
      ++levels[m->livello];
      if (m->problema || !rt.messages.empty()) state.SkipWithError("a generation failed");
    }
    state.counters["median_ms"] = ks::bench::quantile(times, 0.5);
    state.counters["p99_ms"] = ks::bench::quantile(times, 0.99);
    state.counters["max_ms"] = ks::bench::quantile(times, 1.0);
    state.counters["tries_median"] = ks::bench::quantile(tries, 0.5);
    state.counters["tries_max"] = ks::bench::quantile(tries, 1.0);
    state.counters["attempts_median"] = ks::bench::quantile(attempts, 0.5);
    state.counters["attempts_max"] = ks::bench::quantile(attempts, 1.0);
    for (const auto& [level, n] : levels) state.counters["level_" + std::to_string(level)] = n;
  }
}
BENCHMARK(BM_GenerateKiller)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
