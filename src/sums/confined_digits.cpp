// Confined digits in a cage: a digit the cage must hold, whose places inside the cage lie in one
// row, box or column, is removed from the rest of that unit.
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "sums/cage_cells.h"

namespace ks {

namespace {

// The first removal of a worker call: the header in the log and the hint line, the gate in step
// mode. False when the user refused the step at the gate; `after` is the hint shown once the step
// goes ahead ("eliminato il " or "elimino il ").
bool first_removal(Main& m, int gruppo, char d, const char* after) {
  if (m.contatoredimessaggio != 0 || !m.explains()) return true;
  const bool trial = m.calling1 == mode::kTrial;
  const std::string header =
      std::string("POSIZIONE OBBLIGATA ") + d + " nel gruppo " + m.rc(m.indice);
  if (!trial) {
    m.log_line("--------------------");
    m.log_line(header);
  }
  m.txthint.set_text(header);
  m.txthint.set_visible(true);
  if (m.calling.empty() && !m.step_gate(std::array{m.indice}, gruppo)) return false;
  m.txthint.set_text(std::string(after) + d + " da");
  if (!trial) m.log_line(std::string(" * elimino il numero ") + d + " da ");
  m.modificato = true;
  m.contatoredimessaggio = 1;
  return true;
}

// Names a changed cell on the hint line and at the end of the log's last line.
void name_cell(Main& m, int cell, bool comma_in_hint) {
  const std::string where = " " + m.rc(cell);
  m.txthint.set_text(m.txthint.text() + where + (comma_in_hint ? "," : ""));
  if (m.calling1 != mode::kTrial) m.log_append(where + ",");
}

// Cuts d out of a cell's candidates; true when the cell still has one.
bool remove_digit(Main& m, int cell, char d) {
  const std::string cut = cut_first(m.Text2[cell].text(), d);
  m.Text2[cell].set_text(cut);
  return !cut.empty();
}

// True when every cell of the cage that still has d as a candidate lies in unit `unit` of the
// table (row, column or box of each cell).
bool confined_to(const Main& m, int gruppo, int n, char d, const std::array<int, kCells>& table,
                 int unit) {
  for (int k = 1; k <= n; ++k) {
    const int cell = m.cage_cell(gruppo, k);
    if (cell >= 0 && m.has_candidate(cell, d) && table[cell] != unit) return false;
  }
  return true;
}

}  // namespace

// Confined digits. A digit the cage must hold (in every one of its combinations) has to stand in
// one of the cage's cells that still has it; when all of those lie in one row, box or column,
// the digit stands in that unit inside the cage, so no other cell of the unit can hold it.
// The units tested are always those of the cage's first cell, row, box and column in turn.
// Example: cage {r2c1, r2c2, r3c1} needs 9, only r2c1 and r2c2 have it -> 9 leaves r2c3..r2c9.
void Main::verifica_posizioni_obbligate_gruppo(int cage, const std::string& numeri) {
  modificato = false;
  const int first = cage_cell(cage, 1);
  if (first < 0) return;
  int n = elementigruppo[cage].as_int();
  if (n > 7) n = 7;
  if (n < 1) return;
  // The three units in the order they are tried: each cell's unit number (1..9) and the shared
  // variable that keeps the unit of the cage's first cell.
  const struct {
    UnitKind kind;
    const std::array<int, kCells>& of_cell;
    int& unit;
  } units[] = {{UnitKind::Row, rigacella, riga},
               {UnitKind::Box, settorecella, settore},
               {UnitKind::Column, colonnacella, colonna}};
  for (const char d : numeri) {
    contatoredimessaggio = 0;
    for (const auto& u : units) {
      u.unit = u.of_cell[first];
      if (!confined_to(*this, cage, n, d, u.of_cell, u.unit)) continue;
      posizione_obbligata(u.kind, cage, d, unit_from_number(u.unit));
      if (!problema) continue;
      if (incongruenza) {
        if (u.kind == UnitKind::Column)
          log_line(" IMPOSSIBILE , somma illegale nel gruppo " + rc(first));
        else
          log_line(std::string(" IMPOSSIBILE , l'eliminazione del numero ") + d +
                   " crea una cella vuota");
      }
      return;
    }
  }
}

// Removes d from the cells of the row, box or column of index `unit` (0..8) outside the cage: the
// program's posizione_obbligata_riga, posizione_obbligata_settore and posizione_obbligata_colonna,
// which differ only in the words of the hint: a column's removal reads "elimino il", the others
// "eliminato il", and a column's cells are listed with commas.
void Main::posizione_obbligata(UnitKind kind, int g, char d, int unit) {
  indice = cage_cell(g, 1);
  contatoredimessaggio = 0;
  if (indice < 0 || unit < 0 || unit > 8) return;
  const bool column = kind == UnitKind::Column;
  for (const int cell : unit_cells(kind, unit)) {
    if (cage_of(cell) == g || !has_candidate(cell, d)) continue;
    if (!first_removal(*this, g, d, column ? "elimino il " : "eliminato il ")) return;
    name_cell(*this, cell, column);
    modificato = true;
    if (!remove_digit(*this, cell, d)) {
      problema = true;
      return;
    }
  }
}

}  // namespace ks
