// Trial and verify: on every puzzle, from positions where the techniques left out are stuck, each
// call makes one deduction that keeps the solution, with its exact log block and its bound;
// hypotheses log and count nothing; a refutation counts the cells filled after the hypothesis;
// the clock across midnight.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "solving/ladder.h"
#include "solving/rungs.h"
#include "solving/snapshot.h"
#include "solving_support.h"

namespace ks {
namespace {

using test::puzzle;

const std::string kEquals(39, '=');

// The singles alone: they leave every puzzle stuck early.
constexpr ladder::Rung kSingles[] = {rungs::kNakedSingle, rungs::kHiddenBox, rungs::kHiddenRow,
                                     rungs::kHiddenColumn};

// Ways to reach a position where some techniques are stuck, each run without logging.
struct Stuck {
  const char* name;
  std::function<void(Main&)> run;
};
const Stuck kStuck[] = {
    {"singles",
     [](Main& m) {
       ladder::run_ladder(m, {kSingles, nullptr});
     }},
    {"short ladder", [](Main& m) { m.risolvi_base_a_tempo(); }},
};

void solving_modes(Main& m) {
  m.calling = "risolvi";
  m.chiamante = "analisi";
  m.calling1 = "trial";
}

// The lines the log received since it held `before` lines.
std::vector<std::string> new_lines(const Main& m, size_t before) {
  std::vector<std::string> all = test::lines_of(m.frmlog.Text3.text());
  return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
}

size_t log_size(const Main& m) { return test::lines_of(m.frmlog.Text3.text()).size(); }

// The cell of the first "rXcY" in a text.
int cell_named(const std::string& text) {
  const size_t r = text.find('r'), c = text.find('c', r);
  return 9 * (std::stoi(text.substr(r + 1)) - 1) + std::stoi(text.substr(c + 1)) - 1;
}

// What one call left: which cell, which digit was refuted, and how.
struct Deduction {
  int cell = -1;
  char refuted = 0, placed = 0;  // placed: the other digit of a two-candidate cell, else 0
};

// Checks the log block of a deduction and reads it: the separator, "INIZIO PROVA E VERIFICA",
// " SE rXcY=d allora ", the replayed steps, the conclusion and the separator, nothing before.
// After a placement, cell entry may go on logging what the placed digit cuts in its cage.
::testing::AssertionResult read_block(const std::vector<std::string>& lines, Deduction& out) {
  size_t close = lines.size();
  while (close > 0 && lines[close - 1] != kEquals) --close;
  if (close < 5) return ::testing::AssertionFailure() << "no block in " << lines.size() << " lines";
  --close;
  if (lines[0] != kEquals || lines[1] != "INIZIO PROVA E VERIFICA")
    return ::testing::AssertionFailure() << "block start: " << lines[0] << " / " << lines[1];
  const std::string& se = lines[2];
  out.cell = cell_named(se);
  out.refuted = se[se.find('=') + 1];
  const std::string where =
      "r" + std::to_string(out.cell / 9 + 1) + "c" + std::to_string(out.cell % 9 + 1);
  if (se != " SE " + where + "=" + out.refuted + " allora ")
    return ::testing::AssertionFailure() << "SE line: " << se;
  const std::string& end = lines[close - 1];
  if (end == " quindi " + where + "=" + end.back()) {
    out.placed = end.back();
  } else if (end != "elimino " + std::string(1, out.refuted) + " da " + where) {
    return ::testing::AssertionFailure() << "conclusion: " << end;
  }
  for (size_t k = close + 1; k < lines.size(); ++k)
    if (out.placed == 0 || lines[k].rfind("modifico contenuto cella ", 0) != 0)
      return ::testing::AssertionFailure() << "after the block: " << lines[k];
  return ::testing::AssertionSuccess();
}

TEST(TrialAndVerify, EveryDeductionKeepsTheSolutionOnEveryPuzzle) {
  int placements = 0, eliminations = 0, wider = 0;
  for (const Stuck& way : kStuck) {
    for (const test::Puzzle& p : test::puzzles()) {
      test::Started s;
      Main& m = *s.m;
      test::load_layout(m, p.layout);
      solving_modes(m);
      test::store_solution(m, p.solution);
      for (int calls = 0;; ++calls) {
        ASSERT_LT(calls, 81) << p.id;
        solving_modes(m);
        way.run(m);
        ASSERT_FALSE(m.problema) << way.name << " " << p.id;
        if (m.finito) break;

        // The call, from a saved position.
        Snapshot start;
        start.save(m);
        const std::vector<std::string> before = test::position_of(m);
        const int bound = m.lunghezza1;
        const size_t logged = log_size(m);
        m.prova_e_verifica();
        ASSERT_TRUE(m.modificato) << way.name << " " << p.id << ": no deduction";
        ASSERT_TRUE(test::keeps(m, p.solution)) << way.name << " " << p.id;
        EXPECT_FALSE(m.problema);
        EXPECT_FALSE(m.incongruenza);
        EXPECT_EQ(m.calling1, "");

        Deduction d;
        ASSERT_TRUE(read_block(new_lines(m, logged), d)) << way.name << " " << p.id;
        const std::string cands = before[static_cast<size_t>(d.cell)].substr(1);
        const char right = p.solution[static_cast<size_t>(d.cell)];
        EXPECT_NE(d.refuted, right);
        EXPECT_TRUE(has_char(cands, d.refuted)) << cands;
        // The bound grew by 10 for every sweep before the one that found the deduction.
        const int L = static_cast<int>(cands.size());
        EXPECT_EQ(m.lunghezza, L + 1);
        EXPECT_EQ(m.lunghezza1, bound + 10 * (L - 2));
        wider += L > 2;

        // The board is the saved position plus the deduction, nothing else.
        const std::vector<std::string> after = test::position_of(m);
        start.restore(m);
        if (L == 2) {
          ++placements;
          EXPECT_EQ(d.placed, right);
          m.calling1 = "";
          m.Text1[d.cell].set_text(std::string(1, right));
        } else {
          ++eliminations;
          EXPECT_EQ(d.placed, 0);
          m.Text2[d.cell].set_text(cut_first(cands, d.refuted));
        }
        EXPECT_EQ(test::position_of(m), after) << way.name << " " << p.id;
      }
      EXPECT_EQ(test::grid_of(m), p.solution) << way.name << " " << p.id;
      EXPECT_EQ(test::safety_stops_fired(m), "") << way.name << " " << p.id;
    }
  }
  EXPECT_GT(placements, 0);
  EXPECT_GT(eliminations, 0);
  EXPECT_GT(wider, 0);
}

// A position of puzzle `id` where the singles are stuck, in solving modes, with its solution
// stored for the trial.
void stuck_with_singles(Main& m, const test::Puzzle& p) {
  test::load_layout(m, p.layout);
  solving_modes(m);
  ladder::run_ladder(m, {kSingles, nullptr});
  test::store_solution(m, p.solution);
}

// With a bound that no refutation meets, every sweep runs, every hypothesis is undone: the
// board, the log and the counters stay as they were, the bounds grow by four sweeps, and the
// restart command's copy holds the position. A board where no cell has 2 to 5 candidates gets
// four empty sweeps.
TEST(TrialAndVerify, HypothesesLeaveNoTrace) {
  for (const bool open_board : {false, true}) {
    test::Started s;
    Main& m = *s.m;
    if (open_board) {
      m.nuovo_schema();
      solving_modes(m);
    } else {
      stuck_with_singles(m, puzzle("db-20"));
    }
    m.lunghezza1 = -100;
    m.livello = 0;
    const std::vector<std::string> before = test::position_of(m);
    const std::string log = m.frmlog.Text3.text();
    const std::vector<std::string> saved(m.cellesalvate.begin(), m.cellesalvate.begin() + 81);
    const std::array<int, 14> counts{m.liv1, m.liv2, m.liv3,  m.liv4,  m.liv5,  m.liv6,  m.liv7,
                                     m.liv8, m.liv9, m.liv10, m.liv11, m.liv12, m.liv13, m.liv14};
    m.prova_e_verifica();
    EXPECT_FALSE(m.modificato);
    EXPECT_FALSE(m.problema);
    EXPECT_EQ(test::position_of(m), before);
    EXPECT_EQ(m.frmlog.Text3.text(), log);
    EXPECT_EQ((std::array<int, 14>{m.liv1, m.liv2, m.liv3, m.liv4, m.liv5, m.liv6, m.liv7, m.liv8,
                                   m.liv9, m.liv10, m.liv11, m.liv12, m.liv13, m.liv14}),
              counts);
    EXPECT_EQ(m.lunghezza, 7);
    EXPECT_EQ(m.lunghezza1, -60);
    EXPECT_EQ(m.calling1, "trial");
    // The restart's snapshot stays the start of the puzzle.
    for (int i = 0; i < 81; ++i) EXPECT_EQ(m.cellesalvate[i], saved[static_cast<size_t>(i)]) << i;
  }
}

// A refutation is accepted when the trial ladder filled at most lunghezza1 cells after the
// hypothesis before its contradiction: with one cell less allowed, the same hypothesis is not
// accepted in its sweep.
TEST(TrialAndVerify, ARefutationCountsTheCellsFilledAfterTheHypothesis) {
  int checked = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    if (checked == 5) break;
    test::Started s;
    Main& m = *s.m;
    stuck_with_singles(m, p);
    Snapshot start;
    start.save(m);
    const bool deep = m.varcontrolloesteso;
    const auto first_block = [&](int bound) {
      start.restore(m);
      solving_modes(m);
      m.varcontrolloesteso = deep;
      m.lunghezza1 = bound;
      const size_t logged = log_size(m);
      m.prova_e_verifica();
      const std::vector<std::string> lines = new_lines(m, logged);
      return lines.size() > 2 ? lines[2] : std::string();
    };
    const std::string se = first_block(15);
    if (m.lunghezza1 != 15 || se.empty()) continue;  // not a deduction of the first sweep

    // The hypothesis again, without logging: how many cells the trial ladder fills.
    const int cell = cell_named(se);
    start.restore(m);
    solving_modes(m);
    m.varcontrolloesteso = deep;
    m.Text1[cell].set_text(std::string(1, se[se.find('=') + 1]));
    const int placed = m.esposti;
    m.problema = false;
    m.risolvi_in_prova();
    ASSERT_TRUE(m.problema) << p.id;
    const int filled = m.esposti - placed;
    if (filled == 0) continue;

    EXPECT_EQ(first_block(filled), se) << p.id;
    EXPECT_NE(first_block(filled - 1), se) << p.id << ": " << filled << " cells";
    ++checked;
  }
  EXPECT_EQ(checked, 5);
}

TEST(TrialAndVerify, TheElapsedTimeGoesOnAcrossMidnight) {
  test::Started s;
  Main& m = *s.m;
  stuck_with_singles(m, puzzle("dt-1"));
  m.t0 = 86399.5f;
  s.rt.clock = 1.0f;
  m.prova_e_verifica();
  EXPECT_EQ(m.tempo.text(), "1,50 s");
}

// A wrong digit in the starting position of every puzzle: the trial ladder ends, and never
// with a full grid.
TEST(TrialLadder, AWrongDigitNeverCompletesTheGrid) {
  int refuted = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    test::Started s;
    Main& m = *s.m;
    test::load_layout(m, p.layout);
    solving_modes(m);
    for (int i = 0; i < 81; ++i) {
      const std::string cands = m.Text2[i].text();
      if (!m.Text1[i].text().empty() || cands.size() < 2) continue;
      m.Text1[i].set_text(
          std::string(1, cands[0] == p.solution[static_cast<size_t>(i)] ? cands[1] : cands[0]));
      break;
    }
    m.problema = false;
    m.risolvi_in_prova();
    EXPECT_FALSE(m.finito && !m.problema) << p.id;
    refuted += m.problema;
  }
  EXPECT_GT(refuted, 0);
}

