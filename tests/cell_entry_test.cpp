// Cell entry, the digit palette and the cage editor: a puzzle entered by hand and played.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Started;

using test::cages_of;
using test::enter_by_hand;

// A snapshot of the cage model and the board, to compare states.
struct Snapshot {
  std::vector<std::string> digits, candidates;
  std::vector<double> sums;
  std::vector<int> counts;
  std::vector<std::vector<int>> lists;
  int esposti;
  bool operator==(const Snapshot&) const = default;
};
Snapshot snapshot(const Main& m, bool with_candidates = true) {
  Snapshot s;
  for (int i = 0; i < 81; ++i) {
    s.digits.push_back(m.Text1[i].text());
    if (with_candidates) s.candidates.push_back(m.Text2[i].text());
  }
  for (int g = 0; g <= m.gruppi; ++g) {
    s.sums.push_back(m.sommagruppo[g].num());
    const int n = m.elementigruppo[g].as_int();
    s.counts.push_back(n);
    std::vector<int> list;
    for (int k = 1; k <= n; ++k) list.push_back(m.cellegruppo[g][k].as_int());
    s.lists.push_back(list);
  }
  s.esposti = m.esposti;
  return s;
}

// Places a digit the way a player does: a click on the cell, a click on the palette.
void place(Main& m, int cell, int digit) {
  m.Text1_Click(cell);
  m.Picture1_Click(digit);
}

struct HandEntered : Started {
  test::Puzzle p = test::puzzles().at(0);
  HandEntered() {
    m->nuovo_schema();
    enter_by_hand(*m, cages_of(p.layout));
    m->calcola_candidati();
    m->inizializza_candidati();
  }
  int solution(int cell) const { return p.solution[static_cast<size_t>(cell)] - '0'; }
};

TEST(CellEntry, EditorBuildsTheSameCageModelAsTheLoader) {
  HandEntered s;
  Main& m = *s.m;
  const auto cages = cages_of(s.p.layout);
  ASSERT_EQ(m.gruppi, static_cast<int>(cages.size()) - 1);
  for (int g = 0; g <= m.gruppi; ++g) {
    EXPECT_EQ(m.sommagruppo[g].num(), cages[g].sum) << g;
    ASSERT_EQ(m.elementigruppo[g].as_int(), static_cast<int>(cages[g].cells.size())) << g;
    EXPECT_EQ(m.elementioriginali[g].as_int(), static_cast<int>(cages[g].cells.size()));
    for (size_t k = 0; k < cages[g].cells.size(); ++k) {
      EXPECT_TRUE(m.cellegruppo[g][k + 1].is(cages[g].cells[k]));
      EXPECT_TRUE(m.gruppodicella[cages[g].cells[k]].is(g));
    }
    // The sum box sits on the top edge of the first clicked cell, as a loaded cage's does.
    const int first = cages[g].cells[0];
    EXPECT_EQ(m.textsomma[g].left(), m.Label2[first].left() + 2);
    EXPECT_EQ(m.textsomma[g].top(), m.Label2[first].top() - 4);
    EXPECT_EQ(m.textsomma[g].text(), std::to_string(cages[g].sum));
  }
  EXPECT_FALSE(m.colori);
  for (int i = 0; i < 81; ++i) EXPECT_EQ(m.Text1[i].back_color(), m.bianco);
}

