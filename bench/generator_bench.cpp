// The cage-layout run from a complete grid to a carved, verified and renumbered layout.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "board/main.h"
#include "platform/headless_runtime.h"

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
    m->calling1 = "classico";
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

}  // namespace
