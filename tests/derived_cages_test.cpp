// Derived cages of the rule of 45: the derived-cage sum check on hand-built cages (generator,
// cuts, the single-combination cage, texts, gating, the red light), the rule of 45 with derived
// cages on units and bands (construction and erasure, singles, depths, stop rules, table
// bounds), and soundness and strength of every technique together on real puzzles.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/text.h"
#include "test_support.h"

namespace ks {
namespace {

using test::HandBoard;

// Cell of row r, column c (both 1..9).
constexpr int at(int r, int c) { return 9 * (r - 1) + (c - 1); }

int candidates_left(const Main& m) {
  int n = 0;
  for (int i = 0; i < 81; ++i) n += static_cast<int>(m.Text2[i].text().size());
  return n;
}

// ---------------------------------------------------------------------------------------------
// Every technique on real puzzles

// Every cell holds its solution digit among its candidates, every placed digit is the
// solution's, and no contradiction was met.
::testing::AssertionResult keeps_solution(const Main& m, const test::Puzzle& p,
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

// Every derived cage lies within the cage tables, with 2..7 cells of the board.
::testing::AssertionResult derived_in_range(const Main& m) {
  if (m.gruppo1 >= kCageSlots || m.gruppo1 < 0)
    return ::testing::AssertionFailure() << "gruppo1 " << m.gruppo1;
  for (int g = m.gruppi + 1; g <= m.gruppo1; ++g) {
    const int n = m.elementigruppo[g].as_int();
    if (n < 2 || n > kMaxCageCells) return ::testing::AssertionFailure() << "cage " << g << ": " << n;
    for (int k = 1; k <= n; ++k)
      if (m.cage_cell(g, k) < 0) return ::testing::AssertionFailure() << "cage " << g << " cell " << k;
  }
  return ::testing::AssertionSuccess();
}

// The techniques built so far, as the rating ladder runs them, restarting from the first rung
// after every change: the singles, the rule of 45 on units, the hidden singles, the sum check and
// the cage techniques, the rule of 45 on bands, then the derived cages on units (run again while
// its depth grows) and on bands (run again while either depth can grow, with the deep sum check
// switched on). A rung found something when the board changed. The run ends when no rung finds
// anything or a contradiction is met; `after` looks at the board after every rung. Without
// `derived` the last two rungs are left out.
struct LadderRun {
  bool solved = false;
  int derived_changes = 0;  // rungs of the derived-cage procedures that changed the board
};
LadderRun run_ladder(Main& m, bool derived, const std::function<void(const char*)>& after) {
  m.calling = "risolvi";
  m.chiamante = "analisi";
  struct Rung {
    const char* name;
    void (*run)(Main&);
  };
  static const Rung ladder[] = {
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
  constexpr size_t kUnits = std::size(ladder) - 2, kBands = std::size(ladder) - 1;
  const size_t rungs = derived ? std::size(ladder) : kUnits;
  LadderRun run;
  for (int steps = 0;; ++steps) {
    if (steps == 20000) {
      ADD_FAILURE() << "the ladder never stops";
      break;
    }
    bool restart = false;
    for (size_t r = 0; r < rungs && !restart; ++r) {
      const int before = candidates_left(m) + 10 * m.esposti;
      ladder[r].run(m);
      after(ladder[r].name);
      if (m.problema || m.esposti == 81) {
        run.solved = !m.problema && m.esposti == 81;
        return run;
      }
      const bool changed = candidates_left(m) + 10 * m.esposti != before;
      if (r >= kUnits) {
        // The derived-cage procedures report a change exactly when they make one.
        EXPECT_EQ(m.modificato, changed) << ladder[r].name;
        run.derived_changes += changed;
      }
      restart = changed;
      if (r == kUnits && m.volte <= 5) restart = true;
      if (r == kBands) {
        m.varcontrolloesteso = true;
        if (m.volte <= 3 || m.volteestese <= 6) restart = true;
      }
    }
    if (!restart) break;
  }
  return run;
}

TEST(DerivedCages, EveryTechniqueKeepsTheSolutionOnEveryPuzzle) {
  // grade -> puzzles, solved without the derived cages, solved with them
  std::map<std::string, std::array<int, 3>> grades;
  int derived = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    auto& g = grades[p.id.substr(0, 2)];
    ++g[0];
    for (const bool with : {false, true}) {
      test::Started s;
      Main& m = *s.m;
      test::load_layout(m, p.layout);
      ASSERT_FALSE(m.problema) << p.id;
      const LadderRun run = run_ladder(m, with, [&](const char* rung) {
        ASSERT_TRUE(keeps_solution(m, p, rung));
        ASSERT_TRUE(derived_in_range(m)) << p.id << " " << rung;
      });
      g[with ? 2 : 1] += run.solved;
      derived += run.derived_changes;
    }
  }
  std::printf("solved without guessing (without derived cages -> with them):");
  for (const auto& [grade, count] : grades)
    std::printf(" %s %d->%d/%d", grade.c_str(), count[1], count[2], count[0]);
  std::printf("; changes made by the derived cages: %d\n", derived);
  EXPECT_GT(derived, 0);
}

}  // namespace
}  // namespace ks
