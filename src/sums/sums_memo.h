// What the sum checks remember between calls to skip work whose outcome is known: the inputs an
// enumeration or a check read, packed as numbers, beside what it found. A procedure looks its
// inputs up first and redoes the work only when they differ (Main::memos_enabled).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "board/main.h"
#include "board/units.h"

namespace ks {

struct SumsMemo {
  // The combinations of a cage as an enumeration found them, remembered with what that
  // enumeration read (the key): the cells, their candidates, which of them clash, the sum and
  // whether digits may repeat. The same inputs give the same combinations, whatever the cage's
  // number (derived cages are numbered anew at every derivation run).
  //
  //   count, joined  the combinations, all of them as one text (what stringa gets): combination
  //                  k (1-based) is the n characters from n * (k - 1)
  //   common         their common digits (what numeriobbligati gets)
  //
  // The sum checks remember beside them that they found nothing on the same inputs:
  // quiet_sum_check for controllo_somme (its deep step included when quiet_deep), quiet_derived
  // for the check of a derived cage. controllo_somme's removals of confined digits also read
  // the cells of the units named in confined[0..confined_count-1], which are looked at again.
  struct ComboKey {
    bool repeats = false;
    bool sum_is_number = false;
    std::int8_t n = 0;
    int sum = 0;
    std::array<std::int8_t, 5> cell{};     // -1: no cell
    std::array<std::uint16_t, 5> cand{};  // candidate digits as bits 1..9
    std::uint32_t clash = 0;              // bit 5 * i + j for each clashing pair i < j
    bool operator==(const ComboKey&) const = default;
  };
  struct Confined {
    UnitKind kind = UnitKind::Row;
    char digit = '0';
    std::uint8_t unit = 0;  // 0..8
  };
  struct Combinations {
    bool valid = false;
    ComboKey key;
    int n = 0;
    int count = 0;
    std::string joined;
    std::string common;
    bool quiet_sum_check = false;
    bool quiet_deep = false;
    bool quiet_derived = false;
    int confined_count = 0;
    std::array<Confined, 15> confined{};  // a digit of at most five, in three units
  };
  // The table of enumerations: an enumeration goes to the slot its key's hash names, in place of
  // the one there before.
  static constexpr size_t kCombinationSlots = 4096;
  std::vector<Combinations> combinations = std::vector<Combinations>(kCombinationSlots);

  // The sum check of each real cage by number: what controllo_somme read when it last found
  // nothing in cage g, with the enumeration it wrote, so that a call on the same cells,
  // candidate bits and sum is told without a look-up; and, per cage number, how many times its
  // combination tables (elencosomme) were rewritten, so that tables left as that call left them
  // need no comparing. The enumeration table above still answers for inputs met before the last
  // ones (a count or a trial gives a board back).
  //
  //   cell, bits   the cage's empty cells 1..tables.n and their candidate bits (BoardIndex;
  //                never odd ones)
  //   writes       table_writes[g] when the check found nothing
  //   tables       the enumeration as the tables held it (quiet_deep: the deep step ran and found
  //                nothing too; confined: units to look at again)
  struct QuietCage {
    bool valid = false;
    int sum = 0;
    std::array<int, 5> cell{};
    std::array<std::uint16_t, 5> bits{};
    std::uint32_t writes = 0;
    Combinations tables;
  };
  std::array<QuietCage, kCageSlots> quiet_cages{};
  std::array<std::uint32_t, kCageSlots> table_writes{};
};

}  // namespace ks
