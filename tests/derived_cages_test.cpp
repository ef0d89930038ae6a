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
#include <utility>
#include <vector>

#include "technique_board.h"

namespace ks {
namespace {

using test::at;
using test::candidates_left;
using test::HandBoard;
using test::kDashes;
using test::keeps_solution;
using test::kLadder;
using test::wrong_digit;

// ---------------------------------------------------------------------------------------------
// Every technique on real puzzles

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
  constexpr size_t kUnits = std::size(kLadder) - 2, kBands = std::size(kLadder) - 1;
  const size_t rungs = derived ? std::size(kLadder) : kUnits;
  LadderRun run;
  for (int steps = 0;; ++steps) {
    if (steps == 20000) {
      ADD_FAILURE() << "the ladder never stops";
      break;
    }
    bool restart = false;
    for (size_t r = 0; r < rungs && !restart; ++r) {
      const int before = candidates_left(m) + 10 * m.esposti;
      kLadder[r].run(m);
      after(kLadder[r].name);
      if (m.problema || m.esposti == 81) {
        run.solved = !m.problema && m.esposti == 81;
        return run;
      }
      const bool changed = candidates_left(m) + 10 * m.esposti != before;
      if (r >= kUnits) {
        // The derived-cage procedures report a change exactly when they make one.
        EXPECT_EQ(m.modificato, changed) << kLadder[r].name;
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


// Positions reached by a wrong guess: one wrong candidate placed under trial, then every
// technique. Whatever they work out, a cell holds one digit or nothing, every derived cage lies
// within the tables, and the run ends.
TEST(DerivedCages, WrongGuessPositionsEndWithinTheTables) {
  std::mt19937 random(41050u);
  int contradictions = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    for (int guess = 0; guess < 3; ++guess) {
      test::Started s;
      Main& m = *s.m;
      test::load_layout(m, p.layout);
      if (!test::place_wrong_guess(m, p, random)) continue;
      run_ladder(m, true, [&](const char* rung) {
        ASSERT_TRUE(test::one_digit_or_none(m)) << p.id << " " << rung;
        ASSERT_TRUE(derived_in_range(m)) << p.id << " " << rung;
      });
      contradictions += m.problema;
      EXPECT_TRUE(m.frmlog.Text3.text() == " ") << p.id << ": logged under trial";
    }
  }
  EXPECT_GT(contradictions, 0);
}

// A wrong digit typed by the player, derived cages worked out from it, then every digit erased
// again: the candidates come back, the stale tables are forgotten, and every technique keeps the
// solution from there.
TEST(DerivedCages, AWrongDigitTypedAndErasedLeavesNothingStale) {
  std::mt19937 random(41060u);
  for (const test::Puzzle& p : test::puzzles()) {
    test::Started s;
    Main& m = *s.m;
    test::load_layout(m, p.layout);
    const auto [cell, digit] = wrong_digit(m, p, random);
    m.Text1[cell].type(digit);
    m.calling = "risolvi";
    m.chiamante = "analisi";
    m.volte = 6;
    m.volteestese = 7;
    for (int k = 0; k < 20 && !m.problema; ++k) {
      m.regola45_altri_gruppi();
      if (!m.problema && !m.modificato) m.regola45_altri_gruppi_multipli();
      ASSERT_TRUE(derived_in_range(m)) << p.id;
    }
    for (int i = 0; i < 81; ++i)
      if (!m.Text1[i].text().empty()) m.Text1[i].type("");
    ASSERT_EQ(m.esposti, 0) << p.id;
    m.problema = false;
    m.volte = m.volteestese = 3;
    run_ladder(m, true, [&](const char* rung) { ASSERT_TRUE(keeps_solution(m, p, rung)); });
  }
}

// The real cages of a puzzle renumbered from `first` on, as if the puzzle had that many cages
// before them.
void renumber_cages(Main& m, int first) {
  for (int g = m.gruppi; g >= 0; --g) {
    const int to = g + first;
    m.sommagruppo.set(to, m.sommagruppo[g]);
    m.elementigruppo.set(to, m.elementigruppo[g]);
    m.cellegruppo.set(to, m.cellegruppo[g]);
    m.sommagruppo.set(g, Value::null());
    m.elementigruppo.set(g, Value::empty());
    m.cellegruppo.set(g, std::array<Value, kMaxCageCells + 1>{});
  }
  for (int i = 0; i < 81; ++i) m.gruppodicella.set(i, m.gruppodicella[i].plus(first));
  m.gruppi += first;
  m.gruppo1 = m.gruppi;
  m.forget_combinations();
}

// Many small cages, numbered so that a run's derived cages would pass the end of the cage
// tables: the builders stop at the last entry, and every technique still keeps the solution.
TEST(DerivedCages, DerivedCagesStopAtTheEndOfTheTables) {
  int full = 0;  // rungs that left the last table entry taken
  long unmade = 0;  // derived cages the builders left unmade at the end of the tables
  for (const test::Puzzle& p : test::puzzles()) {
    test::Started s;
    Main& m = *s.m;
    test::load_layout(m, p.layout);
    renumber_cages(m, kCageSlots - 12 - m.gruppi);
    run_ladder(m, true, [&](const char* rung) {
      ASSERT_TRUE(keeps_solution(m, p, rung));
      ASSERT_TRUE(derived_in_range(m)) << p.id << " " << rung;
      full += m.gruppo1 == kCageSlots - 1;
    });
    unmade += m.safety_stops.no_cage_slot;
  }
  EXPECT_GT(full, 0);
  EXPECT_GT(unmade, 0);
}

// ---------------------------------------------------------------------------------------------
// The derived-cage sum check on hand-built cages

constexpr const char* kDashes25 = "-------------------------";

// Derived cage number gruppo1 + 1, as the rule of 45 builds it: sum and cells, no mark.
int derived(Main& m, int sum, std::initializer_list<int> cells) {
  const int g = ++m.gruppo1;
  int k = 0;
  for (const int c : cells) m.cellegruppo.set(g, ++k, c);
  m.elementigruppo.set(g, k);
  m.sommagruppo.set(g, sum);
  return g;
}

void candidates(Main& m, std::initializer_list<std::pair<int, const char*>> cells) {
  for (const auto& [c, text] : cells) m.Text2[c].set_text(text);
}

// Cage 31 (after 31 real cages) over r2c5, r3c5, r4c5 of sum 14: with these candidates only 149
// and 158 are left, so r2c5 keeps 1.
int column_of_three(Main& m) {
  m.gruppi = m.gruppo1 = 30;
  candidates(m, {{at(2, 5), "17"}, {at(3, 5), "45"}, {at(4, 5), "89"}});
  return derived(m, 14, {at(2, 5), at(3, 5), at(4, 5)});
}
// Two cells that share no row, column or box, sum 8: 44 is a combination.
int spread_pair(Main& m) { return derived(m, 8, {at(1, 1), at(5, 5)}); }
// Four cells in box 1 of sum 10: only 1234.
int box_of_four(Main& m) { return derived(m, 10, {at(1, 1), at(1, 2), at(2, 1), at(2, 2)}); }
// Four cells in row 1 of sum 10 (only 1234) where r1c1 alone can hold 4.
int four_with_one_place(Main& m) {
  candidates(m, {{at(1, 1), "2479"}, {at(1, 2), "1239"}, {at(1, 3), "123"}, {at(1, 4), "123"}});
  return derived(m, 10, {at(1, 1), at(1, 2), at(1, 3), at(1, 4)});
}
// Five cells on rows 1 and 2 of sum 10: three distinct digits on row 1, two on row 2, so no
// digit above 4 (11224 is a combination: 4 on row 1).
int five_on_two_rows(Main& m) {
  return derived(m, 10, {at(1, 1), at(1, 2), at(1, 5), at(2, 7), at(2, 8)});
}

struct CheckCase {
  std::string name;
  std::function<int(Main&)> setup;  // the argument of the call
  std::map<int, std::string> after;  // the candidates that change
  bool modificato;
  bool problema;
  std::string origine;  // "" = not set by the call
  std::string hint;
  std::vector<std::string> log;
  bool doppiedoppie = false;
};

TEST(DerivedSumCheck, CutsTheCellsOfADerivedCageToItsCombinations) {
  const std::vector<CheckCase> cases = {
      {"81 without derived cages",
       [](Main& m) {
         m.gruppi = m.gruppo1 = 5;
         m.problema = m.modificato = true;
         m.contatoredimessaggio = 4;
         return 81;
       },
       {}, false, false, "", "", {}},
      {"six cells are skipped",
       [](Main& m) { return derived(m, 21, {0, 1, 2, 3, 4, 5}); }, {}, false, false, "", "", {}},
      {"one cell of sum 7", [](Main& m) { return derived(m, 7, {at(3, 3)}); }, {{at(3, 3), "7"}},
       true, false, "", "", {}},
      {"one cell that shows its sum already",
       [](Main& m) {
         m.Text2[at(3, 3)].set_text("7");
         return derived(m, 7, {at(3, 3)});
       },
       {}, false, false, "", "", {}},
      {"one cell that cannot hold its sum",
       [](Main& m) {
         m.Text2[at(3, 3)].set_text("12");
         return derived(m, 7, {at(3, 3)});
       },
       {}, false, true, "", "", {}},
      {"two cells apart may repeat a digit", spread_pair,
       {{at(1, 1), "1234567"}, {at(5, 5), "1234567"}}, true, false, "somme2",
       "CONTROLLO SOMME - modifico r5c5 numeri 1234567",
       {kDashes25, "NUOVO GRUPPO - r1c1, r5c5, ", "somme 17,26,35,44,",
        "modifico contenuto cella r1c1 numeri 1234567",
        "modifico contenuto cella r5c5 numeri 1234567"}},
      {"two cells of one row hold distinct digits",
       [](Main& m) { return derived(m, 8, {at(1, 1), at(1, 5)}); },
       {{at(1, 1), "123567"}, {at(1, 5), "123567"}}, true, false, "somme1",
       "CONTROLLO SOMME - modifico r1c5 numeri 123567",
       {kDashes25, "NUOVO GRUPPO - r1c1, r1c5, ", "somme 17,26,35,",
        "modifico contenuto cella r1c1 numeri 123567",
        "modifico contenuto cella r1c5 numeri 123567"}},
      {"the second cell of a pair keeps the complements of the first",
       [](Main& m) {
         m.Text2[at(1, 1)].set_text("12");
         return derived(m, 10, {at(1, 1), at(1, 5)});
       },
       {{at(1, 5), "89"}}, true, false, "somme1", "CONTROLLO SOMME - modifico r1c5 numeri 89",
       {kDashes25, "NUOVO GRUPPO - r1c1, r1c5, ", "somme 19,28,",
        "modifico contenuto cella r1c5 numeri 89"}},
      {"three cells of a column", column_of_three, {{at(2, 5), "1"}}, true, false, "somme1",
       "CONTROLLO SOMME - MODIFICO contenuto cella r2c5 numeri 1",
       {kDashes25, "NUOVO GRUPPO - r2c5, r3c5, r4c5, ", "somme 149,158,",
        "modifico contenuto cella r2c5 numeri 1"}},
      {"three cells of sum 6 keep 1, 2 and 3",
       [](Main& m) {
         candidates(m, {{at(2, 5), "1239"}, {at(4, 5), "123"}});
         return derived(m, 6, {at(2, 5), at(3, 5), at(4, 5)});
       },
       {{at(2, 5), "123"}, {at(3, 5), "123"}}, true, false, "somme1",
       "CONTROLLO SOMME - MODIFICO contenuto cella r3c5 numeri 123",
       {kDashes25, "NUOVO GRUPPO - r2c5, r3c5, r4c5, ", "somme 123,",
        "modifico contenuto cella r2c5 numeri 123", "modifico contenuto cella r3c5 numeri 123"}},
      {"four cells of one box", box_of_four,
       {{at(1, 1), "1234"}, {at(1, 2), "1234"}, {at(2, 1), "1234"}, {at(2, 2), "1234"}}, true,
       false, "somme1", "CONTROLLO SOMME - MODIFICO contenuto cella r2c2 numeri 1234",
       {kDashes25, "NUOVO GRUPPO - r1c1, r1c2, r2c1, r2c2, ", "somme 1234,",
        "modifico contenuto cella r1c1 numeri 1234", "modifico contenuto cella r1c2 numeri 1234",
        "modifico contenuto cella r2c1 numeri 1234", "modifico contenuto cella r2c2 numeri 1234"},
       true},
      {"one combination: the digit with one place, and no cut", four_with_one_place,
       {{at(1, 1), "4"}}, true, false, "somme1",
       "CONTROLLO SOMME - MODIFICO contenuto cella r1c1 numeri 4",
       {kDashes25, "NUOVO GRUPPO - r1c1, r1c2, r1c3, r1c4, ", "somme 1234,",
        "modifico contenuto cella r1c1 numero 4"},
       true},
      {"one combination whose one place shows the digit already: the cut",
       [](Main& m) {
         const int g = four_with_one_place(m);
         m.Text2[at(1, 1)].set_text("4");
         return g;
       },
       {{at(1, 2), "123"}}, true, false, "somme1",
       "CONTROLLO SOMME - MODIFICO contenuto cella r1c2 numeri 123",
       {kDashes25, "NUOVO GRUPPO - r1c1, r1c2, r1c3, r1c4, ", "somme 1234,",
        "modifico contenuto cella r1c2 numeri 123"},
       true},
      {"five cells on two rows", five_on_two_rows,
       {{at(1, 1), "1234"}, {at(1, 2), "1234"}, {at(1, 5), "1234"}, {at(2, 7), "1234"},
        {at(2, 8), "1234"}},
       true, false, "somme2", "CONTROLLO SOMME - MODIFICO contenuto cella r2c8 numeri 1234", {},
       true},
      {"no combination", [](Main& m) { return derived(m, 18, {at(1, 1), at(1, 5)}); }, {}, false,
       true, "somme1", "", {}},
      {"the permutation check after a cut that changes nothing",
       [](Main& m) {
         candidates(m, {{at(1, 1), "123"}, {at(1, 2), "12"}, {at(1, 3), "12"}});
         return derived(m, 6, {at(1, 1), at(1, 2), at(1, 3)});
       },
       {{at(1, 1), "3"}}, true, false, "somme1", "", {}},
      {"81: every derived cage up to the first change",
       [](Main& m) {
         candidates(m, {{at(9, 1), "12"}, {at(9, 5), "12"}});
         derived(m, 3, {at(9, 1), at(9, 5)});  // settled: no change
         spread_pair(m);
         derived(m, 3, {at(9, 1), at(9, 2)});  // not reached
         return 81;
       },
       {{at(1, 1), "1234567"}, {at(5, 5), "1234567"}}, true, false, "somme2",
       "CONTROLLO SOMME - modifico r5c5 numeri 1234567",
       {kDashes25, "NUOVO GRUPPO - r1c1, r5c5, ", "somme 17,26,35,44,",
        "modifico contenuto cella r1c1 numeri 1234567",
        "modifico contenuto cella r5c5 numeri 1234567"}},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    HandBoard b;
    Main& m = b.m;
    m.origine = "";
    const int g = c.setup(m);
    std::vector<std::string> want = b.cells();
    for (const auto& [cell, text] : c.after) want[static_cast<size_t>(cell)] = "/" + text;
    m.controllo_somme_nuovi_gruppi(g);
    EXPECT_EQ(b.cells(), want);
    EXPECT_EQ(m.modificato, c.modificato);
    EXPECT_EQ(m.problema, c.problema);
    EXPECT_EQ(m.origine, c.origine);
    if (!c.hint.empty() || c.after.empty()) {
      EXPECT_EQ(m.txthint.text(), c.hint);
    }
    if (!c.log.empty() || c.after.empty()) {
      EXPECT_EQ(b.log(), c.log);
    }
    EXPECT_EQ(m.doppiedoppie, c.doppiedoppie);
    if (!c.modificato) {
      EXPECT_EQ(m.contatoredimessaggio, 0);
    }
  }
}

// Step mode: the cage's block is shown and each change of a cage of two to four cells waits at
// the traffic light with the cage's cells highlighted; a five-cell cage waits only for its first
// change. In a solve nothing waits.
TEST(DerivedSumCheck, EachChangeWaitsAtTheLightExceptAfterTheFirstOfFiveCells) {
  struct Case {
    std::string name;
    std::function<int(Main&)> setup;
    std::vector<int> cells;
    int waits;
    std::string hint;
  };
  const std::vector<Case> cases = {
      {"two cells", spread_pair, {at(1, 1), at(5, 5)}, 2,
       "NUOVO GRUPPO 1 ,elementi 2 ,somma 8,r1c1,r5c5"},
      {"three cells", column_of_three, {at(2, 5), at(3, 5), at(4, 5)}, 1,
       "NUOVO GRUPPO 31 ,elementi 3 ,somma 14,r2c5,r3c5,r4c5"},
      {"four cells", box_of_four, {at(1, 1), at(1, 2), at(2, 1), at(2, 2)}, 4,
       "NUOVO GRUPPO 1 ,elementi 4 ,somma 10,r1c1,r1c2,r2c1,r2c2"},
      {"one combination", four_with_one_place, {at(1, 1), at(1, 2), at(1, 3), at(1, 4)}, 1,
       "NUOVO GRUPPO 1 ,elementi 4 ,somma 10,r1c1,r1c2,r1c3,r1c4"},
      {"five cells", five_on_two_rows, {at(1, 1), at(1, 2), at(1, 5), at(2, 7), at(2, 8)}, 1,
       "NUOVO GRUPPO 1 ,elementi 5 ,somma 10,r1c1,r1c2,r1c5,r2c7,r2c8"},
  };
  for (const Case& c : cases) {
    for (const char* calling : {"", "risolvi"}) {
      SCOPED_TRACE(c.name + " calling \"" + calling + "\"");
      HandBoard b;
      test::Light light(b.s);
      Main& m = b.m;
      m.chiamante = "manuale";
      m.calling = calling;
      const int g = c.setup(m);
      m.controllo_somme_nuovi_gruppi(g);
      EXPECT_TRUE(m.modificato);
      if (*calling) {
        EXPECT_TRUE(light.waits.empty());
        continue;
      }
      ASSERT_EQ(static_cast<int>(light.waits.size()), c.waits);
      for (const auto& w : light.waits) {
        EXPECT_EQ(w.hint, c.hint);
        EXPECT_EQ(w.yellow, c.cells);
      }
      for (int i = 0; i < 81; ++i) EXPECT_EQ(m.Text2[i].back_color(), m.bianco) << i;
    }
  }
}

// The red light leaves the change on show unwritten and ends the call; under trial the changes
// are made and shown on the hint line, but nothing is logged.
TEST(DerivedSumCheck, RedLightAndTrial) {
  {
    HandBoard b;
    const int g = spread_pair(b.m);
    test::expect_refused(b, [g](Main& m) { m.controllo_somme_nuovi_gruppi(g); });
  }
  {
    HandBoard b;
    b.m.calling1 = "trial";
    b.m.controllo_somme_nuovi_gruppi(column_of_three(b.m));
    EXPECT_EQ(b.m.Text2[at(2, 5)].text(), "1");
    EXPECT_EQ(b.m.txthint.text(), "CONTROLLO SOMME - MODIFICO contenuto cella r2c5 numeri 1");
    EXPECT_TRUE(b.log().empty());
  }
}

// ---------------------------------------------------------------------------------------------
// The rule of 45 with derived cages on hand-built boards. Only the cells of the units under test
// are in cages: a unit with an empty cell of no cage tells nothing, so the others stay silent.

constexpr const char* kSingle = "REGOLA 45, naked single ";

const auto units = [](Main& m) { m.regola45_altri_gruppi(); };
const auto bands = [](Main& m) { m.regola45_altri_gruppi_multipli(); };

// Box 1 holds cages of sums 25 and 28; the second reaches r4c1: r4c1 = 53 - 45 = 8.
void box_one_one_outside(HandBoard& b, int second = 28) {
  b.cage(0, 25, {at(1, 1), at(1, 2), at(1, 3), at(2, 1), at(2, 2)});
  b.cage(1, second, {at(2, 3), at(3, 1), at(3, 2), at(3, 3), at(4, 1)});
}
// Box 1 holds cages of sums 21 and 17; r3c3 begins a cage running three cells down column 3:
// r3c3 = 45 - 38 = 7, and {r4c3, r5c3, r6c3} is a derived cage of sum 13 from depth 4.
void box_one_three_outside(HandBoard& b) {
  b.cage(0, 21, {at(1, 1), at(1, 2), at(1, 3), at(2, 1), at(2, 2), at(2, 3)});
  b.cage(1, 17, {at(3, 1), at(3, 2)});
  b.cage(2, 20, {at(3, 3), at(4, 3), at(5, 3), at(6, 3)});
}
// Box 1 holds a cage of sum 21; {r3c1, r3c2, r3c3, r4c1, r4c2} = 27 reaches two cells out:
// {r4c1, r4c2} is a derived cage of sum 3, {r3c1, r3c2, r3c3} one of sum 24 from depth 4.
void box_one_two_outside(HandBoard& b) {
  b.cage(0, 21, {at(1, 1), at(1, 2), at(1, 3), at(2, 1), at(2, 2), at(2, 3)});
  b.cage(1, 27, {at(3, 1), at(3, 2), at(3, 3), at(4, 1), at(4, 2)});
}
// With box_one_two_outside: row 4's other cells lie in cages of sums 12 and 30, so r4c1, r4c2
// (inside row 4, in a cage that sticks out) are a derived cage of sum 45 - 42 = 3 again.
void row_four_covered(HandBoard& b) {
  b.cage(2, 12, {at(4, 3), at(4, 4), at(4, 5)});
  b.cage(3, 30, {at(4, 6), at(4, 7), at(4, 8), at(4, 9)});
}
// Row 5: cages of sums 10 and 30 lie in it; r5c5 begins a cage running three cells down: r5c5 = 5.
void row_five_leaves_one_cell(HandBoard& b) {
  b.cage(0, 10, {at(5, 1), at(5, 2), at(5, 3), at(5, 4)});
  b.cage(1, 30, {at(5, 6), at(5, 7), at(5, 8), at(5, 9)});
  b.cage(2, 20, {at(5, 5), at(6, 5), at(7, 5), at(8, 5)});
}
// Row 1: cages of sums 28 (seven cells), 17 and `last`, the last two reaching down to row 2:
// r2c8 and r2c9 hold 28 + 17 + last - 45 = last together; 18 is no sum of two cells of a row.
void row_one_two_outside(HandBoard& b, int last) {
  b.cage(0, 28, {at(1, 1), at(1, 2), at(1, 3), at(1, 4), at(1, 5), at(1, 6), at(1, 7)});
  b.cage(1, 17, {at(1, 8), at(2, 8)});
  b.cage(2, last, {at(1, 9), at(2, 9)});
}
// Rows 1-2: two-cell cages of sum 10 down columns 1 to 7, and {r1c8, r2c8, r3c8} = 16,
// {r1c9, r2c9, r3c9} = `last`: r3c8 and r3c9 hold 70 + 16 + last - 90 together.
void rows_one_two_two_outside(HandBoard& b, int last) {
  for (int c = 1; c <= 7; ++c) b.cage(c - 1, 10, {at(1, c), at(2, c)});
  b.cage(7, 16, {at(1, 8), at(2, 8), at(3, 8)});
  b.cage(8, last, {at(1, 9), at(2, 9), at(3, 9)});
}
// Rows 1-2 with one cell outside: r3c4 = 6.
const auto rows_one_two_one_outside = [](HandBoard& b) { test::rows_one_two_stick_out(b); };
// Rows 1-2 covered by cages lying in them but for r2c4, which begins a cage running three cells
// down: r2c4 = 90 - 86 = 4.
void rows_one_two_leave_one_cell(HandBoard& b) {
  b.cage(0, 10, {at(1, 1), at(1, 2), at(1, 3), at(1, 4)});
  b.cage(1, 35, {at(1, 5), at(1, 6), at(1, 7), at(1, 8), at(1, 9)});
  b.cage(2, 6, {at(2, 1), at(2, 2), at(2, 3)});
  b.cage(3, 35, {at(2, 5), at(2, 6), at(2, 7), at(2, 8), at(2, 9)});
  b.cage(4, 20, {at(2, 4), at(3, 4), at(4, 4), at(5, 4)});
}

std::vector<int> cells_of(const Main& m, int g) {
  std::vector<int> out;
  for (int k = 1; k <= m.cage_size(g); ++k) out.push_back(m.cage_cell(g, k));
  return out;
}

// A derivation run in solve mode: what it places, which derived cages it leaves, what it tells.
struct DeriveCase {
  std::string name;
  std::function<void(HandBoard&)> setup;
  std::function<void(Main&)> run;
  int depth;                      // volte or volteestese before the run
  std::map<int, std::string> after;  // cells that change: "digit/candidates" or "/candidates"
  std::vector<std::pair<int, std::vector<int>>> cages;  // derived cages left: sum, cells
  bool modificato;
  bool problema;
  int depth_after;
  std::string hint;  // "" = not checked
  std::vector<std::string> log;  // first lines; empty = not checked
};

TEST(DerivedRule45, UnitsAndBandsPlaceSinglesAndBuildDerivedCages) {
  const std::vector<DeriveCase> cases = {
      {"box: one cell outside", [](HandBoard& b) { box_one_one_outside(b); }, units, 3,
       {{at(4, 1), "8/8"}}, {}, true, false, 3, std::string(kSingle) + "8 in r4c1",
       {kDashes, std::string(kSingle) + "8 in r4c1"}},
      {"box: three cells outside at depth 3, the one cell inside", box_one_three_outside, units, 3,
       {{at(3, 3), "7/7"}}, {}, true, false, 3, std::string(kSingle) + "7 in r3c3",
       {kDashes, std::string(kSingle) + "7 in r3c3"}},
      {"box: at depth 4 the three outside cells make a derived cage first", box_one_three_outside,
       units, 4, {{at(3, 3), "7/7"}}, {{13, {at(4, 3), at(5, 3), at(6, 3)}}}, true, false, 4,
       std::string(kSingle) + "7 in r3c3", {kDashes, std::string(kSingle) + "7 in r3c3"}},
      {"box: two outside cells, a derived cage that cuts them",
       [](HandBoard& b) { box_one_two_outside(b); }, units, 3,
       {{at(4, 1), "/12"}, {at(4, 2), "/12"}}, {{3, {at(4, 1), at(4, 2)}}}, true, false, 3,
       "CONTROLLO SOMME - modifico r4c2 numeri 12",
       {kDashes25, "NUOVO GRUPPO - r4c1, r4c2, ", "somme 12,",
        "modifico contenuto cella r4c1 numeri 12", "modifico contenuto cella r4c2 numeri 12"}},
      {"a derived cage that changes nothing stays, and the pass goes on",
       [](HandBoard& b) {
         box_one_two_outside(b);
         row_four_covered(b);
         candidates(b.m, {{at(4, 1), "12"}, {at(4, 2), "12"}});
       },
       units, 3, {}, {{3, {at(4, 1), at(4, 2)}}, {3, {at(4, 1), at(4, 2)}}}, false, false, 4, "",
       {}},
      {"at depth 4 the three inside cells of the box follow",
       [](HandBoard& b) {
         box_one_two_outside(b);
         candidates(b.m, {{at(4, 1), "12"}, {at(4, 2), "12"}});
       },
       units, 4, {{at(3, 1), "/789"}, {at(3, 2), "/789"}, {at(3, 3), "/789"}},
       {{3, {at(4, 1), at(4, 2)}}, {24, {at(3, 1), at(3, 2), at(3, 3)}}}, true, false, 4,
       "CONTROLLO SOMME - MODIFICO contenuto cella r3c3 numeri 789", {}},
      {"row: three cells outside, the one cell inside", row_five_leaves_one_cell, units, 3,
       {{at(5, 5), "5/5"}}, {}, true, false, 3, std::string(kSingle) + "5 in r5c5", {}},
      {"row: a derived cage without a combination ends the run",
       [](HandBoard& b) { row_one_two_outside(b, 18); }, units, 3, {},
       {{18, {at(2, 8), at(2, 9)}}}, false, true, 3, "", {}},
      {"row: two outside cells of sum 16", [](HandBoard& b) { row_one_two_outside(b, 16); },
       units, 3, {{at(2, 8), "/79"}, {at(2, 9), "/79"}}, {{16, {at(2, 8), at(2, 9)}}}, true,
       false, 3, "CONTROLLO SOMME - modifico r2c9 numeri 79", {}},
      {"nothing to find raises the depth", [](HandBoard&) {}, units, 3, {}, {}, false, false, 4,
       "", {}},
      {"the depth stays at 6", [](HandBoard&) {}, units, 6, {}, {}, false, false, 6, "", {}},
      {"bands: one cell outside rows 1-2", rows_one_two_one_outside, bands, 3,
       {{at(3, 4), "6/6"}}, {}, true, false, 3, std::string(kSingle) + "6 in r3c4",
       {kDashes, std::string(kSingle) + "6 in r3c4"}},
      {"bands: one cell left inside rows 1-2", rows_one_two_leave_one_cell, bands, 3,
       {{at(2, 4), "4/4"}}, {}, true, false, 3, std::string(kSingle) + "4 in r2c4", {}},
      {"bands: two cells outside rows 1-2", [](HandBoard& b) { rows_one_two_two_outside(b, 7); },
       bands, 3, {{at(3, 8), "/12"}, {at(3, 9), "/12"}}, {{3, {at(3, 8), at(3, 9)}}}, true, false,
       3, "CONTROLLO SOMME - modifico r3c9 numeri 12",
       {kDashes25, "NUOVO GRUPPO - r3c8, r3c9, ", "somme 12,",
        "modifico contenuto cella r3c8 numeri 12", "modifico contenuto cella r3c9 numeri 12"}},
      {"bands: a derived cage without a combination ends the run",
       [](HandBoard& b) { rows_one_two_two_outside(b, 22); }, bands, 3, {},
       {{18, {at(3, 8), at(3, 9)}}}, false, true, 3, "", {}},
      {"bands: nothing to find raises the depth", [](HandBoard&) {}, bands, 6, {}, {}, false,
       false, 7, "", {}},
      {"bands: the depth stays at 7", [](HandBoard&) {}, bands, 7, {}, {}, false, false, 7, "",
       {}},
  };
  for (const DeriveCase& c : cases) {
    SCOPED_TRACE(c.name);
    HandBoard b;
    Main& m = b.m;
    c.setup(b);
    const bool on_bands = c.name.starts_with("bands");
    int& depth = on_bands ? m.volteestese : m.volte;
    depth = c.depth;
    std::vector<std::string> want = b.cells();
    for (const auto& [cell, text] : c.after) want[static_cast<size_t>(cell)] = text;
    const int real = m.gruppi;
    c.run(m);
    if (m.esposti == 0) {
      EXPECT_EQ(b.cells(), want);
    } else {
      // A placed digit leaves its peers: only the placed cell is compared.
      EXPECT_EQ(m.esposti, 1);
      for (const auto& [cell, text] : c.after) EXPECT_EQ(b.cells()[static_cast<size_t>(cell)], text);
    }
    EXPECT_EQ(m.modificato, c.modificato);
    EXPECT_EQ(m.problema, c.problema);
    EXPECT_EQ(depth, c.depth_after);
    EXPECT_EQ(m.gruppi, real);
    ASSERT_EQ(m.gruppo1, real + static_cast<int>(c.cages.size()));
    for (size_t k = 0; k < c.cages.size(); ++k) {
      const int g = real + 1 + static_cast<int>(k);
      EXPECT_EQ(m.sommagruppo[g].as_int(), c.cages[k].first) << g;
      EXPECT_EQ(cells_of(m, g), c.cages[k].second) << g;
    }
    if (!c.hint.empty()) {
      EXPECT_EQ(m.txthint.text().substr(0, c.hint.size()), c.hint);
    }
    const std::vector<std::string> log = b.log();
    ASSERT_GE(log.size(), c.log.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + static_cast<long>(c.log.size())),
              c.log);
  }
}

// Each cell of a derived cage is marked with the first (else the second) derived cage it was
// put in; the next run of either procedure erases the cages and the first marks and numbers its
// own cages from gruppi + 1 again.
TEST(DerivedRule45, DerivedCagesLiveUntilTheNextRun) {
  HandBoard b;
  Main& m = b.m;
  box_one_two_outside(b);
  row_four_covered(b);
  candidates(m, {{at(4, 1), "12"}, {at(4, 2), "12"}});
  m.regola45_altri_gruppi();  // cage 4 from box 1, cage 5 from row 4, both {r4c1, r4c2}
  ASSERT_EQ(m.gruppo1, 5);
  EXPECT_TRUE(m.nuovogruppodicella1[at(4, 1)].is(4));
  EXPECT_TRUE(m.nuovogruppodicella2[at(4, 1)].is(5));
  EXPECT_TRUE(m.nuovogruppodicella1[at(4, 2)].is(4));
  EXPECT_TRUE(m.gruppodicella[at(4, 1)].is(1));

  // At depth 4 the box's three inside cells become cage 5 and are cut: the run ends there.
  m.regola45_altri_gruppi();
  ASSERT_EQ(m.gruppo1, 5);
  EXPECT_EQ(cells_of(m, 5), (std::vector<int>{at(3, 1), at(3, 2), at(3, 3)}));
  EXPECT_TRUE(m.nuovogruppodicella1[at(4, 1)].is(4));
  EXPECT_TRUE(m.nuovogruppodicella1[at(3, 1)].is(5));
  EXPECT_TRUE(m.nuovogruppodicella2[at(4, 1)].is(5));  // the erasure leaves the second mark

  // The bands find nothing here, but first erase what the units left.
  m.regola45_altri_gruppi_multipli();
  EXPECT_EQ(m.gruppo1, m.gruppi);
  EXPECT_FALSE(m.modificato);
  for (const int g : {4, 5}) {
    EXPECT_EQ(m.cage_cell(g, 1), -1);
    EXPECT_TRUE(m.sommagruppo[g].is(0));
    EXPECT_EQ(m.numeriobbligati[g], "");
  }
  EXPECT_TRUE(m.elementigruppo[5].is(3));
  for (const int c : {at(4, 1), at(4, 2), at(3, 1), at(3, 2), at(3, 3)})
    EXPECT_TRUE(m.nuovogruppodicella1[c].is_empty()) << c;
  EXPECT_TRUE(m.nuovogruppodicella2[at(4, 1)].is(5));
}

// What each mode shows, logs and waits for at a single of the derived-cage procedures; every
// placement counts as a change.
TEST(DerivedRule45, ModesDecideWhatASingleTellsAndWaitsFor) {
  const std::string u = kSingle;
  const test::SingleInModes cases[] = {
      {"unit, outside", [](HandBoard& b) { box_one_one_outside(b); }, units, at(4, 1),
       u + "8 in r4c1", u + "8 in r4c1", {"hlwm", "hlwm", "hlm", "hm", "hlm"}},
      {"box, inside", box_one_three_outside, units, at(3, 3), u + "7 in r3c3", u + "7 in r3c3",
       {"hlwm", "hlwm", "hlm", "hm", "hlm"}},
      {"row, inside", row_five_leaves_one_cell, units, at(5, 5), u + "5 in r5c5", u + "5 in r5c5",
       {"hlwm", "hlwm", "hlm", "hm", "hlm"}},
      {"band, outside", rows_one_two_one_outside, bands, at(3, 4), u + "6 in r3c4",
       u + "6 in r3c4", {"hlwm", "hlwm", "hlm", "hm", "hlm"}},
      {"band, inside", rows_one_two_leave_one_cell, bands, at(2, 4), u + "4 in r2c4",
       u + "4 in r2c4", {"hlwm", "hlwm", "hlm", "hm", "m"}},
  };
  for (const test::SingleInModes& c : cases) test::expect_single_in_modes(c);
}

// The red light leaves a single unplaced; a value that cannot be the cell's digit is a
// contradiction: nothing written, and the log tells the value that cannot stand.
TEST(DerivedRule45, RedLightAndImpossibleValuesPlaceNothing) {
  const std::vector<std::pair<std::function<void(HandBoard&)>, std::function<void(Main&)>>> red = {
      {[](HandBoard& b) { box_one_one_outside(b); }, units},
      {rows_one_two_one_outside, bands},
      {rows_one_two_leave_one_cell, bands}};
  for (const auto& [setup, run] : red) {
    HandBoard b;
    setup(b);
    test::expect_refused(b, run);
  }
  for (const int second : {38, 18}) {  // r4c1 = 18, r4c1 = -2
    HandBoard b;
    box_one_one_outside(b, second);
    const auto before = b.cells();
    b.m.regola45_altri_gruppi();
    EXPECT_TRUE(b.m.problema);
    EXPECT_FALSE(b.m.modificato);
    EXPECT_EQ(b.cells(), before);
    const auto log = b.log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[1].ends_with(std::to_string(second == 38 ? 18 : -2) + " in r4c1  numero errato")) << log[1];
  }
  {
    HandBoard b;
    box_one_one_outside(b);
    b.m.Text2[at(4, 1)].set_text("1234");
    b.m.regola45_altri_gruppi_multipli();  // no band here: nothing
    b.m.regola45_altri_gruppi();
    EXPECT_TRUE(b.m.problema);
    EXPECT_EQ(b.m.Text1[at(4, 1)].text(), "");
  }
}

// A band of seven rows made of one-cell cages lists all its 63 cages: the cage that reaches out
// of it by one cell gives that cell its digit.
TEST(DerivedRule45, BandOfSevenRowsOfOneCellCages) {
  const test::Puzzle& p = test::puzzles().front();
  HandBoard b;
  Main& m = b.m;
  const auto digit = [&](int cell) { return p.solution[static_cast<size_t>(cell)] - '0'; };
  int g = 0;
  for (int cell = 0; cell < at(7, 9); ++cell) b.cage(g++, digit(cell), {cell});
  b.cage(g, digit(at(7, 9)) + digit(at(8, 9)), {at(7, 9), at(8, 9)});
  m.regola45_altri_gruppi_multipli();
  EXPECT_FALSE(m.problema);
  EXPECT_EQ(m.Text1[at(8, 9)].text(), std::string(1, p.solution[at(8, 9)]));
  const std::string hint = std::string(kSingle) + p.solution[at(8, 9)] + " in r8c9";
  EXPECT_EQ(m.txthint.text().substr(0, hint.size()), hint);
  for (int k = 1; k <= 63; ++k) EXPECT_TRUE(m.gruppiregione[k].is(k - 1)) << k;
}

// The "gruppi" button runs the derived cages on single units step by step.
TEST(DerivedRule45, GruppiButtonStepsThroughTheDerivedCages) {
  HandBoard b;
  test::Light light(b.s);
  Main& m = b.m;
  m.calling = "";
  box_one_two_outside(b);
  m.Toolbar1.on_button_click("gruppi");
  EXPECT_EQ(m.chiamante, "manuale");
  ASSERT_EQ(light.waits.size(), 2u);
  for (const auto& w : light.waits) {
    EXPECT_EQ(w.hint, "NUOVO GRUPPO 2 ,elementi 2 ,somma 3,r4c1,r4c2");
    EXPECT_EQ(w.yellow, (std::vector<int>{at(4, 1), at(4, 2)}));
  }
  EXPECT_EQ(m.Text2[at(4, 1)].text(), "12");
  EXPECT_EQ(m.Text2[at(4, 2)].text(), "12");
  EXPECT_TRUE(m.modificato);
  EXPECT_TRUE(b.s.rt.messages.empty());
}
}  // namespace
}  // namespace ks
