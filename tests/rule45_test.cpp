// The rule of 45: the cage split, single units and bands on hand-built boards with exact texts
// and modes; soundness of the singles and the rule of 45 on real puzzles; the "45" button.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/text.h"
#include "test_support.h"

namespace ks {
namespace {

// Cell of row r, column c (both 1..9).
constexpr int at(int r, int c) { return 9 * (r - 1) + (c - 1); }

// ---------------------------------------------------------------------------------------------
// Soundness on real puzzles

// What a run of the singles, the rule of 45 and the sum check did to one puzzle.
struct LadderRun {
  bool solved = false;
  int rule45_units = 0;  // digits placed by the rule of 45 on single units
  int rule45_bands = 0;  // and on bands
};

// Every cell holds its solution digit among its candidates, and every placed digit is the
// solution's.
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

// A ladder of the singles, the rule of 45 and the sum check, in solve mode, restarting from its
// first rung after every success, until no rung finds anything; checked after every rung.
LadderRun run_ladder(Main& m, const test::Puzzle& p) {
  m.calling = "risolvi";
  m.chiamante = "analisi";
  LadderRun run;
  struct Rung {
    const char* name;
    std::function<bool(Main&)> step;  // true when the rung found something
  };
  const auto single = [](void (Main::*f)()) {
    return [f](Main& m) {
      (m.*f)();
      return m.cella < 81;
    };
  };
  const auto changes = [](void (Main::*f)()) {
    return [f](Main& m) {
      (m.*f)();
      return m.modificato;
    };
  };
  const std::vector<Rung> ladder = {
      {"naked_single", single(&Main::naked_single)},
      {"regola45_naked_single", changes(&Main::regola45_naked_single)},
      {"cerca_settore_con_valore_unico", single(&Main::cerca_settore_con_valore_unico)},
      {"cerca_righe_con_valore_unico", single(&Main::cerca_righe_con_valore_unico)},
      {"cerca_colonne_con_valore_unico", single(&Main::cerca_colonne_con_valore_unico)},
      {"controllo_somme", [](Main& m) {
         m.controllo_somme(81);
         return m.modificato;
       }},
      {"regola45_righe_colonne_multiple", changes(&Main::regola45_righe_colonne_multiple)},
  };
  for (int steps = 0; steps < 5000; ++steps) {
    bool found = false;
    for (size_t r = 0; r < ladder.size() && !found; ++r) {
      const int before = m.esposti;
      found = ladder[r].step(m);
      EXPECT_TRUE(keeps_solution(m, p, ladder[r].name));
      if (m.problema) return run;
      if (r == 1) run.rule45_units += m.esposti - before;
      if (r == 6) run.rule45_bands += m.esposti - before;
    }
    if (!found) break;
  }
  run.solved = m.esposti == 81;
  return run;
}

TEST(Rule45, SinglesRuleOf45AndSumCheckKeepTheSolutionOnEveryPuzzle) {
  int solved = 0, units = 0, bands = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    test::Started s;
    test::load_layout(*s.m, p.layout);
    ASSERT_FALSE(s.m->problema) << p.id;
    const LadderRun run = run_ladder(*s.m, p);
    solved += run.solved;
    units += run.rule45_units;
    bands += run.rule45_bands;
  }
  std::printf("solved by singles, rule of 45 and sum check: %d of %zu (rule of 45: %d digits on "
              "units, %d on bands)\n",
              solved, test::puzzles().size(), units, bands);
  EXPECT_GT(units, 0);
  EXPECT_GT(bands, 0);
  EXPECT_GT(solved, 0);
}

}  // namespace
}  // namespace ks
