// The board's life cycle: reset, classic candidates, cage borders and contiguity, the layout
// loader, initial candidates and the step gate.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/text.h"
#include "solving/solver.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Started;

// The segments of every cell that are hidden, as "LineN(i)".
std::set<std::string> hidden_segments(const Main& m) {
  std::set<std::string> out;
  for (int i = 0; i < 81; ++i) {
    if (!m.Line1[i].visible()) out.insert("Line1(" + std::to_string(i) + ")");
    if (!m.Line2[i].visible()) out.insert("Line2(" + std::to_string(i) + ")");
    if (!m.Line3[i].visible()) out.insert("Line3(" + std::to_string(i) + ")");
    if (!m.Line4[i].visible()) out.insert("Line4(" + std::to_string(i) + ")");
  }
  return out;
}

// True when every segment of every cell is shown on the edges of its own square.
bool borders_in_full(const Main& m) {
  for (int i = 0; i < 81; ++i) {
    const int L = m.Label2[i].left(), T = m.Label2[i].top();
    const auto at = [](const Line& ln, int x1, int y1, int x2, int y2) {
      return ln.visible() && ln.x1() == x1 && ln.y1() == y1 && ln.x2() == x2 && ln.y2() == y2;
    };
    if (!at(m.Line1[i], L, T, L + 38, T) || !at(m.Line2[i], L, T, L, T + 38) ||
        !at(m.Line3[i], L, T + 38, L + 38, T + 38) || !at(m.Line4[i], L + 38, T, L + 38, T + 38))
      return false;
  }
  return true;
}


// 81 cages of one cell each, sum 5: "5,00;5,01;...;5,80;".
std::string one_cell_cages() {
  std::string out;
  for (int c = 0; c < 81; ++c)
    out += "5," + std::string(c < 10 ? "0" : "") + std::to_string(c) + ";";
  return out;
}

// Places digits through the bulk fill, as a loader does: cell -> digit.
void place(Main& m, const std::map<int, char>& digits) {
  m.ins_dati = true;
  for (const auto& [cell, d] : digits) m.Text1[cell].set_text(std::string(1, d));
  m.ins_dati = false;
}

// ---------------------------------------------------------------------------------------------
// Board reset

// Dirties all the state that the reset puts back.
void dirty(Main& m) {
  test::load_layout(m, test::puzzles()[0].layout);
  place(m, {{0, '3'}, {40, '5'}, {80, '6'}});
  m.calling = "risolvi";
  m.calling1 = "trial";
  m.chiamante = "analisi";
  m.origine = "nakedpair";
  m.origine1 = "modificatext1";
  m.problema = m.finito = m.modificato = m.incongruenza = true;
  m.generaeconta = m.conteggioeseguito = m.varcontrolloesteso = true;
  m.livello = 7;
  m.liv1 = m.liv7 = m.liv14 = 3;
  m.soluzioni = 2;
  m.cella = 44;
  m.volte = m.volteestese = 9;
  m.lunghezza = m.lunghezza1 = m.dopominimo = 1;
  m.gruppo1 = 40;
  m.scelta = "si";
  m.elencosomme[3][2] = "19";
  m.elencosomme[60][50] = "123";
  m.numerosomme[3] = 4;
  m.numeriobbligati[3] = "9";
  m.cellesalvate[5] = "5";
  m.solver.grigliacifre[5] = 5;
  m.txthint.set_visible(true);
  m.txthint.set_text("eliminato il 5 da r1c1");
  m.Pictgo.set_visible(true);
  m.Pictalt.set_visible(true);
  m.txtlivello.set_text("difficile");
  m.txtprogressivo.set_visible(true);
  m.mnupencil.set_checked(true);
  m.Text1[10].set_back_color(m.giallo);
  m.Text2[10].set_back_color(0xC0FFC0);
  m.Text2[10].move(m.Text2[10].left() + 15, m.Text2[10].top(), 20, 28);
  m.Text2[20].set_text("12");
  m.log_line("-------------------");
}

