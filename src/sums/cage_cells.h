// The empty cells of one cage as the combination enumerations see them: candidate bit masks and
// the pairs of cells that may not hold the same digit; and the placement test built on them.
#pragma once

#include <array>
#include <bit>
#include <string>
#include <string_view>

#include "board/main.h"
#include "platform/text.h"
#include "sums/sums_memo.h"

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

// Whether the distinct digits given as bits can be given one to each of the cells whose candidate
// masks are mask[0..m-1], every cell getting one of its candidates. Distinct digits never meet a
// clash, so this is the whole placement test for them. (The depth is a template argument so that
// the search unrolls: it runs for every combination a cage may have.)
template <int M>
bool distinct_digits_fit_from(const unsigned* mask, unsigned digits) {
  if constexpr (M <= 0) {
    return true;
  } else {
    for (unsigned options = mask[0] & digits; options != 0; options &= options - 1)
      if (distinct_digits_fit_from<M - 1>(mask + 1, digits & ~(options & -options))) return true;
    return false;
  }
}
inline bool distinct_digits_fit(const unsigned* mask, int m, unsigned digits) {
  switch (m) {
    case 1: return distinct_digits_fit_from<1>(mask, digits);
    case 2: return distinct_digits_fit_from<2>(mask, digits);
    case 3: return distinct_digits_fit_from<3>(mask, digits);
    case 4: return distinct_digits_fit_from<4>(mask, digits);
    case 5: return distinct_digits_fit_from<5>(mask, digits);
    default: return m <= 0;
  }
}

// The cage's empty cells 1..n, n = 2..5 (slot k of the cage is index k - 1 here).
//   cand[i]      candidate mask of cell i (0 when the slot holds no valid cell)
//   any          union of the masks: the digits still possible somewhere in the cage
//   clash[i]     bit j for each cell j that shares a row, a column, a box or a real cage with
//                cell i, so that the two may not hold the same digit
//   clash_bits   the same as bit 5 * i + j for each clashing pair i < j
//   odd          some cell's candidate text is not ascending distinct digits, so that the masks
//                do not tell the whole text
struct CageCells {
  int n = 0;
  std::array<int, 5> cell{};
  std::array<unsigned, 5> cand{};
  unsigned any = 0;
  std::array<unsigned, 5> clash{};
  unsigned clash_bits = 0;
  bool odd = false;

  // Reads cage g from the cage model and the candidate boxes; n = 0 when the cage has not 2..5
  // empty cells or its number lies outside the cage tables. Without `clashes`, no pair clashes:
  // enough for distinct digits, which never meet a clash.
  CageCells(const Main& m, int g, bool clashes = true) {
    if (g < 0 || g >= kCageSlots) return;
    const int count = m.elementigruppo[g].as_int();
    if (count < 2 || count > 5) return;
    n = count;
    for (int i = 0; i < n; ++i) {
      const int c = m.cage_cell(g, i + 1);
      cell[i] = c;
      cand[i] = c >= 0 ? m.candidate_mask(c) : 0;
      odd = odd || (c >= 0 && (m.board_index().candidate_bits(c) & Main::kOddCandidates));
      any |= cand[i];
    }
    if (!clashes) return;
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
        if (!x) continue;
        clash[i] |= 1u << j;
        clash[j] |= 1u << i;
        clash_bits |= 1u << (5 * i + j);
      }
    }
  }

  // True when the digits d[0..n-1] can be given one to each cell so that every cell gets one of
  // its candidates and no two cells that clash get the same digit. A depth-first search over the
  // cells in slot order, each trying every digit still to give once.
  bool placeable(const std::array<int, 5>& d) const {
    std::array<int, 10> left{};  // how many of each digit are still to give
    unsigned digits = 0;
    for (int i = 0; i < n; ++i) {
      if (d[i] < 1 || d[i] > 9) return false;
      ++left[static_cast<size_t>(d[i])];
      digits |= 1u << d[i];
    }
    std::array<unsigned, 10> holders{};  // per digit, the cells given it
    return place(0, digits, left, holders);
  }

 private:
  bool place(int i, unsigned digits, std::array<int, 10>& left,
             std::array<unsigned, 10>& holders) const {
    if (i == n) return true;
    for (unsigned options = cand[i] & digits; options != 0; options &= options - 1) {
      const int digit = std::countr_zero(options);
      const auto k = static_cast<size_t>(digit);
      if (holders[k] & clash[i]) continue;
      const unsigned bit = 1u << digit;
      holders[k] |= 1u << i;
      const bool last = --left[k] == 0;
      const bool done = place(i + 1, last ? digits & ~bit : digits, left, holders);
      ++left[k];
      holders[k] &= ~(1u << i);
      if (done) return true;
    }
    return false;
  }
};

// Where the enumeration of cage g on the inputs read into `cage` (its cells and candidates, the
// sum, repeats or not) goes in the table of enumerations: its key and slot (none when the cage
// has not 2..5 empty cells); known() is the slot when it holds that enumeration already.
struct TableSlot {
  SumsMemo::ComboKey key;
  SumsMemo::Combinations* entry = nullptr;
  SumsMemo::Combinations* known() const {
    return entry != nullptr && entry->valid && entry->key == key ? entry : nullptr;
  }
};
TableSlot table_slot(Main& m, int g, const CageCells& cage, bool repeats);

// Enumerates and stores the combinations of cage g (2..5 empty cells): the digit strings of the
// cage's size that add up to its remaining sum, use only digits still possible in the cage and
// can be placed on its cells; distinct digits, or non-decreasing ones when repeats are allowed.
// They go to elencosomme[g][1..], numerosomme[g], numeriobbligati[g] and, joined, to stringa.
// The second form takes the cage as just read (with clashes when repeats) and its slot.
void store_combinations(Main& m, int g, bool repeats);
void store_combinations(Main& m, int g, const CageCells& cage, const TableSlot& slot,
                        bool repeats);

// The memo of cage g's combinations when the last enumeration read exactly these inputs (the
// cells and candidates of `cage`, the sum, repeats or not); nullptr otherwise.
SumsMemo::Combinations* same_enumeration(Main& m, int g, const CageCells& cage, bool repeats);

// What store_combinations writes, from the memo of an enumeration on the inputs as they stand;
// stringa only when to_stringa (a caller that writes it later may leave it).
void write_combinations(Main& m, int g, const SumsMemo::Combinations& known,
                        bool to_stringa = true);

}  // namespace ks::sums
