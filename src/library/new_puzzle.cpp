// The new-puzzle command: an empty board without cages, ready for entering a puzzle by hand.
#include "board/main.h"

namespace ks {

void Main::mnunew_Click() {
  filelibreria = false;
  library_record = 0;
  if (mnupencil.checked()) mnupencil_Click();
  filetxt.set_text(" nuovo schema");
  nuovo_schema();
}

}  // namespace ks
