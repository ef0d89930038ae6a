// Puzzle files through the file commands as the player runs them: every format written and read
// back before and during play, hand-written files, every refused file, cancelled dialogs,
// unknown names, failed writes, and damaged files through every reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>

#include "library/puzzle_files.h"
#include "platform/text.h"
#include "solving/solver.h"
#include "solving_support.h"
#include "test_support.h"

namespace ks {
namespace {

namespace fs = std::filesystem;
using test::cages_of;
using test::lines_of;
using test::load_layout;
using test::puzzles;
using test::Started;

constexpr const char* kFileError = "errore nel salvataggio";
constexpr const char* kNoPuzzle = "nessun schema caricato";
constexpr const char* kOpenNames = "si possono aprire solo i file che finiscono con sa+, sc+, sav o txt";
constexpr const char* kSaveNames = "si può salvare solo con un nome che finisce con sa+, sas o sc+";
constexpr const char* kDigitsQuestion = "Abbandonare lo schema in corso? Le cifre inserite andranno perse.";

// The 81 cell fields of a board: a digit, or the candidates of an empty cell; for "sc+"
// (`twice`) an empty cell's one candidate is written twice.
std::string fields_of(const Main& m, bool twice = true) {
  std::string line;
  for (int i = 0; i < kCells; ++i) {
    const std::string& digit = m.Text1[i].text();
    const std::string& candidates = m.Text2[i].text();
    line += (!digit.empty() ? digit : twice && candidates.size() == 1 ? candidates + candidates : candidates) + ",";
  }
  return line;
}

// A layout as an "sav" file: one cage per line, numbered from 0.
std::string sav_of(const std::string& layout) {
  std::string out;
  int g = 0;
  for (const auto& cage : cages_of(layout)) {
    out += std::to_string(g++) + "," + std::to_string(cage.sum) + ",0," + std::to_string(cage.cells.size());
    for (int c : cage.cells) out += "," + std::to_string(c);
    out += "\r\n";
  }
  return out;
}

// Every cage of the layout is on the board in its place: numbered in the order of the text, its
// sum box on its lowest cell, its load-time layout and its list of empty cells in the order of the
// text, its remaining sum following from the digits placed (test::cages_agree).
void expect_cages(const Main& m, const std::string& layout) {
  const auto cages = cages_of(layout);
  ASSERT_FALSE(cages.empty());
  EXPECT_EQ(test::cages_agree(m, layout), "");
  EXPECT_EQ(m.gruppi, static_cast<int>(cages.size()) - 1);
  for (size_t g = 0; g < cages.size(); ++g) {
    SCOPED_TRACE("cage " + std::to_string(g));
    const int G = static_cast<int>(g);
    const auto& cage = cages[g];
    EXPECT_TRUE(m.textsomma[G].visible());
    const int lowest = *std::min_element(cage.cells.begin(), cage.cells.end());
    EXPECT_EQ(m.textsomma[G].left(), m.Label2[lowest].left() + 2);
    EXPECT_EQ(m.textsomma[G].top(), m.Label2[lowest].top() - 4);
    ASSERT_EQ(m.layout_size(G), static_cast<int>(cage.cells.size()));
    std::vector<int> empty;
    for (size_t k = 0; k < cage.cells.size(); ++k) {
      const int c = cage.cells[k];
      EXPECT_EQ(m.layout_cell(G, static_cast<int>(k) + 1), c);
      if (m.Text1[c].text().empty()) empty.push_back(c);
    }
    ASSERT_EQ(m.cage_size(G), static_cast<int>(empty.size()));
    for (size_t k = 0; k < empty.size(); ++k) EXPECT_EQ(m.cage_cell(G, static_cast<int>(k) + 1), empty[k]);
  }
}

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = test::temp_path("ks_files_");
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string path(const std::string& name) const { return (dir / name).string(); }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string bytes(const std::string& name) const { return test::file_bytes(path(name)); }
  // The entries of the folder, with the kind of each.
  std::vector<std::string> listing() const {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
      out.push_back(e.path().lexically_relative(dir).string() + (e.is_directory() ? "/" : ""));
    std::sort(out.begin(), out.end());
    return out;
  }

  // The player opens from the toolbar, saves from the menu, exports with the hidden button; the
  // dialog answers `name` ("" = cancelled).
  void open(const std::string& name) {
    s.rt.open_answers.push_back(name.empty() ? "" : path(name));
    m.Toolbar2.on_button_click("open");
  }
  void save(const std::string& name) {
    s.rt.save_answers.push_back(name.empty() ? "" : path(name));
    m.mnusave.on_click();
  }
  void export_as(const std::string& name) {
    s.rt.save_answers.push_back(name.empty() ? "" : path(name));
    m.Command2.on_click();
  }
  // Places solution digits through cell entry, as the player types them.
  void play(const test::Puzzle& p, int every) {
    for (int i = 0; i < kCells; i += every) m.Text1[i].type(p.solution.substr(static_cast<size_t>(i), 1));
  }

