// The parts of the main window whose types belong to a subsystem above the board: the solver
// form, the level chooser and the memos of the sum checks and of the rule of 45. The board names
// them only; each subsystem makes and ends its own beside its type, so that a change of one of
// them rebuilds only its users.
#pragma once

#include <memory>

namespace ks {

class Main;
class Solver;
class Frmlivello;
struct SumsMemo;
struct Rule45Memo;

// Each operator is defined beside the make_ function of its type.
struct PartEnd {
  void operator()(Solver* p) const;
  void operator()(Frmlivello* p) const;
  void operator()(SumsMemo* p) const;
  void operator()(Rule45Memo* p) const;
};

template <class T>
using Part = std::unique_ptr<T, PartEnd>;

// The solver form, connected to the window's clock and finito (solving/solver_form.cpp).
Part<Solver> make_solver(Main& main);
// The level chooser of the window (library/level_chooser.cpp).
Part<Frmlivello> make_level_chooser(Main& main);
// The sum checks' memo, empty (sums/sums_memo.cpp).
Part<SumsMemo> make_sums_memo();
// The rule of 45's memo, empty (rule45/rule45_memo.cpp).
Part<Rule45Memo> make_rule45_memo();

}  // namespace ks
