// The cage-layout run: two-cell cages, greedy carving, lone-cell gluing, the freeze, the final
// renumbering and the repair's cell move, on fixed grids worked out by hand, on hand-made boards
// and on many seeded grids checked by an independent layout checker.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "classic_support.h"
#include "generator/layout_run.h"
#include "platform/text.h"
#include "solving/solver.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Started;

// Two complete grids, row by row.
const std::string kGridA =
    "374198625126537849895462137463875291519623478782914563941356782657289314238741956";
const std::string kGridB =
    "985461372674823159312759648169234785238975461457618293546192837791386524823547916";

// The board as the generate command hands it to the run: reset, the grid written through cell
// entry without cage bookkeeping, its digits in the solver's result text.
void put_grid(Main& m, const std::string& grid) {
  m.nuovo_schema();
  m.calling1 = "classico";
  for (int i = 0; i < kCells; ++i) m.Text1[i].set_text(grid.substr(static_cast<size_t>(i), 1));
  m.solver.stringasoluzione = grid;
  m.finito = true;
}

// A run set up on a grid, ready for its phases.
struct Prepared {
  Started w;
  Main& m = *w.m;
  LayoutRun run;
  explicit Prepared(const std::string& grid) {
    put_grid(m, grid);
    EXPECT_TRUE(m.prepare_layout_run(run));
  }
};

// A board of arbitrary digits (not a sudoku): every cell "5" unless listed, written in bulk so
// that cell entry only counts. Cell c gets digits[k] for the k-th entry {c, digit}.
void put_digits(Main& m, std::initializer_list<std::pair<int, int>> digits) {
  m.nuovo_schema();
  m.calling1 = "classico";
  std::string grid(81, '5');
  for (const auto& [c, d] : digits) grid[static_cast<size_t>(c)] = static_cast<char>('0' + d);
  m.ins_dati = true;
  for (int i = 0; i < kCells; ++i) {
    m.Text1[i].set_text(grid.substr(static_cast<size_t>(i), 1));
    m.cellesalvate[i] = m.Text1[i].text();
  }
  m.ins_dati = false;
}

// Cages g = first..last of the model as a layout text: per cage its sum, a comma, its cells as
// two-digit numbers in list order, a semicolon.
std::string layout_text(const Main& m, int first, int last) {
  std::string out;
  for (int g = first; g <= last; ++g) {
    out += m.sommagruppo[g].text() + ",";
    for (int k = 1; k <= m.cage_size(g); ++k) {
      const int c = m.cage_cell(g, k);
      out += (c < 10 ? "0" : "") + std::to_string(c);
    }
    out += ";";
  }
  return out;
}

Color palette(const Main& m, int k) { return m.colore[k].back_color(); }

// Independent check of a finished layout over a grid: every cell in exactly one cage, each cage
// of 1..7 cells in one piece of side neighbours, without a repeated digit, its sum the grid's.
// "" when sound, else what is wrong.
std::string layout_problem(const Main& m, const std::string& grid) {
  std::array<int, 81> owner;
  owner.fill(-1);
  for (int g = 0; g <= m.gruppi; ++g) {
    const int n = m.elementigruppo[g].as_int();
    if (n < 1 || n > 7) return "cage " + std::to_string(g) + " has " + std::to_string(n) + " cells";
    std::vector<int> cells;
    int sum = 0;
    std::set<char> digits;
    for (int k = 1; k <= n; ++k) {
      const int c = static_cast<int>(m.cellegruppo[g][k].num());
      if (owner[c] >= 0) return "cell " + std::to_string(c) + " in two cages";
      owner[c] = g;
      cells.push_back(c);
      sum += grid[c] - '0';
      if (!digits.insert(grid[c]).second) return "repeated digit in cage " + std::to_string(g);
    }
    if (m.sommagruppo[g].num() != sum) return "wrong sum of cage " + std::to_string(g);
    std::set<int> reached{cells[0]};
    for (bool grew = true; grew;) {
      grew = false;
      for (int a : cells)
        for (int b : cells)
          if (reached.count(a) && !reached.count(b) &&
              (std::abs(a - b) == 9 || (std::abs(a - b) == 1 && a / 9 == b / 9))) {
            reached.insert(b);
            grew = true;
          }
    }
    if (reached.size() != cells.size()) return "cage " + std::to_string(g) + " is split";
  }
  for (int c = 0; c < 81; ++c)
    if (owner[c] < 0) return "cell " + std::to_string(c) + " in no cage";
  return "";
}

