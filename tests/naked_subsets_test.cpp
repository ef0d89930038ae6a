// Naked pairs in units and in cages, and naked triples, on hand-built boards: exact candidates,
// log blocks and hint lines per member, scan order, modes and the traffic light.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "technique_board.h"

namespace ks {
namespace {

using test::at;
using test::by_digit;
using test::each;
using test::HandBoard;
using test::joined;
using test::kDashes;
using test::operator+;
using test::per_cell;
using test::without;

// ---------------------------------------------------------------------------------------------
// Naked pairs in boxes, columns and rows

constexpr auto kNakedPair = &Main::nakedpair;

// Box 1 holds 37 at r1c2 and r3c1, which share no row or column.
const std::initializer_list<int> kBoxOneRest = {at(1, 1), at(1, 3), at(2, 1), at(2, 2),
                                                at(2, 3), at(3, 2), at(3, 3)};
void box_pair(HandBoard& b) { b.set({at(1, 2), at(3, 1)}, "37"); }

// Box 1 and row 1 hold 37 at r1c1 and r1c3.
const std::initializer_list<int> kBoxOneBelow = {at(1, 2), at(2, 1), at(2, 2), at(2, 3),
                                                 at(3, 1), at(3, 2), at(3, 3)};
const std::initializer_list<int> kRowOneRight = {at(1, 4), at(1, 5), at(1, 6),
                                                 at(1, 7), at(1, 8), at(1, 9)};
void box_and_row_pair(HandBoard& b) { b.set({at(1, 1), at(1, 3)}, "37"); }

// Box 1 and column 3 hold 59 at r1c3 and r2c3.
const std::initializer_list<int> kBoxOneLeft = {at(1, 1), at(1, 2), at(2, 1), at(2, 2),
                                                at(3, 1), at(3, 2), at(3, 3)};
const std::initializer_list<int> kColumnThreeDown = {at(4, 3), at(5, 3), at(6, 3),
                                                     at(7, 3), at(8, 3), at(9, 3)};

TEST(NakedPair, EachMemberClearsItsUnitWithItsOwnTexts) {
  const auto box_removals = by_digit(" * elimino il numero ", "37", kBoxOneRest);
  const std::string box_hint = joined(by_digit("", "37", kBoxOneRest, ", "));
  // The pair 59 at r1c3 and r2c3: box 1, then column 3.
  const auto box_and_column_log =
      std::vector<std::string>{kDashes, "NAKED PAIR 59 in r2c3 e r1c3"} +
      by_digit(" * elimino il numero ", "59", kBoxOneLeft) +
      by_digit(" * elimino il numero ", "59", kColumnThreeDown);
  const std::string box_and_column_hint = joined(by_digit("", "59", kBoxOneLeft, ", ")) +
                                          joined(by_digit("", "59", kColumnThreeDown, ", "));
  const std::initializer_list<int> column_rest = {at(2, 5), at(3, 5), at(4, 5), at(5, 5),
                                                  at(7, 5), at(8, 5), at(9, 5)};
  const std::initializer_list<int> row_rest = {at(5, 2), at(5, 3), at(5, 4), at(5, 5),
                                               at(5, 6), at(5, 7), at(5, 8)};
  test::run_cases({
      // The box member names the later cell first.
      {.name = "box",
       .setup = box_pair,
       .run = kNakedPair,
       .expect = {.changed = without("37", kBoxOneRest),
                  .log = std::vector<std::string>{kDashes, "NAKED PAIR 37 in r3c1 e r1c2"} +
                         box_removals,
                  .hint = box_hint}},
      // One header for the box and the row; the row member's hint shows its latest removal.
      {.name = "box and row",
       .setup = box_and_row_pair,
       .run = kNakedPair,
       .expect = {.changed = without("37", kBoxOneBelow) + without("37", kRowOneRight),
                  .log = std::vector<std::string>{kDashes, "NAKED PAIR 37 in r1c3 e r1c1"} +
                         by_digit(" * elimino il numero ", "37", kBoxOneBelow) +
                         by_digit(" * elimino il numero ", "37", kRowOneRight),
                  .hint = "eliminato il numero 7 da r1c9"}},
      // Box, column, then the cage the two cells share, which has a third empty cell.
      {.name = "box, column and cage",
       .setup =
           [](HandBoard& b) {
             b.set({at(1, 3), at(2, 3)}, "59");
             b.cage(0, {at(1, 3), at(2, 3), at(1, 4)});
           },
       .run = kNakedPair,
       .expect = {.changed = without("59", kBoxOneLeft) + without("59", kColumnThreeDown) +
                             without("59", {at(1, 4)}),
                  .log = box_and_column_log +
                         by_digit(" * elimino il numero ", "59", {at(1, 4)}),
                  .hint = box_and_column_hint + "5 da r1c4, 9 da r1c4, "}},
      // Two cells of no cage share no cage: cage 0 keeps its digits.
      {.name = "cells of no cage",
       .setup =
           [](HandBoard& b) {
             b.set({at(1, 3), at(2, 3)}, "59");
             b.cage(0, {at(1, 4), at(1, 5), at(1, 6)});
           },
       .run = kNakedPair,
       .expect = {.changed = without("59", kBoxOneLeft) + without("59", kColumnThreeDown),
                  .log = box_and_column_log,
                  .hint = box_and_column_hint}},
      {.name = "column",
       .setup = [](HandBoard& b) { b.set({at(1, 5), at(6, 5)}, "48"); },
       .run = kNakedPair,
       .expect = {.changed = without("48", column_rest),
                  .log = std::vector<std::string>{kDashes, "NAKED PAIR 48 in r1c5 e r6c5"} +
                         by_digit(" * elimino il numero ", "48", column_rest),
                  .hint = joined(by_digit("", "48", column_rest, ", "))}},
      {.name = "row",
       .setup = [](HandBoard& b) { b.set({at(5, 1), at(5, 9)}, "12"); },
       .run = kNakedPair,
       .expect = {.changed = without("12", row_rest),
                  .log = std::vector<std::string>{kDashes, "NAKED PAIR 12 in r5c1 e r5c9"} +
                         by_digit(" * elimino il numero ", "12", row_rest),
                  .hint = "eliminato il numero 2 da r5c8"}},
      // A third 37 of the row keeps its 7; a cell left with 3 alone keeps it.
      {.name = "three cells of one pair",
       .setup =
           [](HandBoard& b) {
             b.set({at(5, 1), at(5, 5), at(5, 9)}, "37");
             b.set(at(5, 3), "3");
           },
       .run = kNakedPair,
       .expect = {.changed = without("37", {at(5, 2), at(5, 4), at(5, 6), at(5, 7), at(5, 8)}) +
                             each({at(5, 9)}, "7"),
                  .log = std::vector<std::string>{kDashes, "NAKED PAIR 37 in r5c1 e r5c5"} +
                         per_cell(" * elimino il numero 3 da ",
                                  {at(5, 2), at(5, 4), at(5, 6), at(5, 7), at(5, 8), at(5, 9)}) +
                         per_cell(" * elimino il numero 7 da ",
                                  {at(5, 2), at(5, 4), at(5, 6), at(5, 7), at(5, 8)}),
                  .hint = "eliminato il numero 7 da r5c8"}},
      {.name = "pair with nothing to clear",
       .setup =
           [](HandBoard& b) {
             b.set({at(5, 1), at(5, 9)}, "12");
             for (int c = 2; c <= 8; ++c) b.set(at(5, c), "3456789");
             for (int r : {1, 2, 3, 4, 6, 7, 8, 9}) b.set({at(r, 1), at(r, 9)}, "3456789");
             b.set({at(4, 2), at(4, 3), at(6, 2), at(6, 3), at(4, 7), at(4, 8), at(6, 7),
                    at(6, 8)},
                   "3456789");
           },
       .run = kNakedPair,
       .expect = {.modificato = false}},
      {.name = "no pair",
       .setup = [](HandBoard& b) { b.set({at(5, 1), at(5, 9)}, "123"); },
       .run = kNakedPair,
       .expect = {.modificato = false}},
      {.name = "generator: silent",
       .setup = box_pair,
       .run = kNakedPair,
       .expect = {.changed = without("37", kBoxOneRest)},
       .chiamante = "genera"},
      {.name = "trial: no log, the hint still written",
       .setup = box_pair,
       .run = kNakedPair,
       .expect = {.changed = without("37", kBoxOneRest), .hint = box_hint},
       .calling1 = "trial"},
  });
}

// Boxes before columns before rows, whatever their place on the board; one pair per call.
TEST(NakedPair, BoxesComeBeforeLinesAndEachCallTakesOnePair) {
  HandBoard b;
  b.set({at(1, 1), at(1, 9)}, "12");  // row 1, two boxes apart
  b.set({at(8, 7), at(9, 8)}, "56");  // box 9
  b.snapshot();
  b.m.nakedpair();
  EXPECT_TRUE(b.m.modificato);
  EXPECT_EQ(b.m.origine, "nakedpair");
  EXPECT_EQ(b.changes(), without("56", {at(7, 7), at(7, 8), at(7, 9), at(8, 8), at(8, 9),
                                        at(9, 7), at(9, 9)}));
  b.snapshot();
  b.m.nakedpair();
  EXPECT_EQ(b.changes(), without("12", {at(1, 2), at(1, 3), at(1, 4), at(1, 5), at(1, 6),
                                        at(1, 7), at(1, 8)}));
  b.snapshot();
  b.m.nakedpair();
  EXPECT_FALSE(b.m.modificato);
  EXPECT_TRUE(b.changes().empty());
}

TEST(NakedPair, StepModeWaitsOnceAndRedLeavesTheStepUndone) {
  {
    SCOPED_TRACE("green: box and row applied after one wait");
    HandBoard b;
    box_and_row_pair(b);
    const auto waits = test::step(b, &Main::nakedpair, {"si"});
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].hint, "NAKED PAIR 37 in r1c3 e r1c1");
    EXPECT_EQ(waits[0].yellow, (std::vector<int>{at(1, 1), at(1, 3)}));
    EXPECT_EQ(b.changes(), without("37", kBoxOneBelow) + without("37", kRowOneRight));
    EXPECT_EQ(b.m.txthint.text(), "eliminato il numero 7 da r1c9");
    EXPECT_EQ(b.m.Text5.text(), " ");
    test::expect_gate_closed(b.m);
  }
  {
    // The refused box step leaves the header unreported, so the row member asks again.
    SCOPED_TRACE("red to the box, green to the row");
    HandBoard b;
    box_and_row_pair(b);
    const auto waits = test::step(b, &Main::nakedpair, {"no", "si"});
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_EQ(waits[1].hint, "NAKED PAIR 37 in r1c1 e r1c3");
    const std::initializer_list<int> row = {at(1, 2), at(1, 4), at(1, 5), at(1, 6),
                                            at(1, 7), at(1, 8), at(1, 9)};
    test::expect_outcome(
        b, {.changed = without("37", row),
            .log = std::vector<std::string>{kDashes, "NAKED PAIR 37 in r1c3 e r1c1", kDashes,
                                            "NAKED PAIR 37 in r1c1 e r1c3"} +
                   by_digit(" * elimino il numero ", "37", row),
            .hint = "eliminato il numero 7 da r1c9"});
    test::expect_gate_closed(b.m);
  }
  {
    SCOPED_TRACE("red: nothing removed, the call reports a change");
    HandBoard b;
    box_pair(b);
    const auto waits = test::step(b, &Main::nakedpair, {"no"});
    EXPECT_EQ(waits.size(), 1u);
    test::expect_outcome(b, {.log = {kDashes, "NAKED PAIR 37 in r3c1 e r1c2"},
                             .hint = "NAKED PAIR 37 in r3c1 e r1c2"});
    test::expect_gate_closed(b.m);
  }
}

