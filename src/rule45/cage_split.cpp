// The split of a cage against a unit or a band: which of its empty cells lie inside and which
// stick out. The five split functions of the main window, one per kind of unit or band.
#include <array>

#include "board/main.h"
#include "rule45/region.h"

namespace ks {

namespace rule45 {

// A cage that sticks out of the region puts its new outside cells on the outside list, then all
// its inside cells on the inside list; a cage wholly inside (or whose outside cells are listed
// already) adds nothing. Example: cage {r3c1, r4c1} against row 3 -> outside r4c1, inside r3c1.
bool split_cage(Main& m, const std::bitset<kCells>& inside, std::bitset<kCells>& outside, int g) {
  static_assert(std::tuple_size_v<decltype(Main::celleinterne)> > 7 * 9,
                "the inside list holds every cell of a band of seven units");
  static_assert(std::tuple_size_v<decltype(Main::celleesterne)> > kCells,
                "the outside list holds every cell of the board");
  constexpr int kInsideRoom = std::tuple_size_v<decltype(Main::celleinterne)> - 1;
  constexpr int kOutsideRoom = std::tuple_size_v<decltype(Main::celleesterne)> - 1;

  const int n = m.cage_size(g);
  bool sticks_out = false;
  for (int k = 1; k <= n; ++k) {
    const int cell = m.cage_cell(g, k);
    if (cell < 0 || inside[static_cast<size_t>(cell)]) continue;
    if (outside[static_cast<size_t>(cell)] || m.el_esterni >= kOutsideRoom) continue;
    m.celleesterne[++m.el_esterni] = cell;
    outside.set(static_cast<size_t>(cell));
    sticks_out = true;
  }
  if (!sticks_out) return false;
  for (int k = 1; k <= n; ++k) {
    const int cell = m.cage_cell(g, k);
    if (cell < 0 || !inside[static_cast<size_t>(cell)] || m.el_interni >= kInsideRoom) continue;
    m.celleinterne[++m.el_interni] = cell;
  }
  return true;
}

bool split_cage(Main& m, const Region& r, int g) {
  std::bitset<kCells> outside;
  for (int j = 1; j <= m.el_esterni && j < static_cast<int>(m.celleesterne.size()); ++j)
    if (const int c = Main::cell_number(m.celleesterne[j]); c >= 0) outside.set(static_cast<size_t>(c));
  return split_cage(m, r.cells(), outside, g);
}

}  // namespace rule45

bool Main::dividi_gruppo_settore(int box, int g) {
  return rule45::split_cage(*this, {UnitKind::Box, box, false}, g);
}
bool Main::dividi_gruppo_riga(int row, int g) {
  return rule45::split_cage(*this, {UnitKind::Row, row, false}, g);
}
bool Main::dividi_gruppo_colonna(int column, int g) {
  return rule45::split_cage(*this, {UnitKind::Column, column, false}, g);
}
bool Main::dividi_gruppo_righe_multiple(int last_row, int g) {
  return rule45::split_cage(*this, {UnitKind::Row, last_row, true}, g);
}
bool Main::dividi_gruppo_colonne_multiple(int last_column, int g) {
  return rule45::split_cage(*this, {UnitKind::Column, last_column, true}, g);
}

}  // namespace ks
