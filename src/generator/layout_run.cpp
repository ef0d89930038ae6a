// The cage-layout run: set-up, the carving phases in order, the freeze of the carved layout and
// the loop of verification tries, each ended by the final renumbering.
#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "board/main.h"
#include "generator/layout_run.h"
#include "platform/text.h"
#include "solving/solver.h"

namespace ks {

namespace {

constexpr int kMaxTries = 8;

bool complete_grid_text(const std::string& s) {
  if (s.size() < static_cast<std::size_t>(kCells)) return false;
  return std::all_of(s.begin(), s.begin() + kCells, [](char c) { return c >= '1' && c <= '9'; });
}

}  // namespace

void Main::log_generatore(const std::string& line) {
  frmgeneratore.Text1.set_text(line + "\r\n" + frmgeneratore.Text1.text());
}

void Main::show_generation_time(float& t) {
  if (generatorecontinuo) return;
  t = rt.Timer();
  tempo.set_text(seconds_text(static_cast<double>(t) - static_cast<double>(t0)));
}

// Outside batch mode the board already holds the grid of the classic generator, whose digits
// stand in the solver's result text; in batch mode the solver completes the puzzle of stringa.
// A grid that is not complete (givens without a completion) is not carved: its cages would have
// sums of 0.
bool Main::prepare_layout_run(LayoutRun& run) {
  generaeconta = true;
  run.cut = 3;
  calling1 = mode::kClassico;
  if (generatorecontinuo) {
    const std::string givens = stringa;
    solver.stringasoluzione.clear();
    if (!finito) solver.risolvi(givens);
  }
  if (!complete_grid_text(solver.stringasoluzione)) {
    log_generatore(" griglia senza soluzione ");
    problema = true;
    livello = 14;
    return false;
  }
  calling = mode::kGenera;
  if (mnupencil.checked()) mnupencil_Click();
  for (int i = 0; i < kCells; ++i) {
    Text1[i].set_text(solver.stringasoluzione.substr(static_cast<std::size_t>(i), 1));
    cellesalvate[i] = Text1[i].text();
  }
  run.colour = 0;
  gruppo = 0;
  show_generation_time(t2);
  rt.DoEvents();
  return true;
}

void Main::freeze_layout(LayoutRun& run) {
  if (gruppo > 0) --gruppo;
  for (int g = 0; g <= gruppo; ++g) {
    elementicopia[g] = elementigruppo[g];
    sommacopia[g] = sommagruppo[g];
    const int n = cage_size(g);
    for (int j = 1; j <= n; ++j) cellecopia[g][j] = cellegruppo[g][j];
    keep_layout(g, n);
  }
  run.tries = 0;
  gruppi = gruppo;
  gruppo1 = gruppo;
}

int Main::split_cage() const {
  const int last = std::min(gruppi, kCells - 1);
  for (int g = 0; g <= last; ++g) {
    const int n = cage_size(g);
    std::array<int, kMaxCageCells> cells{};
    for (int k = 1; k <= n; ++k) cells[k - 1] = cage_cell(g, k);
    if (!cage_whole(g, std::span<const int>(cells.data(), static_cast<std::size_t>(n)))) return g;
  }
  return -1;
}

std::string Main::layout_fault() const {
  std::array<int, kCells> owners{};
  const int last = std::min(gruppi, kCells - 1);
  for (int g = 0; g <= last; ++g) {
    if (elementigruppo[g].as_int() > kMaxCageCells) return " gruppo troppo grande ";
    const int n = cage_size(g);
    unsigned digits = 0;
    int sum = 0;
    for (int k = 1; k <= n; ++k) {
      const int c = cage_cell(g, k);
      if (c < 0 || cage_of(c) != g) return " cella senza gruppo ";
      ++owners[c];
      const int d = cellesalvate[c].size() == 1 ? cellesalvate[c][0] - '0' : 0;
      if (d < 1 || d > 9 || (digits & (1u << d)) != 0) return " cifra ripetuta nel gruppo ";
      digits |= 1u << d;
      sum += d;
    }
    if (n > 0 && !sommagruppo[g].eq(sum)) return " somma errata ";
  }
  for (int c = 0; c < kCells; ++c)
    if (owners[c] != 1) return " cella senza gruppo ";
  if (split_cage() >= 0) return " problema contiguita ";
  return "";
}

// Carving, then tries: each try is logged, the layout drawn and verified. A rejected try ends the
// run; a repaired one is renumbered and tried again, at most eight times; an accepted one is
// renumbered and ends the run.
void Main::genera_schema() {
  LayoutRun run;
  if (!prepare_layout_run(run)) return;

  carve_pairs(run);
  show_generation_time(t1);
  rt.DoEvents();
  glue_lone_cells(run);
  carve_greedy(run);
  freeze_layout(run);

  for (;;) {
    ++run.tries;
    log_generatore(" tentativo " + std::to_string(run.tries));
    show_generation_time(t2);
    rt.DoEvents();
    // The drawing's own check would stop the run with a message box on a split cage; the try log
    // says it instead.
    if (split_cage() >= 0) {
      log_generatore(" problema contiguita " + std::to_string(run.tries));
      problema = true;
      livello = 14;
      return;
    }
    disegna_gruppi();
    if (run.tries > kMaxTries) {
      log_generatore(" troppi cicli " + std::to_string(run.tries));
      problema = true;
      livello = 14;
      return;
    }
    const TryOutcome outcome = try_layout(run);
    if (outcome == TryOutcome::reject) {
      problema = true;
      livello = 14;
      return;
    }
    if (!renumber_cages(run)) return;
    if (outcome == TryOutcome::accept) {
      // Accepted by the count: the puzzle needs more than the techniques, whatever the ladder
      // reached before.
      if (run.counted) livello = 13;
      return;
    }
  }
}

}  // namespace ks