// ---------------------------------------------------------------------------------------------
// Naked pairs inside cages

constexpr auto kCagePairs = &Main::cerca_coppie_nei_gruppi;

// Cage 1 {r1c3, r1c4, r2c4} with 59 at r1c3 and r2c4, which share no unit.
void cage_of_three(HandBoard& b) {
  b.cage(1, {at(1, 3), at(1, 4), at(2, 4)});
  b.set({at(1, 3), at(2, 4)}, "59");
  b.set(at(1, 4), "1569");
}
// Cage 2 {r3c3, r4c4} with 48 in both.
void cage_of_two(HandBoard& b) {
  b.cage(2, {at(3, 3), at(4, 4)});
  b.set({at(3, 3), at(4, 4)}, "48");
}

TEST(CagePair, PairsOfACageClearTheCageOrTheCrossingCells) {
  test::run_cases({
      {.name = "cage of three",
       .setup = cage_of_three,
       .run = kCagePairs,
       .expect = {.changed = {{at(1, 4), "16"}},
                  .log = {kDashes, "NAKED PAIR 59 in r1c3 e r2c4",
                          " * elimino il numero 5 da r1c4", " * elimino il numero 9 da r1c4"},
                  .hint = "5 da r1c4, 9 da r1c4, "}},
      // The header names the crossing cells; each log line ends with a comma.
      {.name = "cage of two",
       .setup = cage_of_two,
       .run = kCagePairs,
       .expect = {.changed = without("48", {at(3, 4), at(4, 3)}),
                  .log = {kDashes, "NAKED PAIR 48 in r3c4 e r4c3",
                          " * elimino il numero 4 da r3c4, ", " * elimino il numero 8 da r3c4, ",
                          " * elimino il numero 4 da r4c3, ", " * elimino il numero 8 da r4c3, "},
                  .hint = "eliminato il numero 4 da r3c4, 8 da r3c4, 4 da r4c3, 8 da r4c3, "}},
      {.name = "pair sharing a row",
       .setup =
           [](HandBoard& b) {
             b.cage(1, {at(1, 3), at(1, 4), at(2, 4)});
             b.set({at(1, 3), at(1, 4)}, "59");
             b.set(at(2, 4), "1569");
           },
       .run = kCagePairs,
       .expect = {.modificato = false}},
      {.name = "cage of two side by side",
       .setup =
           [](HandBoard& b) {
             b.cage(2, {at(3, 3), at(3, 4)});
             b.set({at(3, 3), at(3, 4)}, "48");
           },
       .run = kCagePairs,
       .expect = {.modificato = false}},
      // A cell the cage lists but that belongs to no cage makes no pair.
      {.name = "listed cell of no cage",
       .setup =
           [](HandBoard& b) {
             cage_of_three(b);
             b.m.gruppodicella.set(at(2, 4), Value::empty());
           },
       .run = kCagePairs,
       .expect = {.modificato = false}},
      {.name = "derived cages are not searched",
       .setup =
           [](HandBoard& b) {
             b.cage(0, {at(9, 9)});
             b.m.cellegruppo.set(1, 1, at(3, 3));
             b.m.cellegruppo.set(1, 2, at(4, 4));
             b.m.elementigruppo.set(1, 2);
             b.m.gruppo1 = 1;
             b.set({at(3, 3), at(4, 4)}, "48");
           },
       .run = kCagePairs,
       .expect = {.modificato = false}},
      {.name = "generator: silent",
       .setup = cage_of_two,
       .run = kCagePairs,
       .expect = {.changed = without("48", {at(3, 4), at(4, 3)})},
       .chiamante = "genera"},
  });
}