// ---------------------------------------------------------------------------------------------
// The ladder engine's guards

// A rung that reports a change it does not make, a single that its mode does not place
// (chiamante "genera"), and a rung that takes candidates of r9c9 away and gives them back in
// turn: each would be found again at every pass; the ladder ends. The first ends as a ladder
// without a change for 64 passes, the last as one of 100,000 passes, each counted as the safety
// stop it is; the single ends it at once, which is no safety stop.
TEST(Ladder, RungsThatWouldRepeatThemselvesForEverEndTheLadder) {
  static long calls = 0;
  static std::string r9c9;
  constexpr ladder::Rung kLiar[] = {{.name = "liar", .run = [](Main& m) {
                                       ++calls;
                                       m.modificato = true;
                                     }}};
  constexpr ladder::Rung kFlip[] = {{.name = "flip", .run = [](Main& m) {
                                       ++calls;
                                       m.Text2[80].set_text(m.Text2[80].text() == r9c9 ? "123456789"
                                                                                       : r9c9);
                                       m.modificato = true;
                                     }}};
  struct Case {
    const char* name;
    std::span<const ladder::Rung> rungs;
    const char* chiamante;
    long most_calls, idle_stops, long_stops;
  };
  const Case cases[] = {{"liar", kLiar, "analisi", 100, 1, 0},
                        {"singles", kSingles, "genera", 100, 0, 0},
                        {"flip", kFlip, "analisi", 100000, 0, 1}};
  for (const Case& c : cases) {
    test::Started s;
    Main& m = *s.m;
    stuck_with_singles(m, puzzle("dt-1"));
    r9c9 = std::string(1, puzzle("dt-1").solution[80]);
    m.Text2[80].set_text(r9c9);
    m.chiamante = c.chiamante;
    calls = 0;
    const std::vector<std::string> before = test::position_of(m);
    ladder::run_ladder(m, {c.rungs, nullptr});
    EXPECT_EQ(test::position_of(m), before) << c.name;
    EXPECT_LE(calls, c.most_calls) << c.name;
    EXPECT_EQ(m.safety_stops.idle_ladder, c.idle_stops) << c.name;
    EXPECT_EQ(m.safety_stops.long_ladder, c.long_stops) << c.name;
  }
}

}  // namespace
}  // namespace ks
