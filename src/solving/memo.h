// What the solving procedures remember between calls to skip work whose outcome is known: the
// inputs a procedure's outcome depends on, packed as numbers, beside that outcome. A procedure
// looks its inputs up first and redoes the work only when they differ.
#pragma once

#include <array>
#include <vector>

#include "board/main.h"

namespace ks {

struct SolvingMemo {
  // The rule of 45 on single units after a call that found nothing: its inputs (see
  // regola45_naked_single) and what that call left behind that the last unit's split does not
  // write again: gruppo, and the inside list's entries up to the longest list of the call.
  struct Rule45Units {
    bool valid = false;
    std::vector<int> key;
    std::vector<int> scratch;
    int gruppo = 0;
    std::vector<Value> inside;
  } rule45_units;

  // The combinations of each cage number as the last enumeration found them, with what that
  // enumeration read: the cells, their candidates, which of them clash, the sum and whether digits
  // may repeat. The same inputs give the same combinations.
  struct Combinations {
    bool valid = false;
    bool repeats = false;
    bool sum_is_number = false;
    int sum = 0;
    int n = 0;
    std::array<int, 5> cell{};
    std::array<unsigned, 5> cand{};
    unsigned clash = 0;  // bit 5 * i + j for each clashing pair i < j
    int count = 0;
    std::array<std::array<int, 5>, kMaxCombos> found{};
  };
  std::array<Combinations, kCageSlots> combinations;
};

}  // namespace ks