// Cages in order; the call ends after the first cage that changed something.
TEST(CagePair, EachCallEndsAfterTheFirstCageThatChangedSomething) {
  HandBoard b;
  b.cage(0, {at(9, 1), at(9, 2)});
  cage_of_three(b);
  cage_of_two(b);
  b.snapshot();
  b.m.cerca_coppie_nei_gruppi();
  EXPECT_EQ(b.changes(), (std::map<int, std::string>{{at(1, 4), "16"}}));
  b.snapshot();
  b.m.cerca_coppie_nei_gruppi();
  EXPECT_EQ(b.changes(), without("48", {at(3, 4), at(4, 3)}));
  b.m.cerca_coppie_nei_gruppi();
  EXPECT_FALSE(b.m.modificato);
}

TEST(CagePair, TwoCellStepWaitsWithThePairHighlighted) {
  for (const char* answer : {"si", "no"}) {
    SCOPED_TRACE(answer);
    HandBoard b;
    cage_of_two(b);
    const auto waits = test::step(b, &Main::cerca_coppie_nei_gruppi, {answer});
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].hint, "NAKED PAIR 48 in r3c4 e r4c3");
    EXPECT_EQ(waits[0].yellow, (std::vector<int>{at(3, 3), at(4, 4)}));
    EXPECT_TRUE(b.m.modificato);
    EXPECT_EQ(b.changes().empty(), std::string(answer) == "no");
    test::expect_gate_closed(b.m);
  }
}

