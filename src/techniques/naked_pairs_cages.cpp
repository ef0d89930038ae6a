// Naked pairs inside cages: pairs of a cage whose cells share no unit, and the pair of a cage
// with two empty cells against the two cells where their row and column cross.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>

#include "board/main.h"
#include "techniques/classic.h"

namespace ks {

using classic::digit_text;

// A digit repeats in no cage. So two empty cells of a cage with the same two candidates hold those
// two digits between them: the cage's other cells lose both (the cage eliminator of the naked
// pairs). When they are the cage's only empty cells and share no unit, each cell where the row of
// one meets the column of the other sees both, and loses both digits too.
// Example: cage {r1c3, r1c4, r2c4}, r1c3 = 59, r2c4 = 59  ->  r1c4 = 1569 becomes 16.
// Pairs whose cells share a row, column or box are the naked-pair driver's business. A cell that
// the cage lists but that belongs to no cage (or to another) makes no pair.
void Main::cerca_coppie_nei_gruppi() {
  modificato = false;
  const int last = std::min(gruppi, kCells - 1);
  // Per cage, its cells with two candidates: a cage with fewer than two has no pair. Taken once:
  // until a cage's pairs change something, and the search then stops, no candidate changes.
  std::array<std::uint8_t, kCells> two{};
  for (int r = 0; r < 9; ++r) {
    for (unsigned left = board_index().two_candidates(UnitKind::Row, r);
         left != 0; left &= left - 1) {
      const int c = 9 * r + std::countr_zero(left);
      if (const int g = cage_of(c); g >= 0 && g <= last) ++two[static_cast<size_t>(g)];
    }
  }
  for (int g = 0; g <= last; ++g) {
    contatoredimessaggio = 0;
    if (two[static_cast<size_t>(g)] < 2) continue;
    const int n = cage_size(g);
    // The cage's cells, positions 1..n (-1 for an entry that names no cell).
    std::array<int, kMaxCageCells + 1> cells{};
    for (int k = 1; k <= n; ++k) cells[static_cast<size_t>(k)] = cage_cell(g, k);
    // A cell of cage g with two candidates: the first cell of a pair.
    const auto pair_start = [this, g](int a) {
      return a >= 0 && candidate_count(a) == 2 && cage_of(a) == g;
    };
    // The second cell of a pair with a: the same two candidates, in no unit with a.
    const auto pair_end = [this, g](int a, int b) {
      return b >= 0 && classic::same_candidates(*this, a, b) && !sees(a, b) && cage_of(b) == g;
    };
    if (n > 2) {
      for (int i = 1; i < n; ++i) {
        // A pair's eliminations never touch its own cells, so the first cell stays as it is
        // while its partners are sought.
        const int a = cells[static_cast<size_t>(i)];
        if (!pair_start(a)) continue;
        for (int j = i + 1; j <= n; ++j) {
          const int b = cells[static_cast<size_t>(j)];
          if (pair_end(a, b)) elimina_da_gruppo_doppia(a, b, std::string(Text2[a].text()), g);
        }
      }
      if (modificato) return;
    }
    if (n == 2) {
      const int a = cells[1], b = cells[2];
      if (pair_start(a) && pair_end(a, b))
        elimina_da_gruppo_intersezione_doppia(a, b, Text2[a].text());
    }
    if (modificato) return;
  }
}

// The pair's digits leave the two crossing cells, the first digit before the second in each; the
// step has its own header (naming the crossing cells) and its own stop at the traffic light.
// Example: cage {r3c3, r4c4}, both 48  ->  r3c4 and r4c3 lose 4 and 8, r3c4 first.
void Main::elimina_da_gruppo_intersezione_doppia(int prima, int seconda,
                                                 const std::string& coppia) {
  if (coppia.size() != 2 || prima < 0 || prima >= kCells || seconda < 0 || seconda >= kCells)
    return;
  const std::string pair = coppia;  // the caller's text may be a candidate box's own
  const std::array<int, 2> crossing = {9 * row_of(prima) + col_of(seconda),
                                       9 * row_of(seconda) + col_of(prima)};
  const bool logging = calling1 != mode::kTrial;
  contatoredimessaggio = 0;
  for (const int target : crossing) {
    for (const char d : pair) {
      if (!classic::can_lose(*this, target, d)) continue;
      if (explains()) {
        if (contatoredimessaggio == 0) {
          const std::string header =
              "NAKED PAIR " + pair + " in " + rc(crossing[0]) + " e " + rc(crossing[1]);
          Text5.set_text(" ");
          txthint.set_visible(true);
          txthint.set_text(header);
          if (logging) {
            log_line(classic::kSeparator);
            log_line(header);
          }
          if (calling.empty() && !step_gate(std::array{prima, seconda})) return;
          txthint.set_text("eliminato il numero ");
        }
        const std::string removal = digit_text(d) + " da " + rc(target) + ", ";
        txthint.append(removal);
        if (logging) log_line(" * elimino il numero " + removal);
      }
      classic::remove_candidate(*this, target, d);
      modificato = true;
      contatoredimessaggio = 1;
    }
  }
}

}  // namespace ks
