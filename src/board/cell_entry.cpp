// Cell entry: what follows every change of a cell's digit, whoever writes it (the player, a
// technique, a loader): counts, cage bookkeeping, candidates of the peers, contradictions, the
// cage's sum check and the completed grid.
#include <algorithm>

#include "board/main.h"
#include "platform/text.h"

namespace ks {

namespace {
bool is_digit_text(const std::string& t) { return t.size() == 1 && t[0] >= '1' && t[0] <= '9'; }
}  // namespace

void Main::give_back_to_cage(int cell, int digit) {
  const Value& gv = gruppodicella[cell];
  if (!gv.is_number()) return;
  const int g = gv.as_int();
  sommagruppo[g] = sommagruppo[g].plus(digit);
  // The empty cells in the order the cage was entered: the load-time list, filtered.
  int n = 0;
  bool listed = false;
  const int original = std::min(elementioriginali[g].as_int(), 7);
  for (int k = 1; k <= original; ++k) {
    const Value c = celleoriginali[g][k];
    if (!c.is_number()) continue;
    const int ci = c.as_int();
    if (ci < 0 || ci >= kCells || !gruppodicella[ci].is(g)) continue;
    if (ci == cell) listed = true;
    if (Text1[ci].text().empty() && n < 7) cellegruppo[g][++n] = c;
  }
  // A cage whose load-time list does not hold the cell (it should always do) still gets it back.
  if (!listed && n < 7) cellegruppo[g][++n] = cell;
  elementigruppo[g] = n;
}

void Main::Text1_Change(int Index) {
  const std::string now = Text1[Index].text();
  if (now == shown_digit[Index]) return;  // the box got back the text it held
  // Only a single digit 1..9 or the empty text is a cell's content; anything else (a letter,
  // "57", "0") is refused and the box shows its previous text again.
  if (!now.empty() && !is_digit_text(now)) {
    Text1[Index].set_text(shown_digit[Index]);
    return;
  }
  const std::string old = shown_digit[Index];
  // A digit written over another one is the erasure of the old digit followed by the placement
  // of the new one.
  if (!old.empty() && !now.empty() && !ins_dati) {
    Text1[Index].set_text("");
    Text1[Index].set_text(now);
    return;
  }
  shown_digit[Index] = now;

  // 1. Count the filled cells.
  esposti += (now.empty() ? 0 : 1) - (old.empty() ? 0 : 1);
  txtesposti.set_text(std::to_string(esposti));
  txtvuoti.set_text(std::to_string(81 - esposti));

  // 2. Bulk fill: only the count.
  if (ins_dati) {
    hide_palette();
    return;
  }

  // 3. The cell.
  const int R = rigacella[Index], C = colonnacella[Index], B = settorecella[Index];
  numero = now;
  const char d = now.empty() ? '\0' : now[0];
  const int digit = now.empty() ? 0 : d - '0';

  // 4. The cage: lower its remaining sum and count, keep its list to the empty cells, and take
  // the digit from the cage mates. An erasure gives back what the placement took.
  int g = -1;
  if (calling1 != "classico" && gruppodicella[Index].is_number()) {
    g = gruppodicella[Index].as_int();
    if (now.empty()) {
      give_back_to_cage(Index, old[0] - '0');
    } else {
      const int before = std::clamp(elementigruppo[g].as_int(), 0, 7);
      elementigruppo[g] = elementigruppo[g].minus(1);
      sommagruppo[g] = sommagruppo[g].minus(digit);
      if (sommagruppo[g].lt(0)) {
        problema = true;
        if (incongruenza) log_line(" IMPOSSIBILE , somma negativa");
        return;
      }
      int n = 0;
      for (int k = 1; k <= before; ++k) {
        const Value c = cellegruppo[g][k];
        if (c.is_number() && Text1[c.as_int()].text().empty()) cellegruppo[g][++n] = c;
      }
      const int mates = std::clamp(elementigruppo[g].as_int(), 0, 7);
      for (int k = 1; k <= mates; ++k) {
        if (!cellegruppo[g][k].is_number()) continue;
        const int m = cellegruppo[g][k].as_int();
        if (m == Index) continue;
        const std::string& cand = Text2[m].text();
        if (!has_char(cand, d)) continue;
        Text2[m].set_text(cut_first(cand, d));
        if (Text2[m].text().empty()) {
          problema = true;
          if (incongruenza) {
            log_line("r" + std::to_string(R) + "c" + std::to_string(C) + "=" + numero + ", ");
            log_append(" IMPOSSIBILE, valore non legale nel gruppo");
          }
          return;
        }
      }
    }
  }

  // 5. The digit must be one of the cell's candidates.
  if (!now.empty() && !has_char(Text2[Index].text(), d)) {
    txthint.set_visible(true);
    txthint.set_text("  numero errato");
    if (incongruenza) log_append(" IMPOSSIBILE, numero già presente nel dominio");
    problema = true;
    return;
  }

  // 6. The digit is accepted.
  hide_palette();

  if (now.empty()) {
    // 7. Erased: the candidates follow from the digits on the board again.
    calcola_candidati();
  } else {
    // 8. The cell's candidate is its digit, and the cell shows the digit (not a candidate box
    // that a step may have shown on it); 9. its row, column and box peers lose it.
    Text2[Index].set_text(now);
    Text2[Index].set_visible(false);
    Text1[Index].set_visible(true);
    enum class Unit { Row, Column, Box };
    int conflict = -1;
    Unit where = Unit::Row;
    const auto visit = [&](int c, Unit u) {
      if (conflict >= 0 || c == Index) return;
      const std::string& cand = Text2[c].text();
      if (cand.size() == 1 && cand[0] == d) {
        conflict = c;
        where = u;
      } else if (cand.size() > 1 && has_char(cand, d)) {
        Text2[c].set_text(cut_first(cand, d));
      }
    };
    for (int c = 9 * R - 9; c <= 9 * R - 1; ++c) visit(c, Unit::Row);
    for (int k = 0; k <= 8; ++k) visit(C - 1 + 9 * k, Unit::Column);
    for (int k = 0; k <= 8; ++k) visit(cellesettore[B - 1][k], Unit::Box);

    // 10. A peer already holds the digit.
    if (conflict >= 0) {
      problema = true;
      const std::string placed = "introdotto il numero " + now + " nella cella " +
                                 std::to_string(C) + "," + std::to_string(R);
      const std::string other = "ma il numero " + now + " esiste anche nella cella " +
                                std::to_string(colonnacella[conflict]) + "," +
                                std::to_string(rigacella[conflict]);
      switch (where) {
        case Unit::Row:
          if (incongruenza) {
            log_line(" IMPOSSIBILE, numero già presente nel dominio");
            return;
          }
          if (calling == "risolvi") return;
          Text1[Index].set_text("");
          calcola_candidati();
          return;
        case Unit::Column:
          if (incongruenza) log_line(" IMPOSSIBILE");
          if (calling1 != "classico") return;
          if (calling == "risolvi") {
            nuovo_schema();
            txthint.set_text("SUDOKU NON RISOLVIBILE");
            txthint.set_text(placed);
            txthint.set_text(other);
            return;
          }
          Text1[Index].set_text("");
          calcola_candidati();
          return;
        case Unit::Box:
          if (incongruenza) {
            log_append(" IMPOSSIBILE");
            log_line(" numero già presente nella regione");
          }
          if (calling1 != "classico") return;
          if (calling == "risolvi") {
            txthint.set_text("SUDOKU NON RISOLVIBILE");
            nuovo_schema();
            txthint.set_text(placed);
            txthint.set_text(other);
          }
          return;
      }
    }
  }

  // 11. The cage's candidates follow its remaining sum.
  if (g >= 0) {
    origine1 = "modificatext1";
    controllo_somme(g);
    origine1 = "";
  }

  // 12. The completed grid.
  if (esposti != 81) {
    hide_palette();
    return;
  }
  t1 = rt.Timer();
  tempo.set_text(seconds_text(static_cast<double>(t1) - static_cast<double>(t0)));
  rt.DoEvents();
  int full = 0;
  for (int i = 0; i < kCells; ++i)
    if (Text1[i].text().size() == 1) ++full;
  if (full == 81) {
    rt.Beep();
    finito = true;
    hide_palette();
  } else {
    esposti = full;
  }
}

}  // namespace ks
