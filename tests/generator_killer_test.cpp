// The generate command end to end: every puzzle it accepts is a sound killer with exactly one
// solution, checked by a counter written for the tests; and its try log.
//
// KS_GENERATOR=long generates many more puzzles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "killer_counter.h"
#include "solving/solver.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Started;

int seeds() {
  const char* v = std::getenv("KS_GENERATOR");
  return v != nullptr && std::string(v) == "long" ? 400 : 12;
}

// What is wrong with the puzzle on the board as a killer over the grid `solution`; "" when each
// cell lies in exactly one cage that holds together, has at most seven cells, no repeated digit
// and the grid's sum, and the cages admit exactly one solution.
std::string puzzle_fault(Main& m, const std::string& solution) {
  std::array<int, 81> cage{};
  std::vector<int> sums;
  for (int g = 0; g <= m.gruppi; ++g) {
    std::vector<int> cells;
    for (int c = 0; c < 81; ++c)
      if (m.cage_of(c) == g) cells.push_back(c);
    if (cells.empty()) return "cage " + std::to_string(g) + " empty";
    if (cells.size() > 7) return "cage " + std::to_string(g) + " too big";
    if (!m.cage_whole(g, cells)) return "cage " + std::to_string(g) + " split";
    int sum = 0;
    std::set<char> digits;
    for (const int c : cells) {
      sum += solution[static_cast<size_t>(c)] - '0';
      if (!digits.insert(solution[static_cast<size_t>(c)]).second) return "repeated digit";
      cage[static_cast<size_t>(c)] = static_cast<int>(sums.size());
    }
    if (!m.sommagruppo[g].eq(sum) || m.textsomma[g].text() != std::to_string(sum))
      return "cage " + std::to_string(g) + " sum";
    sums.push_back(sum);
  }
  for (int c = 0; c < 81; ++c)
    if (m.cage_of(c) < 0) return "cell " + std::to_string(c) + " in no cage";
  std::string first;
  test::KillerCounter counter(cage, sums);
  const int n = counter.count(2, &first);
  if (n != 1) return std::to_string(n) + " solutions";
  if (first != solution) return "another solution";
  return "";
}

TEST(GenerateCommand, EveryAcceptedPuzzleIsASoundKillerWithOneSolution) {
  std::vector<int> levels(15, 0);
  for (int seed = 1; seed <= seeds(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Started s;
    Main& m = *s.m;
    s.rt.Randomize(static_cast<std::uint32_t>(seed));
    m.Toolbar2.on_button_click("genera");
    ASSERT_FALSE(m.problema);
    ASSERT_FALSE(m.generation_running);
    const std::string solution = m.solver.stringasoluzione.substr(0, 81);
    ASSERT_EQ(solution.size(), 81u);
    EXPECT_EQ(puzzle_fault(m, solution), "");
    // A blank puzzle with its first candidates and its rating.
    EXPECT_EQ(m.esposti, 0);
    for (int i = 0; i < 81; ++i) EXPECT_NE(m.Text2[i].text().find(solution[i]), std::string::npos);
    EXPECT_FALSE(m.txtlivello.text().empty());
    EXPECT_EQ(m.frmlog.Text3.text(), " ");  // no step of the solution shows
    EXPECT_FALSE(m.mnupencil.checked());
    for (int i = 0; i < 81; ++i) EXPECT_TRUE(m.Text1[i].visible() && !m.Text2[i].visible());
    ASSERT_GE(m.livello, 0);
    ASSERT_LE(m.livello, 13);
    ++levels[static_cast<size_t>(m.livello)];
    // The try log has the newest line on top.
    const auto lines = test::lines_of(m.frmgeneratore.Text1.text());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().rfind(" tentativo ", 0), 0u) << lines.front();
  }
  std::string histogram;
  for (int l = 0; l <= 13; ++l)
    if (levels[static_cast<size_t>(l)]) histogram += " " + std::to_string(l) + ":" + std::to_string(levels[static_cast<size_t>(l)]);
  std::printf("levels of the generated puzzles:%s\n", histogram.c_str());
}

// The generator's time-limited mode ends with the command: the player's solve of a puzzle that
// the techniques leave unsolved counts its solutions and finishes with trial and verify, as on a
// loaded one (before, it stopped silently at the count). Seed 88 makes such a puzzle.
TEST(GenerateCommand, ASolveOfTheNewPuzzleCountsAndTriesAsOnALoadedOne) {
  Started s;
  Main& m = *s.m;
  s.rt.Randomize(88u);
  m.Toolbar2.on_button_click("genera");
  const std::string solution = m.solver.stringasoluzione.substr(0, 81);
  m.Toolbar2.on_button_click("risolvi");
  EXPECT_TRUE(m.finito);
  EXPECT_EQ(m.txtstringa.text(), solution);
  EXPECT_EQ(m.livello, 13);
  EXPECT_TRUE(s.rt.messages.empty());
}