TEST(CellEntry, PalettePlacementKeepsCagesCountsAndCandidates) {
  HandEntered s;
  Main& m = *s.m;
  // Cage 0 is {0, 1} with sum 10; the solution has 3 and 7 there.
  const int cell = 0, mate = 1, d = s.solution(0);
  place(m, cell, d);
  EXPECT_EQ(m.Text1[cell].text(), std::to_string(d));
  EXPECT_EQ(m.Text2[cell].text(), std::to_string(d));
  EXPECT_EQ(m.esposti, 1);
  EXPECT_EQ(m.txtesposti.text(), "1");
  EXPECT_EQ(m.txtvuoti.text(), "80");
  EXPECT_EQ(m.sommagruppo[0].num(), 10 - d);
  EXPECT_EQ(m.elementigruppo[0].as_int(), 1);
  EXPECT_TRUE(m.cellegruppo[0][1].is(mate));
  // The mate, a one-cell remainder, keeps only the remaining sum after the cage's sum check; with
  // the pencil marks off it goes on showing its digit box alone, and placing the digit shows it.
  EXPECT_EQ(m.Text2[mate].text(), std::to_string(10 - d));
  EXPECT_FALSE(m.Text2[mate].visible());
  EXPECT_TRUE(m.Text1[mate].visible());
  place(m, mate, 10 - d);
  EXPECT_FALSE(m.Text2[mate].visible());
  EXPECT_TRUE(m.Text1[mate].visible());
  // Peers in the row, column and box lose the digit.
  for (int peer : {2, 8, 9, 10, 18, 20, 72})
    EXPECT_FALSE(has_char(m.Text2[peer].text(), static_cast<char>('0' + d))) << peer;
  EXPECT_FALSE(m.problema);
  for (auto& pic : m.Picture1) EXPECT_FALSE(pic.visible());
}

// Cage {2, 11} with sum 10: placing r1c3 leaves r2c3 one digit, which shows as the pencil marks
// show it (its candidate box while they are on), and the next board comes with every digit box.
TEST(CellEntry, AOneCellRemainderShowsAsThePencilMarksShowIt) {
  HandEntered s;
  Main& m = *s.m;
  m.mnupencil_Click();
  place(m, 2, s.solution(2));
  ASSERT_EQ(m.Text2[11].text(), std::to_string(10 - s.solution(2)));
  EXPECT_TRUE(m.Text2[11].visible());
  EXPECT_FALSE(m.Text1[11].visible());
  m.nuovo_schema();
  EXPECT_FALSE(m.mnupencil.checked());
  EXPECT_FALSE(m.Text2[11].visible());
  EXPECT_TRUE(m.Text1[11].visible());
}

TEST(CellEntry, DigitThatIsNoCandidateShowsNumeroErrato) {
  HandEntered s;
  Main& m = *s.m;
  // Cage {0, 1} with sum 10 cannot hold a 5 (5 + 5).
  ASSERT_FALSE(has_char(m.Text2[0].text(), '5'));
  place(m, 0, 5);
  EXPECT_EQ(m.txthint.text(), "  numero errato");
  EXPECT_TRUE(m.txthint.visible());
  EXPECT_TRUE(m.problema);
  EXPECT_EQ(m.Text1[0].text(), "5");
}

TEST(CellEntry, ErasureGivesTheCageBackWhatThePlacementTook) {
  HandEntered s;
  Main& m = *s.m;
  // Cage 2 is {3, 4, 13} with sum 13.
  place(m, 13, s.solution(13));
  const Snapshot before = snapshot(m, false);
  place(m, 3, s.solution(3));
  EXPECT_EQ(m.elementigruppo[2].as_int(), 1);
  place(m, 3, 0);  // erase
  EXPECT_EQ(snapshot(m, false), before);
  EXPECT_TRUE(m.cellegruppo[2][1].is(3));
  EXPECT_TRUE(m.cellegruppo[2][2].is(4));
  // Erasing a refused digit gives back as well: r1c5 sees the 3 of r2c5.
  place(m, 4, 3);
  EXPECT_EQ(m.txthint.text(), "  numero errato");
  place(m, 4, 0);
  EXPECT_EQ(snapshot(m, false), before);
  // A digit written over another is an erasure followed by a placement.
  place(m, 3, s.solution(4));
  place(m, 3, s.solution(3));
  EXPECT_EQ(m.sommagruppo[2].num(), 13 - s.solution(13) - s.solution(3));
  EXPECT_EQ(m.elementigruppo[2].as_int(), 1);
  EXPECT_TRUE(m.cellegruppo[2][1].is(4));
  EXPECT_EQ(m.esposti, 2);
}

TEST(CellEntry, TypedTextOtherThanOneDigitIsRefused) {
  HandEntered s;
  Main& m = *s.m;
  place(m, 0, s.solution(0));
  const Snapshot before = snapshot(m);
  for (const char* typed : {"a", "57", "0", " ", "-1"}) {
    m.Text1[0].set_text(typed);
    EXPECT_EQ(m.Text1[0].text(), std::to_string(s.solution(0))) << typed;
    m.Text1[5].set_text(typed);
    EXPECT_EQ(m.Text1[5].text(), "") << typed;
    EXPECT_EQ(snapshot(m), before) << typed;
  }
}