  Started s;
  Main& m = *s.m;
  fs::path dir;
};

TEST_F(Files, TheExampleBoardSavesAsOneLineAndReadsBack) {
  load_layout(m, "15,0102;10,0918;");
  save("two.sa+");
  EXPECT_EQ(bytes("two.sa+"), "15,0102;10,0918;\r\n");
  EXPECT_EQ(m.filetxt.text(), " " + path("two.sa+"));
  m.Toolbar2.on_button_click("new");
  open("two.sa+");
  EXPECT_TRUE(s.rt.messages.empty());
  EXPECT_EQ(s.rt.last_filter,
            "Tutti gli schemi (*.sa+;*.sc+;*.sav;*.txt)|*.sa+;*.sc+;*.sav;*.txt|"
            "Puzzle salvati (*.txt;*.sa+)|*.txt;*.sa+|Tutti i file (*.*)|*.*");
  expect_cages(m, "15,0102;10,0918;");
  EXPECT_EQ(m.filetxt.text(), " " + path("two.sa+"));
  EXPECT_EQ(m.chiamante, "manuale");
  EXPECT_FALSE(m.ins_dati);
  EXPECT_FALSE(m.mnupencil.checked());
  EXPECT_EQ(m.Text2[1].text(), "6789");  // two different digits making 15
  EXPECT_EQ(m.Text2[40].text(), "123456789");
}

// Every test puzzle in every format, before play and with every fifth cell filled: the files
// hold the puzzle with its full sums, open again into the same cages, agree with the digits on
// the board, and write the same bytes once more.
TEST_F(Files, EveryFormatReadsBackWhatItWroteBeforeAndDuringPlay) {
  for (const test::Puzzle& p : puzzles()) {
    for (const int every : {0, 5}) {
      SCOPED_TRACE(p.id + (every ? " during play" : " before play"));
      s.rt.messages.clear();
      load_layout(m, p.layout);
      if (every) play(p, every);
      const std::string fields = fields_of(m);
      const std::string classic = fields_of(m, false);
      m.testolivello.set_text(every ? "12" : "4");
      save("p.sa+");
      save("p.sc+");
      save("p.sas");
      export_as("p");
      ASSERT_TRUE(s.rt.messages.empty()) << s.rt.messages[0];
      EXPECT_EQ(bytes("p.sa+"), p.layout + "\r\n");
      EXPECT_EQ(bytes("p.sc+"), p.layout + "\r\n" + fields + "\r\n");
      EXPECT_EQ(bytes("p.sas"), classic + "\r\n");
      std::string grid;
      for (int i = 0; i < kCells; ++i)
        if (every && i % every == 0) grid += p.solution[static_cast<size_t>(i)];
      EXPECT_EQ(bytes("p.txt"), grid + (every ? " 12 " : " 4 ") + p.layout + "\r\n");
      EXPECT_EQ(m.txtstringa.text(), grid);

      // "sa+" and the export give the puzzle from its start; the first of them asks before the
      // digits placed go.
      for (const char* name : {"p.sa+", "p.txt"}) {
        SCOPED_TRACE(name);
        open(name);
        EXPECT_EQ(s.rt.messages, (every && std::string(name) == "p.sa+" ? std::vector<std::string>{kDigitsQuestion}
                                                                        : std::vector<std::string>{}));
        s.rt.messages.clear();
        EXPECT_EQ(m.gruppo1, m.gruppi);
        EXPECT_EQ(m.esposti, 0);
        expect_cages(m, p.layout);
        save("again.sa+");
        EXPECT_EQ(bytes("again.sa+"), bytes("p.sa+"));
      }
      // "sc+" gives the game as it stood: its digits and candidates, and cages that count the
      // digits.
      open("p.sc+");
      EXPECT_TRUE(s.rt.messages.empty());
      EXPECT_EQ(m.gruppo1, m.gruppi);
      for (int i = 0; i < kCells; ++i) {
        const bool placed = every && i % every == 0;
        EXPECT_EQ(m.Text1[i].text(), placed ? p.solution.substr(static_cast<size_t>(i), 1) : "") << i;
        if (placed) {
          EXPECT_EQ(m.Text2[i].text(), m.Text1[i].text()) << i;
        }
      }
      EXPECT_EQ(fields_of(m), fields);
      expect_cages(m, p.layout);
      save("again.sc+");
      EXPECT_EQ(bytes("again.sc+"), bytes("p.sc+"));
    }
  }
}

TEST_F(Files, HandWrittenFilesOfEveryFormat) {
  const std::string grid = puzzles()[0].solution;
  const std::string layout = puzzles()[0].layout;
  // A candidate box edited by hand may hold its digits in any order ("9313").
  const auto field = [](int i, const char* box42) -> std::string {
    return i == 1 ? "7," : i == 2 ? "89," : i == 40 ? "5," : i == 41 ? "66," : i == 42 ? box42 : "123456789,";
  };
  std::string fields, written;
  for (int i = 0; i < kCells; ++i) {
    fields += field(i, "9313,");
    written += field(i, "139,");
  }
  // Cells 1, 3 and 18 filled with 9, 3 and 4, the others with every candidate.
  std::string played;
  for (int i = 0; i < kCells; ++i) played += i == 1 ? "9," : i == 3 ? "3," : i == 18 ? "4," : "123456789,";
  struct Case {
    std::string name, bytes, layout;
    std::string digits;   // cell:digit pairs expected on the board
    std::string message;  // what the player is told, "" for nothing
  };
  const std::string no_sum = "somma non valida: il gruppo di ";
  const std::string two = ", ma un gruppo di 2 celle ha una somma da 3 a 17";
  const std::string one = ", ma un gruppo di 1 cella ha una somma da 1 a 9";
  const std::vector<Case> cases = {
      {"a.sa+", "15,0102;10,0918;\r\n", "15,0102;10,0918;", "", ""},
      {"line-feed.sa+", "15,0102;\n10,0918;\n", "15,0102;", "", ""},
      {"blanks.sa+", " 15 ,0102; 10,0918;", "15,0102;10,0918;", "", ""},
      {"mark.sa+", "\xEF\xBB\xBF" "15,0102;\r\n", "15,0102;", "", ""},
      {"trailing.sa+", "15,0102;end\r\nmore\r\n", "15,0102;", "", ""},
      {"one.sav", "3,17,5,2,40,41\r\n", "17,4041;", "", ""},
      {"order.sav", "0,3,x,2,0,1\r\n2,4,,2,2,3,\r\n1, 11 ,9,2,9,10\r\n", "3,0001;11,0910;4,0203;", "", ""},
      {"gap.sav", "7,3,0,2,0,1\n20,4,0,2,2,3\n", "3,0001;4,0203;", "", ""},
      {"flash12.txt", grid + " 12 " + layout + "\r\n", layout, "", ""},
      {"flash4.txt", grid + " 4 " + layout + "\r\n", layout, "", ""},
      {"unfinished.txt", "5918 3 15,0102;10,0918;\r\n", "15,0102;10,0918;", "", ""},
      {"empty-grid.txt", "  15,0102;\r\n", "15,0102;", "", ""},
      // Games saved during play as the format writes them: remaining sums, which a wrong digit
      // makes negative, over the empty cells; a completed cage with no cell left; a cage whose
      // sum box was still empty. Sums read leniently: "" and "x" as 0, "1x" as 1.
      {"negative.sa+", "-3,0102;10,0918;\r\n", "-3,0102;10,0918;", "", no_sum + "r1c2 ha somma -3" + two},
      {"empty-sum.sa+", "15,0102;,0918;\r\n", "15,0102;0,0918;", "", no_sum + "r2c1 ha somma 0" + two},
      {"lenient.sa+", "1x,0102;x,0918; -2 ,03;\r\n", "1,0102;0,0918;-2,03;", "",
       no_sum + "r1c2 ha somma 1" + two + " (2 altri gruppi con una somma impossibile)"},
      {"completed.sa+", "0,;15,0102;0,;\r\n", "15,0102;", "", ""},
      {"old.sav", "0,-3,0,2,1,2\r\n1,,0,2,9,18\r\n", "-3,0102;0,0918;", "",
       no_sum + "r1c2 ha somma -3" + two + " (1 altro gruppo con una somma impossibile)"},
      {"old.txt", "93 4 -3,0102;,0918;\r\n", "-3,0102;0,0918;", "",
       no_sum + "r1c2 ha somma -3" + two + " (1 altro gruppo con una somma impossibile)"},
      {"played.sc+", "-4,02;6,09;0,;\r\n" + played + "\r\n", "-4,02;6,09;", "1:9 3:3 18:4",
       no_sum + "r1c3 ha somma -4" + one},
      {"entry.sc+", "15,0102;,0918;\r\n" + played + "\r\n", "15,0102;0,0918;", "1:9 3:3 18:4",
       no_sum + "r2c1 ha somma 0" + two},
      {"game.sc+", "15,0102;10,0918;\r\n" + fields + "\r\n", "15,0102;10,0918;", "1:7 40:5", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    s.rt.messages.clear();
    load_layout(m, layout);
    write(c.name, c.bytes);
    open(c.name);
    EXPECT_EQ(s.rt.messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(m.filetxt.text(), " " + path(c.name));
    expect_cages(m, c.layout);
    std::string digits;
    for (int i = 0; i < kCells; ++i)
      if (!m.Text1[i].text().empty()) digits += (digits.empty() ? "" : " ") + std::to_string(i) + ":" + m.Text1[i].text();
    EXPECT_EQ(digits, c.digits);
    EXPECT_EQ(m.cage_line(), c.layout);
  }
  // The "sc+" game: cage 15 lost its 7, and the empty cells keep the candidates of the file; a
  // digit written twice is the one candidate of an empty cell.
  EXPECT_TRUE(m.sommagruppo[0].eq(8));
  EXPECT_EQ(m.Text2[1].text(), "7");
  EXPECT_EQ(m.Text2[2].text(), "89");
  EXPECT_EQ(m.Text2[41].text(), "6");
  EXPECT_EQ(m.Text2[42].text(), "139");
  EXPECT_EQ(m.esposti, 2);
  save("game.sc+");
  EXPECT_EQ(bytes("game.sc+"), "15,0102;10,0918;\r\n" + written + "\r\n");
}

// A cage whose cells do not hang together is shown with the contiguity warning; the file opens.
// Games saved during play by the older writers: the cage line holds each cage's remaining sum over
// its empty cells only ("0,;" for a completed cage), and "sc+" keeps the digits and candidates in
// its second line. Such a game opens with its digits, and the solve finishes it: a filled cell
// needs no cage. An "sa+" of the same game has lost its digits: the cells that held them open
// empty and in no cage, and the solve says so.
TEST_F(Files, OldGamesSavedDuringPlayOpenAndSolve) {
  for (const size_t k : {size_t{3}, size_t{40}, size_t{77}}) {
    const test::Puzzle& p = puzzles()[k];
    SCOPED_TRACE(p.id);
    load_layout(m, p.layout);
    play(p, 4);
    std::string cages, cells, placed;
    int lost = 0;
    for (const auto& cage : cages_of(p.layout)) {
      int remaining = cage.sum;
      std::string empty;
      for (const int c : cage.cells) {
        if (m.Text1[c].text().empty())
          empty += two_digits(c);
        else
          remaining -= m.Text1[c].text()[0] - '0';
      }
      cages += std::to_string(remaining) + "," + empty + ";";
    }
    for (int i = 0; i < kCells; ++i) {
      cells += m.Text2[i].text() + ",";
      lost += !m.Text1[i].text().empty();
      placed += m.Text1[i].text().empty() ? "." : m.Text1[i].text();
    }
    write("old.sc+", cages + "\r\n" + cells + "\r\n");
    write("old.sa+", cages + "\r\n");

    s.rt.messages.clear();
    open("old.sc+");
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{kDigitsQuestion});
    s.rt.messages.clear();
    // A cell left with one candidate opens as that digit, as the older reader takes it.
    for (int i = 0; i < kCells; ++i) {
      if (placed[static_cast<size_t>(i)] == '.') continue;
      EXPECT_EQ(m.Text1[i].text(), placed.substr(static_cast<size_t>(i), 1)) << i;
    }
    m.Toolbar2.on_button_click("risolvi");
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{});
    ASSERT_TRUE(m.finito);
    std::string grid;
    for (const TextBox& box : m.Text1) grid += box.text();
    EXPECT_EQ(grid, p.solution);

    s.rt.messages.clear();
    open("old.sa+");
    EXPECT_EQ(m.esposti, 0);
    m.Toolbar2.on_button_click("risolvi");
    // (A cage whose empty cells no longer touch is told first.)
    ASSERT_FALSE(s.rt.messages.empty());
    EXPECT_TRUE(s.rt.messages.back().starts_with("schema incompleto: " + std::to_string(lost) + " celle (la prima è r1c1)"))
        << s.rt.messages.back();
  }
}

// A wrong digit ("numero errato") saved in "sc+" opens as a placed digit, as every digit of the
// file does (and as the older writers' one candidate of an empty cell does): nothing tells the
// reader that it was refused. The solve then finds no solution, says so and leaves the game as
// it opened; the digit's erasure gives the game back to the solve.
TEST_F(Files, AWrongDigitSavedDuringPlayIsNoSolutionOnceOpenedAgain) {
  const test::Puzzle& p = test::puzzle("db-11");  // r6c9 holds 7
  test::load_from_library(m, p.layout);
  m.Text1[53].type("1");
  ASSERT_EQ(m.txthint.text(), "  numero errato");
  save("wrong.sc+");

  open("wrong.sc+");
  const std::vector<std::string> opened = test::position_of(m);
  s.rt.messages.clear();
  m.Toolbar2.on_button_click("risolvi");
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{"schema senza soluzione"});
  EXPECT_EQ(test::position_of(m), opened);
  EXPECT_FALSE(m.finito);
  EXPECT_EQ(m.txtlivello.text(), "");

