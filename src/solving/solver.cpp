// Start-up services of the solver form.
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

}  // namespace ks
