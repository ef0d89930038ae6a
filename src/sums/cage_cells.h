// The empty cells of one cage as the combination enumerations see them: candidate bit masks and
// the pairs of cells that may not hold the same digit; and the placement test built on them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "board/main.h"
#include "platform/text.h"

namespace ks::sums {

// The cage's empty cells 1..n, n = 2..5 (slot k of the cage is index k - 1 here).
//   cand[i]      candidate mask of cell i (0 when the slot holds no valid cell)
//   any          union of the masks: the digits still possible somewhere in the cage
//   clash[i][j]  cells i and j share a row, a column, a box or a real cage, so they may not
//                hold the same digit
struct CageCells {
  int n = 0;
  std::array<int, 5> cell{};
  std::array<unsigned, 5> cand{};
  unsigned any = 0;
  std::array<std::array<bool, 5>, 5> clash{};

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
      cand[i] = c >= 0 ? digit_mask(m.Text2[c].text()) : 0;
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

// Stores the combinations of cage g as an enumeration finds them: elencosomme[g][1..],
// stringa (all of them joined), and at the end numerosomme[g] and the required digits
// numeriobbligati[g]; no combination at all is a contradiction of the cage.
class ComboStore {
 public:
  // The most combinations one sum can have is 73 (five cells, repeats allowed, sum 25).
  static_assert(kMaxCombos >= 73, "the combination table must hold every combination of a cage");

  ComboStore(Main& m, int g) : m_(m), g_(g) {}

  void add(const std::array<int, 5>& d, int n) {
    if (k_ >= kMaxCombos) return;
    ++k_;
    std::string& entry = m_.elencosomme[g_][k_];
    entry.clear();
    for (int i = 0; i < n; ++i) entry += static_cast<char>('0' + d[i]);
    m_.stringa += entry;
  }

  // The required digits always follow the combinations they come from.
  void finish() {
    m_.numerosomme[g_] = k_;
    m_.numeri_comuni_somme(g_);
    if (k_ > 0) return;
    if (m_.incongruenza) {
      const int cell = m_.cage_cell(g_, 1);
      m_.log_line(" IMPOSSIBILE, nessuna somma possibile per il gruppo " +
                  (cell >= 0 ? m_.rc(cell) : std::string()));
    }
    m_.gruppoproblema = g_;
    m_.problema = true;
  }

 private:
  Main& m_;
  int g_;
  int k_ = 0;
};

// Runs one enumeration of cage g: sets(cage, sum, digits, found) calls found(digits) for every
// digit string of the cage's size with the cage's remaining sum; those the cage's cells can hold
// are stored.
template <typename Sets>
void store_combinations(Main& m, int g, Sets sets) {
  m.stringa.clear();
  const CageCells cage(m, g);
  if (cage.n == 0) return;
  ComboStore store(m, g);
  const Value& sum = m.sommagruppo[g];
  if (sum.is_number()) {
    std::array<int, 5> digits{};
    auto found = [&](const std::array<int, 5>& d) {
      if (cage.placeable(d)) store.add(d, cage.n);
    };
    sets(cage, sum.as_int(), digits, found);
  }
  store.finish();
}

}  // namespace ks::sums