  s.rt.messages.clear();
  m.Text1[53].type("");
  m.Toolbar2.on_button_click("risolvi");
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{});
  std::string grid;
  for (const TextBox& box : m.Text1) grid += box.text();
  EXPECT_EQ(grid, p.solution);
}

TEST_F(Files, ASplitCageOpensWithTheContiguityWarning) {
  write("split.sa+", "10,0002;15,0910;\r\n");
  open("split.sa+");
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{" problema contiguita "});
  expect_cages(m, "10,0002;15,0910;");
  EXPECT_FALSE(m.ins_dati);
  EXPECT_FALSE(m.mnupencil.checked());
  EXPECT_EQ(m.chiamante, "manuale");
}

// Each file the readers refuse: the message says why, and the board is reset, whatever was on it.
TEST_F(Files, RefusedFilesLeaveTheGameAsItWasAndSayWhy) {
  const std::string fields81 = [] {
    std::string f;
    for (int i = 0; i < kCells; ++i) f += "123456789,";
    return f;
  }();
  std::string cages81;
  for (int c = 0; c < kCells; ++c) cages81 += "1," + two_digits(c) + ";";
  const std::string bad = "schema non valido: ";
  struct Case {
    std::string name, bytes, message;
  };
  const std::vector<Case> cases = {
      {"empty.sa+", "", bad + "il file è vuoto"},
      {"blank.sa+", "\r\n", bad + "nessun gruppo"},
      {"words.sa+", "hello\r\n", bad + "nessun gruppo"},
      {"nosemi.sa+", "15,0102;10,0918\r\n", bad + "il 2° gruppo non termina con ';'"},
      {"cell81.sa+", "15,0181;\r\n", bad + "la cella \"81\" del 1° gruppo non è tra 00 e 80"},
      {"eight.sa+", "36,0001020304050607;\r\n", bad + "il 1° gruppo ha più di 7 celle"},
      {"twice.sa+", "15,0102;10,0203;\r\n", bad + "la cella 02 è sia nel 1° gruppo sia nel 2° gruppo"},
      {"many.sa+", cages81 + "1,00;\r\n", bad + "più di 81 gruppi"},
      {"half.sa+", "15,0102;1.5,0918;\r\n",
       bad + "la somma del 2° gruppo (\"1.5\") non è un numero intero da -999 a 999"},
      {"large-sum.sa+", "1000,0102;\r\n",
       bad + "la somma del 1° gruppo (\"1000\") non è un numero intero da -999 a 999"},
      {"huge.sa+", "1e999,0102;\r\n",
       bad + "la somma del 1° gruppo (\"1e999\") non è un numero intero da -999 a 999"},
      {"done.sa+", "0,;\r\n", bad + "nessun gruppo"},
      {"odd.sa+", "15,010;\r\n", bad + "il 1° gruppo ha un numero dispari di cifre nelle celle"},
      {"oneline.sc+", "15,0102;\r\n", bad + "manca la seconda riga, quella delle celle"},
      {"more.sc+", "15,0102;\r\n" + fields81 + "1,\r\n", bad + "la seconda riga ha più di 81 campi"},
      {"fewer.sc+", "15,0102;\r\n" + fields81.substr(10) + "\r\n", bad + "la seconda riga ha 80 campi invece di 81"},
      {"nocomma.sc+", "15,0102;\r\n123\r\n", bad + "la seconda riga ha 0 campi invece di 81"},
      {"field.sc+", "15,0102;\r\n12a," + fields81.substr(10) + "\r\n",
       bad + "il campo 1 della seconda riga (\"12a\") non è un elenco di cifre da 1 a 9"},
      {"zero.sc+", "15,0102;\r\n0," + fields81.substr(10) + "\r\n",
       bad + "il campo 1 della seconda riga (\"0\") non è un elenco di cifre da 1 a 9"},
      {"layout.sc+", "15,0102\r\n" + fields81 + "\r\n", bad + "il 1° gruppo non termina con ';'"},
      {"empty.sav", "", bad + "il file è vuoto"},
      {"emptyline.sav", "0,3,0,2,0,1\r\n\r\n1,4,0,2,2,3\r\n", bad + "riga 2: riga vuota"},
      {"commas.sav", "0,3,0,2\r\n", bad + "riga 1: mancano i campi prima delle celle"},
      {"number.sav", "81,3,0,2,0,1\r\n", bad + "riga 1: il numero del gruppo non è tra 0 e 80"},
      {"letter.sav", "a,3,0,2,0,1\r\n", bad + "riga 1: il numero del gruppo non è tra 0 e 80"},
      {"sum.sav", "0,-1.5,0,2,0,1\r\n", bad + "la somma del 1° gruppo (\"-1.5\") non è un numero intero da -999 a 999"},
      {"huge.sav", "0,10E1213,0,2,0,1\r\n",
       bad + "la somma del 1° gruppo (\"10E1213\") non è un numero intero da -999 a 999"},
      {"count.sav", "0,36,0,8,0,1,2,3,4,5,6,7\r\n", bad + "riga 1: il numero di celle non è tra 1 e 7"},
      {"nocells.sav", "0,3,0,0,\r\n", bad + "riga 1: il numero di celle non è tra 1 e 7"},
      {"cell.sav", "0,3,0,2,0,81\r\n", bad + "riga 1: la cella \"81\" non è tra 0 e 80"},
      {"fewer.sav", "0,3,0,3,0,1\r\n", bad + "riga 1: ci sono meno celle di quante indicate"},
      {"more.sav", "0,3,0,2,0,1,2\r\n", bad + "riga 1: ci sono più celle di quante indicate"},
      {"same.sav", "0,3,0,2,0,1\r\n0,4,0,2,2,3\r\n", bad + "riga 2: il gruppo 0 compare anche alla riga 1"},
      {"shared.sav", "0,3,0,2,0,1\r\n1,4,0,2,1,2\r\n", bad + "la cella 01 è sia nel 1° gruppo sia nel 2° gruppo"},
      {"noblank.txt", "15,0102;\r\n", bad + "la riga non ha le tre parti griglia, livello e gruppi separate da spazi"},
      {"nocage.txt", "123 4 \r\n", bad + "nessun gruppo"},
      {"shifted.txt", " 23 12 15,0102;\r\n",
       bad + "la somma del 1° gruppo (\"12 15\") non è un numero intero da -999 a 999"},
      {"large.sa+", std::string(kMaxPuzzleFileBytes + 1, ' '), kFileError},
  };
  // The game in progress: a library puzzle with digits placed, the pencil marks on, the clock
  // running.
  const auto start_game = [&] {
    load_layout(m, puzzles()[0].layout);
    play(puzzles()[0], 7);
    m.filelibreria = true;
    m.library_record = 5;
    m.filetxt.set_text(" before");
    m.mnupencil_Click();
    if (!m.play_clock_running()) m.picstart_Click();
  };
  const auto expect_game_kept = [&](const std::string& fields, const std::string& layout) {
    EXPECT_EQ(fields_of(m), fields);
    EXPECT_EQ(m.cage_line(), layout);
    EXPECT_EQ(m.filetxt.text(), " before");
    EXPECT_TRUE(m.filelibreria);
    EXPECT_EQ(m.library_record, 5);
    EXPECT_TRUE(m.mnupencil.checked());
    EXPECT_TRUE(m.play_clock_running());
    EXPECT_FALSE(m.ins_dati);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    start_game();
    const std::string fields = fields_of(m), layout = m.cage_line();
    s.rt.messages.clear();
    write(c.name, c.bytes);
    open(c.name);
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{c.message + " (" + path(c.name) + ")"});
    expect_game_kept(fields, layout);
  }
  // A file that is not there, and a folder in place of a file.
  fs::create_directory(dir / "folder.sa+");
  for (const char* name : {"missing.sa+", "folder.sa+"}) {
    SCOPED_TRACE(name);
    start_game();
    const std::string fields = fields_of(m), layout = m.cage_line();
    s.rt.messages.clear();
    open(name);
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{std::string(kFileError) + " (" + path(name) + ")"});
    expect_game_kept(fields, layout);
  }
}

