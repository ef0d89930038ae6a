// The classic grid generator: complete valid grids from seeded draws, point-symmetric givens
// completed by the solver, and no repeated draws within one clock tick.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "classic_support.h"
#include "solving/solver.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Started;

std::string board_digits(const Main& m) {
  std::string out;
  for (int i = 0; i < kCells; ++i) out += m.Text1[i].text();
  return out;
}

TEST(Generator, EverySeedGivesACompleteValidGrid) {
  Started w;
  Main& m = *w.m;
  std::set<std::string> grids;
  for (std::uint32_t seed = 1; seed <= 150; ++seed) {
    w.rt.Randomize(seed);
    m.genera_griglia_classica();
    const std::string grid = board_digits(m);
    ASSERT_TRUE(test::valid_grid(grid)) << "seed " << seed << ": " << grid;
    EXPECT_TRUE(m.finito);
    EXPECT_FALSE(m.problema);
    EXPECT_EQ(m.calling1, "classico");
    EXPECT_EQ(m.esposti, 81);
    EXPECT_EQ(m.txtesposti.text(), "81");
    EXPECT_EQ(m.txtvuoti.text(), "0");
    EXPECT_EQ(m.solver.stringasoluzione.substr(0, 81), grid);
    for (int i = 0; i < kCells; ++i) ASSERT_EQ(m.Text2[i].text(), m.Text1[i].text()) << i;
    grids.insert(grid);
  }
  EXPECT_EQ(grids.size(), 150u);
  EXPECT_TRUE(w.rt.messages.empty());
}

TEST(Generator, TheSameSeedGivesTheSameGrid) {
  Started a, b;
  a.rt.Randomize(2024u);
  b.rt.Randomize(2024u);
  b.rt.clock = 50000.0f;  // the clock plays no part in the draws
  a.m->genera_griglia_classica();
  b.m->genera_griglia_classica();
  EXPECT_EQ(board_digits(*a.m), board_digits(*b.m));
  EXPECT_TRUE(test::valid_grid(board_digits(*a.m)));
}

// The draws come from one generator seeded once: runs within one tick of the clock differ.
TEST(Generator, RunsWithinOneClockTickGiveDifferentGrids) {
  Started w;
  w.rt.clock = 3600.0f;
  std::set<std::string> grids;
  for (int k = 0; k < 5; ++k) {
    w.m->genera_griglia_classica();
    grids.insert(board_digits(*w.m));
  }
  EXPECT_EQ(grids.size(), 5u);
}

// The givens of the try that succeeds, told apart from the solver's completion, which fills the
// remaining cells in ascending order: they lie in point-symmetric pairs (c, 80 - c), and there are
// 21 or 22 of them, the solver being asked once more than 20 cells are filled.
// The digit boxes' writes, as the window's observer sees them while this lives: the cells
// written with a digit since the last erasure.
struct DigitWrites : FormObserver {
  explicit DigitWrites(Main& m) : m(m) { m.form.set_observer(this); }
  ~DigitWrites() override { m.form.set_observer(nullptr); }
  void control_changed(Control& c) override {
    if (c.name() != "Text1") return;
    const std::string& text = m.Text1[c.index()].text();
    std::string& last = seen[static_cast<size_t>(c.index())];
    if (text == last) return;  // another property of the box
    last = text;
    if (text.empty())
      writes.clear();
    else
      writes.push_back(c.index());
  }
  void form_changed(Form&) override {}
  void focus_changed(Form&) override {}

  Main& m;
  std::array<std::string, kCells> seen;
  std::vector<int> writes;
};

TEST(Generator, GivensArePointSymmetricAndTheSolverCompletesThem) {
  Started w;
  Main& m = *w.m;
  DigitWrites digits(m);
  std::vector<int>& writes = digits.writes;
  for (std::uint32_t seed = 10; seed < 40; ++seed) {
    w.rt.Randomize(seed);
    m.genera_griglia_classica();
    ASSERT_TRUE(test::valid_grid(board_digits(m)));
    ASSERT_EQ(writes.size(), 81u);
    size_t k = 21;
    for (; k <= 22; ++k) {
      std::vector<int> rest(writes.begin() + static_cast<long>(k), writes.end());
      if (std::is_sorted(rest.begin(), rest.end()) && (k == 22 || writes[k] != 80 - writes[k - 1]))
        break;
    }
    ASSERT_LE(k, 22u) << "seed " << seed;
    std::set<int> givens(writes.begin(), writes.begin() + static_cast<long>(k));
    ASSERT_EQ(givens.size(), k);
    for (int c : givens) EXPECT_TRUE(givens.count(80 - c)) << "seed " << seed << " cell " << c;
  }
}

TEST(Generator, ACellWithoutCandidatesGetsNothing) {
  Started w;
  Main& m = *w.m;
  m.nuovo_schema();
  m.calling1 = "classico";
  m.Text2[30].set_text("");
  EXPECT_FALSE(m.place_random_digit(30));
  EXPECT_EQ(m.Text1[30].text(), "");
  EXPECT_EQ(m.solver.grigliacifre[30], 0);
  EXPECT_EQ(m.esposti, 0);
  m.Text2[31].set_text("7");
  EXPECT_TRUE(m.place_random_digit(31));
  EXPECT_EQ(m.Text1[31].text(), "7");
  EXPECT_EQ(m.solver.grigliacifre[31], 7);
  EXPECT_EQ(m.Text2[31 + 9].text(), "12345689");
}

}  // namespace
}  // namespace ks
