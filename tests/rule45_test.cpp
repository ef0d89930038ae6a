// The rule of 45: the cage split, single units and bands on hand-built boards with exact texts
// and modes; soundness of the singles and the rule of 45 on real puzzles; the "45" button.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "technique_board.h"

namespace ks {
namespace {

using test::at;
using test::HandBoard;
using test::kDashes;
using test::keeps_solution;
using test::kLadder;
using test::rows_one_two_stick_out;

// ---------------------------------------------------------------------------------------------
// Soundness on real puzzles

// What a run of the singles, the rule of 45 and the sum check did to one puzzle.
struct LadderRun {
  bool solved = false;
  int rule45_units = 0;  // digits placed by the rule of 45 on single units
  int rule45_bands = 0;  // and on bands
};

// A ladder of the singles, the rule of 45 and the sum check, in solve mode, restarting from its
// first rung after every success, until no rung finds anything or one meets a contradiction;
// `after` looks at the board after every rung.
LadderRun run_ladder(Main& m, const std::function<void(const char* rung)>& after) {
  m.calling = "risolvi";
  m.chiamante = "analisi";
  LadderRun run;
  // The rungs, by their place in the rating ladder; a single finder tells a find by cella, the
  // others by modificato.
  struct Rung {
    size_t ladder;
    bool single;
  };
  constexpr Rung kRungs[] = {{0, true}, {1, false}, {2, true},  {3, true},
                             {4, true}, {5, false}, {11, false}};
  bool found = true;
  for (int steps = 0; found; ++steps) {
    if (steps == 5000) {
      ADD_FAILURE() << "the ladder never stops";
      break;
    }
    found = false;
    for (size_t r = 0; r < std::size(kRungs) && !found; ++r) {
      const test::Technique& rung = kLadder[kRungs[r].ladder];
      const int before = m.esposti;
      rung.run(m);
      found = kRungs[r].single ? m.cella < 81 : m.modificato;
      after(rung.name);
      if (m.problema) return run;
      if (r == 1) run.rule45_units += m.esposti - before;
      if (r == 6) run.rule45_bands += m.esposti - before;
    }
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
    const LadderRun run =
        run_ladder(*s.m, [&](const char* rung) { EXPECT_TRUE(keeps_solution(*s.m, p, rung)); });
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


// Positions reached by a wrong guess: one wrong candidate placed in an empty cell, then the same
// ladder under trial. Whatever the techniques work out from such a position, a cell holds one
// digit among its candidates or nothing, and a contradiction stops the run.
TEST(Rule45, WrongGuessPositionsNeverGetADigitThatIsNoCandidate) {
  std::mt19937 random(4502u);
  int refused = 0;  // calls of the rule of 45 that met a value no digit could be
  for (const test::Puzzle& p : test::puzzles()) {
    for (int guess = 0; guess < 3; ++guess) {
      test::Started s;
      Main& m = *s.m;
      test::load_layout(m, p.layout);
      if (!test::place_wrong_guess(m, p, random)) continue;
      run_ladder(m, [&](const char* rung) {
        const std::string r = rung;
        if (r.starts_with("regola45")) {
          EXPECT_NE(m.txthint.text(), "  numero errato") << p.id << " " << rung;
          if (m.problema && !m.modificato) ++refused;
        }
        ASSERT_TRUE(test::one_digit_or_none(m)) << p.id << " " << rung;
      });
    }
  }
  EXPECT_GT(refused, 0);
}

// ---------------------------------------------------------------------------------------------
// Hand-built boards. Only the cells of the units under test are in cages: a unit with an empty
// cell of no cage tells nothing, so the other units stay silent.

// Row 1: cages {r1c1..r1c4} = 12 and {r1c5..r1c8} = 26 lie in it, {r1c9, r2c9} = 16 sticks
// out by one cell: r2c9 = 54 - 45 = 9 (and r1c9 is the one inside cell of a cage that sticks
// out; the outside cell wins).
void row_one_sticks_out(HandBoard& b, int sum = 16) {
  b.cage(0, 12, {at(1, 1), at(1, 2), at(1, 3), at(1, 4)});
  b.cage(1, 26, {at(1, 5), at(1, 6), at(1, 7), at(1, 8)});
  b.cage(2, sum, {at(1, 9), at(2, 9)});
}
// The same down column 1: r9c2 = 9.
void column_one_sticks_out(HandBoard& b) {
  b.cage(0, 12, {at(1, 1), at(2, 1), at(3, 1), at(4, 1)});
  b.cage(1, 26, {at(5, 1), at(6, 1), at(7, 1), at(8, 1)});
  b.cage(2, 16, {at(9, 1), at(9, 2)});
}
// Box 1: cages of sums 21 and 17 lie in it; r3c3 belongs to {r3c3, r4c3, r5c3}, which sticks out
// by two cells: r3c3 = 45 - 38 = 7.
void box_one_leaves_one_cell(HandBoard& b) {
  b.cage(0, 21, {at(1, 1), at(1, 2), at(1, 3), at(2, 1), at(2, 2), at(2, 3)});
  b.cage(1, 17, {at(3, 1), at(3, 2)});
  b.cage(2, 15, {at(3, 3), at(4, 3), at(5, 3)});
}
// The same in box 9: r7c7 = 7.
void box_nine_leaves_one_cell(HandBoard& b) {
  b.cage(3, 21, {at(9, 9), at(9, 8), at(9, 7), at(8, 9), at(8, 8), at(8, 7)});
  b.cage(4, 17, {at(7, 9), at(7, 8)});
  b.cage(5, 15, {at(7, 7), at(6, 7), at(5, 7)});
}
// Row 5: cages of sums 10 and 30 lie in it; r5c5 begins {r5c5, r6c5, r7c5}: r5c5 = 5.
void row_five_leaves_one_cell(HandBoard& b) {
  b.cage(0, 10, {at(5, 1), at(5, 2), at(5, 3), at(5, 4)});
  b.cage(1, 30, {at(5, 6), at(5, 7), at(5, 8), at(5, 9)});
  b.cage(2, 15, {at(5, 5), at(6, 5), at(7, 5)});
}
// Rows 1-2 covered by cages lying in them but for r2c4, which begins {r2c4, r3c4, r4c4}:
// r2c4 = 90 - 86 = 4.
void rows_one_two_leave_one_cell(HandBoard& b) {
  b.cage(0, 10, {at(1, 1), at(1, 2), at(1, 3), at(1, 4)});
  b.cage(1, 35, {at(1, 5), at(1, 6), at(1, 7), at(1, 8), at(1, 9)});
  b.cage(2, 6, {at(2, 1), at(2, 2), at(2, 3)});
  b.cage(3, 35, {at(2, 5), at(2, 6), at(2, 7), at(2, 8), at(2, 9)});
  b.cage(4, 15, {at(2, 4), at(3, 4), at(4, 4)});
}
// Columns 1-2 as rows 1-2 above: r4c3 = 6.
void columns_one_two_stick_out(HandBoard& b) {
  int g = 0;
  for (int r = 1; r <= 9; ++r)
    if (r != 4) b.cage(g++, 10, {at(r, 1), at(r, 2)});
  b.cage(g, 16, {at(4, 1), at(4, 2), at(4, 3)});
}

const auto units = [](Main& m) { m.regola45_naked_single(); };
const auto bands = [](Main& m) { m.regola45_righe_colonne_multiple(); };

// ---------------------------------------------------------------------------------------------
// The cage split

TEST(CageSplit, CellsInsideAndOutsideAUnitOrBand) {
  struct Case {
    std::string name;
    std::function<bool(Main&)> split;
    bool result;
    std::vector<int> outside, inside;
  };
  // Cage 0: {r3c2, r4c2}; cage 1: an L over boxes 1 and 2, {r2c3, r2c4, r1c4, r3c4}; cage 2 has
  // no empty cell left.
  const std::vector<Case> cases = {
      {"two cells across rows 3 and 4, against row 3",
       [](Main& m) { return m.dividi_gruppo_riga(2, 0); }, true, {at(4, 2)}, {at(3, 2)}},
      {"the same cage against the band of rows 1-4",
       [](Main& m) { return m.dividi_gruppo_righe_multiple(3, 0); }, false, {}, {}},
      {"split twice without a reset",
       [](Main& m) { return m.dividi_gruppo_riga(2, 0) && !m.dividi_gruppo_riga(2, 0); }, true,
       {at(4, 2)}, {at(3, 2)}},
      {"a band ending at row 9 has no outside",
       [](Main& m) { return m.dividi_gruppo_righe_multiple(8, 0); }, false, {}, {}},
      {"an L against box 1: outside in slot order",
       [](Main& m) { return m.dividi_gruppo_settore(0, 1); }, true,
       {at(2, 4), at(1, 4), at(3, 4)}, {at(2, 3)}},
      {"the L against column 4",
       [](Main& m) { return m.dividi_gruppo_colonna(3, 1); }, true, {at(2, 3)},
       {at(2, 4), at(1, 4), at(3, 4)}},
      {"the L against the band of columns 1-3",
       [](Main& m) { return m.dividi_gruppo_colonne_multiple(2, 1); }, true,
       {at(2, 4), at(1, 4), at(3, 4)}, {at(2, 3)}},
      {"a cage with no empty cell", [](Main& m) { return m.dividi_gruppo_riga(0, 2); }, false,
       {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HandBoard b;
    b.cage(0, 9, {at(3, 2), at(4, 2)});
    b.cage(1, 20, {at(2, 3), at(2, 4), at(1, 4), at(3, 4)});
    b.cage(2, 0, {});
    EXPECT_EQ(c.split(b.m), c.result);
    std::vector<int> outside, inside;
    for (int k = 1; k <= b.m.el_esterni; ++k) outside.push_back(b.m.celleesterne[k].as_int());
    for (int k = 1; k <= b.m.el_interni; ++k) inside.push_back(b.m.celleinterne[k].as_int());
    EXPECT_EQ(outside, c.outside);
    EXPECT_EQ(inside, c.inside);
  }
}

// ---------------------------------------------------------------------------------------------
// Singles of the rule of 45

struct Rule45Case {
  std::string name;
  std::function<void(HandBoard&)> setup;
  std::function<void(Main&)> run;
  int cell;  // -1: nothing found
  std::string digit;
  std::string hint;
  std::string log;
};

void expect_case(const Rule45Case& c) {
  SCOPED_TRACE(c.name);
  HandBoard b;
  c.setup(b);
  const auto before = b.cells();
  c.run(b.m);
  EXPECT_FALSE(b.m.problema);
  if (c.cell < 0) {
    EXPECT_FALSE(b.m.modificato);
    EXPECT_EQ(b.cells(), before);
    EXPECT_EQ(b.m.txthint.text(), "");
    EXPECT_TRUE(b.log().empty());
    return;
  }
  EXPECT_TRUE(b.m.modificato);
  EXPECT_EQ(b.m.Text1[c.cell].text(), c.digit);
  // Cell entry's sum check of the cage may add to the hint line and the log after the step.
  EXPECT_EQ(b.m.txthint.text().substr(0, c.hint.size()), c.hint);
  const std::vector<std::string> log = b.log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], kDashes);
  EXPECT_EQ(log[1], c.log);
  // One digit per call.
  int placed = 0;
  for (int i = 0; i < 81; ++i)
    placed += before[static_cast<size_t>(i)].starts_with("/") && !b.m.Text1[i].text().empty();
  EXPECT_EQ(placed, 1);
}

TEST(Rule45, SingleUnitGivesTheCellThatSticksOutOrTheOneLeftInside) {
  const std::string u = "REGOLA 45, naked single ";
  const std::vector<Rule45Case> cases = {
      {"row: one cell sticks out", [](HandBoard& b) { row_one_sticks_out(b); }, units, at(2, 9), "9", u + "9 in r2c9",
       u + "9 in r2c9"},
      {"box: one cell left inside", box_one_leaves_one_cell, units, at(3, 3), "7",
       u + "7 in r3c3", u + "7 in r3c3"},
      {"row: one cell left inside", row_five_leaves_one_cell, units, at(5, 5), "5",
       u + "5 in r5c5", u + "5 in r5c5"},
      {"column: one cell sticks out", column_one_sticks_out, units, at(9, 2), "9",
       u + "9 in r9c2", u + "9 in r9c2"},
      {"a box before a row", [](HandBoard& b) {
         row_one_sticks_out(b);
         box_nine_leaves_one_cell(b);
       },
       units, at(7, 7), "7", u + "7 in r7c7", u + "7 in r7c7"},
      {"a row whose cages all lie in it",
       [](HandBoard& b) {
         b.cage(0, 20, {at(4, 1), at(4, 2), at(4, 3), at(4, 4)});
         b.cage(1, 25, {at(4, 5), at(4, 6), at(4, 7), at(4, 8), at(4, 9)});
       },
       units, -1, "", "", ""},
      {"a row whose cells are all filled",
       [](HandBoard& b) {
         for (int c = 1; c <= 9; ++c) b.m.Text1[at(6, c)].set_text(std::to_string(c));
       },
       units, -1, "", "", ""},
      // Without the cage of r1c9 nothing is known of row 1.
      {"an empty cell of no cage",
       [](HandBoard& b) {
         row_one_sticks_out(b);
         b.m.gruppodicella.set(at(1, 9), Value::empty());
       },
       units, -1, "", "", ""},
  };
  for (const Rule45Case& c : cases) expect_case(c);
}

TEST(Rule45, BandOfTopRowsOrLeftColumnsGivesItsSingle) {
  const std::vector<Rule45Case> cases = {
      {"rows 1-2, one cell sticks out", [](HandBoard& b) { rows_one_two_stick_out(b); }, bands,
       at(3, 4), "6", "REGOLA 45 su righe multiple, naked single 6 in r3c4",
       "REGOLA 45 su righe multipl, naked single 6 in r3c4"},
      {"rows 1-2, one cell left inside", rows_one_two_leave_one_cell, bands, at(2, 4), "4",
       "REGOLA 45 su righe multipl, naked single 4 in r2c4",
       "REGOLA 45 su righe multipl, naked single 4 in r2c4"},
      {"columns 1-2, one cell sticks out", columns_one_two_stick_out, bands, at(4, 3), "6",
       "REGOLA 45 su colonne multiple, naked single 6 in r4c3",
       "REGOLA 45 su colonne multiple, naked single 6 in r4c3"},
      // A single row is no band.
      {"row 1 alone", [](HandBoard& b) { row_one_sticks_out(b); }, bands, -1, "", "", ""},
  };
  for (const Rule45Case& c : cases) expect_case(c);
}


// What each mode shows, logs and waits for, for each kind of single; every placement counts as a
// change.
TEST(Rule45, ModesDecideWhatIsToldAndWaitedFor) {
  const std::string u = "REGOLA 45, naked single ";
  const test::SingleInModes cases[] = {
      {"unit, outside", [](HandBoard& b) { row_one_sticks_out(b); }, units, at(2, 9),
       u + "9 in r2c9", u + "9 in r2c9", {"hlwm", "hlm", "hlm", "hm", "hlm"}},
      {"box, inside", box_one_leaves_one_cell, units, at(3, 3), u + "7 in r3c3", u + "7 in r3c3",
       {"hlwm", "hlwm", "hlm", "hm", "hlm"}},
      {"row, inside", row_five_leaves_one_cell, units, at(5, 5), u + "5 in r5c5", u + "5 in r5c5",
       {"hlwm", "hlm", "hlm", "hm", "hlm"}},
      {"band, outside", [](HandBoard& b) { rows_one_two_stick_out(b); }, bands, at(3, 4),
       "REGOLA 45 su righe multiple, naked single 6 in r3c4",
       "REGOLA 45 su righe multipl, naked single 6 in r3c4", {"hlwm", "hlwm", "hlm", "hm", "hlm"}},
      {"band, inside", rows_one_two_leave_one_cell, bands, at(2, 4),
       "REGOLA 45 su righe multipl, naked single 4 in r2c4",
       "REGOLA 45 su righe multipl, naked single 4 in r2c4", {"hlwm", "hlwm", "hlm", "hm", "m"}},
  };
  for (const test::SingleInModes& c : cases) test::expect_single_in_modes(c);
}

// The red light leaves the step unapplied and stops the calling ladder.
TEST(Rule45, RedLightPlacesNothing) {
  const std::vector<std::pair<std::function<void(HandBoard&)>, std::function<void(Main&)>>> cases =
      {{[](HandBoard& b) { row_one_sticks_out(b); }, units},
       {box_one_leaves_one_cell, units},
       {[](HandBoard& b) { rows_one_two_stick_out(b); }, bands},
       {rows_one_two_leave_one_cell, bands}};
  for (const auto& [setup, run] : cases) {
    HandBoard b;
    setup(b);
    test::expect_refused(b, run);
  }
}

// On a position reached by a wrong guess the rule of 45 can work out a value that is no digit, or
// none the cell can take: a contradiction, with nothing placed and the value told as wrong.
TEST(Rule45, ValueThatCannotBeTheCellsDigitIsAContradiction) {
  struct Case {
    std::string name;
    std::function<void(HandBoard&)> setup;
    std::function<void(Main&)> run;
  };
  const std::vector<Case> cases = {
      {"below 1", [](HandBoard& b) { row_one_sticks_out(b, 5); }, units},
      {"zero", [](HandBoard& b) { row_one_sticks_out(b, 7); }, units},
      {"ten", [](HandBoard& b) { row_one_sticks_out(b, 17); }, units},
      {"not a candidate",
       [](HandBoard& b) {
         row_one_sticks_out(b);
         b.m.Text2[at(2, 9)].set_text("1234");
       },
       units},
      {"inside, negative",
       [](HandBoard& b) {
         box_one_leaves_one_cell(b);
         b.m.sommagruppo.set(0, 30);
       },
       units},
      {"band, twenty", [](HandBoard& b) { rows_one_two_stick_out(b, 30); }, bands},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* chiamante : {"manuale", "analisi"}) {
      HandBoard b;
      test::Light light(b.s);
      b.m.chiamante = chiamante;
      b.m.calling = "";
      c.setup(b);
      const auto before = b.cells();
      c.run(b.m);
      EXPECT_TRUE(b.m.problema);
      EXPECT_FALSE(b.m.modificato);
      EXPECT_EQ(b.cells(), before);
      EXPECT_TRUE(light.waits.empty());
      // The player is told why nothing was placed.
      EXPECT_TRUE(b.m.txthint.text().ends_with("  numero errato")) << b.m.txthint.text();
      const auto log = b.log();
      ASSERT_EQ(log.size(), 2u);
      EXPECT_TRUE(log[1].ends_with("  numero errato")) << log[1];
    }
  }
}

// A placement that meets a contradiction still counts as a change, except for the inside cell of
// a row, which then leaves modificato as the placement left it.
TEST(Rule45, RowInsideSingleThatMeetsAContradictionIsNoChange) {
  {
    HandBoard b;
    row_five_leaves_one_cell(b);
    b.m.Text2[at(9, 5)].set_text("5");  // r5c5 = 5 leaves it nothing
    b.m.regola45_naked_single();
    EXPECT_EQ(b.m.Text1[at(5, 5)].text(), "5");
    EXPECT_TRUE(b.m.problema);
    EXPECT_FALSE(b.m.modificato);
  }
  {
    HandBoard b;
    box_one_leaves_one_cell(b);
    b.m.Text2[at(9, 3)].set_text("7");
    b.m.regola45_naked_single();
    EXPECT_EQ(b.m.Text1[at(3, 3)].text(), "7");
    EXPECT_TRUE(b.m.problema);
    EXPECT_TRUE(b.m.modificato);
  }
}

// ---------------------------------------------------------------------------------------------
// The "45" button

// A started board with the first puzzle of the test data whose start gives the rule of 45 on
// single units a digit; the board is in step mode, as after loading.
struct ButtonBoard {
  test::Started s;
  Main& m = *s.m;
  const test::Puzzle* puzzle = nullptr;

  ButtonBoard() {
    for (const test::Puzzle& p : test::puzzles()) {
      test::load_layout(m, p.layout);
      m.calling = "risolvi";
      m.regola45_naked_single();
      if (!m.modificato) continue;
      puzzle = &p;
      test::load_layout(m, p.layout);
      return;
    }
  }
};

TEST(Rule45Button, PlacesTheDigitAfterTheGreenLight) {
  ButtonBoard b;
  ASSERT_NE(b.puzzle, nullptr);
  Main& m = b.m;
  test::Light light(b.s);
  m.Command3.on_click();
  ASSERT_EQ(light.waits.size(), 1u);
  EXPECT_TRUE(light.waits[0].hint.starts_with("REGOLA 45, naked single ")) << light.waits[0].hint;
  ASSERT_EQ(light.waits[0].yellow.size(), 1u);
  const int cell = light.waits[0].yellow[0];
  EXPECT_EQ(m.Text1[cell].text(), b.puzzle->solution.substr(static_cast<size_t>(cell), 1));
  EXPECT_EQ(m.esposti, 1);
  EXPECT_TRUE(m.modificato);
  EXPECT_FALSE(m.Pictgo.visible());
}

// While a step waits at the traffic light the button is refused like every command.
TEST(Rule45Button, IsRefusedWhileAStepWaits) {
  ButtonBoard b;
  ASSERT_NE(b.puzzle, nullptr);
  Main& m = b.m;
  int pressed = 0;
  // The player presses "45" again while the first step waits, then lets the step through.
  b.s.rt.on_yield = [&] {
    if (!m.Pictgo.visible() || !m.scelta.empty()) return;
    if (pressed++ == 0) {
      m.Command3.on_click();
      return;
    }
    m.Pictgo.on_click();
  };
  m.Command3.on_click();
  EXPECT_EQ(b.s.rt.messages, std::vector<std::string>{"per continuare click sul semaforo verde"});
  EXPECT_EQ(m.esposti, 1);
}

}  // namespace
}  // namespace ks
