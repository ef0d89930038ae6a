// The bit-mask solver: reading the grid text, counting solutions up to two, the first solution in
// ascending order, givens that clash, and what a run leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classic_support.h"
#include "solving/solver.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Started;

// The first two completions of the empty grid in ascending order.
const std::string kFirst =
    "123456789456789123789123456214365897365897214897214365531642978642978531978531642";
const std::string kSecond =
    "123456789456789123789123456214365897365897214897214365531642978648971532972538641";

Solver started_solver() {
  Solver s;
  s.inizializza_bit();
  s.size_results();
  return s;
}

TEST(Solver, EmptyGridHasTwoSolutionsTheSmallestFirst) {
  for (const std::string& text : {std::string(), std::string(81, '.'), std::string(81, '0')}) {
    Solver s = started_solver();
    s.risolvi(text);
    EXPECT_EQ(s.numerosoluzioni, 2);
    EXPECT_EQ(s.stringasoluzione, kFirst + kSecond);
    const auto plain = test::plain_solutions(text, 2);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(s.stringasoluzione, plain[0] + plain[1]);
    EXPECT_EQ(s.profonditapila, 0);
  }
}

TEST(Solver, EveryCharacterOtherThanADigitIsAnEmptyCell) {
  struct Case {
    const char* name;
    std::string text;
  };
  std::string holes = kFirst;
  for (size_t i : {0u, 10u, 40u, 44u, 80u}) holes[i] = '.';
  std::string zeros = kFirst, blanks = kFirst, letters = kFirst, mixed = kFirst;
  for (size_t i = 0; i < 81; i += 4) {
    zeros[i] = '0';
    blanks[i] = ' ';
    letters[i] = static_cast<char>('a' + i % 26);
    mixed[i] = "0. xZ-"[i % 6];
  }
  const std::vector<Case> cases = {
      {"solved grid", kFirst},
      {"dots", holes},
      {"zeros", zeros},
      {"blanks", blanks},
      {"letters", letters},
      {"mixed", mixed},
      {"extra characters", kFirst + "123abc"},
  };
  for (const Case& c : cases) {
    Solver s = started_solver();
    s.risolvi(c.text);
    EXPECT_EQ(s.numerosoluzioni, 1) << c.name;
    EXPECT_EQ(s.stringasoluzione, kFirst) << c.name;
  }
}

TEST(Solver, AShortTextLeavesTheRemainingCellsEmpty) {
  for (size_t n : {1u, 20u, 40u, 80u}) {
    Solver a = started_solver(), b = started_solver();
    a.risolvi(kSecond.substr(0, n));
    b.risolvi(kSecond.substr(0, n) + std::string(81 - n, '.'));
    EXPECT_EQ(a.numerosoluzioni, b.numerosoluzioni) << n;
    EXPECT_EQ(a.stringasoluzione, b.stringasoluzione) << n;
    EXPECT_EQ(a.grigliacifre, b.grigliacifre) << n;
    const auto plain = test::plain_solutions(kSecond.substr(0, n), 2);
    std::string expected;
    for (const auto& p : plain) expected += p;
    EXPECT_EQ(a.stringasoluzione, expected) << n;
  }
}

TEST(Solver, EveryClassicPuzzleHasItsKnownSolution) {
  Solver s = started_solver();
  for (const auto& p : test::classic_puzzles()) {
    s.risolvi(p.puzzle);
    ASSERT_EQ(s.numerosoluzioni, 1) << p.puzzle;
    ASSERT_EQ(s.stringasoluzione, p.solution) << p.puzzle;
    ASSERT_EQ(s.profonditapila, 0);
  }
  EXPECT_EQ(test::classic_puzzles().size(), 1000u);
}

