// The cage editor: pick a colour, click the cells of a cage, type its sum in the small box on
// its first cell and leave the box to close the cage. A click on a cell of a registered cage
// offers to delete that cage.
#include <algorithm>

#include "board/main.h"
#include "board/possible_digits.h"
#include "platform/text.h"

namespace ks {

// "X" ends the colouring: the colours go, and every cage is outlined as a loaded puzzle's is, so
// that the player still sees each one.
void Main::colore_Click(int Index) {
  colori = true;
  coloreselezionato = Value(static_cast<double>(colore[Index].back_color()));
  if (Index == 16) {
    for (int i = 0; i < kCells; ++i) {
      Text2[i].set_back_color(bianco);
      Text1[i].set_back_color(bianco);
    }
    colori = false;
    outline_cages();
  }
}

void Main::editor_click(int Index) {
  if (coloreselezionato.is_empty()) {
    rt.MsgBox("selezionare un colore");
    return;
  }
  if (!textsomma[gruppi].text().empty() && ins_dati) rt.MsgBox("chiudere il gruppo");
  modifica_gruppo(Index);
}

bool Main::cage_number_used(int g) const {
  for (int c = 0; c < kCells; ++c)
    if (cage_of(c) == g) return true;
  return false;
}

void Main::free_cell(int cell) {
  gruppodicella.set(cell, Value());
  Text1[cell].set_back_color(bianco);
  Text2[cell].set_back_color(bianco);
}

// Every cell of the cage is freed, filled or not: a digit already placed in it counts against no
// cage until a new cage takes it.
void Main::delete_cage(int g) {
  const bool open = g == gruppi && cellacolorata > 0;
  for (int c = 0; c < kCells; ++c)
    if (cage_of(c) == g) free_cell(c);
  for (int k = 1; k <= kMaxCageCells; ++k) {
    cellegruppo.set(g, k, Value());
    celleoriginali[g][k] = Value();
  }
  if (g < kCells) {
    textsomma[g].set_text("");
    textsomma[g].set_visible(false);
    Textgruppo[g].set_text("");
    Textgruppo[g].set_visible(false);
  }
  sommagruppo.set(g, Value());
  elementigruppo.set(g, 0);
  elementioriginali[g] = 0;
  if (open) cellacolorata = 0;
}

void Main::modifica_gruppo(int c) {
  if (const int g = cage_of(c); g >= 0) {
    // Asked before anything is painted, so that a refusal leaves the board as it was.
    if (rt.MsgBox("gruppo già registrato. Vuoi cancellare il gruppo e procedere alla creazione di un "
                  "nuovo gruppoo?",
                  MsgButtons::OkCancel) != MsgAnswer::Ok)
      return;
    const bool closed = g != gruppi || cellacolorata == 0;
    delete_cage(g);
    // The candidates that the deleted cage's sum had cut come back.
    if (closed) {
      refresh_candidates();
      layout_edited();
    }
    return;
  }

  if (coloreselezionato.eq(bianco)) {
    // The white button takes the last added cell back from the open cage and frees it.
    if (cellacolorata == 0) return;
    const int g = gruppi;
    const int taken = cage_cell(g, cellacolorata);
    cellegruppo.set(g, cellacolorata, Value());
    --cellacolorata;
    if (taken >= 0) free_cell(taken);
    if (cellacolorata == 0) {
      textsomma[g].set_visible(false);
      Textgruppo[g].set_visible(false);
    }
    return;
  }

  // A cage has room for seven cells; an eighth is refused before anything is painted.
  if (cellacolorata >= kMaxCageCells) {
    rt.MsgBox("un gruppo non può avere più di 7 celle");
    return;
  }
  // A new cage takes the number after the highest closed cage: the commands walk the cages
  // 0..gruppi, and a closed cage above the one being entered would be missed by all of them.
  // Past the last cage slot the closed cages are numbered from 0 again first; there are at most
  // 80 of them, since the clicked cell is in none.
  if (cellacolorata == 0) {
    int highest = -1;
    for (int i = 0; i < kCells; ++i) highest = std::max(highest, cage_of(i));
    gruppi = highest + 1 < kCells ? highest + 1 : renumber_closed_cages();
  }
  const int g = gruppi;
  const Color color = static_cast<Color>(coloreselezionato.num());
  Text1[c].set_back_color(color);
  Text2[c].set_back_color(color);
  ++cellacolorata;
  cellegruppo.set(g, cellacolorata, c);
  gruppodicella.set(c, g);
  textsomma[g].set_text("");
  sommagruppo.set(g, Value());
  textsomma[g].set_visible(true);
  Textgruppo[g].set_visible(true);
  if (cellacolorata == 1) {
    // The first cell carries the sum box on its top edge, as a loaded puzzle's cages do, so
    // that its candidates keep their places; the cage number goes under it.
    textsomma[g].move(Label2[c].left() + 2, Label2[c].top() - 4);
    Textgruppo[g].move(Text1[c].left() + 1, Text1[c].top() + 25);
    Textgruppo[g].set_text(std::to_string(g));
  }
}

// Each closed cage keeps its place in the order, its cells, its sums, its load-time layout and
// its boxes where they stand; only the number changes, also in the cage-number box. The stored
// combinations were worked out under the old numbers.
int Main::renumber_closed_cages() {
  int n = 0;
  for (int g = 0; g < kCells; ++g) {
    if (!cage_number_used(g)) continue;
    if (g != n) {
      sommagruppo.set(n, sommagruppo[g]);
      elementigruppo.set(n, elementigruppo[g]);
      cellegruppo.set(n, cellegruppo[g]);
      elementioriginali[n] = elementioriginali[g];
      celleoriginali[n] = celleoriginali[g];
      for (int c = 0; c < kCells; ++c)
        if (cage_of(c) == g) gruppodicella.set(c, n);
      textsomma[n].move(textsomma[g].left(), textsomma[g].top());
      textsomma[n].set_text(textsomma[g].text());
      textsomma[n].set_visible(textsomma[g].visible());
      Textgruppo[n].move(Textgruppo[g].left(), Textgruppo[g].top());
      Textgruppo[n].set_text(Textgruppo[g].text().empty() ? "" : std::to_string(n));
      Textgruppo[n].set_visible(Textgruppo[g].visible());
      // No cell names g any more: the old number is emptied as a deleted cage is.
      delete_cage(g);
    }
    ++n;
  }
  forget_combinations();
  return n;
}

bool Main::close_typed_cage() {
  if (cellacolorata == 0 || gruppi < 0 || gruppi >= kCells || textsomma[gruppi].text().empty())
    return true;
  textsomma_LostFocus(gruppi);
  return cellacolorata == 0;
}

void Main::layout_edited() {
  cages_unsaved = true;
  txtlivello.set_text("");
  txtlivello1.set_text("");
  testototale.set_text("");
}

namespace {

// What sums a cage of n cells (1..kMaxCageCells) can have.
std::string sum_range_text(int n) {
  return "un gruppo di " + std::to_string(n) + (n == 1 ? " cella" : " celle") + " ha una somma da " +
         std::to_string(lowest_sum(n)) + " a " + std::to_string(highest_sum(n));
}

}  // namespace

// The sum typed for a cage of n cells: a whole number that n different digits can make. Tells
// the player and returns false otherwise. "12a" reads as 12; "abc" as 0, which no cage can have.
bool Main::cage_sum_acceptable(double sum, int n) {
  if (sum_fits(n, sum)) return true;
  rt.MsgBox("somma non valida: " + sum_range_text(std::clamp(n, 1, kMaxCageCells)));
  return false;
}

// A loaded puzzle whose cage cannot make its sum with its cells is still opened (an old game
// saved during play may carry such a remaining sum), and the player is told at once which cage
// it is: the first, with the number of the others. The sum is the cage's whole sum, the digits
// placed in it included.
void Main::warn_impossible_sums() {
  int first = -1, others = 0, first_cell = 0, first_size = 0;
  double first_sum = 0;
  const int last = std::min(gruppi, kCells - 1);
  for (int g = 0; g <= last; ++g) {
    std::array<int, kMaxCageCells> cells{};
    const int n = cage_members(g, cells);
    if (n == 0 || !sommagruppo[g].is_number() || cage_being_entered(g)) continue;
    const double sum = full_sum(g);
    if (sum_fits(n, sum)) continue;
    if (first >= 0) {
      ++others;
      continue;
    }
    first = g;
    first_cell = *std::min_element(cells.begin(), cells.begin() + n);
    first_size = n;
    first_sum = sum;
  }
  if (first < 0) return;
  std::string text = "somma non valida: il gruppo di " + rc(first_cell) + " ha somma " +
                     num_text(first_sum) + ", ma " + sum_range_text(first_size);
  if (others > 0)
    text += " (" + std::to_string(others) + (others == 1 ? " altro gruppo" : " altri gruppi") +
            " con una somma impossibile)";
  rt.MsgBox(text, MsgButtons::Ok);
}

void Main::textsomma_LostFocus(int Index) {
  if (Index < 0 || Index >= kCells) return;
  if (Index == gruppi && cellacolorata > 0) {
    // Close the open cage, unless its sum or its shape is impossible: then it stays open, for the
    // player to correct.
    const int g = gruppi;
    const int n = cellacolorata;
    if (!cage_sum_acceptable(val(textsomma[g].text()), n)) return;
    std::array<int, kMaxCageCells> cells{};
    for (int k = 1; k <= n; ++k) cells[k - 1] = cage_cell(g, k);
    if (!cage_whole(g, std::span<const int>(cells.data(), static_cast<size_t>(n)))) {
      rt.MsgBox("le celle del gruppo non sono contigue");
      return;
    }
    // The layout as entered (for the restart), then the cage as the board stands: a digit
    // already in one of its cells counts against its sum.
    keep_layout(g, n);
    cage_from_layout(g);
    // gruppi goes on to the number after the last cage while a cell is left for another cage,
    // and stays on the last cage when every cell has one.
    bool free_left = false;
    for (int i = 0; i < kCells && !free_left; ++i) free_left = cage_of(i) < 0;
    for (int h = g + 1; h < kCells; ++h)
      if (cage_number_used(h)) gruppi = h;
    if (free_left && gruppi < kCells - 1) ++gruppi;
    cellacolorata = 0;
    coloreselezionato = Value();
    // A full grid whose new cage asks for another sum is no longer a finished one.
    if (finito && !board_fault().empty()) finito = false;
    layout_edited();
    return;
  }
  // The sum box of a closed cage: its sum changes. During play the cage keeps as remaining sum
  // the new sum less the digits already placed in it, and every candidate follows from the board
  // and the cages again, so that nothing the old sum had cut stays cut.
  std::array<int, kMaxCageCells> cells{};
  const int n = cage_members(Index, cells);
  if (Index > gruppi || n == 0) return;
  const double old_sum = full_sum(Index);
  const double typed = val(textsomma[Index].text());
  if (typed == old_sum) return;
  if (!cage_sum_acceptable(typed, n)) {
    textsomma[Index].set_text(num_text(old_sum));
    return;
  }
  cage_from_layout(Index);
  refresh_candidates();
  // A full grid whose cage now asks for another sum is no longer a finished one.
  if (finito && !board_fault().empty()) finito = false;
  layout_edited();
}

}  // namespace ks