std::string top_log_line(const Main& m) { return test::lines_of(m.frmgeneratore.Text1.text())[0]; }

// ---------------------------------------------------------------------------------------------
// Fixed grids, worked out by hand.

// Grid A. Side by side, 3 or 4: r2c1-2 (1,2), twin r8c8-9 (1,4); r3c6-7 (2,1), twin r7c3-4
// (1,3); r7c3-4 is taken when its own turn comes, and r8c7-8 (3,1) has lost r8c8. Stacked, 16 or
// 17: r2c9/r3c9 (9,7), twin r7c1/r8c1 (9,6); r4c8/r5c8 (9,7), twin r5c2/r6c2 (1,8); r6c1/r7c1
// (7,9) has lost r7c1. Grid B: r1c6-7, r2c6-7, r3c1-2 side by side, r2c9/r3c9, r4c3/r5c3,
// r7c5/r8c5 stacked, each with its twin.
TEST(GeneratorCarving, TwoCellCagesOfTwoGridsWorkedOutByHand) {
  struct Case {
    const std::string& grid;
    const char* cages;
    std::vector<int> colours;  // palette index of each cage
    int next_colour;
  };
  const Case cases[] = {
      {kGridA, "3,0910;5,7071;3,2324;4,5657;16,1726;15,5463;16,3443;9,3746;",
       {0, 0, 1, 1, 2, 2, 3, 3}, 4},
      {kGridB, "4,0506;8,7475;4,1415;4,6566;4,1819;10,6162;17,1726;12,5463;17,2938;6,4251;"
               "17,5867;7,1322;",
       {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5}, 6},
  };
  for (const Case& c : cases) {
    Prepared p(c.grid);
    Main& m = p.m;
    LayoutRun& run = p.run;
    m.carve_pairs(run);
    const int made = static_cast<int>(c.colours.size());
    EXPECT_EQ(m.gruppo, made);
    EXPECT_EQ(layout_text(m, 0, made - 1), c.cages);
    EXPECT_EQ(run.colour, c.next_colour);
    for (int g = 0; g < made; ++g) {
      const int first = m.cage_cell(g, 1);
      for (int k = 1; k <= 2; ++k) {
        EXPECT_EQ(m.Text1[m.cage_cell(g, k)].back_color(), palette(m, c.colours[g])) << g;
        EXPECT_TRUE(m.gruppodicella[m.cage_cell(g, k)].is(g));
      }
      EXPECT_EQ(m.textsomma[g].text(), m.sommagruppo[g].text());
      EXPECT_EQ(m.Textgruppo[g].text(), std::to_string(g));
      EXPECT_TRUE(m.textsomma[g].visible());
      EXPECT_EQ(m.textsomma[g].left(), m.Text1[first].left() + 1);
      EXPECT_EQ(m.textsomma[g].top(), m.Text1[first].top() + 3);
      EXPECT_EQ(m.Textgruppo[g].left(), m.Text1[first].left() + 1);
      EXPECT_EQ(m.Textgruppo[g].top(), m.Text1[first].top() + 19);
    }
    int caged = 0;
    for (int i = 0; i < kCells; ++i) caged += m.Text1[i].back_color() != m.bianco;
    EXPECT_EQ(caged, 2 * made);
  }
}

