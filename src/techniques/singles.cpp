// Naked and hidden singles: an empty cell with one candidate, and a digit with one place left in
// a box, row or column. A call finds, explains and places at most one single and reports it in
// `cella` (kNoCell when none) and `numero`.
#include <algorithm>
#include <array>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "techniques/classic.h"

namespace ks {

namespace {

using classic::kSeparator;

// Step mode: the single's cell is highlighted, its digit shown in Text5, and the player answers
// at the traffic light. False when the player refused the step (modificato is then set).
bool single_gate(Main& m, int cell) {
  m.Text5.set_text(m.numero);
  return m.step_gate(std::array{cell});
}

// ---------------------------------------------------------------------------------------------
// Naked single: an empty cell whose candidate string is one digit holds that digit.
// Example: r3c7 = "5" with r3c7 empty  ->  r3c7 = 5.

struct NakedVariant {
  bool cage_check;       // the last empty cell of a cage must hold the cage's remaining sum
  bool mode_test;        // explained and placed only while explains()
  bool show_hint_line;   // the hint line is made visible
  bool separator;        // a dash line before the log line
  bool sum_check_after;  // the cage's sum check follows the placement
};

constexpr NakedVariant kNaked{true, true, true, true, false};
constexpr NakedVariant kNakedClassic{false, true, true, false, false};
constexpr NakedVariant kNakedInCage{true, false, false, true, true};

// The number a one-character candidate text reads as (val's reading, without its parse for
// the usual digit).
double digit_value(const std::string& t) {
  if (t.size() == 1 && t[0] >= '0' && t[0] <= '9') return t[0] - '0';
  return val(t);
}

void naked_step(Main& m, int cell, const NakedVariant& v) {
  m.numero = m.Text2[cell].text();
  // A cell of no cage has no cage to agree with.
  const int g = m.cage_of(cell);
  if (v.cage_check && g >= 0 && m.elementigruppo[g].eq(1) && m.sommagruppo[g].is_number() &&
      m.sommagruppo[g].num() != digit_value(m.numero)) {
    m.gruppoproblema = g;
    m.problema = true;
    if (m.incongruenza) m.log_text(" IMPOSSIBILE");
    return;
  }
  if (v.mode_test && !m.explains()) return;
  if (v.show_hint_line) m.txthint.set_visible(true);
  classic::ShortText text;
  text << "Naked single in ";
  text.cell(m, cell);
  m.txthint.set_text(text.view());
  if (m.calling1 != mode::kTrial) {
    // The dash line and the step's line go to the log together, as one change of the box.
    text.clear();
    if (v.separator) text << classic::kSeparatorLiteral << "\r\n";
    text << "Naked single " << m.numero << " in ";
    text.cell(m, cell);
    m.log_text(text.view());
  }
  if (m.calling.empty()) {
    const bool yes = single_gate(m, cell);
    m.txthint.set_text("");
    if (!yes) return;
  }
  m.place_digit(cell, m.numero);
  if (v.sum_check_after && !m.problema && g >= 0) m.controllo_somme(g);
}

bool is_naked_single(const Main& m, int cell) {
  return m.candidate_count(cell) == 1 && m.Text1[cell].text().empty();
}

// The first naked single of the board, row by row; cella = kNoCell when none.
// (The cells of one candidate and an empty digit box are the naked singles, read from the
// bits that the two boxes' handlers keep.)
void naked_scan(Main& m, const NakedVariant& v) {
  const int c = m.board_index().one_candidate().without(m.board_index().filled()).first();
  if (c < 0) {
    m.cella = kNoCell;
    return;
  }
  m.cella = c;
  naked_step(m, c, v);
}

// ---------------------------------------------------------------------------------------------
// Hidden single: a digit that only one empty cell of a unit can take goes there.
// Example: in box 4 only r5c3 still has 6 among its candidates  ->  r5c3 = 6.

// The hint of unit `unit` (its number as text) and cell, into `hint`.
void hidden_hint(const Main& m, UnitKind kind, std::string_view unit, int cell,
                 classic::ShortText& hint) {
  switch (kind) {
    case UnitKind::Box: hint << "hidden single nel settore " << unit << " in "; break;
    case UnitKind::Row: hint << "Hidden Single nella riga " << unit << " , in "; break;
    case UnitKind::Column:
      hint << "Hidden Single nella colonna " << unit << " nella colonna " << unit << " , ";
      break;
  }
  hint.cell(m, cell);
}

// The log line of the row and column members (the box member logs its hint).
std::string hidden_log(UnitKind kind, const std::string& digit, const std::string& unit,
                       const std::string& cell) {
  if (kind == UnitKind::Row) return "Hidden Single " + digit + " nella riga " + unit + " , in " + cell;
  return "Hidden Single " + digit + " nella colonna " + unit + " , " + cell;
}

// The candidates of the empty cells of a unit, joined in the unit's order into `joined` (whose
// room is kept: the box and column members leave this text in stringa at every call).
void join_candidates(const Main& m, UnitKind kind, int u, std::string& joined) {
  // Put together in place from the bits of the empty cells (0 for a filled cell, and an
  // ascending text is the digits of its bits) and written once; a unit with an odd text is
  // joined from the texts.
  char buf[96];
  size_t n = 0;
  for (const int c : unit_cells(kind, u)) {
    const unsigned bits = m.board_index().open_bits(c);
    if (bits & Main::kOddCandidates) {
      joined.clear();
      for (const int x : unit_cells(kind, u))
        if (m.Text1[x].text().empty()) joined += m.Text2[x].text();
      return;
    }
    for (const char ch : mask_digits(bits)) buf[n++] = ch;
  }
  joined.assign(buf, n);
}

// The k-th cell of unit u worked out in place, so that the hidden single walk reads only the
// bits: the cells of unit_cells, as the check below makes sure.
template <UnitKind kind>
constexpr int unit_cell_at(int u, int k) {
  if constexpr (kind == UnitKind::Row) return 9 * u + k;
  else if constexpr (kind == UnitKind::Column) return u + 9 * k;
  else return 27 * (u / 3) + 3 * (u % 3) + 9 * (k / 3) + k % 3;
}

template <UnitKind kind>
constexpr bool same_as_unit_cells() {
  for (int u = 0; u < 9; ++u)
    for (int k = 0; k < 9; ++k)
      if (unit_cell_at<kind>(u, k) != unit_cells(kind, u)[static_cast<size_t>(k)]) return false;
  return true;
}
static_assert(same_as_unit_cells<UnitKind::Row>() && same_as_unit_cells<UnitKind::Column>() &&
              same_as_unit_cells<UnitKind::Box>());

// The digits (bits 1..9) that occur exactly once among the candidates of the empty cells of a
// unit, counted in the bits beside the candidate boxes; a unit with an odd candidate text is
// counted in its joined text.
// (Each kind is its own copy, so that the walk over the nine cells is unrolled.)
template <UnitKind kind>
unsigned once_in_unit(const Main& m, int u) {
  unsigned once = 0, more = 0;
  for (int k = 0; k < 9; ++k) {
    const unsigned bits = m.board_index().open_bits(unit_cell_at<kind>(u, k));
    more |= once & bits;
    once |= bits;
  }
  if (once & Main::kOddCandidates) {
    std::string joined;
    join_candidates(m, kind, u, joined);
    unsigned out = 0;
    for (char d = '1'; d <= '9'; ++d)
      if (std::count(joined.begin(), joined.end(), d) == 1) out |= 1u << (d - '0');
    return out;
  }
  return once & ~more;
}

// Units of one kind 0..8 (in `unit_variable` when the member keeps one), the lowest digit of the
// first unit that has a hidden single, its first empty cell in the unit's order. The box and
// column members leave the unit's candidates in `stringa` (of the unit where the scan stopped).
template <UnitKind kind>
void hidden_scan(Main& m, int* unit_variable) {
  for (int u = 0; u <= 8; ++u) {
    const unsigned once = once_in_unit<kind>(m, u);
    if (once == 0) continue;
    if (unit_variable) *unit_variable = u;
    if (kind != UnitKind::Row) join_candidates(m, kind, u, m.stringa);
    for (char d = '1'; d <= '9'; ++d) {
      if (!(once >> (d - '0') & 1u)) continue;
      // Only an empty cell: a refused digit leaves its cell's old candidates behind.
      for (const int c : unit_cells(kind, u)) {
        if (m.Text1[c].text().empty() && m.has_candidate(c, d)) {
          m.cella = c;
          break;
        }
      }
      m.numero = std::string(1, d);
      if (!m.explains()) return;
      const int cell = m.cella;
      const std::string unit = std::to_string(unit_number(u));
      classic::ShortText hint;
      hidden_hint(m, kind, unit, cell, hint);
      m.txthint.set_text(hint.view());
      const bool logging = m.calling1 != mode::kTrial;
      if (kind == UnitKind::Box) {
        if (logging) m.log_text(hint.view());
        m.Text5.set_text(m.numero);
      } else {
        m.testo = hidden_log(kind, m.numero, unit, m.rc(cell));
        if (logging) {
          m.log_text(kSeparator);
          m.log_line(m.testo);
        }
      }
      if (m.calling.empty()) {
        if (!single_gate(m, cell)) return;
        if (kind == UnitKind::Box) m.txthint.set_text("");
      }
      m.place_digit(cell, m.numero);
      if (kind == UnitKind::Row) m.txthint.set_text("");
      return;
    }
  }
  if (kind != UnitKind::Row) join_candidates(m, kind, 8, m.stringa);
  if (unit_variable) *unit_variable = 9;
  m.cella = kNoCell;
}

}  // namespace

void Main::naked_single() { naked_scan(*this, kNaked); }

void Main::naked_single_classico() { naked_scan(*this, kNakedClassic); }

// Only the empty cells of cage g, in slot order; when none qualifies `cella` is left on the last
// cell looked at.
void Main::naked_single_gruppo(int g) {
  const int n = cage_size(g);
  for (int k = 1; k <= n; ++k) {
    const int c = cage_cell(g, k);
    if (c < 0) continue;
    cella = c;
    if (!is_naked_single(*this, c)) continue;
    naked_step(*this, c, kNakedInCage);
    return;
  }
}

void Main::cerca_settore_con_valore_unico() { hidden_scan<UnitKind::Box>(*this, &settore); }
void Main::cerca_righe_con_valore_unico() { hidden_scan<UnitKind::Row>(*this, nullptr); }
void Main::cerca_colonne_con_valore_unico() { hidden_scan<UnitKind::Column>(*this, &colonna); }

}  // namespace ks