TEST_F(Files, ACancelledDialogOrANameOfNoReadableFormatChangesNothing) {
  load_layout(m, puzzles()[1].layout);
  play(puzzles()[1], 3);
  m.filetxt.set_text(" Livello 4, schema 2");
  m.filelibreria = true;
  m.library_record = 2;
  const std::string fields = fields_of(m);
  write("classic.sas", fields + "\r\n");
  write("upper.SA+", puzzles()[0].layout + "\r\n");
  write("none", puzzles()[0].layout + "\r\n");
  for (const char* name : {"", "classic.sas", "upper.SA+", "none"}) {
    SCOPED_TRACE(name);
    s.rt.messages.clear();
    open(name);
    EXPECT_EQ(s.rt.messages, *name ? std::vector<std::string>{kOpenNames} : std::vector<std::string>{});
    EXPECT_EQ(fields_of(m), fields);
    expect_cages(m, puzzles()[1].layout);
    EXPECT_EQ(m.filetxt.text(), " Livello 4, schema 2");
    EXPECT_TRUE(m.filelibreria);
    EXPECT_EQ(m.library_record, 2);
  }
  EXPECT_TRUE(s.rt.open_answers.empty());
}

// A write that fails or is refused leaves every file as it was and tells the player; a write
// that succeeds replaces the old file whole.
TEST_F(Files, SavesThatCannotWriteLeaveTheFilesAsTheyWere) {
  load_layout(m, puzzles()[2].layout);
  write("keep.txt", "keep\r\n");
  write("keep.SA+", "keep\r\n");
  write("keep", "keep\r\n");
  fs::create_directory(dir / "folder.sa+");
  const std::vector<std::string> before = listing();
  struct Case {
    std::string name, message;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"keep.txt", kSaveNames},
      {"keep.SA+", kSaveNames},
      {"keep", kSaveNames},
      {"folder.sa+", kFileError},
      {"missing/x.sa+", kFileError},
      {"missing/x.sc+", kFileError},
  };
  m.filetxt.set_text(" before");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    s.rt.messages.clear();
    save(c.name);
    EXPECT_EQ(s.rt.messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(bytes("keep.txt"), "keep\r\n");
    EXPECT_EQ(m.filetxt.text(), " before");
  }
  // The export fails the same way.
  s.rt.messages.clear();
  export_as("missing/flash");
  fs::create_directory(dir / "folder.sa+.txt");
  export_as("folder.sa+");
  EXPECT_EQ(s.rt.messages, (std::vector<std::string>{std::string(kFileError) + " (" + path("missing/flash.txt") + ")",
                                                     std::string(kFileError) + " (" + path("folder.sa+.txt") + ")"}));

  // A longer file is replaced whole by a shorter one.
  write("old.sa+", std::string(5000, '9') + "\r\n");
  save("old.sa+");
  EXPECT_EQ(bytes("old.sa+"), puzzles()[2].layout + "\r\n");
}

