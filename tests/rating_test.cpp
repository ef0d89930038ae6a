// The rating ladder and the solve command: every known puzzle solved and rated, levels rising
// with the grades; the ladder's order, levels and end sequence checked over stand-in rungs; the
// rating texts; the rating stored into the library record the puzzle came from, and only there.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "library/level_chooser.h"
#include "library/library.h"
#include "library_fixture.h"
#include "solving/rating_ladder.h"
#include "solving_support.h"

namespace ks {
namespace {

using ladder::Found;

using test::every_puzzle;
using test::load_from_library;
using test::puzzle;

// The first known puzzle that gives a layout with two solutions (see two_solutions): the layout,
// and the known solution with the other one.
std::string several_solutions(std::string& first, std::string& second) {
  for (const test::Puzzle& p : test::puzzles()) {
    const std::string layout = test::two_solutions(p, second);
    if (layout.empty()) continue;
    first = p.solution;
    return layout;
  }
  return "";
}

std::string grade_of(const std::string& id) { return id.substr(0, id.find('-')); }

std::array<int, 14> counters(Main& m) {
  std::array<int, 14> c{};
  for (int L = 1; L <= 14; ++L) c[static_cast<size_t>(L - 1)] = m.liv(L);
  return c;
}

std::string name_of(int livello) { return rating::level_name(livello); }

// ---------------------------------------------------------------------------------------------
// The solve command on every known puzzle

TEST(SolveCommand, EveryPuzzleIsSolvedAndRatedAndHarderGradesRateHigher) {
  std::map<std::string, std::map<int, int>> histogram;
  std::map<std::string, int> without_trial, total_level, puzzles;
  for (const test::Puzzle& p : every_puzzle()) {
    test::Started s;
    Main& m = *s.m;
    load_from_library(m, p.layout);
    m.Toolbar2_ButtonClick("risolvi");
    ASSERT_EQ(m.txtstringa.text(), p.solution) << p.id;
    EXPECT_EQ(test::grid_of(m), p.solution) << p.id;
    EXPECT_TRUE(s.rt.messages.empty()) << p.id << ": " << s.rt.messages.front();
    EXPECT_TRUE(m.finito && !m.problema) << p.id;
    EXPECT_EQ(test::safety_stops_fired(m), "") << p.id;

    // The rating agrees with the counters the solve left.
    ASSERT_GE(m.livello, 0);
    ASSERT_LE(m.livello, 13);
    const std::string name = name_of(m.livello);
    EXPECT_EQ(m.txtlivello.text(), name + "  -  " + m.stringaliv) << p.id;
    EXPECT_EQ(m.txthint.text(), name + " - " + m.stringaliv + " tot. " + std::to_string(m.tot));
    int tot = 0, highest = 0;
    for (int L = 1; L <= 13; ++L) {
      tot += (L <= 9 ? L : 20) * m.liv(L);
      if (m.liv(L) > 0) highest = L;
    }
    EXPECT_EQ(m.tot, tot) << p.id;
    EXPECT_LE(highest, m.livello) << p.id;
    // Trial and verify is the last resort and always counted.
    EXPECT_EQ(m.livello == 13, m.liv13 > 0) << p.id;
    EXPECT_EQ(grade_of(p.id) == "dm", m.liv13 > 0) << p.id;
    EXPECT_EQ(m.conteggioeseguito, m.liv13 > 0) << p.id << ": the count comes before the trial";

    const std::string g = grade_of(p.id);
    ++histogram[g][m.livello];
    without_trial[g] += m.liv13 == 0;
    total_level[g] += m.livello;
    ++puzzles[g];
  }

  // Levels per grade, and how many puzzles the techniques solve without trial and verify.
  std::ostringstream report;
  for (const char* g : {"dt", "db", "di", "da", "de", "du", "dm"}) {
    report << g << ": " << without_trial[g] << "/" << puzzles[g] << " without trial, levels";
    for (const auto& [level, n] : histogram[g]) report << " " << level << "x" << n;
    report << "\n";
  }
  std::cout << report.str();

  // On the whole: easy grades (t, b) below middle ones (i, a), below hard ones (e, u), below the
  // puzzles that need trial and verify.
  const auto mean = [&](std::initializer_list<const char*> grades) {
    int sum = 0, n = 0;
    for (const char* g : grades) {
      sum += total_level[g];
      n += puzzles[g];
    }
    return static_cast<double>(sum) / n;
  };
  EXPECT_LT(mean({"dt", "db"}), mean({"di", "da"}));
  EXPECT_LT(mean({"di", "da"}), mean({"de", "du"}));
  EXPECT_LT(mean({"de", "du"}), mean({"dm"}));
}

// A puzzle that the naked singles and pairs complete: level 0, nothing counted, and the rating
// texts of an empty detail.
TEST(SolveCommand, SinglesOnlyPuzzleIsBanale) {
  test::Started s;
  Main& m = *s.m;
  load_from_library(m, puzzle("dt-15").layout);
  m.Toolbar2_ButtonClick("risolvi");
  ASSERT_TRUE(m.finito);
  EXPECT_EQ(m.livello, 0);
  EXPECT_EQ(counters(m), (std::array<int, 14>{}));
  EXPECT_EQ(m.stringaliv, "");
  EXPECT_EQ(m.tot, 0);
  EXPECT_EQ(m.txtlivello.text(), " BANALE  -  ");
  EXPECT_EQ(m.txthint.text(), " BANALE -  tot. 0");
  EXPECT_EQ(m.calling, "risolvi");
}

// The solve button and its menu refuse a board without a puzzle or a complete one; the menu
// measures from its click like the button; while a solve runs the window refuses other
// commands.
TEST(SolveCommand, GuardsAndTheClock) {
  {
    test::Started s;
    s.m->mnusolve.on_click();
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{"nessun schema caricato"});
  }
  {
    test::Started s;
    Main& m = *s.m;
    load_from_library(m, puzzle("dt-15").layout);
    m.Toolbar2_ButtonClick("risolvi");
    ASSERT_TRUE(m.finito);
    m.mnusolve.on_click();
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{"schema già completato"});
  }
  {
    test::Started s;
    Main& m = *s.m;
    load_from_library(m, puzzle("db-18").layout);
    s.rt.clock = 500.0f;
    bool clicked = false, busy = false;
    s.rt.on_yield = [&] {
      s.rt.clock = 503.25f;
      busy = busy || s.rt.busy > 0;
      if (clicked) return;
      clicked = true;
      m.Toolbar2.on_button_click("new");
      m.mnuposition.on_click();
    };
    m.mnusolve.on_click();
    EXPECT_EQ(s.rt.messages,
              (std::vector<std::string>{"risoluzione in corso", "risoluzione in corso"}));
    EXPECT_EQ(m.txtstringa.text(), puzzle("db-18").solution);
    EXPECT_EQ(m.chiamante, "analisi");
    EXPECT_FLOAT_EQ(m.t0, 500.0f);
    EXPECT_EQ(m.tempo.text(), "3,25 s");
    EXPECT_FALSE(m.solve_running);
    // The window showed it was working while it yielded, and no longer does.
    EXPECT_TRUE(busy);
    EXPECT_EQ(s.rt.busy, 0);
  }
  {
    // Outside "manuale" and "analisi" the singles it finds would never be placed: it does not run.
    test::Started s;
    Main& m = *s.m;
    load_from_library(m, puzzle("dt-1").layout);
    const std::vector<std::string> before = test::position_of(m);
    m.chiamante = "genera";
    m.risolvi_con_livelli();
    EXPECT_EQ(test::position_of(m), before);
    EXPECT_FALSE(m.finito);
  }
}