TEST(BoardReset, LeavesAnEmptyBoardWithoutCagesInStepMode) {
  Started s;
  Main& m = *s.m;
  dirty(m);
  const auto elements = m.elementioriginali;
  const auto cells = m.celleoriginali;
  s.rt.clock = 4321.5f;
  m.nuovo_schema();

  // The layout kept for the restart command is left alone.
  for (int g = 0; g <= 40; ++g) {
    EXPECT_EQ(m.elementioriginali[g].text(), elements[g].text()) << g;
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(m.celleoriginali[g][k].text(), cells[g][k].text());
  }
  ASSERT_TRUE(m.elementioriginali[0].eq(2));

  // Cage model.
  EXPECT_EQ(m.gruppi, 0);
  EXPECT_EQ(m.gruppo, 0);
  EXPECT_EQ(m.gruppo1, 0);
  for (int g = 0; g < kCageSlots; ++g) {
    EXPECT_TRUE(m.elementigruppo[g].is_empty()) << g;
    for (int k = 1; k <= 7; ++k) EXPECT_TRUE(m.cellegruppo[g][k].is_empty()) << g;
    // Null: no comparison holds, not even with "" or below 0.
    EXPECT_TRUE(m.sommagruppo[g].is_null()) << g;
  }
  EXPECT_FALSE(m.sommagruppo[0].same(Value::empty()));
  EXPECT_FALSE(m.sommagruppo[0].lt(0));
  EXPECT_FALSE(m.sommagruppo[0].eq(0));
  for (int i = 0; i < 81; ++i) EXPECT_TRUE(m.gruppodicella[i].is_empty()) << i;
  EXPECT_TRUE(m.elencosomme[3][2].empty());
  EXPECT_TRUE(m.numerosomme[3].is_empty());
  EXPECT_TRUE(m.numeriobbligati[3].empty());
  EXPECT_TRUE(m.cellesalvate[5].empty());
  EXPECT_EQ(m.solver.grigliacifre[5], 0);

  // Board.
  for (int i = 0; i < 81; ++i) {
    EXPECT_EQ(m.Text1[i].text(), "") << i;
    EXPECT_EQ(m.Text2[i].text(), "123456789") << i;
    EXPECT_EQ(m.Text1[i].back_color(), m.bianco) << i;
    EXPECT_EQ(m.Text2[i].back_color(), m.bianco) << i;
    EXPECT_EQ(m.Text1[i].fore_color(), m.rosso) << i;
  }
  EXPECT_TRUE(borders_in_full(m));
  EXPECT_EQ(m.esposti, 0);
  EXPECT_EQ(m.txtesposti.text(), "0");
  EXPECT_EQ(m.txtvuoti.text(), "81");

  // Flags, mode words, level.
  EXPECT_FALSE(m.ins_dati);
  EXPECT_EQ(m.calling, "");
  EXPECT_EQ(m.calling1, "");
  EXPECT_EQ(m.chiamante, "manuale");
  EXPECT_EQ(m.origine, "");
  EXPECT_EQ(m.origine1, "");
  for (bool f : {m.problema, m.finito, m.modificato, m.incongruenza, m.generaeconta,
                 m.conteggioeseguito, m.varcontrolloesteso})
    EXPECT_FALSE(f);
  EXPECT_EQ(m.livello, 0);
  EXPECT_EQ(m.liv1 + m.liv7 + m.liv14, 0);
  EXPECT_EQ(m.soluzioni, 0);
  EXPECT_EQ(m.cella, 0);
  EXPECT_NE(m.scelta, "si");
  EXPECT_NE(m.scelta, "no");
  EXPECT_EQ(m.volte, 3);
  EXPECT_EQ(m.volteestese, 3);
  EXPECT_EQ(m.lunghezza, 3);
  EXPECT_EQ(m.lunghezza1, 15);
  EXPECT_EQ(m.dopominimo, 7);
  EXPECT_EQ(m.t0, 4321.5f);

  // Window.
  EXPECT_FALSE(m.txthint.visible());
  EXPECT_EQ(m.txthint.text(), " ");
  EXPECT_FALSE(m.Pictgo.visible());
  EXPECT_FALSE(m.Pictalt.visible());
  EXPECT_EQ(m.txtlivello.text(), "");
  EXPECT_FALSE(m.txtprogressivo.visible());
  EXPECT_FALSE(m.mnupencil.checked());
  EXPECT_EQ(m.frmlog.Text3.text(), " ");
}

TEST(BoardReset, CountsDownOnlyTheCellsThatHeldADigit) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();  // an empty board: nothing to count
  EXPECT_EQ(m.esposti, 0);
  EXPECT_EQ(m.txtvuoti.text(), "81");

  const std::string& sol = test::puzzles()[0].solution;
  std::map<int, char> all;
  for (int i = 0; i < 81; ++i) all[i] = sol[static_cast<size_t>(i)];
  place(m, all);
  m.finito = true;
  ASSERT_EQ(m.esposti, 81);
  m.nuovo_schema();
  EXPECT_EQ(m.esposti, 0);
  EXPECT_EQ(m.txtesposti.text(), "0");
  EXPECT_EQ(m.txtvuoti.text(), "81");
  EXPECT_FALSE(m.finito);
}

