// The rating ladder as a table, so that it can also run over stand-in rungs with the same levels
// and outcomes; the end steps that the full ladders share (trial and verify, level 13, a fresh
// start); the names of the levels.
#pragma once

#include <span>

#include "solving/ladder.h"

namespace ks::rating {

// The 19 rungs of the rating ladder, in order.
std::span<const ladder::Rung> rungs();

// The rating ladder over `table` (rungs() or stand-ins for its 19 rungs): its set-up, its passes
// and, after the last rung, the deepening of the rule of 45 and the end sequence.
void run(Main& m, std::span<const ladder::Rung> table);

// The name of a difficulty level 0..14 as the rating shows it (" BANALE" .. " EXTREME - Prova e
// Verifica"; 13 and 14 share theirs).
const char* level_name(int livello);

// What the end of the rating ladder tells the player of a count: more than one solution, none,
// or cut short by its time limit ("" for one solution, which goes on to trial and verify).
inline constexpr const char* kNoSolution = "schema senza soluzione";
const char* count_outcome(Main::CountResult r);
// The player is told how a solve ended unsolved: on the hint line, then in a message box.
void tell_unsolved(Main& m, const char* outcome);

// Trial and verify as the last resort of a full ladder: fresh depths, one trial, level 13 always
// counted; the ladder leaves once the grid is complete or when the trial found nothing (it would
// find nothing again), else starts again without the deep sum analysis.
ladder::Next trial_and_restart(Main& m);

}  // namespace ks::rating
