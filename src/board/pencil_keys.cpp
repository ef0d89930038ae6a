// Board events besides cell entry: a click on a cell's candidate box, and the arrow keys moving
// the focus from digit box to digit box.
#include "board/main.h"

namespace ks {

namespace {
enum ArrowKey { kLeft = 37, kUp = 38, kRight = 39, kDown = 40 };
}  // namespace

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
