// The main window's solver form: made and connected with the window, started with it, its grid
// emptied with the board.
#include "board/main.h"
#include "solving/solver.h"

namespace ks {

Part<Solver> make_solver(Main& main) {
  Part<Solver> solver(new Solver);
  solver->connect(main.rt, main.finito);
  return solver;
}

void PartEnd::operator()(Solver* p) const { delete p; }

void Main::start_solver() {
  solver.inizializza_bit();
  solver.size_results();
}

void Main::clear_solver_grid() {
  for (int i = 0; i < kCells; ++i) solver.grigliacifre[static_cast<size_t>(i)] = 0;
}

}  // namespace ks
