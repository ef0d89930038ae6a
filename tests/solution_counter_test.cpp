// The solution counter: every known puzzle has its one solution and the board comes back,
// layouts with several solutions stop at the second, contradictions and dead ends end at once,
// the time limit is a third outcome, the clock across midnight, and the snapshot puts back
// exactly what it saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "solving/ladder.h"
#include "solving/rungs.h"
#include "solving/snapshot.h"
#include "solving_support.h"

namespace ks {
namespace {

// ---------------------------------------------------------------------------------------------

TEST(SolutionCounter, EveryKnownPuzzleHasItsOneSolutionAndTheBoardComesBack) {
  test::Started s;
  Main& m = *s.m;
  for (const test::Puzzle& p : test::puzzles()) {
    test::load_layout(m, p.layout);
    ASSERT_FALSE(m.problema) << p.id;
    const std::vector<std::string> start = test::position_of(m);
    m.grigliasoluzione.fill("7");  // an older puzzle's solution
    const std::string log = m.frmlog.Text3.text();
    m.conta_soluzioni_tecniche();
    EXPECT_EQ(m.frmlog.Text3.text(), log) << p.id << ": the count logs nothing";
    EXPECT_EQ(m.soluzioni, 1) << p.id;
    EXPECT_EQ(m.count_result, Main::CountResult::One) << p.id;
    std::string stored;
    for (const std::string& d : m.grigliasoluzione) stored += d;
    EXPECT_EQ(stored, p.solution) << p.id;
    EXPECT_EQ(m.txthint.text(), "ho trovato 1 soluzione/i") << p.id;
    EXPECT_EQ(test::position_of(m), start) << p.id;
    EXPECT_TRUE(test::keeps(m, p.solution)) << p.id;
    EXPECT_FALSE(m.problema) << p.id;
    EXPECT_FALSE(m.finito) << p.id;
    EXPECT_EQ(m.calling1, "") << p.id << ": the count keeps its mode words to itself";
    EXPECT_EQ(m.chiamante, "manuale") << p.id;
    EXPECT_EQ(m.calling, "") << p.id;
    EXPECT_FALSE(m.generaeconta) << p.id << ": the count keeps its time limit to itself";
    EXPECT_EQ(m.liv1 + m.liv2 + m.liv8, 0) << p.id << ": nothing is counted during a count";
    EXPECT_EQ(test::safety_stops_fired(m), "") << p.id;
  }
}

TEST(SolutionCounter, ALayoutWithSeveralSolutionsStopsAtTheSecond) {
  int layouts = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    std::string swapped;
    const std::string layout = test::two_solutions(p, swapped);
    if (layout.empty()) continue;
    ++layouts;
    ASSERT_TRUE(test::solves(p.solution, layout)) << p.id;
    ASSERT_TRUE(test::solves(swapped, layout)) << p.id;
    test::Started s;
    Main& m = *s.m;
    test::load_layout(m, layout);
    ASSERT_FALSE(m.problema) << p.id;
    m.conta_soluzioni_tecniche();
    EXPECT_EQ(m.soluzioni, 2) << p.id;
    EXPECT_EQ(m.count_result, Main::CountResult::Several) << p.id;
    EXPECT_EQ(m.txthint.text(), "soluzione 2") << p.id;
    EXPECT_TRUE(m.finito) << p.id;
    std::string first;
    for (const std::string& d : m.grigliasoluzione) first += d;
    const std::string second = test::grid_of(m);
    EXPECT_TRUE(test::solves(first, layout)) << p.id;
    EXPECT_TRUE(test::solves(second, layout)) << p.id;
    EXPECT_NE(first, second) << p.id;
    EXPECT_EQ(test::safety_stops_fired(m), "") << p.id;
  }
  EXPECT_GE(layouts, 5);
}

// Two cells of row 1 both left with the single candidate 5: the first 5 placed leaves the other
// cell without a candidate. No choice is made.
TEST(SolutionCounter, AContradictoryPositionHasNoSolutionAtOnce) {
  test::Started s;
  Main& m = *s.m;
  const test::Puzzle& p = test::puzzles().front();
  test::load_layout(m, p.layout);
  m.Text2[0].set_text("5");
  m.Text2[1].set_text("5");
  const std::vector<std::string> start = test::position_of(m);
  m.grigliasoluzione.fill("7");
  const long yields = s.rt.yields;
  m.conta_soluzioni_tecniche();
  EXPECT_EQ(m.soluzioni, 0);
  EXPECT_EQ(m.count_result, Main::CountResult::None);
  EXPECT_EQ(m.txthint.text(), "ho trovato 0 soluzione/i");
  EXPECT_EQ(m.grigliasoluzione, (std::array<std::string, 81>{})) << "cleared when the count starts";
  EXPECT_EQ(test::position_of(m), start);
  EXPECT_LT(s.rt.yields - yields, 20) << "one run of the short ladder, no search";
}

// Positions without any cell to choose in: a complete grid is its own solution; a grid whose
// last empty cell has no candidate (and no cage to tell) is a dead end, not an endless search.
TEST(SolutionCounter, PositionsWithoutABranchCell) {
  const std::string solution = test::puzzles().front().solution;
  for (const bool complete : {true, false}) {
    test::HandBoard b;
    Main& m = b.m;
    m.ins_dati = true;
    for (int i = 0; i < 81; ++i) {
      const std::string d(1, solution[static_cast<size_t>(i)]);
      if (!complete && i == 40) {
        m.Text2[i].set_text("");
        continue;
      }
      m.Text1[i].set_text(d);
      m.Text2[i].set_text(d);
    }
    m.ins_dati = false;
    const std::vector<std::string> start = test::position_of(m);
    m.conta_soluzioni_tecniche();
    EXPECT_EQ(m.soluzioni, complete ? 1 : 0) << complete;
    EXPECT_EQ(m.txthint.text(), complete ? "ho trovato 1 soluzione/i" : "ho trovato 0 soluzione/i");
    EXPECT_EQ(test::position_of(m), start);
  }
}

// The clock moved past the limit while the count runs: the count stops as soon as it is about
// to choose, tells that it does not know, and puts the starting position back.
TEST(SolutionCounter, ACountStoppedByItsTimeLimitIsNeitherNoneNorOne) {
  struct Case {
    float t0, late;  // the start of the solve, and the clock once the count runs
    bool stops;
  };
  const Case cases[] = {
      {1000.0f, 1121.5f, true},   // 121 seconds: past the limit
      {1000.0f, 1120.5f, false},  // 120 seconds: not past it
      {86350.0f, 80.0f, true},    // 130 seconds across midnight
      {86390.0f, 20.0f, false},   // 30 seconds across midnight
  };
  const test::Puzzle* hard = &test::puzzle("du-1");
  for (const Case& c : cases) {
    test::Started s;
    Main& m = *s.m;
    test::load_layout(m, hard->layout);
    const std::vector<std::string> start = test::position_of(m);
    m.t0 = c.t0;
    s.rt.clock = c.t0;
    s.rt.on_yield = [&] { s.rt.clock = c.late; };
    m.conta_soluzioni_tecniche();
    EXPECT_EQ(m.count_result, c.stops ? Main::CountResult::Unknown : Main::CountResult::One)
        << c.late;
    EXPECT_EQ(m.soluzioni, c.stops ? 0 : 1) << c.late;
    EXPECT_EQ(m.txthint.text().rfind("ho trovato", 0) == 0, !c.stops) << m.txthint.text();
    EXPECT_EQ(test::position_of(m), start) << c.late;
    EXPECT_TRUE(test::keeps(m, hard->solution));
  }
}

TEST(SolutionCounter, AHiddenSingleRaisesTheLevelWithoutCounting) {
  test::Started s;
  Main& m = *s.m;
  for (const test::Puzzle& p : test::puzzles()) {
    test::load_layout(m, p.layout);
    m.conta_soluzioni_tecniche();
    if (m.livello >= 1) {
      EXPECT_EQ(m.liv1, 0);
      return;
    }
  }
  ADD_FAILURE() << "no count met a hidden single";
}

// ---------------------------------------------------------------------------------------------
// The snapshot

// A position with a filled cell, an empty cell with one candidate, an empty cell without any,
// candidates as a technique left them, cage records and a derived cage: after play, the restore
// brings all of it back, an empty cell with one candidate stays empty, and the stored
// combinations are dropped.
TEST(Snapshot, PutsBackExactlyWhatItSaved) {
  test::Started s;
  Main& m = *s.m;
  const test::Puzzle& p = test::puzzles()[30];
  test::load_layout(m, p.layout);
  m.calling = "risolvi";
  m.chiamante = "analisi";
  m.controllo_somme(81);
  const int single = m.cage_cell(0, 1);
  m.Text1[single].set_text(std::string(1, p.solution[static_cast<size_t>(single)]));
  const int lone = 80;
  m.Text2[lone].set_text(std::string(1, p.solution[lone]));
  m.Text2[79].set_text("");
  m.gruppo1 = m.gruppi + 1;
  m.elementigruppo.set(m.gruppo1, 2);
  m.sommagruppo.set(m.gruppo1, 9);
  m.cellegruppo.set(m.gruppo1, 1, 3);
  m.cellegruppo.set(m.gruppo1, 2, 4);
  const std::vector<std::string> saved = test::position_of(m);
  const int esposti = m.esposti;

  Snapshot snap;
  snap.save(m);

  // Play on: digits placed, a derived cage dropped, combinations worked out.
  m.risolvi_base_a_tempo();
  m.gruppo1 = m.gruppi;
  m.controllo_somme(81);
  ASSERT_NE(test::position_of(m), saved);

  snap.restore(m);
  EXPECT_EQ(test::position_of(m), saved);
  EXPECT_EQ(m.esposti, esposti);
  EXPECT_TRUE(m.Text1[lone].text().empty());
  EXPECT_FALSE(m.ins_dati);
  for (int g = 0; g <= m.gruppi; ++g) EXPECT_TRUE(m.numeriobbligati[g].empty()) << g;
}

// Wrong hypotheses work out the cage combinations of positions that hold no solution; after the
// restore, the techniques that read the stored combinations (required digits, cage against cage)
// still keep every solution digit.
TEST(Snapshot, NoTechniqueReasonsFromTheCombinationsOfAnUndoneHypothesis) {
  using ladder::Rung;
  constexpr Rung kSingles[] = {rungs::kNakedSingle, rungs::kHiddenBox, rungs::kHiddenRow,
                               rungs::kHiddenColumn};
  constexpr Rung kTableReaders[] = {rungs::kRequiredDigits, rungs::kCageCage};
  int hypotheses = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    test::Started s;
    Main& m = *s.m;
    test::load_layout(m, p.layout);
    m.calling = "risolvi";
    m.chiamante = "analisi";
    m.calling1 = "trial";
    ladder::run_ladder(m, {kSingles, nullptr});
    Snapshot start;
    start.save(m);
    int cells = 0;
    for (int i = 0; i < 81 && cells < 4; ++i) {
      const std::string cands = m.Text2[i].text();
      if (!m.Text1[i].text().empty() || cands.size() < 2) continue;
      ++cells;
      for (const char d : cands) {
        if (d == p.solution[static_cast<size_t>(i)]) continue;
        m.Text1[i].set_text(std::string(1, d));
        m.problema = false;
        m.risolvi_in_prova();
        start.restore(m);
        m.problema = false;
        ++hypotheses;
        ladder::run_ladder(m, {kTableReaders, nullptr});
        ASSERT_TRUE(test::keeps(m, p.solution)) << p.id << " after " << m.rc(i) << "=" << d;
        start.restore(m);
      }
    }
  }
  EXPECT_GT(hypotheses, 500);
}

}  // namespace
}  // namespace ks
