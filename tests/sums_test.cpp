// The cage-sum engine: sum combinations with and without repeats, the cage information window,
// the sum check with its required-digit, confined-digit and deep steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "technique_board.h"

namespace ks {
namespace {

using test::joined;
using test::Started;

// Puts cage g into the cage model by hand: its (remaining) sum and its empty cells. A real cage
// also marks its cells as its own in gruppodicella and becomes the last real cage when it is
// above it; a derived cage leaves gruppodicella to the caller.
void put_cage(Main& m, int g, int sum, const std::vector<int>& cells, bool real = true) {
  m.sommagruppo.set(g, sum);
  m.elementigruppo.set(g, static_cast<int>(cells.size()));
  for (size_t k = 0; k < cells.size(); ++k) {
    m.cellegruppo.set(g, k + 1, cells[k]);
    if (real) m.gruppodicella.set(cells[k], g);
  }
  if (real && g > m.gruppi) m.gruppi = g;
}

// The stored combinations of cage g, in storage order.
std::vector<std::string> stored(const Main& m, int g) {
  std::vector<std::string> out;
  for (int k = 1; k <= m.numerosomme[g].as_int(); ++k) out.push_back(m.elencosomme[g][k]);
  return out;
}


// Independent checker: every way of giving the cells one digit each, on their candidates, with
// no equal digits in two cells that share a row, column, box or real cage, whose digits add up
// to `sum`; the digit strings sorted, in ascending text order.
std::vector<std::string> brute_force(const Main& m, const std::vector<int>& cells, int sum) {
  const int n = static_cast<int>(cells.size());
  auto clash = [&](int a, int b) {
    const Value& ga = m.gruppodicella[a];
    const Value& gb = m.gruppodicella[b];
    return a / 9 == b / 9 || a % 9 == b % 9 || (a / 27 == b / 27 && a % 9 / 3 == b % 9 / 3) ||
           (ga.is_number() && gb.is_number() && ga.num() == gb.num());
  };
  std::set<std::string> found;
  std::vector<int> d(static_cast<size_t>(n), 1);
  for (;;) {
    int total = 0;
    bool ok = true;
    for (int i = 0; i < n && ok; ++i) {
      total += d[i];
      ok = m.Text2[cells[i]].text().find(static_cast<char>('0' + d[i])) != std::string::npos;
      for (int j = 0; j < i && ok; ++j) ok = !(d[i] == d[j] && clash(cells[i], cells[j]));
    }
    if (ok && total == sum) {
      std::string s;
      for (int x : d) s += static_cast<char>('0' + x);
      std::sort(s.begin(), s.end());
      found.insert(s);
    }
    int i = 0;
    while (i < n && d[i] == 9) d[i++] = 1;
    if (i == n) break;
    ++d[i];
  }
  return {found.begin(), found.end()};
}

// A random candidate string of 3 to 8 digits.
std::string random_candidates(std::mt19937& rng) {
  std::string digits = "123456789";
  std::shuffle(digits.begin(), digits.end(), rng);
  digits.resize(3 + rng() % 6);
  std::sort(digits.begin(), digits.end());
  return digits;
}

// Checks the tables and flags left by an enumeration of cage g against the expected list.
void expect_stored(const Main& m, int g, const std::vector<std::string>& expected,
                   const std::string& what) {
  EXPECT_EQ(stored(m, g), expected) << what;
  EXPECT_EQ(m.stringa, joined(expected)) << what;
  EXPECT_EQ(m.problema, expected.empty()) << what;
}

// -------------------------------------------------------------------------------------------------
// Combinations without repeats

// The sets of n distinct digits with sum s, in ascending text order, straight from the subsets.
std::vector<std::string> digit_sets(int n, int sum) {
  std::vector<std::string> out;
  for (int set = 0; set < 512; ++set) {
    if (__builtin_popcount(static_cast<unsigned>(set)) != n) continue;
    std::string s;
    int total = 0;
    for (int d = 1; d <= 9; ++d)
      if (set & (1 << (d - 1))) {
        s += static_cast<char>('0' + d);
        total += d;
      }
    if (total == sum) out.push_back(s);
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(SumCombinations, EverySizeAndSumWithFreeCandidatesGivesTheDigitSets) {
  Started s;
  Main& m = *s.m;
  // Cells in one box, then in one row: the layout does not matter for distinct digits.
  const std::vector<std::vector<int>> layouts = {{0, 1, 10, 11, 2}, {36, 37, 38, 39, 40}};
  for (const auto& layout : layouts) {
    for (int n = 2; n <= 5; ++n) {
      for (int sum = 0; sum <= 46; ++sum) {
        put_cage(m, 3, sum, std::vector<int>(layout.begin(), layout.begin() + n));
        m.problema = false;
        m.calcola_somme_gruppo(3);
        expect_stored(m, 3, digit_sets(n, sum),
                      std::to_string(n) + " cells, sum " + std::to_string(sum));
      }
    }
  }
}

TEST(SumCombinations, RestrictedCandidatesMatchTheDigitsTheCellsCanTake) {
  Started s;
  Main& m = *s.m;
  std::mt19937 rng(7);
  const std::vector<int> layout = {27, 28, 29, 36, 45};  // r4c1 r4c2 r4c3 r5c1 r6c1
  for (int round = 0; round < 400; ++round) {
    const int n = 2 + static_cast<int>(rng() % 4);
    const std::vector<int> cells(layout.begin(), layout.begin() + n);
    for (int c : cells) m.Text2[c].set_text(random_candidates(rng));
    const int sum =
        n * (n + 1) / 2 + static_cast<int>(rng() % static_cast<unsigned>(n * (9 - n) + 1));
    put_cage(m, 7, sum, cells);
    m.problema = false;
    m.calcola_somme_gruppo(7);
    expect_stored(m, 7, brute_force(m, cells, sum), "round " + std::to_string(round));
  }
}

TEST(SumCombinations, CombinationThatNoAssignmentFitsIsImpossible) {
  // Each digit of 123 is a candidate somewhere, but two cells can only take 3.
  struct Case {
    bool incongruenza;
    std::string log_tail;
  };
  for (const Case& c : {Case{false, "start"},
                        Case{true, " IMPOSSIBILE, nessuna somma possibile per il gruppo r3c4"}}) {
    Started s;
    Main& m = *s.m;
    m.frmlog.Text3.set_text("start");
    put_cage(m, 2, 6, {21, 22, 23});
    m.Text2[21].set_text("3");
    m.Text2[22].set_text("3");
    m.Text2[23].set_text("12");
    m.incongruenza = c.incongruenza;
    m.calcola_somme_gruppo(2);
    EXPECT_EQ(m.numerosomme[2].as_int(), 0);
    EXPECT_TRUE(m.numerosomme[2].is_number());
    EXPECT_EQ(m.stringa, "");
    EXPECT_TRUE(m.problema);
    EXPECT_EQ(m.gruppoproblema, 2);
    EXPECT_EQ(test::lines_of(m.frmlog.Text3.text()).back(), c.log_tail);
  }
}

TEST(SumCombinations, CommonDigitsOfTheStoredCombinations) {
  Started s;
  Main& m = *s.m;
  struct Case {
    int sum;
    std::string common;
  };
  // 3 cells: 8 -> 125 134; 7 -> 124; 10 -> 127 136 145 235; 23 -> 689.
  for (const Case& c : {Case{8, "1"}, Case{7, "124"}, Case{10, ""}, Case{23, "689"}}) {
    put_cage(m, 9, c.sum, {40, 41, 49});
    m.calcola_somme_gruppo(9);
    EXPECT_EQ(m.numeri_comuni_somme(9), c.common) << c.sum;
    EXPECT_EQ(m.numeriobbligati[9], c.common) << c.sum;
  }
}

// -------------------------------------------------------------------------------------------------
// Combinations with repeats (derived cages)

// Puts a derived cage numbered 75 (cage numbers above 60 must fit the tables too) on the given
// cells, each in a real cage of its own unless `cages` says otherwise.
void put_derived(Main& m, int sum, const std::vector<int>& cells,
                 const std::vector<int>& cages = {}) {
  m.gruppi = 40;
  for (size_t k = 0; k < cells.size(); ++k)
    m.gruppodicella.set(cells[k], cages.empty() ? static_cast<int>(k) + 1 : cages[k]);
  put_cage(m, 75, sum, cells, false);
}

TEST(RepeatCombinations, EveryPlacementTheCellsCanHoldIsStored) {
  Started s;
  Main& m = *s.m;
  struct Layout {
    std::vector<int> cells;
    std::vector<int> cages;
  };
  const std::vector<Layout> layouts = {
      {{27, 46, 31, 48}, {}},     // r4c1 r6c2 r4c5 r6c4: two rows, four boxes apart
      {{0, 12, 24, 28, 40}, {}},  // five cells in different rows, columns and boxes
      {{0, 12, 28, 40}, {}},      // four such cells: even 9999 fits
      {{0, 4, 44}, {}},           // r1c1 r1c5 share a row, r5c9 is free of both
      {{0, 80}, {}},              // opposite corners
      {{0, 40, 13}, {1, 1, 2}},   // r1c1 and r5c5 lie in one real cage
      {{0, 1, 9, 10, 20}, {}},    // one box
  };
  for (const Layout& l : layouts) {
    const int n = static_cast<int>(l.cells.size());
    for (int sum = 0; sum <= 9 * n + 1; ++sum) {
      for (int c : l.cells) m.Text2[c].set_text("123456789");
      put_derived(m, sum, l.cells, l.cages);
      m.problema = false;
      m.calcola_somme_gruppo_ripetizioni(75);
      expect_stored(m, 75, brute_force(m, l.cells, sum),
                    "cell " + std::to_string(l.cells[0]) + " sum " + std::to_string(sum));
    }
  }
  // With random candidates.
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    const Layout& l = layouts[rng() % layouts.size()];
    const int n = static_cast<int>(l.cells.size());
    for (int c : l.cells) m.Text2[c].set_text(random_candidates(rng));
    const int sum = n + static_cast<int>(rng() % static_cast<unsigned>(8 * n + 1));
    put_derived(m, sum, l.cells, l.cages);
    m.problema = false;
    m.calcola_somme_gruppo_ripetizioni(75);
    expect_stored(m, 75, brute_force(m, l.cells, sum), "round " + std::to_string(round));
  }
}

TEST(RepeatCombinations, HeavyRepeatsAreKeptWhenTheCellsCanHoldThem) {
  Started s;
  Main& m = *s.m;
  struct Case {
    std::vector<int> cells;
    int sum;
    std::string combination;
    bool kept;
  };
  const std::vector<Case> cases = {
      {{27, 46, 31, 48}, 6, "1122", true},   // two repeated pairs
      {{27, 46, 31, 48}, 5, "1112", false},  // 1 three times needs three cells apart: none here
      {{0, 40, 80}, 3, "111", true},         // a digit three times
      {{0, 12, 28, 40}, 36, "9999", true},   // a digit four times
      {{0, 12, 24, 28, 40}, 41, "88889", true},
      {{27, 28, 31, 32}, 6, "1122", false},  // all four in one row
  };
  for (const Case& c : cases) {
    for (int cell : c.cells) m.Text2[cell].set_text("123456789");
    m.doppiedoppie = false;
    put_derived(m, c.sum, c.cells);
    m.calcola_somme_gruppo_ripetizioni(75);
    const auto list = stored(m, 75);
    EXPECT_EQ(std::find(list.begin(), list.end(), c.combination) != list.end(), c.kept)
        << c.combination;
  }
  EXPECT_TRUE(Main::troppe_ripetizioni("1122", 4));
  EXPECT_TRUE(Main::troppe_ripetizioni("1112", 4));
  EXPECT_FALSE(Main::troppe_ripetizioni("1123", 4));
}

// -------------------------------------------------------------------------------------------------
// Cage information window

TEST(CageWindow, ShowsTheCageWithItsCombinations) {
  Started s;
  Main& m = *s.m;
  put_cage(m, 12, 10, {30, 31, 32});
  m.origine = "somme1";
  m.mostra_somme_gruppo(12);
  const std::string expected =
      "gruppo 12\r\nsomma 10\r\nelementi 3\r\nsomme:\r\n127\r\n136\r\n145\r\n235";
  EXPECT_EQ(m.frmgeneratore.Text1.text(), expected);
  EXPECT_EQ(m.testo, expected);
  EXPECT_EQ(m.frmgeneratore.last_shown, 12);

  // The same cage again: nothing is recomputed or rewritten, even after a change.
  m.Text2[30].set_text("1");
  m.testo = "x";
  m.mostra_somme_gruppo(12);
  EXPECT_EQ(m.frmgeneratore.Text1.text(), expected);
  EXPECT_EQ(m.testo, "x");
  EXPECT_EQ(m.numerosomme[12].as_int(), 4);

  // Another tag shows the stored combinations as they stand.
  put_cage(m, 13, 17, {50, 51});
  m.numerosomme[13] = 1;
  m.elencosomme[13][1] = "89";
  m.origine = "nakedpair";
  m.mostra_somme_gruppo(13);
  EXPECT_EQ(m.frmgeneratore.Text1.text(), "gruppo 13\r\nsomma 17\r\nelementi 2\r\nsomme:\r\n89");
}

TEST(CageWindow, UncomputedCageAndCellWithoutCage) {
  Started s;
  Main& m = *s.m;
  put_cage(m, 5, 9, {60, 61});
  m.origine = "";
  m.mostra_somme_gruppo(5);
  EXPECT_EQ(m.frmgeneratore.Text1.text(), "somme non ancora calcolate");
  EXPECT_EQ(m.testo, "gruppo 5\r\nsomma 9\r\nelementi 2\r\nsomme:");

  // A cell in no cage empties the window; asking for cage 5 again shows it again.
  m.mostra_somme_gruppo(-1);
  EXPECT_EQ(m.frmgeneratore.Text1.text(), "");
  m.origine = "somme1";
  m.mostra_somme_gruppo(5);
  EXPECT_EQ(m.frmgeneratore.Text1.text(),
            "gruppo 5\r\nsomma 9\r\nelementi 2\r\nsomme:\r\n18\r\n27\r\n36\r\n45");
}

// -------------------------------------------------------------------------------------------------
// Sum check on real puzzles

// Runs the sum check over every cage until it changes nothing, checking after every step that
// each cell still has its solution digit; returns the number of steps.
int sum_check_to_the_end(Main& m, const test::Puzzle& p) {
  int steps = 0;
  for (;;) {
    m.controllo_somme(81);
    EXPECT_FALSE(m.problema) << p.id << " step " << steps;
    for (int i = 0; i < 81; ++i)
      EXPECT_NE(m.Text2[i].text().find(p.solution[i]), std::string::npos)
          << p.id << " step " << steps << " cell " << i << " " << m.Text2[i].text();
    if (!m.modificato || m.problema || ::testing::Test::HasFailure() || ++steps > 3000)
      return steps;
  }
}

TEST(SumCheck, KeepsTheSolutionOnEveryPuzzleInPlainAndDeepMode) {
  int plain_cuts = 0, deeper = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    int left[2] = {0, 0};
    for (const bool deep : {false, true}) {
      Started s;
      Main& m = *s.m;
      test::load_layout(m, p.layout);
      ASSERT_FALSE(m.problema) << p.id;
      m.calling = "risolvi";
      m.chiamante = "analisi";
      m.varcontrolloesteso = deep;
      const int steps = sum_check_to_the_end(m, p);
      ASSERT_LE(steps, 3000) << p.id << ": the sum check keeps reporting changes";
      if (::testing::Test::HasFailure()) return;
      for (int i = 0; i < 81; ++i) left[deep] += static_cast<int>(m.Text2[i].text().size());
      if (!deep && steps > 0) ++plain_cuts;
    }
    EXPECT_LE(left[1], left[0]) << p.id;
    if (left[1] < left[0]) ++deeper;
  }
  // The check is not idle: it cuts on most puzzles, and the deep step adds to it on some.
  EXPECT_GT(plain_cuts, static_cast<int>(test::puzzles().size()) * 3 / 4);
  EXPECT_GT(deeper, 0);
}

// -------------------------------------------------------------------------------------------------
// Sum check, one step at a time

// A board for hand-made step tests: step mode, the log holding "start", and the player at the
// traffic light answering every wait ("si" unless scripted), noting what the wait showed.
struct StepBoard {
  Started s;
  Main& m = *s.m;
  test::Light light{s};
  StepBoard() {
    m.calling = "";
    m.chiamante = "manuale";
    m.calling1 = "";
    m.frmlog.Text3.set_text("start");
  }
  int waits() const { return static_cast<int>(light.waits.size()); }
  std::vector<std::string> hints_at_wait() const {
    std::vector<std::string> out;
    for (const auto& w : light.waits) out.push_back(w.hint);
    return out;
  }
  // The cells painted giallo at each wait.
  std::vector<std::vector<int>> yellow_at_wait() const {
    std::vector<std::vector<int>> out;
    for (const auto& w : light.waits) out.push_back(w.yellow);
    return out;
  }
  std::vector<std::string> log() const {
    auto lines = test::lines_of(m.frmlog.Text3.text());
    lines.erase(lines.begin());  // "start"
    return lines;
  }
  void fill(const std::string& candidates) {
    for (int i = 0; i < 81; ++i) m.Text2[i].set_text(candidates);
  }
};

TEST(SumCheck, CutStepExplainsItselfAndWaits) {
  for (const std::string answer : {"si", "no"}) {
    StepBoard b;
    b.light.script = {answer};
    put_cage(b.m, 0, 15, {21, 22});  // r3c4 r3c5
    b.m.controllo_somme(81);
    EXPECT_EQ(b.waits(), 1);
    EXPECT_EQ(b.yellow_at_wait(), (std::vector<std::vector<int>>{{21, 22}}));
    EXPECT_EQ(b.hints_at_wait(), (std::vector<std::string>{"CONTROLLO SOMME - modifico "}));
    test::expect_gate_closed(b.m);
    EXPECT_TRUE(b.m.modificato);
    EXPECT_FALSE(b.m.problema);
    std::vector<std::string> log = {"---------------------------",
                                    "CONTROLLO SOMME - gruppo di r3c4", "somme 69,78,"};
    if (answer == "si") {
      log.push_back("modifico contenuto cella r3c4 numeri 6789");
      log.push_back("modifico contenuto cella r3c5 numeri 6789");
      EXPECT_EQ(b.m.txthint.text(),
                "CONTROLLO SOMME - modifico r3c4 numeri 6789,r3c5 numeri 6789,");
      EXPECT_EQ(b.m.Text2[21].text(), "6789");
      EXPECT_EQ(b.m.Text2[22].text(), "6789");
    } else {
      EXPECT_EQ(b.m.Text2[21].text(), "123456789");
    }
    EXPECT_EQ(b.log(), log) << answer;
  }
}

TEST(SumCheck, SinglePlaceStepNamesTheDigitAndItsCell) {
  StepBoard b;
  b.fill("3567");
  put_cage(b.m, 0, 7, {0, 40, 80});  // 124 only; 4 has one place
  b.m.Text2[0].set_text("124");
  b.m.Text2[40].set_text("12");
  b.m.Text2[80].set_text("12");
  b.m.controllo_somme(81);
  EXPECT_EQ(b.waits(), 1);
  EXPECT_EQ(b.yellow_at_wait(), (std::vector<std::vector<int>>{{0}}));
  EXPECT_EQ(b.m.txthint.text(), "unico valore possibile 4 nel gruppo r1,c1");
  EXPECT_EQ(b.log(), (std::vector<std::string>{"unico valore possibile 4 nel gruppo r1,c1"}));
  EXPECT_EQ(b.m.Text2[0].text(), "4");
  EXPECT_EQ(b.m.Text1[0].text(), "");
  EXPECT_EQ(b.m.numero, "4");
  EXPECT_TRUE(b.m.modificato);
  test::expect_gate_closed(b.m);

  // Once the cell holds 4 alone the step would change nothing: the next call moves on.
  b.m.controllo_somme(81);
  EXPECT_FALSE(b.m.modificato);
  EXPECT_EQ(b.waits(), 1);
}

TEST(SumCheck, ConfinedDigitLeavesTheRestOfItsRowAndBox) {
  StepBoard b;
  b.fill("1234567");
  put_cage(b.m, 0, 17, {0, 1});  // r1c1 r1c2, 89 in the first row and box
  b.m.Text2[0].set_text("89");
  b.m.Text2[1].set_text("89");
  b.m.Text2[5].set_text("589");  // r1c6
  b.m.Text2[19].set_text("18");  // r3c2
  b.m.controllo_somme(81);
  EXPECT_EQ(b.waits(), 3);
  EXPECT_EQ(b.yellow_at_wait(), (std::vector<std::vector<int>>{{0}, {0}, {0}}));
  EXPECT_EQ(b.hints_at_wait(), (std::vector<std::string>{"POSIZIONE OBBLIGATA 8 nel gruppo r1c1",
                                                       "POSIZIONE OBBLIGATA 8 nel gruppo r1c1",
                                                       "POSIZIONE OBBLIGATA 9 nel gruppo r1c1"}));
  EXPECT_EQ(b.log(),
            (std::vector<std::string>{
                "--------------------", "POSIZIONE OBBLIGATA 8 nel gruppo r1c1",
                " * elimino il numero 8 da  r1c6,", "--------------------",
                "POSIZIONE OBBLIGATA 8 nel gruppo r1c1", " * elimino il numero 8 da  r3c2,",
                "--------------------", "POSIZIONE OBBLIGATA 9 nel gruppo r1c1",
                " * elimino il numero 9 da  r1c6,"}));
  EXPECT_EQ(b.m.txthint.text(), "eliminato il 9 da r1c6");
  EXPECT_EQ(b.m.Text2[5].text(), "5");
  EXPECT_EQ(b.m.Text2[19].text(), "1");
  EXPECT_TRUE(b.m.modificato);
  EXPECT_FALSE(b.m.problema);
}

TEST(SumCheck, DeepStepRemovesACandidateWithoutArrangement) {
  // Sum 14 over r1c1 "127", r5c5 "4579", r9c9 "458": 149 158 248 257. Only 257 holds 7, and
  // neither 2 nor 5 fits r5c5 and r9c9 together with the other.
  for (const bool deep : {false, true}) {
    StepBoard b;
    put_cage(b.m, 0, 14, {0, 40, 80});
    b.m.Text2[0].set_text("127");
    b.m.Text2[40].set_text("4579");
    b.m.Text2[80].set_text("458");
    b.m.varcontrolloesteso = deep;
    b.m.controllo_somme(81);
    EXPECT_EQ(b.m.modificato, deep);
    EXPECT_EQ(b.m.sommeestese, deep);
    if (!deep) continue;
    EXPECT_EQ(b.waits(), 1);
    EXPECT_EQ(b.yellow_at_wait(), (std::vector<std::vector<int>>{{0, 40, 80}}));
    EXPECT_EQ(b.hints_at_wait(),
              (std::vector<std::string>{"il numero 7 non è possibile nella cella r1c1"}));
    EXPECT_EQ(b.log(), (std::vector<std::string>{
                           "------------------------", "CONTROLLO SOMME - gruppo di r1c1",
                           "somme 149,158,248,257,", "il numero 7 non è possibile nella cella r1c1",
                           "elimino il numero 7 da r1c1"}));
    EXPECT_EQ(b.m.txthint.text(), "elimino il numero 7 da r1c1");
    EXPECT_EQ(b.m.Text2[0].text(), "12");
    EXPECT_EQ(b.m.livello, 8);
    test::expect_gate_closed(b.m);
  }
}

TEST(SumCheck, SmallCagesInSolveMode) {
  struct Case {
    const char* what;
    int sum;
    std::vector<int> cells;
    std::vector<std::string> before, after;
    bool modificato, problema;
  };
  const std::vector<Case> cases = {
      {"one cell takes its sum", 7, {4}, {"1237"}, {"7"}, true, false},
      {"one cell already settled", 7, {4}, {"7"}, {"7"}, false, false},
      {"one cell whose sum is no digit", 12, {4}, {"12"}, {"12"}, false, true},
      {"one cell without its sum", 7, {4}, {"1238"}, {"1238"}, false, true},
      {"two cells, every complement there",
       10,
       {4, 5},
       {"1234", "6789"},
       {"1234", "6789"},
       false,
       false},
      {"two cells, complements missing", 10, {4, 5}, {"1234", "89"}, {"12", "89"}, true, false},
      {"two cells without a combination", 17, {4, 5}, {"1234", "89"}, {"1234", "89"}, false, true},
      {"six cells are left alone",
       21,
       {4, 5, 6, 7, 8, 13},
       {"1", "1", "1", "1", "1", "1"},
       {"1", "1", "1", "1", "1", "1"},
       false,
       false},
  };
  for (const Case& c : cases) {
    Started s;
    Main& m = *s.m;
    m.calling = "risolvi";
    m.chiamante = "analisi";
    put_cage(m, 0, c.sum, c.cells);
    for (size_t k = 0; k < c.cells.size(); ++k) m.Text2[c.cells[k]].set_text(c.before[k]);
    m.controllo_somme(81);
    for (size_t k = 0; k < c.cells.size(); ++k)
      EXPECT_EQ(m.Text2[c.cells[k]].text(), c.after[k]) << c.what;
    EXPECT_EQ(m.modificato, c.modificato) << c.what;
    EXPECT_EQ(m.problema, c.problema) << c.what;
    // The boxes stay as the pencil marks (off) show them.
    EXPECT_FALSE(m.Text2[c.cells[0]].visible()) << c.what;
  }
}

TEST(SumCheck, FromCellEntryOnlyCutsAndLogsTheCells) {
  StepBoard b;
  b.s.rt.on_yield = [] { FAIL() << "the cell-entry call must not wait"; };
  put_cage(b.m, 0, 15, {21, 22});
  put_cage(b.m, 1, 7, {0, 40, 80});  // would have a single-place step (see above)
  b.m.Text2[0].set_text("124");
  b.m.Text2[40].set_text("12");
  b.m.Text2[80].set_text("12");
  b.m.txthint.set_text("");
  b.m.origine1 = "modificatext1";
  b.m.controllo_somme(0);
  EXPECT_EQ(b.log(), (std::vector<std::string>{"modifico contenuto cella r3c4 numeri 6789",
                                               "modifico contenuto cella r3c5 numeri 6789"}));
  EXPECT_EQ(b.m.txthint.text(), "r3c4 numeri 6789,r3c5 numeri 6789,");
  test::expect_gate_closed(b.m);
  b.m.controllo_somme(1);
  EXPECT_FALSE(b.m.modificato);
  EXPECT_EQ(b.m.Text2[0].text(), "124");
  // A negative cage number (a cell in no cage) does nothing.
  b.m.controllo_somme(-1);
  EXPECT_FALSE(b.m.modificato);

  // After cell entry's own word on the hint line, the cuts stand apart from it.
  StepBoard c;
  put_cage(c.m, 0, 15, {21, 22});
  c.m.txthint.set_text("  numero errato");
  c.m.origine1 = "modificatext1";
  c.m.controllo_somme(0);
  EXPECT_EQ(c.m.txthint.text(), "  numero errato - r3c4 numeri 6789,r3c5 numeri 6789,");
}

TEST(SumCheck, PlainCutAfterAnIdleDeepStepIsNotCountedAsDeep) {
  Started s;
  Main& m = *s.m;
  m.calling = "risolvi";
  m.chiamante = "analisi";
  m.varcontrolloesteso = true;
  for (int i = 0; i < 81; ++i) m.Text2[i].set_text("3567");
  put_cage(m, 0, 7, {0, 40, 80});  // 124, nothing left to find
  m.Text2[0].set_text("4");
  m.Text2[40].set_text("12");
  m.Text2[80].set_text("12");
  put_cage(m, 1, 8, {3, 4});  // 35 only: "3567" -> "35"
  m.controllo_somme(81);
  EXPECT_TRUE(m.modificato);
  EXPECT_EQ(m.Text2[3].text(), "35");
  EXPECT_FALSE(m.sommeestese);
}

TEST(DeepCheck, CellLeftWithoutCandidatesIsAContradiction) {
  Started s;
  Main& m = *s.m;
  m.chiamante = "genera";
  put_cage(m, 0, 6, {0, 40, 80});
  m.numerosomme[0] = 1;
  m.elencosomme[0][1] = "123";
  m.Text2[0].set_text("4");
  m.controllo_numeri_gruppo_permutazioni(0);
  EXPECT_EQ(m.Text2[0].text(), "");
  EXPECT_TRUE(m.problema);
}

}  // namespace
}  // namespace ks
