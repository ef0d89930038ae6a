// Required digits of cages: a digit that every sum combination of a small cage contains, confined
// inside the cage to one line or to two lines of a band, leaves the cells that see all its places.
#include <algorithm>
#include <array>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "sums/cage_cells.h"

namespace ks {

// Required digit confined to one line, or to two lines of a band.
// Pattern: d occurs in every sum combination of cage g (numeriobbligati), so g places d in one of
// its cells that still hold d, its places. (1) The places lie in one row (column): the other cells
// of that row (column) lose d. (2) They lie in rows P and Q of one band, and a box X of the band
// that is neither the box of the first place nor the cage's other box has no d left on the band's
// third row: X takes d on P or Q, the cage on the other one, and the cells of P and Q outside X
// and outside the cage lose d. Columns and stacks likewise.
// Why it holds: whichever place takes d, a cell that sees every place (same row, column or box)
// cannot hold d; a cell is cleared only when it does, which keeps the band case right also when
// the places reach into X.
// Example: cage {r1c1, r1c2, r2c1} of sum 6 (only 123): its 2 stands only at r1c1 and r1c2  ->
// r1c3..r1c9 lose 2. Band: cage {r1c1, r2c1} of sum 3 (12), its 1 at both cells, box 2 without 1
// on row 3  ->  r2c2, r2c3 and r1c2, r1c3 (box 1, outside the cage) lose 1.
void Main::numeri_obbligati_nel_gruppo() {
  // Only a single step or a solve changes the board here; other callers get nothing.
  if (!explains()) return;
  const bool logging = calling1 != mode::kTrial;

  // The box of the first place of the digit, and the box of the last cage cell found outside it.
  // Both carry over from digit to digit and from cage to cage (the row pass keeps the first box
  // until a place sets it; the column pass starts each digit from 10, no box).
  int first_box = 0;
  int other_box = 0;

  // Every real cage and every derived one; a loaded layout leaves gruppo1 at 0 until the first
  // derivation, while the real cages already go up to gruppi.
  const int last = std::min(std::max(gruppi, gruppo1), kCageSlots - 1);
  for (int g = 0; g <= last; ++g) {
    if (!elementigruppo[static_cast<size_t>(g)].lt(6)) continue;
    const std::string required = numeriobbligati[static_cast<size_t>(g)];
    if (required.empty()) continue;
    const int size = cage_size(g);

    for (const bool rows : {true, false}) {
      // The i-th cell (0..8) of line L (1..9): rows left to right, columns top to bottom.
      const UnitKind line_kind = rows ? UnitKind::Row : UnitKind::Column;
      const auto line_cell = [line_kind](int L, int i) {
        return unit_cells(line_kind, unit_from_number(L))[i];
      };

      for (const char d : required) {
        if (d < '1' || d > '9') continue;
        const std::string digit(1, d);
        contatoredimessaggio = 0;
        if (!rows) first_box = 10;

        // The places of d in slot order, the box of the first one, and the runs of places on
        // one line.
        std::array<int, kMaxCageCells> places{};
        int np = 0;
        for (int k = 1; k <= size; ++k) {
          const int cell = cage_cell(g, k);
          if (cell < 0) continue;
          cella = cell;
          if (has_candidate(cell, d)) {
            if (np == 0) first_box = settorecella[static_cast<size_t>(cell)];
            places[static_cast<size_t>(np++)] = cell;
          }
          if (settorecella[static_cast<size_t>(cell)] != first_box)
            other_box = settorecella[static_cast<size_t>(cell)];
        }
        const sums::LineRuns lines = sums::line_runs(*this, g, d, rows);
        const int runs = lines.runs, first_line = lines.first, second_line = lines.second;

        // A cell may lose d when it is outside the cage, still holds d and sees every place.
        const auto removable = [&](int e) {
          if (!has_candidate(e, d) || in_cage(e, g)) return false;
          for (int i = 0; i < np; ++i) {
            const auto p = static_cast<size_t>(places[static_cast<size_t>(i)]);
            const auto c = static_cast<size_t>(e);
            if (rigacella[c] != rigacella[p] && colonnacella[c] != colonnacella[p] &&
                settorecella[c] != settorecella[p])
              return false;
          }
          return true;
        };
        // Removes d from e, with the header and the gate before the first removal of the digit
        // in this pass. box is X in the band case, 0 on a single line. False when the procedure
        // must end: "no" at the gate, or a cell left without candidates.
        const auto remove = [&](int e, int box) {
          indice = e;
          if (contatoredimessaggio == 0) {
            Text5.set_text(digit);
            txthint.set_visible(true);
            std::string header;
            if (box == 0) {
              const int tail = cage_cell(g, size);
              header = "numero obbligato " + digit + " nel gruppo " + (tail >= 0 ? rc(tail) : "");
            } else {
              header = "INTERAZIONE gruppo " + std::to_string(g) + " settore " +
                       std::to_string(box) + " numero " + digit;
            }
            txthint.set_text(header);
            if (logging) {
              if (box != 0) log_line("-----------------------");
              log_line(header);
            }
            if (calling.empty() && !step_gate_cage(g)) return false;
            txthint.set_text((box == 0 ? "eliminato il numero " : "elimino il numero ") + digit);
            if (logging) log_line(" * elimino il numero " + digit);
          }
          contatoredimessaggio = 1;
          const std::string where = rc(e);
          txthint.append(" da " + where + " , ");
          if (logging) log_append((box == 0 && rows ? "da " : " da ") + where);
          Text2[e].set_text(cut_first(Text2[e].text(), d));
          modificato = true;
          if (Text2[e].text().empty()) {
            problema = true;
            return false;
          }
          return true;
        };
        const auto set_line = [&](int L) { (rows ? riga : colonna) = L; };

        if (runs == 1) {
          set_line(first_line);
          for (int i = 0; i < 9; ++i) {
            const int e = line_cell(first_line, i);
            if (removable(e) && !remove(e, 0)) return;
          }
        } else if (runs == 2 &&
                   unit_from_number(first_line) / 3 == unit_from_number(second_line) / 3) {
          const int band = unit_from_number(first_line) / 3;
          const int third = 9 * band + 6 - first_line - second_line;
          for (int i = 0; i < 3; ++i) {
            const int box = unit_number(rows ? 3 * band + i : band + 3 * i);
            if (box == first_box || box == other_box) continue;
            settore = box;
            // The box's three cells on the band's third line.
            const int t = unit_from_number(third), b = unit_from_number(box);
            bool third_has_d = false;
            for (int j = 0; j < 3 && !third_has_d; ++j) {
              const int cell = rows ? 9 * t + 3 * (b % 3) + j : 9 * (3 * (b / 3) + j) + t;
              third_has_d = has_candidate(cell, d);
            }
            if (third_has_d) continue;
            for (const int L : {second_line, first_line}) {
              set_line(L);
              for (int k = 0; k < 9; ++k) {
                const int e = line_cell(L, k);
                if (settorecella[static_cast<size_t>(e)] == box) continue;
                if (removable(e) && !remove(e, box)) return;
              }
            }
          }
        }
      }
    }
  }
}

}  // namespace ks