// Grid A after its pairs (no cell is shut in by them). Start r1c1 runs right over eight new
// digits: cut at 4, mirrored onto r9c9..r9c6. Start r1c5 takes r1c6..r1c9, then down r2c5,
// r2c6, r2c8: cut at 3, mirrored. Start r1c8 takes r1c9, r2c8, r3c8, then in its second sweep
// r2c7 and r2c6 leftwards: six cells, cut at 4; its mirror r9c2, r9c1, r8c2, r7c2 is free.
// Start r2c3 takes r2c4..r2c7 and r3c4: cut at 3, mirrored onto r8c7..r8c5.
TEST(GeneratorCarving, FirstGreedyCagesOfGridAWorkedOutByHand) {
  Prepared p(kGridA);
  Main& m = p.m;
  LayoutRun& run = p.run;
  m.carve_pairs(run);
  m.glue_lone_cells(run);
  ASSERT_EQ(m.gruppo, 8);
  m.carve_greedy(run);
  EXPECT_EQ(layout_text(m, 8, 15),
            "15,00010203;21,80797877;23,040506;19,767574;14,07081625;14,73726455;14,111213;"
            "20,696867;");
  for (int g = 8; g <= 15; ++g)
    for (int k = 1; k <= m.cage_size(g); ++k)
      EXPECT_EQ(m.Text1[m.cage_cell(g, k)].back_color(), palette(m, (g & ~1) % 16)) << g;
  // The mirror's boxes sit on the mirror of the carved cage's first cell.
  EXPECT_EQ(m.textsomma[9].left(), m.Text1[80].left() + 1);
  for (int i = 0; i < kCells; ++i) EXPECT_NE(m.Text1[i].back_color(), m.giallo) << i;
}

// The whole run on the two grids, verification tries included, ends with a layout that passes
// the independent check; the working copies equal the model, every cage has its boxes.
TEST(GeneratorCarving, WholeRunOnTheFixedGridsGivesValidLayouts) {
  for (const std::string* grid : {&kGridA, &kGridB}) {
    Started w;
    Main& m = *w.m;
    put_grid(m, *grid);
    m.genera_schema();
    ASSERT_FALSE(m.problema) << m.frmgeneratore.Text1.text();
    EXPECT_EQ(layout_problem(m, *grid), "");
    EXPECT_EQ(top_log_line(m).rfind(" tentativo ", 0), 0u);
    EXPECT_TRUE(w.rt.messages.empty());
    EXPECT_TRUE(m.generaeconta);
    for (int g = 0; g <= m.gruppi; ++g) {
      EXPECT_EQ(m.elementicopia[g].as_int(), m.elementigruppo[g].as_int());
      EXPECT_EQ(m.Textgruppo[g].text(), std::to_string(g));
      EXPECT_TRUE(m.textsomma[g].visible());
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Two-cell cages on hand-made boards (every other cell 5, which pairs with nothing).

TEST(GeneratorCarving, PairEdgeCases) {
  struct Case {
    const char* what;
    std::initializer_list<std::pair<int, int>> digits;
    const char* cages;
    int next_colour;
  };
  const Case cases[] = {
      {"a pair holding the centre cell has no twin", {{39, 1}, {40, 2}}, "3,3940;", 1},
      {"a stacked pair holding the centre cell has no twin", {{31, 9}, {40, 8}}, "17,3140;", 1},
      {"a first cell in column 9 pairs with nothing", {{8, 1}, {9, 2}}, "", 0},
      {"cell 79 pairs with cell 80; the twin is r1c1-2", {{79, 1}, {80, 3}, {0, 2}},
       "4,7980;7,0001;", 1},
      {"row 9 starts no stacked pair", {{72, 9}, {73, 8}}, "", 0},
      {"r5c4/r6c4 is twinned with r4c6/r5c6", {{39, 9}, {48, 7}, {32, 1}, {41, 1}},
       "16,3948;2,3241;", 1},
      // r5c5-6 has no twin; r4c4/r5c4 would be twinned with r5c6/r6c6, whose r5c6 is taken: no
      // twin, yet the colour moves on, so r6c8/r7c8 and its twin take colour 2.
      {"a twin already taken is skipped and the colour still advances",
       {{40, 1}, {41, 2}, {30, 9}, {39, 8}, {52, 9}, {61, 7}},
       "3,4041;17,3039;16,5261;10,1928;", 3},
  };
  for (const Case& c : cases) {
    Started w;
    Main& m = *w.m;
    put_digits(m, c.digits);
    LayoutRun run;
    m.carve_pairs(run);
    EXPECT_EQ(layout_text(m, 0, m.gruppo - 1), c.cages) << c.what;
    EXPECT_EQ(run.colour, c.next_colour) << c.what;
  }
}

TEST(GeneratorCarving, SeventeenthPairTakesTheFirstColourAgain) {
  Started w;
  Main& m = *w.m;
  // Rows 1 to 4 hold 1 2 1 2 1 2 1 2 in columns 1-8: four side-by-side pairs per row, each with
  // its twin in rows 9 to 6; the seventeenth pair is r5c1-2.
  std::vector<std::pair<int, int>> digits;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 8; ++col) digits.push_back({9 * row + col, col % 2 ? 2 : 1});
  digits.push_back({36, 1});
  digits.push_back({37, 2});
  m.nuovo_schema();
  m.ins_dati = true;
  for (int i = 0; i < kCells; ++i) m.Text1[i].set_text("5");
  for (const auto& [c, d] : digits) m.Text1[c].set_text(std::to_string(d));
  m.ins_dati = false;
  LayoutRun run;
  m.carve_pairs(run);
  ASSERT_EQ(m.gruppo, 34);
  EXPECT_EQ(layout_text(m, 32, 33), "3,3637;10,4344;");
  EXPECT_EQ(m.Text1[36].back_color(), palette(m, 0));
  EXPECT_EQ(m.Text1[44].back_color(), palette(m, 0));
  EXPECT_EQ(m.Text1[34].back_color(), palette(m, 15));  // the sixteenth pair, r4c7-8
  EXPECT_EQ(run.colour, 1);
}

// ---------------------------------------------------------------------------------------------
// Greedy carving.

// A start cell that makes no cage still moves the alternation on: r1c1 is shut in by cages on
// r1c2 and r2c1, so the next free start, r1c4, collects eight cells and is cut at 3.
TEST(GeneratorCarving, StartCellWithoutCageStillTogglesTheCutSize) {
  Prepared p(kGridA);
  Main& m = p.m;
  const std::array<int, 2> top{1, 2}, left{9, 18};
  m.make_cage(top, palette(m, 0));
  m.make_cage(left, palette(m, 1));
  m.carve_greedy(p.run);
  EXPECT_EQ(layout_text(m, 2, 3), "18,030405;12,777675;");
}

TEST(GeneratorCarving, MirrorEdgeCases) {
  // Row 1 holds 1..9: start r1c1 runs right to eight cells and is cut at 4. Its mirror r9c9..r9c6
  // holds 6 7 6 8: the second 6 refuses it.
  {
    Started w;
    Main& m = *w.m;
    put_digits(m, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9},
                   {80, 6}, {79, 7}, {78, 6}, {77, 8}});
    LayoutRun run;
    m.carve_greedy(run);
    // The next cage is r1c5's (cut at 3), whose mirror 5 5 7 is refused too.
    EXPECT_EQ(layout_text(m, 0, 1), "10,00010203;18,040506;");
  }
  // Everything before r4c5 is taken: r4c5 grows down through the centre cell, is cut at
  // {31, 40, 49, 58}, and its mirror starts on 49, a cell of the cage itself.
  {
    Started w;
    Main& m = *w.m;
    put_digits(m, {{31, 1}, {40, 2}, {49, 3}, {58, 4}, {67, 6}, {76, 7}});
    for (int c = 0; c < 31; ++c) m.Text1[c].set_back_color(palette(m, 3));
    for (int c = 32; c <= 35; ++c) m.Text1[c].set_back_color(palette(m, 3));
    m.gruppo = 0;
    LayoutRun run;
    m.carve_greedy(run);
    EXPECT_EQ(layout_text(m, 0, 0), "10,31404958;");
    EXPECT_NE(m.cage_cell(1, 1), 49);
    EXPECT_EQ(m.cage_of(49), 0);
  }
}

