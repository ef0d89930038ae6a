// Cell geometry: the row, column and box of a cell.
#include <cmath>

#include "board/main.h"

namespace ks {

// The formulas use floating-point quotients with small offsets; for cells 0..80 they give the
// integer quotients exactly.
int Main::rigadicella(int cell) {
  return static_cast<int>(std::floor((cell + 1) / 9.0 - 0.1)) + 1;
}

int Main::colonnadicella(int cell) {
  return (cell + 1) - 9 * static_cast<int>(std::floor((cell + 1) / 9.0 - 0.1));
}

int Main::settoredicella(int cell) {
  const int r = rigadicella(cell);
  const int c = colonnadicella(cell);
  return 3 * static_cast<int>(std::floor(r / 3.0 - 0.01)) +
         static_cast<int>(std::floor(c / 3.0 - 0.1)) + 1;
}

}  // namespace ks
