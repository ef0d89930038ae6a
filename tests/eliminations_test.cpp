// The classic eliminations together: soundness on every puzzle with a known solution (also after
// a wrong digit typed and erased, and after a restart), the technique toolbar, and the BUG step.
#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "technique_board.h"

namespace ks {
namespace {

using test::at;
using test::candidates_left;
using test::HandBoard;
using test::keeps_solution;
using test::Technique;

// ---------------------------------------------------------------------------------------------
// Soundness on real puzzles

// The eliminations.
const Technique kEliminations[] = {
    {"nakedpair", [](Main& m) { m.nakedpair(); }},
    {"cerca_coppie_nei_gruppi", [](Main& m) { m.cerca_coppie_nei_gruppi(); }},
    {"interazione_settore_riga_colonna", [](Main& m) { m.interazione_settore_riga_colonna(); }},
    {"hiddenpair", [](Main& m) { m.hiddenpair(); }},
    {"nakedtriple", [](Main& m) { m.nakedtriple(); }},
};
constexpr size_t kEliminationCount = std::size(kEliminations);

// Calls the technique until it reports no change, checking the solution after every call, and
// adds the candidates it removed to removed. A call that reports a change must have made one.
void run_until_nothing_changes(Main& m, const test::Puzzle& p, const Technique& t, int& removed) {
  for (int calls = 0;; ++calls) {
    ASSERT_LT(calls, 200) << p.id << " " << t.name;
    const int before = candidates_left(m);
    t.run(m);
    ASSERT_TRUE(keeps_solution(m, p, t.name));
    if (!m.modificato) break;
    ASSERT_LT(candidates_left(m), before) << p.id << " " << t.name
                                          << " reported a change and made none";
    removed += before - candidates_left(m);
  }
}

// The stand-in solve with the cage techniques, which give the eliminations positions to work
// on, and each elimination called until it changes nothing. acted[t] is set when elimination t
// removed something.
void solve_with_eliminations(Main& m, const test::Puzzle& p,
                             std::array<bool, kEliminationCount>& acted) {
  test::solve_in_rounds(m, p, [&] {
    for (const Technique& t : test::kCageTechniques) {
      t.run(m);
      ASSERT_TRUE(keeps_solution(m, p, t.name));
    }
    for (size_t t = 0; t < kEliminationCount; ++t) {
      int removed = 0;
      run_until_nothing_changes(m, p, kEliminations[t], removed);
      if (::testing::Test::HasFatalFailure()) return;
      if (removed > 0) acted[t] = true;
    }
  });
}

// Each elimination acts on some puzzle, so the runs below really exercise it. The pairs inside
// cages find nothing that the sum check has not already removed; the thinned positions below
// exercise them.
void expect_each_acted(const std::array<int, kEliminationCount>& puzzles_acted) {
  for (size_t t = 0; t < kEliminationCount; ++t)
    if (std::string(kEliminations[t].name) != "cerca_coppie_nei_gruppi") {
      EXPECT_GT(puzzles_acted[t], 0) << kEliminations[t].name;
    }
}

// In every cage with two cells that share no unit, the first two such cells are left with their
// two solution digits, and in every other cage of three cells so paired the third cell is filled
// first: pairs inside cages, and pairs of cages with two empty cells, to work on.
void pair_up_cages(Main& m, const test::Puzzle& p) {
  for (int g = 0; g <= m.gruppi; ++g) {
    const int n = m.cage_size(g);
    for (int i = 1; i <= n; ++i) {
      for (int j = i + 1; j <= n; ++j) {
        const int a = m.cage_cell(g, i), b = m.cage_cell(g, j);
        if (sees(a, b)) continue;
        if (n == 3 && g % 2 == 0) {
          const int c = m.cage_cell(g, 6 - i - j);
          m.Text1[c].set_text(std::string(1, p.solution[static_cast<size_t>(c)]));
        }
        std::string pair{p.solution[static_cast<size_t>(a)], p.solution[static_cast<size_t>(b)]};
        if (pair[0] > pair[1]) std::swap(pair[0], pair[1]);
        m.Text2[a].set_text(pair);
        m.Text2[b].set_text(pair);
        i = j = n + 1;
      }
    }
  }
}

// Two wrong digits typed into empty cells and erased: the first one a candidate of its cell
// (accepted, its peers lose it), the second one not (refused with "numero errato").
void type_and_erase_wrong_digits(Main& m, const test::Puzzle& p) {
  int typed = 0;
  for (int i = 0; i < 81 && typed < 2; ++i) {
    if (!m.Text1[i].text().empty()) continue;
    const char s = p.solution[static_cast<size_t>(i)];
    for (char w = '1'; w <= '9'; ++w) {
      if (w == s || has_char(m.Text2[i].text(), w) != (typed == 0)) continue;
      m.Text1[i].type(std::string(1, w));
      EXPECT_EQ(m.Text1[i].text(), std::string(1, w)) << p.id;
      m.Text1[i].type("");
      ++typed;
      break;
    }
  }
  m.problema = false;
}

void restart(Main& m, const test::Puzzle& p) {
  m.Toolbar2.on_button_click("undo");
  EXPECT_EQ(m.esposti, 0) << p.id;
}

// On every puzzle, the eliminations with the sum check and the cage techniques keep the solution
// to the end of what they can do; and again after what a player may do then (a wrong digit typed
// and erased gives candidates back, the restart command puts the puzzle back as loaded), when
// the solve goes as far as it went before.
TEST(Eliminations, KeepTheSolutionOnEveryPuzzle) {
  struct Interlude {
    const char* name;
    void (*play)(Main&, const test::Puzzle&);
  };
  for (const Interlude& interlude : {Interlude{"none", nullptr},
                                     Interlude{"wrong digits typed and erased",
                                               type_and_erase_wrong_digits},
                                     Interlude{"restart", restart}}) {
    SCOPED_TRACE(interlude.name);
    std::array<int, kEliminationCount> puzzles_acted{};
    int solved = 0;
    for (const test::Puzzle& p : test::puzzles()) {
      HandBoard b;
      Main& m = b.m;
      test::load_layout(m, p.layout);
      ASSERT_FALSE(m.problema) << p.id;
      m.filetxt.set_text(" nuovo schema");
      std::array<bool, kEliminationCount> acted{};
      solve_with_eliminations(m, p, acted);
      if (HasFatalFailure()) return;
      if (interlude.play) {
        const int filled = m.esposti;
        interlude.play(m, p);
        ASSERT_TRUE(keeps_solution(m, p, interlude.name));
        acted = {};
        solve_with_eliminations(m, p, acted);
        if (HasFatalFailure()) return;
        EXPECT_EQ(m.esposti, filled) << p.id;
      }
      for (size_t t = 0; t < kEliminationCount; ++t) puzzles_acted[t] += acted[t];
      solved += m.esposti == 81;
    }
    expect_each_acted(puzzles_acted);
    EXPECT_GT(solved, 0);
  }
}

// From each puzzle, candidates that the solution does not use are dropped at random, cells of
// cages are paired up, and each elimination runs until it changes nothing: the solution stays,
// and each acts somewhere.
TEST(Eliminations, KeepTheSolutionOnThinnedPositions) {
  std::array<int, kEliminationCount> removed{};
  std::mt19937 random(20240612u);
  for (const test::Puzzle& p : test::puzzles()) {
    for (const int keep_percent : {20, 45, 70}) {
      HandBoard b;
      Main& m = b.m;
      test::load_layout(m, p.layout);
      test::thin_candidates(m, p, random, keep_percent);
      pair_up_cages(m, p);
      ASSERT_TRUE(keeps_solution(m, p, "thinning"));
      m.calling = "risolvi";
      m.chiamante = "analisi";
      for (size_t t = 0; t < kEliminationCount; ++t) {
        run_until_nothing_changes(m, p, kEliminations[t], removed[t]);
        if (HasFatalFailure()) return;
      }
    }
  }
  for (size_t t = 0; t < kEliminationCount; ++t)
    EXPECT_GT(removed[t], 0) << kEliminations[t].name;
}

// ---------------------------------------------------------------------------------------------
// The technique toolbar

// "pair" runs the naked pairs, then the hidden pairs when nothing changed, then the naked
// triples when still nothing changed; "obbligate" runs the box-line interaction. Each waits at
// the traffic light, as a step of the toolbar does.
TEST(Eliminations, ToolbarButtonsRunTheirTechniquesOneStepAtATime) {
  struct Row {
    const char* key;
    void (*setup)(HandBoard&);
    const char* origine;
    const char* hint_at_wait;
  };
  const Row rows[] = {
      {"pair", [](HandBoard& b) { b.set({at(5, 1), at(5, 9)}, "12"); }, "nakedpair",
       "NAKED PAIR 12 in r5c1 e r5c9"},
      {"pair",
       [](HandBoard& b) {
         for (int c = 1; c <= 9; ++c) b.set(at(4, c), "1245689");
         b.set(at(4, 2), "1357");
         b.set(at(4, 8), "379");
       },
       "hiddenpair", "HIDDEN PAIR 37 in r4c2 e r4c8"},
      {"pair",
       [](HandBoard& b) {
         b.set(at(2, 1), "14");
         b.set(at(2, 5), "17");
         b.set(at(2, 9), "47");
       },
       "nakedtriple", "numeri 147 presenti come NAKED TRIPLE in r2c1 - r2c5 - r2c9"},
      {"obbligate",
       [](HandBoard& b) {
         b.drop('6', {at(2, 1), at(2, 2), at(2, 3), at(3, 1), at(3, 2), at(3, 3)});
       },
       "obbligate", "INTERAZIONE - nel settore 1 un numero è presente solo nella riga 1"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.origine);
    HandBoard b;
    b.m.filetxt.set_text(" nuovo schema");
    r.setup(b);
    const auto waits = test::step(
        b,
        [&r](Main& m) {
          m.chiamante = "analisi";
          m.Toolbar1.on_button_click(r.key);
        },
        {"si"});
    EXPECT_EQ(b.m.chiamante, "manuale");
    EXPECT_EQ(b.m.origine, r.origine);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].hint, r.hint_at_wait);
    EXPECT_TRUE(b.m.modificato);
    EXPECT_FALSE(b.changes().empty());
    EXPECT_TRUE(b.s.rt.messages.empty());
  }
  HandBoard b;
  for (int n = 1; n <= b.m.Toolbar1.count(); ++n) {
    const ToolbarButton& button = b.m.Toolbar1.button(n);
    if (button.key == "pair" || button.key == "obbligate") {
      EXPECT_TRUE(button.enabled) << button.key;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The BUG step

// A classic position of one solution in which every empty cell has two candidates but r1c8,
// which has 349; 9 is three times a candidate in row 1, column 8 and box 3, 3 and 4 twice.
// Givens: '.' marks an empty cell; the candidates of the empty cells follow in cell order.
const char* const kBugGivens =
    ".7..286.5..65.78.2825.6...7.6.875.2.5.26...7878.2..56.2...5678.657.82.....87..256";
const char* const kBugCandidates[] = {"13", "49", "19", "349", "13", "49", "13", "49", "34",
                                      "49", "19", "13", "49", "13", "39", "14", "13", "49",
                                      "39", "14", "49", "13", "14", "39", "49", "13", "34",
                                      "19", "19", "34", "19", "34", "49", "13", "49", "13"};
constexpr int kBugCell = at(1, 8);

void bug_position(HandBoard& b) {
  size_t k = 0;
  for (int i = 0; i < 81; ++i) {
    const char g = kBugGivens[i];
    if (g == '.')
      b.set(i, kBugCandidates[k++]);
    else
      b.place(i, g);
  }
  ASSERT_EQ(k, std::size(kBugCandidates));
}

TEST(Bug, TrueBugPlusOnePlacesTheDigitOfThreeCandidates) {
  HandBoard b;
  bug_position(b);
  int cell = -1, digit = 0;
  b.m.cerca_bug(cell, digit);
  EXPECT_EQ(cell, kBugCell);
  EXPECT_EQ(digit, 9);
  b.m.regola_bug();
  EXPECT_EQ(b.m.Text1[kBugCell].text(), "9");
  EXPECT_EQ(b.m.Text2[kBugCell].text(), "9");
  EXPECT_EQ(b.m.txthint.text(), "inserito 9 in r1c8");
  EXPECT_EQ(b.m.Text5.text(), "9");
  EXPECT_EQ(b.m.origine, "bug");
  EXPECT_TRUE(b.m.modificato);
  EXPECT_FALSE(b.m.problema);
  EXPECT_TRUE(b.log().empty());
}

TEST(Bug, StepModeWaitsAndRedLeavesTheBoardAsItWas) {
  for (const char* answer : {"si", "no"}) {
    SCOPED_TRACE(answer);
    HandBoard b;
    bug_position(b);
    const auto waits = test::step(b, &Main::regola_bug, {answer});
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].hint, "BUG in r1c8");
    EXPECT_EQ(waits[0].text5, "9");
    EXPECT_EQ(waits[0].yellow, std::vector<int>{kBugCell});
    EXPECT_TRUE(b.m.modificato);
    const bool yes = std::string(answer) == "si";
    EXPECT_EQ(b.m.Text1[kBugCell].text(), yes ? "9" : "");
    EXPECT_EQ(b.changes().empty(), !yes);
    EXPECT_EQ(b.m.txthint.text(), yes ? "inserito 9 in r1c8" : "BUG in r1c8");
    test::expect_gate_closed(b.m);
  }
}

// Positions that are not a BUG with one extra cell get nothing: no digit, no text, no change.
TEST(Bug, NothingWhereThePositionIsNoTrueBugPlusOne) {
  struct Row {
    const char* name;
    void (*change)(HandBoard&);
  };
  const Row rows[] = {
      {"every empty cell bivalue", [](HandBoard& b) { b.set(kBugCell, "34"); }},
      {"a fourth candidate", [](HandBoard& b) { b.set(kBugCell, "1349"); }},
      {"two cells above two", [](HandBoard& b) { b.set(at(9, 1), "134"); }},
      {"a digit twice too often", [](HandBoard& b) { b.set(at(2, 1), "14"); }},
      {"a cell with one candidate", [](HandBoard& b) { b.set(at(9, 1), "1"); }},
      {"a candidate placed in a peer", [](HandBoard& b) { b.place(at(1, 4), '3'); }},
      {"a board with cages", [](HandBoard& b) { b.cage(0, {at(9, 8), at(9, 9)}); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    HandBoard b;
    bug_position(b);
    r.change(b);
    b.m.modificato = true;
    b.snapshot();
    b.m.regola_bug();
    EXPECT_FALSE(b.m.modificato);
    EXPECT_TRUE(b.m.Text1[kBugCell].text().empty());
    EXPECT_TRUE(b.changes().empty());
    EXPECT_EQ(b.m.txthint.text(), "");
  }
}

}  // namespace
}  // namespace ks