TEST(BoardReset, HidesEverySumAndCageNumberBoxOfTheLastPuzzle) {
  Started s;
  Main& m = *s.m;
  // 81 one-cell cages: sum boxes 0..80 all shown.
  test::load_layout(m, one_cell_cages());
  ASSERT_EQ(m.gruppi, 80);
  ASSERT_TRUE(m.textsomma[80].visible());
  ASSERT_TRUE(hidden_segments(m).empty());
  ASSERT_EQ(m.Text2[80].text(), "5");
  m.Textgruppo[47].set_text("47");
  m.Textgruppo[47].set_visible(true);
  m.Textgruppo[70].set_text("70");
  m.Textgruppo[70].set_visible(true);
  m.nuovo_schema();
  for (int g = 0; g < 81; ++g) {
    EXPECT_FALSE(m.textsomma[g].visible()) << g;
    EXPECT_EQ(m.textsomma[g].text(), "") << g;
    EXPECT_FALSE(m.Textgruppo[g].visible()) << g;
    EXPECT_EQ(m.Textgruppo[g].text(), "") << g;
  }
}

TEST(BoardReset, DropsTheCageHalfEnteredInTheEditor) {
  Started s;
  Main& m = *s.m;
  m.coloreselezionato = Value(0xC0FFC0);
  m.cellacolorata = 3;
  m.Text2[12].move(m.Text2[12].left() + 15, m.Text2[12].top(), 20, 28);
  m.nuovo_schema();
  EXPECT_EQ(m.cellacolorata, 0);
  EXPECT_TRUE(m.coloreselezionato.is_empty());
  // The candidate box narrowed for the sum box of the cage's first cell is whole again.
  EXPECT_EQ(m.Text2[12].left(), m.Label2[12].left() + 2);
  EXPECT_EQ(m.Text2[12].width(), 35);
  EXPECT_EQ(m.Text2[12].height(), 28);
}

// ---------------------------------------------------------------------------------------------
// Classic candidates

// The candidates of every empty cell by the classic rule, computed independently.
std::string classic(const std::map<int, char>& digits, int cell) {
  auto it = digits.find(cell);
  if (it != digits.end()) return std::string(1, it->second);
  std::string out;
  for (char d = '1'; d <= '9'; ++d) {
    bool seen = false;
    for (const auto& [c, v] : digits) {
      const bool peer = c / 9 == cell / 9 || c % 9 == cell % 9 ||
                        (c / 27 == cell / 27 && c % 9 / 3 == cell % 9 / 3);
      if (peer && v == d) seen = true;
    }
    if (!seen) out += d;
  }
  return out;
}

TEST(ClassicCandidates, FollowTheDigitsOfRowColumnAndBox) {
  const std::string& sol = test::puzzles()[1].solution;
  std::map<int, char> givens;  // every third cell of a solved grid
  for (int i = 0; i < 81; i += 3) givens[i] = sol[static_cast<size_t>(i)];
  const std::vector<std::map<int, char>> cases = {
      {},
      {{0, '5'}},
      {{0, '1'}, {1, '2'}, {2, '3'}, {3, '4'}, {4, '5'}, {5, '6'}, {6, '7'}, {7, '8'}},
      {{40, '9'}, {80, '1'}, {44, '2'}},
      givens,
  };
  for (const auto& digits : cases) {
    Started s;
    Main& m = *s.m;
    m.nuovo_schema();
    place(m, digits);
    m.Text2[31].set_text("1");  // a pencil elimination: discarded
    m.ins_dati = true;
    m.problema = true;
    m.calcola_candidati();
    for (int i = 0; i < 81; ++i) EXPECT_EQ(m.Text2[i].text(), classic(digits, i)) << i;
    EXPECT_FALSE(m.problema);
    EXPECT_FALSE(m.ins_dati);
    EXPECT_EQ(m.numero, m.Text1[80].text());
  }
  // A single 5 in r1c1, spelled out.
  Started s;
  s.m->nuovo_schema();
  place(*s.m, {{0, '5'}});
  s.m->calcola_candidati();
  for (int i : {1, 8, 9, 72, 10, 20}) EXPECT_EQ(s.m->Text2[i].text(), "12346789") << i;
  for (int i : {13, 30, 40, 80}) EXPECT_EQ(s.m->Text2[i].text(), "123456789") << i;
}

