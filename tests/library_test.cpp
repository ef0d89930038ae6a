// The puzzle library on a temporary file: the level chooser's queries, counts and moves, loading
// a record onto the board, the reduction pass, a missing or damaged file, a failed write, and
// the rating's record kept apart from the chooser's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "library/level_chooser.h"
#include "library/library.h"
#include "library_fixture.h"
#include "test_support.h"

namespace ks {
namespace {

namespace fs = std::filesystem;
using test::puzzles;

// Eight records: three of level 3 (ids 1..3, times 12, 100, 5.5), one of level 5, one of level
// 14 without detail, one of level 7 without a layout, one the batch generator has not processed
// (no level, no layout), and one of level 2 whose only cage is split in two.
std::string library_rows() {
  const auto& p = puzzles();
  std::ostringstream sql;
  const auto row = [&sql](int id, const char* level, const char* time, const char* total,
                          const char* detail, const std::string& layout, const char* single) {
    sql << "INSERT INTO schema VALUES (" << id << ", " << level << ", " << single << ", "
        << (layout.empty() ? "NULL" : "'" + layout + "'") << ", " << time << ", " << total << ", "
        << detail << ", '" << std::string(81, '.') << "');";
  };
  row(1, "3", "12", "40", "'liv1=3 liv3=2'", p[0].layout, "5");
  row(2, "3", "100", "90", "'dettaglio due'", p[1].layout, "6");
  row(3, "3", "5.5", "20", "NULL", p[2].layout, "7");
  row(4, "5", "3", "55", "'cinque'", p[3].layout, "8");
  row(5, "14", "1", "77", "NULL", p[4].layout, "9");
  row(6, "7", "2", "NULL", "NULL", "", "10");
  row(7, "NULL", "NULL", "NULL", "NULL", "", "NULL");
  row(8, "2", "4", "12", "'spezzato'", "10,0002;", "11");
  return sql.str();
}

class LibraryTest : public test::LibraryFileTest {
 protected:
  LibraryTest() : LibraryFileTest("ks_lib_") {}

  void make_library(const std::string& rows) { ASSERT_EQ(test::make_library_file(file, rows), ""); }
  std::string file_bytes() const { return test::file_bytes(file); }
  // Opens the chooser from the toolbar and picks a level.
  void choose(int level) {
    m.Toolbar2_ButtonClick("libreria");
    ASSERT_TRUE(c.form.visible());
    c.Option1[level].set_value(true);
    c.Option1_Click(level);
  }

