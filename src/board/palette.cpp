// The digit palette: a play click on a cell opens a ring of ten pictures around it (digits 1..9
// clockwise from the top left, 0 = erase); a click on one writes into the selected cell.
#include <array>

#include "board/main.h"

namespace ks {

namespace {
// Offsets of palette element k (0..9) from the top left corner of the cell's digit box.
struct Offset {
  int dx, dy;
};
constexpr std::array<Offset, 10> kRing = {{
    {-23, -18},  // 0: erase, left side, top
    {-2, -24},   // 1: above, first
    {19, -24},   // 2: above, second
    {40, -18},   // 3: right side, top
    {40, 3},     // 4: right side, middle
    {40, 24},    // 5: right side, bottom
    {19, 36},    // 6: below, right
    {-2, 36},    // 7: below, left
    {-23, 24},   // 8: left side, bottom
    {-23, 3},    // 9: left side, middle
}};
}  // namespace

void Main::show_palette(int cell) {
  const int L = Text1[cell].left(), T = Text1[cell].top();
  for (int k = 0; k < 10; ++k)
    Picture1[k].move(L + kRing[static_cast<size_t>(k)].dx, T + kRing[static_cast<size_t>(k)].dy);
  for (auto& p : Picture1) p.set_visible(true);
  palette_cell = cell;
}

void Main::hide_palette() {
  // Every digit entry closes the palette, which is nearly always closed already.
  if (palette_cell < 0) {
    bool shown = false;
    for (const auto& p : Picture1) shown |= p.visible();
    if (!shown) return;
  }
  for (auto& p : Picture1) p.set_visible(false);
  palette_cell = -1;
}

void Main::Text1_Click(int Index) {
  if (colori) {
    editor_click(Index);
    return;
  }
  scelta = mode::kNo;
  cella = Index;
  show_candidates_but(Index);
  show_palette(Index);
}

void Main::Picture1_Click(int Index) {
  // The palette writes into the cell it was opened on: techniques move `cella` meanwhile.
  const int cell = palette_cell;
  if (cell < 0 || cell >= kCells) {
    hide_palette();
    return;
  }
  const std::string digit = Index == 0 ? std::string() : std::string(1, static_cast<char>('0' + Index));
  // Writing the digit the cell already holds runs no cell entry, which would close the palette.
  if (Text1[cell].text() == digit) {
    hide_palette();
    return;
  }
  Text1[cell].set_text(digit);
}

// The pointer over a box whose cell number lies more than 11 from the palette's cell closes it.
void Main::Text1_MouseMove(int Index) {
  if (palette_cell >= 0 && (Index < palette_cell - 11 || Index > palette_cell + 11)) hide_palette();
}

void Main::Text2_MouseMove(int Index) { Text1_MouseMove(Index); }

}  // namespace ks
