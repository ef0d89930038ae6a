// The cage interaction techniques: cage against line, required digits of cages, cage against cage,
// on hand-built boards with exact eliminations and texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/text.h"
#include "technique_board.h"

namespace ks {
namespace {

using test::at;
using test::candidates_left;
using test::each;
using test::expect_outcome;
using test::HandBoard;
using test::kCageTechniques;
using test::keeps_solution;
using test::operator+;
using test::run_cases;
using test::without;

// A derived cage: its cells keep the numbers of their real cages.
void derived(HandBoard& b, int g, std::initializer_list<int> cells, const std::string& required) {
  int k = 0;
  for (int c : cells) b.m.cellegruppo.set(g, ++k, c);
  b.m.elementigruppo.set(g, k);
  b.m.numeriobbligati[g] = required;
  if (g > b.m.gruppo1) b.m.gruppo1 = g;
}
// Digit d leaves every cell of row r (column c) but the listed ones.
void keep_in_row(HandBoard& b, char d, int r, std::initializer_list<int> columns) {
  for (int c = 1; c <= 9; ++c)
    if (std::find(columns.begin(), columns.end(), c) == columns.end()) b.drop(d, {at(r, c)});
}
void keep_in_column(HandBoard& b, char d, int c, std::initializer_list<int> rows) {
  for (int r = 1; r <= 9; ++r)
    if (std::find(rows.begin(), rows.end(), r) == rows.end()) b.drop(d, {at(r, c)});
}

// ---------------------------------------------------------------------------------------------
// Cage against line

const auto by_column = [](Main& m) { m.cerca_interazione_gruppo_colonna(); };
const auto by_row = [](Main& m) { m.cerca_interazione_gruppo_riga(); };
const auto by_box = [](Main& m) { m.cerca_interazione_gruppo_settore(); };

// Column 4 holds its 6 only in cage 0 {r2c4, r3c4, r3c5}: r3c5 loses 6.
void six_of_column_four(HandBoard& b) {
  b.cage(0, {at(2, 4), at(3, 4), at(3, 5)});
  keep_in_column(b, '6', 4, {2, 3});
}

TEST(CageLine, DigitOfAUnitConfinedToOneCageLeavesTheCageOutsideTheUnit) {
  run_cases({
      {.name = "column",
       .setup = six_of_column_four,
       .run = by_column,
       .expect = {.changed = {{at(3, 5), "12345789"}},
                  .log = {"--------------------", "INTERAZIONE GRUPPO COLONNA ",
                          "nella colonna 4 il numero 6 è contenuto solo nel gruppo r3c5",
                          " * elimino il numero 6 da  r3c5,"},
                  .hint = "eliminato il 6 da r3c5"}},
      // Two patterns in one run, each with its own header; the statement names the first cage
      // cell outside the row, and every such cell loses the digit.
      {.name = "row, two findings",
       .setup =
           [](HandBoard& b) {
             b.cage(1, {at(2, 1), at(2, 2), at(1, 2), at(1, 3)});
             keep_in_row(b, '3', 2, {1, 2});
             b.cage(2, {at(5, 8), at(6, 8), at(5, 9)});
             keep_in_row(b, '7', 5, {8, 9});
           },
       .run = by_row,
       .expect = {.changed = each({at(1, 2), at(1, 3)}, "12456789") +
                             each({at(6, 8)}, "12345689"),
                  .log = {"--------------------", "INTERAZIONE GRUPPO RIGA ",
                          "nella riga 2 il numero 3 è contenuto solo nel gruppo r1c2",
                          " * elimino il numero 3 da  r1c2, r1c3,", "--------------------",
                          "INTERAZIONE GRUPPO RIGA ",
                          "nella riga 5 il numero 7 è contenuto solo nel gruppo r6c8",
                          " * elimino il numero 7 da  r6c8,"},
                  .hint = "eliminato il 7 da r6c8"}},
      {.name = "box",
       .setup =
           [](HandBoard& b) {
             b.cage(3, {at(4, 3), at(4, 4), at(5, 4)});
             for (int k = 0; k < 9; ++k) {
               const int cell = b.m.cellesettore[4][k];
               if (cell != at(4, 4) && cell != at(5, 4)) b.drop('9', {cell});
             }
           },
       .run = by_box,
       .expect = {.changed = {{at(4, 3), "12345678"}},
                  .log = {"--------------------", "INTERAZIONE GRUPPO SETTORE ",
                          "nel settore 5 il numero 9 è contenuto solo nel gruppo r4c3",
                          " * elimino il numero 9 da  r4c3,"},
                  .hint = "eliminato il 9 da r4c3"}},
      {.name = "all of the cage inside the unit",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(2, 4), at(3, 4)});
             keep_in_column(b, '6', 4, {2, 3});
           },
       .run = by_column,
       .expect = {.modificato = false}},
      {.name = "places in two cages",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(2, 4), at(3, 4), at(3, 5)});
             b.cage(1, {at(7, 4), at(7, 5)});
             keep_in_column(b, '6', 4, {2, 3, 7});
           },
       .run = by_column,
       .expect = {.modificato = false}},
      {.name = "trial: no log, the hint still changes",
       .setup = six_of_column_four,
       .run = by_column,
       .expect = {.changed = {{at(3, 5), "12345789"}}, .hint = "eliminato il 6 da r3c5"},
       .calling1 = "trial"},
      {.name = "generator: no header, the cell fragment still logged",
       .setup = six_of_column_four,
       .run = by_column,
       .expect = {.changed = {{at(3, 5), "12345789"}}, .log = {}, .hint = " r3c5"},
       .chiamante = "genera"},
  });
}