  Frmlivello& c = m.frmlivello;
  std::vector<std::string>& messages = s.rt.messages;
};

// Start-up opens the library of the program's folder on "schemi": the boxes show its first
// record, whose level the export writes. Without a library it says nothing.
TEST_F(LibraryTest, StartUpOpensTheLibraryOfTheProgramFolder) {
  test::Started fresh;
  EXPECT_EQ(fresh.m->Data1.database_name(), "./schemikenvari.db");
  EXPECT_EQ(fresh.m->Data1.record_source(), "schemi");
  EXPECT_TRUE(fresh.rt.messages.empty());

  const fs::path folder = test::temp_path("ks_lib_folder_");
  fs::create_directories(folder);
  ASSERT_EQ(test::make_library_file((folder / "schemikenvari.db").string(), library_rows()), "");
  test::Started second(folder.string());
  Main* started = second.m.get();
  EXPECT_TRUE(second.rt.messages.empty());
  EXPECT_EQ(started->Data1.absolute_position(), 0);
  EXPECT_EQ(started->testolivello.text(), "3");
  EXPECT_EQ(started->txtkenvari.text(), puzzles()[0].layout);
  EXPECT_EQ(started->tempo.text(), "");
  EXPECT_EQ(started->temporis.text(), "12");
  test::load_layout(*started, puzzles()[1].layout);
  second.rt.save_answers.push_back((folder / "flash").string());
  started->Command2.on_click();
  EXPECT_EQ(test::file_bytes((folder / "flash.txt").string()), " 3 " + puzzles()[1].layout + "\r\n");
  started->Data1.set_database_name("");
  fs::remove_all(folder);
}

TEST_F(LibraryTest, ChooserOpensWithNothingToLoad) {
  make_library(library_rows());
  m.liv3 = 4;
  m.livello = 6;
  m.Toolbar2_ButtonClick("libreria");
  EXPECT_TRUE(c.form.visible());
  EXPECT_EQ(c.form.caption(), "Selezione Livello");
  EXPECT_EQ(m.liv3, 0);
  EXPECT_EQ(m.livello, 6);
  EXPECT_TRUE(c.Option1[15].value());
  EXPECT_EQ(c.livelloscelto.text(), "Text1");
  EXPECT_TRUE(c.Command1.visible());
  EXPECT_FALSE(c.Command1.enabled());
  EXPECT_EQ(c.Option1[12].caption(), "Livello 12 - EXTREME - Altri Gruppi su righe-colonne multiple ");
  // Before a level: no move, nothing to load.
  c.Command4_Click();
  c.Command3_Click();
  m.libreria();
  EXPECT_EQ(messages, (std::vector<std::string>{"nessun record", "nessuno schema selezionato"}));
  EXPECT_EQ(c.numeroselezionato.text(), "");
  EXPECT_EQ(m.filetxt.text(), "");
}

TEST_F(LibraryTest, LevelQueryCountsAndOrdersBySlowestRatingFirst) {
  make_library(library_rows());
  choose(3);
  EXPECT_EQ(m.Data1.record_source(),
            "SELECT schemi.* FROM [schemi] WHERE (((schemi.livello)=?))ORDER BY schemi.tempo DESC");
  ASSERT_EQ(m.Data1.record_source_params().size(), 1u);
  EXPECT_EQ(m.Data1.record_source_params()[0], SqlValue(std::int64_t{3}));
  EXPECT_EQ(c.numerototale.text(), "3");
  EXPECT_EQ(c.livelloscelto.text(), "3");
  EXPECT_TRUE(c.Command1.enabled());

  struct Shown {
    const char* number;
    const char* id;
    const char* time;
    const char* total;
    const char* detail;
  };
  const Shown expected[] = {{"1", "2", "100", "90", "dettaglio due"},
                            {"2", "1", "12", "40", "liv1=3 liv3=2"},
                            {"3", "3", "5,5", "20", ""}};
  c.Command5_Click();
  for (const Shown& e : expected) {
    SCOPED_TRACE(e.number);
    EXPECT_EQ(c.numeroselezionato.text(), e.number);
    EXPECT_EQ(c.progtxt.text(), e.id);
    EXPECT_EQ(c.temptxt.text(), e.time);
    EXPECT_EQ(c.difftxt.text(), e.total);
    EXPECT_EQ(c.dettagliotxt.text(), e.detail);
    EXPECT_EQ(m.txtprogressivo.text(), e.id);
    c.Command3_Click();
  }
  EXPECT_EQ(c.numeroselezionato.text(), "3");  // next at the last does nothing
  c.Command5_Click();
  c.Command2_Click();
  EXPECT_EQ(c.numeroselezionato.text(), "1");  // previous at the first does nothing
  c.Command4_Click();
  EXPECT_EQ(c.numeroselezionato.text(), "3");
  EXPECT_EQ(c.progtxt.text(), "3");
  EXPECT_TRUE(messages.empty());
}

TEST_F(LibraryTest, TypedNumbersOutsideTheLevelAreRefused) {
  make_library(library_rows());
  choose(3);
  c.numeroselezionato.set_text("2");
  EXPECT_EQ(c.progtxt.text(), "1");
  EXPECT_TRUE(c.Command1.enabled());
  for (const char* typed : {"4", "0", "x", "-1", "2.5", "99999999999"}) {
    SCOPED_TRACE(typed);
    messages.clear();
    c.numeroselezionato.set_text(typed);
    EXPECT_EQ(messages, std::vector<std::string>{"numero non valido: scegliere uno schema da 1 a 3"});
    EXPECT_FALSE(c.Command1.enabled());
    EXPECT_EQ(c.progtxt.text(), "1");  // the display keeps the last record reached
    c.numeroselezionato.set_text("2");
  }
  messages.clear();
  c.numeroselezionato.set_text("");  // being typed: no message, nothing to load
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(c.Command1.enabled());
  m.libreria();
  EXPECT_EQ(messages, std::vector<std::string>{"nessuno schema selezionato"});
  EXPECT_EQ(m.filetxt.text(), "");
  c.numeroselezionato.set_text(" 3 ");
  EXPECT_EQ(c.progtxt.text(), "3");
  EXPECT_TRUE(c.Command1.enabled());
}

TEST_F(LibraryTest, LevelWithOnePuzzleAlwaysStartsAtOneAndOthersDrawEveryNumber) {
  make_library(library_rows());
  std::set<std::string> starts;
  for (int i = 0; i < 30; ++i) {
    choose(5);
    EXPECT_EQ(c.numeroselezionato.text(), "1");
    EXPECT_EQ(c.progtxt.text(), "4");
    choose(3);
    starts.insert(c.numeroselezionato.text());
    // The display always belongs to the number shown, also when it repeats the last one.
    EXPECT_EQ(c.progtxt.text(), m.txtprogressivo.text());
    EXPECT_EQ(m.Data1.absolute_position() + 1, std::stoi(c.numeroselezionato.text()));
  }
  EXPECT_EQ(starts, (std::set<std::string>{"1", "2", "3"}));
}

TEST_F(LibraryTest, EmptyLevelLeavesEverythingAsItWas) {
  make_library(library_rows());
  choose(3);
  c.numeroselezionato.set_text("2");
  messages.clear();
  c.Option1[9].set_value(true);
  c.Option1[15].set_value(false);
  c.Option1_Click(9);
  EXPECT_EQ(messages, std::vector<std::string>{"nessun record"});
  EXPECT_EQ(c.numerototale.text(), "3");
  EXPECT_EQ(c.numeroselezionato.text(), "2");
  EXPECT_EQ(c.livelloscelto.text(), "3");
  EXPECT_TRUE(c.Option1[3].value());
  EXPECT_FALSE(c.Option1[9].value());
  EXPECT_FALSE(c.Command1.visible());
  EXPECT_EQ(m.Data1.record_source_params()[0], SqlValue(std::int64_t{3}));
  EXPECT_EQ(m.Data1.absolute_position(), 1);
  EXPECT_EQ(m.txtprogressivo.text(), "1");
  m.libreria();
  EXPECT_EQ(m.filetxt.text(), " Livello 3, schema 2");
  // A level with puzzles shows the load button again.
  choose(9);
  EXPECT_FALSE(c.Command1.visible());
  c.Option1_Click(3);
  EXPECT_TRUE(c.Command1.visible());
  EXPECT_TRUE(c.Command1.enabled());
}

TEST_F(LibraryTest, LoadingPutsThePureKillerPuzzleOnTheBoard) {
  make_library(library_rows());
  m.mnupencil_Click();  // pencil marks shown before the load
  choose(3);
  c.numeroselezionato.set_text("2");
  c.Command1_Click();

  test::Started ref;
  test::load_layout(*ref.m, puzzles()[0].layout);
  for (int k = 0; k <= ref.m->gruppo; ++k) {
    ref.m->origine = "somme1";
    ref.m->calcola_somme_gruppo(k);
  }
  EXPECT_FALSE(c.form.visible());
  EXPECT_EQ(m.filetxt.text(), " Livello 3, schema 2");
  EXPECT_TRUE(m.filelibreria);
  EXPECT_EQ(m.library_record, 1);
  EXPECT_TRUE(m.txtprogressivo.visible());
  EXPECT_EQ(m.txtprogressivo.text(), "1");
  EXPECT_EQ(m.tempo.text(), "12");
  EXPECT_EQ(m.temporis.text(), "12");
  EXPECT_EQ(m.gruppi, ref.m->gruppi);
  EXPECT_EQ(m.gruppo, ref.m->gruppo);
  EXPECT_EQ(static_cast<size_t>(m.gruppi + 1), test::cages_of(puzzles()[0].layout).size());
  for (int g = 0; g <= m.gruppi; ++g) {
    EXPECT_TRUE(m.sommagruppo[g].same(ref.m->sommagruppo[g])) << g;
    EXPECT_TRUE(m.numerosomme[g].same(ref.m->numerosomme[g])) << g;
    EXPECT_GT(m.numerosomme[g].num(), 0) << g;
  }
  for (int i = 0; i < kCells; ++i) {
    EXPECT_EQ(m.Text1[i].text(), "") << i;
    EXPECT_EQ(m.Text2[i].text(), ref.m->Text2[i].text()) << i;
    EXPECT_TRUE(m.Text1[i].visible()) << i;
    EXPECT_FALSE(m.Text2[i].visible()) << i;
  }
  EXPECT_FALSE(m.mnupencil.checked());
  EXPECT_FALSE(m.problema);
  EXPECT_EQ(m.txtlivello.text(), "");
  EXPECT_EQ(m.txtlivello1.text(), "liv1=3 liv3=2");
  EXPECT_EQ(m.testototale.text(), " tot. 40");
  EXPECT_TRUE(messages.empty());
}

TEST_F(LibraryTest, RatingTextsFollowTheLevelAndTheDetail) {
  make_library(library_rows());
  struct Case {
    int level;
    const char* number;
    const char* total;  // testototale after the load
    const char* detail;  // txtlivello1 after the load
  };
  const Case cases[] = {
      {5, "1", " tot. 55", "cinque"},
      {3, "3", "", ""},  // no detail: nothing of the last puzzle's rating stays
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.level);
    choose(k.level);
    c.numeroselezionato.set_text(k.number);
    c.Command1_Click();
    EXPECT_EQ(m.filetxt.text(), std::string(" Livello ") + std::to_string(k.level) + ", schema " + k.number);
    EXPECT_EQ(m.testototale.text(), k.total);
    EXPECT_EQ(m.txtlivello1.text(), k.detail);
  }
}

TEST_F(LibraryTest, RecordWithoutOrWithADamagedLayoutIsNotLoaded) {
  // Record 9 holds a layout the loader refuses: cell 02 in two cages.
  make_library(library_rows() + "INSERT INTO schema VALUES (9, 10, 12, '15,0102;10,0203;', 4, 12, NULL, '" +
               std::string(81, '.') + "');");
  choose(5);
  c.Command1_Click();
  ASSERT_EQ(m.filetxt.text(), " Livello 5, schema 1");
  const std::string before = m.Text2[0].text();
  choose(7);
  c.Command1_Click();
  EXPECT_EQ(messages, std::vector<std::string>{"lo schema 1 non contiene gruppi e non può essere caricato"});
  EXPECT_TRUE(c.form.visible());
  EXPECT_EQ(m.filetxt.text(), " Livello 5, schema 1");
  EXPECT_EQ(m.Text2[0].text(), before);
  EXPECT_EQ(m.library_record, 4);

  // A layout the loader refuses leaves the game on the board as it was.
  const std::string digit(1, puzzles()[3].solution[0]);
  m.Text1[0].type(digit);
  messages.clear();
  choose(10);
  c.Command1_Click();
  EXPECT_EQ(messages, std::vector<std::string>{"lo schema 1 non può essere caricato: schema non valido: la cella 02 "
                                               "è sia nel 1° gruppo sia nel 2° gruppo"});
  EXPECT_EQ(m.filetxt.text(), " Livello 5, schema 1");
  EXPECT_EQ(m.Text1[0].text(), digit);
  EXPECT_EQ(test::cages_agree(m, puzzles()[3].layout), "");
  EXPECT_EQ(m.library_record, 4);
}

TEST_F(LibraryTest, RatingIsStoredIntoTheLoadedRecordOnly) {
  make_library(library_rows());
  choose(5);
  c.Command1_Click();
  ASSERT_EQ(m.library_record, 4);
  // Browsing afterwards moves the data control to other records.
  choose(3);
  c.Command4_Click();
  ASSERT_EQ(m.txtprogressivo.text(), "3");
  ASSERT_TRUE(m.store_library_record(m.library_record, {{"livello", "6"},
                                                        {"tempo", "7,25"},
                                                        {"difficolta", "61"},
                                                        {"dettaglio", "nuovo dettaglio"}}));
  EXPECT_EQ(stored(4, "livello"), "6");
  EXPECT_EQ(stored(4, "tempo"), "7,25");
  EXPECT_EQ(stored(4, "dettaglio"), "nuovo dettaglio");
  EXPECT_EQ(stored(3, "livello"), "3");
  EXPECT_EQ(stored(3, "tempo"), "5,5");
  EXPECT_EQ(m.temporis.text(), "5,5");
  EXPECT_TRUE(messages.empty());
}

TEST_F(LibraryTest, FailedWriteLeavesTheRecordAndShowsTheError) {
  make_library(library_rows());
  m.Data1.set_read_only(true);
  const std::string before = file_bytes();
  EXPECT_FALSE(m.store_library_record(4, {{"livello", "6"}, {"dettaglio", "x"}}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("errore nella scrittura della libreria: ", 0), 0u) << messages[0];
  m.Data1.set_read_only(false);
  EXPECT_EQ(stored(4, "livello"), "5");
  EXPECT_EQ(stored(4, "dettaglio"), "cinque");
  EXPECT_EQ(file_bytes(), before);
}

TEST_F(LibraryTest, ReductionPassMarksSplitLayoutsOnly) {
  make_library(library_rows());
  m.Frame1_DblClick();
  ASSERT_TRUE(m.Command1.visible());
  m.Command1.on_click();
  EXPECT_EQ(messages, std::vector<std::string>{" problema contiguita "});
  EXPECT_EQ(stored(8, "singoli"), "0");
  const char* singles[] = {"5", "6", "7", "8", "9", "10", ""};
  const char* times[] = {"12", "100", "5,5", "3", "1", "2", ""};
  for (int id = 1; id <= 7; ++id) {
    EXPECT_EQ(stored(id, "singoli"), singles[id - 1]) << id;
    EXPECT_EQ(stored(id, "tempo"), times[id - 1]) << id;  // the board reset's blank time stays on screen
  }
  EXPECT_EQ(stored(8, "tempo"), "4");
  // The board holds the last record's layout; the pass walked every record.
  EXPECT_TRUE(m.Data1.eof());
  EXPECT_EQ(m.txtprogressivo.text(), "8");
  EXPECT_TRUE(m.txtprogressivo.visible());
  EXPECT_EQ(m.livello, 2);
  EXPECT_FALSE(m.filelibreria);
}

TEST_F(LibraryTest, ReductionPassOnAnEmptyTableDoesNothing) {
  make_library("");
  const std::string before = file_bytes();
  m.Command1_Click();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(file_bytes(), before);
}

TEST_F(LibraryTest, MissingLibraryIsCreatedEmpty) {
  m.Toolbar2_ButtonClick("libreria");
  EXPECT_EQ(messages, std::vector<std::string>{"la libreria è vuota: creato il nuovo file " + file});
  EXPECT_FALSE(c.form.visible());
  ASSERT_TRUE(fs::exists(file));
  messages.clear();
  choose(0);
  EXPECT_EQ(messages, std::vector<std::string>{"nessun record"});
  EXPECT_FALSE(c.Command1.enabled());
}

TEST_F(LibraryTest, DamagedLibraryIsReportedAndLeftAlone) {
  const std::vector<std::pair<const char*, std::string>> files = {
      {"not a database", "schemikenvari: file di testo, non un database\n"},
      {"empty file", ""},
  };
  for (const auto& [what, content] : files) {
    SCOPED_TRACE(what);
    messages.clear();
    {
      std::ofstream out(file, std::ios::binary | std::ios::trunc);
      out << content;
    }
    m.Toolbar2_ButtonClick("libreria");
    m.Command1_Click();
    ASSERT_EQ(messages.size(), 2u);
    for (const std::string& msg : messages)
      EXPECT_EQ(msg.rfind("libreria danneggiata o non leggibile: " + file + " (", 0), 0u) << msg;
    EXPECT_FALSE(c.form.visible());
    EXPECT_EQ(file_bytes(), content);
  }
}

}  // namespace
}  // namespace ks
