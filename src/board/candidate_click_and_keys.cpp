// Board events besides cell entry: a click on a cell's candidate box, and the arrow keys moving
// the focus from digit box to digit box.
#include "board/main.h"

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
  Text2[Index].set_visible(false);
  Text1[Index].set_visible(true);
  Text1[Index].set_focus();
  cella = Index;
  show_palette(Index);
}

// Left and right walk the cells in reading order, wrapping from the last cell to the first;
// up and down stay in the column, wrapping between the bottom and the top row. Any other key
// leaves the focus where it is, so a digit typed into a cell stays in that cell.
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
  Text1[target].set_focus();
}

}  // namespace ks