// ---------------------------------------------------------------------------------------------
// Lone-cell gluing on hand-made cages.

TEST(GeneratorCarving, GluingProbesInItsOrder) {
  struct Case {
    const char* what;
    int cell;
    std::vector<std::vector<int>> cages;  // the cages on the board, numbered from 0
    std::initializer_list<std::pair<int, int>> digits;
    int joined;  // the cage the cell joins, -1: it stays free
  };
  const Case cases[] = {
      // Corner r1c1: the probe above is r2c1 (reflected), then r1c2 twice, then r2c1 again.
      {"corner takes the cage below first", 0, {{1, 2}, {9, 18}}, {{0, 4}}, 1},
      {"corner skips the cage below holding its digit", 0, {{1, 2}, {9, 18}},
       {{0, 4}, {18, 4}}, 0},
      {"corner stays free when both cages hold its digit", 0, {{1, 2}, {9, 18}},
       {{0, 4}, {18, 4}, {2, 4}}, -1},
      // r1c5: below, then left, then right.
      {"a cell of row 1 tries the cage below first", 4, {{3, 12}, {5, 14}, {13, 22}}, {}, 2},
      {"then the cage to its left", 4, {{3, 12}, {5, 14}, {13, 22}}, {{22, 9}}, 0},
      // r2c9: above, left twice, below.
      {"a cell of column 9 tries above, then left", 17, {{8, 7}, {16, 15}, {26, 25}},
       {{17, 3}, {7, 3}}, 1},
      {"and below last", 17, {{8, 7}, {16, 15}, {26, 25}}, {{17, 3}, {7, 3}, {15, 3}}, 2},
      // A cage of seven cells takes no more: r5c5's probe above is full, so it joins the cage
      // on its left.
      {"a full cage is passed over", 40,
       {{31, 30, 29, 28, 27, 22, 13}, {39, 48}, {41, 50}, {49, 58}}, {}, 1},
      {"two neighbouring free cells shut in together stay free", 40,
       {{31, 30}, {39, 38}, {41, 42}, {50, 51}, {48, 47}, {58, 57}}, {}, -1},
  };
  for (const Case& c : cases) {
    Started w;
    Main& m = *w.m;
    std::vector<std::pair<int, int>> digits(c.digits);
    // Distinct digits in each cage unless the case says otherwise; the probed cell's digit 9.
    put_digits(m, {});
    for (const auto& cage : c.cages)
      for (size_t k = 0; k < cage.size(); ++k) m.Text1[cage[k]].set_text(std::to_string(k + 1));
    m.Text1[c.cell].set_text("9");
    for (const auto& [cell, d] : digits) m.Text1[cell].set_text(std::to_string(d));
    for (const auto& cage : c.cages) m.make_cage(cage, palette(m, m.gruppo + 2));
    const std::string sum_before = c.joined >= 0 ? m.textsomma[c.joined].text() : "";
    LayoutRun run;
    m.glue_lone_cells(run);
    if (c.joined < 0) {
      EXPECT_EQ(m.Text1[c.cell].back_color(), m.bianco) << c.what;
      EXPECT_EQ(m.cage_of(c.cell), -1) << c.what;
      continue;
    }
    const int g = c.joined;
    EXPECT_EQ(m.cage_of(c.cell), g) << c.what;
    const int n = static_cast<int>(c.cages[static_cast<size_t>(g)].size()) + 1;
    EXPECT_EQ(m.cage_size(g), n) << c.what;
    EXPECT_EQ(m.cage_cell(g, n), c.cell) << c.what;
    EXPECT_EQ(m.Text1[c.cell].back_color(), palette(m, g + 2)) << c.what;
    const int digit = m.Text1[c.cell].text()[0] - '0';
    EXPECT_EQ(m.textsomma[g].text(), std::to_string(std::stoi(sum_before) + digit)) << c.what;
    EXPECT_EQ(m.sommagruppo[g].num(), std::stoi(sum_before) + digit) << c.what;
  }
}

