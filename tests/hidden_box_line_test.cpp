// Hidden pairs and triples, and the box-line interaction, on hand-built boards: exact candidates,
// log blocks and hints per member, scan order, levels, modes and the traffic light.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "technique_board.h"

namespace ks {
namespace {

using test::at;
using test::each;
using test::HandBoard;
using test::joined;
using test::kDashes;
using test::operator+;
using test::per_cell;
using test::without;

// ---------------------------------------------------------------------------------------------
// Hidden pairs and triples

constexpr auto kHidden = &Main::hiddenpair;

// Row 4 holds 3 and 7 only in r4c2 (1357) and r4c8 (379).
void row_hidden_pair(HandBoard& b) {
  for (int c = 1; c <= 9; ++c) b.set(at(4, c), "1245689");
  b.set(at(4, 2), "1357");
  b.set(at(4, 8), "379");
}
const std::vector<std::string> kPairLog = {kDashes, "HIDDEN PAIR 37 in r4c2 e r4c8", kDashes,
                                           " * rimuovo extra numeri da r4c2 e r4c8"};

// Row 1 holds 2, 5 and 8 only in r1c1 (1258), r1c4 (258) and r1c9 (2589).
void row_hidden_triple(HandBoard& b) {
  for (int c = 1; c <= 9; ++c) b.set(at(1, c), "134679");
  b.set(at(1, 1), "1258");
  b.set(at(1, 4), "258");
  b.set(at(1, 9), "2589");
}

// Row 4 holds 1 and 5 only in r4c3 and r4c6, 3 and 7 only in r4c2 and r4c8.
void two_hidden_pairs(HandBoard& b) {
  for (int c = 1; c <= 9; ++c) b.set(at(4, c), "24689");
  b.set(at(4, 2), "379");
  b.set(at(4, 8), "378");
  b.set(at(4, 3), "1569");
  b.set(at(4, 6), "145");
}

TEST(HiddenPair, PairsAndTriplesLoseTheirOtherCandidates) {
  test::run_cases({
      {.name = "pair",
       .setup = row_hidden_pair,
       .run = kHidden,
       .expect = {.changed = each({at(4, 2), at(4, 8)}, "37"),
                  .log = kPairLog,
                  .hint = "rimossi extra numeri da r4c2 e r4c8"}},
      {.name = "triple",
       .setup = row_hidden_triple,
       .run = kHidden,
       .expect = {.changed = each({at(1, 1), at(1, 9)}, "258"),
                  .log = {kDashes, "HIDDEN TRIPLE, numeri 2,5,8 in r1c1 , r1c4 , r1c9",
                          " * rimuovo extra numeri da r1c1 , r1c4 , r1c9"},
                  .hint = "rimuovo extra numeri da r1c1 , r1c4 , r1c9"}},
      // Both pairs of the row in one call, then the call ends.
      {.name = "two pairs in one row",
       .setup = two_hidden_pairs,
       .run = kHidden,
       .expect = {.changed = each({at(4, 3), at(4, 6)}, "15") + each({at(4, 2), at(4, 8)}, "37"),
                  .log = {kDashes, "HIDDEN PAIR 15 in r4c3 e r4c6", kDashes,
                          " * rimuovo extra numeri da r4c3 e r4c6", kDashes,
                          "HIDDEN PAIR 37 in r4c2 e r4c8", kDashes,
                          " * rimuovo extra numeri da r4c2 e r4c8"},
                  .hint = "rimossi extra numeri da r4c2 e r4c8",
                  .also =
                      [](const Main& m) {
                        test::record(6, &Main::liv6, 2)(m);
                        EXPECT_EQ(m.testo, kDashes + "\r\n * rimuovo extra numeri da r4c2 e r4c8");
                        EXPECT_EQ(m.origine, "hiddenpair");
                      }}},
      // A cell whose candidates are the 3 alone settles the 3 in row 4, box 4 and column 1.
      {.name = "digit settled in the unit",
       .setup =
           [](HandBoard& b) {
             row_hidden_pair(b);
             b.set(at(4, 1), "3");
           },
       .run = kHidden,
       .expect = {.changed = {}, .modificato = false}},
      {.name = "nothing else to strip",
       .setup =
           [](HandBoard& b) {
             row_hidden_pair(b);
             b.set({at(4, 2), at(4, 8)}, "37");
           },
       .run = kHidden,
       .expect = {.modificato = false}},
      {.name = "generator: silent",
       .setup = row_hidden_pair,
       .run = kHidden,
       .expect = {.changed = each({at(4, 2), at(4, 8)}, "37")},
       .chiamante = "genera"},
      {.name = "trial: no log, the hint still written",
       .setup = row_hidden_pair,
       .run = kHidden,
       .expect = {.changed = each({at(4, 2), at(4, 8)}, "37"),
                  .hint = "rimossi extra numeri da r4c2 e r4c8",
                  .also = test::record(6, &Main::liv6, 0)},
       .calling1 = "trial"},
  });
}

// Rows before boxes before columns: a pair in the last row comes before one in the first box.
TEST(HiddenPair, RowsComeBeforeBoxes) {
  HandBoard b;
  for (int c = 1; c <= 9; ++c) b.set(at(9, c), "1245689");
  b.set(at(9, 2), "1357");
  b.set(at(9, 8), "379");
  for (int k = 0; k < 9; ++k) b.set(b.m.cellesettore[0][k], "3456789");
  b.set(at(1, 1), "12345");
  b.set(at(2, 2), "129");
  b.snapshot();
  b.m.hiddenpair();
  EXPECT_EQ(b.changes(), each({at(9, 2), at(9, 8)}, "37"));
  b.snapshot();
  b.m.hiddenpair();
  EXPECT_EQ(b.changes(), each({at(1, 1), at(2, 2)}, "12"));
}

TEST(HiddenPair, StepModeGatesEveryStep) {
  {
    SCOPED_TRACE("a pair highlights nothing; red to the second pair keeps the first");
    HandBoard b;
    two_hidden_pairs(b);
    const auto waits = test::step(b, &Main::hiddenpair, {"si", "no"});
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_EQ(waits[0].hint, "HIDDEN PAIR 15 in r4c3 e r4c6");
    EXPECT_TRUE(waits[0].yellow.empty());
    EXPECT_EQ(waits[1].hint, "HIDDEN PAIR 37 in r4c2 e r4c8");
    EXPECT_EQ(b.changes(), each({at(4, 3), at(4, 6)}, "15"));
    EXPECT_TRUE(b.m.modificato);
    EXPECT_EQ(b.m.liv6, 1);
    test::expect_gate_closed(b.m);
  }
  {
    SCOPED_TRACE("a triple highlights its cells");
    HandBoard b;
    row_hidden_triple(b);
    const auto waits = test::step(b, &Main::hiddenpair, {"no"});
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].hint, "HIDDEN TRIPLE, numeri 2,5,8 in r1c1 , r1c4 , r1c9");
    EXPECT_EQ(waits[0].yellow, (std::vector<int>{at(1, 1), at(1, 4), at(1, 9)}));
    EXPECT_TRUE(b.changes().empty());
    EXPECT_TRUE(b.m.modificato);
    test::expect_gate_closed(b.m);
  }
}

