// Hidden pairs and hidden triples in rows, boxes and columns.
#include <array>
#include <bit>
#include <span>
#include <string>

#include "board/main.h"
#include "techniques/classic.h"

namespace ks {

namespace {

using classic::digit_text;
using classic::kSeparator;

// Survey of one unit: place[d] (d = 1..9) holds bit k for each position k (0..8) of the unit
// whose cell has d among its candidates, and is 0 when d is settled in the unit (a cell whose
// candidates are d alone).
struct Survey {
  std::array<unsigned, 10> place{};

  Survey(const Main& m, std::span<const int, 9> cells) {
    unsigned settled = 0;
    for (unsigned k = 0; k < 9; ++k) {
      const int cell = cells[k];
      const unsigned bits = m.board_index().candidate_bits(cell);
      unsigned holds = bits;
      if (bits & Main::kOddCandidates) {
        // An odd text is never one digit 1..9 alone, so it settles nothing.
        holds = digit_mask(m.Text2[cell].text());
      } else if (bits != 0 && (bits & (bits - 1)) == 0) {
        settled |= bits;
      }
      for (unsigned h = holds; h != 0; h &= h - 1) place[std::countr_zero(h)] |= 1u << k;
    }
    for (int d = 1; d <= 9; ++d)
      if (settled >> d & 1u) place[d] = 0;
  }

