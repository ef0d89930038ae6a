// Shared by the benchmarks: the killer puzzles of tests/data with their grades, a puzzle put on
// the board as the library loads it, and quantiles of per-puzzle times.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "board/main.h"

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

inline void load(Main& m, const std::string& layout) {
  m.nuovo_schema();
  m.stringa = layout;
  m.carica_gruppi_da_stringa();
  m.controlla_contiguita();
  m.inizializza_candidati();
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

}  // namespace ks::bench
