// The BUG step (bivalue universal grave plus one): the one cell with three candidates on a
// board where every other empty cell has two.
#include <array>
#include <string>

#include "board/main.h"
#include "techniques/classic.h"

namespace ks {

// A BUG position: every empty cell has exactly two candidates and every digit is a candidate of
// none or exactly two empty cells of each row, column and box. Such a position has no solution
// or at least two: taking in every cell the other candidate turns one solution into another. On
// a board whose puzzle has one solution, a position that is a BUG but for one cell of three
// candidates {a, b, x} (the x making it three times a candidate in that cell's row, column and
// box, a and b twice) can only be solved with x in that cell. Cage sums break the argument (the
// other solution need not keep them), so a board with cages has no BUG step.
// Example: all empty cells bivalue but r4c6 = 358, the 5 three times a candidate in row 4,
// column 6 and box 5, the 3 and the 8 twice  ->  r4c6 = 5.
void Main::cerca_bug(int& cell, int& digit) {
  cell = kNoCell;
  int found = -1;
  for (int i = 0; i < kCells; ++i) {
    if (cage_of(i) >= 0) return;
    if (!Text1[i].text().empty()) continue;
    const size_t n = Text2[i].text().size();
    if (n == 2) continue;
    if (n != 3 || found >= 0) return;
    found = i;
  }
  if (found < 0) return;

  // count[kind][u][d]: the empty cells of unit u holding candidate d. An empty cell's candidate
  // that a peer already shows placed would let the other solution break a given: no BUG then.
  std::array<std::array<std::array<int, 10>, 9>, 3> count{};
  for (int i = 0; i < kCells; ++i) {
    if (!Text1[i].text().empty()) continue;
    for (const char d : Text2[i].text()) {
      if (d < '1' || d > '9') return;
      for (const int p : peers(i))
        if (Text1[p].text().size() == 1 && Text1[p].text()[0] == d) return;
      for (const UnitKind kind : {UnitKind::Row, UnitKind::Column, UnitKind::Box})
        ++count[static_cast<size_t>(kind)][static_cast<size_t>(unit_of(kind, i))][d - '0'];
    }
  }

  const std::string& extra = Text2[found].text();
  int three = 0;
  for (const UnitKind kind : {UnitKind::Row, UnitKind::Column, UnitKind::Box}) {
    for (int u = 0; u <= 8; ++u) {
      const bool own = unit_of(kind, found) == u;
      for (int d = 1; d <= 9; ++d) {
        const int n = count[static_cast<size_t>(kind)][static_cast<size_t>(u)][d];
        const bool candidate = own && has_char(extra, static_cast<char>('0' + d));
        if (n == 3 && candidate) {
          if (three != 0 && three != d) return;
          three = d;
        } else if (n != 0 && n != 2) {
          return;
        }
      }
    }
  }
  // The x must make three in the row, in the column and in the box.
  for (const UnitKind kind : {UnitKind::Row, UnitKind::Column, UnitKind::Box})
    if (three == 0 ||
        count[static_cast<size_t>(kind)][static_cast<size_t>(unit_of(kind, found))][three] != 3)
      return;
  cell = found;
  digit = three;
}

// The step: the cell is shown, and after the green light its digit is placed. The red light
// leaves the board as it was; nothing found changes nothing.
void Main::regola_bug() {
  origine = "bug";
  modificato = false;
  int cell = kNoCell;
  int digit = 0;
  cerca_bug(cell, digit);
  if (cell >= kCells) return;
  modificato = true;
  const std::string d = classic::digit_text(static_cast<char>('0' + digit));
  Text5.set_text(d);
  txthint.set_text("BUG in " + rc(cell));
  if (calling.empty() && !step_gate(std::array{cell})) return;
  txthint.set_text("inserito " + d + " in " + rc(cell));
  place_digit(cell, d);
}

}  // namespace ks
