// The cage editor driven as a player drives it: colours, cell clicks, sums typed and left, cages
// deleted; the cage model must always agree with the board.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace ks {
namespace {

using test::Started;

// The player types a sum into the open cage's sum box and clicks elsewhere.
void type_sum(Main& m, int g, const std::string& sum) {
  m.textsomma[g].set_focus();
  m.textsomma[g].type(sum);
  m.Text1[80].set_focus();
}

// A colour, the cells clicked, the sum typed: one cage.
void enter_cage(Main& m, int colour, const std::vector<int>& cells, const std::string& sum) {
  m.colore[colour].on_click();
  for (const int c : cells) m.Text1[c].on_click();
  type_sum(m, m.gruppi, sum);
}

std::vector<int> listed(const Main& m, int g) {
  std::vector<int> cells;
  for (int k = 1; k <= m.cage_size(g); ++k) cells.push_back(m.cage_cell(g, k));
  return cells;
}

TEST(CageEditor, ClosingRefusesASumNoDigitsCanMakeAndASplitCage) {
  struct Case {
    std::vector<int> cells;
    std::string sum;
    std::string message;  // "" when the cage closes
  };
  const std::vector<Case> cases = {
      {{0, 1}, "abc", "somma non valida: un gruppo di 2 celle ha una somma da 3 a 17"},
      {{0, 1}, "77", "somma non valida: un gruppo di 2 celle ha una somma da 3 a 17"},
      {{0}, "0", "somma non valida: un gruppo di 1 cella ha una somma da 1 a 9"},
      {{0, 1, 2}, "25", "somma non valida: un gruppo di 3 celle ha una somma da 6 a 24"},
      {{0, 2}, "10", "le celle del gruppo non sono contigue"},
      {{0, 1, 9, 10, 20}, "20", "le celle del gruppo non sono contigue"},
      {{0, 1}, "12a", ""},  // reads as 12
      {{0, 1, 2, 3, 4, 5, 6}, "42", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sum);
    Started s;
    Main& m = *s.m;
    m.nuovo_schema();
    enter_cage(m, 3, c.cells, c.sum);
    if (c.message.empty()) {
      EXPECT_TRUE(s.rt.messages.empty());
      EXPECT_EQ(m.gruppi, 1);
      EXPECT_EQ(m.cellacolorata, 0);
      EXPECT_EQ(m.cage_size(0), static_cast<int>(c.cells.size()));
      continue;
    }
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{c.message});
    // The cage stays open for the player to correct.
    EXPECT_EQ(m.gruppi, 0);
    EXPECT_EQ(m.cellacolorata, static_cast<int>(c.cells.size()));
    EXPECT_TRUE(m.sommagruppo[0].is_empty());
    if (c.message[0] == 's') {
      type_sum(m, 0, "9");
      EXPECT_EQ(m.gruppi, 1);
      EXPECT_EQ(m.cellacolorata, 0);
    }
  }
}

// A digit typed into a cell before its cage was closed counts against the cage from the start:
// erasing it gives back exactly what the closing took.
TEST(CageEditor, ADigitPlacedBeforeTheCageWasClosedCountsAgainstIt) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  m.colore[2].on_click();
  m.Text1[0].on_click();
  m.Text1[1].on_click();
  m.Text1[0].type("3");
  type_sum(m, 0, "10");
  EXPECT_EQ(m.sommagruppo[0].num(), 7);
  EXPECT_EQ(listed(m, 0), std::vector<int>{1});
  m.Text1[0].type("");
  EXPECT_EQ(m.sommagruppo[0].num(), 10);
  EXPECT_EQ(listed(m, 0), (std::vector<int>{0, 1}));
  EXPECT_FALSE(m.problema);
}

// A digit typed into a cell of the cage being entered leaves the cage's record to the editor:
// its list keeps the cells in the order clicked, so the white button takes back the last one,
// and the closing counts the digit.
TEST(CageEditor, ADigitInTheCageBeingEnteredLeavesItsCellsInClickOrder) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  m.colore[2].on_click();
  for (const int c : {0, 1, 2}) m.Text1[c].on_click();
  m.Text1[1].type("4");
  EXPECT_EQ(m.cellacolorata, 3);
  EXPECT_FALSE(m.sommagruppo[0].is_number());
  m.colore[17].on_click();  // the white button, then a click on a free cell
  m.Text1[40].on_click();
  EXPECT_EQ(m.cage_of(2), -1);
  EXPECT_EQ(m.cage_of(1), 0);
  type_sum(m, 0, "9");
  EXPECT_EQ(m.cellacolorata, 0);
  EXPECT_EQ(m.layout_size(0), 2);
  EXPECT_EQ(m.sommagruppo[0].num(), 5);
  EXPECT_EQ(listed(m, 0), std::vector<int>{0});
}

