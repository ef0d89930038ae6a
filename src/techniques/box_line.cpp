// Box-line interaction: a digit confined to one line inside a box, or to one box inside a line.
// The four passes (box to row, box to column, row to box, column to box) are rows of one table
// run by one routine.
#include <algorithm>
#include <array>
#include <string>

#include "board/main.h"
#include "techniques/classic.h"

namespace ks {

namespace {

// One pass. Texts name the pattern with these marks: %B its box, %L its row or column (both
// 1..9), %d the digit, and for the cell being cleared %r its row, %c its column, %b its box.
//   scanned, line    the units scanned and the kind of line of the pattern
//   header           the step's header in the log (and in testo when header_in_testo)
//   gate             the hint line at the traffic light
//   opening_hint     the hint line at the first removal; opening_log, when not null, the log
//                    line written with it
//   cell_hint        added to the hint line for every cell cleared
//   removal          put in testo for every cell cleared, when not null
//   cell_log         the log text of every cell cleared: a new line, or more text on the last
//                    line when cell_log_same_line
struct Pass {
  UnitKind scanned;
  UnitKind line;
  bool header_in_testo;
  const char* header;
  const char* gate;
  const char* opening_hint;
  const char* opening_log;
  const char* cell_hint;
  const char* removal;
  const char* cell_log;
  bool cell_log_same_line;
};

constexpr std::array<Pass, 4> kPasses = {{
    {UnitKind::Box, UnitKind::Row, false,
     "INTERAZIONE settore vs riga - nel settore %B il numero %d è presente solo nella riga %L",
     "INTERAZIONE - nel settore %B un numero è presente solo nella riga %L",
     "eliminato il numero %d da ", nullptr, " r%rc%c , ",
     "elimino il numero %d dal settore %b , r%rc%c",
     " * elimino il numero %d dal settore %b , r%rc%c", false},
    {UnitKind::Box, UnitKind::Column, true,
     "INTERAZIONE settore vs colonna - nel settore %B il numero %d è presente solo nella colonna "
     "%L",
     "INTERAZIONE - nel settore %B un numero è presente solo nella colonna %L",
     "eliminato il numero %d dalla colonna %L", " * elimino il numero %d dalla colonna %L",
     " , r%rc%c, ", "elimino il numero %d dalla colonna %L , r%rc%c", " , r%rc%c, ", true},
    {UnitKind::Row, UnitKind::Row, true,
     "INTERAZIONE riga  vs settore - nella riga %L il numero %d è presente solo nel settore %B",
     "INTERAZIONE - nella riga %L un numero è presente solo nel settore %B",
     "elimino il numero %d da ", "elimino il numero %d da ", " r%rc%c , ", nullptr,
     " r%rc%c , ", true},
    {UnitKind::Column, UnitKind::Column, true,
     "INTERAZIONE colonna  vs settore - nella colonna %L il numero %d è presente solo nel "
     "settore %B",
     "INTERAZIONE - nella colonna %L un numero è presente solo nel settore %B",
     "eliminato il %d da", nullptr, " , r%rc%c", nullptr,
     " * elimino il numero %d dal settore %B , r%rc%c", false},
}};

// The pattern at hand: its box and line (0-based), the digit, and the cell being cleared.
struct Pattern {
  int box = 0;
  int line = 0;
  char digit = '1';
  int cell = 0;
};

std::string fill(const char* text, const Pattern& p) {
  std::string out;
  for (const char* s = text; *s != '\0'; ++s) {
    if (*s != '%' || s[1] == '\0') {
      out += *s;
      continue;
    }
    switch (*++s) {
      case 'B': out += std::to_string(unit_number(p.box)); break;
      case 'L': out += std::to_string(unit_number(p.line)); break;
      case 'd': out += p.digit; break;
      case 'r': out += std::to_string(unit_number(row_of(p.cell))); break;
      case 'c': out += std::to_string(unit_number(col_of(p.cell))); break;
      case 'b': out += std::to_string(unit_number(box_of(p.cell))); break;
      default: out += *s; break;
    }
  }
  return out;
}

// The k-th cell (0..2) of part p (0..2) of unit u: a box's rows or columns, a line's stretches.
int part_cell(const Pass& pass, int u, int p, int k) {
  const auto cells = unit_cells(pass.scanned, u);
  if (pass.scanned == UnitKind::Box && pass.line == UnitKind::Column) return cells[p + 3 * k];
  return cells[3 * p + k];
}

// Explains the clearing of p.cell; the first one of the call opens the step (header, gate).
// False when the player refused the step at the traffic light.
bool report_box_line(Main& m, const Pass& pass, const Pattern& p) {
  const bool first = m.contatoredimessaggio == 0;
  const bool logging = m.calling1 != mode::kTrial;
  if (first && logging) ++m.liv3;
  if (!m.explains()) return true;
  if (first) {
    const std::string header = fill(pass.header, p);
    if (pass.header_in_testo) m.testo = header;
    if (logging) {
      m.log_line(classic::kSeparator);
      m.log_line(header);
    }
    if (m.calling.empty()) {
      // The three cells the box and the line share.
      std::array<int, 3> shared{};
      size_t n = 0;
      for (const int c : unit_cells(pass.line, p.line))
        if (box_of(c) == p.box && n < shared.size()) shared[n++] = c;
      m.Text5.set_text(classic::digit_text(p.digit));
      m.txthint.set_visible(true);
      m.txthint.set_text(fill(pass.gate, p));
      if (!m.step_gate(shared)) return false;
    }
    m.txthint.set_text(fill(pass.opening_hint, p));
    if (pass.opening_log && logging) m.log_line(fill(pass.opening_log, p));
  }
  m.txthint.append(fill(pass.cell_hint, p));
  if (pass.removal) m.testo = fill(pass.removal, p);
  if (logging) {
    const std::string text = fill(pass.cell_log, p);
    if (pass.cell_log_same_line)
      m.log_append(text);
    else
      m.log_line(text);
  }
  return true;
}

}  // namespace

// Box-line interaction. When, inside a box, every cell that still offers a digit lies in one row
// (or column), the box's digit stands on that line, so the line's cells outside the box lose it;
// when, inside a row (or column), every cell offering a digit lies in one box, the line's digit
// stands in that box, so the box's cells outside the line lose it.
// Example: box 1 offers 6 only in r1c1 and r1c3, r1c5 = 256  ->  r1c5 becomes 25.
// A placed digit counts as offered; a box-to-line pattern whose only holder shows the digit
// placed, or a line-to-box pattern whose first holder has one candidate left, is passed over.
// One call applies the first pattern, in pass order, that clears something.
//
// The places of a digit are told from the candidate bits of each part (a unit with an odd
// candidate text is read cell by cell). The shared variables end as the cell-by-cell scan leaves
// them: numero on the digit at hand, indice on the first holder in the last part that holds the
// digit (worked out only for the last such digit before the scan ends), the scanned unit's
// variable on it, and for every pattern looked at, its target's variable, cella on its last
// target and contatoredimessaggio cleared.
void Main::interazione_settore_riga_colonna() {
  modificato = false;
  indice = 0;
  origine = "obbligate";
  // The last digit whose holders were counted without naming them: its pass, unit, last part
  // holding it and the digit.
  struct Unnamed {
    const Pass* pass = nullptr;
    int u = 0, part = 0;
    char d = '1';
  } unnamed;
  const auto first_holder = [this](const Pass& pass, int u, int p, char d) {
    for (int k = 0; k <= 2; ++k)
      if (const int c = part_cell(pass, u, p, k); has_candidate(c, d)) return c;
    return -1;
  };
  for (const Pass& pass : kPasses) {
    const bool box_to_line = pass.scanned == UnitKind::Box;
    int& scanned = box_to_line ? settore : pass.scanned == UnitKind::Row ? riga : colonna;
    int& target = !box_to_line ? settore : pass.line == UnitKind::Row ? riga : colonna;
    for (int u = 0; u <= 8; ++u) {
      scanned = u;
      // The digits of each part (bits 1..9); odd when a cell's text is not told by its bits.
      std::array<unsigned, 3> part_digits{};
      bool odd = false;
      for (int p = 0; p <= 2; ++p)
        for (int k = 0; k <= 2; ++k) {
          const unsigned bits = board_index().candidate_bits(part_cell(pass, u, p, k));
          odd = odd || (bits & kOddCandidates);
          part_digits[static_cast<size_t>(p)] |= bits;
        }
      for (char d = '1'; d <= '9'; ++d) {
        int parts = 0;
        int recorded = -1;
        if (!odd) {
          int last = -1;
          for (int p = 0; p <= 2; ++p)
            if (part_digits[static_cast<size_t>(p)] >> (d - '0') & 1u) {
              ++parts;
              last = p;
            }
          if (parts == 0) continue;
          unnamed = {&pass, u, last, d};
          if (parts != 1) continue;
          recorded = indice = first_holder(pass, u, last, d);
          unnamed.pass = nullptr;
        } else {
          for (int p = 0; p <= 2; ++p) {
            if (const int c = first_holder(pass, u, p, d); c >= 0) {
              recorded = indice = c;
              ++parts;
            }
          }
          if (parts == 0) continue;
          unnamed.pass = nullptr;
          if (parts != 1) continue;
        }
        numero = classic::digit_text(d);
        if (box_to_line ? Text1[recorded].text() == numero : candidate_count(recorded) <= 1)
          continue;
        Pattern pattern{box_to_line ? u : box_of(recorded),
                        box_to_line ? unit_of(pass.line, recorded) : u, d, 0};
        target = box_to_line ? pattern.line : pattern.box;
        contatoredimessaggio = 0;
        const auto targets = box_to_line ? unit_cells(pass.line, pattern.line)
                                         : unit_cells(UnitKind::Box, pattern.box);
        const auto outside = [&](int c) {
          return box_to_line ? box_of(c) != u : unit_of(pass.scanned, c) != u;
        };
        // A pattern cleared long ago only moves cella over its targets.
        if (std::none_of(targets.begin(), targets.end(), [&](int c) {
              return outside(c) && classic::can_lose(*this, c, d);
            })) {
          cella = targets[8];
          continue;
        }
        for (const int c : targets) {
          cella = c;
          if (!outside(c) || !classic::can_lose(*this, c, d)) continue;
          pattern.cell = c;
          if (!report_box_line(*this, pass, pattern)) return;
          classic::remove_candidate(*this, c, d);
          modificato = true;
          contatoredimessaggio = 1;
        }
        if (modificato) return;
      }
    }
  }
  numero = "9";
  if (unnamed.pass) indice = first_holder(*unnamed.pass, unnamed.u, unnamed.part, unnamed.d);
}

}  // namespace ks
