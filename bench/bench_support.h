// Shared by the benchmarks: the killer puzzles of tests/data with their grades, puzzles of the
// generate command from fixed seeds, a puzzle put on the board as the library loads it,
// quantiles of per-puzzle times, and the timing of one command on every puzzle of a set.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "board/main.h"
#include "grid_check.h"
#include "platform/headless_runtime.h"

namespace ks::bench {

struct Puzzle {
  std::string layout, solution, grade;
};

// The puzzles of a file of tests/data (layout|solution|id, "#" starts a comment); the grade is
// the id's letters before the dash ("dt", "du", ...).
inline std::vector<Puzzle> killer_puzzles(const std::string& file = "killer.txt") {
  std::vector<Puzzle> out;
  std::ifstream in(std::string(KS_TEST_DATA) + "/" + file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t a = line.find('|'), b = line.find('|', a + 1);
    const std::string id = line.substr(b + 1);
    out.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), id.substr(0, id.find('-'))});
  }
  return out;
}

// The test puzzles: the graded ones of killer.txt, then the merged ones of killer_trial.txt that
// need trial and verify (grade "dm").
inline const std::vector<Puzzle>& test_puzzles() {
  static const std::vector<Puzzle> all = [] {
    std::vector<Puzzle> out = killer_puzzles("killer.txt");
    for (Puzzle& p : killer_puzzles("killer_trial.txt")) out.push_back(std::move(p));
    return out;
  }();
  return all;
}

using test::cages_of;
using test::TextCage;

inline void load(Main& m, const std::string& layout) {
  m.nuovo_schema();
  m.stringa = layout;
  m.carica_gruppi_da_stringa();
  m.controlla_contiguita();
  m.inizializza_candidati();
}

// The puzzles of the generate command from the seeds 1..200 (made once, outside any timing), by
// the level their rating gave: grade "gen0-2", "gen3-8" or "gen9-13".
inline const std::vector<Puzzle>& generated_puzzles() {
  static const std::vector<Puzzle> all = [] {
    std::vector<Puzzle> out;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
      HeadlessRuntime rt;
      auto m = std::make_unique<Main>(rt);
      m->Form_Load();
      rt.Randomize(seed);
      m->Toolbar2.on_button_click("genera");
      Puzzle p;
      p.grade = m->livello <= 2 ? "gen0-2" : m->livello <= 8 ? "gen3-8" : "gen9-13";
      for (int g = 0; g <= m->gruppi; ++g) {
        p.layout += m->sommagruppo[g].text() + ",";
        for (int k = 1; k <= m->cage_size(g); ++k) {
          const int c = m->cage_cell(g, k);
          p.layout += (c < 10 ? "0" : "") + std::to_string(c);
        }
        p.layout += ";";
      }
      // The generate command keeps no solution: the program's count finds it on the puzzle as
      // loaded, and it is taken only when it keeps every rule (Gecode's count checks, beside it,
      // that it is the only one).
      load(*m, p.layout);
      m->conta_soluzioni_tecniche();
      if (m->soluzioni == 1)
        for (const std::string& d : m->grigliasoluzione) p.solution += d;
      if (!test::killer_fault(p.solution, p.layout).empty()) p.solution.clear();
      out.push_back(std::move(p));
    }
    return out;
  }();
  return all;
}

inline double quantile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t k =
      std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5));
  return v[k];
}

// The median, 99th percentile and maximum of the per-puzzle times (milliseconds) as counters,
// over all puzzles and per grade.
inline void report_times(benchmark::State& state, const std::vector<double>& all,
                         const std::map<std::string, std::vector<double>>& by_grade) {
  state.counters["median_ms"] = quantile(all, 0.5);
  state.counters["p99_ms"] = quantile(all, 0.99);
  state.counters["max_ms"] = quantile(all, 1.0);
  for (const auto& [grade, v] : by_grade) {
    state.counters[grade + "_median_ms"] = quantile(v, 0.5);
    state.counters[grade + "_p99_ms"] = quantile(v, 0.99);
    state.counters[grade + "_max_ms"] = quantile(v, 1.0);
  }
}

// Every puzzle of the set once per iteration on one window: put on the board as the library
// loads it and handed to `prepare(m, p)`, outside the timing; `run(m)` timed on the steady
// clock; `right(m, p)`, outside the timing again, says whether the result is right. The
// per-puzzle times are reported as report_times does; a wrong result fails the benchmark with
// the text `wrong`.
template <class Prepare, class Run, class Right>
void time_each_puzzle(benchmark::State& state, const std::vector<Puzzle>& puzzles,
                      Prepare prepare, Run run, Right right, const char* wrong) {
  HeadlessRuntime rt;
  auto m = std::make_unique<Main>(rt);
  m->Form_Load();
  std::map<std::string, std::vector<double>> by_grade;
  std::vector<double> all;
  bool all_right = true;
  for (auto _ : state) {
    for (const Puzzle& p : puzzles) {
      state.PauseTiming();
      load(*m, p.layout);
      prepare(*m, p);
      state.ResumeTiming();
      const auto t = std::chrono::steady_clock::now();
      run(*m);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
      state.PauseTiming();
      all_right = right(static_cast<const Main&>(*m), p) && all_right;
      by_grade[p.grade].push_back(ms);
      all.push_back(ms);
      state.ResumeTiming();
    }
  }
  if (!all_right) state.SkipWithError(wrong);
  report_times(state, all, by_grade);
}

}  // namespace ks::bench