// A classic puzzle with one given taken away: the count agrees with a plain backtracking solver,
// and so do the first solution and, when there are two or more, the second.
TEST(Solver, RemovingAGivenFromAClassicPuzzleCountsLikeAPlainSolver) {
  Solver s = started_solver();
  const auto& all = test::classic_puzzles();
  int ambiguous = 0;
  // One puzzle of each grade, among those the plain solver goes through quickly.
  for (size_t k : {0u, 300u, 700u, 950u}) {
    const std::string& puzzle = all[k].puzzle;
    for (size_t i = 0; i < 81; ++i) {
      if (puzzle[i] == '.') continue;
      std::string fewer = puzzle;
      fewer[i] = '.';
      s.risolvi(fewer);
      const auto plain = test::plain_solutions(fewer, 2);
      std::string expected;
      for (const auto& g : plain) expected += g;
      ASSERT_EQ(s.numerosoluzioni, static_cast<int>(plain.size())) << fewer;
      ASSERT_EQ(s.stringasoluzione, expected) << fewer;
      if (s.numerosoluzioni == 2) {
        ++ambiguous;
        EXPECT_TRUE(test::valid_grid(s.stringasoluzione.substr(81)));
        EXPECT_TRUE(test::keeps_givens(s.stringasoluzione.substr(81), fewer));
      }
    }
  }
  EXPECT_GT(ambiguous, 0);
}

// Sparse or hard grids that the search in cell order does not settle at once: the count, the
// first solution and the second stay those of the plain search in cell order (checked with it
// once; it needs seconds for some of them).
TEST(Solver, HardAndSparseGridsKeepTheOrderOfTheirSolutions) {
  struct Case {
    std::string grid;
    int count;
    std::string first, second;
  };
  const std::vector<Case> cases = {
      {"3.9..5...........8.5...1.3....4391.........5.....5.3.....6....4.....8....42....6.", 2,
       "329785641167324598458961237275439186613872459894156372581693724736248915942517863",
       "329785641167324598458961237275439186836217459914856372583672914691548723742193865"},
      {"3....176.......5.2.5......3....8...........7........3.18..........4..1......9...5", 2,
       "324851769617349582958267413231784956495632871876915234189526347562473198743198625",
       "324851769617349582958267413231784956496532871875916234189625347562473198743198625"},
      {"....69...29......4.....4....67.....5......983.2.......6....8........1........5...", 0, "",
       ""},
      {"..2...83..19..3.....5......2.435.......2.9.....8...3..7....1.........59........48", 0, "",
       ""},
      {"1.......2.9.4...5...6...7...5.9.3.......7.......85..4.7.....6...3...9.8...2.....1", 1,
       "174385962293467158586192734451923876928674315367851249719548623635219487842736591", ""},
  };
  for (const Case& c : cases) {
    Solver s = started_solver();
    s.risolvi(c.grid);
    EXPECT_EQ(s.numerosoluzioni, c.count) << c.grid;
    EXPECT_EQ(s.stringasoluzione, c.first + c.second) << c.grid;
    EXPECT_EQ(s.profonditapila, 0);
    for (const std::string& g : {c.first, c.second}) {
      if (g.empty()) continue;
      EXPECT_TRUE(test::valid_grid(g));
      EXPECT_TRUE(test::keeps_givens(g, c.grid));
    }
    EXPECT_LT(c.first, c.second.empty() ? std::string(81, '9') + "9" : c.second);
  }
}

// Givens that repeat a digit in a row, a column or a box cannot be completed into a valid grid:
// no solution, and the result text of the last run stays.
TEST(Solver, GivensThatClashHaveNoSolution) {
  std::string full_row = kFirst;  // r1c1 and r1c2 both 1; column 2 lacks its 2
  full_row[1] = '1';
  std::string swapped = kFirst;  // every row still holds 1..9, columns 1 and 2 do not
  std::swap(swapped[0], swapped[1]);
  std::string row(81, '.'), column(81, '.'), box(81, '.');
  row[3] = '5';
  row[7] = '5';
  column[4] = '7';
  column[76] = '7';
  box[30] = '2';
  box[50] = '2';
  for (const std::string& text : {full_row, swapped, row, column, box}) {
    Solver s = started_solver();
    s.risolvi(kFirst);
    s.risolvi(text);
    EXPECT_EQ(s.numerosoluzioni, 0) << text;
    EXPECT_EQ(s.stringasoluzione, kFirst) << text;
    EXPECT_EQ(s.profonditapila, 0);
  }
}

