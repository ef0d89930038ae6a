// The board: cell geometry, the possible-digit table and the start-up of the main window.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "solving/solver.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Started;

TEST(Board, GeometryOfEveryCellMatchesRowColumnAndBox) {
  Started s;
  for (int cell = 0; cell < 81; ++cell) {
    const int row = cell / 9 + 1, col = cell % 9 + 1;
    const int box = (row - 1) / 3 * 3 + (col - 1) / 3 + 1;
    EXPECT_EQ(Main::rigadicella(cell), row) << cell;
    EXPECT_EQ(Main::colonnadicella(cell), col) << cell;
    EXPECT_EQ(Main::settoredicella(cell), box) << cell;
    EXPECT_EQ(s.m->rigacella[cell], row);
    EXPECT_EQ(s.m->colonnacella[cell], col);
    EXPECT_EQ(s.m->settorecella[cell], box);
  }
  // cellesettore lists each box's cells row by row, and every cell exactly once.
  std::set<int> seen;
  for (int b = 0; b < 9; ++b) {
    for (int k = 0; k < 9; ++k) {
      const int cell = s.m->cellesettore[b][k];
      EXPECT_EQ(s.m->settorecella[cell], b + 1);
      EXPECT_EQ(cell, (b / 3 * 3 + k / 3) * 9 + b % 3 * 3 + k % 3);
      seen.insert(cell);
    }
  }
  EXPECT_EQ(seen.size(), 81u);
  EXPECT_EQ(s.m->cellesettore[4][0], 30);
  EXPECT_EQ(s.m->cellesettore[4][8], 50);
  EXPECT_EQ(s.m->cellesettore[2][0], 6);
  EXPECT_EQ(s.m->cellesettore[6][0], 54);
  EXPECT_EQ(s.m->cellesettore[8][8], 80);
}

// The union of the digits of every set of n distinct digits 1..9 that sums to s.
std::string union_of_sets(int n, int s) {
  int mask = 0;
  for (int set = 0; set < 512; ++set) {
    if (__builtin_popcount(static_cast<unsigned>(set)) != n) continue;
    int sum = 0;
    for (int d = 1; d <= 9; ++d)
      if (set & (1 << (d - 1))) sum += d;
    if (sum == s) mask |= set;
  }
  std::string digits;
  for (int d = 1; d <= 9; ++d)
    if (mask & (1 << (d - 1))) digits += static_cast<char>('0' + d);
  return digits;
}

TEST(Board, PossibleDigitTableFollowsTheUnionRule) {
  Started s;
  for (int n = 0; n <= 7; ++n) {
    for (int sum = 0; sum <= 42; ++sum) {
      const std::string& entry = s.m->tabellapossibili[n][sum];
      const std::string expected = (n >= 2) ? union_of_sets(n, sum) : "";
      if (expected.empty()) {
        EXPECT_EQ(entry, "") << n << "," << sum;
      } else if (expected == "123456789") {
        EXPECT_TRUE(entry.empty() || entry == "123456789") << n << "," << sum;
      } else {
        EXPECT_EQ(entry, expected) << n << "," << sum;
      }
    }
  }
}

