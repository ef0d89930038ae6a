// Trial and verify: the last resort of the rating ladder. A digit of a cell with few candidates
// is tried as a hypothesis and the trial ladder draws its consequences; a hypothesis that soon
// leads to a contradiction is refuted, replayed into the activity log, and turned into one
// deduction.
#include <array>
#include <string>

#include "platform/text.h"
#include "solving/ladder.h"
#include "solving/rungs.h"
#include "solving/snapshot.h"

namespace ks {

namespace {

using ladder::Next;
using ladder::Rung;
using rungs::displayed;
using rungs::on_found;
using rungs::on_not_found;

const std::string kSeparator(39, '=');


// After the rule of 45 with derived cages on bands, found or not: the ladder starts again while
// the bands' depth can still grow or the rung changed something, and leaves once the units'
// depth is spent. A contradiction still standing ends the ladder (the rule of 45 meets it again
// at every pass without deepening, so starting again would never end). Once the units'
// deepening was cut short, the ladder runs itself once more from its set-up; what that run
// leaves decides, and the outer run starts again with fresh depths only when the inner one
// changed the board (else it would only repeat itself).
Next trial_after_bands(Main& m) {
  if (m.problema) return Next::Leave;
  if (m.volte <= 3) return Next::Restart;
  m.varcontrolloesteso = true;
  if (m.volteestese <= 6 || m.modificato) return Next::Restart;
  if (m.volte >= 6) return Next::Leave;
  if (m.trial_nesting > 1) return Next::Leave;
  const int before = ladder::board_progress(m);
  m.risolvi_in_prova();
  if (m.problema) return Next::Leave;
  m.show_elapsed();
  m.volte = 3;
  m.volteestese = 3;
  m.varcontrolloesteso = false;
  if (m.livello < 13) m.livello = 13;
  if (m.finito || ladder::board_progress(m) == before) return Next::Leave;
  return Next::Restart;
}

// The trial ladder: every technique, in the rating ladder's order, without levels or counts.
constexpr auto kTrialLadder =
    rungs::join(rungs::kOpening,
                std::array{
                    rungs::kHiddenBox,
                    displayed(rungs::kHiddenRow),
                    displayed(rungs::kHiddenColumn),
                    displayed(rungs::kSumCheck),
                    displayed(rungs::kCageBox),
                    rungs::kCageRow,
                    rungs::kCageColumn,
                    rungs::kRequiredDigits,
                    displayed(rungs::kBoxLine),
                    displayed(rungs::kHiddenPair),
                    displayed(rungs::kCageCage),
                    on_not_found(displayed(rungs::kNakedTriple), rungs::deep_sums_or_next),
                    displayed(rungs::kRule45Bands),
                    on_not_found(displayed(rungs::kRule45Derived), rungs::deeper_units_or_next),
                    on_found(on_not_found(displayed(rungs::kRule45DerivedBands), trial_after_bands),
                             trial_after_bands),
                });

}  // namespace

void Main::risolvi_in_prova() {
  start_ladder();
  ++trial_nesting;
  ladder::run_ladder(*this, {kTrialLadder, ladder::fresh_pass});
  --trial_nesting;
}

void Main::prova_e_verifica_avvio() { prova_e_verifica(); }

// Sweeps over the cells with 2, 3, 4, then 5 candidates (lunghezza 3..6), in cell order; each
// digit of such a cell that is not the solution's is tried. Every hypothesis starts from the
// same saved position, with the deep sum analysis as it stood and no stored combinations, so
// that the logged replay of an accepted refutation draws the same consequences.
void Main::prova_e_verifica() {
  ins_dati = false;
  volte = 3;
  incongruenza = false;
  calling1 = mode::kTrial;
  gruppoproblema = kNoCage;
  forget_combinations();
  // The start of the trial is kept here only: the restart command's snapshot stays the start of
  // the puzzle, so that "rigenera schema" after a solve gives back the puzzle, not the position
  // of the last trial.
  Snapshot start;
  start.save(*this);
  const bool deep = varcontrolloesteso;
  // The sweeps switch the pencil marks over once for every tried cell and every hypothesis; the
  // tick goes back to where the player left it, whatever their number.
  struct KeepTick {
    Main& m;
    const bool ticked = m.mnupencil.checked();
    ~KeepTick() {
      if (m.mnupencil.checked() != ticked) m.mnupencil_Click();
    }
  } keep_tick{*this};
  const auto restore = [&] {
    start.restore(*this);
    varcontrolloesteso = deep;
  };

  int lower = 0;
  for (lunghezza = 3; lunghezza <= 6; ++lunghezza, ++lower, lunghezza1 += 10) {
    for (int cell = 0; cell < kCells; ++cell) {
      if (!Text1[cell].text().empty()) continue;
      const std::string cands = Text2[cell].text();
      const int L = static_cast<int>(cands.size());
      if (L >= lunghezza || L <= lower + 1) continue;
      mnupencil_Click();
      for (int k = 0; k < L; ++k) {
        const std::string d(1, cands[static_cast<size_t>(k)]);
        const std::string other(1, cands[k == 0 ? 1 : 0]);
        if (grigliasoluzione[cell] == d) continue;
        mnupencil_Click();
        place_digit(cell, d);
        const int before = esposti;
        gruppoproblema = kNoCage;
        incongruenza = false;
        problema = false;
        risolvi_in_prova();
        if (problema && esposti - before <= lunghezza1) {
          // The deduction: the refuted hypothesis replayed with its steps in the log.
          restore();
          place_digit(cell, d);
          incongruenza = true;
          const std::string where = rc(cell);
          log_line(kSeparator);
          log_line("INIZIO PROVA E VERIFICA");
          log_line(" SE " + where + "=" + d + " allora ");
          problema = false;
          calling1 = "";
          risolvi_in_prova();
          restore();
          if (Text2[cell].text().size() == 2) {
            log_line(" quindi " + where + "=" + other);
            log_line(kSeparator);
            incongruenza = false;
            place_digit(cell, other);
          } else {
            log_line("elimino " + d + " da " + where);
            log_line(kSeparator);
            Text2[cell].set_text(cut_first(Text2[cell].text(), d[0]));
          }
          problema = false;
          incongruenza = false;
          modificato = true;
          return;
        }
        restore();
        problema = false;
      }
    }
  }
}

}  // namespace ks
