// Naked pairs in boxes, columns and rows: the driver and its four eliminators (box, row, column
// and cage), one routine told by a table how each member names, walks and reports.
#include <array>
#include <bit>
#include <span>
#include <string>

#include "board/main.h"
#include "techniques/classic.h"

namespace ks {

namespace {

using classic::digit_text;

// How the members differ. The box member names the later pair cell first in its header; the row
// member blanks the hinted digit at every removal and shows only the latest removal in the hint
// line, the others add each removal to it. The walk is the shared variable that follows the
// cells walked: the row member's column counter, the column and cage members' cella1.
struct PairMember {
  bool later_cell_first;
  bool latest_only;
  enum class Walk { None, Column, Cell } walk;
};
constexpr PairMember kBoxMember{true, false, PairMember::Walk::None};
constexpr PairMember kRowMember{false, true, PairMember::Walk::Column};
constexpr PairMember kColumnMember{false, false, PairMember::Walk::Cell};
constexpr PairMember kCageMember{false, false, PairMember::Walk::Cell};

// Explains the removal of digit d from cell x. The first removal of a driver run writes the
// header to the log and, in step mode, waits at the traffic light with the pair highlighted;
// false when the player refused the step there.
bool report_pair_removal(Main& m, const PairMember& how, int a, int b, std::string_view pair,
                         int cage, char d, int x) {
  const bool first = m.contatoredimessaggio == 0;
  const bool logging = m.calling1 != mode::kTrial;
  if (how.latest_only) m.Text5.set_text(" ");
  if (first) {
    classic::ShortText header;
    header << "NAKED PAIR " << pair << " in ";
    header.cell(m, how.later_cell_first ? b : a) << " e ";
    header.cell(m, how.later_cell_first ? a : b);
    if (logging) {
      m.log_text(classic::kSeparator);
      m.log_text(header.view());
    }
    if (m.calling.empty()) {
      m.Text5.set_text(" ");
      m.txthint.set_visible(true);
      m.txthint.set_text(header.view());
      if (!m.step_gate(std::array{a, b}, cage)) return false;
      m.txthint.set_text("eliminato il numero ");
    }
  }
  classic::ShortText line;
  if (how.latest_only)
    line << "eliminato il numero ";
  else
    line << " * elimino il numero ";
  const size_t from = line.view().size();
  line << d << " da ";
  line.cell(m, x);
  const std::string_view removal = line.view().substr(from);
  if (how.latest_only)
    m.txthint.set_text(line.view());
  else
    m.txthint.append(removal, ", ");
  if (logging) {
    if (how.latest_only) {
      classic::ShortText log;
      log << " * elimino il numero " << removal;
      m.log_text(log.view());
    } else {
      m.log_text(line.view());
    }
  }
  return true;
}

// Naked pair: two cells of a unit (or of a cage) whose candidates are the same two digits hold
// those two digits between them, so no other cell of the unit (or cage) can hold either.
// Example: r1c2 = 37, r3c1 = 37 in box 1  ->  r2c3 = 2347 becomes 24.
// The first digit leaves every cell of the unit before the second digit; cells with a single
// candidate are never touched, so a pair never empties a cell.
// (A unit's nine cells come with their count fixed, which lets the check below be unrolled.)
template <size_t N>
void eliminate_pair(Main& m, const PairMember& how, std::span<const int, N> cells, int a, int b,
                    std::string_view pair, int cage) {
  if (pair.size() != 2 || a < 0 || a >= kCells || b < 0 || b >= kCells) return;
  // Most pairs found have cleared their unit long ago: when no cell can lose a digit, the walk
  // below would only leave the second digit in numero and its walk variable on the last cell.
  const unsigned digits = digit_mask(pair);
  // Told from the bits: most cells hold neither digit (nor an odd text) and are passed at once.
  bool clears = false;
  for (const int x : cells) {
    const unsigned bits = m.board_index().candidate_bits(x);
    if (!(bits & (digits | Main::kOddCandidates)) || x == a || x == b) continue;
    if (classic::can_lose_any(m, x, digits, pair)) {
      clears = true;
      break;
    }
  }
  if (!clears) {
    m.numero.assign(1, pair[1]);
    if (!cells.empty() && how.walk == PairMember::Walk::Column) m.colonna = col_of(cells.back());
    if (!cells.empty() && how.walk == PairMember::Walk::Cell) m.cella1 = cells.back();
    return;
  }
  for (const char d : pair) {
    m.numero.assign(1, d);
    for (const int x : cells) {
      if (how.walk == PairMember::Walk::Column) m.colonna = col_of(x);
      if (how.walk == PairMember::Walk::Cell) m.cella1 = x;
      if (x == a || x == b || !classic::can_lose(m, x, d)) continue;
      if (m.explains() && !report_pair_removal(m, how, a, b, pair, cage, d, x)) return;
      classic::remove_candidate(m, x, d);
      m.modificato = true;
      m.contatoredimessaggio = 1;
    }
  }
}

}  // namespace

void Main::elimina_da_settore_doppia(int prima, int seconda, const std::string& coppia,
                                     int box) {
  if (box < 0 || box > 8) return;
  eliminate_pair(*this, kBoxMember, unit_cells(UnitKind::Box, box), prima, seconda, coppia, -1);
}

void Main::elimina_da_riga_doppia(int prima, int seconda, const std::string& coppia, int row) {
  if (row < 0 || row > 8) return;
  eliminate_pair(*this, kRowMember, unit_cells(UnitKind::Row, row), prima, seconda, coppia, -1);
}

void Main::elimina_da_colonna_doppia(int prima, int seconda, const std::string& coppia,
                                     int column) {
  if (column < 0 || column > 8) return;
  eliminate_pair(*this, kColumnMember, unit_cells(UnitKind::Column, column), prima, seconda, coppia,
                 -1);
}

namespace {
// The cage member over the cage's cells in slot order.
void eliminate_in_cage(Main& m, int a, int b, std::string_view pair, int cage) {
  std::array<int, kMaxCageCells> cells{};
  size_t n = 0;
  const int size = m.cage_size(cage);
  for (int k = 1; k <= size; ++k)
    if (const int c = m.cage_cell(cage, k); c >= 0) cells[n++] = c;
  eliminate_pair(m, kCageMember, std::span<const int>(cells.data(), n), a, b, pair, cage);
}
}  // namespace

void Main::elimina_da_gruppo_doppia(int prima, int seconda, const std::string& coppia, int cage) {
  eliminate_in_cage(*this, prima, seconda, coppia, cage);
}

namespace {

// The pairs of one unit in scan order: each cell with two candidates (kept in indice) against
// each later cell with the same two (kept in cella), handed to eliminate. True when a pair changed
// something (or its step was refused): the driver stops there. In a box the first cell is left
// after its first partner. Only the cells with two candidates (bits of `two`) are looked at; the
// shared variables end as a walk over every cell would leave them: indice on the unit's last
// cell, cella on a first cell's last partner or on the unit's last cell.
template <typename Eliminate>
bool unit_pairs(Main& m, std::span<const int, 9> cells, unsigned two, bool first_partner_only,
                Eliminate eliminate) {
  for (unsigned left = two; left != 0; left &= left - 1) {
    const int k = std::countr_zero(left);
    if (k == 8) break;
    const int a = m.indice = cells[static_cast<size_t>(k)];
    // The pair's text is read where it stands: no step touches a pair's own cells.
    std::string_view pair;
    bool stopped = false;
    for (unsigned later = left & (left - 1); later != 0; later &= later - 1) {
      const int b = cells[static_cast<size_t>(std::countr_zero(later))];
      if (!classic::same_candidates(m, a, b)) continue;
      m.cella = b;
      if (pair.empty()) pair = m.Text2[a].text();
      eliminate(a, b, pair);
      if (m.modificato) return true;
      if (first_partner_only) {
        stopped = true;
        break;
      }
    }
    if (!stopped) m.cella = cells[8];
  }
  m.indice = cells[8];
  return false;
}

}  // namespace

// Boxes first, then columns, then rows; the driver stops at the first pair whose eliminations
// changed something (or whose step the player refused). A pair found in a box also clears the
// row or column the two cells share and, when both lie in one cage with more empty cells, that
// cage, all under one header. A cell of no cage shares no cage with any other.
void Main::nakedpair() {
  origine = "nakedpair";
  modificato = false;
  contatoredimessaggio = 0;
  // Until a pair changes something, and the driver then stops, no candidate changes.
  const auto two = [this](UnitKind kind, int u) {
    return board_index().two_candidates(kind, u);
  };

  for (int s = 0; s <= 8; ++s) {
    settore = s;
    const auto in_box = [this, s](int a, int b, std::string_view pair) {
      eliminate_pair(*this, kBoxMember, unit_cells(UnitKind::Box, s), a, b, pair, -1);
      if (const int c = col_of(a); c == col_of(b))
        eliminate_pair(*this, kColumnMember, unit_cells(UnitKind::Column, c), a, b, pair, -1);
      if (const int r = row_of(a); r == row_of(b))
        eliminate_pair(*this, kRowMember, unit_cells(UnitKind::Row, r), a, b, pair, -1);
      const int g = cage_of(a);
      if (g >= 0 && g == cage_of(b) && cage_size(g) > 2) eliminate_in_cage(*this, a, b, pair, g);
    };
    if (unit_pairs(*this, unit_cells(UnitKind::Box, s), two(UnitKind::Box, s), true, in_box))
      return;
  }

  for (int c = 0; c <= 8; ++c) {
    colonna = c;
    const auto in_column = [this, c](int a, int b, std::string_view pair) {
      eliminate_pair(*this, kColumnMember, unit_cells(UnitKind::Column, c), a, b, pair, -1);
    };
    if (unit_pairs(*this, unit_cells(UnitKind::Column, c), two(UnitKind::Column, c), false,
                   in_column))
      return;
  }

  for (int r = 0; r <= 8; ++r) {
    riga = r;
    const auto in_row = [this, r](int a, int b, std::string_view pair) {
      eliminate_pair(*this, kRowMember, unit_cells(UnitKind::Row, r), a, b, pair, -1);
    };
    if (unit_pairs(*this, unit_cells(UnitKind::Row, r), two(UnitKind::Row, r), false, in_row))
      return;
  }
}

}  // namespace ks
