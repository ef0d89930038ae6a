// Checks for technique tests on hand-built boards (test_support.h) and on real puzzles: what one
// call leaves, a step answered at the traffic light, the modes a technique runs in, the known
// solution kept through a stand-in solve, and the texts its log and hint lines are built from.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "test_support.h"

namespace ks::test {

// The separator line that opens a step's block in the log.
inline const std::string kDashes = "-----------------------";

// The same candidate string for each listed cell; maps joined with +.
inline std::map<int, std::string> each(std::initializer_list<int> cells,
                                       const std::string& candidates) {
  std::map<int, std::string> out;
  for (const int c : cells) out[c] = candidates;
  return out;
}
inline std::map<int, std::string> operator+(std::map<int, std::string> a,
                                            const std::map<int, std::string>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

// One technique call in step mode (calling "", chiamante "manuale"), the player answering its
// waits from the script and the red light once it is spent (the board's candidates are snapshot
// first); the waits seen.
template <typename Run>
std::vector<Light::Wait> step(HandBoard& b, Run run, std::initializer_list<const char*> script) {
  b.m.calling = "";
  b.m.chiamante = "manuale";
  Light light(b.s, script, "no");
  b.snapshot();
  std::invoke(run, b.m);
  return light.waits;
}

// After the gate: the lights are off and every cell is back to its normal colours.
inline void expect_gate_closed(const Main& m) {
  EXPECT_FALSE(m.Pictgo.visible());
  EXPECT_FALSE(m.Pictalt.visible());
  for (int i = 0; i < 81; ++i) {
    EXPECT_EQ(m.Text1[i].back_color(), m.bianco) << i;
    EXPECT_EQ(m.Text2[i].back_color(), m.bianco) << i;
  }
}

// A step refused at the red light: it waited once and counts as a change, met no
// contradiction, and left every box as it was and every cell in its normal colours.
template <typename Run>
void expect_refused(HandBoard& b, Run run) {
  const std::vector<std::string> before = b.cells();
  EXPECT_EQ(step(b, run, {"no"}).size(), 1u);
  EXPECT_TRUE(b.m.modificato);
  EXPECT_FALSE(b.m.problema);
  EXPECT_EQ(b.cells(), before);
  expect_gate_closed(b.m);
}

// The candidates left on the board, all cells together.
inline int candidates_left(const Main& m) {
  int n = 0;
  for (int i = 0; i < 81; ++i) n += static_cast<int>(m.Text2[i].text().size());
  return n;
}

// Every cell still offers its solution digit, every placed digit is the solution's, and no
// contradiction was met.
inline ::testing::AssertionResult keeps_solution(const Main& m, const Puzzle& p,
                                                 const std::string& after) {
  if (m.problema) return ::testing::AssertionFailure() << p.id << " after " << after << ": problema";
  for (int i = 0; i < 81; ++i) {
    const char s = p.solution[static_cast<size_t>(i)];
    const std::string& digit = m.Text1[i].text();
    if (!digit.empty() && digit != std::string(1, s))
      return ::testing::AssertionFailure() << p.id << " after " << after << ": " << m.rc(i)
                                           << " = " << digit << ", solution " << s;
    if (!has_char(m.Text2[i].text(), s))
      return ::testing::AssertionFailure() << p.id << " after " << after << ": " << m.rc(i)
                                           << " holds " << m.Text2[i].text();
  }
  return ::testing::AssertionSuccess();
}

// Every digit box is empty or holds one digit 1..9.
inline ::testing::AssertionResult one_digit_or_none(const Main& m) {
  for (int i = 0; i < 81; ++i) {
    const std::string& t = m.Text1[i].text();
    if (!t.empty() && (t.size() != 1 || t[0] < '1' || t[0] > '9'))
      return ::testing::AssertionFailure() << m.rc(i) << " \"" << t << "\"";
  }
  return ::testing::AssertionSuccess();
}

// A cell drawn at random that still has a candidate other than its solution digit, and one such
// candidate drawn at random.
inline std::pair<int, std::string> wrong_digit(const Main& m, const Puzzle& p,
                                               std::mt19937& random) {
  for (;;) {
    const int cell = static_cast<int>(random() % 81);
    std::string wrong;
    for (const char d : m.Text2[cell].text())
      if (d != p.solution[static_cast<size_t>(cell)]) wrong += d;
    if (!wrong.empty()) return {cell, std::string(1, wrong[random() % wrong.size()])};
  }
}

// A wrong guess under trial: the digit of wrong_digit placed in its cell, as trial and verify
// places a hypothesis. False when the placement itself met a contradiction.
inline bool place_wrong_guess(Main& m, const Puzzle& p, std::mt19937& random) {
  m.calling1 = "trial";
  const auto [cell, digit] = wrong_digit(m, p, random);
  m.Text1[cell].set_text(digit);
  return !m.problema;
}

// Drops at random candidates that the solution does not use: each stays with a chance of
// keep_percent in 100.
inline void thin_candidates(Main& m, const Puzzle& p, std::mt19937& random, int keep_percent) {
  for (int i = 0; i < 81; ++i) {
    std::string kept;
    for (const char d : m.Text2[i].text())
      if (d == p.solution[static_cast<size_t>(i)] ||
          static_cast<int>(random() % 100) < keep_percent)
        kept += d;
    m.Text2[i].set_text(kept);
  }
}

// A technique by its procedure's name.
struct Technique {
  const char* name;
  void (*run)(Main&);
};
// The techniques built so far in the order of the rating ladder: the singles, the rule of 45 on
// units, the hidden singles, the sum check, the cage techniques, the rule of 45 on bands, and
// the derived cages on units and on bands.
inline constexpr Technique kLadder[] = {
    {"naked_single", [](Main& m) { m.naked_single(); }},
    {"regola45_naked_single", [](Main& m) { m.regola45_naked_single(); }},
    {"cerca_settore_con_valore_unico", [](Main& m) { m.cerca_settore_con_valore_unico(); }},
    {"cerca_righe_con_valore_unico", [](Main& m) { m.cerca_righe_con_valore_unico(); }},
    {"cerca_colonne_con_valore_unico", [](Main& m) { m.cerca_colonne_con_valore_unico(); }},
    {"controllo_somme", [](Main& m) { m.controllo_somme(81); }},
    {"cerca_interazione_gruppo_settore", [](Main& m) { m.cerca_interazione_gruppo_settore(); }},
    {"cerca_interazione_gruppo_riga", [](Main& m) { m.cerca_interazione_gruppo_riga(); }},
    {"cerca_interazione_gruppo_colonna", [](Main& m) { m.cerca_interazione_gruppo_colonna(); }},
    {"numeri_obbligati_nel_gruppo", [](Main& m) { m.numeri_obbligati_nel_gruppo(); }},
    {"interazione_gruppo_gruppo", [](Main& m) { m.interazione_gruppo_gruppo(); }},
    {"regola45_righe_colonne_multiple", [](Main& m) { m.regola45_righe_colonne_multiple(); }},
    {"regola45_altri_gruppi", [](Main& m) { m.regola45_altri_gruppi(); }},
    {"regola45_altri_gruppi_multipli", [](Main& m) { m.regola45_altri_gruppi_multipli(); }},
};
// The cage techniques, in the ladder's order.
inline constexpr std::span<const Technique, 5> kCageTechniques(kLadder + 6, 5);

// A stand-in solve of a loaded puzzle: rounds of the sum check, the naked singles (typed as a
// player would) and then `more`, in a full solve, until a round leaves the candidates as it
// found them. The known solution is checked after each of these calls; `more` checks its own.
inline void solve_in_rounds(Main& m, const Puzzle& p, const std::function<void()>& more) {
  m.calling = "risolvi";
  m.chiamante = "analisi";
  for (int round = 0;; ++round) {
    ASSERT_LT(round, 500) << p.id << ": no fixpoint";
    const int start = candidates_left(m);
    m.controllo_somme(81);
    ASSERT_TRUE(keeps_solution(m, p, "controllo_somme"));
    for (int i = 0; i < 81; ++i) {
      if (m.Text1[i].text().empty() && m.Text2[i].text().size() == 1) {
        m.Text1[i].set_text(m.Text2[i].text());
        ASSERT_TRUE(keeps_solution(m, p, "placing " + m.rc(i)));
      }
    }
    more();
    if (::testing::Test::HasFatalFailure()) return;
    if (candidates_left(m) == start) break;
  }
}

// What one technique call is expected to leave.
// also, when given, checks what else the call leaves (levels, testo, ...).
struct Outcome {
  std::map<int, std::string> changed{};
  std::vector<std::string> log{};
  std::string hint{};
  bool modificato = true;
  bool problema = false;
  std::function<void(const Main&)> also{};
};

inline void expect_outcome(const HandBoard& b, const Outcome& e) {
  EXPECT_EQ(b.changes(), e.changed);
  EXPECT_EQ(b.log(), e.log);
  EXPECT_EQ(b.m.txthint.text(), e.hint);
  EXPECT_EQ(b.m.modificato, e.modificato);
  EXPECT_EQ(b.m.problema, e.problema);
  if (e.also) e.also(b.m);
}

// The difficulty record after the call: the level, and the uses counted in one counter.
inline std::function<void(const Main&)> record(int livello, int Main::*counter, int uses) {
  return [=](const Main& m) {
    EXPECT_EQ(m.livello, livello);
    EXPECT_EQ(m.*counter, uses);
  };
}

// One case of a table-driven technique test: a board, the technique, what it leaves.
struct TechniqueCase {
  std::string name;
  std::function<void(HandBoard&)> setup;
  std::function<void(Main&)> run;
  Outcome expect;
  std::string chiamante = "analisi";
  std::string calling1 = "";
};

inline void run_cases(const std::vector<TechniqueCase>& cases) {
  for (const TechniqueCase& c : cases) {
    SCOPED_TRACE(c.name);
    HandBoard b;
    b.m.chiamante = c.chiamante;
    b.m.calling1 = c.calling1;
    c.setup(b);
    b.snapshot();
    c.run(b.m);
    expect_outcome(b, c.expect);
  }
}

// The modes a technique runs in: step by step, a step of the analysis, the full solve, a trial
// inside the solve, the generator.
struct Mode {
  const char* chiamante;
  const char* calling;
  const char* calling1;
};
inline constexpr Mode kModes[] = {{"manuale", "", ""},
                                  {"analisi", "", ""},
                                  {"analisi", "risolvi", ""},
                                  {"analisi", "risolvi", "trial"},
                                  {"genera", "genera", ""}};
inline void set_mode(Main& m, const Mode& mode) {
  m.chiamante = mode.chiamante;
  m.calling = mode.calling;
  m.calling1 = mode.calling1;
}
inline std::string mode_name(const Mode& mode) {
  return std::string(mode.chiamante) + "/" + mode.calling + "/" + mode.calling1;
}

// A technique that places a single, run in each mode of kModes. expected holds per mode a word
// of h (the hint shown starts with `hint`), l (the log holds the dashes and `log`), w (the step
// waits at the light with the cell highlighted), m (the call counts as a change). Every mode
// places the digit.
struct SingleInModes {
  std::string name;
  std::function<void(HandBoard&)> setup;
  std::function<void(Main&)> run;
  int cell;
  std::string hint;
  std::string log;
  std::array<const char*, std::size(kModes)> expected;
};

inline void expect_single_in_modes(const SingleInModes& c) {
  for (size_t k = 0; k < std::size(kModes); ++k) {
    SCOPED_TRACE(c.name + ", " + mode_name(kModes[k]));
    const std::string want = c.expected[k];
    HandBoard b;
    Light light(b.s);
    set_mode(b.m, kModes[k]);
    c.setup(b);
    c.run(b.m);
    EXPECT_NE(b.m.Text1[c.cell].text(), "");
    EXPECT_EQ(b.m.modificato, want.find('m') != std::string::npos);
    const bool waits = want.find('w') != std::string::npos;
    ASSERT_EQ(light.waits.size(), waits ? 1u : 0u);
    // The hint as the step showed it: at the light, or after the step (where cell entry's sum
    // check may have added to it).
    const std::string shown = waits ? light.waits[0].hint : b.m.txthint.text();
    EXPECT_EQ(shown.starts_with(c.hint), want.find('h') != std::string::npos) << shown;
    if (waits) {
      EXPECT_EQ(light.waits[0].yellow, std::vector<int>{c.cell});
      EXPECT_EQ(b.m.Text2[c.cell].text(), b.m.Text1[c.cell].text());
    }
    const std::vector<std::string> log = b.log();
    const bool logged = log.size() >= 2 && log[0] == kDashes && log[1] == c.log;
    EXPECT_EQ(logged, want.find('l') != std::string::npos);
    EXPECT_EQ(b.m.Text1[c.cell].back_color(), b.m.bianco);
  }
}

// Rows 1-2 for the rule of 45 on bands: two-cell cages of sum 10 down each column but the
// fourth, whose cage of sum `sum` reaches r3c4: r3c4 = 80 + sum - 90 (6 for the sum 16).
inline void rows_one_two_stick_out(HandBoard& b, int sum = 16) {
  int g = 0;
  for (int c = 1; c <= 9; ++c)
    if (c != 4) b.cage(g++, 10, {at(1, c), at(2, c)});
  b.cage(g, sum, {at(1, 4), at(2, 4), at(3, 4)});
}

// "r" row "c" column of a cell, as the program names it.
inline std::string rc(int cell) {
  return "r" + std::to_string(cell / 9 + 1) + "c" + std::to_string(cell % 9 + 1);
}

// Every candidate but the listed digits, for each listed cell.
inline std::map<int, std::string> without(const std::string& digits,
                                          std::initializer_list<int> cells) {
  std::string s = "123456789";
  for (const char d : digits) s = cut_first(s, d);
  return each(cells, s);
}

// One text per cell: before, the cell's name, after.
inline std::vector<std::string> per_cell(const std::string& before,
                                         std::initializer_list<int> cells,
                                         const std::string& after = "") {
  std::vector<std::string> out;
  for (const int c : cells) out.push_back(before + rc(c) + after);
  return out;
}
// One text per digit and cell, every cell for the first digit before the second: before, the
// digit, " da ", the cell's name, after. The log lines or hint entries of a unit's removals.
inline std::vector<std::string> by_digit(const std::string& before, const std::string& digits,
                                         std::initializer_list<int> cells,
                                         const std::string& after = "") {
  std::vector<std::string> out;
  for (const char d : digits)
    for (const int c : cells) out.push_back(before + d + " da " + rc(c) + after);
  return out;
}
inline std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += p;
  return out;
}
inline std::vector<std::string> operator+(std::vector<std::string> a,
                                          const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace ks::test