TEST_F(Files, ABoardWithoutCagesIsSavedOnlyAsAClassicGrid) {
  m.Toolbar2.on_button_click("new");
  m.Text1[0].type("5");
  for (const char* name : {"x.sa+", "x.sc+"}) {
    s.rt.messages.clear();
    save(name);
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{kNoPuzzle});
  }
  export_as("flash");
  EXPECT_EQ(s.rt.messages.back(), kNoPuzzle);
  EXPECT_EQ(s.rt.save_answers.size(), 1u);  // refused before the dialog
  s.rt.save_answers.clear();
  EXPECT_TRUE(listing().empty());
  s.rt.messages.clear();
  save("x.sas");
  EXPECT_TRUE(s.rt.messages.empty()) << s.rt.messages[0];
  EXPECT_EQ(bytes("x.sas"), fields_of(m, false) + "\r\n");
  EXPECT_EQ(bytes("x.sas").substr(0, 12), "5,12346789,1");
}

// A file holds closed cages only. The cage being entered closes first when its sum is typed; one
// that stays open (no sum yet, or one the editor refuses) refuses the save and the export with the
// reason, before the dialog, and no file is written.
TEST_F(Files, TheCageBeingEnteredClosesBeforeAFileIsWrittenOrRefusesIt) {
  const std::string no_sum = "il gruppo in corso di inserimento non ha ancora la sua somma: scriverla prima di salvare";
  const std::string not_closed = "il gruppo in corso di inserimento non è stato chiuso: correggerlo prima di salvare";
  const std::string range = "somma non valida: un gruppo di 2 celle ha una somma da 3 a 17";
  struct Case {
    std::string what, sum;
    std::function<void()> command;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"save sa+", "", [&] { save("a.sa+"); }, {no_sum}},
      {"save sc+", "", [&] { save("a.sc+"); }, {no_sum}},
      {"save sas", "", [&] { save("a.sas"); }, {no_sum}},
      {"export", "", [&] { export_as("a"); }, {no_sum}},
      // From the menu the input rule stops the command at the refused sum; the commands
      // themselves refuse to write without the cage.
      {"save menu, refused sum", "99", [&] { save("a.sa+"); }, {range}},
      {"save, refused sum", "99", [&] { s.rt.save_answers.push_back(path("a.sa+")); m.mnusave_Click(); },
       {range, not_closed}},
      {"export, refused sum", "99", [&] { s.rt.save_answers.push_back(path("a")); m.Command2_Click(); },
       {range, not_closed}},
  };
  // A new board, one cage coloured.
  m.Toolbar2.on_button_click("new");
  m.colore[3].on_click();
  m.Text1[0].on_click();
  m.Text1[1].on_click();
  m.textsomma[0].set_focus();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m.textsomma[0].set_text(c.sum);
    s.rt.messages.clear();
    c.command();
    EXPECT_EQ(s.rt.messages, c.messages);
    EXPECT_EQ(s.rt.save_answers.size(), 1u);  // refused before the dialog
    s.rt.save_answers.clear();
    EXPECT_TRUE(listing().empty());
    EXPECT_EQ(m.cellacolorata, 2);
  }
  m.textsomma[0].set_text("12");
  s.rt.messages.clear();
  save("typed.sa+");
  EXPECT_TRUE(s.rt.messages.empty());
  EXPECT_EQ(bytes("typed.sa+"), "12,0001;\r\n");
  EXPECT_EQ(m.cellacolorata, 0);
}

