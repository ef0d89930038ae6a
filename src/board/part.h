// The parts of the main window whose types belong to a subsystem above the board: the solver
// form, the level chooser and the solving memo. The board names them only; each subsystem makes
// and ends its own beside its type, so that a change of one of them rebuilds only its users.
#pragma once

#include <memory>

namespace ks {

class Main;
class Solver;
class Frmlivello;
struct SolvingMemo;

// Each operator is defined beside the make_ function of its type.
struct PartEnd {
  void operator()(Solver* p) const;
  void operator()(Frmlivello* p) const;
  void operator()(SolvingMemo* p) const;
};

template <class T>
using Part = std::unique_ptr<T, PartEnd>;

// The solver form, connected to the window's clock and finito (solving/solver_form.cpp).
Part<Solver> make_solver(Main& main);
// The level chooser of the window (library/level_chooser.cpp).
Part<Frmlivello> make_level_chooser(Main& main);
// The solving memo, empty (solving/memo.cpp).
Part<SolvingMemo> make_solving_memo();

}  // namespace ks