// Whether the hint line tells an error of the grid: a wrong digit (with what the sum check
// appended to it) or a full grid that breaks a rule.
bool tells_an_error(const std::string& hint) {
  return hint.starts_with("  numero errato") || hint.find("con errori") != std::string::npos;
}

// However its last digit came, a full grid shows the time. One that keeps every rule beeps once
// and stops the running play clock, its button back on "start", and the hint line tells no error
// of the way there; one that breaks a rule says so in the hint line and the clock runs on, until
// the wrong digits are put right. The fault goes from the line as soon as the grid is no longer
// full.
TEST(CellEntry, AFullGridIsFinishedOnlyWhenItKeepsEveryRule) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> first;  // wrong digits placed before the other cells
    bool first_erased;                        // ... and erased again at once
    std::pair<int, int> last;
    bool candidate;  // the last digit is among its cell's candidates
    std::string hint;
  };
  // r3c7, r3c8, r8c7, r8c8 hold 1 3 / 3 1: swapped, every row, column and box still holds each
  // digit once, each swapped digit a candidate when it is placed, but the cage of r8c7 and r8c8
  // (sum 10, with r7c7) no longer makes its sum. r1c1 cannot hold a 5: its cage {r1c1, r1c2} has
  // the sum 10.
  const std::vector<Case> cases = {
      {"the right last digit", {}, false, {80, 6}, true, ""},
      {"a last digit that is no candidate", {}, false, {80, 5}, false,
       "schema completo, ma con errori: il 5 di r9c8 è anche in r9c9, nella stessa riga"},
      {"a last digit that is a wrong candidate", {{24, 3}, {25, 1}, {70, 3}}, false, {69, 1}, true,
       "schema completo, ma con errori: le cifre del gruppo di r7c7 non danno la sua somma"},
      {"a numero errato typed early and erased", {{0, 5}}, true, {80, 6}, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HandEntered s;
    Main& m = *s.m;
    s.rt.clock = 100.0f;
    m.t0 = 100.0f;
    m.picstart.on_click();
    for (const auto& [cell, digit] : c.first) {
      place(m, cell, digit);
      if (!c.first_erased) continue;
      ASSERT_TRUE(m.txthint.text().starts_with("  numero errato"));
      place(m, cell, 0);
    }
    for (int i = 0; i < 81; ++i) {
      const bool placed = i == c.last.first || (!c.first_erased && std::any_of(c.first.begin(), c.first.end(),
                                                                               [i](const auto& f) { return f.first == i; }));
      if (!placed) place(m, i, s.solution(i));
    }
    // The sum checks of the entries after the wrong digit appended their cuts to its line.
    if (c.first_erased) {
      ASSERT_TRUE(m.txthint.text().starts_with("  numero errato - ")) << m.txthint.text();
    }
    s.rt.clock = 103.07f;
    ASSERT_EQ(has_char(m.Text2[c.last.first].text(), static_cast<char>('0' + c.last.second)), c.candidate);
    place(m, c.last.first, c.last.second);
    EXPECT_EQ(m.esposti, 81);
    EXPECT_EQ(m.tempo.text(), "3,07 s");
    const bool right = c.hint.empty();
    // A finished grid leaves the hint line to what the sum checks of the right entries wrote.
    if (right) {
      EXPECT_FALSE(tells_an_error(m.txthint.text())) << m.txthint.text();
    } else {
      EXPECT_EQ(m.txthint.text(), c.hint);
    }
    EXPECT_EQ(s.rt.beeps, right ? 1 : 0);
    EXPECT_EQ(m.finito, right);
    s.rt.clock = 110.0f;
    if (m.Timer2.enabled()) m.Timer2.on_timer();
    EXPECT_EQ(m.tempotot.text(), right ? "3s" : "10s");
    EXPECT_EQ(m.play_clock_running(), !right);
    EXPECT_EQ(m.Timer2.enabled(), !right);
    if (right) {
      EXPECT_FALSE(m.problema);
      for (int g = 0; g <= m.gruppi; ++g) {
        EXPECT_EQ(m.sommagruppo[g].num(), 0) << g;
        EXPECT_EQ(m.elementigruppo[g].as_int(), 0) << g;
      }
      continue;
    }
    // The wrong last digit erased: the grid is no longer full, and the line no longer says so.
    place(m, c.last.first, 0);
    EXPECT_EQ(m.txthint.text(), " ");
    // The wrong digits erased and the right ones placed: the grid is finished, the line tells no
    // error.
    std::vector<int> wrong{c.last.first};
    for (const auto& f : c.first) wrong.push_back(f.first);
    for (const int cell : wrong) place(m, cell, 0);
    for (const int cell : wrong) place(m, cell, s.solution(cell));
    EXPECT_TRUE(m.finito);
    EXPECT_FALSE(tells_an_error(m.txthint.text())) << m.txthint.text();
    EXPECT_EQ(s.rt.beeps, 1);
    EXPECT_FALSE(m.play_clock_running());
    EXPECT_FALSE(m.Timer2.enabled());
    EXPECT_EQ(m.tempotot.text(), "10s");
  }
}

