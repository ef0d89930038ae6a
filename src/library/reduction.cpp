// The library reduction pass ("tenta riduzione"): every stored layout is loaded and checked for
// cages whose cells do not hang together; such a record gets "0" in its field singoli.
#include <string>

#include "board/main.h"
#include "library/library.h"
#include "library/puzzle_files.h"

namespace ks {

// Walks the records in the order of the table. A record without a layout or a level (not yet
// processed by the batch generator) is skipped; a layout the loader refuses counts as failing,
// like one that fails the contiguity check. The mark is saved as the pass moves on.
void Main::Command1_Click() {
  if (!library_ready() || !query_library(kReductionSource)) return;
  if (!Data1.MoveLast()) return;  // an empty table: nothing to check
  // The board is going to hold the stored puzzles one after the other: the game on it goes only
  // when the player agrees, and the status line names none of them.
  if (!may_discard_game()) return;
  const int n = Data1.record_count();
  filelibreria = false;
  library_record = 0;
  filetxt.set_text("");
  nuovo_schema();
  Data1.MoveFirst();
  for (int i = 1; i <= n; ++i) {
    nuovo_schema();
    txtprogressivo.set_visible(true);
    const int level = whole_number(testolivello.text());
    if (txtkenvari.text().find_first_not_of(' ') != std::string::npos && level >= 0) {
      stringa = txtkenvari.text();
      livello = level;
      carica_gruppi_da_stringa();
      if (!problema) controlla_contiguita();
      if (problema) Data1.write(txtnumeri, "0");
    }
    Data1.MoveNext();
  }
}

}  // namespace ks
