// An independent solution counter for killer puzzles, written for the tests: plain backtracking
// over bit masks with the cage sums as bounds, sharing no code with the program's counter.
#pragma once

#include <array>
#include <bit>
#include <string>
#include <vector>

namespace ks::test {

class KillerCounter {
 public:
  // cage_of[c] is the cage of cell c (0..n-1), sums[g] the sum of cage g.
  KillerCounter(const std::array<int, 81>& cage_of, const std::vector<int>& sums)
      : cage_of_(cage_of), left_sum_(sums), left_cells_(sums.size(), 0), used_(sums.size(), 0) {
    for (int c = 0; c < 81; ++c) ++left_cells_[static_cast<size_t>(cage_of[c])];
  }

  // The number of solutions, counting stops at `limit`; the first one found in `first`, every
  // one found in `all`.
  int count(int limit, std::string* first = nullptr, std::vector<std::string>* all = nullptr) {
    limit_ = limit;
    found_ = 0;
    first_ = first;
    all_ = all;
    search();
    return found_;
  }

 private:
  static int row(int c) { return c / 9; }
  static int col(int c) { return c % 9; }
  static int box(int c) { return 3 * (c / 27) + (c % 9) / 3; }

  // The digits cell c can take: free in its row, column, box and cage, and leaving a sum the
  // cage's other empty cells can still make.
  unsigned allowed(int c) const {
    const auto g = static_cast<size_t>(cage_of_[c]);
    const unsigned free = 0x3FEu & ~(rows_[row(c)] | cols_[col(c)] | boxes_[box(c)] | used_[g]);
    unsigned ok = 0;
    for (int d = 1; d <= 9; ++d)
      if ((free & (1u << d)) && makes(left_sum_[g] - d, left_cells_[g] - 1, used_[g] | (1u << d)))
        ok |= 1u << d;
    return ok;
  }

  // Whether k distinct digits outside `used` can add up to s (between the k smallest and the k
  // largest of them).
  static bool makes(int s, int k, unsigned used) {
    if (k < 0 || k > 9) return false;
    const Bounds& b = bounds()[used & 0x3FEu][static_cast<size_t>(k)];
    return b.possible && s >= b.low && s <= b.high;
  }

  // bounds()[used][k]: the sums of the k smallest and the k largest digits outside `used` (bit d
  // for digit d), worked out once.
  struct Bounds {
    int low = 0, high = 0;
    bool possible = false;
  };
  static const std::array<std::array<Bounds, 10>, 1024>& bounds() {
    static const auto table = [] {
      std::array<std::array<Bounds, 10>, 1024> t{};
      for (unsigned used = 0; used < 1024; used += 2) {
        for (int k = 0; k <= 9; ++k) {
          Bounds& b = t[used][static_cast<size_t>(k)];
          int taken = 0;
          for (int d = 1; d <= 9 && taken < k; ++d)
            if (!(used & (1u << d))) b.low += d, ++taken;
          b.possible = taken == k;
          taken = 0;
          for (int d = 9; d >= 1 && taken < k; --d)
            if (!(used & (1u << d))) b.high += d, ++taken;
        }
      }
      return t;
    }();
    return table;
  }

  bool cage_possible(size_t g) const { return makes(left_sum_[g], left_cells_[g], used_[g]); }

  void place(int c, int d, bool on) {
    const unsigned bit = 1u << d;
    const auto g = static_cast<size_t>(cage_of_[c]);
    rows_[row(c)] ^= bit;
    cols_[col(c)] ^= bit;
    boxes_[box(c)] ^= bit;
    used_[g] ^= bit;
    left_sum_[g] += on ? -d : d;
    left_cells_[g] += on ? -1 : 1;
    grid_[c] = on ? d : 0;
  }

  void search() {
    int best = -1, best_n = 10;
    for (int c = 0; c < 81; ++c) {
      if (grid_[c]) continue;
      const int n = std::popcount(allowed(c));
      if (n < best_n) best = c, best_n = n;
      if (n == 0) return;
    }
    if (best < 0) {
      std::string grid;
      for (int c = 0; c < 81; ++c) grid += static_cast<char>('0' + grid_[c]);
      if (++found_ == 1 && first_) *first_ = grid;
      if (all_) all_->push_back(grid);
      return;
    }
    const unsigned a = allowed(best);
    for (int d = 1; d <= 9 && found_ < limit_; ++d) {
      if (!(a & (1u << d))) continue;
      place(best, d, true);
      if (cage_possible(static_cast<size_t>(cage_of_[best]))) search();
      place(best, d, false);
    }
  }

  std::array<int, 81> cage_of_;
  std::vector<int> left_sum_, left_cells_;
  std::vector<unsigned> used_;
  std::array<unsigned, 9> rows_{}, cols_{}, boxes_{};
  std::array<int, 81> grid_{};
  int limit_ = 2, found_ = 0;
  std::string* first_ = nullptr;
  std::vector<std::string>* all_ = nullptr;
};

}  // namespace ks::test
