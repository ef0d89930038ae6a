// The classic single-finders: naked singles (and their classic and one-cage variants) and hidden
// singles in boxes, rows and columns, on hand-built boards: scan order, exact hint and log texts,
// the modes, the traffic light. Their soundness on real puzzles is checked with the rule of 45
// (rule45_test.cpp).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "technique_board.h"

namespace ks {
namespace {

using test::at;
using test::HandBoard;
using test::kDashes;

// Digit d leaves every cell of unit u of a kind but `keep`.
void drop_in_unit(HandBoard& b, char d, UnitKind kind, int u, int keep) {
  for (const int c : unit_cells(kind, u))
    if (c != keep) b.drop(d, {c});
}

// ---------------------------------------------------------------------------------------------
// Naked singles

struct NakedCase {
  std::string name;
  std::function<void(HandBoard&)> setup;
  int cell;  // the single expected, 81 for none
  std::string digit;
};

TEST(NakedSingle, PlacesTheFirstEmptyCellWithOneCandidate) {
  const std::vector<NakedCase> cases = {
      {"r1c1", [](HandBoard& b) { b.m.Text2[0].set_text("4"); }, 0, "4"},
      {"r1c9", [](HandBoard& b) { b.m.Text2[8].set_text("9"); }, 8, "9"},
      {"r2c1", [](HandBoard& b) { b.m.Text2[9].set_text("1"); }, 9, "1"},
      {"r9c9", [](HandBoard& b) { b.m.Text2[80].set_text("2"); }, 80, "2"},
      {"the lower cell number of two",
       [](HandBoard& b) {
         b.m.Text2[30].set_text("3");
         b.m.Text2[12].set_text("8");
       },
       12, "8"},
      {"a filled cell is passed over",
       [](HandBoard& b) {
         b.m.Text1[5].set_text("4");
         b.m.Text2[40].set_text("7");
       },
       40, "7"},
  };
  for (const NakedCase& c : cases) {
    SCOPED_TRACE(c.name);
    HandBoard b;
    c.setup(b);
    b.m.naked_single();
    ASSERT_EQ(b.m.cella, c.cell);
    EXPECT_EQ(b.m.numero, c.digit);
    EXPECT_EQ(b.m.Text1[c.cell].text(), c.digit);
    const std::string where = b.m.rc(c.cell);
    EXPECT_EQ(b.m.txthint.text(), "Naked single in " + where);
    EXPECT_EQ(b.log(), (std::vector<std::string>{kDashes, "Naked single " + c.digit + " in " + where}));
    EXPECT_FALSE(b.m.modificato);
    EXPECT_FALSE(b.m.problema);
  }
}

TEST(NakedSingle, NoSingleLeavesEverythingButCella) {
  HandBoard b;
  b.m.Text1[5].set_text("4");  // filled, with its one candidate
  b.m.modificato = true;
  b.m.numero = "x";
  const auto before = b.cells();
  b.m.naked_single();
  EXPECT_EQ(b.m.cella, 81);
  EXPECT_EQ(b.m.numero, "x");
  EXPECT_TRUE(b.m.modificato);
  EXPECT_EQ(b.m.txthint.text(), "");
  EXPECT_TRUE(b.log().empty());
  EXPECT_EQ(b.cells(), before);
}

// The last empty cell of a cage must hold the cage's remaining sum.
TEST(NakedSingle, LastCellOfACageIsCheckedAgainstTheRemainingSum) {
  struct Case {
    std::string name;
    int sum;  // -1: the cell is in no cage
    bool incongruenza;
    bool placed;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {"sum agrees", 6, false, true, {kDashes, "Naked single 6 in r3c7"}},
      {"sum differs", 5, false, false, {}},
      {"sum differs, contradictions logged", 5, true, false, {" IMPOSSIBILE"}},
      {"cell in no cage", -1, false, true, {kDashes, "Naked single 6 in r3c7"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HandBoard b;
    const int cell = at(3, 7);
    b.m.Text2[cell].set_text("6");
    if (c.sum >= 0) b.cage(4, c.sum, {cell});
    b.m.incongruenza = c.incongruenza;
    b.m.naked_single();
    EXPECT_EQ(b.m.cella, cell);
    EXPECT_EQ(b.m.Text1[cell].text(), c.placed ? "6" : "");
    EXPECT_EQ(b.m.problema, !c.placed);
    if (!c.placed) {
      EXPECT_EQ(b.m.gruppoproblema, 4);
      EXPECT_EQ(b.m.txthint.text(), "");
    }
    EXPECT_EQ(b.log(), c.log);
  }
}

// What each mode shows, waits for and places (the single is 5 in r3c7).
struct ModeCase {
  test::Mode mode;
  bool hint, logged, waits, placed;
};

TEST(NakedSingle, ModesDecideWhatIsShownWaitedForAndPlaced) {
  const std::vector<ModeCase> cases = {
      {{"manuale", "", ""}, true, true, true, true},
      {{"analisi", "risolvi", ""}, true, true, false, true},
      {{"analisi", "risolvi", "trial"}, true, false, false, true},
      {{"genera", "genera", ""}, false, false, false, false},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(test::mode_name(c.mode));
    HandBoard b;
    test::Light light(b.s);
    test::set_mode(b.m, c.mode);
    const int cell = at(3, 7);
    b.m.Text2[cell].set_text("5");
    b.m.naked_single();
    EXPECT_EQ(b.m.cella, cell);
    EXPECT_EQ(b.m.numero, "5");
    EXPECT_EQ(b.m.Text1[cell].text(), c.placed ? "5" : "");
    EXPECT_EQ(b.log().size(), c.logged ? 2u : 0u);
    // In step mode the hint is shown while waiting and cleared afterwards.
    EXPECT_EQ(b.m.txthint.text(), c.hint && !c.waits ? "Naked single in r3c7" : "");
    ASSERT_EQ(light.waits.size(), c.waits ? 1u : 0u);
    if (c.waits) {
      EXPECT_EQ(light.waits[0].hint, "Naked single in r3c7");
      EXPECT_EQ(light.waits[0].yellow, std::vector<int>{cell});
    }
    EXPECT_EQ(b.m.Text5.text(), c.waits ? "5" : "");
    EXPECT_EQ(b.m.Text1[cell].back_color(), b.m.bianco);
  }
}

TEST(NakedSingle, RedLightPlacesNothingAndStopsTheLadder) {
  HandBoard b;
  b.set(at(3, 7), "5");
  test::expect_refused(b, &Main::naked_single);
  EXPECT_EQ(b.m.txthint.text(), "");
  EXPECT_EQ(b.m.Text5.text(), "5");
}

TEST(NakedSingle, ClassicVariantLogsOneLineAndChecksNoCage) {
  HandBoard b;
  const int cell = at(2, 2);
  b.m.Text2[cell].set_text("8");
  b.cage(0, 3, {cell});  // a cage that disagrees: the classic variant does not look at it
  b.m.calling1 = "classico";
  b.m.naked_single_classico();
  EXPECT_EQ(b.m.cella, cell);
  EXPECT_EQ(b.m.Text1[cell].text(), "8");
  EXPECT_FALSE(b.m.problema);
  EXPECT_EQ(b.log(), std::vector<std::string>{"Naked single 8 in r2c2"});
  b.m.naked_single_classico();
  EXPECT_EQ(b.m.cella, 81);
}

// The one-cage variant looks only at its cage's cells, and explains and places in every mode.
TEST(NakedSingle, CageVariantLooksOnlyAtItsCage) {
  HandBoard b;
  b.m.chiamante = "genera";
  b.m.calling = "genera";
  b.cage(2, 9, {at(5, 5), at(5, 6)});
  b.m.Text2[at(1, 1)].set_text("3");  // a single outside the cage
  b.m.cella = 7;
  b.m.naked_single_gruppo(2);
  EXPECT_EQ(b.m.cella, at(5, 6));  // the last cage cell looked at
  EXPECT_TRUE(b.m.Text1[at(1, 1)].text().empty());

  b.m.Text2[at(5, 6)].set_text("4");
  b.m.naked_single_gruppo(2);
  EXPECT_EQ(b.m.cella, at(5, 6));
  EXPECT_EQ(b.m.Text1[at(5, 6)].text(), "4");
  EXPECT_EQ(b.m.Text2[at(5, 5)].text(), "5");  // the cage's sum check followed
  EXPECT_EQ(b.m.txthint.text(), "Naked single in r5c6");
  EXPECT_EQ(b.log(), (std::vector<std::string>{kDashes, "Naked single 4 in r5c6"}));

  b.m.naked_single_gruppo(2);  // r5c5 is a single now
  EXPECT_EQ(b.m.Text1[at(5, 5)].text(), "5");
  b.m.naked_single_gruppo(80);  // a cage without cells: nothing, cella unchanged
  EXPECT_EQ(b.m.cella, at(5, 5));
}

// ---------------------------------------------------------------------------------------------
// Hidden singles

using HiddenRun = void (Main::*)();

struct HiddenMember {
  const char* name;
  HiddenRun run;
  UnitKind kind;
};
const HiddenMember kBox{"box", &Main::cerca_settore_con_valore_unico, UnitKind::Box};
const HiddenMember kRow{"row", &Main::cerca_righe_con_valore_unico, UnitKind::Row};
const HiddenMember kColumn{"column", &Main::cerca_colonne_con_valore_unico, UnitKind::Column};

// 6 has one place, r5c3, in box 4, in row 5 and in column 3.
void six_at_r5c3(HandBoard& b) {
  const int cell = at(5, 3);
  drop_in_unit(b, '6', UnitKind::Box, 3, cell);
  drop_in_unit(b, '6', UnitKind::Row, 4, cell);
  drop_in_unit(b, '6', UnitKind::Column, 2, cell);
}

TEST(HiddenSingle, EachUnitKindTellsItsSingleInItsOwnWords) {
  struct Case {
    HiddenMember member;
    std::string hint_while_shown;  // the hint line as the single is found
    std::string hint_after;        // after the placement, in a full solve
    std::vector<std::string> log;
    std::string testo;
    std::string text5;
  };
  const std::vector<Case> cases = {
      {kBox, "hidden single nel settore 4 in r5c3", "hidden single nel settore 4 in r5c3",
       {"hidden single nel settore 4 in r5c3"}, "a", "6"},
      {kRow, "Hidden Single nella riga 5 , in r5c3", "",
       {kDashes, "Hidden Single 6 nella riga 5 , in r5c3"},
       "Hidden Single 6 nella riga 5 , in r5c3", ""},
      {kColumn, "Hidden Single nella colonna 3 nella colonna 3 , r5c3",
       "Hidden Single nella colonna 3 nella colonna 3 , r5c3",
       {kDashes, "Hidden Single 6 nella colonna 3 , r5c3"},
       "Hidden Single 6 nella colonna 3 , r5c3", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.member.name);
    HandBoard b;
    six_at_r5c3(b);
    b.m.testo = "a";
    (b.m.*c.member.run)();
    EXPECT_EQ(b.m.cella, at(5, 3));
    EXPECT_EQ(b.m.numero, "6");
    EXPECT_EQ(b.m.Text1[at(5, 3)].text(), "6");
    EXPECT_EQ(b.m.txthint.text(), c.hint_after);
    EXPECT_EQ(b.log(), c.log);
    EXPECT_EQ(b.m.testo, c.testo);
    EXPECT_EQ(b.m.Text5.text(), c.text5);
    // The box and column members leave their unit in the shared loop variable.
    if (c.member.kind == UnitKind::Box) {
      EXPECT_EQ(b.m.settore, 3);
    } else if (c.member.kind == UnitKind::Column) {
      EXPECT_EQ(b.m.colonna, 2);
    }

    // In step mode the hint is on show while the step waits.
    HandBoard step;
    test::Light light(step.s);
    step.m.chiamante = "manuale";
    step.m.calling = "";
    six_at_r5c3(step);
    (step.m.*c.member.run)();
    ASSERT_EQ(light.waits.size(), 1u);
    EXPECT_EQ(light.waits[0].hint, c.hint_while_shown);
    EXPECT_EQ(light.waits[0].yellow, std::vector<int>{at(5, 3)});
    EXPECT_EQ(step.m.Text5.text(), "6");
    EXPECT_EQ(step.m.Text1[at(5, 3)].text(), "6");
  }
}

TEST(HiddenSingle, LowestUnitThenLowestDigitThenFirstCellWins) {
  struct Case {
    std::string name;
    HiddenMember member;
    std::function<void(HandBoard&)> setup;
    int cell;
    std::string digit;
  };
  const std::vector<Case> cases = {
      {"a 9 in box 1 before a 1 in box 2", kBox,
       [](HandBoard& b) {
         drop_in_unit(b, '1', UnitKind::Box, 1, at(2, 5));
         drop_in_unit(b, '9', UnitKind::Box, 0, at(3, 3));
       },
       at(3, 3), "9"},
      {"a 2 before a 7 in one row", kRow,
       [](HandBoard& b) {
         drop_in_unit(b, '7', UnitKind::Row, 6, at(7, 1));
         drop_in_unit(b, '2', UnitKind::Row, 6, at(7, 9));
       },
       at(7, 9), "2"},
      {"a one-candidate cell whose digit is nowhere else in the column", kColumn,
       [](HandBoard& b) {
         drop_in_unit(b, '4', UnitKind::Column, 5, at(8, 6));
         b.set(at(8, 6), "4");
       },
       at(8, 6), "4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HandBoard b;
    c.setup(b);
    (b.m.*c.member.run)();
    EXPECT_EQ(b.m.cella, c.cell);
    EXPECT_EQ(b.m.Text1[c.cell].text(), c.digit);
  }
}

TEST(HiddenSingle, DigitWithTwoPlacesOrAlreadyPlacedIsNoSingle) {
  for (const HiddenMember& member : {kBox, kRow, kColumn}) {
    SCOPED_TRACE(member.name);
    HandBoard b;
    drop_in_unit(b, '5', member.kind, 4, -1);
    const auto cells = unit_cells(member.kind, 4);
    b.m.Text2[cells[2]].set_text("58");
    b.m.Text2[cells[6]].set_text("157");
    b.m.Text1[cells[0]].set_text("3");  // placed: 3 leaves the unit's empty cells
    b.m.settore = b.m.colonna = 0;
    const auto before = b.cells();
    (b.m.*member.run)();
    EXPECT_EQ(b.m.cella, 81);
    EXPECT_EQ(b.cells(), before);
    EXPECT_TRUE(b.log().empty());
    if (member.kind == UnitKind::Box) {
      EXPECT_EQ(b.m.settore, 9);
    } else if (member.kind == UnitKind::Column) {
      EXPECT_EQ(b.m.colonna, 9);
    }
  }
}

// A digit typed where it is no candidate stays in its box ("numero errato") with the cell's old
// candidates under it; the hidden single of the unit goes to its empty cell, not over the
// typed digit.
TEST(HiddenSingle, CellWithARefusedDigitIsNotOverwritten) {
  HandBoard b;
  b.m.chiamante = "manuale";
  b.m.calling = "";
  test::Light light(b.s);
  drop_in_unit(b, '3', UnitKind::Row, 0, -1);
  b.m.Text2[at(1, 1)].set_text("36");
  b.m.Text2[at(1, 5)].set_text("134");
  b.m.Text1[at(1, 1)].type("5");
  ASSERT_EQ(b.m.txthint.text(), "  numero errato");
  b.m.problema = false;
  b.m.cerca_righe_con_valore_unico();
  EXPECT_EQ(b.m.cella, at(1, 5));
  EXPECT_EQ(b.m.Text1[at(1, 5)].text(), "3");
  EXPECT_EQ(b.m.Text1[at(1, 1)].text(), "5");
}

TEST(HiddenSingle, ModesAndTheRedLight) {
  for (const HiddenMember& member : {kBox, kRow, kColumn}) {
    SCOPED_TRACE(member.name);
    {
      SCOPED_TRACE("generator: found, nothing shown or placed");
      HandBoard b;
      b.m.chiamante = "genera";
      six_at_r5c3(b);
      const auto before = b.cells();
      (b.m.*member.run)();
      EXPECT_EQ(b.m.cella, at(5, 3));
      EXPECT_EQ(b.m.numero, "6");
      EXPECT_EQ(b.cells(), before);
      EXPECT_EQ(b.m.txthint.text(), "");
      EXPECT_TRUE(b.log().empty());
    }
    {
      SCOPED_TRACE("trial: placed without a log line");
      HandBoard b;
      b.m.calling1 = "trial";
      six_at_r5c3(b);
      (b.m.*member.run)();
      EXPECT_EQ(b.m.Text1[at(5, 3)].text(), "6");
      EXPECT_TRUE(b.log().empty());
      if (member.kind != UnitKind::Box) {
        EXPECT_NE(b.m.testo.find("Hidden Single 6"), std::string::npos);
      }
    }
    {
      SCOPED_TRACE("red light: nothing placed, the hint stays");
      HandBoard b;
      test::Light light(b.s, {"no"});
      b.m.chiamante = "manuale";
      b.m.calling = "";
      six_at_r5c3(b);
      (b.m.*member.run)();
      EXPECT_EQ(light.waits.size(), 1u);
      EXPECT_TRUE(b.m.modificato);
      EXPECT_EQ(b.m.Text1[at(5, 3)].text(), "");
      EXPECT_EQ(b.m.txthint.text(), light.waits[0].hint);
      EXPECT_EQ(b.m.Text1[at(5, 3)].back_color(), b.m.bianco);
    }
  }
}

}  // namespace
}  // namespace ks
