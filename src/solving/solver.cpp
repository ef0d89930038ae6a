// The solver form's tables: the digit bits, the mask rebuild and the result tables that start-up
// sizes.
#include "solving/solver.h"

namespace ks {

void Solver::inizializza_bit() {
  bitcifra[0] = 0;
  for (int d = 1; d <= 9; ++d) bitcifra[static_cast<std::size_t>(d)] = 1 << d;
}

void Solver::size_results() {
  soluzionitrovate.assign(2049, std::array<std::int32_t, 81>{});
  tempisoluzioni.assign(2049, 0.0);
}

void Solver::BuildCluesMask() {
  for (std::size_t k = 81; k < 108; ++k) maschere[k] = 0;
  for (std::size_t i = 0; i < 81; ++i) {
    const std::int32_t v = grigliacifre[i];
    const std::int32_t bit = v >= 0 && v <= 9 ? bitcifra[static_cast<std::size_t>(v)] : 0;
    maschere[81 + i / 9] |= bit;
    maschere[90 + i % 9] |= bit;
    maschere[99 + 3 * (i / 27) + i % 9 / 3] |= bit;
  }
  for (std::size_t i = 0; i < 81; ++i)
    maschere[i] =
        maschere[81 + i / 9] | maschere[90 + i % 9] | maschere[99 + 3 * (i / 27) + i % 9 / 3];
}

}  // namespace ks
