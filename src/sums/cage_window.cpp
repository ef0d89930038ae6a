// The cage information window: one cage with its remaining sum, its empty cells and its sum
// combinations, shown in frmgeneratore's text box.
#include "board/main.h"

namespace ks {

// Shows cage `cage` unless it is the cage on display already; a negative number (a cell in no
// cage) or one outside the cage tables empties the window. The combinations are recomputed first
// with the enumeration that the technique at work uses ("somme1" without repeats, "somme2" with).
// While a generation runs the window is the generator's log, and no cage is shown in it.
void Main::mostra_somme_gruppo(int cage) {
  if (generation_running) return;
  if (cage < 0 || cage >= kCageSlots) {
    frmgeneratore.last_shown = -1;
    frmgeneratore.Text1.set_text("");
    return;
  }
  if (cage == frmgeneratore.last_shown) return;
  frmgeneratore.last_shown = cage;

  if (origine == mode::kSomme1)
    calcola_somme_gruppo(cage);
  else if (origine == mode::kSomme2)
    calcola_somme_gruppo_ripetizioni(cage);

  testo = "gruppo " + std::to_string(cage) + "\r\nsomma " + sommagruppo[cage].text() +
          "\r\nelementi " + elementigruppo[cage].text() + "\r\nsomme:";
  const Value& count = numerosomme[cage];
  if (count.is_empty() || count.is_null()) {
    frmgeneratore.Text1.set_text("somme non ancora calcolate");
    return;
  }
  int n = count.as_int();
  if (n > kMaxCombos) n = kMaxCombos;
  for (int k = 1; k <= n; ++k) {
    testo += "\r\n";
    testo += elencosomme[cage][k];
  }
  frmgeneratore.Text1.set_text(testo);
}

}  // namespace ks