// A digit of a unit that stands in a cell of no cage is not confined to a cage, and a cell of no
// cage never names cage 0.
TEST(CageLine, CellInNoCageStopsTheDigitOfItsUnit) {
  run_cases({
      {.name = "only cells of no cage",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(2, 5), at(3, 5)});
             keep_in_column(b, '6', 4, {1, 9});
           },
       .run = by_column,
       .expect = {.modificato = false}},
      {.name = "a cage and a cell of no cage",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(2, 4), at(3, 4), at(3, 5)});
             keep_in_column(b, '6', 4, {2, 3, 9});
           },
       .run = by_column,
       .expect = {.modificato = false}},
  });
}

// The generator case above leaves the log's last line with the fragment alone; check that the
// fragment really went to the end of the previous text, without a line break.
TEST(CageLine, GeneratorRunAppendsTheFragmentToTheLastLine) {
  HandBoard b;
  b.m.chiamante = "genera";
  six_of_column_four(b);
  b.m.frmlog.Text3.set_text("prima");
  b.m.cerca_interazione_gruppo_colonna();
  EXPECT_EQ(b.m.frmlog.Text3.text(), "prima r3c5,");
}

// ---------------------------------------------------------------------------------------------
// Required digits of cages

const auto required = [](Main& m) { m.numeri_obbligati_nel_gruppo(); };

std::map<int, std::string> row_cells(int r, int from, int to, const std::string& candidates) {
  std::map<int, std::string> out;
  for (int c = from; c <= to; ++c) out[at(r, c)] = candidates;
  return out;
}
std::map<int, std::string> column_cells(int c, int from, int to, const std::string& candidates) {
  std::map<int, std::string> out;
  for (int r = from; r <= to; ++r) out[at(r, c)] = candidates;
  return out;
}

// Cage 0 {r1c1, r1c2, r1c3} of sum 6: 1, 2 and 3 all required, all in row 1.
void row_of_six(HandBoard& b) {
  b.cage(0, {at(1, 1), at(1, 2), at(1, 3)}, "123");
  for (int c = 1; c <= 3; ++c) b.set(at(1, c), "123");
}

