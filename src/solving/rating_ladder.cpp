// The rating ladder: every technique rung by rung, from the cheapest, each success raising the
// difficulty level to its rung's level and counting the use; when no technique helps, the rule
// of 45 searches deeper, the solutions are counted once, and trial and verify comes last. And
// the solve command, which runs it and shows the solved grid with its rating.
#include "solving/rating_ladder.h"

#include <array>
#include <string>

#include "rule45/derived_cages.h"
#include "solving/rungs.h"
#include "solving/snapshot.h"

namespace ks {

namespace rating {

namespace {

using ladder::Next;
using ladder::Rung;
using rungs::displayed;
using rungs::on_found;
using rungs::on_not_found;
using rungs::with_level;


// The rule of 45 with derived cages on units is worth 10 at its first depth, 11 once deepened.
int derived_units_level(const Main& m) { return m.volte <= 3 ? 10 : 11; }

// The end of the road for the techniques: the solutions are counted, once for the position the
// ladder started from (Main::keep_count_for), and only a puzzle with exactly one solution goes on
// to trial and verify. Without a count (the generator's time-limited mode, or inside a trial) the
// ladder leaves. A count that ran out of time says nothing about the puzzle, so it ends the
// ladder too. A count that stopped at a second solution leaves that solution on the board: the
// board goes back to where the techniques left it, the puzzle unsolved.
Next end_sequence(Main& m) {
  m.show_elapsed();
  if (!m.conteggioeseguito) {
    if (m.generaeconta || m.calling1 == mode::kTrial) return Next::Leave;
    Snapshot before;
    before.save(m);
    std::string counted = m.position_key();
    m.conta_soluzioni_tecniche();
    m.remember_count({std::move(counted), m.ladder_position});
    if (m.count_result == Main::CountResult::Several) {
      before.restore(m);
      m.finito = false;
    }
  }
  if (m.count_result == Main::CountResult::One) return trial_and_restart(m);
  tell_unsolved(m, count_outcome(m.count_result));
  return Next::Leave;
}

// After the rule of 45 with derived cages on bands, found or not. Once the units' depth has grown
// the deep sum analysis stays on; the bands' depth grows by one at every failure, and once both
// depths are spent without a change the end sequence follows. A contradiction still standing
// ends the ladder, as after rung 18.
Next after_derived_bands(Main& m) {
  if (m.problema) return Next::Leave;
  if (m.volte > 3) m.varcontrolloesteso = true;
  if (m.volte > 3 && m.volteestese > 6 && !m.modificato) return end_sequence(m);
  return Next::Restart;
}

// Rungs 1-4 are worth no level; a hidden single is level 1, the sum check 2 (8 for its deep
// analysis), the cage interactions and required digits 3, box-line 4, hidden pair 5, cage
// against cage 6, naked triple 7, the rule of 45 on bands 9, with derived cages 10 or 11 on units
// and 12 on bands. Rungs 17-19 are reached only once the naked triple has failed once and
// switched the deep sum analysis on.
constexpr auto kRatingLadder = rungs::join(
    rungs::kOpening,
    std::array{
        with_level(rungs::kHiddenBox, 1),
        with_level(displayed(rungs::kHiddenRow), 1),
        with_level(displayed(rungs::kHiddenColumn), 1),
        with_level(displayed(rungs::kSumCheck), rungs::sum_check_level),
        with_level(displayed(rungs::kCageBox), 3),
        with_level(rungs::kCageRow, 3),
        with_level(rungs::kCageColumn, 3),
        with_level(rungs::kRequiredDigits, 3),
        with_level(displayed(rungs::kBoxLine), 4),
        with_level(displayed(rungs::kHiddenPair), 5),
        with_level(displayed(rungs::kCageCage), 6),
        on_not_found(with_level(displayed(rungs::kNakedTriple), 7), rungs::deep_sums_or_next),
        with_level(displayed(rungs::kRule45Bands), 9),
        on_not_found(with_level(displayed(rungs::kRule45Derived), derived_units_level),
                     rungs::deeper_units_or_next),
        on_found(on_not_found(with_level(displayed(rungs::kRule45DerivedBands), 12),
                              after_derived_bands),
                 after_derived_bands),
    });
static_assert(kRatingLadder.size() == 19);

}  // namespace

std::span<const Rung> rungs() { return kRatingLadder; }

// The hint line shows the outcome, in place of the explanation of a step the solve may have
// taken back, before the message box tells it.
void tell_unsolved(Main& m, const char* outcome) {
  m.txthint.set_visible(true);
  m.txthint.set_text(outcome);
  m.rt.MsgBox(outcome, MsgButtons::Ok);
}

const char* count_outcome(Main::CountResult r) {
  using Count = Main::CountResult;
  return r == Count::Several ? "schema con più di una soluzione"
         : r == Count::None  ? kNoSolution
         : r == Count::One   ? ""
                             : "conteggio interrotto";
}

// The single-finding rungs place their digit only while the techniques explain themselves
// (chiamante "manuale" or "analisi"); in any other mode the ladder could only find the same
// single again and again, so it does not run.
void run(Main& m, std::span<const Rung> table) {
  if (!m.explains()) return;
  m.start_ladder();
  m.calling1 = "";
  m.keep_count_for(m.position_key());
  ladder::run_ladder(m, {table, ladder::fresh_pass});
}

Next trial_and_restart(Main& m) {
  m.volte = 3;
  m.volteestese = 3;
  const int before = ladder::board_progress(m);
  m.prova_e_verifica();
  m.calling1 = "";
  m.raise_level(13);
  if (m.finito || ladder::board_progress(m) == before) return Next::Leave;
  m.problema = false;
  m.chiamante = mode::kAnalisi;
  m.volte = 3;
  m.volteestese = 3;
  m.varcontrolloesteso = false;
  return Next::Restart;
}

}  // namespace rating

void Main::risolvi_con_livelli() { rating::run(*this, rating::rungs()); }

// The log window is always shown (with its menu unchecked); the difficulty record starts empty.
// A solved grid goes to txtstringa and is rated; otherwise txtstringa gets the solution the
// count stored, if any. While the ladder runs, the window refuses other commands.
void Main::mnusolve_Click() {
  if (mnuactivity.checked()) mnuactivity_Click();
  frmlog.Show();
  livello = 0;
  for (int L = 1; L <= 14; ++L) liv(L) = 0;
  // The solve rates the position on the board as a fresh puzzle is rated: the deep sum analysis
  // that an earlier solve or the hints switched on, and the refutation bound that earlier trials
  // widened, start over.
  varcontrolloesteso = false;
  lunghezza1 = kFirstRefutationBound;

  struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
  } running(solve_running), from_start(rating_for_record);  // both flags clear when it ends
  rating_for_record = library_record > 0 && at_library_start();
  const BusyScope busy(rt);
  // A solve that ends on a contradiction, without a solution or with a count cut short leaves
  // the board as the player had it: what the ladder placed on the way rests on digits that
  // cannot all be right.
  Snapshot before;
  before.save(*this);
  risolvi_con_livelli();
  // No solution: a contradiction the techniques met, a count of none or cut short (which has told
  // the player already), or a full grid that breaks a rule (finito is set only on one that keeps
  // them all).
  const bool count_told = conteggioeseguito &&
                          (count_result == CountResult::None || count_result == CountResult::Unknown);
  if (!finito && (problema || count_told || esposti == kCells)) {
    before.restore(*this);
    if (problema || !count_told) rating::tell_unsolved(*this, rating::kNoSolution);
  }

  std::string grid;
  if (soluzioni < 2 && finito) {
    for (const TextBox& t : Text1) grid += t.text();
    txtstringa.set_text(grid);
    valuta_difficolta();
    return;
  }
  for (const std::string& d : grigliasoluzione) grid += d;
  txtstringa.set_text(grid);
  // Unsolved, the puzzle goes on as the player's: the next hint or technique key explains its
  // step and waits at the traffic light, and searches from its first depths, as on the same
  // position freshly opened. The cages the rule of 45 derived on the way go with the solve.
  rule45::erase_derived_cages(*this);
  fresh_play_modes();
}

}  // namespace ks
