// Board events besides cell entry: a click on a cell's candidate box, and the arrow keys moving
// the focus from digit box to digit box.
#include "board/main.h"
#include "platform/text.h"

namespace ks {

namespace {
enum ArrowKey { kLeft = 37, kUp = 38, kRight = 39, kDown = 40 };
}  // namespace

// A click on the candidates brings the cell back to its digit box with the digit palette around
// it. While the cage window is open it also shows the cell's cage there; while "candidati
// modificabili manualmente" is ticked that is all it does.
void Main::Text2_Click(int Index) {
  if (Index < 0 || Index >= kCells) return;
  if (frmgeneratore.visible()) {
    const Value& g = gruppodicella[Index];
    mostra_somme_gruppo(g.is_number() ? g.as_int() : -1);
  }
  if (Check2.value() == 1) return;
  colori = false;
  show_candidates_but(Index);
  cella = Index;
  show_palette(Index);
}

// "candidati modificabili manualmente": while ticked, the candidate boxes take the player's typing.
void Main::Check2_Click() {
  const bool editable = Check2.value() == 1;
  for (int i = 0; i < kCells; ++i) Text2[i].set_locked(!editable);
}

// The player edits a cell's candidates by hand: only the digits 1..9 stay, ascending, each once.
// A filled cell keeps its digit, and an edit that leaves no candidate is refused. Digits given
// back make the stored combinations stale; the techniques then work from the edited candidates.
// Example: "9 315" -> "1359".
void Main::candidates_typed(int cell, const std::string& typed) {
  if (cell < 0 || cell >= kCells || !Text1[cell].text().empty()) return;
  const unsigned mask = digit_mask(typed);
  std::string edited;
  for (int d = 1; d <= 9; ++d)
    if (mask & (1u << d)) edited += static_cast<char>('0' + d);
  if (edited.empty()) return;
  if (mask & ~candidate_mask(cell)) forget_combinations();
  Text2[cell].set_text(edited);
}

// Left and right walk the cells in reading order, wrapping from the last cell to the first;
// up and down stay in the column, wrapping between the bottom and the top row. Any other key
// leaves the focus where it is, so a digit typed into a cell stays in that cell. The focus goes
// to the digit box of the cell reached, whatever box it showed, so that the next digit typed
// lands there; the cell left behind closes its palette and, with the pencil marks on and no
// digit, shows its candidates again.
// Example: left from r2c1 (9) -> r1c9 (8); up from r1c5 (4) -> r9c5 (76).
void Main::Text1_KeyDown(int Index, int KeyCode) {
  if (Index < 0 || Index >= kCells) return;
  int target;
  switch (KeyCode) {
    case kLeft:
      target = Index == 0 ? 80 : Index - 1;
      break;
    case kUp:
      target = Index <= 8 ? Index + 72 : Index - 9;
      break;
    case kRight:
      target = Index == 80 ? 0 : Index + 1;
      break;
    case kDown:
      target = Index >= 72 ? Index - 72 : Index + 9;
      break;
    default:
      return;
  }
  hide_palette();
  show_candidates_but(target);
}

// The cell kept takes the keys, which is what keeps its digit box shown (show_box); every other
// cell shows the box the pencil marks ask for.
void Main::show_candidates_but(int keep) {
  Text1[keep].set_focus();
  show_boxes();
}

}  // namespace ks