// ---------------------------------------------------------------------------------------------
// Box-line interaction

constexpr auto kBoxLine = &Main::interazione_settore_riga_colonna;

// Box 1 offers 6 only on row 1; outside the box row 1 offers it at r1c4 and r1c7.
void six_on_row_one(HandBoard& b) {
  b.drop('6', {at(2, 1), at(2, 2), at(2, 3), at(3, 1), at(3, 2), at(3, 3)});
  b.drop('6', {at(1, 5), at(1, 6), at(1, 8), at(1, 9)});
}
const std::vector<std::string> kSixLog = {
    kDashes,
    "INTERAZIONE settore vs riga - nel settore 1 il numero 6 è presente solo nella riga 1",
    " * elimino il numero 6 dal settore 2 , r1c4", " * elimino il numero 6 dal settore 3 , r1c7"};
const std::string kSixHint = "eliminato il numero 6 da  r1c4 ,  r1c7 , ";

// Box 5 offers 9 only on column 5; outside the box column 5 offers it at r1c5 and r9c5.
void nine_on_column_five(HandBoard& b) {
  b.drop('9', {at(4, 4), at(5, 4), at(6, 4), at(4, 6), at(5, 6), at(6, 6)});
  b.drop('9', {at(2, 5), at(3, 5), at(7, 5), at(8, 5)});
}
// Row 7 offers 2 only in box 7, whose other rows offer it at r8c2 and r9c3.
void two_of_row_seven(HandBoard& b) {
  b.drop('2', {at(7, 4), at(7, 5), at(7, 6), at(7, 7), at(7, 8), at(7, 9)});
  b.drop('2', {at(8, 1), at(8, 3), at(9, 1), at(9, 2)});
}
// Column 3 offers 4 only in box 1, whose other columns offer it at r1c2 and r3c2.
void four_of_column_three(HandBoard& b) {
  b.drop('4', {at(4, 3), at(5, 3), at(6, 3), at(7, 3), at(8, 3), at(9, 3)});
  b.drop('4', {at(1, 1), at(2, 1), at(2, 2), at(3, 1)});
}