TEST(RequiredDigits, RequiredDigitOnOneLineOrTwoLinesOfABandLeavesTheCellsThatSeeItsPlaces) {
  run_cases({
      {.name = "one row: each digit its own header",
       .setup = row_of_six,
       .run = required,
       .expect = {.changed = row_cells(1, 4, 9, "456789"),
                  .log = {"numero obbligato 1 nel gruppo r1c3",
                          " * elimino il numero 1da r1c4da r1c5da r1c6da r1c7da r1c8da r1c9",
                          "numero obbligato 2 nel gruppo r1c3",
                          " * elimino il numero 2da r1c4da r1c5da r1c6da r1c7da r1c8da r1c9",
                          "numero obbligato 3 nel gruppo r1c3",
                          " * elimino il numero 3da r1c4da r1c5da r1c6da r1c7da r1c8da r1c9"},
                  .hint = "eliminato il numero 3 da r1c4 ,  da r1c5 ,  da r1c6 ,  da r1c7 ,  "
                          "da r1c8 ,  da r1c9 , "}},
      // Cage {r1c1, r2c1} of sum 17: the row pass sees a band whose other boxes still hold 8
      // and 9 on row 3, the column pass clears column 1.
      {.name = "one column",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(1, 1), at(2, 1)}, "89");
             b.set(at(1, 1), "89");
             b.set(at(2, 1), "89");
           },
       .run = required,
       .expect = {.changed = column_cells(1, 3, 9, "1234567"),
                  .log = {"numero obbligato 8 nel gruppo r2c1",
                          " * elimino il numero 8 da r3c1 da r4c1 da r5c1 da r6c1 da r7c1 da "
                          "r8c1 da r9c1",
                          "numero obbligato 9 nel gruppo r2c1",
                          " * elimino il numero 9 da r3c1 da r4c1 da r5c1 da r6c1 da r7c1 da "
                          "r8c1 da r9c1"},
                  .hint = "eliminato il numero 9 da r3c1 ,  da r4c1 ,  da r5c1 ,  da r6c1 ,  da "
                          "r7c1 ,  da r8c1 ,  da r9c1 , "}},
      // Cage {r1c1, r2c1} of sum 3; box 2 has no 1 on row 3, so it takes its 1 on row 1 or 2:
      // rows 1 and 2 lose 1 where a cell sees both places (box 1), not in box 3.
      {.name = "two rows of a band",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(1, 1), at(2, 1)}, "12");
             b.set(at(1, 1), "12");
             b.set(at(2, 1), "12");
             b.drop('1', {at(3, 4), at(3, 5), at(3, 6)});
           },
       .run = required,
       .expect = {.changed = each({at(2, 2), at(2, 3), at(1, 2), at(1, 3)}, "23456789") +
                             column_cells(1, 3, 9, "3456789"),
                  .log = {"-----------------------", "INTERAZIONE gruppo 0 settore 2 numero 1",
                          " * elimino il numero 1 da r2c2 da r2c3 da r1c2 da r1c3",
                          "numero obbligato 1 nel gruppo r2c1",
                          " * elimino il numero 1 da r3c1 da r4c1 da r5c1 da r6c1 da r7c1 da "
                          "r8c1 da r9c1",
                          "numero obbligato 2 nel gruppo r2c1",
                          " * elimino il numero 2 da r3c1 da r4c1 da r5c1 da r6c1 da r7c1 da "
                          "r8c1 da r9c1"},
                  .hint = "eliminato il numero 2 da r3c1 ,  da r4c1 ,  da r5c1 ,  da r6c1 ,  da "
                          "r7c1 ,  da r8c1 ,  da r9c1 , "}},
      // A derived cage is known by its cell list: its cells keep their real cages' numbers.
      {.name = "derived cage keeps the digit in its own cells",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(1, 1), at(1, 2)});
             b.cage(1, {at(1, 3), at(2, 3)});
             derived(b, 2, {at(1, 1), at(1, 2), at(1, 3)}, "9");
             for (int c = 1; c <= 3; ++c) b.set(at(1, c), "789");
           },
       .run = required,
       .expect = {.changed = row_cells(1, 4, 9, "12345678"),
                  .log = {"numero obbligato 9 nel gruppo r1c3",
                          " * elimino il numero 9da r1c4da r1c5da r1c6da r1c7da r1c8da r1c9"},
                  .hint = "eliminato il numero 9 da r1c4 ,  da r1c5 ,  da r1c6 ,  da r1c7 ,  "
                          "da r1c8 ,  da r1c9 , "}},
      {.name = "places on two alternating rows",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(1, 1), at(2, 1), at(1, 2)}, "1");
             for (int cell : {at(1, 1), at(2, 1), at(1, 2)}) b.set(cell, "12");
           },
       .run = required,
       .expect = {.modificato = false}},
      {.name = "places on two rows of different bands",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(3, 1), at(4, 1), at(4, 2)}, "1");
             b.set(at(3, 1), "12");
             b.set(at(4, 1), "23");
             b.set(at(4, 2), "12");
           },
       .run = required,
       .expect = {.modificato = false}},
      {.name = "six empty cells",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(1, 1), at(1, 2), at(1, 3), at(1, 4), at(1, 5), at(1, 6)}, "1");
             for (int c = 1; c <= 6; ++c) b.set(at(1, c), "123456");
           },
       .run = required,
       .expect = {.modificato = false}},
      {.name = "generator: nothing",
       .setup = row_of_six,
       .run = required,
       .expect = {.modificato = false},
       .chiamante = "genera"},
      {.name = "trial: removals without log",
       .setup = row_of_six,
       .run = required,
       .expect = {.changed = row_cells(1, 4, 9, "456789"),
                  .hint = "eliminato il numero 3 da r1c4 ,  da r1c5 ,  da r1c6 ,  da r1c7 ,  "
                          "da r1c8 ,  da r1c9 , "},
       .calling1 = "trial"},
  });
}

