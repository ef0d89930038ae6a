// Shared helpers of the classic-grid tests: the puzzles of tests/data/classic.txt, a checker of
// complete grids and a plain solver that lists solutions in ascending order of their texts.
#pragma once

#include <string>
#include <vector>

#include "test_support.h"

namespace ks::test {

// One line of classic.txt: 81 characters (digit or "."), the 81-digit solution and the grade.
struct ClassicPuzzle {
  std::string puzzle, solution, grade;
};

inline const std::vector<ClassicPuzzle>& classic_puzzles() {
  static const std::vector<ClassicPuzzle> all = [] {
    std::vector<ClassicPuzzle> out;
    for (const auto& f : data_lines("classic.txt")) out.push_back({f[0], f[1], f[2]});
    return out;
  }();
  return all;
}

// True when the text is 81 digits 1..9 and every row, column and box holds each digit once.
inline bool valid_grid(const std::string& g) { return grid_fault(g).empty(); }

// True when the grid keeps every given ("1".."9") of the puzzle.
inline bool keeps_givens(const std::string& grid, const std::string& puzzle) {
  for (size_t i = 0; i < 81 && i < puzzle.size(); ++i)
    if (puzzle[i] >= '1' && puzzle[i] <= '9' && grid[i] != puzzle[i]) return false;
  return true;
}

// Plain backtracking without deductions: cells in order, digits ascending, up to `limit`
// solutions, in ascending order of their texts.
inline std::vector<std::string> plain_solutions(const std::string& puzzle, size_t limit) {
  std::string g(81, '0');
  for (size_t i = 0; i < 81 && i < puzzle.size(); ++i)
    if (puzzle[i] >= '1' && puzzle[i] <= '9') g[i] = puzzle[i];
  std::vector<std::string> out;
  const auto fits = [&g](int i, char d) {
    const int r = i / 9, c = i % 9, b0 = 27 * (r / 3) + 3 * (c / 3);
    for (int k = 0; k < 9; ++k) {
      if (9 * r + k != i && g[static_cast<size_t>(9 * r + k)] == d) return false;
      if (c + 9 * k != i && g[static_cast<size_t>(c + 9 * k)] == d) return false;
      const int bk = b0 + 9 * (k / 3) + k % 3;
      if (bk != i && g[static_cast<size_t>(bk)] == d) return false;
    }
    return true;
  };
  for (int i = 0; i < 81; ++i)
    if (g[static_cast<size_t>(i)] != '0' && !fits(i, g[static_cast<size_t>(i)])) return out;
  const auto search = [&](auto&& self, int i) -> void {
    while (i < 81 && g[static_cast<size_t>(i)] != '0') ++i;
    if (i == 81) {
      out.push_back(g);
      return;
    }
    for (char d = '1'; d <= '9' && out.size() < limit; ++d) {
      if (!fits(i, d)) continue;
      g[static_cast<size_t>(i)] = d;
      self(self, i + 1);
      g[static_cast<size_t>(i)] = '0';
    }
  };
  search(search, 0);
  return out;
}

}  // namespace ks::test