// ---------------------------------------------------------------------------------------------
// The repair's move and the renumbering.

// Cages over grid A: {0, 1, 2} (3 7 4), {9, 10} (1 2), {3, 12} (1 5), {18, 19, 20} (8 9 5),
// and the rest of the board in one-cell cages.
struct RepairBoard {
  Started w;
  Main& m = *w.m;
  explicit RepairBoard(std::vector<std::vector<int>> cages) {
    put_grid(m, kGridA);
    for (int i = 0; i < kCells; ++i) m.cellesalvate[i] = kGridA.substr(static_cast<size_t>(i), 1);
    std::array<bool, 81> taken{};
    for (const auto& c : cages) {
      m.make_cage(c, palette(m, m.gruppo % 16));
      for (int cell : c) taken[cell] = true;
    }
    for (int i = 0; i < kCells; ++i)
      if (!taken[i]) m.make_cage(std::array<int, 1>{i}, palette(m, m.gruppo % 16));
    // The ladder left these cells empty.
    m.ins_dati = true;
    for (int i : {0, 1, 2, 9, 10, 11}) m.Text1[i].set_text("");
    m.ins_dati = false;
    m.calling1 = "";
    LayoutRun run;
    m.freeze_layout(run);
  }
};

TEST(GeneratorCarving, RepairMoveKeepsCagesWholeAndCellsCovered) {
  struct Case {
    const char* what;
    std::vector<std::vector<int>> cages;
    int cell;
    bool moves;
    const char* first_cages;  // cages 0.. of the working copies afterwards (sum, cells)
  };
  const Case cases[] = {
      // r1c3 (4) looks right at r1c4, whose cage {3, 12} lacks a 4.
      {"an end cell moves to the cage on its right", {{0, 1, 2}, {3, 12}}, 2, true,
       "10,0001;10,031202;"},
      {"the middle cell would split its cage", {{0, 1, 2}, {3, 12}}, 1, false,
       "14,000102;6,0312;"},
      // r1c3 (4): right is {3, 12, 21} holding a 4 at r3c4; left is its own cage; below is r2c3.
      {"a cage holding the digit is passed over", {{0, 1, 2}, {3, 12, 21}, {11, 20}}, 2, true,
       "10,0001;10,031221;15,112002;"},
      // r2c1 (1) of the pair {9, 10}: right is its own cage, below r3c1's {18, 19, 20};
      // r2c2 (2) then finds r2c3's one-cell cage on its right.
      {"a two-cell cage is dissolved when both cells find a cage", {{9, 10}, {18, 19, 20}}, 9,
       true, "0,;23,18192009;"},
      // r2c1 (1) finds the cage below it; every other neighbour of r2c2 (r1c2, r2c3, r3c2) lies
      // in that same cage, so r2c2 finds none and the pair stays.
      {"a two-cell cage stays when its other cell finds no cage",
       {{9, 10}, {18, 19, 20, 11, 2, 1}}, 9, false, "3,0910;39,181920110201;"},
      // The cage below r1c3 is full.
      {"a full cage takes no eighth cell", {{0, 1, 2}, {11, 20, 29, 38, 47, 56, 65}, {3, 12, 21}},
       2, false, "14,000102;"},
  };
  for (const Case& c : cases) {
    RepairBoard b(c.cages);
    Main& m = b.m;
    EXPECT_EQ(m.move_to_neighbour_cage(c.cell), c.moves) << c.what;
    std::string copies;
    const std::string want = c.first_cages;
    for (int g = 0; copies.size() < want.size(); ++g) {
      copies += num_text(m.sommacopia[g].num()) + ",";
      for (int k = 1; k <= m.copy_size(g); ++k) {
        const int cell = m.copy_cell(g, k);
        copies += (cell < 10 ? "0" : "") + std::to_string(cell);
      }
      copies += ";";
    }
    EXPECT_EQ(copies, want) << c.what;
    if (c.moves) {
      EXPECT_EQ(m.Text1[c.cell].text(), kGridA.substr(static_cast<size_t>(c.cell), 1));
    }
  }
}

