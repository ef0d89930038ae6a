// Derived cages of the rule of 45: building and erasing their records, and the derivation step of
// one unit or band.
#include "rule45/derived_cages.h"

#include <algorithm>

namespace ks::rule45 {

void erase_derived_cages(Main& m) {
  const int last = std::min(m.gruppo1, kCageSlots - 1);
  for (int g = std::max(m.gruppi + 1, 0); g <= last; ++g) {
    const int n = m.cage_size(g);
    for (int k = 1; k <= n; ++k) {
      const int cell = m.cage_cell(g, k);
      if (cell >= 0) m.nuovogruppodicella1[cell] = Value::empty();
      m.cellegruppo.set(g, k, Value::empty());
    }
    m.sommagruppo.set(g, 0);
    m.numeriobbligati[g].clear();
  }
  m.gruppo1 = m.gruppi;
  m.modificato = false;
}

int new_derived_cage(Main& m, std::span<const Value> list, int count, int sum) {
  const int g = std::max(m.gruppo1, m.gruppi) + 1;
  if (count < 2 || count > kMaxCageCells || count >= static_cast<int>(list.size()) || g < 1)
    return -1;
  if (g >= kCageSlots) {
    ++m.safety_stops.no_cage_slot;
    return -1;
  }
  m.gruppo1 = g;
  m.elementigruppo.set(g, count);
  for (int k = 1; k <= kMaxCageCells; ++k) {
    if (k > count) {
      m.cellegruppo.set(g, k, Value::empty());
      continue;
    }
    const int cell = Main::cell_number(list[static_cast<size_t>(k)]);
    m.cellegruppo.set(g, k, cell >= 0 ? Value(cell) : Value::empty());
    if (cell < 0) continue;
    if (m.nuovogruppodicella1[cell].is_empty())
      m.nuovogruppodicella1[cell] = g;
    else
      m.nuovogruppodicella2[cell] = g;
  }
  m.sommagruppo.set(g, sum);
  return g;
}

bool derive_region(Main& m, const Region& r, int depth, const SingleReport& outside,
                   const SingleReport& inside, const PlainModel* model) {
  const Tally t = gather_and_split(m, r, model);
  if (!t.decidable) return false;
  // The cells of one side: one cell takes the value, a few make a derived cage of that sum.
  const auto side = [&](std::span<const Value> list, int count, int value,
                        const SingleReport& how) {
    if (count == 1) {
      place_single(m, Main::cell_number(list[1]), value, how);
      return true;
    }
    if (count < 2 || count >= depth) return false;
    const int g = new_derived_cage(m, list, count, value);
    if (g < 0) return false;
    derived_sum_check(m, g, g);
    return m.modificato || m.problema;
  };
  return side(m.celleesterne, m.el_esterni, t.outside_value(), outside) ||
         side(m.celleinterne, m.el_interni, t.inside_value(), inside);
}

}  // namespace ks::rule45