// ---------------------------------------------------------------------------------------------
// Naked triples

constexpr auto kNakedTriple = &Main::nakedtriple;

// Row 2: 147 at r2c1 (14), r2c5 (17), r2c9 (47); r2c3 = 1459; the rest of the row holds none of
// the three digits.
void row_triple(HandBoard& b) {
  for (int c = 1; c <= 9; ++c) b.set(at(2, c), "2356");
  b.set(at(2, 1), "14");
  b.set(at(2, 5), "17");
  b.set(at(2, 9), "47");
  b.set(at(2, 3), "1459");
}
// Column 7: 258 at r1c7 (25), r4c7 (258), r9c7 (58); r5c7 = 2568.
void column_triple(HandBoard& b) {
  for (int r = 1; r <= 9; ++r) b.set(at(r, 7), "1369");
  b.set(at(1, 7), "25");
  b.set(at(4, 7), "258");
  b.set(at(9, 7), "58");
  b.set(at(5, 7), "2568");
}
// Box 5: 123 at r4c4 (12), r5c5 (13), r6c6 (23); r4c6 = 1234, r5c4 = 3456.
void box_triple(HandBoard& b) {
  for (int k = 0; k < 9; ++k) b.set(b.m.cellesettore[4][k], "456789");
  b.set(at(4, 4), "12");
  b.set(at(5, 5), "13");
  b.set(at(6, 6), "23");
  b.set(at(4, 6), "1234");
  b.set(at(5, 4), "3456");
}

