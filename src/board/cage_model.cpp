// Safe reads of the cage model: the cells listed for a cage, its load-time layout, the cage of a
// cell; and the forgetting of combination tables that candidates given back have made stale.
#include <algorithm>

#include "board/main.h"
#include "platform/text.h"

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

// The cage's cells are the cells whose gruppodicella names it; the load-time layout only gives
// their order. So a layout left from an earlier puzzle, or one that a generator repair has
// outgrown, never adds a foreign cell nor loses one of the cage's own.
// Example: layout {10, 9} of cage 4, cells 9, 10 and 18 in cage 4 -> 10, 9, 18.
int Main::cage_members(int g, std::array<int, kMaxCageCells>& cells) const {
  if (g < 0 || g >= kCageSlots) return 0;
  std::array<bool, kCells> taken{};
  int count = 0;
  const auto take = [&](int c) {
    if (c < 0 || taken[static_cast<size_t>(c)] || cage_of(c) != g || count == kMaxCageCells) return;
    taken[static_cast<size_t>(c)] = true;
    cells[static_cast<size_t>(count++)] = c;
  };
  const int n = layout_size(g);
  for (int k = 1; k <= n; ++k) take(layout_cell(g, k));
  for (int c = 0; c < kCells; ++c) take(c);
  return count;
}

double Main::full_sum(int g) const {
  std::array<int, kMaxCageCells> cells{};
  const int n = cage_members(g, cells);
  double sum = sommagruppo[static_cast<size_t>(g)].num();
  for (int k = 0; k < n; ++k) sum += val(Text1[cells[static_cast<size_t>(k)]].text());
  return sum;
}

void Main::keep_layout(int g, int n) {
  if (g < 0 || g >= kCageSlots) return;
  n = std::clamp(n, 0, kMaxCageCells);
  const auto G = static_cast<size_t>(g);
  elementioriginali[G] = n;
  for (size_t k = 1; k <= static_cast<size_t>(kMaxCageCells); ++k)
    celleoriginali[G][k] = k <= static_cast<size_t>(n) ? cellegruppo[G][k] : Value();
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
