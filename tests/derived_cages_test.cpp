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


// ---------------------------------------------------------------------------------------------
// The derived-cage sum check on hand-built cages

constexpr const char* kDashes25 = "-------------------------";

// Derived cage number gruppo1 + 1, as the rule of 45 builds it: sum and cells, no mark.
int derived(Main& m, int sum, std::initializer_list<int> cells) {
  const int g = ++m.gruppo1;
  int k = 0;
  for (const int c : cells) m.cellegruppo[g][++k] = c;
  m.elementigruppo[g] = k;
  m.sommagruppo[g] = sum;
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
    test::Light light(b.s, {"no"});
    b.m.chiamante = "manuale";
    b.m.calling = "";
    const auto before = b.cells();
    b.m.controllo_somme_nuovi_gruppi(spread_pair(b.m));
    EXPECT_EQ(light.waits.size(), 1u);
    EXPECT_EQ(b.cells(), before);
    EXPECT_TRUE(b.m.modificato);
    EXPECT_FALSE(b.m.problema);
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
}  // namespace
}  // namespace ks