// Row 9: 12 at r9c1, 13 at r9c4, and a third text at r9c7, three boxes apart.
void row_nine(HandBoard& b, const std::string& third) {
  b.set(at(9, 1), "12");
  b.set(at(9, 4), "13");
  b.set(at(9, 7), third);
}
const std::initializer_list<int> kRowNineRest = {at(9, 2), at(9, 3), at(9, 5),
                                                 at(9, 6), at(9, 8), at(9, 9)};

// One text per cell and digit, the digits of each cell in the order given: before, the digit,
// " da ", the cell's name, after.
std::vector<std::string> removals(const std::string& before, const std::string& digits,
                                  std::initializer_list<int> cells, const std::string& after) {
  std::vector<std::string> out;
  for (const int c : cells)
    for (const char d : digits) out.push_back(before + d + " da " + test::rc(c) + after);
  return out;
}

const auto no_triple = [](const Main& m) {
  test::record(0, &Main::liv5, 0)(m);
  EXPECT_EQ(m.stringa, "789");
};

TEST(NakedTriple, EachMemberClearsItsUnitWithItsOwnTexts) {
  const std::vector<std::string> row_log = {kDashes,
                                            "NAKED TRIPLE - i numeri 147 in r2c1 - r2c5 - r2c9",
                                            " * elimino il numero 4 da r2c3",
                                            " * elimino il numero 1 da r2c3"};
  test::run_cases({
      {.name = "row",
       .setup = row_triple,
       .run = kNakedTriple,
       .expect = {.changed = {{at(2, 3), "59"}},
                  .log = row_log,
                  .hint = "eliminato il numero  4 da r2c3, 1 da r2c3, ",
                  .also =
                      [&row_log](const Main& m) {
                        test::record(5, &Main::liv5, 1)(m);
                        EXPECT_EQ(m.testo, row_log[1]);
                        EXPECT_EQ(m.stringa, "147");
                        EXPECT_EQ(m.origine, "nakedtriple");
                      }}},
      // A higher level stays.
      {.name = "level 9 already",
       .setup =
           [](HandBoard& b) {
             row_triple(b);
             b.m.livello = 9;
           },
       .run = kNakedTriple,
       .expect = {.changed = {{at(2, 3), "59"}},
                  .log = row_log,
                  .hint = "eliminato il numero  4 da r2c3, 1 da r2c3, ",
                  .also = test::record(9, &Main::liv5, 1)}},
      {.name = "column",
       .setup = column_triple,
       .run = kNakedTriple,
       .expect = {.changed = {{at(5, 7), "6"}},
                  .log = {kDashes, "NAKED TRIPLE - numeri 258 in r1c7 - r4c7 - r9c7",
                          " * elimino il numero 5 da r5c7", " * elimino il numero 2 da r5c7",
                          " * elimino il numero 8 da r5c7"},
                  .hint = "eliminato il numero 5 da r5c7, 2 da r5c7, 8 da r5c7, "}},
      // The box member names the digits second, third, first.
      {.name = "box",
       .setup = box_triple,
       .run = kNakedTriple,
       .expect = {.changed = {{at(4, 6), "4"}, {at(5, 4), "456"}},
                  .log = {kDashes, "NAKED TRIPLE - numeri 231 in r4c4 - r5c5 - r6c6",
                          " * elimino il numero 2 da r4c6", " * elimino il numero 1 da r4c6",
                          " * elimino il numero 3 da r4c6", " * elimino il numero 3 da r5c4"},
                  .hint = "eliminato 2 da r4c6, 1 da r4c6, 3 da r4c6, 3 da r5c4, "}},
      // 12, 12 and 123 in one row, three boxes apart, make the triple 123.
      {.name = "two pairs and the triple",
       .setup =
           [](HandBoard& b) {
             row_nine(b, "123");
             b.set(at(9, 4), "12");
           },
       .run = kNakedTriple,
       .expect = {.changed = without("123", kRowNineRest),
                  .log = std::vector<std::string>{kDashes,
                                                  "NAKED TRIPLE - i numeri 123 in r9c1 - r9c4 - "
                                                  "r9c7"} +
                         removals(" * elimino il numero ", "213", kRowNineRest, ""),
                  .hint = "eliminato il numero  " +
                          joined(removals("", "213", kRowNineRest, ", "))}},
      // A single candidate, or four, does not match.
      {.name = "12, 13 and 3",
       .setup = [](HandBoard& b) { row_nine(b, "3"); },
       .run = kNakedTriple,
       .expect = {.modificato = false, .also = no_triple}},
      {.name = "12, 13 and 1234",
       .setup = [](HandBoard& b) { row_nine(b, "1234"); },
       .run = kNakedTriple,
       .expect = {.modificato = false, .also = no_triple}},
      {.name = "trial: no log, the hint still written",
       .setup = row_triple,
       .run = kNakedTriple,
       .expect = {.changed = {{at(2, 3), "59"}},
                  .hint = "eliminato il numero  4 da r2c3, 1 da r2c3, ",
                  .also = test::record(5, &Main::liv5, 0)},
       .calling1 = "trial"},
      {.name = "generator: silent",
       .setup = row_triple,
       .run = kNakedTriple,
       .expect = {.changed = {{at(2, 3), "59"}}, .also = test::record(5, &Main::liv5, 1)},
       .chiamante = "genera"},
  });
}