// A cage r2c3, r3c3, r3c4, r4c4 whose required 4 stands only at r2c3 and r3c4: box 2 has no 4 on
// row 1, but the cage may take its 4 in box 2 itself, so row 2 keeps its 4 outside the cage;
// only r3c1 and r3c2, which see both places, lose it.
TEST(RequiredDigits, RemovesTheDigitOnlyFromCellsThatSeeEveryPlaceOfIt) {
  HandBoard b;
  b.cage(0, {at(2, 3), at(3, 3), at(3, 4), at(4, 4)}, "4");
  b.set(at(2, 3), "45");
  b.set(at(3, 3), "56");
  b.set(at(3, 4), "47");
  b.set(at(4, 4), "58");
  b.drop('4', {at(1, 4), at(1, 5), at(1, 6)});
  b.snapshot();
  b.m.numeri_obbligati_nel_gruppo();
  expect_outcome(b, {.changed = each({at(3, 1), at(3, 2)}, "12356789"),
                     .log = {"-----------------------", "INTERAZIONE gruppo 0 settore 2 numero 4",
                             " * elimino il numero 4 da r3c1 da r3c2"},
                     .hint = "elimino il numero 4 da r3c1 ,  da r3c2 , "});
  for (int c : {1, 2, 5, 6, 7, 8, 9}) EXPECT_TRUE(has_char(b.m.Text2[at(2, c)].text(), '4')) << c;
  EXPECT_EQ(b.m.Text5.text(), "4");
}

// ---------------------------------------------------------------------------------------------
// Cage against cage

const auto cage_vs_cage = [](Main& m) { m.interazione_gruppo_gruppo(); };

// 5 required in cages 3 and 7, their places on rows 2 and 4.
void fives_on_rows_two_and_four(HandBoard& b) {
  b.cage(3, {at(2, 1), at(3, 1), at(4, 1)}, "5");
  b.cage(7, {at(4, 5), at(3, 5), at(2, 5)}, "5");
  b.set(at(3, 1), "12");
  b.set(at(3, 5), "12");
  b.drop('5', {at(2, 3), at(4, 9)});
}

// 4 required in cages 0 {r1c2, r1c3} and 1 {r7c3, r7c2}: columns 2 and 3.
void fours_on_columns_two_and_three(HandBoard& b) {
  b.cage(0, {at(1, 2), at(1, 3)}, "4");
  b.cage(1, {at(7, 3), at(7, 2)}, "4");
}

