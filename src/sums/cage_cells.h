// The empty cells of one cage as the combination enumerations see them: candidate bit masks and
// the pairs of cells that may not hold the same digit; and the placement test built on them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "board/main.h"
#include "platform/text.h"
#include "solving/memo.h"

namespace ks::sums {

// How the places of digit d in cage g (its listed cells that still hold d) lie on the rows
// (columns), walked in list order: runs counts the changes of line (the first place counts as
// one), first is the line (1..9) of the first place, second the line of the last place off the
// first line. Example: places r2c1, r4c1, r2c3 -> rows: 3 runs, first 2, second 4.
struct LineRuns {
  int runs = 0, first = 0, second = 0;
};
inline LineRuns line_runs(const Main& m, int g, char d, bool rows) {
  LineRuns r;
  int current = 0;
  const int size = m.cage_size(g);
  for (int k = 1; k <= size; ++k) {
    const int cell = m.cage_cell(g, k);
    if (cell < 0 || !m.has_candidate(cell, d)) continue;
    const int line = 1 + (rows ? row_of(cell) : col_of(cell));
    if (line != current) {
      ++r.runs;
      current = line;
      if (r.runs == 1) r.first = line;
    }
    if (line != r.first) r.second = line;
  }
  return r;
}

// The cage's empty cells 1..n, n = 2..5 (slot k of the cage is index k - 1 here).
//   cand[i]      candidate mask of cell i (0 when the slot holds no valid cell)
//   any          union of the masks: the digits still possible somewhere in the cage
//   clash[i][j]  cells i and j share a row, a column, a box or a real cage, so they may not
//                hold the same digit
//   clash_bits   the same as bit 5 * i + j for each clashing pair i < j
//   odd          some cell's candidate text is not ascending distinct digits, so that the masks
//                do not tell the whole text
struct CageCells {
  int n = 0;
  std::array<int, 5> cell{};
  std::array<unsigned, 5> cand{};
  unsigned any = 0;
  std::array<std::array<bool, 5>, 5> clash{};
  unsigned clash_bits = 0;
  bool odd = false;

  // Reads cage g from the cage model and the candidate boxes; n = 0 when the cage has not 2..5
  // empty cells or its number lies outside the cage tables.
  CageCells(const Main& m, int g) {
    if (g < 0 || g >= kCageSlots) return;
    const int count = m.elementigruppo[g].as_int();
    if (count < 2 || count > 5) return;
    n = count;
    for (int i = 0; i < n; ++i) {
      const int c = m.cage_cell(g, i + 1);
      cell[i] = c;
      cand[i] = c >= 0 ? m.candidate_mask(c) : 0;
      odd = odd || (c >= 0 && (m.candidate_bits[static_cast<size_t>(c)] & Main::kOddCandidates));
      any |= cand[i];
    }
    for (int i = 0; i < n; ++i) {
      for (int j = i + 1; j < n; ++j) {
        const int a = cell[i], b = cell[j];
        bool x = true;
        if (a >= 0 && b >= 0) {
          const Value& ga = m.gruppodicella[a];
          const Value& gb = m.gruppodicella[b];
          x = m.rigacella[a] == m.rigacella[b] ||
              m.colonnacella[a] == m.colonnacella[b] ||
              m.settorecella[a] == m.settorecella[b] ||
              (ga.is_number() && gb.is_number() && ga.num() == gb.num());
        }
        clash[i][j] = x;
        clash[j][i] = x;
        if (x) clash_bits |= 1u << (5 * i + j);
      }
    }
  }

  // True when the digits d[0..n-1] can be given one to each cell so that every cell gets one of
  // its candidates and no two cells that clash get the same digit. A depth-first search over the
  // cells in slot order; equal digits are tried once per cell.
  bool placeable(const std::array<int, 5>& d) const {
    std::array<int, 5> given{};
    return place(d, 0, 0u, given);
  }

 private:
  bool place(const std::array<int, 5>& d, int i, unsigned used, std::array<int, 5>& given) const {
    if (i == n) return true;
    unsigned tried = 0;  // digits already tried for this cell
    for (int p = 0; p < n; ++p) {
      if (used & (1u << p)) continue;
      const int digit = d[p];
      const unsigned bit = 1u << digit;
      if (tried & bit) continue;
      tried |= bit;
      if (!(cand[i] & bit)) continue;
      bool ok = true;
      for (int j = 0; j < i && ok; ++j)
        if (given[j] == digit && clash[i][j])
          ok = false;
      if (!ok) continue;
      given[i] = digit;
      if (place(d, i + 1, used | (1u << p), given)) return true;
    }
    return false;
  }
};

// Enumerates and stores the combinations of cage g (2..5 empty cells): the digit strings of the
// cage's size that add up to its remaining sum, use only digits still possible in the cage and
// can be placed on its cells; distinct digits, or non-decreasing ones when repeats are allowed.
// They go to elencosomme[g][1..], numerosomme[g], numeriobbligati[g] and, joined, to stringa.
void store_combinations(Main& m, int g, bool repeats);

// The memo of cage g's combinations when the last enumeration read exactly these inputs (the
// cells and candidates of `cage`, the sum, repeats or not); nullptr otherwise.
SolvingMemo::Combinations* same_enumeration(Main& m, int g, const CageCells& cage, bool repeats);

// What store_combinations writes, from the memo of an enumeration on the inputs as they stand;
// stringa only when to_stringa (a caller that writes it later may leave it).
void write_combinations(Main& m, int g, const SolvingMemo::Combinations& known,
                        bool to_stringa = true);

}  // namespace ks::sums
