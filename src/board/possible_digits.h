// What a cage can hold by its size and sum: whether n cells can make the sum at all, and the
// table of the digits they can use (tabellapossibili).
#pragma once

#include <array>
#include <string>

namespace ks {

// A cage has at most this many cells: its cell list has positions 1..kMaxCageCells.
inline constexpr int kMaxCageCells = 7;

// The smallest and the largest sum of n different digits: 1 + 2 + ... + n and 9 + 8 + ....
constexpr int lowest_sum(int n) { return n * (n + 1) / 2; }
constexpr int highest_sum(int n) { return n * (19 - n) / 2; }

// Whether a cage of n cells can have the sum s: n is 1..kMaxCageCells and s a whole number that
// n different digits make (lowest_sum(n)..highest_sum(n)). The cage editor asks it of a typed
// sum, and a load of every cage's whole sum.
constexpr bool sum_fits(int n, double s) {
  return n >= 1 && n <= kMaxCageCells && s >= lowest_sum(n) && s <= highest_sum(n) &&
         s == static_cast<int>(s);
}

// t[n][s], n = 2..7 cells, s = 0..42: the digits, ascending, that some set of n different digits
// with sum s uses; "" where no such set exists. Rows 0 and 1 stay empty.
using PossibleDigits = std::array<std::array<std::string, 43>, 8>;
void fill_tabellapossibili(PossibleDigits& t);

}  // namespace ks
