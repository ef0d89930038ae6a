// The sum check of derived cages ("NUOVO GRUPPO"): the combinations of a derived cage's sum cut
// its cells' candidates, and a digit of a four-cell cage with one combination that only one cell
// can hold becomes that cell's candidate.
#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "platform/text.h"
#include "rule45/derived_cages.h"
#include "sums/sums_memo.h"
#include "sums/cage_cells.h"

namespace ks {

namespace rule45 {

namespace {

// How a change is told: the cut of a two-cell cage, the cut of a larger cage, or the one place
// of a digit of a four-cell cage with a single combination.
enum class Change { Pair, Cut, OnePlace };

// The cells of a derived cage of 2..5 cells, in list order.
struct DerivedCells {
  int n = 0;
  std::array<int, 5> cell{};
};

// Explains a change of cage g's cell to the candidates `now`, waits at the traffic light in step
// mode, and writes it. False when the player refused it (nothing written, modificato set).
bool report_change(Main& m, int g, const DerivedCells& c, int cell, const std::string& now,
                   Change kind) {
  const bool logging = m.calling1 != mode::kTrial;
  std::string hint = "NUOVO GRUPPO " + std::to_string(g) + " ,elementi " + std::to_string(c.n) +
                     " ,somma " + m.sommagruppo[g].text();
  for (int k = 0; k < c.n; ++k) hint += "," + m.rc(c.cell[k]);
  if (logging && m.contatoredimessaggio == 0) {
    // The cage's block: 25 dashes, its cells, its combinations.
    m.testo = "-------------------------\r\nNUOVO GRUPPO - ";
    for (int k = 0; k < c.n; ++k) m.testo += m.rc(c.cell[k]) + ", ";
    m.testo += "\r\nsomme ";
    const int count = std::clamp(m.numerosomme[g].as_int(), 0, kMaxCombos);
    for (int k = 1; k <= count; ++k) m.testo += m.elencosomme[g][k] + ",";
    m.log_line(m.testo);
  }
  m.txthint.set_text(hint);
  // A five-cell cage waits only for its first change of the call.
  if (m.chiamante == mode::kManuale && (c.n != 5 || m.contatoredimessaggio == 0)) {
    if (m.calling.empty()) {
      if (!m.step_gate_cage(g)) return false;
    } else {
      if (m.frmgeneratore.visible()) m.mostra_somme_gruppo(g);
      m.scelta.clear();
    }
  }
  ++m.contatoredimessaggio;
  const std::string where = m.rc(cell);
  if (kind == Change::Pair) {
    m.txthint.set_text("CONTROLLO SOMME - modifico " + where + " numeri " + now);
  } else {
    m.txthint.set_text("CONTROLLO SOMME - MODIFICO contenuto cella " + where + " numeri " + now);
  }
  if (logging)
    m.log_line("modifico contenuto cella " + where +
               (kind == Change::OnePlace ? " numero " : " numeri ") + now);
  m.Text2[cell].set_text(now);
  m.modificato = true;
  return true;
}

// The check of one derived cage. True when the call ends here: something changed, the player
// refused a change, or the cage met a contradiction.
bool check_cage(Main& m, int g) {
  const int n = m.cage_size(g);
  if (n == 0 || n > 5) return false;  // six or seven cells have too many combinations to tell

  // One cell: its digit is the cage's sum.
  if (n == 1) {
    const int cell = m.cage_cell(g, 1);
    const Value& sum = m.sommagruppo[g];
    const int s = sum.as_int();
    if (cell < 0 || !sum.is_number() || sum.num() != s || s < 1 || s > 9 ||
        !m.has_candidate(cell, static_cast<char>('0' + s))) {
      m.problema = true;
      return true;
    }
    const std::string digit(1, static_cast<char>('0' + s));
    if (m.Text2[cell].text() == digit) return false;
    m.Text2[cell].set_text(digit);
    m.modificato = true;
    return true;
  }

  DerivedCells c;
  c.n = n;
  unsigned rows = 0, columns = 0, boxes = 0;
  for (int k = 0; k < n; ++k) {
    const int cell = m.cage_cell(g, k + 1);
    if (cell < 0) return false;  // an erased record: nothing to check
    c.cell[k] = cell;
    rows |= 1u << row_of(cell);
    columns |= 1u << col_of(cell);
    boxes |= 1u << box_of(cell);
  }
  // Cells that all share a row, column or box hold distinct digits; cells spread over several
  // may repeat a digit wherever they do not see each other.
  const int least = std::min({std::popcount(rows), std::popcount(columns), std::popcount(boxes)});
  if (n >= 4 && n - least > 2) m.doppiedoppie = true;
  // The same inputs as a check that found nothing: the same combinations, nothing else.
  const bool repeats = least != 1;
  const sums::CageCells cage(m, g);
  if (m.memos_enabled && cage.n == n && !cage.odd) {
    if (const SumsMemo::Combinations* known = sums::same_enumeration(m, g, cage, repeats);
        known != nullptr && known->quiet_derived) {
      m.origine = repeats ? mode::kSomme2 : mode::kSomme1;
      sums::write_combinations(m, g, *known);
      if (n >= 3) m.contatoredimessaggio = 0;
      return false;
    }
  }
  const std::uint64_t generation = m.board_index().generation();
  m.stringa.clear();
  if (least == 1) {
    m.origine = mode::kSomme1;
    m.calcola_somme_gruppo(g);
  } else {
    m.origine = mode::kSomme2;
    m.calcola_somme_gruppo_ripetizioni(g);
  }
  if (m.problema) return true;
  const unsigned pool = digit_mask(m.stringa);

  // Four cells, one combination: a digit of it that one cell alone can hold is that cell's.
  // Example: 1234 over "2479", "123", "123", "123" -> the first cell becomes 4.
  if (n == 4 && m.stringa.size() == 4) {
    const std::string combination = m.stringa;
    bool changed = false;
    for (const char d : combination) {
      int places = 0, where = -1;
      for (int k = 0; k < n; ++k) {
        if (has_char(m.Text2[c.cell[k]].text(), d)) {
          ++places;
          where = c.cell[k];
        }
      }
      if (places != 1 || m.Text2[where].text() == std::string(1, d)) continue;
      if (!report_change(m, g, c, where, std::string(1, d), Change::OnePlace)) return true;
      changed = true;
    }
    if (changed) return true;
  }

  // The cut: each cell keeps the digits of the combinations (of a pair, those whose complement
  // the other cell still holds, as the first cell stands after its own cut).
  for (int k = 1; k <= n; ++k) {
    const int cell = c.cell[k - 1];
    const std::string cut = m.combination_cut(g, k, pool);
    if (cut == m.Text2[cell].text()) continue;
    if (cut.empty()) {
      m.problema = true;
      return true;
    }
    if (!report_change(m, g, c, cell, cut, n == 2 ? Change::Pair : Change::Cut)) return true;
  }
  if (m.modificato) return true;

  if (n >= 3) {
    m.controllo_numeri_gruppo_permutazioni(g);
    if (m.modificato || m.problema) return true;
  }
  // A step refused at the gate changes nothing, but it was a finding.
  if (cage.n == n && !cage.odd && m.board_index().generation() == generation) {
    if (SumsMemo::Combinations* known = sums::same_enumeration(m, g, cage, repeats))
      known->quiet_derived = true;
  }
  return false;
}

}  // namespace

void derived_sum_check(Main& m, int lo, int hi) {
  m.problema = false;
  m.modificato = false;
  m.contatoredimessaggio = 0;
  lo = std::max(lo, 0);
  hi = std::min(hi, kCageSlots - 1);
  for (int g = lo; g <= hi; ++g)
    if (check_cage(m, g)) return;
}

}  // namespace rule45

// The sum check of derived cage `cage`, or of every derived cage (gruppi + 1 .. gruppo1) for
// kEveryCage.
// A derived cage's cells hold its sum, so their candidates are cut to the digits of its sum
// combinations: distinct digits when the cells share a row, column or box, else digits that may
// repeat in cells that do not see each other. Example: r2c5, r3c5, r4c5 of sum 6 -> only 123,
// so a cell of "1239" keeps "123". One change (or a few, within one cage) per call.
void Main::controllo_somme_nuovi_gruppi(int cage) {
  if (cage == kEveryCage)
    rule45::derived_sum_check(*this, gruppi + 1, gruppo1);
  else
    rule45::derived_sum_check(*this, cage, cage);
}

}  // namespace ks