TEST(CellEntry, PlacementInACellOfNoCageSkipsTheCageBookkeeping) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  place(m, 40, 5);
  EXPECT_EQ(m.Text1[40].text(), "5");
  EXPECT_EQ(m.esposti, 1);
  EXPECT_EQ(m.Text2[41].text(), "12346789");
  place(m, 40, 0);
  EXPECT_EQ(m.esposti, 0);
  EXPECT_EQ(m.Text2[41].text(), "123456789");
}

TEST(CellEntry, RowConflictInPlayTakesTheDigitBackOut) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  // r1c9 is cut to "5" by hand; placing 5 in r1c5 meets it as a row conflict.
  m.Text2[8].set_text("5");
  place(m, 4, 5);
  EXPECT_EQ(m.Text1[4].text(), "");
  EXPECT_EQ(m.Text2[8].text(), "123456789");
  EXPECT_EQ(m.Text2[4].text(), "123456789");
  EXPECT_EQ(m.esposti, 0);
}

// In the player's own play a digit kept in spite of a conflict leaves no peer and no cage mate
// with it as a candidate: a column peer down to that digit shows no candidate at all, and a
// cage mate emptied by it does not stop the peers from losing it.
TEST(CellEntry, ADigitKeptInAConflictIsACandidateOfNoCellThatSeesIt) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  m.Text2[18].set_text("5");  // r3c1, in the column of r7c1
  place(m, 54, 5);
  EXPECT_EQ(m.Text1[54].text(), "5");
  EXPECT_TRUE(m.problema);
  EXPECT_EQ(m.Text2[18].text(), "");
  for (const int p : peers(54)) {
    if (p == 18) continue;
    EXPECT_EQ(m.Text2[p].text().find('5'), std::string::npos) << m.rc(p);
  }

  const test::Puzzle& dt1 = test::puzzles()[0];
  test::load_layout(m, dt1.layout);
  const int cell = test::cages_of(dt1.layout)[0].cells[0];
  const int mate = test::cages_of(dt1.layout)[0].cells[1];
  const char d = dt1.solution[static_cast<size_t>(cell)];
  m.Text2[mate].set_text(std::string(1, d));
  place(m, cell, d - '0');
  EXPECT_EQ(m.Text2[mate].text(), "");
  for (const int p : peers(cell)) {
    if (!m.Text1[p].text().empty()) continue;
    EXPECT_EQ(m.Text2[p].text().find(d), std::string::npos) << m.rc(p);
  }
}