TEST(ClassicCandidates, NeverCutTheLastCandidateOfACell) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  // r1c9 is cut to "9" by its row; the 9 in r2c9 then leaves it alone.
  place(m, {{0, '1'}, {1, '2'}, {2, '3'}, {3, '4'}, {4, '5'}, {5, '6'}, {6, '7'}, {7, '8'},
            {17, '9'}});
  m.calcola_candidati();
  EXPECT_EQ(m.Text2[8].text(), "9");
  EXPECT_EQ(m.Text2[17].text(), "9");
  EXPECT_FALSE(m.problema);
}

// ---------------------------------------------------------------------------------------------
// Layout loader and cage borders

struct LoaderCase {
  std::string text;
  int gruppi;
  std::vector<int> sum_box_cell;  // per cage, the cell its sum box sits on
  std::vector<std::string> sums;  // per cage, the text of its sum box
  std::set<std::string> hidden;
};

TEST(LayoutLoader, LoadsCagesSumBoxesAndJoinedBorders) {
  const std::vector<LoaderCase> cases = {
      {"10,0001;", 0, {0}, {"10"}, {"Line4(0)", "Line2(1)"}},
      {"12,1009;", 0, {9}, {"12"}, {"Line4(9)", "Line2(10)"}},
      {"3,0001;4,0203;", 1, {0, 2}, {"3", "4"}, {"Line4(0)", "Line2(1)", "Line4(2)", "Line2(3)"}},
      {"10,0001;xyz", 0, {0}, {"10"}, {"Line4(0)", "Line2(1)"}},
      {"17,0009;", 0, {0}, {"17"}, {"Line3(0)", "Line1(9)"}},
      {"14,030413;", 0, {3}, {"14"}, {"Line4(3)", "Line2(4)", "Line3(4)", "Line1(13)"}},
      {" 7,40;", 0, {40}, {"7"}, {}},
      {"20,2112;", 0, {12}, {"20"}, {"Line3(12)", "Line1(21)"}},
  };
  for (const LoaderCase& c : cases) {
    SCOPED_TRACE(c.text);
    Started s;
    Main& m = *s.m;
    m.nuovo_schema();
    m.stringa = c.text;
    m.carica_gruppi_da_stringa();
    EXPECT_FALSE(m.problema);
    EXPECT_TRUE(s.rt.messages.empty());
    EXPECT_EQ(m.stringa, c.text);
    EXPECT_EQ(m.gruppi, c.gruppi);
    EXPECT_EQ(m.gruppo, c.gruppi);
    EXPECT_EQ(m.gruppo1, 0);
    EXPECT_EQ(hidden_segments(m), c.hidden);
    for (int g = 0; g <= c.gruppi; ++g) {
      const int cell = c.sum_box_cell[static_cast<size_t>(g)];
      EXPECT_TRUE(m.textsomma[g].visible());
      EXPECT_EQ(m.textsomma[g].text(), c.sums[static_cast<size_t>(g)]);
      EXPECT_EQ(m.textsomma[g].left(), m.Label2[cell].left() + 2);
      EXPECT_EQ(m.textsomma[g].top(), m.Label2[cell].top() - 4);
    }
    EXPECT_FALSE(m.textsomma[c.gruppi + 1].visible());
  }
}

TEST(LayoutLoader, KeepsTheOrderOfTheCellsAndJoinsTheOutline) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  m.stringa = "12,1009;";
  m.carica_gruppi_da_stringa();
  EXPECT_TRUE(m.sommagruppo[0].eq(12));
  EXPECT_TRUE(m.elementigruppo[0].eq(2));
  EXPECT_TRUE(m.elementioriginali[0].eq(2));
  EXPECT_TRUE(m.cellegruppo[0][1].eq(10));
  EXPECT_TRUE(m.cellegruppo[0][2].eq(9));
  EXPECT_TRUE(m.celleoriginali[0][1].eq(10));
  EXPECT_TRUE(m.gruppodicella[9].is(0));
  EXPECT_TRUE(m.gruppodicella[10].is(0));
  EXPECT_TRUE(m.gruppodicella[11].is_empty());
  EXPECT_EQ(m.cella, 9);

  // Side by side: the tops and bottoms of cells 9 and 10 together span both squares.
  const int L9 = m.Label2[9].left(), L10 = m.Label2[10].left();
  EXPECT_EQ(m.Line1[9].x1(), L9);
  EXPECT_EQ(m.Line1[9].x2(), L10);
  EXPECT_EQ(m.Line1[10].x1(), L9 + 38);
  EXPECT_EQ(m.Line1[10].x2(), L10 + 38);
  EXPECT_EQ(m.Line3[9].x2(), L10);
  EXPECT_EQ(m.Line3[10].x1(), L9 + 38);

  // One above the other: the left and right sides of cells 0 and 9 span both squares.
  m.nuovo_schema();
  m.stringa = "17,0009;";
  m.carica_gruppi_da_stringa();
  const int T0 = m.Label2[0].top(), T9 = m.Label2[9].top();
  EXPECT_EQ(m.Line2[0].y1(), T0);
  EXPECT_EQ(m.Line2[0].y2(), T9);
  EXPECT_EQ(m.Line2[9].y1(), T0 + 38);
  EXPECT_EQ(m.Line2[9].y2(), T9 + 38);
  EXPECT_EQ(m.Line4[0].y2(), T9);
  EXPECT_EQ(m.Line4[9].y1(), T0 + 38);
}

