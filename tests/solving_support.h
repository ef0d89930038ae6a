// Helpers of the solving tests: the whole position of a board (to compare before and after a
// search), an independent check of a solved killer grid, and the known solution as the counter's
// stored one.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"
#include "test_support.h"

namespace ks::test {

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
  if (grid.size() != 81) return ::testing::AssertionFailure() << "not 81 digits: " << grid;
  for (int u = 0; u < 9; ++u) {
    unsigned row = 0, col = 0, box = 0;
    for (int k = 0; k < 9; ++k) {
      const auto bit = [&](int cell) { return 1u << (grid[static_cast<size_t>(cell)] - '0'); };
      row |= bit(unit_cells(UnitKind::Row, u)[k]);
      col |= bit(unit_cells(UnitKind::Column, u)[k]);
      box |= bit(unit_cells(UnitKind::Box, u)[k]);
    }
    if (row != 0x3FE || col != 0x3FE || box != 0x3FE)
      return ::testing::AssertionFailure() << "unit " << u << " incomplete in " << grid;
  }
  for (const TextCage& c : cages_of(layout)) {
    unsigned seen = 0;
    int sum = 0;
    for (const int cell : c.cells) {
      const int d = grid[static_cast<size_t>(cell)] - '0';
      if (seen & (1u << d)) return ::testing::AssertionFailure() << "repeat in a cage of " << grid;
      seen |= 1u << d;
      sum += d;
    }
    if (sum != c.sum) return ::testing::AssertionFailure() << "cage sum " << sum << " != " << c.sum;
  }
  return ::testing::AssertionSuccess();
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

inline void store_solution(Main& m, const std::string& solution) {
  for (int i = 0; i < 81; ++i)
    m.grigliasoluzione[i] = std::string(1, solution[static_cast<size_t>(i)]);
}

}  // namespace ks::test