TEST(NakedTriple, EarlierTriplesComeFirstWhateverTheirBox) {
  HandBoard b;
  b.set(at(1, 1), "12");  // 124 in box 1
  b.set(at(2, 2), "14");
  b.set(at(3, 3), "24");
  b.set(at(7, 7), "12");  // 123 in box 9
  b.set(at(8, 8), "13");
  b.set(at(9, 9), "23");
  b.snapshot();
  b.m.nakedtriple();
  EXPECT_EQ(b.changes(), without("123", {at(7, 8), at(7, 9), at(8, 7), at(8, 9), at(9, 7),
                                         at(9, 8)}));
  b.snapshot();
  b.m.nakedtriple();
  EXPECT_EQ(b.m.stringa, "124");
  EXPECT_EQ(b.changes(), without("124", {at(1, 2), at(1, 3), at(2, 1), at(2, 3), at(3, 1),
                                         at(3, 2)}));
  b.m.nakedtriple();
  EXPECT_FALSE(b.m.modificato);
  EXPECT_EQ(b.m.stringa, "789");
}

TEST(NakedTriple, StepModeShowsTheTripleAndRedLeavesItUndone) {
  {
    HandBoard b;
    column_triple(b);
    const auto waits = test::step(b, &Main::nakedtriple, {"si"});
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].hint, "i numeri 258 presenti come NAKED TRIPLE in r1c7 - r4c7 - r9c7");
    EXPECT_EQ(waits[0].text5, "258");
    EXPECT_EQ(waits[0].yellow, (std::vector<int>{at(1, 7), at(4, 7), at(9, 7)}));
    EXPECT_EQ(b.m.Text2[at(5, 7)].text(), "6");
    test::expect_gate_closed(b.m);
  }
  struct Refused {
    void (*setup)(HandBoard&);
    const char* gate;
  };
  for (const auto& [setup, gate] :
       {Refused{row_triple, "numeri 147 presenti come NAKED TRIPLE in r2c1 - r2c5 - r2c9"},
        Refused{box_triple, "NAKED TRIPLE - numeri 231 in r4c4 - r5c5 - r6c6"}}) {
    HandBoard b;
    setup(b);
    const auto waits = test::step(b, &Main::nakedtriple, {"no"});
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].text5, " ");
    test::expect_outcome(b, {.log = {kDashes, b.m.testo}, .hint = gate});
    EXPECT_EQ(b.m.liv5, 1);
    test::expect_gate_closed(b.m);
  }
}

}  // namespace
}  // namespace ks
