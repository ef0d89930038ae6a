// The deep permutation check of a cage: candidates that no arrangement of a stored combination
// over the cage's empty cells supports.
#include <algorithm>
#include <bit>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "sums/cage_cells.h"

namespace ks {

namespace {

// True when the digits rest[0..m-1] can be given one to each of the cells whose candidate masks
// are mask[0..m-1], every cell getting one of its candidates.
bool arrangement_fits(const std::array<int, 4>& rest, const std::array<unsigned, 5>& mask, int m,
                      int j = 0, unsigned used = 0) {
  if (j >= m || j >= 4) return true;  // m is at most 4; the constant bound keeps indexes clear
  for (int p = 0; p < m; ++p) {
    if (used & (1u << p)) continue;
    if (!(mask[j] & (1u << rest[p]))) continue;
    if (arrangement_fits(rest, mask, m, j + 1, used | (1u << p))) return true;
  }
  return false;
}

// A stored combination read once: its digits, their bits, and whether it has the cage's size and
// no repeated digit.
// (No member initializers: a call fills only the entries of the cage's combinations.)
struct StoredCombination {
  std::array<int, 5> digit;
  unsigned bits;
  bool sized;
  bool distinct;
};

// The digits of `want` that some combination supports: it holds the digit, and the rest of its
// digits (the first occurrence of the digit taken out) can be spread over the cells whose
// candidates are others[0..n-2].
unsigned supported_digits(const std::array<StoredCombination, kMaxCombos + 1>& combos, int count,
                          int n, unsigned want, const std::array<unsigned, 5>& others) {
  unsigned kept = 0;
  for (int k = 1; k <= count && (want & ~kept) != 0; ++k) {
    const StoredCombination& c = combos[static_cast<size_t>(k)];
    if (!c.sized) continue;
    for (unsigned open = c.bits & want & ~kept; open != 0; open &= open - 1) {
      const unsigned bit = open & -open;
      const int d = std::countr_zero(open);
      bool fits = false;
      if (c.distinct) {
        fits = sums::distinct_digits_fit(others.data(), n - 1, c.bits & ~bit);
      } else {
        std::array<int, 4> rest{};
        bool taken = false;
        for (int q = 0, r = 0; q < n; ++q) {
          if (!taken && c.digit[static_cast<size_t>(q)] == d)
            taken = true;
          else
            rest[static_cast<size_t>(r++)] = c.digit[static_cast<size_t>(q)];
        }
        fits = arrangement_fits(rest, others, n - 1);
      }
      if (fits) kept |= bit;
    }
  }
  return kept;
}

}  // namespace

// Deep check of a cage of 3..5 empty cells. A candidate d of a cell stays only when some stored
// combination holds d and its other digits can be spread over the other cells, one per cell, each
// on a candidate of its cell. The cage's digits are one of its combinations, so if the cell held
// d, the rest of that combination would have to stand in the other cells.
// Example: cells "123", "12", "12", remaining sum 6 (only 123): 1 or 2 in the first cell would
// leave 3 to a cell of "12", so the first cell keeps 3 alone.
void Main::controllo_numeri_gruppo_permutazioni(int cage) {
  contatoredimessaggio = 0;
  if (cage < 0 || cage >= kCageSlots) return;
  const int n = elementigruppo[cage].as_int();
  if (n < 3 || n > 5) return;
  std::array<int, 5> cells{};
  for (int i = 0; i < n; ++i) {
    cells[i] = cage_cell(cage, i + 1);
    if (cells[i] < 0) return;
  }
  const int count = std::clamp(numerosomme[cage].as_int(), 0, kMaxCombos);
  const auto& list = elencosomme[cage];
  const bool talks = explains();
  const bool step = calling.empty();
  const bool trial = calling1 == mode::kTrial;

  // Explains the removal of d from `target`; false when the user refused it at the gate.
  auto report = [&](char d, int target) {
    const std::string where = rc(target);
    txthint.set_text(std::string("il numero ") + d + " non è possibile nella cella " + where);
    if (contatoredimessaggio == 0) {
      testo = n <= 4 ? "------------------------\r\n" : "";
      if (cage <= gruppi) {
        testo += "CONTROLLO SOMME - gruppo di " + rc(cells[0]);
      } else {
        testo += "NUOVO GRUPPO - ";
        for (int i = 0; i < n; ++i) testo += rc(cells[i]) + ", ";
      }
      testo += "\r\nsomme ";
      for (int k = 1; k <= count; ++k) testo += list[k] + ",";
      if (!trial) log_line(testo);
    }
    if (!trial) log_line(std::string("il numero ") + d + " non è possibile nella cella " + where);
    if (step) {
      // A refused report leaves the candidate, and sets no progress of its own.
      const bool before = modificato;
      const bool go = step_gate(std::span<const int>(cells.data(), static_cast<size_t>(n)), cage);
      if (n == 3) ++contatoredimessaggio;
      if (!go) {
        modificato = before;
        scelta = "";
        return false;
      }
    } else if (n != 4 && frmgeneratore.visible()) {
      mostra_somme_gruppo(cage);
    }
    if (n >= 4 || step) {
      const std::string hint = std::string("elimino il numero ") + d + " da " + where;
      txthint.set_text(hint);
      if (!trial) log_line(hint);
    }
    if (n == 4) ++contatoredimessaggio;
    return true;
  };

  // The combinations read once; only those of the cage's size support a candidate.
  std::array<StoredCombination, kMaxCombos + 1> combos;
  for (int k = 1; k <= count; ++k) {
    const std::string& text = list[static_cast<size_t>(k)];
    StoredCombination& c = combos[static_cast<size_t>(k)];
    c = StoredCombination{};
    c.sized = static_cast<int>(text.size()) == n;
    for (int q = 0; q < n && c.sized; ++q) {
      const int d = text[static_cast<size_t>(q)] - '0';
      c.sized = d >= 1 && d <= 9;
      if (!c.sized) break;
      c.digit[static_cast<size_t>(q)] = d;
      c.bits |= 1u << d;
    }
    c.distinct = c.sized && std::popcount(c.bits) == n;
  }

  for (int i = 0; i < n; ++i) {
    const int target = cells[i];
    // The other cells, in slot order, with their candidates (only the target changes below, so
    // the support of its digits is told once); sized as the cage, though one slot stays unused.
    std::array<unsigned, 5> others{};
    for (int j = 0, o = 0; j < n; ++j)
      if (j != i) others[o++] = candidate_mask(cells[j]);
    const unsigned kept = supported_digits(combos, count, n, candidate_mask(target), others);

    const int length = static_cast<int>(Text2[target].text().size());
    for (int p = 1; p <= length; ++p) {
      const std::string& now = Text2[target].text();
      if (p > static_cast<int>(now.size())) continue;
      const char d = now[p - 1];

      if (d >= '1' && d <= '9' && (kept & (1u << (d - '0')))) continue;

      if (talks && !report(d, target)) return;
      livello = std::max(livello, 8);
      std::string cut = Text2[target].text();
      cut.erase(static_cast<size_t>(p - 1), 1);
      Text2[target].set_text(cut);
      --p;
      modificato = true;
      // A cell without candidates is a contradiction, not progress to build on.
      if (cut.empty()) {
        problema = true;
        return;
      }
    }
  }
}

}  // namespace ks
