// Cage against line: the three drivers and workers (column, row, box), and the small cage-model
// helpers that the cage techniques share.
#include <algorithm>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "sums/cage_cells.h"

namespace ks {

// Cage against line. A digit whose candidate cells in a column (row, box) all belong to one cage
// must be placed by that cage inside the unit, because the unit needs the digit somewhere and the
// cage holds each digit at most once. So the cage's cells outside the unit lose the digit.
// Example: in column 4 the 6 is a candidate only in r2c4 and r3c4, both of cage {r2c4, r3c4,
// r3c5}  ->  r3c5 loses 6.
namespace {

struct UnitTexts {
  const char* title;
  const char* phrase;
};

const UnitTexts& texts_of(UnitKind kind) {
  static const UnitTexts column{"INTERAZIONE GRUPPO COLONNA ", "nella colonna "};
  static const UnitTexts row{"INTERAZIONE GRUPPO RIGA ", "nella riga "};
  static const UnitTexts box{"INTERAZIONE GRUPPO SETTORE ", "nel settore "};
  return kind == UnitKind::Column ? column : kind == UnitKind::Row ? row : box;
}

// The worker: the digit n of unit u lies only in cage g; its other cells lose it. Each call is a
// finding of its own, with its own header, hint and gate.
void cage_line_worker(Main& m, UnitKind kind, int g, int n, int u) {
  if (g < 0 || g >= kCageSlots || n < 1 || n > 9 || u < 0 || u > 8) return;
  const char d = static_cast<char>('0' + n);
  const std::string digit(1, d);
  const bool logging = m.calling1 != "trial";
  m.contatoredimessaggio = 0;
  const int count = m.cage_size(g);
  for (int k = 1; k <= count; ++k) {
    const int cell = m.cage_cell(g, k);
    if (cell < 0) continue;
    m.cella = cell;
    if (unit_of(kind, cell) == u) continue;
    if (m.has_candidate(cell, d)) {
      if (m.contatoredimessaggio == 0 && m.explains()) {
        const UnitTexts& t = texts_of(kind);
        const std::string statement = t.phrase + std::to_string(u + 1) + " il numero " + digit +
                                      " è contenuto solo nel gruppo " + m.rc(cell);
        if (logging) {
          m.log_line("--------------------");
          m.log_line(t.title);
          m.log_line(statement);
        }
        m.txthint.set_text(statement);
        if (m.calling.empty() && !m.step_gate(std::array{cell}, g)) return;
        if (logging) m.log_line(" * elimino il numero " + digit + " da ");
        m.txthint.set_text("eliminato il " + digit + " da");
      }
      m.modificato = true;
      m.contatoredimessaggio = 1;
      const std::string where = " " + m.rc(cell);
      m.txthint.append(where);
      if (logging) m.log_append(where + ",");
      m.Text2[cell].set_text(cut_first(m.Text2[cell].text(), d));
    }
    if (m.Text2[cell].text().empty()) {
      m.problema = true;
      return;
    }
  }
}

// The driver: every unit, every digit. A digit whose candidate cells in the unit are not all in
// one cage, or include a cell of no cage, is passed over.
void cage_line_scan(Main& m, UnitKind kind, int& unit_variable) {
  for (int u = 0; u <= 8; ++u) {
    unit_variable = u;
    for (int n = 1; n <= 9; ++n) {
      const char d = static_cast<char>('0' + n);
      m.numero = std::string(1, d);
      int first = -1;
      bool one_cage = true;
      for (int k = 0; k < 9; ++k) {
        const int cell = unit_cells(kind, u)[k];
        if (kind != UnitKind::Box) m.indice = cell;
        if (!m.has_candidate(cell, d)) continue;
        const int g = m.cage_of(cell);
        if (g < 0) {
          one_cage = false;
          break;
        }
        m.gruppo = g;
        if (first < 0) {
          first = g;
        } else if (g != first) {
          one_cage = false;
          break;
        }
      }
      if (first < 0 || !one_cage) continue;
      switch (kind) {
        case UnitKind::Column: m.interazione_gruppo_colonna(first, n, u); break;
        case UnitKind::Row: m.interazione_gruppo_riga(first, n, u); break;
        case UnitKind::Box: m.interazione_gruppo_settore(first, n, u); break;
      }
    }
  }
  unit_variable = 9;
  m.numero = "10";
}

}  // namespace

void Main::cerca_interazione_gruppo_colonna() { cage_line_scan(*this, UnitKind::Column, colonna); }
void Main::cerca_interazione_gruppo_riga() { cage_line_scan(*this, UnitKind::Row, riga); }
void Main::cerca_interazione_gruppo_settore() { cage_line_scan(*this, UnitKind::Box, settore); }

void Main::interazione_gruppo_colonna(int cage, int digit, int column) {
  cage_line_worker(*this, UnitKind::Column, cage, digit, column);
}
void Main::interazione_gruppo_riga(int cage, int digit, int row) {
  cage_line_worker(*this, UnitKind::Row, cage, digit, row);
}
void Main::interazione_gruppo_settore(int cage, int digit, int box) {
  cage_line_worker(*this, UnitKind::Box, cage, digit, box);
}

}  // namespace ks