TEST(LayoutLoader, LoadsEveryTestPuzzleWithItsBordersAndCandidates) {
  for (const test::Puzzle& p : test::puzzles()) {
    SCOPED_TRACE(p.id);
    Started s;
    Main& m = *s.m;
    test::load_layout(m, p.layout);
    ASSERT_FALSE(m.problema);
    ASSERT_TRUE(s.rt.messages.empty());
    const auto cages = test::cages_of(p.layout);
    ASSERT_EQ(m.gruppi, static_cast<int>(cages.size()) - 1);

    std::array<int, 81> cage_of{};
    cage_of.fill(-1);
    for (size_t g = 0; g < cages.size(); ++g) {
      const test::TextCage& c = cages[g];
      const int gi = static_cast<int>(g);
      EXPECT_TRUE(m.sommagruppo[gi].eq(c.sum));
      EXPECT_TRUE(m.elementigruppo[gi].eq(static_cast<double>(c.cells.size())));
      int lowest = 81, total = 0;
      for (size_t k = 0; k < c.cells.size(); ++k) {
        const int cell = c.cells[k];
        cage_of[static_cast<size_t>(cell)] = gi;
        EXPECT_TRUE(m.cellegruppo[gi][static_cast<int>(k) + 1].eq(cell));
        EXPECT_TRUE(m.gruppodicella[cell].is(gi));
        lowest = std::min(lowest, cell);
        const char d = p.solution[static_cast<size_t>(cell)];
        total += d - '0';
        // The first candidates keep the solution possible.
        EXPECT_NE(m.Text2[cell].text().find(d), std::string::npos) << "cell " << cell;
      }
      EXPECT_EQ(total, c.sum) << "test data: cage " << g;
      EXPECT_EQ(m.textsomma[gi].left(), m.Label2[lowest].left() + 2);
      EXPECT_EQ(m.textsomma[gi].top(), m.Label2[lowest].top() - 4);
    }
    // A segment is hidden exactly where the neighbour on that side is in the same cage.
    for (int c = 0; c < 81; ++c) {
      ASSERT_GE(cage_of[static_cast<size_t>(c)], 0) << "cell " << c << " in no cage";
      const auto same = [&](int nb) {
        return cage_of[static_cast<size_t>(nb)] == cage_of[static_cast<size_t>(c)];
      };
      EXPECT_EQ(!m.Line1[c].visible(), c >= 9 && same(c - 9)) << c;
      EXPECT_EQ(!m.Line3[c].visible(), c < 72 && same(c + 9)) << c;
      EXPECT_EQ(!m.Line2[c].visible(), c % 9 > 0 && same(c - 1)) << c;
      EXPECT_EQ(!m.Line4[c].visible(), c % 9 < 8 && same(c + 1)) << c;
    }
  }
}

