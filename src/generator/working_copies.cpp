// The working copies of a cage-layout run: the final renumbering that turns them back into the
// cage model, and the repair's move of a cell into a neighbouring cage.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>
#include <string>

#include "board/main.h"
#include "generator/layout_run.h"
#include "platform/text.h"

namespace ks {

namespace {

// Whether the listed cells are one piece of side neighbours (an empty list is).
bool holds_together(std::span<const int> cells) {
  if (cells.empty()) return true;
  std::array<bool, kMaxCageCells> reached{};
  std::array<int, kMaxCageCells> queue{};
  int head = 0, tail = 0;
  queue[tail++] = 0;
  reached[0] = true;
  while (head < tail) {
    const int a = cells[static_cast<std::size_t>(queue[head++])];
    for (std::size_t j = 0; j < cells.size(); ++j) {
      const int b = cells[j];
      const bool side = std::abs(a - b) == 9 || (std::abs(a - b) == 1 && row_of(a) == row_of(b));
      if (!reached[j] && side) {
        reached[j] = true;
        queue[tail++] = static_cast<int>(j);
      }
    }
  }
  return tail == static_cast<int>(cells.size());
}

}  // namespace

int Main::copy_size(int g) const {
  if (g < 0 || g >= kCageSlots) return 0;
  const Value& n = elementicopia[static_cast<std::size_t>(g)];
  return n.is_number() ? std::clamp(n.as_int(), 0, kMaxCageCells) : 0;
}

int Main::copy_cell(int g, int k) const {
  if (g < 0 || g >= kCageSlots || k < 1 || k > kMaxCageCells) return -1;
  return cell_number(cellecopia[static_cast<std::size_t>(g)][static_cast<std::size_t>(k)]);
}

bool Main::valore_in_adiacenti(const std::string& valore, int gruppoadiacente) const {
  const int n = copy_size(gruppoadiacente);
  for (int i = 1; i <= n; ++i) {
    const int c = copy_cell(gruppoadiacente, i);
    if (c >= 0 && cellesalvate[c] == valore) return true;
  }
  return false;
}

// Cages keep their order and lose the numbers of the emptied ones: cage n takes colour n mod 16
// and its boxes on its first cell. The load-time layout follows the cages, so that the puzzle
// restarts, saves and takes erasures as a loaded one does. Every cell must end in exactly one
// cage that holds together, else the run ends here with a log line instead of a layout with
// holes.
bool Main::renumber_cages(LayoutRun& run) {
  const int old_last = std::min(gruppi, kCells - 1);
  int colour = 0;
  int n = 0;
  for (int g = 0; g <= old_last; ++g) {
    const int size = copy_size(g);
    if (size == 0) continue;
    int k = 0;
    for (int j = 1; j <= size; ++j) {
      const int c = copy_cell(g, j);
      if (c < 0) continue;
      cellegruppo.set(n, ++k, c);
      Text1[c].set_back_color(colore[colour].back_color());
      Text2[c].set_back_color(colore[colour].back_color());
      gruppodicella.set(c, n);
    }
    for (int j = k + 1; j <= kMaxCageCells; ++j) cellegruppo.set(n, j, Value::empty());
    elementigruppo.set(n, k);
    keep_layout(n, k);
    colour = colour == 15 ? 0 : colour + 1;
    show_generated_cage(n, std::max(cage_cell(n, 1), 0), sommacopia[g].text());
    sommagruppo.set(n, sommacopia[g]);
    ++n;
  }
  gruppi = n - 1;
  // The numbers of the dropped cages hold no cage any more.
  for (int g = n; g <= old_last; ++g) {
    textsomma[g].set_visible(false);
    Textgruppo[g].set_visible(false);
    elementigruppo.set(g, Value::empty());
    sommagruppo.set(g, Value::empty());
    for (int j = 1; j <= kMaxCageCells; ++j) cellegruppo.set(g, j, Value::empty());
    keep_layout(g, 0);
  }

  if (const std::string fault = layout_fault(); !fault.empty()) {
    log_generatore(fault + std::to_string(run.tries));
    problema = true;
    livello = 14;
    return false;
  }

  for (int g = 0; g <= gruppi; ++g) {
    elementicopia[g] = elementigruppo[g];
    sommacopia[g] = sommagruppo[g];
    for (int j = 1; j <= kMaxCageCells; ++j) cellecopia[g][j] = cellegruppo[g][j];
  }
  disegna_gruppi();
  return true;
}

namespace {

// The cage of a side neighbour of `cell` (right, left, below, above) that cell may join in the
// working copies: not its own cage g nor `excluded`, with room for one more cell, and without
// cell's digit. -1 when none.
int neighbour_cage(const Main& m, int cell, int g, int excluded) {
  const int col = col_of(cell);
  const std::array<int, 4> next{col < 8 ? cell + 1 : -1, col > 0 ? cell - 1 : -1,
                                cell < 72 ? cell + 9 : -1, cell > 8 ? cell - 9 : -1};
  for (const int nb : next) {
    const int t = nb < 0 ? -1 : m.cage_of(nb);
    if (t < 0 || t == g || t == excluded) continue;
    if (m.elementicopia[t].as_int() >= kMaxCageCells) continue;
    if (m.valore_in_adiacenti(m.cellesalvate[cell], t)) continue;
    return t;
  }
  return -1;
}

}  // namespace

// A cell moves into a neighbouring cage: it touches that cage, so the cage holds together; the
// cage it leaves must hold together without it. A two-cell cage is dissolved only when its other
// cell finds a cage too, so that no cell is left without one.
// Example: {10, 11, 12} gives up 10 or 12 but never its middle cell 11.
bool Main::move_to_neighbour_cage(int x) {
  const int g = cage_of(x);
  const int n = copy_size(g);
  if (n < 2) return false;
  std::array<int, kMaxCageCells> rest{};
  int m = 0;
  bool listed = false;
  for (int k = 1; k <= n; ++k) {
    const int c = copy_cell(g, k);
    if (c == x)
      listed = true;
    else if (c >= 0)
      rest[m++] = c;
  }
  if (!listed || m != n - 1) return false;
  if (!holds_together(std::span<const int>(rest.data(), static_cast<std::size_t>(m))))
    return false;
  const int target = neighbour_cage(*this, x, g, -1);
  if (target < 0) return false;
  const int other_target = n == 2 ? neighbour_cage(*this, rest[0], g, target) : -1;
  if (n == 2 && other_target < 0) return false;

  const auto join = [this](int cell, int t) {
    numero = cellesalvate[cell];
    Text1[cell].set_text(numero);
    const int k = copy_size(t) + 1;
    elementicopia[t] = k;
    cellecopia[t][k] = cell;
    sommacopia[t] = val(numero) + sommacopia[t].num();
  };
  join(x, target);
  if (n == 2) {
    join(rest[0], other_target);
    for (int k = 1; k <= kMaxCageCells; ++k) cellecopia[g][k] = Value::empty();
    elementicopia[g] = 0;
    sommacopia[g] = 0;
  } else {
    for (int k = 1; k <= m; ++k) cellecopia[g][k] = rest[k - 1];
    cellecopia[g][n] = Value::empty();
    elementicopia[g] = m;
    sommacopia[g] = sommacopia[g].num() - val(cellesalvate[x]);
  }
  return true;
}

}  // namespace ks
