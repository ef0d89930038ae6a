// The classic grid generator: random givens in point-symmetric pairs on the empty board, completed
// by the bit-mask solver into a full 9 x 9 grid without cages.
#include <algorithm>
#include <cmath>

#include "board/main.h"
#include "platform/text.h"
#include "solving/solver.h"

namespace ks {

bool Main::place_random_digit(int cell) {
  const std::string candidates = Text2[cell].text();
  if (candidates.empty()) return false;
  const double r = static_cast<double>(rt.Rnd());
  const auto k = static_cast<std::size_t>(r * static_cast<double>(candidates.size()));
  const char d = candidates[std::min(k, candidates.size() - 1)];
  if (d < '1' || d > '9') return false;
  Text1[cell].set_text(std::string(1, d));
  solver.grigliacifre[static_cast<std::size_t>(cell)] = d - '0';
  return true;
}

// Each step draws a cell among the first (empty-cell count) cells and, when it is empty, places a
// random candidate there and in its twin 80 - c, so the givens lie point-symmetric about the
// centre. Candidates keep the givens free of direct clashes; from 21 givens on, the solver says
// whether they can be completed: a completion (the first one it finds) becomes the grid, none
// starts the generation again from an empty board. So does a cell left without candidates, or a
// placement that cell entry finds contradictory: such a try goes straight to the restart.
void Main::genera_griglia_classica() {
  nuovo_schema();
  calling1 = mode::kClassico;
  while (!finito) {
    const double empty = std::floor(std::clamp(val(txtvuoti.text()), 0.0, 81.0));
    const int c =
        std::clamp(static_cast<int>(empty * static_cast<double>(rt.Rnd())), 0, kCells - 1);
    if (Text1[c].text().empty()) {
      if (!place_random_digit(c)) problema = true;
      const int twin = 80 - c;
      if (!problema && Text1[twin].text().empty() && !place_random_digit(twin)) problema = true;
      if (!problema && val(txtesposti.text()) > 20) {
        std::string s;
        s.reserve(kCells);
        for (int i = 0; i < kCells; ++i)
          s += std::to_string(solver.grigliacifre[static_cast<std::size_t>(i)]);
        solver.risolvi(s);
        if (solver.numerosoluzioni == 0) {
          problema = true;
        } else {
          for (int i = 0; i < kCells; ++i)
            Text1[i].set_text(solver.stringasoluzione.substr(static_cast<std::size_t>(i), 1));
          finito = true;
        }
      }
    }
    if (problema) {
      nuovo_schema();
      calling1 = mode::kClassico;
      problema = false;
    }
  }
}

}  // namespace ks