TEST(LayoutLoader, RefusesABrokenTextAndLeavesTheBoardReset) {
  const std::string too_many = one_cell_cages() + "5,00;";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "schema non valido: nessun gruppo"},
      {"abc;", "schema non valido: nessun gruppo"},
      {"10,0001", "schema non valido: il 1° gruppo non termina con ';'"},
      {"10,0001;12,0203", "schema non valido: il 2° gruppo non termina con ';'"},
      {"10,0001;7,", "schema non valido: il 2° gruppo non termina con ';'"},
      {"10,;", "schema non valido: nessun gruppo"},
      {"10,001;", "schema non valido: il 1° gruppo ha un numero dispari di cifre nelle celle"},
      {"10,0081;", "schema non valido: la cella \"81\" del 1° gruppo non è tra 00 e 80"},
      {"10,00a1;", "schema non valido: la cella \"a1\" del 1° gruppo non è tra 00 e 80"},
      {"10,0000;", "schema non valido: la cella 00 compare due volte nel 1° gruppo"},
      {"3,0001;5,0102;", "schema non valido: la cella 01 è sia nel 1° gruppo sia nel 2° gruppo"},
      {"40,0001020304050607;", "schema non valido: il 1° gruppo ha più di 7 celle"},
      {too_many, "schema non valido: più di 81 gruppi"},
      {"3,0001;1.5,02;", "schema non valido: la somma del 2° gruppo (\"1.5\") non è un numero intero da -999 a 999"},
      {"-1000,0001;", "schema non valido: la somma del 1° gruppo (\"-1000\") non è un numero intero da -999 a 999"},
      {"1e9,0001;", "schema non valido: la somma del 1° gruppo (\"1e9\") non è un numero intero da -999 a 999"},
      // Records are counted as written, a completed cage without cells included.
      {"0,;3,0001;5,0102;", "schema non valido: la cella 01 è sia nel 2° gruppo sia nel 3° gruppo"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    Started s;
    Main& m = *s.m;
    test::load_layout(m, test::puzzles()[0].layout);
    test::load_layout(m, text);
    EXPECT_TRUE(m.problema);
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{message});
    EXPECT_EQ(m.gruppi, 0);
    EXPECT_EQ(m.gruppo, 0);
    EXPECT_TRUE(m.sommagruppo[0].is_null());
    EXPECT_TRUE(m.elementigruppo[0].is_empty());
    for (int i = 0; i < 81; ++i) {
      EXPECT_TRUE(m.gruppodicella[i].is_empty()) << i;
      EXPECT_FALSE(m.textsomma[i].visible()) << i;
      EXPECT_EQ(m.Text2[i].text(), "123456789") << i;
    }
    EXPECT_TRUE(borders_in_full(m));
  }
}

// Sums are read leniently, as a game saved during play needs: a remaining sum of 0 or below, an
// empty sum (0), a sum with text after it; a cage with no cell left is left out.
TEST(LayoutLoader, LoadsASumThatNoCageCanMake) {
  Started s;
  Main& m = *s.m;
  test::load_layout(m, "50,0001;0,02;12,03;-7,04;,05;x,06; 9a ,07;0,;");
  EXPECT_FALSE(m.problema);
  EXPECT_TRUE(s.rt.messages.empty());
  EXPECT_EQ(m.gruppi, 6);
  const std::vector<std::pair<double, std::string>> sums = {
      {50, "50"}, {0, "0"}, {12, "12"}, {-7, "-7"}, {0, "0"}, {0, "0"}, {9, "9"}};
  for (int g = 0; g <= 6; ++g) {
    SCOPED_TRACE(g);
    EXPECT_TRUE(m.sommagruppo[g].eq(sums[static_cast<size_t>(g)].first));
    EXPECT_EQ(m.textsomma[g].text(), sums[static_cast<size_t>(g)].second);
    EXPECT_TRUE(m.textsomma[g].visible());
  }
  EXPECT_EQ(m.Text2[4].text(), "123456789");  // no one-cell cage can make -7
}

// ---------------------------------------------------------------------------------------------
// Contiguity and the drawing of a layout

TEST(CageContiguity, FindsEveryCageThatIsSplit) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"5,40;", true},
      {"14,030413;", true},
      {"10,0002;3,01;", false},
      {"10,0809;", false},
      {"30,0001091040;", false},                    // a block of four with more inner pairs
      {"20,0002011009;", true},                     // listed out of order, connected
      {"35,00091819201102;", true},                 // a U
      {"3,0001;20,20302123;30,4041425051;", false},  // second cage split, third whole
      {"10,0809;10,1727;", false},                   // two split cages, one message
  };
  for (const auto& [text, whole] : cases) {
    SCOPED_TRACE(text);
    Started s;
    Main& m = *s.m;
    m.nuovo_schema();
    m.stringa = text;
    m.carica_gruppi_da_stringa();
    ASSERT_FALSE(m.problema);
    m.controlla_contiguita();
    EXPECT_EQ(m.problema, !whole);
    const std::vector<std::string> none, split{" problema contiguita "};
    EXPECT_EQ(s.rt.messages, whole ? none : split);
  }
}

