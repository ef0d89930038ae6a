// Cage borders: every cell framed by four segments, the segments between two cells of one cage
// hidden and joined so that each cage has one outline; the contiguity check of a layout.
#include <algorithm>
#include <cmath>

#include "board/main.h"

namespace ks {

namespace {
// Side of the drawn square of a cell; the squares themselves are 40 pixels apart or more.
constexpr int kSide = 38;

void swap_x2_x1(Line& a, Line& b) {
  const int t = a.x2();
  a.set_x2(b.x1());
  b.set_x1(t);
}

void swap_y2_y1(Line& a, Line& b) {
  const int t = a.y2();
  a.set_y2(b.y1());
  b.set_y1(t);
}
}  // namespace

void Main::reset_cell_borders(int i) {
  const int L = Label2[i].left();
  const int T = Label2[i].top();
  Line1[i].set_visible(true);
  Line2[i].set_visible(true);
  Line3[i].set_visible(true);
  Line4[i].set_visible(true);
  Line1[i].set_points(L, T, L + kSide, T);
  Line2[i].set_points(L, T, L, T + kSide);
  Line3[i].set_points(L, T + kSide, L + kSide, T + kSide);
  Line4[i].set_points(L + kSide, T, L + kSide, T + kSide);
}

// The neighbours of c that already carry cage g were visited before c, so every adjacent pair of
// a cage is joined once, at its later cell. Joining two squares side by side hides the two facing
// segments and exchanges the inner ends of their top (and bottom) segments: the left square's top
// then reaches the right square's left edge, the right square's top starts at the left square's
// right edge, and together they span both squares and the gap between them. Vertical pairs are
// joined the same way on their left and right sides.
void Main::join_cage_borders(int c, int g) {
  const int col = colonnacella[c];
  const int row = rigacella[c];
  if (col > 1 && gruppodicella[c - 1].is(g)) {
    Line4[c - 1].set_visible(false);
    Line2[c].set_visible(false);
    swap_x2_x1(Line1[c - 1], Line1[c]);
    swap_x2_x1(Line3[c - 1], Line3[c]);
  }
  if (col < 9 && gruppodicella[c + 1].is(g)) {
    Line4[c].set_visible(false);
    Line2[c + 1].set_visible(false);
    swap_x2_x1(Line1[c], Line1[c + 1]);
    swap_x2_x1(Line3[c], Line3[c + 1]);
  }
  if (row < 9 && gruppodicella[c + 9].is(g)) {
    Line3[c].set_visible(false);
    Line1[c + 9].set_visible(false);
    swap_y2_y1(Line2[c], Line2[c + 9]);
    swap_y2_y1(Line4[c], Line4[c + 9]);
  }
  if (row > 1 && gruppodicella[c - 9].is(g)) {
    Line1[c].set_visible(false);
    Line3[c - 9].set_visible(false);
    swap_y2_y1(Line2[c - 9], Line2[c]);
    swap_y2_y1(Line4[c - 9], Line4[c]);
  }
}

void Main::place_sum_box(int g, int first) {
  textsomma[g].set_visible(true);
  textsomma[g].move(Label2[first].left() + 2, Label2[first].top() - 4);
}

// Every cage outlined by its own borders, as a loaded puzzle's are: a puzzle entered by hand keeps
// its cages visible once their colours are gone. The cells of each cage are joined in the order
// they were entered, each with its neighbours entered before it.
void Main::outline_cages() {
  for (int i = 0; i < kCells; ++i) reset_cell_borders(i);
  const int last = std::min(gruppi, kCells - 1);
  for (int g = 0; g <= last; ++g) {
    std::array<int, kMaxCageCells> cells{};
    const int count = cage_members(g, cells);
    for (int k = 0; k < count; ++k) gruppodicella.set(cells[k], Value());
    for (int k = 0; k < count; ++k) {
      gruppodicella.set(cells[k], g);
      join_cage_borders(cells[k], g);
    }
    if (count > 0) Textgruppo[g].set_visible(false);
  }
}

void Main::disegna_gruppi() {
  stringa.clear();
  for (int i = 0; i < kCells; ++i) {
    stringa += cellesalvate[i];
    Text1[i].set_back_color(bianco);
    Text2[i].set_back_color(bianco);
    ins_dati = true;
    Text1[i].set_text("");
    ins_dati = false;
    show_box(i);
    gruppodicella.set(i, Value::empty());
    reset_cell_borders(i);
  }
  if (gruppi == 0) return;

  const int last = std::min(gruppi, kCells - 1);
  for (int g = 0; g <= last; ++g) {
    const int n = std::clamp(elementigruppo[g].as_int(), 0, 7);
    int first = kCells;
    for (int k = 1; k <= n; ++k) {
      const int c = cage_cell(g, k);
      if (c < 0) continue;
      cella = c;
      gruppodicella.set(c, g);
      if (c < first) first = c;
      join_cage_borders(c, g);
    }
    if (first < kCells) place_sum_box(g, first);
  }
  controlla_contiguita();
}

// A cage is whole when every cell it lists can be reached from its first cell by steps to
// a side neighbour of the same cage. The walk may pass through cells of the cage that are no
// longer listed (filled during play), since they still join their neighbours.
// Example: {0, 1, 9, 10, 40} is split although its block of four has more inner pairs than a
// five-cell cage needs: 40 cannot be reached from 0.
bool Main::cage_whole(int g, std::span<const int> cells) const {
  if (cells.empty()) return true;
  const int start = cells[0];
  if (start < 0 || start >= kCells || cage_of(start) != g) return false;
  std::array<bool, kCells> seen{};
  std::array<int, kCells> queue{};
  int head = 0, tail = 0;
  queue[tail++] = start;
  seen[start] = true;
  while (head < tail) {
    const int c = queue[head++];
    const int col = col_of(c);
    const int next[4] = {col < 8 ? c + 1 : -1, col > 0 ? c - 1 : -1, c + 9 < kCells ? c + 9 : -1,
                         c - 9};
    for (const int nb : next) {
      if (nb < 0 || seen[nb] || cage_of(nb) != g) continue;
      seen[nb] = true;
      queue[tail++] = nb;
    }
  }
  for (const int c : cells)
    if (c < 0 || c >= kCells || !seen[c]) return false;
  return true;
}

void Main::controlla_contiguita() {
  problema = false;
  const int last = std::min(gruppi, kCageSlots - 1);
  for (int g = 0; g <= last; ++g) {
    const int n = std::clamp(elementigruppo[g].as_int(), 0, kMaxCageCells);
    if (n == 0) continue;
    std::array<int, kMaxCageCells> cells{};
    for (int k = 1; k <= n; ++k) {
      cells[k - 1] = cage_cell(g, k);
      if (cells[k - 1] >= 0) cella = cells[k - 1];
    }
    if (!cage_whole(g, std::span<const int>(cells.data(), static_cast<size_t>(n)))) {
      rt.MsgBox(" problema contiguita ", MsgButtons::Ok);
      problema = true;
      return;
    }
  }
}

}  // namespace ks