// The player deletes the cage with the lowest number and enters it again, over and over: each new
// cage takes the number after the highest, and past the last cage slot (80) the cages are numbered
// from 0 again first. No cage is ever numbered above the one being entered, so the file keeps
// every cage, and the board solves and restarts as the puzzle it is.
TEST_F(Files, CagesEnteredAgainAndAgainAreAllSaved) {
  const test::Puzzle& p = puzzles()[0];  // 36 cages: cycle 45 takes number 80, cycle 46 renumbers
  const auto cage_set = [](const std::string& layout) {
    std::set<std::pair<std::vector<int>, int>> out;
    for (test::TextCage c : cages_of(layout)) {
      std::sort(c.cells.begin(), c.cells.end());
      out.emplace(c.cells, c.sum);
    }
    return out;
  };
  for (const int cycles : {1, 45, 46, 92}) {
    SCOPED_TRACE(std::to_string(cycles) + " cycles");
    load_layout(m, p.layout);
    for (int k = 0; k < cycles; ++k) {
      int lowest = kCells;
      for (int i = 0; i < kCells; ++i) lowest = std::min(lowest, m.cage_of(i));
      std::vector<int> cells;
      for (int i = 0; i < kCells; ++i)
        if (m.cage_of(i) == lowest) cells.push_back(i);
      const std::string sum = m.textsomma[lowest].text();
      m.colore[k % 16].on_click();
      m.Text1[cells[0]].on_click();  // deletes the cage, answered OK
      for (const int c : cells) m.Text1[c].on_click();
      int highest = -1;
      for (int i = 0; i < kCells; ++i) highest = std::max(highest, m.cage_of(i));
      ASSERT_EQ(highest, m.gruppi) << "cycle " << k + 1;
      m.textsomma[m.gruppi].set_focus();
      m.textsomma[m.gruppi].type(sum);
      m.Text1[80].set_focus();
      ASSERT_EQ(m.cellacolorata, 0) << "cycle " << k + 1;
    }
    s.rt.messages.clear();
    save("again.sa+");
    ASSERT_TRUE(s.rt.messages.empty()) << s.rt.messages[0];
    EXPECT_EQ(cage_set(lines_of(bytes("again.sa+")).at(0)), cage_set(p.layout));
    EXPECT_EQ(test::cages_agree(m, p.layout), "");

    m.Toolbar2.on_button_click("risolvi");
    EXPECT_EQ(test::grid_of(m), p.solution);
    m.Toolbar2.on_button_click("undo");
    EXPECT_EQ(m.esposti, 0);
    EXPECT_EQ(test::cages_agree(m, p.layout), "");
    open("again.sa+");
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{"Ricominciare lo schema? Le cifre inserite andranno perse."});
    EXPECT_EQ(test::cages_agree(m, p.layout), "");
  }
}

