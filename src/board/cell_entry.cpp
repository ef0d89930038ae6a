// Cell entry: what follows every change of a cell's digit, whoever writes it (the player, a
// technique, a loader): counts, cage bookkeeping, candidates of the peers, contradictions, the
// cage's sum check and the completed grid.
#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

#include "board/main.h"
#include "platform/text.h"

namespace ks {

namespace {
// What cell entry writes on the hint line: a digit outside its cell's candidates (the sum check
// may append its cuts to it), and a full grid that breaks a rule (the fault follows).
constexpr std::string_view kWrongDigit = "  numero errato";
constexpr std::string_view kFaultyFullGrid = "schema completo, ma con errori: ";

bool is_digit_text(const std::string& t) { return t.size() == 1 && t[0] >= '1' && t[0] <= '9'; }

// The box shows the number as std::to_string writes it (every digit entry writes two counts).
void set_number_text(TextBox& box, int n) {
  char buf[16];
  if (n >= 0 && n <= 99) {
    buf[0] = static_cast<char>('0' + n / 10);
    buf[1] = static_cast<char>('0' + n % 10);
    box.set_text(n < 10 ? std::string_view(buf + 1, 1) : std::string_view(buf, 2));
    return;
  }
  const auto end = std::to_chars(buf, buf + sizeof buf, n).ptr;
  box.set_text(std::string_view(buf, static_cast<size_t>(end - buf)));
}
}  // namespace

void Main::give_back_to_cage(int cell, int digit) {
  const int g = cage_of(cell);
  if (g < 0 || cage_being_entered(g)) return;
  sommagruppo.set(g, sommagruppo[g].plus(digit));
  // The empty cells in the order the cage was entered.
  std::array<int, kMaxCageCells> cells{};
  const int members = cage_members(g, cells);
  int n = 0;
  for (int k = 0; k < members; ++k) {
    const int c = cells[static_cast<size_t>(k)];
    if (Text1[c].text().empty()) cellegruppo.set(g, ++n, c);
  }
  elementigruppo.set(g, n);
}

void Main::place_digit(int cell, const std::string& digit) {
  if (cell < 0 || cell >= kCells) return;
  Text1[cell].set_text(digit);
  show_box(cell);
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
  // The digit the box held (its shown text is always a digit or empty).
  const bool had_digit = !shown_digit[Index].empty();
  const int old_digit = had_digit ? shown_digit[Index][0] - '0' : 0;
  // A digit written over another one is the erasure of the old digit followed by the placement
  // of the new one.
  if (had_digit && !now.empty() && !ins_dati) {
    Text1[Index].set_text("");
    Text1[Index].set_text(now);
    return;
  }
  shown_digit[Index] = now;

  // 1. Count the filled cells.
  esposti += (now.empty() ? 0 : 1) - (had_digit ? 1 : 0);
  set_number_text(txtesposti, esposti);
  set_number_text(txtvuoti, 81 - esposti);
  // A grid with an empty cell is not finished, however it was before, and the fault of the full
  // grid it was is no longer on the board.
  if (esposti < kCells) {
    finito = false;
    if (txthint.text().starts_with(kFaultyFullGrid)) txthint.set_text(" ");
  }

  // 2. Bulk fill: only the count.
  if (ins_dati) {
    hide_palette();
    return;
  }
  // However the entry ends, the cell then shows the box the pencil marks ask for: its digit box
  // while it holds a digit, its candidates again once emptied (by the player, or by a conflict
  // that takes the placement back).
  struct ShowBoxAtEnd {
    Main& m;
    int cell;
    ~ShowBoxAtEnd() { m.show_box(cell); }
  } show_box_at_end{*this, Index};

  // 3. The cell.
  const int R = rigacella[Index], C = colonnacella[Index];
  numero = now;
  const char d = now.empty() ? '\0' : now[0];
  const int digit = now.empty() ? 0 : d - '0';

  // In the player's own play a digit that stays in spite of a contradiction is still taken from
  // every cage mate and peer, a conflicting one included (its candidates then show the
  // contradiction): a placed digit is never a candidate of another cell that sees it. A solve,
  // a count or a generation stops at the first contradiction, which is all it needs.
  const bool classico = calling1 == mode::kClassico;
  const bool players_play = !solve_running && !generation_running && !generatorecontinuo && !classico;
  // A digit the player's play keeps in spite of a contradiction may be the one that fills the
  // grid: the grid is then full all the same, and told so with its fault.
  const auto kept_digit = [&] {
    if (!players_play || esposti != kCells) return;
    show_box(Index);
    completion_check();
  };

  // 4. The cage: lower its remaining sum and count, keep its list to the empty cells, and take
  // the digit from the cage mates. An erasure gives back what the placement took.
  int g = -1;
  if (!classico && cage_of(Index) >= 0 && !cage_being_entered(cage_of(Index))) {
    g = cage_of(Index);
    if (now.empty()) {
      give_back_to_cage(Index, old_digit);
    } else {
      // The list keeps exactly the cage's empty cells, also when the digit is wrong.
      const int before = cage_size(g);
      elementigruppo.set(g, elementigruppo[g].minus(1));
      sommagruppo.set(g, sommagruppo[g].minus(digit));
      int n = 0;
      for (int k = 1; k <= before; ++k) {
        const int c = cage_cell(g, k);
        if (c >= 0 && Text1[c].text().empty()) cellegruppo.set(g, ++n, c);
      }
      if (sommagruppo[g].lt(0)) {
        problema = true;
        if (incongruenza) log_line(" IMPOSSIBILE , somma negativa");
        if (!players_play) return;
      }
      const int mates = cage_size(g);
      for (int k = 1; k <= mates; ++k) {
        const int m = cage_cell(g, k);
        if (m < 0 || m == Index) continue;
        if (!has_candidate(m, d)) continue;
        cut_candidate(m, d);
        if (Text2[m].text().empty()) {
          problema = true;
          if (incongruenza) {
            log_line("r" + std::to_string(R) + "c" + std::to_string(C) + "=" + numero + ", ");
            log_append(" IMPOSSIBILE, valore non legale nel gruppo");
          }
          if (!players_play) return;
        }
      }
    }
  }

  // 5. The digit must be one of the cell's candidates.
  if (!now.empty() && !has_candidate(Index, d)) {
    txthint.set_visible(true);
    txthint.set_text(std::string(kWrongDigit));
    if (incongruenza) log_append(" IMPOSSIBILE, numero già presente nel dominio");
    problema = true;
    kept_digit();
    return;
  }

  // 6. The digit is accepted.
  hide_palette();

  if (now.empty()) {
    // 7. Erased: the candidates follow from the digits on the board and every cage's sum limits
    // again (the combinations worked out while the digit stood may exclude digits possible
    // again). A grid without cages yet has its classic candidates only.
    if (calling1 == mode::kClassico)
      calcola_candidati();
    else
      refresh_candidates();
  } else {
    // 8. The cell's candidate is its digit, and the cell shows the digit at once (the sum check
    // and the completed grid below may yield); 9. its row, column and box peers lose it.
    Text2[Index].set_text(now);
    show_box(Index);
    // The peers in the order row, column, box (the box's cells outside the row and column:
    // a peer seen twice would have nothing left to lose the second time).
    int conflict = -1;
    UnitKind where = UnitKind::Row;
    const unsigned bit = 1u << digit;
    const auto seen_by = peers(Index);
    for (size_t k = 0; k < seen_by.size(); ++k) {
      const int c = seen_by[k];
      // Told from the bits: a text of ascending distinct digits is d alone when its bits are
      // d's bit alone, and holds d among others when they have d's bit and another. Most peers
      // have neither d nor an odd text and are passed at once.
      const unsigned bits = board_index().candidate_bits(c);
      if (!(bits & (bit | kOddCandidates))) continue;
      if (conflict >= 0 && !players_play) break;
      const bool odd = bits & kOddCandidates;
      const std::string& cand = Text2[c].text();
      if (odd ? cand.size() == 1 && cand[0] == d : bits == bit) {
        if (conflict < 0) {
          conflict = c;
          where = k < 8 ? UnitKind::Row : k < 16 ? UnitKind::Column : UnitKind::Box;
        }
        if (players_play && Text1[c].text().empty()) Text2[c].set_text("");
      } else if (odd ? cand.size() > 1 && has_char(cand, d) : (bits & bit) && bits != bit) {
        cut_candidate(c, d);
      }
    }

    // 10. A peer already holds the digit.
    if (conflict >= 0) {
      problema = true;
      const std::string placed = "introdotto il numero " + now + " nella cella " +
                                 std::to_string(C) + "," + std::to_string(R);
      const std::string other = "ma il numero " + now + " esiste anche nella cella " +
                                std::to_string(colonnacella[conflict]) + "," +
                                std::to_string(rigacella[conflict]);
      switch (where) {
        case UnitKind::Row:
          if (incongruenza) log_line(" IMPOSSIBILE, numero già presente nel dominio");
          if (incongruenza || calling == mode::kRisolvi) {
            kept_digit();
            return;
          }
          Text1[Index].set_text("");  // the erasure gives the candidates back
          return;
        case UnitKind::Column:
          if (incongruenza) log_line(" IMPOSSIBILE");
          if (calling1 != mode::kClassico) {
            kept_digit();
            return;
          }
          if (calling == mode::kRisolvi) {
            nuovo_schema();
            txthint.set_text("SUDOKU NON RISOLVIBILE");
            txthint.set_text(placed);
            txthint.set_text(other);
            return;
          }
          Text1[Index].set_text("");
          return;
        case UnitKind::Box:
          if (incongruenza) {
            log_append(" IMPOSSIBILE");
            log_line(" numero già presente nella regione");
          }
          if (calling1 != mode::kClassico) {
            kept_digit();
            return;
          }
          if (calling == mode::kRisolvi) {
            txthint.set_text("SUDOKU NON RISOLVIBILE");
            nuovo_schema();
            txthint.set_text(placed);
            txthint.set_text(other);
          }
          return;
      }
    }
  }

  // 11. The cage's candidates follow its remaining sum (an erasure has done so for every cage).
  if (g >= 0 && !now.empty()) {
    origine1 = mode::kModificatext1;
    controllo_somme(g);
    origine1 = "";
  }

  completion_check();
}

// 12. The completed grid.
void Main::completion_check() {
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
    hide_palette();
    // A full grid is finished only when it keeps every rule; the player hears it once, not at
    // every grid that a count, a trial or the generator fills on the way.
    const bool searching = (solve_running && calling1 == mode::kTrial) ||
                           calling1 == mode::kClassico || generation_running || generatorecontinuo;
    if (const std::string fault = board_fault(); !fault.empty()) {
      if (!searching) {
        txthint.set_visible(true);
        txthint.set_text(std::string(kFaultyFullGrid) + fault);
      }
      return;
    }
    if (!searching) {
      // The finished grid has no error left to tell: what cell entry said of a wrong digit or of
      // the full grid goes, as a new puzzle clears the line. A hint's own text stays.
      const std::string& shown = txthint.text();
      if (shown.starts_with(kWrongDigit) || shown.starts_with(kFaultyFullGrid)) txthint.set_text(" ");
      rt.Beep();
    }
    finito = true;
    stop_play_clock();
  } else {
    esposti = full;
  }
}

}  // namespace ks
