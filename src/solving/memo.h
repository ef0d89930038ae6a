// What the solving procedures remember between calls to skip work whose outcome is known: the
// inputs a procedure's outcome depends on, packed as numbers, beside that outcome. A procedure
// looks its inputs up first and redoes the work only when they differ.
#pragma once

#include <array>
#include <string>

#include "board/main.h"
#include "board/units.h"
#include "rule45/region.h"

namespace ks {

struct SolvingMemo {
  // Off, every procedure does its whole work at every call: no memo is read, and the rule of 45
  // splits every region in full (a test compares the two ways).
  bool enabled = true;

  // The rule of 45 on single units after a call that found nothing: the digits and cages it
  // split, and what that call left behind that the last unit's split does not write again:
  // gruppo, and the inside list's entries 1..longest (the longest list of the call).
  struct Rule45Units {
    bool valid = false;
    rule45::PlainModel model{};
    int gruppo = 0;
    int longest = 0;
    std::array<Value, kCells> inside{};
  } rule45_units;

  // The combinations of each cage number as the last enumeration found them, with what that
  // enumeration read: the cells, their candidates, which of them clash, the sum and whether digits
  // may repeat. The same inputs give the same combinations.
  //
  //   found[0..count-1]  the combinations, digit by digit
  //   joined             all of them as one text (what stringa gets): combination k (1-based)
  //                      is the n characters from n * (k - 1)
  //   common             their common digits (what numeriobbligati gets)
  //
  // The sum checks of the cage remember beside them that they found nothing on the same inputs:
  // quiet_sum_check for controllo_somme (its deep step included when quiet_deep), quiet_derived
  // for the check of a derived cage. controllo_somme's removals of confined digits also read
  // the cells of the units named in confined[0..confined_count-1], which are looked at again.
  struct Confined {
    char digit = '0';
    UnitKind kind = UnitKind::Row;
    int unit = 0;  // 0..8
  };
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
    std::string joined;
    std::string common;
    bool quiet_sum_check = false;
    bool quiet_deep = false;
    bool quiet_derived = false;
    int confined_count = 0;
    std::array<Confined, 27> confined{};
  };
  std::array<Combinations, kCageSlots> combinations;
};

}  // namespace ks