// A sum typed into a closed cage's box counts once a command is clicked, as when the box loses
// the focus (a toolbar click leaves the focus where it is): the cage and the box agree.
TEST(CageEditor, ASumTypedIntoAClosedCageCountsAtTheNextCommand) {
  Started s;
  Main& m = *s.m;
  const test::Puzzle& p = test::puzzles()[0];
  test::load_layout(m, p.layout);
  m.filetxt.set_text(" nuovo schema");
  const test::TextCage cage = test::cages_of(p.layout)[3];
  const int g = m.cage_of(cage.cells[0]);
  const int n = static_cast<int>(cage.cells.size());
  const int sum = cage.sum < n * (19 - n) / 2 ? cage.sum + 1 : cage.sum - 1;
  m.textsomma[g].set_focus();
  m.textsomma[g].type(std::to_string(sum));
  m.Toolbar1.on_button_click("activity");
  EXPECT_EQ(m.sommagruppo[g].num(), sum);
  EXPECT_EQ(m.textsomma[g].text(), std::to_string(sum));
}

// A rating names the layout it was made for. Once the editor changes the layout (a closed cage's
// sum changed, a cage deleted and entered again) the level boxes no longer show it, nor after a
// solve of the new layout that finds no solution; a restart alone keeps it.
TEST(CageEditor, AnEditedLayoutNoLongerShowsTheRatingOfTheOldOne) {
  const test::Puzzle& p = test::puzzles()[0];  // cage 0: 10 = r1c1 r1c2
  for (const std::string edit : {"restart", "sum", "cage entered again"}) {
    SCOPED_TRACE(edit);
    Started s;
    Main& m = *s.m;
    test::load_layout(m, p.layout);
    m.filetxt.set_text(" nuovo schema");
    m.Toolbar2.on_button_click("risolvi");
    ASSERT_TRUE(m.finito);
    const std::vector<std::string> rating = {m.txtlivello.text(), m.txtlivello1.text(), m.testototale.text()};
    ASSERT_NE(rating[0], "");
    m.Toolbar2.on_button_click("undo");
    if (edit == "sum") {
      m.textsomma[0].set_focus();
      m.textsomma[0].type("11");
    } else if (edit == "cage entered again") {
      m.colore[2].on_click();
      m.Text1[0].on_click();  // deletes cage 0, answered OK
      enter_cage(m, 2, {0, 1}, "10");
    }
    s.rt.messages.clear();
    m.Toolbar1.on_button_click("activity");  // the next command takes the typed sum
    const std::vector<std::string> shown = {m.txtlivello.text(), m.txtlivello1.text(), m.testototale.text()};
    EXPECT_EQ(shown, edit == "restart" ? rating : std::vector<std::string>(3, ""));
    if (edit != "sum") continue;
    m.Toolbar2.on_button_click("risolvi");
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{"schema senza soluzione"});
    EXPECT_EQ((std::vector<std::string>{m.txtlivello.text(), m.txtlivello1.text(), m.testototale.text()}),
              std::vector<std::string>(3, ""));
  }
}

// After a load the last cage is closed: cells of deleted cages form a new cage with a new number,
// and deleting a cage frees every one of its cells, also one holding a digit.
TEST(CageEditor, OnALoadedPuzzleNewCagesGetNewNumbersAndDeletionsFreeEveryCell) {
  Started s;
  Main& m = *s.m;
  const test::Puzzle& p = test::puzzles()[0];
  test::load_layout(m, p.layout);
  const auto cages = test::cages_of(p.layout);
  const int last = m.gruppi;
  ASSERT_EQ(last, static_cast<int>(cages.size()) - 1);
  // Cage 1 holds a right digit in its first cell, then the player deletes it.
  const std::vector<int> cells = cages[1].cells;
  m.Text1[cells[0]].type(std::string(1, p.solution[cells[0]]));
  m.colore[4].on_click();
  s.rt.answers.push_back(MsgAnswer::Ok);
  m.Text1[cells[1]].on_click();
  for (const int c : cells) EXPECT_EQ(m.cage_of(c), -1) << c;
  EXPECT_EQ(m.cage_size(1), 0);
  EXPECT_FALSE(m.textsomma[1].visible());
  // The same cells make a new cage; the digit already placed counts against it.
  m.colore[5].on_click();
  for (const int c : cells) m.Text1[c].on_click();
  type_sum(m, last + 1, std::to_string(cages[1].sum));
  EXPECT_EQ(m.cage_of(cells[0]), last + 1);
  EXPECT_EQ(m.sommagruppo[last + 1].num(), cages[1].sum - (p.solution[cells[0]] - '0'));
  EXPECT_EQ(m.cage_size(last + 1), static_cast<int>(cells.size()) - 1);
  // The last loaded cage is whole.
  EXPECT_EQ(m.cage_size(last), static_cast<int>(cages[last].cells.size()));
  EXPECT_EQ(m.sommagruppo[last].num(), cages[last].sum);
  for (const int c : cages[last].cells) EXPECT_EQ(m.cage_of(c), last);
  // Every cell is in a cage again: gruppi stays on the last cage.
  EXPECT_EQ(m.gruppi, last + 1);
}