// A finished grid is finished once: a wrong digit put over one of its digits unfinishes it,
// without a beep, and the right digit back finishes it again with one beep. A cage given
// another sum unfinishes it too.
TEST(CellEntry, AFinishedGridIsReportedOnceAndUnfinishedByAWrongDigitOrSum) {
  HandEntered s;
  Main& m = *s.m;
  for (int i = 0; i < 81; ++i) place(m, i, s.solution(i));
  ASSERT_TRUE(m.finito);
  ASSERT_EQ(s.rt.beeps, 1);
  m.Text1[40].type(std::to_string(s.solution(40) % 9 + 1));
  EXPECT_FALSE(m.finito);
  m.Text1[40].type(std::to_string(s.solution(40)));
  EXPECT_TRUE(m.finito);
  EXPECT_EQ(s.rt.beeps, 2);

  const int g = m.cage_of(0);
  const int sum = static_cast<int>(val(m.textsomma[g].text()));
  const int n = m.layout_size(g);
  m.textsomma[g].set_focus();
  m.textsomma[g].type(std::to_string(sum < n * (19 - n) / 2 ? sum + 1 : sum - 1));
  m.Toolbar1.on_button_click("activity");  // a command takes what was typed
  EXPECT_FALSE(m.finito);
  EXPECT_EQ(s.rt.beeps, 2);
}

// An erasure leaves a cell that no digit fits without candidates, where the classic
// recomputation alone would keep a digit a peer holds.
TEST(CellEntry, AnErasureShowsACellThatNoDigitFitsWithoutCandidates) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  // Row 1 holds 1..8 in r1c1..r1c8 and r2c9 holds 9: r1c9 fits nothing once its 9 is erased.
  m.ins_dati = true;
  for (int c = 0; c < 8; ++c) m.Text1[c].set_text(std::to_string(c + 1));
  m.Text1[17].set_text("9");
  m.Text1[8].set_text("9");
  m.ins_dati = false;
  m.calcola_candidati();
  m.Text1[8].type("");
  EXPECT_EQ(m.Text2[8].text(), "");
  EXPECT_TRUE(m.problema);
}

TEST(DigitPalette, OpensAroundTheClickedCellAndWritesItsDigit) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  m.Text1_Click(40);
  EXPECT_EQ(m.cella, 40);
  EXPECT_EQ(m.scelta, "no");
  EXPECT_EQ(m.Picture1[1].left(), m.Text1[40].left() - 2);
  EXPECT_EQ(m.Picture1[1].top(), m.Text1[40].top() - 24);
  EXPECT_EQ(m.Picture1[0].left(), m.Text1[40].left() - 23);
  EXPECT_EQ(m.Picture1[0].top(), m.Text1[40].top() - 18);
  EXPECT_EQ(m.Picture1[5].left(), m.Text1[40].left() + 40);
  for (auto& p : m.Picture1) EXPECT_TRUE(p.visible());
  // Moving within 11 cell numbers keeps it open; farther closes it.
  m.Text1_MouseMove(51);
  m.Text2_MouseMove(29);
  EXPECT_TRUE(m.Picture1[0].visible());
  m.Text1_MouseMove(52);
  EXPECT_FALSE(m.Picture1[0].visible());
  m.Text1_Click(40);
  m.Picture1_Click(7);
  EXPECT_EQ(m.Text1[40].text(), "7");
  EXPECT_FALSE(m.Picture1[7].visible());
}

// The palette writes into the cell it was opened on, whatever the techniques leave in `cella`;
// a command closes it, and a click on a closed palette's picture writes nowhere.
TEST(DigitPalette, WritesIntoItsOwnCellAndACommandClosesIt) {
  Started s;
  Main& m = *s.m;
  test::load_layout(m, test::puzzles()[0].layout);
  m.filetxt.set_text(" nuovo schema");
  m.Text1[4].on_click();
  m.calling = "risolvi";
  m.cerca_interazione_gruppo_settore();  // walks `cella` over the board
  m.calling = "";
  m.cella = 61;
  const std::string& solution = test::puzzles()[0].solution;
  const int digit = solution[4] - '0';
  m.Picture1[digit].on_click();
  EXPECT_EQ(m.Text1[4].text(), std::string(1, solution[4]));
  EXPECT_EQ(m.Text1[61].text(), "");
  EXPECT_FALSE(m.Picture1[digit].visible());

  m.Text1[13].on_click();
  EXPECT_TRUE(m.Picture1[0].visible());
  m.Toolbar2.on_button_click("calcola");
  EXPECT_FALSE(m.Picture1[0].visible());
  m.Picture1[3].on_click();
  EXPECT_EQ(m.Text1[13].text(), "");
  EXPECT_EQ(m.esposti, 1);
}

