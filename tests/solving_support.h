// Helpers of the solving tests: the whole position of a board (to compare before and after a
// search), an independent check of a solved killer grid, and the known solution as the counter's
// stored one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/text.h"
#include "test_support.h"

namespace ks::test {

// The killer puzzles of tests/data: the graded ones of killer.txt, then those of
// killer_trial.txt that need trial and verify (grade "dm").
inline const std::vector<Puzzle>& every_puzzle() {
  static const std::vector<Puzzle> all = [] {
    std::vector<Puzzle> out = puzzles();
    for (const auto& [layout, solution, id] : data_lines("killer_trial.txt"))
      out.push_back({layout, solution, id});
    return out;
  }();
  return all;
}

// The puzzle of this id among every_puzzle().
inline const Puzzle& puzzle(const std::string& id) {
  for (const Puzzle& p : every_puzzle())
    if (p.id == id) return p;
  throw std::runtime_error("no puzzle " + id);
}

// A puzzle on the board as the library loads it (see load_layout), with its status line.
inline void load_from_library(Main& m, const std::string& layout) {
  load_layout(m, layout);
  m.filetxt.set_text(" Livello 1, schema 1");
}

// Every cell's digit box and candidates ("digit/candidates"), then every cage record up to the
// highest cage number in use ("sum:count:cell,cell,...").
inline std::vector<std::string> position_of(const Main& m) {
  std::vector<std::string> out;
  for (int i = 0; i < 81; ++i) out.push_back(m.Text1[i].text() + "/" + m.Text2[i].text());
  const int last = std::max(m.gruppi, m.gruppo1);
  for (int g = 0; g <= last; ++g) {
    std::string c = m.sommagruppo[g].text() + ":" + m.elementigruppo[g].text() + ":";
    for (int k = 1; k <= kMaxCageCells; ++k) c += m.cellegruppo[g][k].text() + ",";
    out.push_back(c);
  }
  return out;
}

// The 81 digits on the board ("." for an empty cell).
inline std::string grid_of(const Main& m) {
  std::string g;
  for (int i = 0; i < 81; ++i) g += m.Text1[i].text().empty() ? "." : m.Text1[i].text();
  return g;
}

// Whether 81 digits solve the killer of this layout: every row, column and box holds 1..9, and
// every cage distinct digits adding up to its sum.
inline ::testing::AssertionResult solves(const std::string& grid, const std::string& layout) {
  const std::string fault = killer_fault(grid, layout);
  if (fault.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << fault;
}

// Every cell keeps its solution digit: as its digit when filled, among its candidates.
inline ::testing::AssertionResult keeps(const Main& m, const std::string& solution) {
  for (int i = 0; i < 81; ++i) {
    const char s = solution[static_cast<size_t>(i)];
    const std::string& digit = m.Text1[i].text();
    if (!digit.empty() && digit[0] != s)
      return ::testing::AssertionFailure() << m.rc(i) << " = " << digit << ", solution " << s;
    if (!has_char(m.Text2[i].text(), s))
      return ::testing::AssertionFailure()
             << m.rc(i) << " holds " << m.Text2[i].text() << ", solution " << s;
  }
  return ::testing::AssertionSuccess();
}

// A layout with at least two known solutions made from a known puzzle: four cells of its
// solution that form a rectangle over two rows of one band, a b / b a, with a and b side by side
// across two boxes, become two cages of two cells of sum a + b. Swapping a and b in both keeps
// every row, column, box and cage right. The puzzle's cages that hold none of the four cells
// stay; the other cells of the cages that do become cages of one cell. "" when the solution has
// no such rectangle.
inline std::string two_solutions(const test::Puzzle& p, std::string& swapped) {
  const auto digit = [&](int r, int c) { return p.solution[static_cast<size_t>(9 * r + c)]; };
  for (const int c1 : {2, 5}) {
    for (int r1 = 0; r1 < 9; ++r1) {
      for (int r2 = r1 + 1; r2 < 9 && r2 / 3 == r1 / 3; ++r2) {
        if (digit(r1, c1) != digit(r2, c1 + 1) || digit(r1, c1 + 1) != digit(r2, c1)) continue;
        const int pattern[] = {9 * r1 + c1, 9 * r1 + c1 + 1, 9 * r2 + c1, 9 * r2 + c1 + 1};
        const auto in_pattern = [&](int cell) {
          return std::find(std::begin(pattern), std::end(pattern), cell) != std::end(pattern);
        };
        std::vector<TextCage> cages;
        const int pair = (digit(r1, c1) - '0') + (digit(r1, c1 + 1) - '0');
        cages.push_back({pair, {pattern[0], pattern[1]}});
        cages.push_back({pair, {pattern[2], pattern[3]}});
        for (const TextCage& c : test::cages_of(p.layout)) {
          if (std::none_of(c.cells.begin(), c.cells.end(), in_pattern)) {
            cages.push_back(c);
            continue;
          }
          for (const int cell : c.cells)
            if (!in_pattern(cell))
              cages.push_back({p.solution[static_cast<size_t>(cell)] - '0', {cell}});
        }
        swapped = p.solution;
        for (const int cell : pattern)
          swapped[static_cast<size_t>(cell)] =
              p.solution[static_cast<size_t>(cell % 9 == c1 ? cell + 1 : cell - 1)];
        std::string layout;
        for (const TextCage& c : cages) {
          layout += std::to_string(c.sum) + ",";
          for (const int cell : c.cells) layout += (cell < 10 ? "0" : "") + std::to_string(cell);
          layout += ";";
        }
        return layout;
      }
    }
  }
  return "";
}

inline void store_solution(Main& m, const std::string& solution) {
  for (int i = 0; i < 81; ++i)
    m.grigliasoluzione[i] = std::string(1, solution[static_cast<size_t>(i)]);
}

}  // namespace ks::test
