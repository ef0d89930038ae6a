// Hidden pairs and hidden triples in rows, boxes and columns.
#include <array>
#include <initializer_list>
#include <span>
#include <string>

#include "board/main.h"
#include "techniques/classic.h"

namespace ks {

namespace {

using classic::digit_text;
using classic::kSeparator;

// Survey of one unit, for each digit d 1..9: count[d] = how many cells of the unit hold d among
// their candidates (0 when d is settled in the unit: a cell whose candidates are d alone), and
// at[d][0..count-1] = those cells in unit order.
struct Survey {
  std::array<int, 10> count{};
  std::array<std::array<int, 9>, 10> at{};

  Survey(const Main& m, std::span<const int, 9> cells) {
    for (int d = 1; d <= 9; ++d) {
      const char digit = static_cast<char>('0' + d);
      for (const int cell : cells) {
        const unsigned bits = m.candidate_bits[static_cast<size_t>(cell)];
        bool settled, holds;
        if (bits & Main::kOddCandidates) {
          const std::string& s = m.Text2[cell].text();
          settled = s.size() == 1 && s[0] == digit;
          holds = has_char(s, digit);
        } else {
          settled = bits == 1u << d;
          holds = bits & (1u << d);
        }
        if (settled) {
          count[d] = 0;
          break;
        }
        if (holds) at[d][static_cast<size_t>(count[d]++)] = cell;
      }
    }
  }

  // True when the digits all lie in the same n cells (each digit in exactly n).
  bool same_cells(std::initializer_list<int> digits, int n) const {
    const int first = *digits.begin();
    for (const int d : digits) {
      if (count[d] != n) return false;
      for (int k = 0; k < n; ++k)
        if (at[d][k] != at[first][k]) return false;
    }
    return true;
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
  if (m.calling1 != "trial") ++m.liv6;
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
    const bool logging = m.calling1 != "trial";
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
    const bool logging = m.calling1 != "trial";
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

// One unit: every hidden pair, then (when no pair changed anything) every hidden triple. A
// pattern whose cells hold nothing else is passed over without a word. False when the call ends
// here: a step was applied or refused.
bool hidden_in_unit(Main& m, std::span<const int, 9> cells) {
  const Survey survey(m, cells);
  const auto& at = survey.at;
  const auto longer = [&m](int cell, size_t n) { return m.Text2[cell].text().size() > n; };
  for (int d1 = 1; d1 <= 8; ++d1) {
    for (int d2 = d1 + 1; d2 <= 9; ++d2) {
      if (!survey.same_cells({d1, d2}, 2)) continue;
      const int a = at[d1][0], b = at[d1][1];
      if (!longer(a, 2) && !longer(b, 2)) continue;
      if (!hidden_pair_step(m, static_cast<char>('0' + d1), static_cast<char>('0' + d2), a, b))
        return false;
    }
  }
  if (m.modificato) return false;
  for (int d1 = 1; d1 <= 7; ++d1) {
    for (int d2 = d1 + 1; d2 <= 8; ++d2) {
      for (int d3 = d2 + 1; d3 <= 9; ++d3) {
        if (!survey.same_cells({d1, d2, d3}, 3)) continue;
        const int a = at[d1][0], b = at[d1][1], c = at[d1][2];
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
