// The deep permutation check of a cage: candidates that no arrangement of a stored combination
// over the cage's empty cells supports.
#include <algorithm>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "sums/cage_cells.h"

namespace ks {

namespace {

// True when the digits rest[0..m-1] can be given one to each of the cells whose candidate masks
// are mask[0..m-1], every cell getting one of its candidates.
bool arrangement_fits(const std::array<int, 4>& rest, const std::array<unsigned, 4>& mask, int m,
                      int j = 0, unsigned used = 0) {
  if (j >= m || j >= 4) return true;  // m is at most 4; the constant bound keeps indexes clear
  for (int p = 0; p < m; ++p) {
    if (used & (1u << p)) continue;
    if (!(mask[j] & (1u << rest[p]))) continue;
    if (arrangement_fits(rest, mask, m, j + 1, used | (1u << p))) return true;
  }
  return false;
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
  const bool trial = calling1 == "trial";

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

  for (int i = 0; i < n; ++i) {
    const int target = cells[i];
    // The other cells, in slot order, with their candidates (only the target changes below).
    std::array<unsigned, 4> others{};
    for (int j = 0, o = 0; j < n; ++j)
      if (j != i) others[o++] = candidate_mask(cells[j]);

    const int length = static_cast<int>(Text2[target].text().size());
    for (int p = 1; p <= length; ++p) {
      const std::string& now = Text2[target].text();
      if (p > static_cast<int>(now.size())) continue;
      const char d = now[p - 1];

      bool supported = false;
      for (int k = 1; k <= count && !supported; ++k) {
        const std::string& combo = list[k];
        const size_t at = combo.find(d);
        if (at == std::string::npos || static_cast<int>(combo.size()) != n) continue;
        std::array<int, 4> rest{};
        for (int q = 0, r = 0; q < n; ++q)
          if (q != static_cast<int>(at)) rest[r++] = combo[q] - '0';
        supported = arrangement_fits(rest, others, n - 1);
      }
      if (supported) continue;

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
