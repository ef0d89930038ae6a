// The cage editor: pick a colour, click the cells of a cage, type its sum in the small box on
// its first cell and leave the box to close the cage. A click on a cell of a registered cage
// offers to delete that cage.
#include "board/main.h"
#include "platform/text.h"

namespace ks {


void Main::colore_Click(int Index) {
  colori = true;
  coloreselezionato = Value(static_cast<double>(colore[Index].back_color()));
  if (Index == 16) {
    for (int i = 0; i < kCells; ++i) {
      Text2[i].set_back_color(bianco);
      Text1[i].set_back_color(bianco);
    }
    colori = false;
  }
}

void Main::editor_click(int Index) {
  if (coloreselezionato.is_empty()) {
    rt.MsgBox("selezionare un colore");
    return;
  }
  if (!textsomma[gruppi].text().empty() && ins_dati) rt.MsgBox("chiudere il gruppo");
  // A cage has room for seven cells; an eighth is refused before anything is painted.
  const bool adds_cell = !gruppodicella[Index].is_number() && !coloreselezionato.eq(bianco);
  if (adds_cell && cellacolorata >= kMaxCageCells) {
    rt.MsgBox("un gruppo non può avere più di 7 celle");
    return;
  }
  const Color c = static_cast<Color>(coloreselezionato.num());
  Text1[Index].set_back_color(c);
  Text2[Index].set_back_color(c);
  modifica_gruppo(Index);
}

void Main::delete_cage(int g) {
  // The open cage has its cells in positions 1..cellacolorata; its size is written only when
  // it is closed.
  const bool open = (g == gruppi && cellacolorata > 0);
  const int n = open ? cellacolorata : std::min(std::max(elementigruppo[g].as_int(), 0), kMaxCageCells);
  for (int k = 1; k <= n; ++k) {
    const Value d = cellegruppo[g][k];
    if (d.is_number()) {
      const int cell = d.as_int();
      if (gruppodicella[cell].is(g)) {
        gruppodicella[cell] = Value();
        Text1[cell].set_back_color(bianco);
        Text2[cell].set_back_color(bianco);
        Text2[cell].move(Label2[cell].left() + 2, Text2[cell].top(), 35, Text2[cell].height());
      }
    }
    cellegruppo[g][k] = Value();
  }
  textsomma[g].set_text("");
  textsomma[g].set_visible(false);
  sommagruppo[g] = Value();
  Textgruppo[g].set_text("");
  Textgruppo[g].set_visible(false);
  elementigruppo[g] = 0;
  elementioriginali[g] = 0;
  if (open) cellacolorata = 0;
}

void Main::modifica_gruppo(int c) {
  if (gruppodicella[c].is_number()) {
    const int g = gruppodicella[c].as_int();
    if (rt.MsgBox("gruppo già registrato. Vuoi cancellare il gruppo e procedere alla creazione di un "
                  "nuovo gruppoo?",
                  MsgButtons::OkCancel) != MsgAnswer::Ok)
      return;
    delete_cage(g);
    gruppodicella[c] = Value();
    Text1[c].set_back_color(bianco);
    Text2[c].set_back_color(bianco);
    return;
  }

  const int g = gruppi;
  if (coloreselezionato.eq(bianco)) {
    // The white button takes the last added cell back from the open cage and frees it.
    if (cellacolorata == 0) return;
    const Value taken = cellegruppo[g][cellacolorata];
    cellegruppo[g][cellacolorata] = Value();
    --cellacolorata;
    if (taken.is_number()) {
      const int cell = taken.as_int();
      gruppodicella[cell] = Value();
      Text1[cell].set_back_color(bianco);
      Text2[cell].set_back_color(bianco);
      Text2[cell].move(Label2[cell].left() + 2, Text2[cell].top(), 35, Text2[cell].height());
    }
    if (cellacolorata == 0) {
      textsomma[g].set_visible(false);
      Textgruppo[g].set_visible(false);
    }
    return;
  }

  ++cellacolorata;
  cellegruppo[g][cellacolorata] = c;
  gruppodicella[c] = g;
  textsomma[g].set_text("");
  sommagruppo[g] = Value();
  textsomma[g].set_visible(true);
  Textgruppo[g].set_visible(true);
  if (cellacolorata == 1) {
    // The first cell carries the sum box in its top left corner, the cage number under it,
    // and its candidate box moves aside.
    textsomma[g].move(Text1[c].left() + 1, Text1[c].top() + 3);
    Textgruppo[g].move(Text1[c].left() + 1, Text1[c].top() + 25);
    Textgruppo[g].set_text(std::to_string(g));
    Text2[c].move(Label2[c].left() + 2 + 15, Text2[c].top(), 35 - 15, Text2[c].height());
  }
}

void Main::textsomma_LostFocus(int Index) {
  if (Index < 0 || Index >= kCells) return;
  if (Index == gruppi && cellacolorata > 0) {
    // Close the open cage: its size, its sum, and its layout as entered (for the restart).
    elementigruppo[gruppi] = cellacolorata;
    elementioriginali[gruppi] = cellacolorata;
    for (int k = 1; k <= cellacolorata; ++k) celleoriginali[gruppi][k] = cellegruppo[gruppi][k];
    bool free_cell = false;
    for (int i = 0; i < kCells && !free_cell; ++i) free_cell = Text1[i].back_color() == 0xFFFFFF;
    sommagruppo[gruppi] = val(textsomma[gruppi].text());
    if (free_cell && gruppi < kCells - 1) ++gruppi;
    cellacolorata = 0;
    coloreselezionato = Value();
    return;
  }
  // The sum box of a closed cage: its sum changes, and nothing else. During play the cage keeps
  // as remaining sum the new sum less the digits already placed in it.
  if (Index <= gruppi && elementioriginali[Index].gt(0)) {
    double placed = 0;
    const int n = std::min(elementioriginali[Index].as_int(), kMaxCageCells);
    for (int k = 1; k <= n; ++k) {
      const Value c = celleoriginali[Index][k];
      if (c.is_number()) placed += val(Text1[c.as_int()].text());
    }
    sommagruppo[Index] = val(textsomma[Index].text()) - placed;
  }
}

}  // namespace ks
