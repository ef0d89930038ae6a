// The board reset: an empty board without cages, every border drawn in full, the lights and the
// hint line hidden, the log emptied, the level and the working lists cleared, step mode again.
#include "board/main.h"

namespace ks {

void Main::fresh_play_modes() {
  calling = "";
  calling1 = "";
  chiamante = mode::kManuale;
  origine = "";
  origine1 = "";
  incongruenza = false;
  generaeconta = false;
  volte = 3;
  volteestese = 3;
  varcontrolloesteso = false;
  lunghezza = 3;
  lunghezza1 = kFirstRefutationBound;
  dopominimo = 7;
}

void Main::nuovo_schema() {
  fresh_play_modes();
  forget_count();
  // The counts as they stand; emptying the digit boxes below brings them to 0 and 81.
  txtesposti.set_text(std::to_string(esposti));
  txtvuoti.set_text(std::to_string(81 - esposti));
  txtprogressivo.set_visible(false);
  // The board no longer holds a library puzzle: no rating may reach a record until the library
  // loads one again (the generator starts from this reset).
  library_record = 0;
  t0 = rt.Timer();
  el_interni = 0;
  el_esterni = 0;
  scelta = "0";  // neither "si" nor "no"
  gruppi = 0;
  gruppo1 = 0;

  // Every table indexed by a cage number is cleared in full, derived cages included, so that a
  // new puzzle finds nothing of the last one. The layout kept for the restart command
  // (elementioriginali, celleoriginali) stays: it still describes the last loaded puzzle.
  for (auto& combos : elencosomme)
    for (auto& c : combos) c.clear();
  for (int g = 0; g < kCageSlots; ++g) {
    elementigruppo.set(g, Value::empty());
    sommacopia[g] = Value::empty();
    for (int k = 1; k <= 7; ++k) {
      cellegruppo.set(g, k, Value::empty());
      cellecopia[g][k] = Value::empty();
    }
    numerosomme[g] = Value::empty();
    numeriobbligati[g].clear();
    gruppiregione[g] = Value::empty();
    celleesterne[g] = Value::empty();
  }
  clear_solver_grid();
  for (int i = 0; i < kCells; ++i) {
    cellesalvate[i].clear();
    listaappoggio[i] = Value::empty();
    celleinterne[i] = Value::empty();
    gruppodicella.set(i, Value::empty());
    nuovogruppodicella1[i] = Value::empty();
    nuovogruppodicella2[i] = Value::empty();
  }

  // Cell layout as at start-up: borders in full, both boxes on their square at their own size
  // (the cage editor narrows the candidate box of a cage's first cell).
  for (int i = 0; i < kCells; ++i) {
    reset_cell_borders(i);
    const int L = Label2[i].left();
    const int T = Label2[i].top();
    Text2[i].move(L + 2, T + 8, 35, 28);
    Text1[i].move(L + 1, T + 1, 36, 36);
  }

  modificato = false;
  problema = false;
  gruppo = 0;
  txtlivello.set_text("");
  txtlivello1.set_text("");
  testototale.set_text("");
  txthint.set_visible(false);
  Pictgo.set_visible(false);
  Pictalt.set_visible(false);
  finito = false;
  txthint.set_text(" ");
  frmlog.Text3.set_text(" ");
  // The hinted digit belonged to the last puzzle.
  Text5.set_text("");
  cella = 0;
  livello = 0;
  liv1 = liv2 = liv3 = liv4 = liv5 = liv6 = liv7 = liv8 = liv9 = liv10 = liv11 = liv12 = liv13 =
      liv14 = 0;
  // No cell of the new board is open for typing: the cell the player typed in on the last one
  // would keep its empty digit box over its candidates once the pencil marks go on.
  for (int i = 0; i < kCells; ++i)
    if (Text1[i].has_focus() || Text2[i].has_focus()) form.set_focus(nullptr);
  // The new board starts without pencil marks, every cell showing its digit box, also when the
  // marks were on: no candidate box of the last puzzle stays shown once the tick is off.
  mnupencil.set_checked(false);
  show_boxes();

  // Every sum box and cage-number box, and the cage the editor had begun: nothing of the last
  // puzzle stays on the board.
  for (int g = 0; g < kCells; ++g) {
    textsomma[g].set_text("");
    textsomma[g].set_visible(false);
    Textgruppo[g].set_text("");
    Textgruppo[g].set_visible(false);
  }
  // A new board ends the cage editor too: its colouring mode belongs to the board it began on.
  cellacolorata = 0;
  coloreselezionato = Value::empty();
  colori = false;
  cages_unsaved = false;

  // Emptying a digit box that held a digit runs cell entry, which only counts while ins_dati is
  // set; a box that is already empty runs nothing.
  ins_dati = true;
  sommagruppo.fill(Value::null());
  for (int i = 0; i < kCells; ++i) {
    Text1[i].set_text("");
    Text2[i].set_text("123456789");
    Text1[i].set_fore_color(rosso);
    Text1[i].set_back_color(bianco);
    Text2[i].set_back_color(bianco);
  }
  ins_dati = false;
}

}  // namespace ks