TEST(Board, StartUpLaysOutTheCellsAndTheirBorders) {
  Started s;
  Main& m = *s.m;
  // Cell 0 and cell 80: the four border segments on the edges of the square, 38 pixels long.
  EXPECT_EQ(m.Line1[0].x1(), 32);
  EXPECT_EQ(m.Line1[0].y1(), 74);
  EXPECT_EQ(m.Line1[0].x2(), 70);
  EXPECT_EQ(m.Line3[0].y1(), 112);
  EXPECT_EQ(m.Line4[0].x1(), 70);
  EXPECT_EQ(m.Line4[0].y2(), 112);
  EXPECT_EQ(m.Line2[80].x1(), 394);
  EXPECT_EQ(m.Line2[80].y1(), 434);
  EXPECT_EQ(m.Line4[80].x2(), 432);
  EXPECT_EQ(m.Line3[80].y2(), 472);
  EXPECT_EQ(m.Line1[40].border_width(), 2);
  // Cell 40's digit box and candidate box.
  EXPECT_EQ(m.Text1[40].left(), 213);
  EXPECT_EQ(m.Text1[40].top(), 255);
  EXPECT_EQ(m.Text1[40].width(), 36);
  EXPECT_EQ(m.Text2[40].left(), 214);
  EXPECT_EQ(m.Text2[40].top(), 262);
  EXPECT_EQ(m.Text2[40].width(), 35);
  EXPECT_EQ(m.Text2[40].height(), 28);
  for (int i = 0; i < 81; ++i) {
    EXPECT_EQ(m.Text1[i].tab_index(), i);
    EXPECT_FALSE(m.Text2[i].visible());
    EXPECT_EQ(m.Text2[i].text(), "123456789");
    EXPECT_EQ(m.Text1[i].text(), "");
    EXPECT_EQ(m.Text1[i].fore_color(), m.rosso);
  }
}

TEST(Board, StartUpSetsFlagsTablesAndCaptions) {
  Started s;
  Main& m = *s.m;
  EXPECT_TRUE(m.ins_dati);
  EXPECT_FALSE(m.problema);
  EXPECT_FALSE(m.generatorecontinuo);
  EXPECT_EQ(m.gruppi, 0);
  EXPECT_EQ(m.bianco, 0xFFFFFFu);
  EXPECT_EQ(m.giallo, 0xFFFFu);
  EXPECT_EQ(m.rosso, 0xFFu);
  EXPECT_EQ(m.nero, 0x80000008u);
  EXPECT_EQ(m.database, "./schemikenvari.db");
  EXPECT_EQ(m.picstart.picture(), m.picverde.picture());
  EXPECT_NE(m.picstart.picture(), m.picrosso.picture());

  // The solver's tables.
  EXPECT_EQ(m.solver.bitcifra[0], 0);
  EXPECT_EQ(m.solver.bitcifra[1], 2);
  EXPECT_EQ(m.solver.bitcifra[9], 512);
  EXPECT_EQ(m.solver.soluzionitrovate.size(), 2049u);
  EXPECT_EQ(m.solver.tempisoluzioni.size(), 2049u);

  // Italian captions; the items without a translation keep their design caption.
  EXPECT_EQ(m.lingua, "it");
  EXPECT_EQ(m.mnufile.caption(), "File");
  EXPECT_EQ(m.mnuview.caption(), "Visualizza");
  EXPECT_EQ(m.mnuhints.caption(), "Suggerimenti");
  EXPECT_EQ(m.mnutools.caption(), "Strumenti");
  EXPECT_EQ(m.mnugenerator.caption(), "Generatore");
  EXPECT_EQ(m.mnuopen.caption(), "Apri");
  EXPECT_EQ(m.mnunew.caption(), "Nuovo");
  EXPECT_EQ(m.mnupencil.caption(), "Mostra candidati");
  EXPECT_EQ(m.mnuactivity.caption(), "Mostra attivita'");
  EXPECT_EQ(m.mnuposition.caption(), "suggerisci posizione");
  EXPECT_EQ(m.mnumore.caption(), "+ difficile (tentativo)");
  EXPECT_EQ(m.mnulog.caption(), "Log");
  EXPECT_EQ(m.mnuhidden.caption(), "Hidden pair");
  EXPECT_EQ(m.mnusword.caption(), "Sword Fish");
  EXPECT_EQ(m.Label3.caption(), "numero");
  for (MenuItem* item : {&m.mnupencil, &m.mnulog, &m.mnuactivity, &m.mnunumber})
    EXPECT_FALSE(item->checked());
}

