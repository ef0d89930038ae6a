// Cage against cage: a digit required by two cages whose places lie, in both, on the same two rows
// (columns) leaves every other cell of those two lines.
#include <algorithm>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "sums/cage_cells.h"

namespace ks {

namespace {

// True when the two cages share no cell (derived cages can overlap real ones).
bool disjoint(const Main& m, int g1, int g2) {
  const int n1 = m.cage_size(g1), n2 = m.cage_size(g2);
  for (int a = 1; a <= n1; ++a)
    for (int b = 1; b <= n2; ++b)
      if (m.cage_cell(g1, a) == m.cage_cell(g2, b)) return false;
  return true;
}

}  // namespace

// Cage against cage.
// Pattern: digit d is required by cages g1 and g2 (it is in every sum combination of both), and in
// each of them the cells that still hold d lie on the same two rows A and B, as two runs in slot
// order. Why it holds: each cage places d on A or B, in different cells, and rows A and B hold d
// only twice, so both d's of A and B are in the two cages: every other cell of A and B loses d.
// Columns likewise.
// Example: 5 required in cage 3 {r2c1, r3c1, r4c1} with 5 at r2c1 and r4c1, and in cage 7
// {r4c5, r3c5, r2c5} with 5 at r4c5 and r2c5  ->  r2c8 and r4c9, still holding 5, lose it.
void Main::interazione_gruppo_gruppo() {
  modificato = false;
  const bool logging = calling1 != mode::kTrial;
  const bool explaining = explains();
  // Every real cage and every derived one; a loaded layout leaves gruppo1 at 0 until the first
  // derivation, while the real cages already go up to gruppi.
  const int last = std::min(std::max(gruppi, gruppo1), kCageSlots - 1);

  for (int g1 = 0; g1 <= last; ++g1) {
    gruppo = g1;
    const std::string required = numeriobbligati[static_cast<size_t>(g1)];
    for (const char d : required) {
      if (d < '1' || d > '9') continue;
      numero = std::string(1, d);
      contatoredimessaggio = 0;

      for (const bool rows : {true, false}) {
        const sums::LineRuns r = sums::line_runs(*this, g1, d, rows);
        if (r.runs != 2) continue;
        for (int g2 = g1 + 1; g2 <= last; ++g2) {
          if (!has_char(numeriobbligati[static_cast<size_t>(g2)], d)) continue;
          const sums::LineRuns s = sums::line_runs(*this, g2, d, rows);
          if (s.runs != 2) continue;
          if (!((s.first == r.first && s.second == r.second) ||
                (s.first == r.second && s.second == r.first)))
            continue;
          if (!disjoint(*this, g1, g2)) continue;

          for (const int line : {r.first, r.second}) {
            (rows ? riga : colonna) = line;
            const UnitKind line_kind = rows ? UnitKind::Row : UnitKind::Column;
            for (int i = 0; i < 9; ++i) {
              const int cell = unit_cells(line_kind, unit_from_number(line))[i];
              cella = cell;
              if (in_cage(cell, g1) || in_cage(cell, g2)) continue;
              if (!has_candidate(cell, d)) continue;
              indice = cell;

              // The header and the gate: in the row pass for an explained run, in the column
              // pass for a step; once per digit of g1.
              if (contatoredimessaggio == 0 && (rows ? explaining : calling.empty())) {
                const std::string header = "INTERAZIONE gruppo " + std::to_string(g2) +
                                           " gruppo " + std::to_string(g1) + " numero " + numero;
                Text5.set_text("");
                if (rows) txthint.set_visible(true);
                txthint.set_text(header);
                if (logging) {
                  log_line("-----------------------");
                  log_line(header);
                }
                if (calling.empty() && !step_gate_cage(g2)) return;
                contatoredimessaggio = 1;
                if (rows) {
                  txthint.set_text("elimino il numero ");
                  if (logging) log_line(" * elimino il numero ");
                } else {
                  txthint.set_text("eliminato il numero ");
                }
              }

              const std::string where = rc(cell);
              txthint.append(numero + " da " + where + " , ");
              if (logging) {
                if (rows)
                  log_append(numero + " da " + where + " , ");
                else
                  log_line(" * elimino il numero " + numero + "da " + where);
              }
              Text2[cell].set_text(cut_first(Text2[cell].text(), d));
              modificato = true;
              if (Text2[cell].text().empty()) {
                problema = true;
                return;
              }
            }
          }
        }
      }
    }
    if (modificato) return;
  }
}

}  // namespace ks
