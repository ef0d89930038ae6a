// The rungs the ladders are built from: every technique procedure the ladders call, with its
// success test and the usual outcome (restart on success, next rung on failure), and the small
// changes a ladder makes to a rung (the display before it, its level, other outcomes).
#pragma once

#include <array>
#include <cstddef>

#include "solving/ladder.h"

namespace ks::rungs {

using ladder::Decide;
using ladder::Found;
using ladder::LevelOf;
using ladder::Next;
using ladder::Rung;

// ---------------------------------------------------------------------------------------------
// Changes to a rung

constexpr Rung displayed(Rung r) {
  r.display = true;
  return r;
}
constexpr Rung with_level(Rung r, int level) {
  r.level = level;
  return r;
}
constexpr Rung with_level(Rung r, LevelOf level_of) {
  r.level_of = level_of;
  return r;
}
constexpr Rung on_found(Rung r, Decide d) {
  r.on_success = d;
  return r;
}
constexpr Rung on_not_found(Rung r, Decide d) {
  r.on_failure = d;
  return r;
}

// Two runs of rungs one after the other, as one table.
template <std::size_t A, std::size_t B>
constexpr std::array<Rung, A + B> join(const std::array<Rung, A>& a, const std::array<Rung, B>& b) {
  std::array<Rung, A + B> out{};
  for (std::size_t i = 0; i < A; ++i) out[i] = a[i];
  for (std::size_t i = 0; i < B; ++i) out[A + i] = b[i];
  return out;
}

// ---------------------------------------------------------------------------------------------
// Outcomes and levels that several ladders share

// The sum check's level: 8 when its deep analysis made the change, else 2.
inline int sum_check_level(const Main& m) { return m.sommeestese ? 8 : 2; }

// The naked triple found nothing: the first time, the deep sum analysis is switched on and the
// ladder starts again; afterwards the ladder goes on to the rule of 45 with derived cages.
inline Next deep_sums_or_next(Main& m) {
  if (m.varcontrolloesteso) return Next::Rung;
  m.varcontrolloesteso = true;
  return Next::Restart;
}

// The rule of 45 with derived cages on units found nothing: it has deepened its search (volte),
// so the ladder starts again while the depth is 5 or less. A contradiction ends the ladder: that
// rule meets it again at every pass without deepening its search, and the bands' rung after it
// clears it, so going on would start the ladder again and again, and lose the contradiction.
inline Next deeper_units_or_next(Main& m) {
  if (m.problema) return Next::Leave;
  return m.volte <= 5 ? Next::Restart : Next::Rung;
}

// ---------------------------------------------------------------------------------------------
// The technique procedures as rungs

inline void run_naked_single(Main& m) { m.naked_single(); }
inline void run_cage_pairs(Main& m) { m.cerca_coppie_nei_gruppi(); }
inline void run_naked_pair(Main& m) { m.nakedpair(); }
inline void run_rule45_single(Main& m) { m.regola45_naked_single(); }
inline void run_hidden_box(Main& m) { m.cerca_settore_con_valore_unico(); }
inline void run_hidden_row(Main& m) { m.cerca_righe_con_valore_unico(); }
inline void run_hidden_column(Main& m) { m.cerca_colonne_con_valore_unico(); }
inline void run_sum_check(Main& m) { m.controllo_somme(kEveryCage); }
inline void run_cage_box(Main& m) { m.cerca_interazione_gruppo_settore(); }
inline void run_cage_row(Main& m) { m.cerca_interazione_gruppo_riga(); }
inline void run_cage_column(Main& m) { m.cerca_interazione_gruppo_colonna(); }
inline void run_required_digits(Main& m) { m.numeri_obbligati_nel_gruppo(); }
inline void run_box_line(Main& m) { m.interazione_settore_riga_colonna(); }
inline void run_hidden_pair(Main& m) { m.hiddenpair(); }
inline void run_cage_cage(Main& m) { m.interazione_gruppo_gruppo(); }
inline void run_naked_triple(Main& m) { m.nakedtriple(); }
inline void run_rule45_bands(Main& m) { m.regola45_righe_colonne_multiple(); }
inline void run_rule45_derived(Main& m) { m.regola45_altri_gruppi(); }
inline void run_rule45_derived_bands(Main& m) { m.regola45_altri_gruppi_multipli(); }

// A naked single ends the ladder on a contradiction or a full grid; a hidden single on a
// contradiction.
inline constexpr Rung kNakedSingle{.name = "naked_single",
                                   .run = run_naked_single,
                                   .found = Found::Single,
                                   .on_success = ladder::leave_if_problem_or_done};
inline constexpr Rung kCagePairs{.name = "cerca_coppie_nei_gruppi", .run = run_cage_pairs};
inline constexpr Rung kNakedPair{.name = "nakedpair", .run = run_naked_pair};
inline constexpr Rung kRule45Single{.name = "regola45_naked_single", .run = run_rule45_single};
inline constexpr Rung kHiddenBox{.name = "cerca_settore_con_valore_unico",
                                 .run = run_hidden_box,
                                 .found = Found::Single,
                                 .origine = "cerca_settore_con_valore_unico",
                                 .on_success = ladder::leave_if_problem};
inline constexpr Rung kHiddenRow{.name = "cerca_righe_con_valore_unico",
                                 .run = run_hidden_row,
                                 .found = Found::Single,
                                 .origine = "cerca_righe_con_valore_unico",
                                 .on_success = ladder::leave_if_problem};
inline constexpr Rung kHiddenColumn{.name = "cerca_colonne_con_valore_unico",
                                    .run = run_hidden_column,
                                    .found = Found::Single,
                                    .origine = "cerca_colonne_con_valore_unico",
                                    .on_success = ladder::leave_if_problem};
inline constexpr Rung kSumCheck{.name = "controllo_somme", .run = run_sum_check};
inline constexpr Rung kCageBox{.name = "cerca_interazione_gruppo_settore", .run = run_cage_box};
inline constexpr Rung kCageRow{.name = "cerca_interazione_gruppo_riga", .run = run_cage_row};
inline constexpr Rung kCageColumn{.name = "cerca_interazione_gruppo_colonna",
                                  .run = run_cage_column};
inline constexpr Rung kRequiredDigits{.name = "numeri_obbligati_nel_gruppo",
                                      .run = run_required_digits};
inline constexpr Rung kBoxLine{.name = "interazione_settore_riga_colonna", .run = run_box_line};
inline constexpr Rung kHiddenPair{.name = "hiddenpair", .run = run_hidden_pair};
inline constexpr Rung kCageCage{.name = "interazione_gruppo_gruppo", .run = run_cage_cage};
inline constexpr Rung kNakedTriple{.name = "nakedtriple", .run = run_naked_triple};
inline constexpr Rung kRule45Bands{.name = "regola45_righe_colonne_multiple",
                                   .run = run_rule45_bands};
inline constexpr Rung kRule45Derived{.name = "regola45_altri_gruppi", .run = run_rule45_derived};
inline constexpr Rung kRule45DerivedBands{.name = "regola45_altri_gruppi_multipli",
                                          .run = run_rule45_derived_bands};

// The opening of the full ladders (rating, trial, short timed): the naked single, the pairs and
// the rule of 45 on single units, none of them worth a level.
inline constexpr std::array<Rung, 4> kOpening{kNakedSingle, kCagePairs, displayed(kNakedPair),
                                              displayed(kRule45Single)};

}  // namespace ks::rungs
