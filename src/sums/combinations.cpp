// The sum combinations of a cage: sets of distinct digits that make its remaining sum and fit its
// empty cells, the candidate and placement tests they are filtered by, and their common digits.
#include <string>

#include "board/main.h"
#include "sums/cage_cells.h"

namespace ks {

namespace {

// Sets of distinct digits for the cells level..n-1: ascending digits from `lo`, each a candidate
// somewhere in the cage, adding up to `rest`. Partial sums prune the search, which finds the same
// sets, in the same ascending order, as trying every set would.
template <typename Found>
void distinct_sets(const sums::CageCells& cage, int level, int lo, int rest,
                   std::array<int, 5>& digits, Found& found) {
  const int left = cage.n - level;  // digits still to choose, this one included
  const int top = (left - 1) * (19 - (left - 1)) / 2;  // the largest sum of the left - 1 after it
  for (int d = lo; d <= 9; ++d) {
    if (left * d + left * (left - 1) / 2 > rest) break;  // even the smallest choice is too much
    if (d + top < rest) continue;
    if (!(cage.any & (1u << d))) continue;
    digits[level] = d;
    if (left == 1)
      found(digits);
    else
      distinct_sets(cage, level + 1, d + 1, rest - d, digits, found);
  }
}

}  // namespace

// Combinations of a real cage, or of a derived cage lying in one row, column or box: the sets of
// n distinct digits (n = 2..5 empty cells) that add up to the remaining sum, use only digits still
// possible in the cage, and can be placed one per cell on the cells' candidates.
// Example: 3 empty cells, remaining sum 10, no candidate excluded -> 127, 136, 145, 235.
void Main::calcola_somme_gruppo(int gruppo) {
  sums::store_combinations(*this, gruppo, [](const auto& cage, int sum, auto& digits, auto& found) {
    distinct_sets(cage, 0, 1, sum, digits, found);
  });
}

bool Main::numero_possibile_nel_gruppo(int numero, int gruppo) {
  if (gruppo < 0 || gruppo >= kCageSlots || numero < 1 || numero > 9) return false;
  const char c = static_cast<char>('0' + numero);
  const int n = elementigruppo[gruppo].as_int();
  for (int i = 1; i <= n && i <= 7; ++i) {
    const int cell = cage_cell(gruppo, i);
    if (cell >= 0 && Text2[cell].text().find(c) != std::string::npos) return true;
  }
  return false;
}

// Placement test: the digits of the text can be given one to each empty cell of the cage, every
// cell getting one of its candidates, and no two cells that share a row, column, box or real cage
// getting the same digit. Example: cells r1c1 "3", r1c2 "3", r1c3 "12" cannot hold 123.
bool Main::combinazione_collocabile(int gruppo, const std::string& combinazione) {
  const sums::CageCells cage(*this, gruppo);
  if (cage.n == 0 || static_cast<int>(combinazione.size()) != cage.n) return false;
  std::array<int, 5> digits{};
  for (int i = 0; i < cage.n; ++i) {
    const char c = combinazione[i];
    if (c < '1' || c > '9') return false;
    digits[i] = c - '0';
  }
  return cage.placeable(digits);
}

// The digits found in every stored combination of the cage, ascending; stored in
// numeriobbligati. Example: 125 and 134 -> "1".
std::string Main::numeri_comuni_somme(int gruppo) {
  if (gruppo < 0 || gruppo >= kCageSlots) return "";
  std::string& common = numeriobbligati[gruppo];
  common.clear();
  int count = numerosomme[gruppo].as_int();
  if (count > kMaxCombos) count = kMaxCombos;
  if (count < 1) return common;
  const auto& list = elencosomme[gruppo];
  for (char c : list[1]) {
    bool everywhere = true;
    for (int k = 2; k <= count && everywhere; ++k)
      everywhere = list[k].find(c) != std::string::npos;
    if (everywhere && common.find(c) == std::string::npos) common += c;
  }
  return common;
}

}  // namespace ks