TEST(CageVsCage, DigitRequiredByTwoCagesOnTheSameTwoLinesLeavesTheRestOfThem) {
  const auto column_cells_of_four = without(
      "4", {at(2, 2), at(3, 2), at(4, 2), at(5, 2), at(6, 2), at(8, 2), at(9, 2), at(2, 3),
            at(3, 3), at(4, 3), at(5, 3), at(6, 3), at(8, 3), at(9, 3)});
  std::vector<std::string> column_log;
  for (const int c : {2, 3})
    for (const int r : {2, 3, 4, 5, 6, 8, 9})
      column_log.push_back(" * elimino il numero 4da r" + std::to_string(r) + "c" +
                           std::to_string(c));
  std::string column_hint;
  for (const int c : {2, 3})
    for (const int r : {2, 3, 4, 5, 6, 8, 9})
      column_hint += "4 da r" + std::to_string(r) + "c" + std::to_string(c) + " , ";

  run_cases({
      {.name = "rows",
       .setup = fives_on_rows_two_and_four,
       .run = cage_vs_cage,
       .expect = {.changed = without("5", {at(2, 2), at(2, 4), at(2, 6), at(2, 7), at(2, 8),
                                           at(2, 9), at(4, 2), at(4, 3), at(4, 4), at(4, 6),
                                           at(4, 7), at(4, 8)}),
                  .log = {"-----------------------", "INTERAZIONE gruppo 7 gruppo 3 numero 5",
                          " * elimino il numero 5 da r2c2 , 5 da r2c4 , 5 da r2c6 , 5 da r2c7 , "
                          "5 da r2c8 , 5 da r2c9 , 5 da r4c2 , 5 da r4c3 , 5 da r4c4 , 5 da "
                          "r4c6 , 5 da r4c7 , 5 da r4c8 , "},
                  .hint = "elimino il numero 5 da r2c2 , 5 da r2c4 , 5 da r2c6 , 5 da r2c7 , "
                          "5 da r2c8 , 5 da r2c9 , 5 da r4c2 , 5 da r4c3 , 5 da r4c4 , 5 da "
                          "r4c6 , 5 da r4c7 , 5 da r4c8 , "}},
      // In a solve the column pass writes no header and logs each cell on a line of its own.
      {.name = "columns",
       .setup = fours_on_columns_two_and_three,
       .run = cage_vs_cage,
       .expect = {.changed = column_cells_of_four, .log = column_log, .hint = column_hint}},
      {.name = "required by one cage only",
       .setup =
           [](HandBoard& b) {
             fives_on_rows_two_and_four(b);
             b.m.numeriobbligati[7] = "6";
           },
       .run = cage_vs_cage,
       .expect = {.modificato = false}},
      {.name = "three rows in one cage",
       .setup =
           [](HandBoard& b) {
             fives_on_rows_two_and_four(b);
             b.set(at(3, 5), "15");
           },
       .run = cage_vs_cage,
       .expect = {.modificato = false}},
      {.name = "trial: no log",
       .setup = fives_on_rows_two_and_four,
       .run = cage_vs_cage,
       .expect = {.changed = without("5", {at(2, 2), at(2, 4), at(2, 6), at(2, 7), at(2, 8),
                                           at(2, 9), at(4, 2), at(4, 3), at(4, 4), at(4, 6),
                                           at(4, 7), at(4, 8)}),
                  .hint = "elimino il numero 5 da r2c2 , 5 da r2c4 , 5 da r2c6 , 5 da r2c7 , "
                          "5 da r2c8 , 5 da r2c9 , 5 da r4c2 , 5 da r4c3 , 5 da r4c4 , 5 da "
                          "r4c6 , 5 da r4c7 , 5 da r4c8 , "},
       .calling1 = "trial"},
  });
}

// One call stops after the first cage that changed something; the next call finds the next one.
TEST(CageVsCage, EachCallEndsAfterTheFirstCageThatChangedSomething) {
  HandBoard b;
  fours_on_columns_two_and_three(b);
  b.cage(2, {at(4, 7), at(4, 8)}, "9");
  b.cage(3, {at(6, 8), at(6, 7)}, "9");
  b.snapshot();
  b.m.interazione_gruppo_gruppo();
  EXPECT_TRUE(b.m.modificato);
  EXPECT_TRUE(has_char(b.m.Text2[at(1, 7)].text(), '9'));
  EXPECT_FALSE(has_char(b.m.Text2[at(2, 2)].text(), '4'));
  b.snapshot();
  b.m.interazione_gruppo_gruppo();
  EXPECT_TRUE(b.m.modificato);
  std::map<int, std::string> nines;
  for (const int c : {7, 8})
    for (const int r : {1, 2, 3, 5, 7, 8, 9}) nines[at(r, c)] = "12345678";
  EXPECT_EQ(b.changes(), nines);
  b.snapshot();
  b.m.interazione_gruppo_gruppo();
  EXPECT_FALSE(b.m.modificato);
}

