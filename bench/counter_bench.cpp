// Benchmark of the solution counter on the killer puzzles of tests/data and on puzzles of the
// generate command, from the position the loader leaves (initial candidates), by grade: the time of one count per puzzle, with its
// median, 99th percentile and maximum per grade and over all puzzles.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "board/main.h"
#include "platform/headless_runtime.h"

namespace {

using ks::bench::load;
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
  const std::vector<Puzzle>& puzzles = set();
  ks::HeadlessRuntime rt;
  auto m = std::make_unique<ks::Main>(rt);
  m->Form_Load();
  std::map<std::string, std::vector<double>> by_grade;
  std::vector<double> all;
  bool right = true;
  for (auto _ : state) {
    for (const Puzzle& p : puzzles) {
      state.PauseTiming();
      load(*m, p.layout);
      state.ResumeTiming();
      const auto t = std::chrono::steady_clock::now();
      m->conta_soluzioni_tecniche();
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
      state.PauseTiming();
      right = right && found_solution(*m, p);
      by_grade[p.grade].push_back(ms);
      all.push_back(ms);
      state.ResumeTiming();
    }
  }
  if (!right) state.SkipWithError("a count did not find exactly the known solution");
  ks::bench::report_times(state, all, by_grade);
}
BENCHMARK_CAPTURE(BM_CountSolutions, test, ks::bench::test_puzzles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_CountSolutions, generated, ks::bench::generated_puzzles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
