// Safe reads of the cage model: the cells listed for a cage, its load-time layout, the cage of a
// cell; and the forgetting of combination tables that candidates given back have made stale.
#include <algorithm>

#include "board/main.h"

namespace ks {

int Main::layout_cell(int g, int k) const {
  if (g < 0 || g >= kCageSlots || k < 1 || k > kMaxCageCells) return -1;
  return cell_number(celleoriginali[static_cast<size_t>(g)][static_cast<size_t>(k)]);
}

int Main::layout_size(int g) const {
  if (g < 0 || g >= kCageSlots) return 0;
  const Value& n = elementioriginali[static_cast<size_t>(g)];
  if (!n.is_number()) return 0;
  return std::clamp(n.as_int(), 0, kMaxCageCells);
}

bool Main::in_cage(int cell, int g) const {
  // A real cage is named by gruppodicella; a derived cage only by its cell list, since its cells
  // keep the numbers of the real cages they belong to.
  if (cage_of(cell) == g && g >= 0) return true;
  const int n = cage_size(g);
  for (int k = 1; k <= n; ++k)
    if (cage_cell(g, k) == cell) return true;
  return false;
}

void Main::forget_combinations() {
  for (int g = 0; g < kCageSlots; ++g) {
    numerosomme[static_cast<size_t>(g)] = Value::empty();
    numeriobbligati[static_cast<size_t>(g)].clear();
  }
}

}  // namespace ks
