// The ladder engine: a ladder is a table of rungs, each a technique procedure with what comes
// before its call, how its success is read, the level it is worth and what success or failure
// does next. Every ladder of the program (rating, trial, short timed, hint cascade, the unused
// ones) is such a table run by run_ladder.
#pragma once

#include <span>

#include "board/main.h"

namespace ks::ladder {

// What follows a rung: the next rung of the pass, a new pass from the first rung, or the end of
// the ladder.
enum class Next { Rung, Restart, Leave };

// How a rung's success is read: a single-finding procedure leaves `cella` below kNoCell, every
// other procedure sets `modificato`.
enum class Found { Single, Change };

using Step = void (*)(Main&);
using Decide = Next (*)(Main&);
using LevelOf = int (*)(const Main&);

// The start of a pass of the full ladders (rating, trial): nothing changed yet, and the elapsed
// time shown with a yield.
Next fresh_pass(Main& m);

// The usual outcomes.
Next restart(Main&);
Next next_rung(Main&);
Next leave(Main&);
Next leave_if_problem(Main&);          // after a hidden single
Next leave_if_problem_or_done(Main&);  // after a naked single: a contradiction or a full grid

// One rung. Plain function pointers (captureless lambdas convert to them), no member pointers.
struct Rung {
  const char* name;
  Step run;
  Found found = Found::Change;
  const char* origine = nullptr;  // `origine` takes this tag before the call (nullptr: kept)
  bool display = false;           // the elapsed-time display comes before the call
  int level = 0;                  // level raised and counted on success (0: none) ...
  LevelOf level_of = nullptr;     // ... or worked out from the state after the call
  Decide on_success = restart;
  Decide on_failure = next_rung;
};

struct Ladder {
  std::span<const Rung> rungs;
  // Runs at the start of every pass (e.g. modificato cleared, the display, a time limit);
  // Leave ends the ladder before the pass. nullptr: nothing.
  Decide pass_start = nullptr;
};

// Runs the ladder's passes until a rung or the pass start says Leave, or a pass falls off the
// last rung. A single that a rung reports but does not place (its mode does not place it) ends
// the ladder too: the same single would be found again at every pass. So does a long run of
// passes that change nothing on the board (a technique that reports changes it does not make,
// a contradiction met again and again), which would otherwise hold the ladder for ever, and a
// cap on the passes in all; these two are counted in m.safety_stops.
void run_ladder(Main& m, const Ladder& ladder);

// A number that changes whenever a digit is placed or a candidate removed: the filled cells and
// the candidates left. Ladders that restart without a change compare it to make sure that they
// end.
int board_progress(const Main& m);

}  // namespace ks::ladder
