// A set of the board's cells as two words of bits, shared by the board's caches and the rule of
// 45's reading.
#pragma once

#include <bit>
#include <cstdint>

namespace ks {

// A set of cells: bit c of `low` for the cells 0..63, bit c - 64 of `high` for 64..80.
struct CellSet {
  std::uint64_t low = 0, high = 0;
  constexpr void add(int c) {
    if (c < 64)
      low |= std::uint64_t{1} << c;
    else
      high |= std::uint64_t{1} << (c - 64);
  }
  constexpr void remove(int c) {
    if (c < 64)
      low &= ~(std::uint64_t{1} << c);
    else
      high &= ~(std::uint64_t{1} << (c - 64));
  }
  constexpr bool has(int c) const {
    return c < 64 ? (low >> c & 1u) != 0 : (high >> (c - 64) & 1u) != 0;
  }
  constexpr bool empty() const { return (low | high) == 0; }
  constexpr bool meets(const CellSet& o) const { return ((low & o.low) | (high & o.high)) != 0; }
  // Whether some cell of this set is not in `o`.
  constexpr bool outside_of(const CellSet& o) const {
    return ((low & ~o.low) | (high & ~o.high)) != 0;
  }
  // How many cells of this set are in `o` (bit by bit: the sets counted are a cage's few cells).
  constexpr int count_in(const CellSet& o) const {
    int n = 0;
    for (std::uint64_t w = low & o.low; w != 0; w &= w - 1) ++n;
    for (std::uint64_t w = high & o.high; w != 0; w &= w - 1) ++n;
    return n;
  }
  constexpr CellSet operator&(const CellSet& o) const { return {low & o.low, high & o.high}; }
  // The cells of this set that are not in `o`.
  constexpr CellSet without(const CellSet& o) const { return {low & ~o.low, high & ~o.high}; }
  // The lowest cell of the set; -1 when it is empty.
  constexpr int first() const {
    return low != 0 ? std::countr_zero(low) : high != 0 ? 64 + std::countr_zero(high) : -1;
  }
  bool operator==(const CellSet&) const = default;
  // Calls f(c) for each cell c of the set, in ascending order.
  template <typename F>
  constexpr void each(F f) const {
    for (std::uint64_t w = low; w != 0; w &= w - 1) f(std::countr_zero(w));
    for (std::uint64_t w = high; w != 0; w &= w - 1) f(64 + std::countr_zero(w));
  }
};

}  // namespace ks
