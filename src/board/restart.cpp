// The restart command of the file toolbar ("rigenera schema"): the board back to its saved
// snapshot, the cages back to their load-time layout less the digits that stay on the board.
#include <algorithm>

#include "board/main.h"
#include "platform/text.h"

namespace ks {

// Cage g as the board now stands: its full sum (the text of its sum box, 0 when the box holds no
// number) less the digits placed in it, and its empty cells in the order the cage was entered.
// The cells are those that belong to g (cage_members); a cage without any is left alone.
// Example: cage 15 = {r1c1, r1c2, r2c1}, r1c2 = 6 on the board -> sum 9, 2 cells, r1c1 and r2c1.
void Main::cage_from_layout(int g) {
  std::array<int, kMaxCageCells> cells{};
  const int count = cage_members(g, cells);
  if (count == 0) return;

  double sum = g < kCells ? val(textsomma[g].text()) : 0;
  int empty = 0;
  for (int k = 0; k < count; ++k) {
    const int c = cells[static_cast<size_t>(k)];
    const std::string& digit = Text1[c].text();
    if (digit.empty())
      cellegruppo.set(g, ++empty, c);
    else
      sum -= val(digit);
  }
  sommagruppo.set(g, sum);
  elementigruppo.set(g, empty);
}

bool Main::restart_loses_digits() const {
  for (int i = 0; i < kCells; ++i) {
    const std::string& saved = cellesalvate[i];
    if (!Text1[i].text().empty() && Text1[i].text() != (saved.size() == 1 ? saved : std::string()))
      return true;
  }
  return false;
}

void Main::restart_puzzle() {
  ins_dati = true;
  for (int i = 0; i < kCells; ++i) {
    const std::string& saved = cellesalvate[i];
    if (saved.size() == 1) {
      Text1[i].set_text(saved);
    } else {
      Text2[i].set_text(saved);
      Text1[i].set_text("");
    }
  }
  varcontrolloesteso = false;
  const int last = std::min(gruppi, kCells - 1);
  // The cage being entered has no sum yet: it stays open, as the editor left it.
  for (int g = 0; g <= last; ++g)
    if (!cage_being_entered(g)) cage_from_layout(g);
  ins_dati = false;
  forget_combinations();
  calcola_candidati();
  inizializza_candidati();
  // Cells emptied by the restart show their candidates while the pencil marks are on.
  if (mnupencil.checked()) {
    mnupencil_Click();
    mnupencil_Click();
  }
}

}  // namespace ks
