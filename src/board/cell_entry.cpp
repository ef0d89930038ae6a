// Cell entry: what follows every change of a cell's digit.
#include "board/main.h"

namespace ks {

void Main::Text1_Change(int Index) {
  // Count the filled cells.
  if (!Text1[Index].text().empty())
    ++esposti;
  else
    --esposti;
  txtesposti.set_text(std::to_string(esposti));
  txtvuoti.set_text(std::to_string(81 - esposti));

  // Bulk fill: only the count.
  if (ins_dati) {
    for (auto& p : Picture1) p.set_visible(false);
    return;
  }
}

}  // namespace ks