TEST(CageBorders, DrawingFramesEveryCageOnAWhiteEmptyBoard) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  place(m, {{3, '4'}, {50, '7'}});
  m.Text1[4].set_back_color(0xC0FFC0);
  for (int i = 0; i < 81; ++i) m.cellesalvate[i] = i == 2 ? "12" : "";
  m.cellesalvate[0] = "5";
  // Cage 0: {3, 4, 13}; cage 1: listed from 20, also holding 12; cage 2: {0}; cage 3: {1}.
  const std::vector<std::vector<int>> cages = {{3, 4, 13}, {20, 12, 21}, {0}, {1}};
  for (size_t g = 0; g < cages.size(); ++g) {
    m.elementigruppo.set(g, static_cast<int>(cages[g].size()));
    for (size_t k = 0; k < cages[g].size(); ++k) m.cellegruppo.set(g, k + 1, cages[g][k]);
  }
  m.gruppi = 3;
  m.ins_dati = true;
  m.disegna_gruppi();

  EXPECT_EQ(m.stringa, "512");
  EXPECT_FALSE(m.ins_dati);
  EXPECT_FALSE(m.problema);
  EXPECT_EQ(m.esposti, 0);
  for (int i = 0; i < 81; ++i) {
    EXPECT_EQ(m.Text1[i].text(), "") << i;
    EXPECT_EQ(m.Text1[i].back_color(), m.bianco) << i;
  }
  EXPECT_EQ(hidden_segments(m), (std::set<std::string>{"Line4(3)", "Line2(4)", "Line3(4)",
                                                       "Line1(13)", "Line3(12)", "Line1(21)",
                                                       "Line4(20)", "Line2(21)"}));
  EXPECT_TRUE(m.gruppodicella[12].is(1));
  EXPECT_EQ(m.textsomma[1].left(), m.Label2[12].left() + 2);
  EXPECT_EQ(m.textsomma[1].top(), m.Label2[12].top() - 4);
  EXPECT_TRUE(m.textsomma[3].visible());

  // Drawn again with no cages: everything back in full, the check not run.
  m.gruppi = 0;
  m.problema = true;
  m.disegna_gruppi();
  EXPECT_TRUE(borders_in_full(m));
  EXPECT_TRUE(m.gruppodicella[3].is_empty());
  EXPECT_TRUE(m.problema);
}

// ---------------------------------------------------------------------------------------------
// Initial candidates

TEST(InitialCandidates, ComeFromTheSizeAndSumOfEachCage) {
  struct Case {
    std::vector<int> cells;
    Value sum;
    std::string expected;  // "" = the cells keep what they had
  };
  const std::vector<Case> cases = {
      {{40}, 5, "5"},
      {{0, 1}, 3, "12"},
      {{9, 10}, 17, "89"},
      {{18, 19, 20}, 10, "1234567"},
      {{30, 31, 32, 33}, 30, "6789"},
      {{60, 61, 62}, 15, "123456789"},           // every digit can occur
      {{63, 64}, 50, "123456789"},                // beyond the table: no index past it
      {{65, 66}, -4, "123456789"},
      {{67}, 12, "123456789"},                    // a one-cell cage no digit can fill
      {{68}, 0, "123456789"},
      {{70, 71, 72, 73, 74, 75, 76}, 28, "1234567"},
  };
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  for (size_t g = 0; g < cases.size(); ++g) {
    m.sommagruppo.set(g, cases[g].sum);
    m.elementigruppo.set(g, static_cast<int>(cases[g].cells.size()));
    for (size_t k = 0; k < cases[g].cells.size(); ++k) m.cellegruppo.set(g, k + 1, cases[g].cells[k]);
    m.Textgruppo[g].set_visible(true);
  }
  // A cage without cells leaves everything as it was.
  m.elementigruppo.set(cases.size(), 0);
  m.cellegruppo.set(cases.size(), 1, 80);
  m.Text2[80].set_text("47");
  m.gruppi = static_cast<int>(cases.size());
  for (int i = 0; i < 81; ++i)
    if (i != 80) m.Text2[i].set_text("9");
  m.modificato = true;

  for (int pass = 0; pass < 2; ++pass) {
    m.inizializza_candidati();
    EXPECT_FALSE(m.modificato);
    EXPECT_EQ(m.contatoredimessaggio, 0);
    for (size_t g = 0; g < cases.size(); ++g) {
      for (int cell : cases[g].cells) EXPECT_EQ(m.Text2[cell].text(), cases[g].expected) << cell;
      EXPECT_FALSE(m.Textgruppo[g].visible());
    }
    EXPECT_EQ(m.Text2[80].text(), "47");
    EXPECT_EQ(m.Text2[79].text(), "9");
  }
}

// ---------------------------------------------------------------------------------------------
// Step gate