TEST(CageEditor, ARefusedDeletionLeavesTheCellAsItWas) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  enter_cage(m, 3, {10, 11, 12}, "15");
  const Color before = m.Text1[11].back_color();
  m.colore[6].on_click();
  s.rt.answers.push_back(MsgAnswer::Cancel);
  m.Text1[11].on_click();
  EXPECT_EQ(m.Text1[11].back_color(), before);
  EXPECT_EQ(m.Text2[11].back_color(), before);
  EXPECT_EQ(m.cage_of(11), 0);
}

// A wrong digit larger than the cage's remaining sum: the sum may go below zero, but the list
// holds exactly the cage's empty cells.
TEST(CageEditor, AWrongDigitAboveTheRemainingSumKeepsTheListToTheEmptyCells) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  enter_cage(m, 1, {0, 1}, "3");
  m.Text1[0].type("9");
  EXPECT_EQ(m.sommagruppo[0].num(), -6);
  EXPECT_EQ(listed(m, 0), std::vector<int>{1});
  m.Text1[0].type("");
  EXPECT_EQ(m.sommagruppo[0].num(), 3);
  EXPECT_EQ(listed(m, 0), (std::vector<int>{0, 1}));
}

// Correcting a mistyped sum gives the cells back what the old sum had cut.
TEST(CageEditor, CorrectingASumGivesBackWhatTheOldSumCut) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  enter_cage(m, 1, {0, 1}, "3");
  enter_cage(m, 2, {2, 3}, "17");
  m.colore[16].on_click();
  m.Toolbar2.on_button_click("undo");  // "rigenera schema": the first candidates
  EXPECT_EQ(m.Text2[0].text(), "12");
  EXPECT_EQ(m.Text2[2].text(), "89");
  m.Text1[0].type("1");
  type_sum(m, 0, "16");
  EXPECT_TRUE(s.rt.messages.empty());
  EXPECT_EQ(m.sommagruppo[0].num(), 15);
  // r1c2 needs 15 - nothing else: no digit makes it; the cut finds the contradiction.
  EXPECT_TRUE(m.problema);
  m.Text1[0].type("");
  type_sum(m, 0, "15");
  EXPECT_EQ(m.sommagruppo[0].num(), 15);
  // r1c1 and r1c2 take the digits of 69 and 78 again; r1c3 and r1c4 keep their 89.
  EXPECT_EQ(m.Text2[0].text(), "6789");
  EXPECT_EQ(m.Text2[1].text(), "6789");
  EXPECT_EQ(m.Text2[2].text(), "89");
  // An impossible correction is refused and the box shows the sum again.
  type_sum(m, 0, "30");
  EXPECT_EQ(s.rt.messages.back(), "somma non valida: un gruppo di 2 celle ha una somma da 3 a 17");
  EXPECT_EQ(m.textsomma[0].text(), "15");
  EXPECT_EQ(m.sommagruppo[0].num(), 15);
}

// A puzzle that comes onto the board ends the editor: a cage begun on the last board is gone,
// and a click on a cell of the new one is play, with the digit palette.
TEST(CageEditor, ALoadedPuzzleEndsTheColouring) {
  for (const char* how : {"load", "new", "genera"}) {
    SCOPED_TRACE(how);
    Started s;
    Main& m = *s.m;
    m.Toolbar2_ButtonClick("new");
    m.colore[2].on_click();
    m.Text1[0].on_click();
    m.Text1[1].on_click();
    if (std::string(how) == "load")
      test::load_layout(m, test::puzzles()[0].layout);
    else
      m.Toolbar2_ButtonClick(how);
    s.rt.messages.clear();
    m.Text1[40].on_click();
    EXPECT_TRUE(s.rt.messages.empty()) << s.rt.messages[0];
    EXPECT_EQ(m.palette_cell, 40);
    EXPECT_EQ(m.cellacolorata, 0);
  }
}

}  // namespace
}  // namespace ks
