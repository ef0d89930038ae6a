// Benchmark of the solve command on the killer puzzles of tests/data and on puzzles of the
// generate command, by grade: the rating ladder with its log, the count and trial and verify
// where a puzzle needs them, and the rating. Reports the median, 99th percentile and maximum time
// per puzzle, per grade and over all puzzles, and per grade the puzzles that needed trial and
// verify.
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

using ks::bench::Puzzle;

// Every puzzle solved once per iteration through the toolbar's solve button; the per-puzzle times
// (excluding the load) give the figures reported as counters, in milliseconds.
void BM_SolveAndRate(benchmark::State& state, const std::vector<Puzzle>& (*set)()) {
  const std::vector<Puzzle>& puzzles = set();
  ks::HeadlessRuntime rt;
  auto m = std::make_unique<ks::Main>(rt);
  m->Form_Load();
  std::map<std::string, std::vector<double>> by_grade;
  std::map<std::string, int> with_trial;
  std::vector<double> all;
  bool right = true;
  for (auto _ : state) {
    with_trial.clear();
    for (const Puzzle& p : puzzles) {
      state.PauseTiming();
      ks::bench::load(*m, p.layout);
      m->filetxt.set_text(" Livello 1, schema 1");
      state.ResumeTiming();
      const auto t = std::chrono::steady_clock::now();
      m->Toolbar2_ButtonClick("risolvi");
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
      state.PauseTiming();
      right = right && m->txtstringa.text() == p.solution && !m->txtlivello.text().empty();
      with_trial[p.grade] += m->liv13 > 0;
      by_grade[p.grade].push_back(ms);
      all.push_back(ms);
      state.ResumeTiming();
    }
  }
  if (!right) state.SkipWithError("a solve did not give the known solution with a rating");
  ks::bench::report_times(state, all, by_grade);
  for (const auto& [grade, n] : with_trial) state.counters[grade + "_with_trial"] = n;
}
BENCHMARK_CAPTURE(BM_SolveAndRate, test, ks::bench::test_puzzles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_SolveAndRate, generated, ks::bench::generated_puzzles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
