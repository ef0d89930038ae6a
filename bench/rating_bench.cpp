// Benchmark of the solve command on the killer puzzles of tests/data and on puzzles of the
// generate command, by grade: the rating ladder with its log, the count and trial and verify
// where a puzzle needs them, and the rating. Reports the median, 99th percentile and maximum time
// per puzzle, per grade and over all puzzles, and per grade the puzzles that needed trial and
// verify.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "board/main.h"

namespace {

using ks::bench::Puzzle;

// Every puzzle solved once per iteration through the toolbar's solve button; the per-puzzle times
// (excluding the load) give the figures reported as counters, in milliseconds.
void BM_SolveAndRate(benchmark::State& state, const std::vector<Puzzle>& (*set)()) {
  const std::vector<Puzzle>& puzzles = set();
  // The puzzles that needed trial and verify, per grade, counted again in every iteration.
  std::map<std::string, int> with_trial;
  ks::bench::time_each_puzzle(
      state, puzzles, [](ks::Main& m, const Puzzle&) { m.filetxt.set_text(" Livello 1, schema 1"); },
      [](ks::Main& m) { m.Toolbar2_ButtonClick("risolvi"); },
      [&](const ks::Main& m, const Puzzle& p) {
        if (&p == &puzzles.front()) with_trial.clear();
        with_trial[p.grade] += m.liv13 > 0;
        return m.txtstringa.text() == p.solution && !m.txtlivello.text().empty();
      },
      "a solve did not give the known solution with a rating");
  for (const auto& [grade, n] : with_trial) state.counters[grade + "_with_trial"] = n;
}
BENCHMARK_CAPTURE(BM_SolveAndRate, test, ks::bench::test_puzzles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_SolveAndRate, generated, ks::bench::generated_puzzles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