TEST(CageEditor, EntersACageAndClosesItWhenItsSumBoxLosesTheFocus) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  m.colore_Click(5);
  m.Text1_Click(0);
  m.Text1_Click(1);
  m.Text1_Click(10);
  EXPECT_EQ(m.cellacolorata, 3);
  EXPECT_EQ(m.Text1[10].back_color(), m.colore[5].back_color());
  EXPECT_EQ(m.Textgruppo[0].text(), "0");
  EXPECT_EQ(m.Text2[0].width(), 35);  // the candidates keep their layout
  // Leaving the sum box of another cage closes nothing.
  m.textsomma[5].set_focus();
  m.Text1[40].set_focus();
  EXPECT_EQ(m.gruppi, 0);
  EXPECT_EQ(m.cellacolorata, 3);
  m.textsomma[0].set_focus();
  m.textsomma[0].set_text("12a");
  m.Text1[40].set_focus();
  EXPECT_EQ(m.gruppi, 1);
  EXPECT_EQ(m.sommagruppo[0].num(), 12);
  EXPECT_EQ(m.elementigruppo[0].as_int(), 3);
  EXPECT_EQ(m.cellacolorata, 0);
  EXPECT_TRUE(m.coloreselezionato.is_empty());
  // The next click asks for a colour first.
  m.Text1_Click(20);
  EXPECT_EQ(s.rt.messages.back(), "selezionare un colore");
  EXPECT_FALSE(m.gruppodicella[20].is_number());
  // Editing the sum of the closed cage changes its sum and nothing else.
  m.textsomma[0].set_focus();
  m.textsomma[0].set_text("14");
  m.Text1[40].set_focus();
  EXPECT_EQ(m.sommagruppo[0].num(), 14);
  EXPECT_EQ(m.gruppi, 1);
  EXPECT_EQ(m.elementigruppo[0].as_int(), 3);
}

TEST(CageEditor, RefusesAnEighthCellAndTakesCellsBackWithTheWhiteButton) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  m.colore_Click(2);
  for (int c = 0; c < 8; ++c) m.Text1_Click(c);
  EXPECT_EQ(m.cellacolorata, 7);
  EXPECT_FALSE(m.gruppodicella[7].is_number());
  EXPECT_EQ(m.Text1[7].back_color(), m.bianco);
  EXPECT_EQ(s.rt.messages.back(), "un gruppo non può avere più di 7 celle");
  m.colore_Click(17);
  m.Text1_Click(40);
  EXPECT_EQ(m.cellacolorata, 6);
  EXPECT_FALSE(m.gruppodicella[6].is_number());
  EXPECT_EQ(m.Text1[6].back_color(), m.bianco);
  EXPECT_EQ(m.Text1[40].back_color(), m.bianco);
}

TEST(CageEditor, DeletesARegisteredCageOnlyWhenConfirmed) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  enter_by_hand(m, {{15, {10, 11, 12}}});
  m.colore_Click(3);
  m.Text1_Click(20);  // the open cage 1 gets cell 20
  s.rt.answers = {MsgAnswer::Cancel};
  m.Text1_Click(11);
  EXPECT_TRUE(m.gruppodicella[11].is(0));
  EXPECT_EQ(m.elementigruppo[0].as_int(), 3);
  s.rt.answers = {MsgAnswer::Ok};
  m.Text1_Click(11);
  for (int c : {10, 11, 12}) {
    EXPECT_FALSE(m.gruppodicella[c].is_number());
    EXPECT_EQ(m.Text1[c].back_color(), m.bianco);
  }
  EXPECT_FALSE(m.textsomma[0].visible());
  EXPECT_EQ(m.elementigruppo[0].as_int(), 0);
  EXPECT_EQ(m.gruppi, 1);
  // The open cage keeps its cell.
  EXPECT_EQ(m.cellacolorata, 1);
  EXPECT_TRUE(m.gruppodicella[20].is(1));
}

}  // namespace
}  // namespace ks
