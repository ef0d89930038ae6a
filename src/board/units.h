// The units of the board: the cells of every row, column and box, and the twenty peers of every
// cell. One table for cell entry, candidates and every technique.
#pragma once

#include <array>
#include <span>

namespace ks {

// A unit's kind; the units of a kind have the indices 0..8 (boxes row by row).
enum class UnitKind { Row = 0, Column = 1, Box = 2 };

// A unit's index 0..8 and its number 1..9, as the program's tables and texts count it (see
// main.h): the one place where the two meet.
constexpr int unit_number(int index) { return index + 1; }
constexpr int unit_from_number(int number) { return number - 1; }

// Row, column and box of a cell, counted from 0.
constexpr int row_of(int cell) { return cell / 9; }
constexpr int col_of(int cell) { return cell % 9; }
constexpr int box_of(int cell) { return 3 * (cell / 27) + (cell % 9) / 3; }
constexpr int unit_of(UnitKind kind, int cell) {
  return kind == UnitKind::Row ? row_of(cell) : kind == UnitKind::Column ? col_of(cell) : box_of(cell);
}

// The position (0..8) of a cell within its unit of a kind, in the unit's scan order.
constexpr int unit_index(UnitKind kind, int cell) {
  return kind == UnitKind::Row      ? col_of(cell)
         : kind == UnitKind::Column ? row_of(cell)
                                    : 3 * (row_of(cell) % 3) + col_of(cell) % 3;
}

namespace detail {
// kUnitCells[kind][u][k]: the k-th cell (k = 0..8) of unit u: rows left to right, columns top to
// bottom, boxes row by row.
constexpr std::array<std::array<std::array<int, 9>, 9>, 3> make_units() {
  std::array<std::array<std::array<int, 9>, 9>, 3> t{};
  for (int u = 0; u < 9; ++u) {
    for (int k = 0; k < 9; ++k) {
      t[0][u][k] = 9 * u + k;
      t[1][u][k] = u + 9 * k;
      t[2][u][k] = 27 * (u / 3) + 3 * (u % 3) + 9 * (k / 3) + k % 3;
    }
  }
  return t;
}
inline constexpr auto kUnitCells = make_units();

// kPeers[c][0..19]: the other cells of c's row (left to right), then of its column (top to
// bottom), then of its box outside that row and column (row by row).
constexpr std::array<std::array<int, 20>, 81> make_peers() {
  std::array<std::array<int, 20>, 81> t{};
  for (int c = 0; c < 81; ++c) {
    int n = 0;
    for (int k = 0; k < 9; ++k)
      if (kUnitCells[0][row_of(c)][k] != c) t[c][n++] = kUnitCells[0][row_of(c)][k];
    for (int k = 0; k < 9; ++k)
      if (kUnitCells[1][col_of(c)][k] != c) t[c][n++] = kUnitCells[1][col_of(c)][k];
    for (int k = 0; k < 9; ++k) {
      const int p = kUnitCells[2][box_of(c)][k];
      if (row_of(p) != row_of(c) && col_of(p) != col_of(c)) t[c][n++] = p;
    }
  }
  return t;
}
inline constexpr auto kPeers = make_peers();
}  // namespace detail

// The nine cells of unit u (0..8) of a kind, in scan order.
constexpr std::span<const int, 9> unit_cells(UnitKind kind, int u) {
  return detail::kUnitCells[static_cast<int>(kind)][u];
}

// The twenty cells that share a row, column or box with cell c.
constexpr std::span<const int, 20> peers(int c) { return detail::kPeers[c]; }

// True when two cells share a row, column or box.
constexpr bool sees(int a, int b) {
  return row_of(a) == row_of(b) || col_of(a) == col_of(b) || box_of(a) == box_of(b);
}

}  // namespace ks
