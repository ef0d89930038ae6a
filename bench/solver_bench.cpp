// The bit-mask solver on the classic puzzles of tests/data/classic.txt, one benchmark per grade
// (puzzles per second), and the classic grid generator end to end.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "board/main.h"
#include "platform/headless_runtime.h"
#include "solving/solver.h"

namespace {

struct Classic {
  std::string puzzle, solution;
};

// The puzzles of one grade of classic.txt ("simple", "easy", "intermediate", "expert").
std::vector<Classic> grade(const std::string& name) {
  std::vector<Classic> out;
  std::ifstream in(std::string(KS_TEST_DATA) + "/classic.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto a = line.find('|'), b = line.find('|', a + 1);
    if (line.substr(b + 1) == name)
      out.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1)});
  }
  if (out.empty()) throw std::runtime_error("no classic puzzles of grade " + name);
  return out;
}

void BM_Solver_Risolvi(benchmark::State& state, const char* name) {
  const auto all = grade(name);
  ks::Solver s;
  s.inizializza_bit();
  s.size_results();
  for (auto _ : state) {
    for (const Classic& c : all) {
      s.risolvi(c.puzzle);
      benchmark::DoNotOptimize(s.numerosoluzioni);
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(all.size()));
  for (const Classic& c : all) {
    s.risolvi(c.puzzle);
    if (s.numerosoluzioni != 1 || s.stringasoluzione != c.solution) {
      state.SkipWithError("a puzzle was not solved to its known solution");
      return;
    }
  }
}
BENCHMARK_CAPTURE(BM_Solver_Risolvi, simple, "simple")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Solver_Risolvi, easy, "easy")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Solver_Risolvi, intermediate, "intermediate")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Solver_Risolvi, expert, "expert")->Unit(benchmark::kMillisecond);

// One random complete grid on the started window: board reset, givens, solver, cell entry.
void BM_Generator_ClassicGrid(benchmark::State& state) {
  ks::HeadlessRuntime rt;
  auto m = std::make_unique<ks::Main>(rt);
  m->Form_Load();
  rt.Randomize(7u);
  for (auto _ : state) {
    m->genera_griglia_classica();
    benchmark::DoNotOptimize(m->esposti);
  }
  if (m->esposti != 81 || !m->finito) state.SkipWithError("the grid is not complete");
}
BENCHMARK(BM_Generator_ClassicGrid)->Unit(benchmark::kMicrosecond);

}  // namespace