// A board that is not a whole killer, or whose digits break a rule, is refused with the reason
// before anything is searched; the board stays as it was. Once fixed, the same board solves.
TEST(SolveCommand, RefusesAnIncompleteLayoutOrDigitsThatBreakARule) {
  test::Started s;
  Main& m = *s.m;
  const test::Puzzle& p = puzzle("dt-1");
  const auto solve_refused = [&](const std::string& why) {
    const std::vector<std::string> before = test::position_of(m);
    s.rt.messages.clear();
    m.Toolbar2.on_button_click("risolvi");
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{why});
    EXPECT_EQ(test::position_of(m), before);
    EXPECT_FALSE(m.finito);
  };
  m.mnunew.on_click();
  m.Text1[40].type("5");
  solve_refused("schema incompleto: nessun gruppo inserito");
  m.colore[3].on_click();
  m.Text1[0].on_click();
  m.Text1[1].on_click();
  solve_refused("schema incompleto: chiudere il gruppo in costruzione");
  m.textsomma[m.gruppi].set_focus();
  m.textsomma[m.gruppi].type("3");
  m.Text1[80].set_focus();
  // The digit of r5c5 needs no cage.
  solve_refused("schema incompleto: 78 celle (la prima è r1c3) non appartengono a nessun gruppo");

  load_from_library(m, p.layout);
  const int c = test::cages_of(p.layout)[0].cells[0];
  std::string wrong = "1";
  while (m.Text2[c].text().find(wrong[0]) != std::string::npos) ++wrong[0];
  m.Text1[c].type(wrong);  // "numero errato": the digit stays outside the candidates
  ASSERT_EQ(m.Text1[c].text(), wrong);
  EXPECT_EQ(m.board_fault(), "il " + wrong + " di " + m.rc(c) + " non era tra i candidati della cella");
  solve_refused("le cifre inserite non rispettano le regole: " + m.board_fault());
}

// From a wrong position the solve finds no solution: the board goes back to where the player
// left it, nothing is finished or rated, and the player is told. Either the techniques meet a
// contradiction (du-2), or they fill the grid around a wrong digit that its peers still hold
// among their candidates, as an "sc+" file opens one (db-11: the same digit twice in a column,
// which the count finds is no solution). From the right position the grid is finished with one
// beep, however many grids the count went through.
TEST(SolveCommand, AWrongPositionIsNoSolutionAndLeavesTheBoardAsItWas) {
  struct Case {
    const char* id;
    int cell;
    const char* wrong;
    bool own_candidate;  // the wrong digit is its cell's candidate, its peers keep it
  };
  for (const Case& c : {Case{"du-2", 14, "3", false}, Case{"db-11", 53, "1", true}}) {
    SCOPED_TRACE(c.id);
    test::Started s;
    Main& m = *s.m;
    const test::Puzzle& p = puzzle(c.id);
    load_from_library(m, p.layout);
    ASSERT_NE(p.solution.substr(static_cast<size_t>(c.cell), 1), c.wrong);
    m.Text1[c.cell].type(c.wrong);
    ASSERT_EQ(m.Text1[c.cell].text(), c.wrong);
    if (c.own_candidate) m.Text2[c.cell].set_text(c.wrong);
    ASSERT_EQ(m.board_fault(), "");
    const std::vector<std::string> before = test::position_of(m);
    m.Toolbar2.on_button_click("risolvi");
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{"schema senza soluzione"});
    EXPECT_EQ(test::position_of(m), before);
    EXPECT_FALSE(m.finito);
    EXPECT_EQ(m.txtlivello.text(), "");
    EXPECT_EQ(s.rt.beeps, 0);

    m.Text1[c.cell].type("");
    s.rt.messages.clear();
    m.Toolbar2.on_button_click("risolvi");
    EXPECT_TRUE(s.rt.messages.empty());
    EXPECT_TRUE(m.finito);
    EXPECT_EQ(m.txtstringa.text(), p.solution);
    EXPECT_EQ(s.rt.beeps, 1);
  }
}