TEST(Solver, AGridWithoutSolutionLeavesTheResultsOfTheLastRun) {
  // r1c9 can only be 9, but column 9 already has its 9; box 9 has no cell left for a 1.
  const std::string dead_cell = "12345678." + std::string(8, '.') + "9" + std::string(63, '.');
  std::string no_place(81, '.');
  for (size_t i : {54u, 64u, 6u, 16u, 26u}) no_place[i] = '1';
  for (const std::string& text : {dead_cell, no_place}) {
    Started w;
    w.rt.ms_clock = 250.0;
    Solver& s = w.m->solver;
    s.risolvi(kSecond);
    w.rt.ms_clock = 900.0;
    w.m->finito = false;
    s.risolvi(text);
    EXPECT_EQ(s.numerosoluzioni, 0);
    EXPECT_EQ(s.stringasoluzione, kSecond);
    EXPECT_EQ(s.testisoluzioni[1], kSecond);
    EXPECT_EQ(s.tempisoluzioni[1], 250.0);
    EXPECT_EQ(s.soluzionitrovate[1][80], 1);
    EXPECT_TRUE(w.m->finito);
  }
}

TEST(Solver, EachRunRecordsItsFirstSolutionAndSetsFinito) {
  Started w;
  Solver& s = w.m->solver;
  w.rt.ms_clock = 1234.0;
  w.m->finito = false;
  s.risolvi("");
  EXPECT_TRUE(w.m->finito);
  EXPECT_EQ(s.testisoluzioni[1], kFirst);
  EXPECT_EQ(s.tempisoluzioni[1], 1234.0);
  for (size_t i = 0; i < 81; ++i) EXPECT_EQ(s.soluzionitrovate[1][i], kFirst[i] - '0');
  // A second run starts from an empty text buffer.
  const std::string& p = test::classic_puzzles().back().puzzle;
  s.risolvi(p);
  EXPECT_EQ(s.numerosoluzioni, 1);
  EXPECT_EQ(s.stringasoluzione, test::classic_puzzles().back().solution);
  EXPECT_EQ(s.testisoluzioni[1], test::classic_puzzles().back().solution);
}

// After a run the grid holds the givens and the naked singles of one pass over the cells in
// order, and the masks describe that grid.
TEST(Solver, TheGridKeepsTheGivensAndOnePassOfSingles) {
  Solver s = started_solver();
  s.risolvi("12345678");
  EXPECT_EQ(s.numerosoluzioni, 2);
  for (size_t i = 0; i < 9; ++i) EXPECT_EQ(s.grigliacifre[i], static_cast<int>(i) + 1);
  for (size_t i = 9; i < 81; ++i) EXPECT_EQ(s.grigliacifre[i], 0) << i;
  EXPECT_EQ(s.maschere[81], 1022);
  EXPECT_EQ(s.maschere[10], 2 + 4 + 8);  // r2c2 sees 1, 2 and 3 in its box
  // r1c1 keeps 8 and 9 until the pass has placed r1c9 = 9 (column 9 holds an 8); the pass does
  // not come back to it.
  s.risolvi(".1234567." + std::string(8, '.') + "8");
  EXPECT_EQ(s.grigliacifre[8], 9);
  EXPECT_EQ(s.grigliacifre[0], 0);
  EXPECT_EQ(s.stringasoluzione.substr(0, 9), "812345679");
  const auto masks = s.maschere;
  s.BuildCluesMask();
  EXPECT_EQ(s.maschere, masks);
  EXPECT_EQ(s.maschere[0], 1022 - 256);  // r1c1: every digit but 8 is excluded
}

}  // namespace
}  // namespace ks
