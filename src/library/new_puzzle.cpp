// The new-puzzle command: an empty board without cages, ready for entering a puzzle by hand.
#include "board/main.h"

namespace ks {

// Nothing of the last puzzle stays in view: the play clock stops and reads 0, and the cage window
// is emptied.
void Main::mnunew_Click() {
  filelibreria = false;
  library_record = 0;
  if (mnupencil.checked()) mnupencil_Click();
  filetxt.set_text(" nuovo schema");
  nuovo_schema();
  stop_play_clock();
  tempotot.set_text("0");
  frmgeneratore.last_shown = -1;
  frmgeneratore.Text1.set_text("");
}

}  // namespace ks