// A derived cage that shares cells with a real cage may take the same digit in the same cell, so
// the two do not make a pair; the derived cage's own cells never lose its digit.
TEST(CageVsCage, OverlappingDerivedCageIsNotPairedWithTheCageItContains) {
  HandBoard b;
  b.cage(0, {at(1, 1), at(2, 1)}, "1");
  b.cage(1, {at(1, 2), at(1, 3)}, "");
  b.set(at(1, 1), "12");
  b.set(at(2, 1), "12");
  b.set(at(1, 2), "3456");
  derived(b, 2, {at(1, 1), at(2, 1), at(1, 2)}, "1");
  b.snapshot();
  b.m.interazione_gruppo_gruppo();
  EXPECT_FALSE(b.m.modificato);
  EXPECT_TRUE(b.changes().empty());
}

// ---------------------------------------------------------------------------------------------
// Step mode: each finding waits at the traffic light with its cells highlighted

TEST(CageInteractions, StepModeGatesEachFindingAndNoSkipsIt) {
  {
    SCOPED_TRACE("cage against line: yes to the first finding, no to the second");
    HandBoard b;
    b.cage(1, {at(2, 1), at(2, 2), at(1, 2), at(1, 3)});
    keep_in_row(b, '3', 2, {1, 2});
    b.cage(2, {at(5, 8), at(6, 8), at(5, 9)});
    keep_in_row(b, '7', 5, {8, 9});
    const auto waits = test::step(b, &Main::cerca_interazione_gruppo_riga, {"si", "no"});
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_EQ(waits[0].hint, "nella riga 2 il numero 3 è contenuto solo nel gruppo r1c2");
    EXPECT_EQ(waits[0].yellow, std::vector<int>{at(1, 2)});
    EXPECT_EQ(waits[1].hint, "nella riga 5 il numero 7 è contenuto solo nel gruppo r6c8");
    EXPECT_EQ(waits[1].yellow, std::vector<int>{at(6, 8)});
    expect_outcome(b, {.changed = each({at(1, 2), at(1, 3)}, "12456789"),
                       .log = {"--------------------", "INTERAZIONE GRUPPO RIGA ",
                               "nella riga 2 il numero 3 è contenuto solo nel gruppo r1c2",
                               " * elimino il numero 3 da  r1c2, r1c3,", "--------------------",
                               "INTERAZIONE GRUPPO RIGA ",
                               "nella riga 5 il numero 7 è contenuto solo nel gruppo r6c8"},
                       .hint = "nella riga 5 il numero 7 è contenuto solo nel gruppo r6c8"});
    test::expect_gate_closed(b.m);
  }
  {
    SCOPED_TRACE("required digits: yes to digit 1, no to digit 2 ends the call");
    HandBoard b;
    row_of_six(b);
    const auto waits = test::step(b, &Main::numeri_obbligati_nel_gruppo, {"si", "no"});
    ASSERT_EQ(waits.size(), 2u);
    const std::vector<int> cage = {at(1, 1), at(1, 2), at(1, 3)};
    EXPECT_EQ(waits[0].hint, "numero obbligato 1 nel gruppo r1c3");
    EXPECT_EQ(waits[0].yellow, cage);
    EXPECT_EQ(waits[1].hint, "numero obbligato 2 nel gruppo r1c3");
    EXPECT_EQ(waits[1].yellow, cage);
    expect_outcome(b, {.changed = row_cells(1, 4, 9, "23456789"),
                       .log = {"numero obbligato 1 nel gruppo r1c3",
                               " * elimino il numero 1da r1c4da r1c5da r1c6da r1c7da r1c8da r1c9",
                               "numero obbligato 2 nel gruppo r1c3"},
                       .hint = "numero obbligato 2 nel gruppo r1c3"});
    EXPECT_EQ(b.m.Text5.text(), "2");
    test::expect_gate_closed(b.m);
  }
  {
    SCOPED_TRACE("cage against cage: no leaves the board as it was");
    HandBoard b;
    fives_on_rows_two_and_four(b);
    const auto waits = test::step(b, &Main::interazione_gruppo_gruppo, {"no"});
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].hint, "INTERAZIONE gruppo 7 gruppo 3 numero 5");
    EXPECT_EQ(waits[0].yellow, (std::vector<int>{at(2, 5), at(3, 5), at(4, 5)}));
    expect_outcome(b, {.log = {"-----------------------", "INTERAZIONE gruppo 7 gruppo 3 numero 5"},
                       .hint = "INTERAZIONE gruppo 7 gruppo 3 numero 5"});
    test::expect_gate_closed(b.m);
  }
  {
    SCOPED_TRACE("cage against cage: one wait per digit, then every removal");
    HandBoard b;
    fives_on_rows_two_and_four(b);
    const auto waits = test::step(b, &Main::interazione_gruppo_gruppo, {"si"});
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(b.m.txthint.text(),
              "elimino il numero 5 da r2c2 , 5 da r2c4 , 5 da r2c6 , 5 da r2c7 , 5 da r2c8 , 5 da "
              "r2c9 , 5 da r4c2 , 5 da r4c3 , 5 da r4c4 , 5 da r4c6 , 5 da r4c7 , 5 da r4c8 , ");
    test::expect_gate_closed(b.m);
  }
}

