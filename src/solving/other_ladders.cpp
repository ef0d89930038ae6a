// The ladders that stand beside the rating ladder without a command of their own: the full
// ladder without levels, the short ladder with a time limit and the ladder of the classic
// techniques only.
#include <array>

#include "solving/rating_ladder.h"
#include "solving/rungs.h"

namespace ks {

namespace {

using ladder::Found;
using ladder::Next;
using ladder::Rung;
using rungs::displayed;
using rungs::on_found;
using rungs::on_not_found;

constexpr int kShortLadderLimit = 120;  // seconds from t0, while generaeconta is set

Next clear_modificato(Main& m) {
  m.modificato = false;
  return Next::Rung;
}

// ---------------------------------------------------------------------------------------------
// risolvi_tutto: the rating ladder's rungs without levels, display or deepening

// The rule of 45 on bands with derived cages found nothing: without a count of its own, the
// ladder goes on to trial and verify only when an earlier count found exactly one solution.
Next tutto_end(Main& m) {
  if (m.finito || m.soluzioni != 1) return Next::Leave;
  return rating::trial_and_restart(m);
}

constexpr std::array<Rung, 19> kTutto{
    rungs::kNakedSingle,
    rungs::kCagePairs,
    rungs::kNakedPair,
    rungs::kRule45Single,
    rungs::kHiddenBox,
    rungs::kHiddenRow,
    rungs::kHiddenColumn,
    rungs::kSumCheck,
    rungs::kCageBox,
    rungs::kCageRow,
    rungs::kCageColumn,
    rungs::kRequiredDigits,
    rungs::kBoxLine,
    rungs::kHiddenPair,
    rungs::kCageCage,
    on_not_found(rungs::kNakedTriple, rungs::deep_sums_or_next),
    rungs::kRule45Bands,
    rungs::kRule45Derived,
    on_not_found(rungs::kRule45DerivedBands, tutto_end),
};

// ---------------------------------------------------------------------------------------------
// risolvi_automatico: singles, pairs, the rule of 45, the sum check and box-line, under a time
// limit

Next automatico_pass_start(Main& m) {
  m.modificato = false;
  m.show_elapsed();
  return m.generaeconta && static_cast<int>(m.elapsed()) > kShortLadderLimit ? Next::Leave
                                                                            : Next::Rung;
}

// After a naked single, the cage that the last placement left in doubt gets its own naked
// single.
Next automatico_after_naked(Main& m) {
  if (m.problema) return Next::Leave;
  if (m.gruppoproblema >= 0 && m.gruppoproblema < kNoCage) m.naked_single_gruppo(m.gruppoproblema);
  return ladder::leave_if_problem_or_done(m);
}

// A found single is written into its cell by the ladder itself (the techniques place theirs only
// while they explain themselves), and its cage gets the sum check. `cella` keeps the single's cell.
void place_single(Main& m) {
  const int cell = m.cella;
  if (cell < 0 || cell >= kCells) return;
  m.place_digit(cell, m.numero);
  if (const int g = m.cage_of(cell); g >= 0) m.controllo_somme(g);
  m.cella = cell;
}

// The classic ladder writes its singles without the cage's sum check.
void write_single(Main& m) {
  m.place_digit(m.cella, m.numero);
}

// A single-finding procedure, then what the ladder does with the single it found.
template <void (Main::*Find)(), void (*Then)(Main&)>
void find_then(Main& m) {
  (m.*Find)();
  Then(m);
}

// Only a single found in a row is counted (outside a trial), and it raises no level.
Next automatico_after_row(Main& m) {
  if (m.calling1 != mode::kTrial && m.liv1 < 255) ++m.liv1;
  return ladder::leave_if_problem(m);
}

constexpr std::array<Rung, 10> kAutomatico{
    on_found(rungs::kNakedSingle, automatico_after_naked),
    on_found(rungs::kCagePairs, ladder::leave_if_problem),
    Rung{.name = "cerca_settore_con_valore_unico",
         .run = find_then<&Main::cerca_settore_con_valore_unico, place_single>,
         .found = Found::Single,
         .display = true,
         .on_success = ladder::leave_if_problem},
    Rung{.name = "cerca_righe_con_valore_unico",
         .run = find_then<&Main::cerca_righe_con_valore_unico, place_single>,
         .found = Found::Single,
         .origine = "cerca_righe_con_valore_unico",
         .display = true,
         .on_success = automatico_after_row},
    Rung{.name = "cerca_colonne_con_valore_unico",
         .run = find_then<&Main::cerca_colonne_con_valore_unico, place_single>,
         .found = Found::Single,
         .origine = "cerca_colonne_con_valore_unico",
         .display = true,
         .on_success = ladder::leave_if_problem},
    on_found(displayed(rungs::kNakedPair), ladder::leave_if_problem),
    on_found(displayed(rungs::kRule45Single), ladder::leave_if_problem),
    on_found(displayed(rungs::kSumCheck), ladder::leave_if_problem),
    on_found(displayed(rungs::kRule45Derived), ladder::leave_if_problem),
    displayed(rungs::kBoxLine),  // the last rung: when it finds nothing the ladder ends
};

// ---------------------------------------------------------------------------------------------
// risolvi_classico: the classic techniques only, on the candidates shown

Next classico_pass_start(Main& m) {
  m.modificato = false;
  if (!m.mnupencil.checked()) m.mnupencil_Click();
  return Next::Rung;
}

constexpr std::array<Rung, 8> kClassico{
    Rung{.name = "naked_single_classico",
         .run = find_then<&Main::naked_single_classico, write_single>,
         .found = Found::Single,
         .on_success = ladder::leave_if_problem_or_done},
    Rung{.name = "cerca_righe_con_valore_unico",
         .run = find_then<&Main::cerca_righe_con_valore_unico, write_single>,
         .found = Found::Single,
         .on_success = ladder::leave_if_problem},
    Rung{.name = "cerca_colonne_con_valore_unico",
         .run = find_then<&Main::cerca_colonne_con_valore_unico, write_single>,
         .found = Found::Single,
         .on_success = ladder::leave_if_problem},
    Rung{.name = "cerca_settore_con_valore_unico",
         .run = find_then<&Main::cerca_settore_con_valore_unico, write_single>,
         .found = Found::Single,
         .on_success = ladder::leave_if_problem},
    rungs::kBoxLine,
    rungs::kNakedPair,
    rungs::kNakedTriple,
    rungs::kHiddenPair,  // the last rung: when it finds nothing the ladder ends
};

}  // namespace

// The deep sum analysis comes on at the first failure of the naked triple, as in the rating
// ladder; the rule of 45 does not deepen its search from one pass to the next.
void Main::risolvi_tutto() {
  volte = 3;
  volteestese = 3;
  finito = false;
  calling = mode::kRisolvi;
  ladder::run_ladder(*this, {kTutto, clear_modificato});
}

void Main::risolvi_automatico() {
  testo = "a";
  if (chiamante != mode::kRintraccia) testoselezionato = "b";
  finito = false;
  calling = mode::kRisolvi;
  chiamante = mode::kAnalisi;
  ladder::run_ladder(*this, {kAutomatico, automatico_pass_start});
}

void Main::risolvi_classico() {
  finito = false;
  ladder::run_ladder(*this, {kClassico, classico_pass_start});
}

}  // namespace ks
