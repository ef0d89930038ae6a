// The bit-mask solver's search: depth first over the lowest empty cell, digits ascending, with
// forced singles between the branches, stopping at the second solution.
#include <bit>

#include "platform/runtime.h"
#include "solving/solver.h"

namespace ks {

namespace {

// Unit numbers of the work position: rows 0..8, columns 9..17, boxes 18..26.
//   riga[i], colonna[i], settore[i]   the three units of cell i
//   celle[u][k]                       the k-th cell of unit u (row by row inside a box)
struct Geometria {
  std::array<std::uint8_t, 81> riga{}, colonna{}, settore{};
  std::array<std::array<std::uint8_t, 9>, 27> celle{};
};

constexpr Geometria crea_geometria() {
  Geometria g;
  std::array<int, 27> n{};
  for (int i = 0; i < 81; ++i) {
    const int r = i / 9, c = i % 9, b = 3 * (r / 3) + c / 3;
    g.riga[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(r);
    g.colonna[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(9 + c);
    g.settore[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(18 + b);
    for (int u : {r, 9 + c, 18 + b})
      g.celle[static_cast<std::size_t>(u)]
             [static_cast<std::size_t>(n[static_cast<std::size_t>(u)]++)] =
          static_cast<std::uint8_t>(i);
  }
  return g;
}

constexpr Geometria kGeo = crea_geometria();
constexpr unsigned kTutte = Solver::kTutte;

// The digits cell i may still take in position p, as a mask (bit d = digit d).
inline unsigned libere(const auto& p, int i) {
  const auto k = static_cast<std::size_t>(i);
  return ~static_cast<unsigned>(p.unita[kGeo.riga[k]] | p.unita[kGeo.colonna[k]] |
                                p.unita[kGeo.settore[k]]) &
         kTutte;
}

// Writes digit d into cell i of position p and adds its bit to the cell's three units.
inline void metti(auto& p, int i, int d) {
  const auto k = static_cast<std::size_t>(i);
  const auto bit = static_cast<std::uint16_t>(1u << d);
  p.cifra[k] = static_cast<std::uint8_t>(d);
  p.unita[kGeo.riga[k]] |= bit;
  p.unita[kGeo.colonna[k]] |= bit;
  p.unita[kGeo.settore[k]] |= bit;
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
  if (carica_posizione()) {
    profonditapila = 0;
    const Posizione dati = pos_;
    passi_ = 0;
    limite_ = kPassiOrdinati;
    cerca_soluzioni(0);
    if (passi_ > limite_) {
      // The ordered search did not settle the grid within its budget. The fewest-candidates search
      // counts the solutions far sooner where whole regions have none; when there is one, it is
      // the smallest; only when there are two does the ordered search run again to its end.
      pos_ = dati;
      int trovate = 0;
      conta_soluzioni(trovate);
      if (trovate < 2) {
        numerosoluzioni = 0;
        testogriglia.clear();
        if (trovate == 1) {
          pos_.cifra = prima_;
          registra_soluzione();
        }
      } else {
        pos_ = dati;
        numerosoluzioni = 0;
        testogriglia.clear();
        passi_ = 0;
        limite_ = kSenzaLimite;
        cerca_soluzioni(0);
      }
    }
    primo_passo();
  } else {
    BuildCluesMask();
  }
  if (finito_ != nullptr) *finito_ = true;
}

bool Solver::carica_posizione() {
  pos_ = Posizione{};
  for (int i = 0; i < 81; ++i) {
    const int d = grigliacifre[static_cast<std::size_t>(i)];
    if (d == 0) continue;
    if ((libere(pos_, i) & (1u << d)) == 0) return false;
    metti(pos_, i, d);
  }
  return true;
}

// Every placement of the search is forced or a branch, and the branch is always the lowest empty
// cell with its digits in ascending order: the solutions therefore come in ascending order of
// their 81-digit texts, and the first one found is the smallest. Forced singles only cut away
// positions without a solution, so however many of them are found, the order stays the same.
void Solver::cerca_soluzioni(int cella) {
  if (numerosoluzioni > 1 || ++passi_ > limite_) return;
  if (!riempi_singoli(cella)) return;
  while (cella < 81 && pos_.cifra[static_cast<std::size_t>(cella)] != 0) ++cella;
  if (cella == 81) {
    registra_soluzione();
    return;
  }
  unsigned m = libere(pos_, cella);
  while (m != 0) {
    if (numerosoluzioni > 1 || passi_ > limite_ || profonditapila == kPilaMax) return;
    const int d = std::countr_zero(m);
    m &= m - 1;
    salva_griglia();
    metti(pos_, cella, d);
    cerca_soluzioni(cella + 1);
    ripristina_griglia();
  }
}

void Solver::conta_soluzioni(int& trovate) {
  if (!riempi_singoli(0)) return;
  int best = -1, bestn = 10;
  for (int i = 0; i < 81; ++i) {
    if (pos_.cifra[static_cast<std::size_t>(i)] != 0) continue;
    const int n = std::popcount(libere(pos_, i));
    if (n < bestn) {
      best = i;
      bestn = n;
      if (n == 2) break;
    }
  }
  if (best < 0) {
    if (++trovate == 1) prima_ = pos_.cifra;
    return;
  }
  unsigned m = libere(pos_, best);
  while (m != 0) {
    if (trovate > 1 || profonditapila == kPilaMax) return;
    const int d = std::countr_zero(m);
    m &= m - 1;
    salva_griglia();
    metti(pos_, best, d);
    conta_soluzioni(trovate);
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
    bool messo = false;
    for (int i = cella; i < 81; ++i) {
      if (p.cifra[static_cast<std::size_t>(i)] != 0) continue;
      const unsigned f = libere(p, i);
      if (f == 0) return false;
      if ((f & (f - 1)) == 0) {
        metti(p, i, std::countr_zero(f));
        messo = true;
      }
    }
    if (messo) continue;
    for (std::size_t u = 0; u < 27; ++u) {
      // once: digits possible in some empty cell of the unit; twice: in two or more.
      unsigned once = 0, twice = 0;
      for (std::uint8_t c : kGeo.celle[u]) {
        if (p.cifra[c] != 0) continue;
        const unsigned f = libere(p, c);
        twice |= once & f;
        once |= f;
      }
      if ((once | p.unita[u]) != kTutte) return false;
      unsigned uniche = once & ~twice;
      while (uniche != 0) {
        const int d = std::countr_zero(uniche);
        uniche &= uniche - 1;
        for (std::uint8_t c : kGeo.celle[u]) {
          if (p.cifra[c] == 0 && (libere(p, c) & (1u << d)) != 0) {
            metti(p, c, d);
            messo = true;
            break;
          }
        }
      }
    }
    if (!messo) return true;
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
  for (std::uint8_t d : pos_.cifra) testogriglia += static_cast<char>('0' + d);
  stringasoluzione = testogriglia;
  ++numerosoluzioni;
  if (numerosoluzioni > 1) return;
  testisoluzioni[1] = stringasoluzione;
  if (soluzionitrovate.size() < 2 || tempisoluzioni.size() < 2) size_results();
  for (std::size_t i = 0; i < 81; ++i) soluzionitrovate[1][i] = pos_.cifra[i];
  tempisoluzioni[1] = rt_ != nullptr ? rt_->timeGetTime() : 0.0;
}

bool Solver::nessuna_cella_bloccata(int cella) const {
  for (int i = cella; i <= 80; ++i)
    if (grigliacifre[static_cast<std::size_t>(i)] == 0 &&
        maschere[static_cast<std::size_t>(i)] == kTutte)
      return false;
  return true;
}

// One pass over the cells in ascending order on the givens: an empty cell whose mask leaves one
// digit gets it, and the masks take the new digit at once, so a later cell of the pass sees it. A
// cell that becomes a single only through a later cell is not revisited.
void Solver::primo_passo() {
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