TEST(BoxLine, EachPassClearsItsTargetsWithItsOwnTexts) {
  const std::initializer_list<int> rest_of_row_one = {at(1, 4), at(1, 5), at(1, 6),
                                                      at(1, 7), at(1, 8), at(1, 9)};
  test::run_cases({
      {.name = "box to row",
       .setup = six_on_row_one,
       .run = kBoxLine,
       .expect = {.changed = without("6", {at(1, 4), at(1, 7)}),
                  .log = kSixLog,
                  .hint = kSixHint,
                  .also =
                      [](const Main& m) {
                        test::record(0, &Main::liv3, 1)(m);
                        EXPECT_EQ(m.testo, "elimino il numero 6 dal settore 3 , r1c7");
                        EXPECT_EQ(m.origine, "obbligate");
                      }}},
      {.name = "box to column",
       .setup = nine_on_column_five,
       .run = kBoxLine,
       .expect = {.changed = without("9", {at(1, 5), at(9, 5)}),
                  .log = {kDashes,
                          "INTERAZIONE settore vs colonna - nel settore 5 il numero 9 è presente "
                          "solo nella colonna 5",
                          " * elimino il numero 9 dalla colonna 5 , r1c5,  , r9c5, "},
                  .hint = "eliminato il numero 9 dalla colonna 5 , r1c5,  , r9c5, "}},
      {.name = "row to box",
       .setup = two_of_row_seven,
       .run = kBoxLine,
       .expect = {.changed = without("2", {at(8, 2), at(9, 3)}),
                  .log = {kDashes,
                          "INTERAZIONE riga  vs settore - nella riga 7 il numero 2 è presente solo "
                          "nel settore 7",
                          "elimino il numero 2 da  r8c2 ,  r9c3 , "},
                  .hint = "elimino il numero 2 da  r8c2 ,  r9c3 , ",
                  .also =
                      [](const Main& m) {
                        EXPECT_EQ(m.testo,
                                  "INTERAZIONE riga  vs settore - nella riga 7 il numero 2 è "
                                  "presente solo nel settore 7");
                      }}},
      {.name = "column to box",
       .setup = four_of_column_three,
       .run = kBoxLine,
       .expect = {.changed = without("4", {at(1, 2), at(3, 2)}),
                  .log = {kDashes,
                          "INTERAZIONE colonna  vs settore - nella colonna 3 il numero 4 è presente "
                          "solo nel settore 1",
                          " * elimino il numero 4 dal settore 1 , r1c2",
                          " * elimino il numero 4 dal settore 1 , r3c2"},
                  .hint = "eliminato il 4 da , r1c2 , r3c2"}},
      // A placed 6 is held by its box, row and column alone: no pattern anywhere.
      {.name = "placed digit",
       .setup =
           [](HandBoard& b) {
             b.place(at(1, 1), '6');
             for (const int p : peers(at(1, 1))) b.drop('6', {p});
           },
       .run = kBoxLine,
       .expect = {.modificato = false}},
      // An empty cell left with the 6 alone, the only one of its box, clears its row.
      {.name = "single candidate",
       .setup =
           [](HandBoard& b) {
             b.set(at(1, 1), "6");
             for (int k = 1; k < 9; ++k) b.drop('6', {b.m.cellesettore[0][k]});
           },
       .run = kBoxLine,
       .expect = {.changed = without("6", rest_of_row_one),
                  .log = std::vector<std::string>{kDashes,
                                                  "INTERAZIONE settore vs riga - nel settore 1 "
                                                  "il numero 6 è presente solo nella riga 1"} +
                         per_cell(" * elimino il numero 6 dal settore 2 , ",
                                  {at(1, 4), at(1, 5), at(1, 6)}) +
                         per_cell(" * elimino il numero 6 dal settore 3 , ",
                                  {at(1, 7), at(1, 8), at(1, 9)}),
                  .hint = "eliminato il numero 6 da " +
                          joined(per_cell(" ", rest_of_row_one, " , "))}},
      {.name = "generator: silent",
       .setup = six_on_row_one,
       .run = kBoxLine,
       .expect = {.changed = without("6", {at(1, 4), at(1, 7)}),
                  .also = test::record(0, &Main::liv3, 1)},
       .chiamante = "genera"},
      {.name = "trial: no log, the hint still written",
       .setup = six_on_row_one,
       .run = kBoxLine,
       .expect = {.changed = without("6", {at(1, 4), at(1, 7)}),
                  .hint = kSixHint,
                  .also = test::record(0, &Main::liv3, 0)},
       .calling1 = "trial"},
  });
}