TEST_F(Files, TheExportAddsTxtOnlyWhenTheNameLacksIt) {
  load_layout(m, "15,0102;10,0918;");
  m.Text1[1].type("7");
  m.testolivello.set_text("");
  export_as("a");
  export_as("b.txt");
  EXPECT_EQ(listing(), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(bytes("b.txt"), "7  15,0102;10,0918;\r\n");
  EXPECT_EQ(s.rt.last_filter, "Puzzle salvati (*.txt)|*.txt");
  EXPECT_EQ(m.filetxt.text(), "");
  open("b.txt");
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{kDigitsQuestion});
  expect_cages(m, "15,0102;10,0918;");
}

// Opening a file and the new command let go of the library's puzzle: its rating no longer goes
// into the record.
TEST_F(Files, NewAndOpenLetGoOfTheLibraryPuzzle) {
  write("p.sa+", puzzles()[0].layout);
  m.filelibreria = true;
  m.library_record = 7;
  open("p.sa+");
  EXPECT_FALSE(m.filelibreria);
  EXPECT_EQ(m.library_record, 0);
  m.filelibreria = true;
  m.library_record = 7;
  m.mnunew.on_click();
  EXPECT_FALSE(m.filelibreria);
  EXPECT_EQ(m.library_record, 0);
}

// The restart command goes back to the start of the puzzle of any file, "sav" and "sc+" too.
TEST_F(Files, TheRestartGoesBackToTheStartOfTheOpenedPuzzle) {
  const test::Puzzle& p = puzzles()[3];
  write("p.sav", sav_of(p.layout));
  load_layout(m, p.layout);
  play(p, 4);
  save("p.sc+");
  for (const char* name : {"p.sav", "p.sc+"}) {
    SCOPED_TRACE(name);
    open(name);  // the first open gives up the game played before, as the player agrees
    s.rt.messages.clear();
    m.Text1[80].type(p.solution.substr(80, 1));
    m.Toolbar2.on_button_click("undo");  // the player agrees to lose the digits
    EXPECT_EQ(s.rt.messages,
              std::vector<std::string>{"Ricominciare lo schema? Le cifre inserite andranno perse."});
    s.rt.messages.clear();
    EXPECT_EQ(m.esposti, 0);
    expect_cages(m, p.layout);
  }
}

// A generated puzzle saves, exports and opens again as the cages, sums and digits on the board,
// before and during play, right after start-up and after an earlier puzzle left its load-time
// layout behind. The expected puzzle is read off the board's cells and the grid, not off the
// writers. KS_GENERATOR=long runs many more seeds.
TEST_F(Files, AGeneratedPuzzleSavesExportsAndOpensAsItStands) {
  const char* env = std::getenv("KS_GENERATOR");
  const int seeds = env && std::string(env) == "long" ? 200 : 10;
  for (int seed = 1; seed <= seeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    s.rt.messages.clear();
    if (seed % 2 == 0) load_layout(m, puzzles()[static_cast<size_t>(seed) % puzzles().size()].layout);
    s.rt.Randomize(static_cast<std::uint32_t>(seed));
    m.Toolbar2.on_button_click("genera");
    ASSERT_FALSE(m.problema);
    // The last seed's game, reopened with its digits, is given up as the player agrees.
    const bool game_left = seed % 2 == 1 && seed > 1;
    EXPECT_EQ(s.rt.messages, game_left ? std::vector<std::string>{kDigitsQuestion} : std::vector<std::string>{});
    s.rt.messages.clear();
    const std::string solution = m.solver.stringasoluzione.substr(0, kCells);
    const std::string start = test::board_layout(m, solution);
    ASSERT_EQ(test::cages_agree(m, start), "");

    const std::string start_fields = fields_of(m, false);
    save("start.sa+");
    save("start.sc+");
    save("start.sas");
    export_as("start");
    // During play: digits right and one wrong, a cage completed or not.
    for (int i = seed % 5; i < kCells; i += 5) m.Text1[i].type(solution.substr(static_cast<size_t>(i), 1));
    m.Text1[seed % 5 + 2].type(solution[static_cast<size_t>(seed % 5 + 2)] == '9' ? "1" : "9");
    ASSERT_EQ(test::cages_agree(m, start), "");
    const int placed = m.esposti;
    const std::string fields = fields_of(m);
    save("play.sc+");
    save("play.sa+");
    export_as("play");
    ASSERT_TRUE(s.rt.messages.empty()) << s.rt.messages[0];
    EXPECT_EQ(bytes("start.sas"), start_fields + "\r\n");

    for (const char* name : {"start.sa+", "start.sc+", "start.txt", "play.sa+", "play.txt", "play.sc+"}) {
      SCOPED_TRACE(name);
      open(name);
      // Only the first open gives up digits played.
      EXPECT_EQ(s.rt.messages, std::string(name) == "start.sa+" ? std::vector<std::string>{kDigitsQuestion}
                                                                 : std::vector<std::string>{});
      s.rt.messages.clear();
      EXPECT_EQ(test::cages_agree(m, start), "");
      EXPECT_EQ(m.esposti, std::string(name) == "play.sc+" ? placed : 0);
    }
    EXPECT_EQ(fields_of(m), fields);
  }
}