// A layout with two solutions: the count stops the ladder with its message, the board is left as
// the techniques left it, unsolved, and txtstringa shows the solution the count stored; no
// rating. Run again on the same puzzle, the ladder does not count again: the stored outcome
// decides.
TEST(SolveCommand, SeveralSolutionsShowTheCountersSolutionWithoutRating) {
  std::string solution, swapped;
  const std::string layout = several_solutions(solution, swapped);
  ASSERT_FALSE(layout.empty());
  test::Started s;
  Main& m = *s.m;
  load_from_library(m, layout);
  // The cells and the real cages: the cages the rule of 45 derived go with the solve.
  const auto board = [&m] {
    std::vector<std::string> p = test::position_of(m);
    p.resize(static_cast<size_t>(kCells + m.gruppi + 1));
    return p;
  };
  std::vector<std::string> stuck;
  s.rt.on_yield = [&] {
    if (m.calling1 != "trial" && !m.conteggioeseguito) stuck = board();  // the last one before the count
  };
  m.Toolbar2_ButtonClick("risolvi");
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{"schema con più di una soluzione"});
  EXPECT_EQ(board(), stuck);
  EXPECT_EQ(m.gruppo1, m.gruppi);
  EXPECT_FALSE(m.finito);
  EXPECT_LT(m.esposti, 81);
  std::string stored;
  for (const std::string& d : m.grigliasoluzione) stored += d;
  EXPECT_TRUE(stored == solution || stored == swapped) << stored;
  EXPECT_EQ(m.txtstringa.text(), stored);
  EXPECT_EQ(m.txtlivello.text(), "");
  EXPECT_EQ(m.liv13, 0);
  EXPECT_TRUE(m.conteggioeseguito);

  for (std::string& d : m.grigliasoluzione) d.clear();
  m.chiamante = "analisi";
  m.risolvi_con_livelli();
  EXPECT_EQ(s.rt.messages.size(), 2u);
  EXPECT_EQ(s.rt.messages.back(), "schema con più di una soluzione");
  for (const std::string& d : m.grigliasoluzione) EXPECT_EQ(d, "") << "counted again";
}