TEST(StepGate, WaitsWithBothLightsUntilTheUserAnswers) {
  for (const char* answer : {"si", "no"}) {
    Started s;
    Main& m = *s.m;
    m.nuovo_schema();
    int turns = 0;
    s.rt.on_yield = [&] {
      EXPECT_TRUE(m.txthint.visible());
      EXPECT_TRUE(m.Pictgo.visible());
      EXPECT_TRUE(m.Pictalt.visible());
      // The user looks for a while, then clicks a light.
      if (++turns == 3) (std::string(answer) == "si" ? m.Pictgo : m.Pictalt).on_click();
    };
    m.scelta = "";
    m.aspetta();
    EXPECT_EQ(turns, 3);
    EXPECT_EQ(m.scelta, answer);
    EXPECT_FALSE(m.Pictgo.visible());
    EXPECT_FALSE(m.Pictalt.visible());
    EXPECT_TRUE(m.txthint.visible());
  }
}

TEST(StepGate, AGreenClickWithNoStepWaitingOnlySetsTheAnswer) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  m.Pictgo.on_click();
  EXPECT_EQ(m.scelta, "si");
  EXPECT_FALSE(m.Pictgo.visible());
  // The next step still waits: it empties the answer before the gate.
  int turns = 0;
  s.rt.on_yield = [&] {
    if (++turns == 2) m.Pictalt_Click();
  };
  m.scelta = "";
  m.aspetta();
  EXPECT_EQ(turns, 2);
  EXPECT_EQ(m.scelta, "no");
}

// A technique-shaped step: removes digit d from the candidates of cell c, reporting and waiting
// the way every technique does.
void remove_by_step(Main& m, int c, char d) {
  m.modificato = false;
  m.contatoredimessaggio = 0;
  if (m.chiamante == "manuale" || m.chiamante == "analisi") {
    if (m.calling1 != "trial") {
      m.log_line("--------------------");
      m.log_line("PROVA");
      m.log_line(std::string("il ") + d + " non può stare in " + m.rc(c));
      m.txthint.set_text(std::string("eliminato il ") + d + " da " + m.rc(c));
    }
  }
  if (m.calling.empty()) {
    m.Text1[c].set_back_color(m.giallo);
    m.Text2[c].set_back_color(m.giallo);
    m.scelta = "";
    m.aspetta();
    m.Text1[c].set_back_color(m.bianco);
    m.Text2[c].set_back_color(m.bianco);
    if (m.scelta == "no") {
      m.modificato = true;
      return;
    }
  }
  m.Text2[c].set_text(cut_first(m.Text2[c].text(), d));
  if (m.calling1 != "trial")
    m.log_line(std::string(" * elimino il numero ") + d + " da " + m.rc(c));
  m.modificato = true;
  m.contatoredimessaggio = 1;
}

TEST(StepGate, ATechniqueAppliesItsStepOnlyWhenLetThrough) {
  struct Case {
    std::string calling, calling1, answer;
    bool waits, applied;
    int log_lines;  // lines added to the log
  };
  const std::vector<Case> cases = {
      {"", "", "si", true, true, 4},
      {"", "", "no", true, false, 3},
      {"risolvi", "", "", false, true, 4},
      {"genera", "", "", false, true, 4},
      {"risolvi", "trial", "", false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.calling + "/" + c.calling1 + "/" + c.answer);
    Started s;
    Main& m = *s.m;
    test::load_layout(m, test::puzzles()[0].layout);
    m.calling = c.calling;
    m.calling1 = c.calling1;
    const std::string before = m.Text2[0].text();  // "12346789"
    const auto log_before = test::lines_of(m.frmlog.Text3.text()).size();
    bool highlighted = false;
    s.rt.on_yield = [&] {
      highlighted = m.Text1[0].back_color() == m.giallo && m.Text2[0].back_color() == m.giallo;
      if (c.answer == "si") m.Pictgo.on_click();
      if (c.answer == "no") m.Pictalt.on_click();
    };
    remove_by_step(m, 0, '4');
    EXPECT_EQ(s.rt.yields > 0, c.waits);
    EXPECT_EQ(highlighted, c.waits);
    EXPECT_EQ(m.Text2[0].back_color(), m.bianco);
    EXPECT_TRUE(m.modificato);
    EXPECT_EQ(m.Text2[0].text(), c.applied ? "1236789" : before);
    EXPECT_EQ(test::lines_of(m.frmlog.Text3.text()).size() - log_before,
              static_cast<size_t>(c.log_lines));
    EXPECT_FALSE(m.Pictgo.visible());
  }
}

TEST(StepGate, LoadedPuzzleCheckNeedsTheStatusLine) {
  Started s;
  Main& m = *s.m;
  m.filetxt.set_text("");
  EXPECT_FALSE(m.schema_caricato());
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{"nessun schema caricato"});
  m.filetxt.set_text(" nuovo schema");
  EXPECT_TRUE(m.schema_caricato());
  EXPECT_EQ(s.rt.messages.size(), 1u);
}

}  // namespace
}  // namespace ks
