// The table of the digits a cage can hold, by its size and sum (tabellapossibili).
#pragma once

#include <array>
#include <string>

namespace ks {

// t[n][s], n = 2..7 cells, s = 0..42: the digits, ascending, that some set of n different digits
// with sum s uses; "" where no such set exists. Rows 0 and 1 stay empty.
using PossibleDigits = std::array<std::array<std::string, 43>, 8>;
void fill_tabellapossibili(PossibleDigits& t);

}  // namespace ks
