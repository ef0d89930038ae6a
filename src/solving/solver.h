// The invisible solver form: the bit-mask solver's tables (digit bits, the grid of givens and the
// solutions it records).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ks {

class Solver {
 public:
  // bitcifra(d): the bit of digit d, 2^d for d = 1..9; bitcifra(0) = 0.
  std::array<std::int32_t, 10> bitcifra{};
  // grigliacifre(i), i = 0..80: 0 for an empty cell, otherwise its digit; entry 81 is spare.
  std::array<std::int32_t, 82> grigliacifre{};
  // soluzionitrovate(0..2048): one grid of 81 values per solution found.
  std::vector<std::array<std::int32_t, 81>> soluzionitrovate;
  // tempisoluzioni(0..2048): the millisecond clock reading at each solution found.
  std::vector<double> tempisoluzioni;

  // Fills bitcifra.
  void inizializza_bit();
  // Sizes the two result tables to entries 0..2048, all empty.
  void size_results();
};

}  // namespace ks