TEST(Board, StartUpShowsTheInstructionsInTheActivityLog) {
  Started s;
  EXPECT_TRUE(s.m->frmlog.visible());
  const auto lines = test::lines_of(s.m->frmlog.Text3.text());
  const std::vector<std::string> expected = {
      "Per inserire un nuovo schema occorre inserire, uno per uno, i vari gruppi. Per inserire un "
      "gruppo, selezionare un colore,quindi selezionare la prima cella del gruppo, la più alta a "
      "sinistra.",
      "Selezionare le celle adiacenti fino a completare il gruppo. ",
      "Per chiudere e registrare il gruppo è necessario e sufficiente inserire la somma del gruppo "
      "nel quadratino apparso in alto a sinistra della prima cella. ",
      "Se si vuole modificare un gruppo gia registrato, è sufficiente selezionare la prima cella. ",
      "Vi sarà chiesto di confermare la cancellazione del gruppo e la creazione di un nuovo gruppo. "
      "Date l'OK e procedete"};
  EXPECT_EQ(lines, expected);
}

TEST(Board, BulkFillOnlyCountsTheFilledCells) {
  Started s;
  Main& m = *s.m;
  m.Picture1[3].set_visible(true);
  for (int i = 0; i < 81; ++i) m.Text1[i].set_text(std::to_string(i % 9 + 1));
  EXPECT_EQ(m.esposti, 81);
  EXPECT_EQ(m.txtesposti.text(), "81");
  EXPECT_EQ(m.txtvuoti.text(), "0");
  EXPECT_FALSE(m.finito);
  EXPECT_FALSE(m.Picture1[3].visible());
  EXPECT_EQ(m.Text2[0].text(), "123456789");
}

// The techniques read a cell's candidates from the bits and the per-unit masks that the
// candidate box's change handler keeps: after any text, written in any way (a string, a view, a
// literal, a cut), they must say what the text says, odd texts (typed by hand, out of order,
// repeated digits, other characters) included.
TEST(Board, CandidateBitsFollowEveryCandidateText) {
  Started s;
  Main& m = *s.m;
  const std::vector<std::string> texts = {"", "5", "12", "37", "139", "123456789", "31", "55",
                                          "0", "a7", "19 ", "98", "4", "2468", "x"};
  std::mt19937 rng(7);
  const auto check = [&m](int cell) {
    const std::string& t = m.Text2[cell].text();
    for (const char d : std::string("0123456789a ")) {
      EXPECT_EQ(m.has_candidate(cell, d), t.find(d) != std::string::npos) << "'" << t << "' " << d;
    }
    EXPECT_EQ(m.candidate_mask(cell), digit_mask(t)) << t;
    EXPECT_EQ(m.candidate_count(cell), static_cast<int>(t.size())) << t;
    for (const UnitKind kind : {UnitKind::Row, UnitKind::Column, UnitKind::Box}) {
      for (int u = 0; u < 9; ++u) {
        unsigned two = 0;
        for (int k = 0; k < 9; ++k)
          if (m.Text2[unit_cells(kind, u)[static_cast<size_t>(k)]].text().size() == 2) two |= 1u << k;
        EXPECT_EQ(m.board_index().two_candidates(kind, u), two);
      }
    }
  };
  for (int round = 0; round < 600; ++round) {
    const int cell = static_cast<int>(rng() % 81);
    const std::string& t = texts[rng() % texts.size()];
    switch (round % 4) {
      case 0: m.Text2[cell].set_text(std::string(t)); break;
      case 1: m.Text2[cell].set_text(std::string_view(t)); break;
      case 2: m.Text2[cell].set_text(t.c_str()); break;
      default: {
        const std::string before = m.Text2[cell].text();
        const char d = "0123456789a"[rng() % 11];
        m.cut_candidate(cell, d);
        EXPECT_EQ(m.Text2[cell].text(), cut_first(before, d)) << before << " " << d;
      }
    }
    check(cell);
  }
}

}  // namespace
}  // namespace ks
