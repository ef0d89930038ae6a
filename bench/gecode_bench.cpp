// The peer of the solution count: a constraint solver (Gecode) counting the solutions of a plain
// killer model up to two, on the same puzzles as the solve and count benchmarks. The model: 81
// variables 1..9, all different on every row, column, box and cage, and each cage's linear sum;
// branching on the variable with the smallest domain, smallest value first; depth-first search
// stopped at the second solution. The time of a puzzle includes posting the model. Built only
// when Gecode is installed (bench/setup.sh).
#include <benchmark/benchmark.h>
#include <gecode/int.hh>
#include <gecode/search.hh>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

using ks::bench::Puzzle;

class KillerModel : public Gecode::Space {
 public:
  Gecode::IntVarArray x;

  KillerModel(const std::vector<ks::bench::TextCage>& cages, Gecode::IntPropLevel ipl)
      : x(*this, 81, 1, 9) {
    using namespace Gecode;
    for (int u = 0; u < 9; ++u) {
      IntVarArgs row, column, box;
      for (int k = 0; k < 9; ++k) {
        row << x[9 * u + k];
        column << x[u + 9 * k];
        box << x[27 * (u / 3) + 3 * (u % 3) + 9 * (k / 3) + k % 3];
      }
      distinct(*this, row, ipl);
      distinct(*this, column, ipl);
      distinct(*this, box, ipl);
    }
    for (const ks::bench::TextCage& c : cages) {
      IntVarArgs cells;
      for (const int cell : c.cells) cells << x[cell];
      distinct(*this, cells, ipl);
      linear(*this, cells, IRT_EQ, c.sum, ipl);
    }
    branch(*this, x, INT_VAR_SIZE_MIN(), INT_VAL_MIN());
  }
  KillerModel(KillerModel& s) : Space(s) { x.update(*this, s.x); }
  Gecode::Space* copy() override { return new KillerModel(*this); }

  std::string grid() const {
    std::string g;
    for (int i = 0; i < 81; ++i) g += static_cast<char>('0' + x[i].val());
    return g;
  }
};

// Solutions of the layout counted up to two; the first one in `first`.
int count_to_two(const std::vector<ks::bench::TextCage>& cages, Gecode::IntPropLevel ipl,
                 std::string& first) {
  auto* root = new KillerModel(cages, ipl);
  Gecode::DFS<KillerModel> search(root);
  delete root;
  int n = 0;
  while (n < 2) {
    std::unique_ptr<KillerModel> s(search.next());
    if (!s) break;
    if (n == 0) first = s->grid();
    ++n;
  }
  return n;
}

// Every puzzle counted once per iteration; the per-puzzle times give the figures reported as
// counters, in milliseconds, as the program's own benchmarks report theirs.
void BM_GecodeCountToTwo(benchmark::State& state, const std::vector<Puzzle>& (*set)(),
                         Gecode::IntPropLevel ipl) {
  const std::vector<Puzzle>& puzzles = set();
  std::vector<std::vector<ks::bench::TextCage>> cages;
  for (const Puzzle& p : puzzles) cages.push_back(ks::bench::cages_of(p.layout));
  std::map<std::string, std::vector<double>> by_grade;
  std::vector<double> all;
  bool right = true;
  for (auto _ : state) {
    for (size_t i = 0; i < puzzles.size(); ++i) {
      std::string first;
      const auto t = std::chrono::steady_clock::now();
      const int n = count_to_two(cages[i], ipl, first);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
      right = right && n == 1 && first == puzzles[i].solution;
      by_grade[puzzles[i].grade].push_back(ms);
      all.push_back(ms);
    }
  }
  if (!right) state.SkipWithError("a count did not find exactly the known solution");
  ks::bench::report_times(state, all, by_grade);
}
BENCHMARK_CAPTURE(BM_GecodeCountToTwo, test, ks::bench::test_puzzles, Gecode::IPL_DEF)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_GecodeCountToTwo, generated, ks::bench::generated_puzzles, Gecode::IPL_DEF)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_GecodeCountToTwo, test_dom, ks::bench::test_puzzles, Gecode::IPL_DOM)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_GecodeCountToTwo, generated_dom, ks::bench::generated_puzzles, Gecode::IPL_DOM)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