// A solve that ends unsolved, with no solution (a wrong digit among its cell's candidates) or
// with several, gives the board back as the player saw it: every cell shows the box the
// pencil-mark tick asks for, the tick stays where the player left it, and the hint line tells
// the outcome instead of a step the solve took back.
TEST(SolveCommand, AnUnsolvedEndShowsEachCellAsThePencilMarksAskFor) {
  std::string solution, swapped;
  const std::string several = several_solutions(solution, swapped);
  ASSERT_FALSE(several.empty());
  struct Route {
    const char* outcome;
    std::string layout, solution;
  };
  const Route routes[] = {{"schema senza soluzione", puzzle("di-8").layout, puzzle("di-8").solution},
                          {"schema con più di una soluzione", several, ""}};
  for (const Route& r : routes) {
    for (const bool marks : {false, true}) {
      SCOPED_TRACE(std::string(r.outcome) + (marks ? ", pencil marks on" : ", pencil marks off"));
      test::Started s;
      Main& m = *s.m;
      load_from_library(m, r.layout);
      if (marks) m.Toolbar1.on_button_click("pencil");
      if (!r.solution.empty()) {
        // The first candidate of the first open cell that is not the solution's digit: accepted.
        int cell = 0;
        while (m.Text2[cell].text().size() < 2) ++cell;
        const std::string& c = m.Text2[cell].text();
        const char wrong = c[0] != r.solution[static_cast<size_t>(cell)] ? c[0] : c[1];
        m.Text1[cell].type(std::string(1, wrong));
        ASSERT_EQ(m.Text2[cell].text(), std::string(1, wrong));
      }
      m.Toolbar2.on_button_click("risolvi");
      EXPECT_EQ(s.rt.messages, std::vector<std::string>{r.outcome});
      EXPECT_EQ(m.txthint.text(), r.outcome);
      EXPECT_TRUE(m.txthint.visible());
      EXPECT_EQ(m.mnupencil.checked(), marks);
      int empty = 0;
      for (int i = 0; i < kCells; ++i) {
        const bool candidates = marks && m.Text1[i].text().empty();
        empty += m.Text1[i].text().empty();
        EXPECT_EQ(m.Text2[i].visible(), candidates) << m.rc(i);
        EXPECT_EQ(m.Text1[i].visible(), !candidates) << m.rc(i);
      }
      EXPECT_GT(empty, 0);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The ladder over stand-in rungs

// Stand-ins for the 19 rungs, but for the first `real` ones: each keeps its rung's levels and
// outcomes, records its call and runs what the test scripts for it. Unscripted, a rung finds
// nothing; rungs 18 and 19 then deepen their search as the rule of 45 does.
struct StandIns {
  static inline std::vector<int> calls;
  static inline std::array<std::function<void(Main&)>, 19> script;
  std::array<ladder::Rung, 19> table{};

  explicit StandIns(size_t real = 0) {
    calls.clear();
    script = {};
    build(real, std::make_index_sequence<19>{});
  }
  template <size_t... I>
  void build(size_t real, std::index_sequence<I...>) {
    ((table[I] = rating::rungs()[I], table[I].run = I < real ? table[I].run : &stand_in<I>), ...);
  }
  template <size_t I>
  static void stand_in(Main& m) {
    calls.push_back(static_cast<int>(I) + 1);
    if (rating::rungs()[I].found == Found::Single) m.cella = 81;
    if (script[I]) script[I](m);
    if (I == 17 && !m.modificato && m.volte < 6) ++m.volte;
    if (I == 18 && !m.modificato && m.volteestese < 7) ++m.volteestese;
  }
  void run(Main& m) { rating::run(m, table); }
};

// A loaded puzzle, one digit placed (the cell a scripted single reports), whose count already
// found several solutions: the end sequence stops at once with its message.
void counted_board(Main& m) {
  load_from_library(m, puzzle("dt-1").layout);
  m.chiamante = "analisi";
  m.Text1[0].set_text(std::string(1, puzzle("dt-1").solution[0]));
  m.count_result = Main::CountResult::Several;
  m.soluzioni = 2;
  m.remember_count({m.position_key()});
}

std::vector<int> rungs_up_to(int last) {
  std::vector<int> v;
  for (int r = 1; r <= last; ++r) v.push_back(r);
  return v;
}

// Rung 17 is reached once the naked triple has failed; rung 19 in the third pass where rung 18
// fails (volte 3 -> 4 -> 5 -> 6); the end sequence after the fourth failure of rung 19
// (volteestese 3 -> 7).
TEST(RatingLadder, DeepensTheRuleOf45StepByStepBeforeTheEnd) {
  test::Started s;
  Main& m = *s.m;
  counted_board(m);
  StandIns f;
  f.run(m);
  std::vector<int> expected = rungs_up_to(16);
  for (int pass = 0; pass < 2; ++pass)
    for (const int r : rungs_up_to(18)) expected.push_back(r);
  for (int pass = 0; pass < 4; ++pass)
    for (const int r : rungs_up_to(19)) expected.push_back(r);
  EXPECT_EQ(StandIns::calls, expected);
  EXPECT_EQ(m.volte, 6);
  EXPECT_EQ(m.volteestese, 7);
  EXPECT_TRUE(m.varcontrolloesteso);
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{"schema con più di una soluzione"});
  EXPECT_EQ(m.livello, 0);
  EXPECT_EQ(m.calling, "risolvi");
  EXPECT_EQ(m.calling1, "");
}

// A contradiction that the rule of 45 with derived cages meets ends the ladder: it would meet it
// again at every pass without deepening its search.
TEST(RatingLadder, AContradictionAtTheRuleOf45EndsTheLadder) {
  for (const int rung : {18, 19}) {
    SCOPED_TRACE(rung);
    test::Started s;
    Main& m = *s.m;
    counted_board(m);
    StandIns f;
    StandIns::script[static_cast<size_t>(rung - 1)] = [&](Main& b) {
      if (b.volte == 6 || rung == 18) b.problema = true;
    };
    f.run(m);
    std::vector<int> expected = rungs_up_to(16);
    for (int pass = 0; pass < (rung == 18 ? 1 : 3); ++pass)
      for (const int r : rungs_up_to(18)) expected.push_back(r);
    if (rung == 19) expected.push_back(19);
    EXPECT_EQ(StandIns::calls, expected);
    EXPECT_TRUE(m.problema);
    EXPECT_TRUE(s.rt.messages.empty());
  }
}

// A rung's success once: the level it raises and counts (a hidden single 1; the sum check 2, or
// 8 from its deep analysis; the rule of 45 with derived cages 10 on units, 11 once deepened, 12 on
// bands).
TEST(RatingLadder, EachRungRaisesAndCountsItsLevel) {
  struct Case {
    int rung;
    const char* when;  // "first": its first call; "deeper": once volte has grown
    bool deep_sums;    // the sum check's change came from its deep analysis
    int level;
  };
  const Case cases[] = {
      {5, "first", false, 1},   {8, "first", false, 2},    {8, "first", true, 8},
      {18, "first", false, 10}, {18, "deeper", false, 11}, {19, "first", false, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rung) + " " + c.when);
    test::Started s;
    Main& m = *s.m;
    counted_board(m);
    StandIns f;
    bool done = false;
    const bool single = rating::rungs()[static_cast<size_t>(c.rung - 1)].found == Found::Single;
    StandIns::script[static_cast<size_t>(c.rung - 1)] = [&](Main& b) {
      if (done || (std::string(c.when) == "deeper" && b.volte < 4)) return;
      done = true;
      if (single) b.cella = 0;  // the placed digit
      else b.modificato = true;
      b.sommeestese = c.deep_sums;
    };
    f.run(m);
    ASSERT_TRUE(done);
    EXPECT_EQ(m.livello, c.level);
    std::array<int, 14> expected{};
    if (c.level > 0) expected[static_cast<size_t>(c.level - 1)] = 1;
    EXPECT_EQ(counters(m), expected);
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{"schema con più di una soluzione"});
  }
}

