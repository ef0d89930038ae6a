// The working values of one cage-layout run (genera_schema), shared by all its phases, and the
// verdict of one verification try.
#pragma once

namespace ks {

// Lives for one run only; every phase and both inner subroutines (the lone-cell gluing and the
// final renumbering) read and write the same instance.
struct LayoutRun {
  int colour = 0;  // colour index of the two-cell phase, 0..15
  int cut = 3;     // cut size of the greedy carving, alternating 4, 3, 4, ... from the first cage
  int count = 0;   // cells collected in listaappoggio (positions 1..count) by the growing cage
  int tries = 0;   // verification tries so far (0 at the freeze)
  bool counted = false;  // the last try was accepted by the solution count, not by solving
};

// What one verification try makes of the frozen layout: accept it (the run renumbers and ends),
// repair (the try has moved cells in the working copies; the run renumbers and tries again), or
// reject it (the try has logged why; the run ends with problema set and livello 14).
enum class TryOutcome { accept, repair, reject };

}  // namespace ks