// The restart of a generated puzzle gives back its start, as after a load: no digit, every cage
// with its full sum and all its cells empty; the solution the run worked from is not revealed.
// Erasing a digit gives its cage the cell back in the same way, after an earlier puzzle too.
TEST(GenerateCommand, TheRestartGivesBackTheStartNotTheSolution) {
  Started s;
  Main& m = *s.m;
  for (int seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    s.rt.Randomize(static_cast<std::uint32_t>(seed));
    m.Toolbar2.on_button_click("genera");
    const std::string solution = m.solver.stringasoluzione.substr(0, 81);
    const std::string start = test::board_layout(m, solution);
    ASSERT_EQ(test::cages_agree(m, start), "");

    m.Toolbar2.on_button_click("undo");  // nothing placed: no question
    EXPECT_TRUE(s.rt.messages.empty());
    EXPECT_EQ(m.esposti, 0);
    EXPECT_EQ(test::cages_agree(m, start), "");

    for (int i = seed; i < 81; i += 4) m.Text1[i].type(solution.substr(static_cast<size_t>(i), 1));
    m.Text1[seed].type("");
    EXPECT_EQ(test::cages_agree(m, start), "");
    m.Toolbar2.on_button_click("undo");  // the player agrees to lose the digits
    EXPECT_EQ(s.rt.messages,
              std::vector<std::string>{"Ricominciare lo schema? Le cifre inserite andranno perse."});
    s.rt.messages.clear();
    EXPECT_EQ(m.esposti, 0);
    EXPECT_EQ(test::cages_agree(m, start), "");
    for (int i = 0; i < 81; ++i) {
      EXPECT_EQ(m.Text1[i].text(), "") << i;
      EXPECT_NE(m.Text2[i].text().find(solution[static_cast<size_t>(i)]), std::string::npos) << i;
    }
  }
}

// While a generation runs with the pencil marks on, every cell shows one box, the one the tick
// asks for, at every yield (when the window repaints): its candidates when it is empty and its
// digit box has no focus, its digit box otherwise. The cells that the drawing of the cages empties
// before each try kept their digit boxes shown, and the repair showed both boxes of the unsolved
// cells.
TEST(GenerateCommand, EveryCellShowsTheBoxThePencilMarksAskForWhileItRuns) {
  for (int seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Started s;
    Main& m = *s.m;
    s.rt.Randomize(static_cast<std::uint32_t>(seed));
    m.mnupencil_Click();
    long yields = 0;
    std::string fault;
    s.rt.on_yield = [&] {
      ++yields;
      for (int i = 0; i < 81 && fault.empty(); ++i) {
        const bool candidates = m.mnupencil.checked() && m.Text1[i].text().empty() && !m.Text1[i].has_focus();
        if (m.Text2[i].visible() != candidates || m.Text1[i].visible() == candidates)
          fault = "yield " + std::to_string(yields) + ", " + m.rc(i) + ": digit box " +
                  (m.Text1[i].visible() ? "shown" : "hidden") + ", candidates " +
                  (m.Text2[i].visible() ? "shown" : "hidden");
      }
    };
    m.Toolbar2.on_button_click("genera");
    ASSERT_FALSE(m.problema);
    EXPECT_GT(yields, 0);
    EXPECT_EQ(fault, "");
  }
}

// The tries run the techniques, which write the digit they find into the hinted-digit box; the
// new puzzle starts with the box empty all the same, run after run, also while it is shown.
TEST(GenerateCommand, EveryNewPuzzleStartsWithTheHintedDigitBoxEmpty) {
  Started s;
  Main& m = *s.m;
  m.Toolbar1.on_button_click("numero");
  ASSERT_TRUE(m.Text5.visible());
  for (int seed = 11; seed <= 22; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    s.rt.Randomize(static_cast<std::uint32_t>(seed));
    m.Toolbar2.on_button_click("genera");
    ASSERT_FALSE(m.problema);
    EXPECT_EQ(m.Text5.text(), "");
    EXPECT_TRUE(m.Text5.visible());
  }
}

// Commands wait while a generation runs, and the same seed makes the same puzzle.
TEST(GenerateCommand, SameSeedSamePuzzleAndOtherCommandsWait) {
  std::string layouts[2];
  for (auto& layout : layouts) {
    Started s;
    Main& m = *s.m;
    s.rt.Randomize(7u);
    int refused = 0;
    s.rt.on_yield = [&] {
      if (!m.generation_running || refused) return;
      m.Toolbar2.on_button_click("new");
      refused = static_cast<int>(s.rt.messages.size());
    };
    m.Toolbar2.on_button_click("genera");
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(s.rt.messages.front(), "generazione in corso");
    for (int c = 0; c < 81; ++c) layout += std::to_string(m.cage_of(c)) + ",";
  }
  EXPECT_EQ(layouts[0], layouts[1]);
}

}  // namespace
}  // namespace ks