// What the end sequence does with the count: it runs once per puzzle, never in the generator's
// time-limited mode, and only exactly one solution goes on to trial and verify.
TEST(RatingLadder, TheCountDecidesTheEnd) {
  std::string solution, swapped;
  const std::string several = several_solutions(solution, swapped);
  // Row 1 of dt-1's solution as one-cell cages but for two neighbouring cells that hold neither 1
  // nor 2, caged with sum 3: they would need 1 and 2, which the row holds elsewhere.
  const std::string& sol = puzzle("dt-1").solution;
  std::string none;
  int pair = -1;
  for (int c = 0; c < 8 && pair < 0; ++c)
    if (sol[c] > '2' && sol[c + 1] > '2') pair = c;
  ASSERT_GE(pair, 0);
  for (int i = 0; i < 81; ++i) {
    if (i == pair + 1) continue;
    const auto two = [](int x) { return std::string(x < 10 ? "0" : "") + std::to_string(x); };
    none += i == pair ? "3," + two(i) + two(i + 1) + ";"
                      : std::string(1, sol[static_cast<size_t>(i)]) + "," + two(i) + ";";
  }

  struct Case {
    const char* name;
    std::string layout;
    std::function<void(test::Started&)> setup;
    std::vector<std::string> messages;
    bool counted;
  };
  const Case cases[] = {
      {"several", several, [](test::Started&) {}, {"schema con più di una soluzione"}, true},
      {"none", none, [](test::Started&) {}, {"schema senza soluzione"}, true},
      {"out of time",
       puzzle("dt-1").layout,
       [](test::Started& s) {
         s.m->t0 = 1.0f;
         s.rt.clock = 400.0f;
       },
       {"conteggio interrotto"},
       true},
      {"generator mode", puzzle("dt-1").layout, [](test::Started& s) { s.m->generaeconta = true; },
       {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::Started s;
    Main& m = *s.m;
    load_from_library(m, c.layout);
    ASSERT_FALSE(m.problema);
    m.chiamante = "analisi";
    c.setup(s);
    StandIns f;
    f.run(m);
    EXPECT_EQ(s.rt.messages, c.messages);
    EXPECT_EQ(m.conteggioeseguito, c.counted);
    EXPECT_EQ(m.liv13, 0) << "no trial";
  }
}

// With the singles, pairs and sum check only, trial and verify finishes a puzzle that needs cage
// against cage: one deduction per end sequence, each counted at level 13, the count made once.
TEST(RatingLadder, TrialAndVerifyFinishesWhatTheTechniquesLeaveCountingEachUse) {
  test::Started s;
  Main& m = *s.m;
  const test::Puzzle& p = puzzle("db-18");
  load_from_library(m, p.layout);
  m.chiamante = "analisi";
  StandIns f(8);
  f.run(m);
  ASSERT_TRUE(m.finito);
  EXPECT_EQ(test::grid_of(m), p.solution);
  EXPECT_EQ(m.livello, 13);
  const std::string log = m.frmlog.Text3.text();
  int trials = 0;
  for (size_t k = log.find("INIZIO PROVA E VERIFICA"); k != std::string::npos;
       k = log.find("INIZIO PROVA E VERIFICA", k + 1))
    ++trials;
  EXPECT_GT(trials, 1);
  EXPECT_EQ(m.liv13, std::min(trials, 255));
  EXPECT_TRUE(m.conteggioeseguito);
  EXPECT_EQ(m.calling1, "");
  EXPECT_TRUE(s.rt.messages.empty());
}

// A trial that finds nothing is still counted, and ends the ladder: it would find nothing again.
TEST(RatingLadder, ATrialWithoutDeductionIsCountedAndEndsTheLadder) {
  test::Started s;
  Main& m = *s.m;
  load_from_library(m, puzzle("dt-1").layout);
  m.chiamante = "analisi";
  m.lunghezza1 = -100;  // no refutation is short enough
  const std::vector<std::string> before = test::position_of(m);
  StandIns f;
  f.run(m);
  EXPECT_EQ(m.livello, 13);
  EXPECT_EQ(m.liv13, 1);
  EXPECT_FALSE(m.finito);
  EXPECT_EQ(test::position_of(m), before);
  EXPECT_TRUE(s.rt.messages.empty());
}

// ---------------------------------------------------------------------------------------------
// The ladders without a command

// Each keeps every puzzle's solution; the full ladder finishes more puzzles than the short one,
// which finishes more than the classic one (without the cages it has little to start from).
TEST(OtherLadders, KeepTheSolutionOfEveryPuzzle) {
  struct Case {
    const char* name;
    void (Main::*run)();
  };
  const Case cases[] = {{"risolvi_tutto", &Main::risolvi_tutto},
                        {"risolvi_automatico", &Main::risolvi_automatico},
                        {"risolvi_classico", &Main::risolvi_classico}};
  std::vector<int> solved;
  for (const Case& c : cases) {
    solved.push_back(0);
    for (const test::Puzzle& p : test::puzzles()) {
      test::Started s;
      Main& m = *s.m;
      load_from_library(m, p.layout);
      m.chiamante = "analisi";
      m.calling = "risolvi";  // the classic ladder sets no mode of its own
      (m.*c.run)();
      ASSERT_TRUE(test::keeps(m, p.solution)) << c.name << " " << p.id;
      EXPECT_FALSE(m.problema) << c.name << " " << p.id;
      EXPECT_EQ(test::safety_stops_fired(m), "") << c.name << " " << p.id;
      solved.back() += m.finito;
    }
  }
  EXPECT_GT(solved[0], solved[1]);
  EXPECT_GT(solved[1], solved[2]);
  EXPECT_GT(solved[0], 90);
}

// risolvi_tutto counts nothing of its own: without an earlier count of one solution it stops
// where the techniques do; after one, trial and verify finishes the puzzle, counted at level 13.
TEST(OtherLadders, TheFullLadderTriesOnlyAfterACountOfOne) {
  const test::Puzzle& p = puzzle("dm-1");
  test::Started s;
  Main& m = *s.m;
  load_from_library(m, p.layout);
  m.chiamante = "analisi";
  m.risolvi_tutto();
  EXPECT_FALSE(m.finito);
  EXPECT_EQ(m.liv13, 0);

  m.conta_soluzioni_tecniche();
  ASSERT_EQ(m.soluzioni, 1);
  m.risolvi_tutto();
  EXPECT_TRUE(m.finito);
  EXPECT_EQ(test::grid_of(m), p.solution);
  EXPECT_EQ(m.livello, 13);
  EXPECT_GE(m.liv13, 1);
}

// ---------------------------------------------------------------------------------------------
// The rating texts

TEST(Rating, NameDetailAndTotal) {
  struct Case {
    int livello;
    std::vector<std::pair<int, int>> uses;  // level, count
    std::string name, detail;
    int tot;
  };
  const Case cases[] = {
      {0, {}, " BANALE", "", 0},
      {13, {{13, 1}, {3, 4}, {1, 20}}, " EXTREME - Prova e Verifica", " 13x1 - 3x4 - 1x20", 52},
      {10, {{10, 3}, {9, 1}}, " EXTREME - Altri Gruppi", " 10x3 - 9x1", 69},
      {14, {{14, 1}, {13, 1}}, " EXTREME - Prova e Verifica", " L14x1 - 13x1", 40},
      {12, {{12, 1}, {11, 1}, {8, 2}, {2, 7}}, " EXTREME - Altri Gruppi multipli",
       " 12x1 - 11x1 - 8x2 - 2x7", 70},
      {8, {{8, 1}, {5, 2}}, " VERY HARD - Analisi Somme profonda", " 8x1 - 5x2", 18},
      {3, {{3, 1}}, " AVANZATO gruppocontrosettore", " 3x1", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.detail);
    test::Started s;
    Main& m = *s.m;
    m.livello = c.livello;
    for (const auto& [level, n] : c.uses) m.liv(level) = n;
    m.valuta_difficolta();
    EXPECT_EQ(m.stringaliv, c.detail);
    EXPECT_EQ(m.tot, c.tot);
    EXPECT_EQ(m.txtlivello.text(), c.name + "  -  " + c.detail);
    EXPECT_EQ(m.txthint.text(), c.name + " - " + c.detail + " tot. " + std::to_string(c.tot));
  }
}

// The counters stop at 255; the total of every counter full does not overflow.
TEST(Rating, CountersSaturateAndTheTotalHoldsThem) {
  test::Started s;
  Main& m = *s.m;
  for (int k = 0; k < 300; ++k)
    for (int L = 1; L <= 14; ++L) m.raise_level(L);
  EXPECT_EQ(counters(m), (std::array<int, 14>{255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                              255, 255, 255, 255}));
  m.valuta_difficolta();
  EXPECT_EQ(m.tot, 255 * 45 + 20 * 255 * 5);
  EXPECT_EQ(m.stringaliv.substr(0, 20), " L14x255 - 13x255 - ");
}

// ---------------------------------------------------------------------------------------------
// The rating in the library

class RatingLibraryTest : public test::LibraryFileTest {
 protected:
  RatingLibraryTest() : LibraryFileTest("ks_rating_") {}

  void SetUp() override {
    LibraryFileTest::SetUp();
    std::ostringstream rows;
    for (int id = 1; id <= 2; ++id)
      rows << "INSERT INTO schema VALUES (" << id << ", 3, 0, '"
           << puzzle(id == 1 ? "dt-1" : "dt-2").layout << "', " << (id == 1 ? "50" : "10")
           << ", 40, 'vecchio', '" << std::string(81, '.') << "');";
    ASSERT_EQ(test::make_library_file(file, rows.str()), "");
  }

  // Loads the puzzle of record 1 (the slowest of level 3), then moves the chooser to record 2.
  void load_record_one_and_browse() {
    m.Toolbar2_ButtonClick("libreria");
    m.frmlivello.Option1[3].set_value(true);
    m.frmlivello.Option1_Click(3);
    m.frmlivello.numeroselezionato.set_text("1");
    m.frmlivello.Command1_Click();
    ASSERT_EQ(m.library_record, 1);
    m.Toolbar2_ButtonClick("libreria");
    m.frmlivello.Option1[3].set_value(true);
    m.frmlivello.Option1_Click(3);
    m.frmlivello.Command4_Click();
    ASSERT_EQ(m.txtprogressivo.text(), "2");
  }
  // The solve button, with 7.06 seconds passing on the clock.
  void solve() {
    s.rt.clock = 100.0f;
    s.rt.on_yield = [this] { s.rt.clock = 107.06f; };
    m.Toolbar2_ButtonClick("risolvi");
    ASSERT_TRUE(m.finito);
  }
};

TEST_F(RatingLibraryTest, TheRatingGoesIntoTheRecordThePuzzleCameFrom) {
  load_record_one_and_browse();
  solve();
  const std::string name = name_of(m.livello);
  EXPECT_EQ(stored(1, "livello"), std::to_string(m.livello));
  EXPECT_EQ(stored(1, "difficolta"), std::to_string(m.tot));
  EXPECT_EQ(stored(1, "dettaglio"), m.stringaliv);
  EXPECT_EQ(stored(1, "tempo"), "7,06");
  EXPECT_EQ(test::stored_field(file, "SELECT typeof(tempo) AS t FROM schema WHERE progressivo = ?",
                               1, "t"),
            "real");
  EXPECT_EQ(stored(2, "dettaglio"), "vecchio");
  EXPECT_EQ(stored(2, "tempo"), "10");
  EXPECT_EQ(m.txtlivello.text(), name);
  EXPECT_EQ(m.txtlivello1.text(), m.stringaliv);
  EXPECT_EQ(m.testototale.text(), " tot. " + std::to_string(m.tot));
  EXPECT_EQ(m.temporis.text(), "7,06");
  EXPECT_EQ(m.txthint.text(), name + " - " + m.stringaliv + " tot. " + std::to_string(m.tot));
  EXPECT_TRUE(s.rt.messages.empty());

  // A detail longer than 80 characters is stored cut; the window shows it whole.
  for (int L = 1; L <= 14; ++L) m.liv(L) = 100 + L;
  m.rating_for_record = true;  // as the solve command sets it for a solve from the start
  m.valuta_difficolta();
  ASSERT_GT(m.stringaliv.size(), 80u);
  EXPECT_EQ(stored(1, "dettaglio"), m.stringaliv.substr(0, 80));
  EXPECT_EQ(m.txtlivello1.text(), m.stringaliv);
}

// A solve from a game in progress rates what was left to do: the record keeps the rating of the
// puzzle from its start, and its level, so that the chooser's numbering stays. Back at the start
// (the restart), the solve is the puzzle's rating again.
TEST_F(RatingLibraryTest, ASolveFromAGameInProgressLeavesTheRecordAlone) {
  load_record_one_and_browse();
  const std::string before = test::file_bytes(file);
  const std::string solution = puzzle("dt-1").solution;
  for (const int i : {0, 40, 80}) m.Text1[i].type(solution.substr(static_cast<size_t>(i), 1));
  solve();
  EXPECT_EQ(test::file_bytes(file), before);
  EXPECT_EQ(m.txtlivello.text(), name_of(m.livello) + "  -  " + m.stringaliv);

  m.Toolbar2_ButtonClick("undo");
  ASSERT_EQ(m.esposti, 0);
  solve();
  EXPECT_EQ(stored(1, "livello"), std::to_string(m.livello));
  EXPECT_EQ(stored(1, "difficolta"), std::to_string(m.tot));
  EXPECT_EQ(stored(1, "dettaglio"), m.stringaliv);
  EXPECT_EQ(stored(1, "tempo"), "7,06");
}

// A sum typed into a cage's box makes another puzzle, though no candidate changes (dt-1: 13 to
// 14): its solve is not the record's rating. Typed back, the puzzle is the record's again.
TEST_F(RatingLibraryTest, ASolveOfAPuzzleEditedInTheCagesLeavesTheRecordAlone) {
  load_record_one_and_browse();
  const std::string before = test::file_bytes(file);
  const auto cells = [this] {
    std::vector<std::string> v = test::position_of(m);
    v.resize(kCells);
    return v;
  };
  const std::vector<std::string> start = cells();
  const auto retype = [this](int g, int sum) {
    m.textsomma[g].set_focus();
    m.textsomma[g].type(std::to_string(sum));
    m.Toolbar1.on_button_click("activity");
    ASSERT_EQ(m.sommagruppo[g].num(), sum);
  };
  ASSERT_EQ(m.sommagruppo[2].num(), 13);
  retype(2, 14);
  ASSERT_EQ(cells(), start);
  EXPECT_FALSE(m.at_library_start());
  m.Toolbar2_ButtonClick("risolvi");
  EXPECT_EQ(test::file_bytes(file), before);

  m.Toolbar2_ButtonClick("undo");
  retype(2, 13);
  EXPECT_TRUE(m.at_library_start());
}

// A puzzle that a board reset replaced (as the generator's is) is rated on the window only.
TEST_F(RatingLibraryTest, APuzzleThatReplacedTheLibrarysIsNotStored) {
  load_record_one_and_browse();
  const std::string before = test::file_bytes(file);
  load_from_library(m, puzzle("dt-3").layout);
  solve();
  EXPECT_EQ(test::file_bytes(file), before);
  EXPECT_EQ(m.txtlivello.text(), name_of(m.livello) + "  -  " + m.stringaliv);
  EXPECT_EQ(m.tempo.text(), "7,06 s");
}

// The level-13 puzzles of the library shipped with the program, read from a copy: the
// techniques alone leave each of them unsolved, so every solve of one counts its solutions.
class HardestLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string shipped = test::shipped_library();
    ASSERT_TRUE(std::filesystem::exists(shipped)) << shipped;
    std::filesystem::copy_file(shipped, file);
    m.database = file;
    m.Data1.set_database_name(file);
    m.Toolbar2_ButtonClick("libreria");
    m.frmlivello.Option1[13].on_click();
    const int n = std::stoi(m.frmlivello.numerototale.text());
    for (int k = 1; k <= n; ++k) {
      m.frmlivello.numeroselezionato.set_text(std::to_string(k));
      puzzles.push_back({m.txtkenvari.text(), m.txtstringa.text(), std::to_string(k)});
    }
    m.frmlivello.Unload();
  }
  void TearDown() override { std::filesystem::remove(file); }

  std::string file = test::temp_path("ks_hardest_", ".db");
  test::Started s;
  Main& m = *s.m;
  std::vector<test::Puzzle> puzzles;
};