// After the move, the renumbering drops the emptied cage: the cages after it move down one
// number, the boxes of the old last number are hidden, and the layout is whole again.
TEST(GeneratorCarving, RenumberingDropsTheDissolvedCage) {
  RepairBoard b({{9, 10}, {18, 19, 20}});
  Main& m = b.m;
  const int last = m.gruppi;
  ASSERT_TRUE(m.move_to_neighbour_cage(9));
  LayoutRun run;
  run.tries = 1;
  ASSERT_TRUE(m.renumber_cages(run));
  EXPECT_EQ(m.gruppi, last - 1);
  EXPECT_EQ(layout_text(m, 0, 0), "23,18192009;");
  EXPECT_FALSE(m.textsomma[last].visible());
  EXPECT_FALSE(m.Textgruppo[last].visible());
  EXPECT_EQ(layout_problem(m, kGridA), "");
  EXPECT_FALSE(m.problema);
  EXPECT_TRUE(b.w.rt.messages.empty());
}

// A cell that a repair left without a cage ends the run with a log line, not with a layout that
// has a hole, and no message box.
TEST(GeneratorCarving, RenumberingRefusesACellWithoutCage) {
  RepairBoard b({{9, 10}, {18, 19, 20}});
  Main& m = b.m;
  m.elementicopia[0] = 1;  // r2c2 dropped from its pair
  m.sommacopia[0] = 1;
  LayoutRun run;
  run.tries = 2;
  EXPECT_FALSE(m.renumber_cages(run));
  EXPECT_TRUE(m.problema);
  EXPECT_EQ(m.livello, 14);
  EXPECT_EQ(top_log_line(m), " cella senza gruppo 2");
  EXPECT_TRUE(b.w.rt.messages.empty());
}