// Box-to-line patterns before line-to-box ones, whatever their place; one pattern per call.
TEST(BoxLine, BoxPassesComeFirstAndEachCallTakesOnePattern) {
  HandBoard b;
  b.drop('3', {at(1, 4), at(1, 5), at(1, 6), at(1, 7), at(1, 8), at(1, 9)});
  b.drop('5', {at(7, 7), at(7, 8), at(7, 9), at(8, 7), at(8, 8), at(8, 9)});
  b.snapshot();
  b.m.interazione_settore_riga_colonna();
  EXPECT_EQ(b.changes(),
            without("5", {at(9, 1), at(9, 2), at(9, 3), at(9, 4), at(9, 5), at(9, 6)}));
  b.snapshot();
  b.m.interazione_settore_riga_colonna();
  EXPECT_EQ(b.changes(),
            without("3", {at(2, 1), at(2, 2), at(2, 3), at(3, 1), at(3, 2), at(3, 3)}));
  b.m.interazione_settore_riga_colonna();
  EXPECT_FALSE(b.m.modificato);
}

TEST(BoxLine, StepModeShowsTheIntersectionAndTheDigit) {
  for (const char* answer : {"si", "no"}) {
    SCOPED_TRACE(answer);
    HandBoard b;
    six_on_row_one(b);
    const auto waits = test::step(b, &Main::interazione_settore_riga_colonna, {answer});
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].hint,
              "INTERAZIONE - nel settore 1 un numero è presente solo nella riga 1");
    EXPECT_EQ(waits[0].text5, "6");
    EXPECT_EQ(waits[0].yellow, (std::vector<int>{at(1, 1), at(1, 2), at(1, 3)}));
    EXPECT_TRUE(b.m.modificato);
    EXPECT_EQ(b.m.liv3, 1);
    if (std::string(answer) == "si") {
      test::expect_outcome(b, {.changed = without("6", {at(1, 4), at(1, 7)}),
                               .log = kSixLog,
                               .hint = kSixHint});
    } else {
      test::expect_outcome(b, {.log = {kSixLog[0], kSixLog[1]},
                               .hint = "INTERAZIONE - nel settore 1 un numero è presente solo "
                                       "nella riga 1"});
    }
    test::expect_gate_closed(b.m);
  }
}

}  // namespace
}  // namespace ks