// A solve answers for the position it is asked about. A wrong digit among its cell's candidates
// leaves a position without a solution; once the player has fixed it (the digit erased, or the
// restart), the next solve, by the button or the menu, solves the puzzle and rates it as after a
// fresh open. So does a solve after a solve and the restart, and a solve after a count that ran
// out of time.
TEST_F(HardestLibraryTest, ASecondSolveAnswersForThePositionOnTheBoard) {
  ASSERT_GE(puzzles.size(), 10u);
  enum class First { Wrong, Solved, OutOfTime };
  enum class Fix { Erase, Restart, None };
  struct Route {
    const char* name;
    First first;
    Fix fix;
    bool menu;  // the second solve from the menu, not the button
  };
  const Route routes[] = {
      {"wrong, solve, erase, solve", First::Wrong, Fix::Erase, false},
      {"wrong, solve, erase, menu solve", First::Wrong, Fix::Erase, true},
      {"wrong, solve, restart, solve", First::Wrong, Fix::Restart, false},
      {"solve, restart, solve", First::Solved, Fix::Restart, false},
      {"count out of time, solve", First::OutOfTime, Fix::None, false},
  };
  int routes_run = 0, wrong_counted = 0;
  for (const test::Puzzle& p : puzzles) {
    load_from_library(m, p.layout);
    m.Toolbar2_ButtonClick("risolvi");
    ASSERT_TRUE(m.finito) << p.id;
    const std::string rating = m.txtlivello.text() + " |" + m.stringaliv;
    for (const Route& r : routes) {
      SCOPED_TRACE("puzzle " + p.id + ": " + r.name);
      ++routes_run;
      load_from_library(m, p.layout);
      int cell = 0;
      while (m.Text2[cell].text().size() < 2) ++cell;
      if (r.first == First::Wrong) {
        const std::string& c = m.Text2[cell].text();
        m.Text1[cell].type(std::string(1, c[0] != p.solution[static_cast<size_t>(cell)] ? c[0] : c[1]));
      }
      if (r.first == First::OutOfTime) s.rt.on_yield = [this] { s.rt.clock += 1.0f; };
      s.rt.messages.clear();
      m.Toolbar2_ButtonClick("risolvi");
      s.rt.on_yield = nullptr;
      if (r.first == First::Wrong) {
        EXPECT_EQ(s.rt.messages, std::vector<std::string>{"schema senza soluzione"});
        wrong_counted += m.conteggioeseguito && m.count_result == Main::CountResult::None;
      }
      if (r.first == First::OutOfTime) {
        EXPECT_EQ(s.rt.messages, std::vector<std::string>{"conteggio interrotto"});
      }
      EXPECT_EQ(m.finito, r.first == First::Solved);

      if (r.fix == Fix::Erase) m.Text1[cell].type("");
      if (r.fix == Fix::Restart) m.Toolbar2_ButtonClick("undo");
      ASSERT_FALSE(m.finito);
      s.rt.messages.clear();
      if (r.menu)
        m.mnusolve.on_click();
      else
        m.Toolbar2_ButtonClick("risolvi");
      EXPECT_EQ(s.rt.messages, std::vector<std::string>{});
      EXPECT_TRUE(m.finito);
      EXPECT_EQ(test::grid_of(m), p.solution);
      EXPECT_EQ(m.txtlivello.text() + " |" + m.stringaliv, rating);
    }
  }
  // The wrong digits whose position the techniques alone do not refute reach the count.
  std::printf("%d routes over %zu puzzles; %d wrong digits counted to no solution\n", routes_run,
              puzzles.size(), wrong_counted);
  EXPECT_GE(wrong_counted, 5);
}