// ---------------------------------------------------------------------------------------------
// The whole run.

TEST(GeneratorCarving, ManySeededGridsGiveValidLayouts) {
  Started w;
  Main& m = *w.m;
  int accepted = 0;
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    w.rt.Randomize(seed);
    m.genera_griglia_classica();
    std::string grid;
    for (int i = 0; i < kCells; ++i) grid += m.Text1[i].text();
    ASSERT_TRUE(test::valid_grid(grid));
    m.frmgeneratore.Text1.set_text("");
    m.genera_schema();
    if (m.problema) {
      // A refused layout says why on top of the try log.
      EXPECT_EQ(m.livello, 14);
      const std::string why = top_log_line(m);
      bool known = false;
      for (const char* line : {" cella senza gruppo ", " troppi cicli ", " non risolvibile,troppi vuoti ",
                               " soluzioni non uniche ", " problema nella soluzione "})
        known = known || why.rfind(line, 0) == 0;
      EXPECT_TRUE(known) << "seed " << seed << ": " << why;
      continue;
    }
    ++accepted;
    ASSERT_EQ(layout_problem(m, grid), "") << "seed " << seed;
    EXPECT_EQ(m.cellesalvate[40], grid.substr(40, 1));
  }
  EXPECT_GE(accepted, 150);
  EXPECT_TRUE(w.rt.messages.empty());
}

TEST(GeneratorCarving, TheSameSeedCarvesTheSameLayout) {
  Started a, b;
  std::string layouts[2];
  int k = 0;
  for (Started* s : {&a, &b}) {
    s->rt.Randomize(77u);
    s->m->genera_griglia_classica();
    s->m->genera_schema();
    layouts[k++] = layout_text(*s->m, 0, s->m->gruppi);
  }
  EXPECT_EQ(layouts[0], layouts[1]);
}

// In batch mode the solver completes the puzzle in stringa; a puzzle without a completion is
// refused before any cage is carved (its cages would have sums of 0), with a log line only.
TEST(GeneratorCarving, BatchModeCompletesThePuzzleOrRefusesIt) {
  const auto& puzzle = test::classic_puzzles().front();
  {
    Started w;
    Main& m = *w.m;
    m.nuovo_schema();
    m.generatorecontinuo = true;
    m.stringa = puzzle.puzzle;
    m.finito = false;
    m.genera_schema();
    ASSERT_FALSE(m.problema) << m.frmgeneratore.Text1.text();
    EXPECT_EQ(layout_problem(m, puzzle.solution), "");
  }
  {
    Started w;
    Main& m = *w.m;
    m.nuovo_schema();
    m.generatorecontinuo = true;
    m.stringa = "11" + std::string(79, '.');
    m.finito = false;
    m.genera_schema();
    EXPECT_TRUE(m.problema);
    EXPECT_EQ(m.livello, 14);
    EXPECT_EQ(m.frmgeneratore.Text1.text(), " griglia senza soluzione \r\n");
    EXPECT_EQ(m.gruppo, 0);
    EXPECT_TRUE(w.rt.messages.empty());
    for (int i = 0; i < kCells; ++i) EXPECT_EQ(m.Text1[i].back_color(), m.bianco);
  }
}

TEST(GeneratorCarving, PencilMarksAreHiddenOnceBeforeTheGridIsWritten) {
  for (const bool shown : {true, false}) {
    Started w;
    Main& m = *w.m;
    put_grid(m, kGridB);
    if (shown) m.mnupencil_Click();
    // The set-up ends with a yield: the grid is written, the pencil marks are off.
    bool checked = true, all_visible = false;
    w.rt.on_yield = [&] {
      if (!checked) return;
      checked = m.mnupencil.checked();
      all_visible = true;
      for (int i = 0; i < kCells; ++i) all_visible = all_visible && m.Text1[i].visible();
    };
    m.genera_schema();
    EXPECT_FALSE(checked);
    EXPECT_TRUE(all_visible);
  }
}

}  // namespace
}  // namespace ks
