// Naked triples: the driver and its three eliminators (box, column, row), one routine told by a
// table how each member words its step.
#include <array>
#include <bit>
#include <cstdint>
#include <string>

#include "board/main.h"
#include "techniques/classic.h"

namespace ks {

namespace {

using classic::digit_text;

// How the members word a step. Digit order: the positions in the triple of the digits as the
// header and gate name them (the box member names 123 as 231). The gate text is gate_prefix,
// the digits and " presenti come NAKED TRIPLE in " with the cells, or the header itself when
// gate_prefix is null.
struct TripleMember {
  UnitKind kind;
  const char* header_prefix;
  std::array<int, 3> digit_order;
  bool shows_triple;  // the hinted-digit box shows the triple at the gate (else " ")
  const char* gate_prefix;
  const char* hint_prefix;  // the hint line at the first removal
};
constexpr TripleMember kRowMember{UnitKind::Row, "NAKED TRIPLE - i numeri ", {0, 1, 2}, false,
                                  "numeri ", "eliminato il numero  "};
constexpr TripleMember kColumnMember{UnitKind::Column, "NAKED TRIPLE - numeri ", {0, 1, 2}, true,
                                     "i numeri ", "eliminato il numero "};
constexpr TripleMember kBoxMember{UnitKind::Box, "NAKED TRIPLE - numeri ", {1, 2, 0}, false,
                                  nullptr, "eliminato "};

// The step's header, the first time the call finds something to remove: testo, the log, and in
// step mode the gate with the triple highlighted. False when the player refused the step.
bool open_triple_step(Main& m, const TripleMember& how, const std::array<int, 3>& cells,
                      const std::string& tripla) {
  std::string digits;
  for (const int p : how.digit_order) digits += tripla[static_cast<size_t>(p)];
  const std::string where =
      m.rc(cells[0]) + " - " + m.rc(cells[1]) + " - " + m.rc(cells[2]);
  m.testo = how.header_prefix + digits + " in " + where;
  if (m.calling1 != mode::kTrial) {
    m.log_line(classic::kSeparator);
    m.log_line(m.testo);
  }
  if (m.calling.empty()) {
    m.Text5.set_text(how.shows_triple ? tripla : " ");
    m.txthint.set_visible(true);
    m.txthint.set_text(how.gate_prefix
                           ? how.gate_prefix + digits + " presenti come NAKED TRIPLE in " + where
                           : m.testo);
    if (!m.step_gate(cells)) return false;
  }
  m.txthint.set_text(how.hint_prefix);
  return true;
}

// Naked triple: three cells of a unit whose candidates all lie within the same three digits hold
// those three digits between them, so no other cell of the unit can hold any of them.
// Example: row 2 with r2c1 = 14, r2c5 = 147, r2c9 = 47  ->  r2c3 = 1459 becomes 59.
// Every other cell of the unit with more than one candidate loses the triple's digits, taken in
// the order second, first, third. The level rises to 5 at the first digit found, and the use is
// counted once per call.
void eliminate_triple(Main& m, const TripleMember& how, const std::array<int, 3>& cells,
                      const std::string& tripla, int unit) {
  if (tripla.size() != 3 || unit < 0 || unit > 8) return;
  for (const int c : cells)
    if (c < 0 || c >= kCells) return;
  const bool logging = m.calling1 != mode::kTrial;
  m.contatoredimessaggio = 0;
  for (const int x : unit_cells(how.kind, unit)) {
    m.cella = x;
    if (x == cells[0] || x == cells[1] || x == cells[2]) continue;
    if (m.candidate_count(x) <= 1) continue;
    for (const char d : {tripla[1], tripla[0], tripla[2]}) {
      if (!m.has_candidate(x, d)) continue;
      if (m.livello < 5) m.livello = 5;
      if (m.contatoredimessaggio == 0 && logging) ++m.liv5;
      if (m.explains()) {
        if (m.contatoredimessaggio == 0 && !open_triple_step(m, how, cells, tripla)) return;
        const std::string removal = digit_text(d) + " da " + m.rc(x);
        m.txthint.append(removal + ", ");
        if (logging) m.log_line(" * elimino il numero " + removal);
      }
      classic::remove_candidate(m, x, d);
      m.modificato = true;
      m.contatoredimessaggio = 1;
    }
  }
}

}  // namespace

void Main::elimina_da_settore_tripla(int cellatripla1, int cellatripla2, int cellatripla3,
                                     const std::string& tripla, int settoretripla) {
  eliminate_triple(*this, kBoxMember, {cellatripla1, cellatripla2, cellatripla3}, tripla,
                   settoretripla);
}

void Main::elimina_da_colonna_tripla(int cellatripla1, int cellatripla2, int cellatripla3,
                                     const std::string& tripla, int colonnatripla) {
  eliminate_triple(*this, kColumnMember, {cellatripla1, cellatripla2, cellatripla3}, tripla,
                   colonnatripla);
}

void Main::elimina_da_riga_tripla(int cellatripla1, int cellatripla2, int cellatripla3,
                                  const std::string& tripla, int rigatripla) {
  eliminate_triple(*this, kRowMember, {cellatripla1, cellatripla2, cellatripla3}, tripla,
                   rigatripla);
}

namespace {

// The 84 triples of digits in the order the driver tries them (123, 124, ..., 789): their digit
// bits, and for each set of digit bits (bits 1..9) that is a triple, its place in that order
// (-1 for any other set).
struct Triples {
  std::array<unsigned, 84> bits{};
  std::array<std::int8_t, 1024> index{};
  constexpr Triples() {
    for (auto& i : index) i = -1;
    int t = 0;
    for (int a = 1; a <= 7; ++a)
      for (int b = a + 1; b <= 8; ++b)
        for (int c = b + 1; c <= 9; ++c) {
          bits[static_cast<size_t>(t)] = 1u << a | 1u << b | 1u << c;
          index[bits[static_cast<size_t>(t)]] = static_cast<std::int8_t>(t);
          ++t;
        }
  }
};
constexpr Triples kTriples;

}  // namespace

// Every triple of digits, 123 to 789, is tried in every box, then in every column, then in every
// row; within a unit a cell matches when its candidates are the triple or two of its digits. The
// first three matching cells of a unit go to the eliminator; the driver stops at the first call
// that changed something (or whose step the player refused). A triple is tried only in the units
// where three cells can match it: cells of two or three candidates counted per triple that holds
// them (every triple, in a unit with an odd candidate text).
void Main::nakedtriple() {
  origine = "nakedtriple";
  modificato = false;

  // A cell can match only when its candidates are two or three digits: their bits, or
  // kOddCandidates for a text that is not ascending distinct digits (compared as text), 0 for
  // any other cell.
  std::array<unsigned, kCells> small{};
  for (int c = 0; c < kCells; ++c) {
    const int size = candidate_count(c);
    if (size >= 2 && size <= 3)
      small[static_cast<size_t>(c)] = board_index().candidate_bits(c);
  }
  for (const UnitKind kind : {UnitKind::Box, UnitKind::Column, UnitKind::Row}) {
    // Per unit, its cells that may match, in the unit's order; per triple, the units (bits 0..8)
    // where at least three of them fit within it.
    std::array<std::array<int, 9>, 9> may{};
    std::array<int, 9> mays{};
    std::array<unsigned, 84> units_of{};
    for (size_t u = 0; u < 9; ++u) {
      std::array<std::uint8_t, 84> fits{};
      bool odd = false;
      for (const int cell : unit_cells(kind, static_cast<int>(u))) {
        const unsigned b = small[static_cast<size_t>(cell)];
        if (b == 0) continue;
        may[u][static_cast<size_t>(mays[u]++)] = cell;
        if (b & kOddCandidates) {
          odd = true;
        } else if (const int t = kTriples.index[b]; t >= 0) {
          ++fits[static_cast<size_t>(t)];
        } else {
          for (unsigned d = 2; d <= 1u << 9; d <<= 1)
            if (!(b & d)) ++fits[static_cast<size_t>(kTriples.index[b | d])];
        }
      }
      if (mays[u] < 3) continue;
      for (size_t t = 0; t < 84; ++t)
        if (odd || fits[t] >= 3) units_of[t] |= 1u << u;
    }
    for (size_t t = 0; t < 84; ++t) {
      if (units_of[t] == 0) continue;
      const unsigned bits = kTriples.bits[t];
      std::string triple;
      for (int d = 1; d <= 9; ++d)
        if (bits >> d & 1u) triple += static_cast<char>('0' + d);
      const std::string pairs[3] = {triple.substr(0, 2), triple.substr(1, 2),
                                    std::string{triple[0], triple[2]}};
      const auto matches = [&](int cell) {
        const unsigned b = small[static_cast<size_t>(cell)];
        if (!(b & kOddCandidates)) return b != 0 && (b & ~bits) == 0;
        const std::string& s = Text2[cell].text();
        return s == triple || s == pairs[0] || s == pairs[1] || s == pairs[2];
      };
      for (unsigned left = units_of[t]; left != 0; left &= left - 1) {
        const int u = std::countr_zero(left);
        const int n = mays[static_cast<size_t>(u)];
        std::array<int, 3> found{};
        int count = 0;
        for (int i = 0; i < n; ++i) {
          const int cell = may[static_cast<size_t>(u)][static_cast<size_t>(i)];
          if (!matches(cell)) continue;
          found[static_cast<size_t>(count++)] = cell;
          if (count < 3) continue;
          count = 0;
          // What the scan has reached, as the eliminator and a waiting step see it.
          stringa = triple;
          if (kind == UnitKind::Box) settore = u;
          indice = cell;
          switch (kind) {
            case UnitKind::Box:
              elimina_da_settore_tripla(found[0], found[1], found[2], triple, u);
              break;
            case UnitKind::Column:
              elimina_da_colonna_tripla(found[0], found[1], found[2], triple, u);
              break;
            case UnitKind::Row:
              elimina_da_riga_tripla(found[0], found[1], found[2], triple, u);
              break;
          }
          if (modificato) return;
        }
      }
    }
  }
  // Nothing found: the scan ended on the last triple, box and cell.
  stringa = "789";
  settore = 8;
  indice = unit_cells(UnitKind::Row, 8)[8];
}

}  // namespace ks
