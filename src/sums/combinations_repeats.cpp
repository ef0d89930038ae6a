// Combinations of a derived cage whose cells do not all lie in one row, column or box: digit
// strings that may repeat a digit, kept when the cage's cells can hold them.
#include <string>

#include "board/main.h"
#include "sums/cage_cells.h"

namespace ks {

// Combinations with repeats. A derived cage spread over several rows, columns and boxes may hold
// a digit more than once, in cells of different real cages that share no row, column or box.
// Every non-decreasing string of n digits (n = 2..5) with the cage's sum is kept when the
// placement test finds a way to give it to the cells; how often a digit repeats is decided by the
// cells alone, never by a fixed limit, so that no arrangement the cage can hold is lost.
// Example: r4c1, r6c2, r4c5, r6c4 in four different real cages, sum 6 -> 1122 is kept
// (1 in r4c1 and r6c4, 2 in r6c2 and r4c5).
void Main::calcola_somme_gruppo_ripetizioni(int cage) {
  sums::store_combinations(*this, cage, true);
}

// True when the first n digits of the text repeat much: one digit three times or more, or two
// different digits twice each. Example: 1123 -> false; 1122 and 1112 -> true. Such a string is
// still a valid combination when the cage's cells can hold it; this only classifies it.
bool Main::troppe_ripetizioni(const std::string& combinazione, int n) {
  if (n > static_cast<int>(combinazione.size())) n = static_cast<int>(combinazione.size());
  std::array<int, 10> times{};
  for (int i = 0; i < n; ++i) {
    const char c = combinazione[i];
    if (c >= '0' && c <= '9') ++times[c - '0'];
  }
  int pairs = 0;
  for (int t : times) {
    if (t >= 3) return true;
    if (t == 2) ++pairs;
  }
  return pairs >= 2;
}

}  // namespace ks
