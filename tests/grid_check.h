// Independent checks of complete grids, shared by the tests and the benchmarks: they read the
// layout text and the grid themselves and use nothing of the program.
#pragma once

#include <string>
#include <vector>

namespace ks::test {

// The cages of a layout text, read independently of the program's loader: {sum, cells}.
struct TextCage {
  int sum;
  std::vector<int> cells;
};
inline std::vector<TextCage> cages_of(const std::string& layout) {
  std::vector<TextCage> out;
  size_t p = 0;
  while (p < layout.size()) {
    const size_t comma = layout.find(',', p), semi = layout.find(';', p);
    if (comma == std::string::npos || semi == std::string::npos) break;
    TextCage c{std::stoi(layout.substr(p, comma - p)), {}};
    for (size_t k = comma + 1; k + 1 < semi; k += 2) c.cells.push_back(std::stoi(layout.substr(k, 2)));
    out.push_back(c);
    p = semi + 1;
  }
  return out;
}

// "" when the text is 81 digits 1..9 and every row, column and box holds each digit once; else
// what is wrong with it.
inline std::string grid_fault(const std::string& g) {
  if (g.size() != 81) return "not 81 digits: " + g;
  for (char c : g)
    if (c < '1' || c > '9') return "not 81 digits: " + g;
  for (int u = 0; u < 9; ++u) {
    unsigned row = 0, col = 0, box = 0;
    for (int k = 0; k < 9; ++k) {
      row |= 1u << (g[static_cast<size_t>(9 * u + k)] - '0');
      col |= 1u << (g[static_cast<size_t>(u + 9 * k)] - '0');
      box |= 1u << (g[static_cast<size_t>(27 * (u / 3) + 3 * (u % 3) + 9 * (k / 3) + k % 3)] - '0');
    }
    if (row != 0x3FE || col != 0x3FE || box != 0x3FE)
      return "unit " + std::to_string(u) + " incomplete in " + g;
  }
  return "";
}

// "" when the grid solves the killer of these cages: a valid grid, every cage distinct digits
// adding up to its sum; else what is wrong with it.
inline std::string killer_fault(const std::string& grid, const std::vector<TextCage>& cages) {
  if (std::string f = grid_fault(grid); !f.empty()) return f;
  for (const TextCage& c : cages) {
    unsigned seen = 0;
    int sum = 0;
    for (const int cell : c.cells) {
      const int d = grid[static_cast<size_t>(cell)] - '0';
      if (seen & (1u << d)) return "repeat in a cage of " + grid;
      seen |= 1u << d;
      sum += d;
    }
    if (sum != c.sum) return "cage sum " + std::to_string(sum) + " != " + std::to_string(c.sum);
  }
  return "";
}
inline std::string killer_fault(const std::string& grid, const std::string& layout) {
  return killer_fault(grid, cages_of(layout));
}

}  // namespace ks::test