// A solve that ends unsolved leaves the puzzle to the player as a fresh one: the hints and the
// technique keys that follow explain themselves in the activity log and wait at the traffic light
// exactly as they do on the same position saved and opened in a new window. The routes: no
// solution (a wrong digit among its cell's candidates, counted to none, then erased), several
// solutions (the board as the techniques left it, one of their digits erased) and a count cut
// short by its time limit.
TEST_F(HardestLibraryTest, AnUnsolvedSolveLeavesStepsAsOnTheSamePositionFreshlyOpened) {
  ASSERT_FALSE(puzzles.empty());
  std::string first, second;
  const std::string several = several_solutions(first, second);
  ASSERT_FALSE(several.empty());
  // Every cell's digit and candidates, and each cage's remaining sum and empty cells (a cage's
  // list beyond its count is no part of the position).
  const auto position = [](const Main& p) {
    std::vector<std::string> out;
    for (int i = 0; i < kCells; ++i) out.push_back(p.Text1[i].text() + "/" + p.Text2[i].text());
    for (int g = 0; g <= std::max(p.gruppi, p.gruppo1); ++g) {
      std::string c = p.sommagruppo[g].text() + ":";
      for (int k = 1; k <= p.cage_size(g); ++k) c += std::to_string(p.cage_cell(g, k)) + ",";
      out.push_back(c);
    }
    return out;
  };
  // What the player's next commands do: the lines they add to the log, their waits at the light,
  // and the board they leave.
  const auto play_on = [&position](test::Started& w) {
    Main& p = *w.m;
    const size_t logged = test::lines_of(p.frmlog.Text3.text()).size();
    std::vector<std::string> seen;
    {
      test::Light light(w);
      for (const char* key : {"suggerisci", "somme", "suggerisci", "gruppi"}) p.Toolbar1.on_button_click(key);
      for (const test::Light::Wait& wait : light.waits) {
        std::string yellow;
        for (const int c : wait.yellow) yellow += " " + std::to_string(c);
        seen.push_back("wait: " + wait.hint + " |" + yellow);
      }
    }
    const std::vector<std::string> log = test::lines_of(p.frmlog.Text3.text());
    for (size_t k = logged; k < log.size(); ++k) seen.push_back("log: " + log[k]);
    for (const std::string& c : position(p)) seen.push_back(c);
    return seen;
  };

  enum class Route { None, Several, CutShort };
  const struct {
    const char* outcome;
    Route route;
  } routes[] = {{"schema senza soluzione", Route::None},
                {"schema con più di una soluzione", Route::Several},
                {"conteggio interrotto", Route::CutShort}};
  for (const auto& r : routes) {
    SCOPED_TRACE(r.outcome);
    s.rt.messages.clear();
    if (r.route == Route::Several) {
      // The techniques have done all they can here: the player takes a digit they placed back.
      load_from_library(m, several);
      m.Toolbar2_ButtonClick("risolvi");
      int cell = 0;
      while (m.Text1[cell].text().empty()) ++cell;
      m.Text1[cell].type("");
    } else if (r.route == Route::CutShort) {
      load_from_library(m, puzzles[0].layout);
      s.rt.on_yield = [this] { s.rt.clock += 1.0f; };
      m.Toolbar2_ButtonClick("risolvi");
      s.rt.on_yield = nullptr;
    } else {
      // The first wrong candidate digit, over the puzzles, whose position only the count refutes.
      bool counted = false;
      for (size_t k = 0; k < puzzles.size() && !counted; ++k) {
        load_from_library(m, puzzles[k].layout);
        int cell = 0;
        while (m.Text2[cell].text().size() < 2) ++cell;
        const std::string& c = m.Text2[cell].text();
        m.Text1[cell].type(std::string(1, c[0] != puzzles[k].solution[static_cast<size_t>(cell)] ? c[0] : c[1]));
        s.rt.messages.clear();
        m.Toolbar2_ButtonClick("risolvi");
        counted = m.conteggioeseguito && m.count_result == Main::CountResult::None;
        m.Text1[cell].type("");
      }
      ASSERT_TRUE(counted);
    }
    ASSERT_EQ(s.rt.messages, std::vector<std::string>{r.outcome});
    ASSERT_FALSE(m.finito);

    const std::string file = test::temp_path("ks_unsolved_", ".sc+");
    s.rt.save_answers.push_back(file);
    m.mnusave_Click();
    test::Started fresh;
    fresh.rt.open_answers.push_back(file);
    fresh.m->mnuopen_Click();
    std::filesystem::remove(file);
    ASSERT_EQ(position(*fresh.m), position(m));

    const std::vector<std::string> after_solve = play_on(s);
    EXPECT_EQ(after_solve, play_on(fresh));
    EXPECT_TRUE(std::any_of(after_solve.begin(), after_solve.end(),
                            [](const std::string& l) { return l.starts_with("wait: "); }));
  }
}

}  // namespace
}  // namespace ks
