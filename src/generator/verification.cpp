// The verification try of a carved layout: the puzzle is solved from its cages alone by the
// rating ladder; a board left with few digits must have exactly one solution, a board left with a
// few empty cells is repaired by moving one of them into a neighbouring cage.
#include "board/main.h"
#include "generator/layout_run.h"

namespace ks {

namespace {

// A try's board must have at least this many digits after the ladder for a repair; with fewer
// the solution count decides.
constexpr int kFilledForRepair = 60;
// More empty cells than this after the ladder: the layout is given up.
constexpr int kMostEmptyForRepair = 30;

}  // namespace

// One try. The board is emptied and gets the initial candidates of its cages, the rating ladder
// solves it as far as the techniques go (in the generator's time-limited mode it neither counts
// nor guesses). A complete board accepts the layout; a board with fewer than 60 digits is
// accepted only when the solution count proves exactly one solution; otherwise an unsolved cell
// moves into a neighbouring cage and the layout is tried again.
TryOutcome Main::try_layout(LayoutRun& run) {
  run.counted = false;
  // A layout must agree with its grid before any solving is worth it.
  if (const std::string fault = layout_fault(); !fault.empty()) {
    log_generatore(fault + std::to_string(run.tries));
    return TryOutcome::reject;
  }
  ins_dati = true;
  for (int i = 0; i < kCells; ++i) {
    Text1[i].set_text("");
    Text2[i].set_text("");
  }
  inizializza_candidati();
  ins_dati = false;
  if (!mnupencil.checked()) mnupencil_Click();
  disegna_gruppi();

  livello = 0;
  liv1 = liv2 = liv3 = liv4 = liv5 = liv6 = liv7 = liv8 = liv9 = liv10 = liv11 = liv12 = liv13 =
      liv14 = 0;
  // Each try rates the layout from nothing: the deep sum analysis that an earlier try switched on
  // would make the puzzle look harder than it is.
  varcontrolloesteso = false;
  // The ladder places the singles it finds only in "analisi" (or "manuale").
  chiamante = mode::kAnalisi;
  risolvi_con_livelli();
  if (problema) {
    log_generatore(" problema nella soluzione " + std::to_string(run.tries));
    return TryOutcome::reject;
  }

  if (esposti < kFilledForRepair) {
    conta_soluzioni_tecniche();
    // Only a finished count of exactly one solution proves the puzzle; a count that ran out of
    // time proves nothing.
    if (count_result != CountResult::One) {
      log_generatore(" soluzioni non uniche " + std::to_string(run.tries));
      return TryOutcome::reject;
    }
    run.counted = true;
    return TryOutcome::accept;
  }
  if (finito) return TryOutcome::accept;

  int empty = 0;
  for (int i = 0; i < kCells; ++i) {
    show_box(i);
    if (Text1[i].text().empty()) ++empty;
  }
  if (empty > kMostEmptyForRepair) {
    log_generatore(" non risolvibile,troppi vuoti " + std::to_string(run.tries));
    show_generation_time(t2);
    rt.DoEvents();
    return TryOutcome::reject;
  }
  // The repair: the first unsolved cell, in cell order, that can move into a neighbouring cage
  // without breaking its own. When none can, the same layout is tried again and the try counter
  // ends the run.
  for (int i = 0; i < kCells; ++i)
    if (Text1[i].text().empty() && move_to_neighbour_cage(i)) break;
  // The moved cells show their digits: when they were the last ones missing, the board is solved.
  return finito ? TryOutcome::accept : TryOutcome::repair;
}

// The generate command: a new classic grid, carved and verified, until an attempt is accepted;
// then the cages are drawn, the cells get their first candidates and the rating is shown. Other
// commands are refused meanwhile (generation_running), while the window keeps repainting. The
// cage window empties first: it shows this run's tries only.
void Main::generate_puzzle() {
  if (!may_discard_game()) return;
  clear_cage_window();
  generation_running = true;
  const BusyScope busy(rt);
  nuovo_schema();
  chiamante = mode::kGenera;
  t0 = rt.Timer();
  for (;;) {
    show_generation_time(t1);
    if (txtesposti.text().empty() || txtesposti.text() == "0") genera_griglia_classica();
    filetxt.set_text("nuova generazione");
    genera_schema();
    if (!problema) break;
    nuovo_schema();
    chiamante = mode::kGenera;
  }
  disegna_gruppi();
  inizializza_candidati();
  // The tries showed the candidates; the new puzzle comes, like a loaded one, with its digit
  // boxes and the pencil marks off.
  if (mnupencil.checked()) mnupencil_Click();
  // The tries' solving steps are the new puzzle's solution: the player starts with a clean log
  // and an empty hinted-digit box, as with any new puzzle.
  frmlog.Text3.set_text(" ");
  Text5.set_text("");
  // The run kept the grid in the restart's snapshot; the restart gives back the start of the
  // puzzle, as after a load, not its solution.
  for (std::string& saved : cellesalvate) saved.clear();
  valuta_difficolta();
  // The generator's time-limited mode ends with it: a solve of the new puzzle counts its
  // solutions and goes on to trial and verify as on a loaded one.
  generaeconta = false;
  generation_running = false;
}

}  // namespace ks