  // The digits 1..9 whose places are exactly n (2 or 3) cells, in ascending order.
  int digits_in(int n, std::array<int, 9>& out) const {
    int count = 0;
    for (int d = 1; d <= 9; ++d)
      if (places(d) == n) out[static_cast<size_t>(count++)] = d;
    return count;
  }
  int places(int d) const {
    unsigned p = place[static_cast<size_t>(d)];
    int n = 0;
    for (; p != 0 && n <= 3; p &= p - 1) ++n;
    return n;
  }
  // The k-th cell (in unit order) of digit d's places.
  int cell(std::span<const int, 9> cells, int d, int k) const {
    unsigned p = place[static_cast<size_t>(d)];
    for (int i = 0; i < k; ++i) p &= p - 1;
    return cells[static_cast<size_t>(std::countr_zero(p))];
  }
};

// The cells keep only the pattern's digits (never gaining one they had lost).
void keep_only(Main& m, std::span<const int> cells, const std::string& digits) {
  for (const int cell : cells) {
    std::string kept;
    for (const char d : digits)
      if (m.has_candidate(cell, d)) kept += d;
    m.Text2[cell].set_text(kept);
  }
}

// Records one applied step: level 6 at least, one more use of it outside trial.
void count_step(Main& m) {
  if (m.livello < 6) m.livello = 6;
  if (m.calling1 != mode::kTrial) ++m.liv6;
  m.modificato = true;
}

// Hidden pair: two digits that a unit holds only in the same two cells must fill those two
// cells, so the cells lose every other candidate.
// Example: in row 4 the 3 and the 7 stand only in r4c2 = 1357 and r4c8 = 379  ->  both become 37.
// False when the player refused the step at the traffic light: the call ends there.
bool hidden_pair_step(Main& m, char d1, char d2, int a, int b) {
  const std::string digits{d1, d2};
  const std::string cells = m.rc(a) + " e " + m.rc(b);
  if (m.explains()) {
    const bool logging = m.calling1 != mode::kTrial;
    const std::string header = "HIDDEN PAIR " + digits + " in " + cells;
    m.testo = std::string(kSeparator) + "\r\n" + header;
    if (logging) m.log_line(m.testo);
    if (m.calling.empty()) {
      m.Text5.set_text(" ");
      m.txthint.set_visible(true);
      m.txthint.set_text(header);
      if (!m.step_gate({})) return false;
    }
    m.txthint.set_text("rimossi extra numeri da " + cells);
    m.testo = std::string(kSeparator) + "\r\n * rimuovo extra numeri da " + cells;
    if (logging) m.log_line(m.testo);
  }
  keep_only(m, std::array{a, b}, digits);
  count_step(m);
  return true;
}

// Hidden triple: three digits that a unit holds only in the same three cells (each digit in all
// three) must fill those cells, so the cells lose every other candidate.
// Example: in row 1 the 2, 5 and 8 stand only in r1c1, r1c4 and r1c9  ->  each becomes 258.
bool hidden_triple_step(Main& m, char d1, char d2, char d3, int a, int b, int c) {
  const std::string digits{d1, d2, d3};
  const std::array cells{a, b, c};
  if (m.explains()) {
    const bool logging = m.calling1 != mode::kTrial;
    const std::string where = m.rc(a) + " , " + m.rc(b) + " , " + m.rc(c);
    m.testo = "HIDDEN TRIPLE, numeri " + digit_text(d1) + "," + d2 + "," + d3 + " in " + where;
    if (logging) {
      m.log_line(kSeparator);
      m.log_line(m.testo);
    }
    if (m.calling.empty()) {
      m.Text5.set_text(" ");
      m.txthint.set_visible(true);
      m.txthint.set_text(m.testo);
      if (!m.step_gate(cells)) return false;
    }
    m.testo = "rimuovo extra numeri da " + where;
    m.txthint.set_text(m.testo);
    if (logging) m.log_line(" * " + m.testo);
  }
  keep_only(m, cells, digits);
  count_step(m);
  return true;
}

// One unit: every hidden pair, then (when no pair changed anything) every hidden triple, in the
// order of their digits. A pattern whose cells hold nothing else is passed over without a word.
// False when the call ends here: a step was applied or refused.
bool hidden_in_unit(Main& m, std::span<const int, 9> cells) {
  const Survey survey(m, cells);
  const auto longer = [&m](int cell, size_t n) { return static_cast<size_t>(m.candidate_count(cell)) > n; };
  std::array<int, 9> two{}, three{};
  const int twos = survey.digits_in(2, two);
  for (int i = 0; i < twos; ++i) {
    for (int j = i + 1; j < twos; ++j) {
      const int d1 = two[static_cast<size_t>(i)], d2 = two[static_cast<size_t>(j)];
      if (survey.place[static_cast<size_t>(d1)] != survey.place[static_cast<size_t>(d2)]) continue;
      const int a = survey.cell(cells, d1, 0), b = survey.cell(cells, d1, 1);
      if (!longer(a, 2) && !longer(b, 2)) continue;
      if (!hidden_pair_step(m, static_cast<char>('0' + d1), static_cast<char>('0' + d2), a, b))
        return false;
    }
  }
  if (m.modificato) return false;
  const int threes = survey.digits_in(3, three);
  for (int i = 0; i < threes; ++i) {
    for (int j = i + 1; j < threes; ++j) {
      for (int k = j + 1; k < threes; ++k) {
        const int d1 = three[static_cast<size_t>(i)], d2 = three[static_cast<size_t>(j)],
                  d3 = three[static_cast<size_t>(k)];
        const unsigned at = survey.place[static_cast<size_t>(d1)];
        if (survey.place[static_cast<size_t>(d2)] != at ||
            survey.place[static_cast<size_t>(d3)] != at)
          continue;
        const int a = survey.cell(cells, d1, 0), b = survey.cell(cells, d1, 1),
                  c = survey.cell(cells, d1, 2);
        if (!longer(a, 3) && !longer(b, 3) && !longer(c, 3)) continue;
        if (!hidden_triple_step(m, static_cast<char>('0' + d1), static_cast<char>('0' + d2),
                                static_cast<char>('0' + d3), a, b, c))
          return false;
      }
    }
  }
  return !m.modificato;
}

}  // namespace

// Rows top to bottom, then boxes, then columns; the call ends after the first unit in which
// something was applied or refused.
void Main::hiddenpair() {
  origine = "hiddenpair";
  modificato = false;
  for (const UnitKind kind : {UnitKind::Row, UnitKind::Box, UnitKind::Column}) {
    int& unit = kind == UnitKind::Row ? riga : kind == UnitKind::Box ? settore : colonna;
    for (int u = 0; u <= 8; ++u) {
      unit = u;
      indice = unit_cells(kind, u)[8];
      if (!hidden_in_unit(*this, unit_cells(kind, u))) return;
    }
  }
}

}  // namespace ks
