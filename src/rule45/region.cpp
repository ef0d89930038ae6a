// The rule of 45 on a region: gathering the cages that touch it, splitting them, and placing the
// digit of a single that the split leaves.
#include <array>
#include <string>

#include "platform/text.h"
#include "rule45/region.h"

namespace ks::rule45 {

Tally gather_and_split(Main& m, const Region& r) {
  constexpr int kCageRoom = std::tuple_size_v<decltype(Main::gruppiregione)> - 1;
  Tally t;
  t.remaining = 45 * r.units();
  t.empty = 9 * r.units();
  // The list is filled from entry 1 without gaps: clearing up to the first blank clears the last
  // region's listing. Entry 0 holds a number that is no cage.
  for (int k = 1; k <= kCageRoom && !m.gruppiregione[k].is_empty(); ++k)
    m.gruppiregione[k] = Value::empty();
  m.gruppiregione[0] = 81;

  std::bitset<kCageSlots> listed;  // the cages on the list
  for (int u = r.first(); u <= r.last; ++u) {
    for (const int cell : unit_cells(r.kind, u)) {
      m.cella = cell;
      const std::string& digit = m.Text1[cell].text();
      if (!digit.empty()) {
        t.remaining -= digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9'
                           ? digit[0] - '0'
                           : static_cast<int>(val(digit));
        --t.empty;
        continue;
      }
      const int g = m.cage_of(cell);
      if (g < 0 || !m.sommagruppo[g].is_number()) {
        t.decidable = false;
        continue;
      }
      m.gruppo = g;
      if (listed[static_cast<size_t>(g)]) continue;
      if (t.cages >= kCageRoom) {
        t.decidable = false;
        continue;
      }
      listed.set(static_cast<size_t>(g));
      m.gruppiregione[++t.cages] = g;
      t.cell_total += m.cage_size(g);
      t.sum_total += m.sommagruppo[g].as_int();
    }
  }

  for (int k = 1; k <= m.el_esterni && k < static_cast<int>(m.celleesterne.size()); ++k)
    m.celleesterne[k] = Value::empty();
  m.el_interni = 0;
  m.el_esterni = 0;
  if (!t.decidable) return t;
  const std::bitset<kCells> inside = r.cells();
  std::bitset<kCells> outside;
  for (int i = 1; i <= t.cages; ++i) {
    const int g = m.gruppiregione[i].as_int();
    m.gruppo = g;
    const int before = m.el_interni;
    split_cage(m, inside, outside, g);
    // Every touching cage has an empty cell inside, so a cage that sticks out always adds to the
    // inside list: one that adds nothing lies wholly inside.
    if (m.el_interni == before) t.inside_sum += m.sommagruppo[g].as_int();
  }
  return t;
}

void place_single(Main& m, int cell, int v, const SingleReport& how) {
  if (cell < 0 || cell >= kCells || v < 1 || v > 9 || !m.Text1[cell].text().empty() ||
      !m.has_candidate(cell, static_cast<char>('0' + v))) {
    m.problema = true;
    return;
  }
  const std::string digit(1, static_cast<char>('0' + v));
  const std::string where = digit + " in " + m.rc(cell);
  const bool explaining = m.explains();
  if (how.explain_always || explaining) {
    m.txthint.set_text(how.hint + where);
    if (m.calling1 != "trial") {
      m.log_line("-----------------------");
      m.log_line(how.log + where);
    }
  }
  const bool waits = how.gate_in_analisi ? explaining : m.chiamante == "manuale";
  if (waits && m.calling != "risolvi" && !m.step_gate(std::array{cell})) return;
  m.Text1[cell].set_text(digit);
  m.Text1[cell].set_visible(true);
  if (!how.modificato_unless_problema || !m.problema) m.modificato = true;
}

bool region_single(Main& m, const Region& r, const SingleReport& outside,
                   const SingleReport& inside) {
  const Tally t = gather_and_split(m, r);
  if (!t.decidable) return false;
  if (m.el_esterni == 1) {
    place_single(m, Main::cell_number(m.celleesterne[1]), t.outside_value(), outside);
    return true;
  }
  if (m.el_interni == 1) {
    place_single(m, Main::cell_number(m.celleinterne[1]), t.inside_value(), inside);
    return true;
  }
  return false;
}

}  // namespace ks::rule45
