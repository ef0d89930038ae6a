// The new-puzzle command: an empty board without cages, ready for entering a puzzle by hand; and
// what every command that replaces the game with a new puzzle asks and clears first.
#include "board/main.h"

namespace ks {

// Nothing of the last puzzle stays in view: the play clock stops and reads 0, and the cage window
// is emptied.
void Main::mnunew_Click() {
  if (!may_discard_game()) return;
  filelibreria = false;
  library_record = 0;
  if (mnupencil.checked()) mnupencil_Click();
  filetxt.set_text(" nuovo schema");
  nuovo_schema();
  stop_play_clock();
  tempotot.set_text("0");
  clear_cage_window();
}

// Cages are the bigger loss: without them the digits mean nothing. A finished grid holds nothing
// left to lose.
const char* Main::discard_question() const {
  if (cages_unsaved || cage_being_entered(gruppi))
    return "Abbandonare lo schema in corso? I gruppi inseriti e non salvati andranno persi.";
  if (!finito && restart_loses_digits())
    return "Abbandonare lo schema in corso? Le cifre inserite andranno perse.";
  return nullptr;
}

bool Main::may_discard_game() {
  const char* question = discard_question();
  return question == nullptr || rt.MsgBox(question, MsgButtons::OkCancel) == MsgAnswer::Ok;
}

void Main::clear_cage_window() {
  frmgeneratore.last_shown = -1;
  frmgeneratore.Text1.set_text("");
}

}  // namespace ks