// ---------------------------------------------------------------------------------------------
// Shared behaviour

constexpr size_t kTechniqueCount = kCageTechniques.size();

// On every puzzle with a known solution, rounds of the sum check, the naked singles (typed as a
// player would) and each cage technique, until a round changes nothing: the solution stays, no
// contradiction is met, and each technique acts on some puzzle.
TEST(CageInteractions, KeepTheSolutionOnEveryPuzzle) {
  std::array<int, kTechniqueCount> acted{};
  for (const test::Puzzle& p : test::puzzles()) {
    HandBoard b;
    Main& m = b.m;
    test::load_layout(m, p.layout);
    ASSERT_FALSE(m.problema) << p.id;
    std::array<bool, kTechniqueCount> changed{};
    ASSERT_NO_FATAL_FAILURE(test::solve_in_rounds(m, p, [&] {
      for (size_t t = 0; t < kTechniqueCount; ++t) {
        const int before = candidates_left(m);
        kCageTechniques[t].run(m);
        ASSERT_TRUE(keeps_solution(m, p, kCageTechniques[t].name));
        if (candidates_left(m) != before) changed[t] = true;
      }
    }));
    for (size_t t = 0; t < kTechniqueCount; ++t) acted[t] += changed[t];
  }
  for (size_t t = 0; t < kTechniqueCount; ++t) EXPECT_GT(acted[t], 0) << kCageTechniques[t].name;
}

// The same on thinned positions: from each puzzle, candidates that the solution does not use are
// dropped at random, every cage gets the combinations and required digits of that position, and
// each cage technique runs until it changes nothing.
TEST(CageInteractions, KeepTheSolutionOnThinnedPositions) {
  std::array<int, kTechniqueCount> removed{};
  std::mt19937 random(20240611u);
  for (const test::Puzzle& p : test::puzzles()) {
    for (const int keep_percent : {25, 50, 75}) {
      HandBoard b;
      Main& m = b.m;
      test::load_layout(m, p.layout);
      test::thin_candidates(m, p, random, keep_percent);
      for (int g = 0; g <= m.gruppi; ++g) {
        m.origine = "somme1";
        m.calcola_somme_gruppo(g);
        if (m.numerosomme[g].as_int() > 0) m.numeri_comuni_somme(g);
      }
      ASSERT_TRUE(keeps_solution(m, p, "thinning"));
      m.calling = "risolvi";
      m.chiamante = "analisi";
      for (size_t t = 0; t < kTechniqueCount; ++t) {
        for (int calls = 0;; ++calls) {
          ASSERT_LT(calls, 100) << p.id << " " << kCageTechniques[t].name;
          const int before = candidates_left(m);
          kCageTechniques[t].run(m);
          ASSERT_TRUE(keeps_solution(m, p, kCageTechniques[t].name));
          if (candidates_left(m) == before) break;
          removed[t] += before - candidates_left(m);
        }
      }
    }
  }
  for (size_t t = 0; t < kTechniqueCount; ++t) EXPECT_GT(removed[t], 0) << kCageTechniques[t].name;
}

