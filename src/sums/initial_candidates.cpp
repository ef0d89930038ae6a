// Initial candidates: the first candidate string of every cell of every cage, from the cage's
// size and sum alone, once a layout has been loaded.
#include <algorithm>
#include <cmath>

#include "board/main.h"

namespace ks {

// A one-cell cage holds its sum; a cage of two to seven cells holds the digits that some set of
// that many distinct digits with that sum uses (tabellapossibili). A sum no cage of that size can
// make gives all nine digits: the sum check finds the contradiction later, and candidate strings
// stay made of digits only.
// Example: cage {r1c1, r1c2} of sum 3 -> both cells "12"; cage {r5c5} of sum 7 -> "7".
void Main::inizializza_candidati() {
  modificato = false;
  // Every cell starts again from its cage alone: combinations worked out for earlier candidates
  // (an earlier try of the generator, say) no longer hold.
  forget_combinations();
  const int last = std::min(gruppi, kCageSlots - 1);
  for (int g = 0; g <= last; ++g) {
    if (g < kCells) Textgruppo[g].set_visible(false);
    contatoredimessaggio = 0;
    const Value& size = elementigruppo[g];
    if (!size.is_number()) continue;
    const double n = size.num();
    const double s = sommagruppo[g].is_number() ? sommagruppo[g].num() : -1;
    const bool whole_sum = s == std::floor(s);
    if (n == 1) {
      const int c = cage_cell(g, 1);
      if (c < 0) continue;
      if (whole_sum && s >= 1 && s <= 9)
        Text2[c].set_text(std::string(1, static_cast<char>('0' + static_cast<int>(s))));
      else
        Text2[c].set_text("123456789");
    } else if (n >= 2 && n <= 7 && n == std::floor(n)) {
      const int cells = static_cast<int>(n);
      if (whole_sum && s >= 0 && s <= 42)
        stringa = tabellapossibili[static_cast<size_t>(cells)][static_cast<size_t>(s)];
      else
        stringa.clear();
      if (stringa.empty()) stringa = "123456789";
      for (int k = 1; k <= cells; ++k) {
        const int c = cage_cell(g, k);
        if (c >= 0) Text2[c].set_text(stringa);
      }
    }
  }
}

}  // namespace ks
