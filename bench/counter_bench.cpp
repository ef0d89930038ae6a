// Benchmark of the solution counter on the killer puzzles of tests/data and on puzzles of the
// generate command, from the position the loader leaves (initial candidates), by grade: the time of one count per puzzle, with its
// median, 99th percentile and maximum per grade and over all puzzles.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "board/main.h"

namespace {

using ks::bench::Puzzle;

// Whether the count just made found exactly the known solution.
bool found_solution(const ks::Main& m, const Puzzle& p) {
  if (m.soluzioni != 1 || m.count_result != ks::Main::CountResult::One) return false;
  for (int i = 0; i < 81; ++i)
    if (m.grigliasoluzione[i] != std::string(1, p.solution[static_cast<size_t>(i)])) return false;
  return true;
}

// Every puzzle counted once per iteration; the per-puzzle times (excluding the load) give the
// figures reported as counters, in milliseconds.
void BM_CountSolutions(benchmark::State& state, const std::vector<Puzzle>& (*set)()) {
  ks::bench::time_each_puzzle(
      state, set(), [](ks::Main&, const Puzzle&) {},
      [](ks::Main& m) { m.conta_soluzioni_tecniche(); }, found_solution,
      "a count did not find exactly the known solution");
}
BENCHMARK_CAPTURE(BM_CountSolutions, test, ks::bench::test_puzzles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_CountSolutions, generated, ks::bench::generated_puzzles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
