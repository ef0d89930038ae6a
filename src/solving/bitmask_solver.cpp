// The bit-mask solver's search: depth first over the lowest empty cell, digits ascending, with
// forced singles between the branches, stopping at the second solution.
#include <bit>

#include "platform/runtime.h"
#include "solving/solver.h"

namespace ks {

namespace {

// Unit numbers of the work position: rows 0..8, columns 9..17, boxes 18..26.
//   row[i], col[i], box[i]   the three units of cell i
//   cells[u][k]              the k-th cell of unit u (row by row inside a box)
struct Geometry {
  std::array<std::uint8_t, 81> row{}, col{}, box{};
  std::array<std::array<std::uint8_t, 9>, 27> cells{};
};

constexpr Geometry make_geometry() {
  Geometry g;
  std::array<int, 27> n{};
  for (int i = 0; i < 81; ++i) {
    const int r = i / 9, c = i % 9, b = 3 * (r / 3) + c / 3;
    g.row[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(r);
    g.col[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(9 + c);
    g.box[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(18 + b);
    for (int u : {r, 9 + c, 18 + b})
      g.cells[static_cast<std::size_t>(u)]
             [static_cast<std::size_t>(n[static_cast<std::size_t>(u)]++)] =
          static_cast<std::uint8_t>(i);
  }
  return g;
}

constexpr Geometry kUnits = make_geometry();
constexpr unsigned kAll = Solver::kAllDigits;

// The digits cell i may still take in position p, as a mask (bit d = digit d).
inline unsigned free_digits(const auto& p, int i) {
  const auto k = static_cast<std::size_t>(i);
  return ~static_cast<unsigned>(p.units[kUnits.row[k]] | p.units[kUnits.col[k]] |
                                p.units[kUnits.box[k]]) &
         kAll;
}

// Writes digit d into cell i of position p and adds its bit to the cell's three units.
inline void put(auto& p, int i, int d) {
  const auto k = static_cast<std::size_t>(i);
  const auto bit = static_cast<std::uint16_t>(1u << d);
  p.digit[k] = static_cast<std::uint8_t>(d);
  p.units[kUnits.row[k]] |= bit;
  p.units[kUnits.col[k]] |= bit;
  p.units[kUnits.box[k]] |= bit;
}

}  // namespace

void Solver::risolvi(std::string_view griglia) {
  if (bitcifra[1] == 0) inizializza_bit();
  numerosoluzioni = 0;
  testogriglia.clear();
  for (std::size_t i = 0; i < 81; ++i) {
    const char c = i < griglia.size() ? griglia[i] : '\0';
    grigliacifre[i] = c >= '1' && c <= '9' ? c - '0' : 0;
  }
  if (load_givens()) {
    profonditapila = 0;
    const Position givens = pos_;
    steps_ = 0;
    step_limit_ = kOrderedSteps;
    cerca_soluzioni(0);
    if (steps_ > step_limit_) {
      // The search in cell order did not settle the grid within its budget. The count over the
      // fewest candidates gets there far sooner where whole regions have no solution; a single
      // solution is also the smallest one; only with two does the search in cell order run again
      // to its end, so that the two smallest are reported.
      pos_ = givens;
      int found = 0;
      count_solutions(found);
      if (found < 2) {
        numerosoluzioni = 0;
        testogriglia.clear();
        if (found == 1) {
          pos_.digit = first_found_;
          registra_soluzione();
        }
      } else {
        pos_ = givens;
        numerosoluzioni = 0;
        testogriglia.clear();
        steps_ = 0;
        step_limit_ = kNoLimit;
        cerca_soluzioni(0);
      }
    }
    first_pass();
  } else {
    BuildCluesMask();
  }
  if (finito_ != nullptr) *finito_ = true;
}

bool Solver::load_givens() {
  pos_ = Position{};
  for (int i = 0; i < 81; ++i) {
    const int d = grigliacifre[static_cast<std::size_t>(i)];
    if (d == 0) continue;
    if ((free_digits(pos_, i) & (1u << d)) == 0) return false;
    put(pos_, i, d);
  }
  return true;
}

// Every placement of the search is forced or a branch, and the branch is always the lowest empty
// cell with its digits in ascending order: the solutions therefore come in ascending order of
// their 81-digit texts, and the first one found is the smallest. Forced singles only cut away
// positions without a solution, so however many of them are found, the order stays the same.
void Solver::cerca_soluzioni(int cella) {
  if (numerosoluzioni > 1 || ++steps_ > step_limit_) return;
  if (!riempi_singoli(cella)) return;
  while (cella < 81 && pos_.digit[static_cast<std::size_t>(cella)] != 0) ++cella;
  if (cella == 81) {
    registra_soluzione();
    return;
  }
  unsigned m = free_digits(pos_, cella);
  while (m != 0) {
    if (numerosoluzioni > 1 || steps_ > step_limit_ || profonditapila == kStackDepth) return;
    const int d = std::countr_zero(m);
    m &= m - 1;
    salva_griglia();
    put(pos_, cella, d);
    cerca_soluzioni(cella + 1);
    ripristina_griglia();
  }
}

// Counts the solutions up to two, branching on the empty cell with the fewest digits left (the
// first with two): a region without solutions shows a dead cell after a few branches there, where
// the search in cell order may first try every digit of many earlier cells. Keeps the first
// solution it finds in first_found_.
void Solver::count_solutions(int& found) {
  if (!riempi_singoli(0)) return;
  int best = -1, bestn = 10;
  for (int i = 0; i < 81; ++i) {
    if (pos_.digit[static_cast<std::size_t>(i)] != 0) continue;
    const int n = std::popcount(free_digits(pos_, i));
    if (n < bestn) {
      best = i;
      bestn = n;
      if (n == 2) break;
    }
  }
  if (best < 0) {
    if (++found == 1) first_found_ = pos_.digit;
    return;
  }
  unsigned m = free_digits(pos_, best);
  while (m != 0) {
    if (found > 1 || profonditapila == kStackDepth) return;
    const int d = std::countr_zero(m);
    m &= m - 1;
    salva_griglia();
    put(pos_, best, d);
    count_solutions(found);
    ripristina_griglia();
  }
}

// Naked singles (a cell with one digit left) and hidden singles (a digit with one cell left in a
// unit), placed until none is left. Cells below `cella` are all filled. False when the position
// has no solution: an empty cell without a digit, or a unit where some digit has no cell.
// Example: row 1 holds 1..7 in c1..c7, column 8 holds a 9  ->  r1c8 = 8, then r1c9 = 9.
bool Solver::riempi_singoli(int cella) {
  auto& p = pos_;
  for (;;) {
    bool placed = false;
    for (int i = cella; i < 81; ++i) {
      if (p.digit[static_cast<std::size_t>(i)] != 0) continue;
      const unsigned f = free_digits(p, i);
      if (f == 0) return false;
      if ((f & (f - 1)) == 0) {
        put(p, i, std::countr_zero(f));
        placed = true;
      }
    }
    if (placed) continue;
    for (std::size_t u = 0; u < 27; ++u) {
      // once: digits possible in some empty cell of the unit; twice: in two or more.
      unsigned once = 0, twice = 0;
      for (std::uint8_t c : kUnits.cells[u]) {
        if (p.digit[c] != 0) continue;
        const unsigned f = free_digits(p, c);
        twice |= once & f;
        once |= f;
      }
      if ((once | p.units[u]) != kAll) return false;
      unsigned lone = once & ~twice;
      while (lone != 0) {
        const int d = std::countr_zero(lone);
        lone &= lone - 1;
        for (std::uint8_t c : kUnits.cells[u]) {
          if (p.digit[c] == 0 && (free_digits(p, c) & (1u << d)) != 0) {
            put(p, c, d);
            placed = true;
            break;
          }
        }
      }
    }
    if (!placed) return true;
  }
}

void Solver::salva_griglia() {
  ++profonditapila;
  pilagriglie[static_cast<std::size_t>(profonditapila)] = pos_;
}

void Solver::ripristina_griglia() {
  pos_ = pilagriglie[static_cast<std::size_t>(profonditapila)];
  --profonditapila;
}

void Solver::registra_soluzione() {
  for (std::uint8_t d : pos_.digit) testogriglia += static_cast<char>('0' + d);
  stringasoluzione = testogriglia;
  ++numerosoluzioni;
  if (numerosoluzioni > 1) return;
  testisoluzioni[1] = stringasoluzione;
  if (soluzionitrovate.size() < 2 || tempisoluzioni.size() < 2) size_results();
  for (std::size_t i = 0; i < 81; ++i) soluzionitrovate[1][i] = pos_.digit[i];
  tempisoluzioni[1] = rt_ != nullptr ? rt_->timeGetTime() : 0.0;
}

bool Solver::nessuna_cella_bloccata(int cella) const {
  for (int i = cella; i <= 80; ++i)
    if (grigliacifre[static_cast<std::size_t>(i)] == 0 &&
        maschere[static_cast<std::size_t>(i)] == kAllDigits)
      return false;
  return true;
}

// One pass over the cells in ascending order on the givens: an empty cell whose mask leaves one
// digit gets it, and the masks take the new digit at once, so a later cell of the pass sees it. A
// cell that becomes a single only through a later cell is not revisited.
void Solver::first_pass() {
  BuildCluesMask();
  if (!nessuna_cella_bloccata(0)) return;
  for (std::size_t i = 0; i < 81; ++i) {
    if (grigliacifre[i] != 0) continue;
    const std::size_t r = 81 + i / 9, c = 90 + i % 9, b = 99 + 3 * (i / 27) + i % 9 / 3;
    maschere[i] = maschere[r] | maschere[c] | maschere[b];
    for (int d = 9; d >= 1; --d) {
      if (!unica_cifra(static_cast<int>(i), d)) continue;
      const std::int32_t bit = bitcifra[static_cast<std::size_t>(d)];
      grigliacifre[i] = d;
      maschere[r] |= bit;
      maschere[c] |= bit;
      maschere[b] |= bit;
      break;
    }
  }
  BuildCluesMask();
}

}  // namespace ks