TEST_F(Files, FileCommandsAreOfferedAndPassTheInputRule) {
  EXPECT_TRUE(m.mnuopen.enabled());
  EXPECT_TRUE(m.mnusave.enabled());
  for (int n = 1; n <= m.Toolbar2.count(); ++n) {
    const ToolbarButton& b = m.Toolbar2.button(n);
    if (b.key == "open" || b.key == "save") {
      EXPECT_TRUE(b.enabled) << b.key;
    }
  }
  load_layout(m, puzzles()[0].layout);
  write("p.sa+", puzzles()[1].layout);
  m.Pictgo.set_visible(true);
  s.rt.open_answers.push_back(path("p.sa+"));
  s.rt.save_answers.push_back(path("q.sa+"));
  m.mnuopen.on_click();
  m.Toolbar2.on_button_click("open");
  m.mnusave.on_click();
  m.Toolbar2.on_button_click("save");
  m.Command2.on_click();
  EXPECT_EQ(s.rt.messages, std::vector<std::string>(5, "per continuare click sul semaforo verde"));
  EXPECT_EQ(s.rt.open_answers.size(), 1u);
  EXPECT_EQ(s.rt.save_answers.size(), 1u);
  m.Pictgo.set_visible(false);
  s.rt.messages.clear();
  m.mnuopen.on_click();
  m.Toolbar2.on_button_click("save");
  EXPECT_TRUE(s.rt.messages.empty());
  EXPECT_EQ(bytes("q.sa+"), puzzles()[1].layout + "\r\n");
  EXPECT_EQ(s.rt.last_filter, "Puzzle salvati (*.sa+)|*.sa+|Classico (*.sas)|*.sas|Schema (*.sc+)|*.sc+");
}

// Damaged files through every reader: each is either read into a board whose cages agree with
// it, which saves and opens again, or refused with a message, the board left as it was. KS_FUZZ=long runs
// many more files.
TEST_F(Files, DamagedFilesAreReadOrRefusedCleanly) {
  const char* env = std::getenv("KS_FUZZ");
  const int runs = env && std::string(env) == "long" ? 40000 : 600;
  std::mt19937 rng(20240611u);
  const auto pick = [&rng](size_t n) { return static_cast<size_t>(rng() % std::max<size_t>(n, 1)); };

  // Sound files of each format, taken from puzzles played a little.
  struct Seed {
    std::string ext, bytes;
  };
  std::vector<Seed> seeds;
  for (size_t k = 0; k < 4; ++k) {
    const test::Puzzle& p = puzzles()[k * 20];
    load_layout(m, p.layout);
    play(p, 6);
    save("seed.sc+");
    export_as("seed.txt");
    seeds.push_back({"sa+", p.layout + "\r\n"});
    seeds.push_back({"sc+", bytes("seed.sc+")});
    seeds.push_back({"txt", bytes("seed.txt")});
    seeds.push_back({"sav", sav_of(p.layout)});
  }
  // Opening is refused when it says anything but the warnings of a board that opens: a cage
  // that does not hold together, a sum no cage of its size can have.
  const auto warning = [](const std::string& msg) {
    return msg == " problema contiguita " || msg.starts_with("somma non valida: ");
  };
  const auto refused = [this, &warning] {
    return !std::all_of(s.rt.messages.begin(), s.rt.messages.end(), warning);
  };
  std::string alphabet = ",;\r\n 0123456789-.x\t\xff";
  alphabet += '\0';

  for (int run = 0; run < runs; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const Seed& seed = seeds[pick(seeds.size())];
    std::string text = seed.bytes;
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits; ++e) {
      const size_t at = pick(text.size() + 1);
      switch (pick(6)) {
        case 0:  // change a character
          if (at < text.size()) text[at] = alphabet[pick(alphabet.size())];
          break;
        case 1:  // delete a run
          text.erase(std::min(at, text.size()), 1 + pick(6));
          break;
        case 2:  // insert characters
          text.insert(at, 1 + pick(3), alphabet[pick(alphabet.size())]);
          break;
        case 3:  // repeat a piece
          text.insert(at, text.substr(pick(text.size() + 1), 1 + pick(40)));
          break;
        case 4:  // cut the file short
          text.resize(at);
          break;
        default:  // a file of noise
          if (pick(8) == 0) {
            text.assign(pick(300), ' ');
            for (char& c : text) c = static_cast<char>(rng());
          }
          break;
      }
    }
    const std::string name = "fuzz." + (pick(5) == 0 ? std::string("sa+sc+savtxt").substr(3 * pick(4), 3) : seed.ext);
    write(name, text);
    s.rt.messages.clear();
    load_layout(m, puzzles()[1].layout);
    const std::string fields = fields_of(m), before = m.cage_line();
    open(name);
    if (refused()) {
      ASSERT_EQ(s.rt.messages.size(), 1u);
      EXPECT_TRUE(s.rt.messages[0].starts_with("schema non valido: ") || s.rt.messages[0].starts_with(kFileError))
          << s.rt.messages[0];
      EXPECT_EQ(fields_of(m), fields);
      EXPECT_EQ(m.cage_line(), before);
      continue;
    }
    const std::string layout = m.cage_line();
    expect_cages(m, layout);
    // What was read saves and opens again as the same cages, the digits it placed given up.
    save("back.sc+");
    s.rt.messages.clear();
    open("back.sc+");
    std::erase(s.rt.messages, std::string(kDigitsQuestion));
    EXPECT_FALSE(refused()) << s.rt.messages[0];
    EXPECT_EQ(m.cage_line(), layout);
    if (HasFailure()) {
      ADD_FAILURE() << "file: " << ::testing::PrintToString(text);
      break;
    }
  }
}

}  // namespace
}  // namespace ks