// A cell that loses its last candidate is a contradiction, not progress.
TEST(CageInteractions, CellLeftWithoutCandidatesSetsProblema) {
  run_cases({
      {.name = "cage against line",
       .setup =
           [](HandBoard& b) {
             six_of_column_four(b);
             b.set(at(3, 5), "6");
           },
       .run = by_column,
       .expect = {.changed = {{at(3, 5), ""}},
                  .log = {"--------------------", "INTERAZIONE GRUPPO COLONNA ",
                          "nella colonna 4 il numero 6 è contenuto solo nel gruppo r3c5",
                          " * elimino il numero 6 da  r3c5,"},
                  .hint = "eliminato il 6 da r3c5",
                  .problema = true}},
      // The procedure stops at the empty cell: 2 and 3 are not looked at.
      {.name = "required digits",
       .setup =
           [](HandBoard& b) {
             row_of_six(b);
             b.set(at(1, 6), "1");
           },
       .run = required,
       .expect = {.changed = row_cells(1, 4, 5, "23456789") +
                             std::map<int, std::string>{{at(1, 6), ""}},
                  .log = {"numero obbligato 1 nel gruppo r1c3",
                          " * elimino il numero 1da r1c4da r1c5da r1c6"},
                  .hint = "eliminato il numero 1 da r1c4 ,  da r1c5 ,  da r1c6 , ",
                  .problema = true}},
      {.name = "cage against cage",
       .setup =
           [](HandBoard& b) {
             fives_on_rows_two_and_four(b);
             b.set(at(2, 4), "5");
           },
       .run = cage_vs_cage,
       .expect = {.changed = without("5", {at(2, 2)}) + std::map<int, std::string>{{at(2, 4), ""}},
                  .log = {"-----------------------", "INTERAZIONE gruppo 7 gruppo 3 numero 5",
                          " * elimino il numero 5 da r2c2 , 5 da r2c4 , "},
                  .hint = "elimino il numero 5 da r2c2 , 5 da r2c4 , ",
                  .problema = true}},
  });
}

// A loaded layout leaves gruppo1 at 0 until a cage is derived; the real cages up to gruppi are
// walked all the same.
TEST(CageInteractions, WalkEveryRealCageWhileNoCageIsDerived) {
  {
    HandBoard b;
    fives_on_rows_two_and_four(b);
    b.m.gruppo1 = 0;
    b.m.interazione_gruppo_gruppo();
    EXPECT_FALSE(has_char(b.m.Text2[at(2, 2)].text(), '5'));
  }
  {
    HandBoard b;
    b.cage(4, {at(1, 1), at(1, 2), at(1, 3)}, "123");
    for (int c = 1; c <= 3; ++c) b.set(at(1, c), "123");
    b.m.gruppo1 = 0;
    b.snapshot();
    b.m.numeri_obbligati_nel_gruppo();
    EXPECT_EQ(b.changes(), row_cells(1, 4, 9, "456789"));
  }
}

// Cage numbers past the combination tables' first 61 entries work, and a cage count past every
// table is walked no further than the tables reach.
TEST(CageInteractions, HighCageNumbersAreWalkedWithinTheTables) {
  HandBoard b;
  b.cage(75, {at(1, 1), at(1, 2), at(1, 3)}, "123");
  for (int c = 1; c <= 3; ++c) b.set(at(1, c), "123");
  b.m.gruppo1 = 100000;
  b.snapshot();
  b.m.numeri_obbligati_nel_gruppo();
  EXPECT_EQ(b.changes(), row_cells(1, 4, 9, "456789"));
  b.m.interazione_gruppo_gruppo();
  b.m.gruppodicella.set(at(5, 5), 100000);
  b.m.cerca_interazione_gruppo_riga();
  b.m.cerca_interazione_gruppo_colonna();
  b.m.cerca_interazione_gruppo_settore();
  EXPECT_FALSE(b.m.problema);
}

}  // namespace
}  // namespace ks
