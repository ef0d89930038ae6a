// Cage against line: the three drivers and workers (column, row, box), and the small cage-model
// helpers that the cage techniques share.
#include <algorithm>
#include <bitset>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "sums/sums_memo.h"
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
  const bool logging = m.calling1 != mode::kTrial;
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
        const std::string statement = t.phrase + std::to_string(unit_number(u)) + " il numero " +
                                      digit + " è contenuto solo nel gruppo " + m.rc(cell);
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

void call_worker(Main& m, UnitKind kind, int g, int n, int u) {
  switch (kind) {
    case UnitKind::Column: m.interazione_gruppo_colonna(g, n, u); break;
    case UnitKind::Row: m.interazione_gruppo_riga(g, n, u); break;
    case UnitKind::Box: m.interazione_gruppo_settore(g, n, u); break;
  }
}

// The driver's look at digit n of unit u: the unit's cells in scan order, each in `indice` (rows
// and columns), the cage of each candidate cell in `gruppo`; a digit whose candidate cells are not
// all in one cage, or include a cell of no cage, is passed over.
void scan_digit(Main& m, UnitKind kind, int u, int n) {
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
  if (first >= 0 && one_cage) call_worker(m, kind, first, n, u);
}

// The same driver on plain numbers: the candidates as bits and the cage of each cell, read once
// (again after each worker call that may have cut candidates), and the cage lists as the workers
// read them. A worker call that finds nothing only sets cella (to the last cell of its cage's
// list) and contatoredimessaggio (to 0); it is not made, and the shared variables the driver and
// the workers write are kept aside and written when a worker is called and at the end. False,
// having done nothing, when a candidate text is not plain digits (the bits do not tell it).
bool scan_plain(Main& m, UnitKind kind, int& unit_variable) {
  std::array<unsigned, kCells> cand;
  const auto read_candidates = [&] {
    for (int c = 0; c < kCells; ++c) {
      const unsigned bits = m.board_index().candidate_bits(c);
      if (bits & Main::kOddCandidates) return false;
      cand[static_cast<size_t>(c)] = bits;
    }
    return true;
  };
  if (!read_candidates()) return false;
  std::array<int, kCells> cage;
  for (int c = 0; c < kCells; ++c) cage[static_cast<size_t>(c)] = m.cage_of(c);
  // The lists of the cages the workers look at, read when first needed.
  std::bitset<kCageSlots> loaded;
  std::array<std::array<int, kMaxCageCells>, kCageSlots> lists;
  std::array<int, kCageSlots> sizes;

  int indice = m.indice, gruppo = m.gruppo, cella = m.cella, counter = m.contatoredimessaggio;
  bool plain = true;  // false once a worker left a candidate text that is not plain digits
  for (int u = 0; u <= 8; ++u) {
    unit_variable = u;
    for (int n = 1; n <= 9; ++n) {
      if (!plain) {
        scan_digit(m, kind, u, n);
        continue;
      }
      int first = -1;
      bool one_cage = true;
      for (int k = 0; k < 9; ++k) {
        const int cell = unit_cells(kind, u)[k];
        if (kind != UnitKind::Box) indice = cell;
        if (!(cand[static_cast<size_t>(cell)] >> n & 1u)) continue;
        const int g = cage[static_cast<size_t>(cell)];
        if (g < 0) {
          one_cage = false;
          break;
        }
        gruppo = g;
        if (first < 0) {
          first = g;
        } else if (g != first) {
          one_cage = false;
          break;
        }
      }
      if (first < 0 || !one_cage) continue;
      const auto G = static_cast<size_t>(first);
      if (!loaded[G]) {
        loaded.set(G);
        sizes[G] = m.cage_size(first);
        for (int k = 0; k < sizes[G]; ++k) lists[G][static_cast<size_t>(k)] = m.cage_cell(first, k + 1);
      }
      // The worker finds something in a cell of the cage outside the unit that holds the digit,
      // or has no candidate left.
      bool quiet = true;
      int last = -1;
      for (int k = 0; k < sizes[G] && quiet; ++k) {
        const int cell = lists[G][static_cast<size_t>(k)];
        if (cell < 0) continue;
        last = cell;
        if (unit_of(kind, cell) == u) continue;
        const unsigned bits = cand[static_cast<size_t>(cell)];
        quiet = !(bits >> n & 1u) && bits != 0;
      }
      if (quiet) {
        if (last >= 0) cella = last;
        counter = 0;
        continue;
      }
      m.numero = std::string(1, static_cast<char>('0' + n));
      m.indice = indice;
      m.gruppo = gruppo;
      m.cella = cella;
      m.contatoredimessaggio = counter;
      call_worker(m, kind, first, n, u);
      cella = m.cella;
      counter = m.contatoredimessaggio;
      plain = read_candidates();
    }
  }
  if (plain) {
    m.indice = indice;
    m.gruppo = gruppo;
    m.cella = cella;
    m.contatoredimessaggio = counter;
  }
  unit_variable = 9;
  m.numero = "10";
  return true;
}

// The driver: every unit, every digit (see scan_digit).
void cage_line_scan(Main& m, UnitKind kind, int& unit_variable) {
  if (m.memos_enabled && scan_plain(m, kind, unit_variable)) return;
  for (int u = 0; u <= 8; ++u) {
    unit_variable = u;
    for (int n = 1; n <= 9; ++n) scan_digit(m, kind, u, n);
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
