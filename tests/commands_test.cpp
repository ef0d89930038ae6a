// The command surface of the main window: toolbar and menu guards, the restart command, the view
// switches, the developer switch, arrow-key moves and the play clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "library/level_chooser.h"
#include "solving/rating_ladder.h"
#include "solving_support.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Started;

const std::string kWaitMessage = "per continuare click sul semaforo verde";
const std::string kRestartQuestion = "Ricominciare lo schema? Le cifre inserite andranno perse.";

using test::cages_of;
using test::enter_by_hand;
using test::TextCage;

// A started window with the first test puzzle on the board.
void load_first_puzzle(Main& m) {
  test::load_layout(m, test::puzzles()[0].layout);
  m.filetxt.set_text(" nuovo schema");
}

// The board and the activity log, to compare two windows.
struct BoardState {
  std::vector<std::string> digits, candidates;
  std::string log;
  bool operator==(const BoardState&) const = default;
};
BoardState board_state(const Main& m) {
  BoardState b;
  for (int i = 0; i < 81; ++i) {
    b.digits.push_back(m.Text1[i].text());
    b.candidates.push_back(m.Text2[i].text());
  }
  b.log = m.frmlog.Text3.text();
  return b;
}

// ---------------------------------------------------------------------------------------------
// Guards of the toolbars and menus

// Every user event passes one input rule before its handler runs. While a step waits at the
// traffic light, or while a generation runs, whatever would change the board or run a command is
// refused with the window's message and changes nothing; what only changes the view passes.
TEST(InputRule, EveryUserEventPassesTheOneRule) {
  enum Kind { kBoard, kCommand, kView };
  struct Event {
    std::string name;
    Kind kind;
    std::function<void(Main&)> fire;
  };
  const std::vector<Event> events = {
      {"cell click", kBoard, [](Main& m) { m.Text1[40].on_click(); }},
      {"typed digit", kBoard, [](Main& m) { m.Text1[40].type("5"); }},
      {"digit palette", kBoard, [](Main& m) { m.Picture1[5].on_click(); }},
      {"cage colour", kBoard, [](Main& m) { m.colore[3].on_click(); }},
      {"candidate box", kCommand, [](Main& m) { m.Text2[40].on_click(); }},
      {"sum box typed", kBoard, [](Main& m) { m.textsomma[0].type("99"); }},
      {"technique key", kCommand, [](Main& m) { m.Toolbar1.on_button_click("somme"); }},
      {"log key", kCommand, [](Main& m) { m.Toolbar1.on_button_click("activity"); }},
      {"file toolbar new", kCommand, [](Main& m) { m.Toolbar2.on_button_click("new"); }},
      {"file toolbar print", kCommand, [](Main& m) { m.Toolbar2.on_button_click("print"); }},
      {"restart", kCommand, [](Main& m) { m.Toolbar2.on_button_click("undo"); }},
      {"menu new", kCommand, [](Main& m) { m.mnunew.on_click(); }},
      {"menu log", kCommand, [](Main& m) { m.mnulog.on_click(); }},
      {"menu activity", kCommand, [](Main& m) { m.mnuactivity.on_click(); }},
      {"speed test", kCommand, [](Main& m) { m.Cmdtest.on_click(); }},
      {"pencil key", kView, [](Main& m) { m.Toolbar1.on_button_click("pencil"); }},
      {"hinted digit key", kView, [](Main& m) { m.Toolbar1.on_button_click("numero"); }},
      {"pencil menu", kView, [](Main& m) { m.mnupencil.on_click(); }},
      {"arrow key", kView, [](Main& m) { m.Text1[40].on_key_down(39); }},
  };
  for (const bool waiting : {true, false}) {
    for (const Event& e : events) {
      SCOPED_TRACE(e.name + (waiting ? " while a step waits" : " while a generation runs"));
      Started s;
      Main& m = *s.m;
      load_first_puzzle(m);
      m.Text1[40].on_click();  // the palette is open on r5c5
      m.Pictgo.set_visible(waiting);
      m.generation_running = !waiting;
      const BoardState before = board_state(m);
      const std::string status = m.filetxt.text();
      const double sum = m.sommagruppo[0].num();
      e.fire(m);
      if (e.kind == kView) {
        EXPECT_TRUE(s.rt.messages.empty());
        continue;
      }
      const std::string why = !waiting           ? "generazione in corso"
                              : e.kind == kBoard ? "per procedere, cliccare sul semaforo verde"
                                                 : kWaitMessage;
      EXPECT_EQ(s.rt.messages, std::vector<std::string>{why});
      EXPECT_TRUE(board_state(m) == before);
      EXPECT_EQ(m.filetxt.text(), status);
      EXPECT_EQ(m.sommagruppo[0].num(), sum);
      EXPECT_EQ(m.textsomma[0].text(), std::to_string(static_cast<int>(sum)));
      EXPECT_EQ(s.rt.prints, 0);
      EXPECT_FALSE(m.colori);
    }
  }
}

// The refusal that first reported a waiting step at a cage-palette click: the click then deleted
// a cage under the running technique.
TEST(InputRule, AColourPickAndACellClickDuringAStepLeaveTheCagesAlone) {
  Started s;
  Main& m = *s.m;
  load_first_puzzle(m);
  m.chiamante = "manuale";
  m.calling = "";
  const int first = m.cage_cell(0, 1);
  const std::string layout = test::puzzles()[0].layout;
  s.rt.on_yield = [&] {
    if (!m.Pictgo.visible()) return;
    m.colore[2].on_click();
    m.Text1[first].on_click();
    m.Pictalt.on_click();
  };
  m.Toolbar1.on_button_click("somme");
  EXPECT_EQ(m.cage_of(first), 0);
  EXPECT_EQ(m.cage_size(0), static_cast<int>(cages_of(layout)[0].cells.size()));
  EXPECT_EQ(m.sommagruppo[0].num(), cages_of(layout)[0].sum);
  EXPECT_FALSE(m.colori);
}

TEST(CommandGuards, Toolbar1NeedsAnOpenGridAndAPuzzleForItsTechniques) {
  struct Case {
    std::string key;
    bool complete, puzzle;
    std::string message;  // "" when the command runs
  };
  const std::vector<Case> cases = {
      // A complete grid refuses everything but the log.
      {"pencil", true, false, "schema già completato"},
      {"somme", true, true, "schema già completato"},
      {"activity", true, false, ""},
      // Techniques need a puzzle; the view toggles do not.
      {"somme", false, false, "nessun schema caricato"},
      {"gruppovsgruppo", false, false, "nessun schema caricato"},
      {"numero", false, false, ""},
      {"pencil", false, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key + (c.complete ? " complete" : "") + (c.puzzle ? " puzzle" : ""));
    Started s;
    Main& m = *s.m;
    if (c.puzzle) load_first_puzzle(m);
    m.chiamante = "analisi";
    if (c.complete) m.esposti = 81;
    const bool pencil = m.mnupencil.checked(), number = m.mnunumber.checked();
    const bool log_ticked = m.mnuactivity.checked();
    m.Toolbar1.on_button_click(c.key);
    if (c.message.empty()) {
      EXPECT_TRUE(s.rt.messages.empty());
      EXPECT_EQ(m.chiamante, "manuale");
    } else {
      EXPECT_EQ(s.rt.messages, std::vector<std::string>{c.message});
      EXPECT_EQ(m.chiamante, "analisi");
    }
    // The toggles ran exactly when they passed.
    const bool ran = c.message.empty();
    EXPECT_EQ(m.mnupencil.checked() != pencil, ran && c.key == "pencil");
    EXPECT_EQ(m.mnunumber.checked() != number, ran && c.key == "numero");
    EXPECT_EQ(m.mnuactivity.checked() != log_ticked, ran && c.key == "activity");
  }
}

TEST(CommandGuards, Toolbar2SolvingNeedsAPuzzle) {
  struct Case {
    std::string key;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"risolvi", {"nessun schema caricato"}},
      {"conta", {"nessun schema caricato"}},
      {"analisi", {"nessun schema caricato"}},
      {"new", {}},
      {"print", {}},
      {"calcola", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    Started s;
    Main& m = *s.m;
    m.Toolbar2.on_button_click(c.key);
    EXPECT_EQ(s.rt.messages, c.messages);
    const bool ran = c.messages.empty();
    EXPECT_EQ(s.rt.prints, ran && c.key == "print" ? 1 : 0);
    EXPECT_EQ(m.filetxt.text(), ran && c.key == "new" ? " nuovo schema" : "");
    EXPECT_EQ(m.Check2.value(), ran && c.key == "calcola" ? 1 : 0);
  }
}

TEST(CommandGuards, AHandEnteredCageCountsAsAPuzzle) {
  Started s;
  Main& m = *s.m;
  m.nuovo_schema();
  EXPECT_FALSE(m.has_puzzle());
  // A cage whose sum box has not closed it yet is no puzzle.
  m.gruppodicella.set(0, 0);
  m.gruppodicella.set(1, 0);
  m.sommagruppo.set(0, Value::empty());
  EXPECT_FALSE(m.has_puzzle());
  m.sommagruppo.set(0, 3);
  EXPECT_TRUE(m.has_puzzle());
  // Both toolbars take it for a puzzle although the status line is empty.
  m.calling = "risolvi";
  m.Toolbar2_ButtonClick("conta");
  m.Toolbar1_ButtonClick("somme");
  EXPECT_TRUE(s.rt.messages.empty());
}

// ---------------------------------------------------------------------------------------------
// File toolbar commands

TEST(FileCommands, NewEmptiesTheBoardAndTurnsThePencilMarksOff) {
  Started s;
  Main& m = *s.m;
  load_first_puzzle(m);
  m.filelibreria = true;
  m.mnupencil_Click();
  m.filetxt.set_text(" Livello 3, schema 12");
  m.Toolbar2_ButtonClick("new");
  EXPECT_FALSE(m.filelibreria);
  EXPECT_FALSE(m.mnupencil.checked());
  EXPECT_EQ(m.filetxt.text(), " nuovo schema");
  EXPECT_EQ(m.gruppi, 0);
  for (int i = 0; i < 81; ++i) {
    EXPECT_TRUE(m.gruppodicella[i].is_empty());
    EXPECT_TRUE(m.Text1[i].visible());
    EXPECT_FALSE(m.Text2[i].visible());
  }
  EXPECT_FALSE(m.textsomma[0].visible());
}

// A new puzzle keeps nothing of the last one's rating and hints on screen; one that comes with
// its own rating (a generated puzzle) shows only that.
TEST(FileCommands, ANewPuzzleStartsWithoutTheLastRatingAndHint) {
  for (const char* command : {"new", "genera"}) {
    SCOPED_TRACE(command);
    Started s;
    Main& m = *s.m;
    load_first_puzzle(m);
    m.testototale.set_text(" tot. 85");
    m.txtlivello.set_text(" HARD - hiddenpair");
    m.txtlivello1.set_text(" 5x2");
    m.txthint.set_text("  numero errato");
    m.Toolbar2_ButtonClick(command);
    EXPECT_EQ(m.testototale.text(), "");
    EXPECT_EQ(m.txtlivello1.text(), "");
    if (std::string(command) == "new") {
      EXPECT_EQ(m.txtlivello.text(), "");
      EXPECT_EQ(m.txthint.text(), " ");
    } else {
      EXPECT_EQ(m.txthint.text(), std::string(rating::level_name(m.livello)) + " - " + m.stringaliv +
                                      " tot. " + std::to_string(m.tot));
    }
  }
}

// What a command that replaces the game may change only when the player agrees: every cell's
// boxes, the cages and the editor's state, the status line, the level boxes, the hint line, the
// log, the clock, the pencil marks, the library puzzle and the cage window.
std::vector<std::string> game_of(const Main& m) {
  std::vector<std::string> g = test::position_of(m);
  for (int i = 0; i < 81; ++i)
    g.push_back(std::to_string(m.Text1[i].visible()) + std::to_string(m.Text2[i].visible()));
  for (int c = 0; c <= m.gruppi; ++c) g.push_back(m.textsomma[c].text());
  for (const TextBox* box : {&m.filetxt, &m.txtlivello, &m.txtlivello1, &m.testototale, &m.txthint,
                             &m.frmlog.Text3, &m.tempotot, &m.frmgeneratore.Text1})
    g.push_back(box->text());
  g.push_back("gruppi " + std::to_string(m.gruppi) + ", cellacolorata " + std::to_string(m.cellacolorata) +
              ", clock " + std::to_string(m.play_clock_running()) + ", pencil " +
              std::to_string(m.mnupencil.checked()) + ", record " + std::to_string(m.library_record) +
              ", hint shown " + std::to_string(m.txthint.visible()));
  return g;
}

// New, open, a library load and generate replace the game only when the player agrees to lose
// what is at stake: digits placed on a grid not yet finished, or cages entered in the editor and
// not saved. Cancel keeps the game exactly as it was (the level chooser stays open); a board with
// nothing of the player's on it is replaced without a question. The new puzzle never shows the
// last one's cage in the cage window; a generation's window holds only its own tries.
TEST(FileCommands, ANewPuzzleAsksBeforeThrowingAwayTheGame) {
  const std::string digits = "Abbandonare lo schema in corso? Le cifre inserite andranno perse.";
  const std::string cages = "Abbandonare lo schema in corso? I gruppi inseriti e non salvati andranno persi.";
  struct Case {
    std::string command, game;
    MsgAnswer answer;
    std::string question;  // "" when none is asked
  };
  const std::vector<Case> cases = {
      {"new", "digits", MsgAnswer::Cancel, digits},        {"new", "digits", MsgAnswer::Ok, digits},
      {"open", "digits", MsgAnswer::Cancel, digits},       {"open", "digits", MsgAnswer::Ok, digits},
      {"libreria", "digits", MsgAnswer::Cancel, digits},   {"libreria", "digits", MsgAnswer::Ok, digits},
      {"genera", "digits", MsgAnswer::Cancel, digits},     {"genera", "digits", MsgAnswer::Ok, digits},
      {"open", "untouched", MsgAnswer::Cancel, ""},        {"libreria", "solved", MsgAnswer::Cancel, ""},
      {"genera", "empty", MsgAnswer::Cancel, ""},          {"open", "hand cages", MsgAnswer::Cancel, cages},
      {"new", "hand cages saved", MsgAnswer::Cancel, ""},    {"new", "cage open", MsgAnswer::Cancel, cages},
      // The maintenance commands of the hidden switch load the library's puzzles too; the batch
      // generator with no record to fill touches nothing and asks nothing.
      {"riduzione", "digits", MsgAnswer::Cancel, digits},  {"riduzione", "digits", MsgAnswer::Ok, digits},
      {"continuo", "digits", MsgAnswer::Cancel, digits},   {"continuo", "digits", MsgAnswer::Ok, digits},
      {"continuo, nothing to fill", "digits", MsgAnswer::Ok, ""},
  };
  const std::string dir = test::temp_path("ks_discard_");
  std::filesystem::create_directories(dir);
  const std::string file = dir + "/p.sa+", saved = dir + "/hand.sa+", library = dir + "/lib.db",
                    filled = dir + "/filled.db";
  std::ofstream(file, std::ios::binary) << test::puzzles()[2].layout << "\r\n";
  const std::string rated = "INSERT INTO schema VALUES (1, 3, 5, '" + test::puzzles()[1].layout +
                            "', 12, 40, 'dettaglio', '" + std::string(81, '.') + "');";
  // The library also has a grid waiting for its cages; the filled one has none.
  ASSERT_EQ(test::make_library_file(library, rated + "INSERT INTO schema (progressivo, stringa) VALUES (2, '" +
                                                 test::puzzles()[0].solution + "');"),
            "");
  ASSERT_EQ(test::make_library_file(filled, rated), "");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command + ", " + c.game + (c.answer == MsgAnswer::Ok ? " OK" : " Cancel"));
    Started s;
    Main& m = *s.m;
    const bool maintenance = c.command == "riduzione" || c.command.starts_with("continuo");
    m.database = c.command == "continuo, nothing to fill" ? filled : library;
    m.Data1.set_database_name(m.database);
    if (maintenance) m.Frame1.on_dbl_click();
    if (c.game == "digits" || c.game == "untouched" || c.game == "solved") load_first_puzzle(m);
    if (c.game == "digits")
      for (int i : {0, 1, 2}) m.Text1[i].type(std::string(1, test::puzzles()[0].solution[i]));
    if (c.game == "solved") m.Toolbar2.on_button_click("risolvi");
    if (c.game == "hand cages" || c.game == "hand cages saved") enter_by_hand(m, {{3, {3, 4}}, {10, {13, 22}}});
    if (c.game == "hand cages saved") {
      s.rt.save_answers.push_back(saved);
      m.mnusave.on_click();
    }
    if (c.game == "cage open") {
      m.colore[2].on_click();
      m.Text1[0].on_click();
      m.Text1[1].on_click();
    }
    if (c.game == "digits") {
      m.mnupencil_Click();
      m.picstart_Click();
      m.txtlivello.set_text(" MEDIO controllo somme  -   2x3");
      m.testototale.set_text(" tot. 6");
      m.mostra_somme_gruppo(0);
    }
    ASSERT_EQ(m.finito, c.game == "solved");
    s.rt.messages.clear();
    const std::vector<std::string> before = game_of(m);

    s.rt.default_answer = c.answer;
    if (c.command == "open") s.rt.open_answers.push_back(file);
    if (c.command == "riduzione")
      m.Command1.on_click();
    else
      m.Toolbar2.on_button_click(maintenance ? "continuo" : c.command);
    if (c.command == "libreria") {
      m.frmlivello.Option1[3].set_value(true);
      m.frmlivello.Option1_Click(3);
      m.frmlivello.Command1_Click();
    }
    EXPECT_EQ(s.rt.messages, c.question.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.question});
    if (!c.question.empty() && c.answer == MsgAnswer::Cancel) {
      EXPECT_EQ(game_of(m), before);
      EXPECT_EQ(m.frmlivello.form.visible(), c.command == "libreria");
      continue;
    }
    if (c.command == "continuo, nothing to fill") {
      EXPECT_EQ(game_of(m), before);
      continue;
    }
    if (maintenance) {
      // The board holds what the pass left of the library's puzzles, which the status line does
      // not name: the reduction ends on the record without cages (an empty board), the batch
      // generator on the killer it made for that record's grid.
      EXPECT_EQ(m.filetxt.text(), "");
      if (c.command == "riduzione")
        EXPECT_EQ(m.esposti, 0);
      else
        EXPECT_NE(test::stored_field(library, "SELECT * FROM schema WHERE progressivo = ?", 2, "kenvari"), "");
      EXPECT_NE(game_of(m), before);
      continue;
    }
    const std::map<std::string, std::pair<std::string, std::string>> puzzle = {
        {"new", {" nuovo schema", ""}},
        {"open", {" " + file, test::puzzles()[2].layout}},
        {"libreria", {" Livello 3, schema 1", test::puzzles()[1].layout}},
        {"genera", {"nuova generazione", ""}}};
    EXPECT_EQ(m.filetxt.text(), puzzle.at(c.command).first);
    if (!puzzle.at(c.command).second.empty()) {
      EXPECT_EQ(test::cages_agree(m, puzzle.at(c.command).second), "");
    }
    EXPECT_EQ(m.esposti, 0);
    EXPECT_FALSE(m.frmlivello.form.visible());
    EXPECT_EQ(m.frmgeneratore.last_shown, -1);
    if (c.command == "genera") {
      EXPECT_FALSE(m.problema);
      EXPECT_TRUE(m.frmgeneratore.Text1.text().ends_with(" tentativo 1\r\n")) << m.frmgeneratore.Text1.text();
    } else {
      EXPECT_EQ(m.frmgeneratore.Text1.text(), "");
    }
  }
  std::filesystem::remove_all(dir);
}

// "risolvi" (toolbar and menu) and the technique keys refuse a full grid. Only one that keeps
// every rule is "schema già completato"; one that breaks a rule is refused with the rule it
// breaks, as a solve of a grid with errors and empty cells is, and the board stays as it is.
TEST(CommandGuards, AFullGridIsCompletedOnlyWhenItKeepsEveryRule) {
  const test::Puzzle& p = test::puzzles()[0];
  struct Grid {
    const char* what;
    std::vector<std::pair<int, int>> wrong;  // placed first, each a candidate but the last
    std::string refusal;
  };
  // The same grids as in the cell entry's test of the completed grid.
  const std::vector<Grid> grids = {
      {"right", {}, "schema già completato"},
      {"a last digit that is no candidate", {{80, 5}},
       "le cifre inserite non rispettano le regole: il 5 di r9c8 è anche in r9c9, nella stessa riga"},
      {"wrong candidates", {{24, 3}, {25, 1}, {70, 3}, {69, 1}},
       "le cifre inserite non rispettano le regole: le cifre del gruppo di r7c7 non danno la sua somma"},
  };
  const std::vector<std::pair<const char*, std::function<void(Main&)>>> commands = {
      {"risolvi", [](Main& m) { m.Toolbar2.on_button_click("risolvi"); }},
      {"menu risolvi", [](Main& m) { m.mnusolve.on_click(); }},
      {"somme", [](Main& m) { m.Toolbar1.on_button_click("somme"); }},
      {"suggerisci", [](Main& m) { m.Toolbar1.on_button_click("suggerisci"); }},
  };
  for (const Grid& g : grids) {
    for (const auto& [command, fire] : commands) {
      SCOPED_TRACE(std::string(g.what) + ", " + command);
      Started s;
      Main& m = *s.m;
      load_first_puzzle(m);
      // The last wrong digit goes in last, after the right ones.
      for (size_t k = 0; k + 1 < g.wrong.size(); ++k)
        m.Text1[g.wrong[k].first].type(std::to_string(g.wrong[k].second));
      for (int i = 0; i < 81; ++i)
        if (std::none_of(g.wrong.begin(), g.wrong.end(), [i](const auto& w) { return w.first == i; }))
          m.Text1[i].type(std::string(1, p.solution[static_cast<size_t>(i)]));
      if (!g.wrong.empty()) m.Text1[g.wrong.back().first].type(std::to_string(g.wrong.back().second));
      ASSERT_EQ(m.esposti, 81);
      ASSERT_EQ(m.finito, g.wrong.empty());
      s.rt.messages.clear();
      const std::vector<std::string> before = game_of(m);
      const int beeps = s.rt.beeps;
      fire(m);
      EXPECT_EQ(s.rt.messages, std::vector<std::string>{g.refusal});
      EXPECT_EQ(game_of(m), before);
      EXPECT_EQ(m.finito, g.wrong.empty());
      EXPECT_EQ(s.rt.beeps, beeps);
    }
  }
}

// A print that fails is told; a dialog the player cancelled, or a page printed, says nothing.
TEST(CommandGuards, APrintThatFailsIsTold) {
  const std::vector<std::pair<PrintOutcome, std::vector<std::string>>> outcomes = {
      {PrintOutcome::Printed, {}},
      {PrintOutcome::Cancelled, {}},
      {PrintOutcome::Failed, {"stampa non riuscita"}},
  };
  for (const auto& [outcome, messages] : outcomes) {
    SCOPED_TRACE(static_cast<int>(outcome));
    Started s;
    Main& m = *s.m;
    load_first_puzzle(m);
    m.Text1[0].type(std::string(1, test::puzzles()[0].solution[0]));
    const std::vector<std::string> before = game_of(m);
    s.rt.print_outcome = outcome;
    m.Toolbar2.on_button_click("print");
    EXPECT_EQ(s.rt.prints, 1);
    EXPECT_EQ(s.rt.messages, messages);
    EXPECT_EQ(game_of(m), before);
  }
}

// Every cage of the board as the restart must leave it: the full sum less the digits on the
// board, and the empty cells in the order of the layout text.
void expect_cages_follow_board(const Main& m, const std::vector<TextCage>& cages) {
  for (size_t g = 0; g < cages.size(); ++g) {
    SCOPED_TRACE("cage " + std::to_string(g));
    int sum = cages[g].sum;
    std::vector<int> empty;
    for (int c : cages[g].cells) {
      if (m.Text1[c].text().empty())
        empty.push_back(c);
      else
        sum -= m.Text1[c].text()[0] - '0';
    }
    EXPECT_TRUE(m.sommagruppo[g].is(sum));
    EXPECT_TRUE(m.elementigruppo[g].is(static_cast<double>(empty.size())));
    for (size_t k = 0; k < empty.size(); ++k)
      EXPECT_TRUE(m.cellegruppo[g][k + 1].is(empty[k])) << "position " << k + 1;
  }
}

TEST(Restart, CagesFollowTheDigitsLeftOnTheBoard) {
  for (size_t p : {size_t{0}, size_t{5}, size_t{11}}) {
    const test::Puzzle& puzzle = test::puzzles()[p];
    SCOPED_TRACE(puzzle.id);
    Started s;
    Main& m = *s.m;
    test::load_layout(m, puzzle.layout);
    m.filetxt.set_text(" nuovo schema");
    // Play a few cells, then a snapshot as trial and verify leaves it: every third cell keeps
    // its solution digit, the others a candidate string.
    for (int i : {3, 17, 40, 41, 62}) m.Text1[i].set_text(std::string(1, puzzle.solution[i]));
    for (int i = 0; i < 81; ++i)
      m.cellesalvate[i] = i % 3 == 0 ? std::string(1, puzzle.solution[i]) : "123456789";
    m.Toolbar2_ButtonClick("undo");
    EXPECT_EQ(s.rt.messages, std::vector<std::string>{kRestartQuestion});
    for (int i = 0; i < 81; ++i)
      EXPECT_EQ(m.Text1[i].text(), i % 3 == 0 ? std::string(1, puzzle.solution[i]) : "");
    EXPECT_EQ(m.esposti, 27);
    EXPECT_FALSE(m.ins_dati);
    expect_cages_follow_board(m, cages_of(puzzle.layout));
    // Every empty cell keeps its solution digit among its candidates.
    for (int i = 0; i < 81; ++i) {
      if (!m.Text1[i].text().empty()) continue;
      EXPECT_NE(m.Text2[i].text().find(puzzle.solution[i]), std::string::npos) << i;
    }
  }
}

// The restart asks before it takes the player's digits off the board; Annulla keeps the game.
TEST(Restart, AsksBeforeThrowingAwayTheDigitsPlaced) {
  Started s;
  Main& m = *s.m;
  const test::Puzzle& puzzle = test::puzzles()[0];
  load_first_puzzle(m);
  m.Toolbar2.on_button_click("undo");  // nothing placed: no question
  EXPECT_TRUE(s.rt.messages.empty());
  for (int i : {0, 1, 2}) m.Text1[i].type(std::string(1, puzzle.solution[i]));
  const BoardState before = board_state(m);
  s.rt.answers.push_back(MsgAnswer::Cancel);
  m.Toolbar2.on_button_click("undo");
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{kRestartQuestion});
  EXPECT_TRUE(board_state(m) == before);
  m.Toolbar2.on_button_click("undo");  // OK
  for (int i : {0, 1, 2}) EXPECT_EQ(m.Text1[i].text(), "");
}

TEST(Restart, AfterLoadingEmptiesEveryCellAndGivesTheCagesTheirFullSums) {
  Started s;
  Main& m = *s.m;
  const test::Puzzle& puzzle = test::puzzles()[0];
  load_first_puzzle(m);
  for (int i : {0, 1, 2}) m.Text1[i].set_text(std::string(1, puzzle.solution[i]));
  m.textsomma[1].set_text("");  // a cage whose sum box is empty restarts with the sum 0
  m.Toolbar2_ButtonClick("undo");
  for (int i = 0; i < 81; ++i) EXPECT_EQ(m.Text1[i].text(), "");
  EXPECT_EQ(m.esposti, 0);
  std::vector<TextCage> cages = cages_of(puzzle.layout);
  cages[1].sum = 0;
  expect_cages_follow_board(m, cages);
}

TEST(Restart, RedrawsThePencilMarksOfTheEmptiedCells) {
  Started s;
  Main& m = *s.m;
  const test::Puzzle& puzzle = test::puzzles()[0];
  load_first_puzzle(m);
  m.Text1[4].set_text(std::string(1, puzzle.solution[4]));
  m.mnupencil_Click();
  EXPECT_TRUE(m.Text1[4].visible());
  m.Toolbar2_ButtonClick("undo");
  EXPECT_TRUE(m.mnupencil.checked());
  EXPECT_FALSE(m.Text1[4].visible());
  EXPECT_TRUE(m.Text2[4].visible());
}

TEST(Restart, APuzzleEnteredByHandRestartsFromItsOwnCages) {
  Started s;
  Main& m = *s.m;
  const test::Puzzle& puzzle = test::puzzles()[3];
  // Another puzzle was loaded before: its load-time layout must not come back.
  load_first_puzzle(m);
  m.Toolbar2_ButtonClick("new");
  const std::vector<TextCage> cages = cages_of(puzzle.layout);
  enter_by_hand(m, cages);
  m.calcola_candidati();
  m.inizializza_candidati();
  for (int i : {0, 9, 30, 31, 44}) {
    m.Text1[i].on_click();
    m.Picture1[puzzle.solution[i] - '0'].on_click();
  }
  for (int i = 0; i < 81; ++i) m.cellesalvate[i] = i < 27 ? std::string(1, puzzle.solution[i]) : "";
  m.Toolbar2_ButtonClick("undo");
  EXPECT_EQ(m.esposti, 27);
  expect_cages_follow_board(m, cages);
}

TEST(Restart, AHalfEnteredPuzzleLeavesTheOpenCageAndForeignCellsAlone) {
  Started s;
  Main& m = *s.m;
  // The loaded puzzle's third cage is r1c4 r1c5 r2c5 (03 04 13).
  load_first_puzzle(m);
  m.Toolbar2_ButtonClick("new");
  enter_by_hand(m, {{3, {3, 4}}, {10, {13, 22}}});
  ASSERT_EQ(m.gruppi, 2);  // the cage the editor would take next
  m.Toolbar2_ButtonClick("undo");
  EXPECT_EQ(m.Text2[3].text(), "12");
  EXPECT_EQ(m.Text2[4].text(), "12");
  EXPECT_EQ(m.Text2[13].text(), "12346789");
  EXPECT_FALSE(m.elementigruppo[2].is_number());
  expect_cages_follow_board(m, {{3, {3, 4}}, {10, {13, 22}}});
}

// After a solve that needed trial and verify, the restart gives back the puzzle's start, not the
// position where the last trial began.
TEST(Restart, AfterASolveWithTrialGivesBackTheStart) {
  Started s;
  Main& m = *s.m;
  const auto trial = test::data_lines("killer_trial.txt").at(0);
  test::load_layout(m, trial[0]);
  m.filetxt.set_text(" nuovo schema");
  m.Toolbar2.on_button_click("risolvi");
  ASSERT_TRUE(m.finito);
  ASSERT_EQ(m.livello, 13);
  m.Toolbar2.on_button_click("undo");
  EXPECT_EQ(m.esposti, 0);
  for (const test::TextCage& c : test::cages_of(trial[0])) {
    const int g = m.cage_of(c.cells[0]);
    EXPECT_EQ(m.sommagruppo[g].num(), c.sum);
    EXPECT_EQ(m.cage_size(g), static_cast<int>(c.cells.size()));
  }
  for (int i = 0; i < 81; ++i)
    EXPECT_NE(m.Text2[i].text().find(trial[1][static_cast<size_t>(i)]), std::string::npos) << m.rc(i);
}

// The cage being entered has no sum: the restart leaves it open, its cells in click order,
// and a save then writes only the closed cages.
TEST(Restart, TheCageBeingEnteredStaysOpen) {
  Started s;
  Main& m = *s.m;
  load_first_puzzle(m);
  m.colore[4].on_click();
  m.Text1[0].on_click();  // deletes r1c1's cage (answered OK)
  m.Text1[0].on_click();  // and starts a new one with r1c1
  const int g = m.gruppi;
  ASSERT_EQ(m.cellacolorata, 1);
  m.Toolbar2_ButtonClick("undo");
  EXPECT_EQ(m.cellacolorata, 1);
  EXPECT_FALSE(m.sommagruppo[g].is_number());
  EXPECT_EQ(m.cage_cell(g, 1), 0);
  EXPECT_EQ(m.cage_line().find(",00"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// View switches

TEST(ViewSwitches, PencilMarksShowTheCandidatesOfTheEmptyCellsOnly) {
  Started s;
  Main& m = *s.m;
  const std::string& solution = test::puzzles()[0].solution;
  load_first_puzzle(m);
  m.Text1[10].set_text(solution.substr(10, 1));
  m.mnupencil_Click();
  EXPECT_TRUE(m.mnupencil.checked());
  EXPECT_TRUE(m.Text1[10].visible());
  EXPECT_FALSE(m.Text2[10].visible());
  EXPECT_FALSE(m.Text1[11].visible());
  EXPECT_TRUE(m.Text2[11].visible());
  // Redraw after a board change: two calls show exactly the cells empty now.
  m.Text1[11].set_text(solution.substr(11, 1));
  m.mnupencil_Click();
  m.mnupencil_Click();
  EXPECT_TRUE(m.Text1[11].visible());
  EXPECT_FALSE(m.Text2[11].visible());
  // Off: every digit box is shown, the empty ones too.
  m.Toolbar1_ButtonClick("pencil");
  EXPECT_FALSE(m.mnupencil.checked());
  for (int i = 0; i < 81; ++i) {
    EXPECT_TRUE(m.Text1[i].visible());
    EXPECT_FALSE(m.Text2[i].visible());
  }
}

TEST(ViewSwitches, LogItemsKeepSeparateTicksForTheOneWindow) {
  Started s;
  Main& m = *s.m;
  EXPECT_TRUE(m.frmlog.visible());
  m.mnuactivity.on_click();
  EXPECT_TRUE(m.mnuactivity.checked());
  EXPECT_TRUE(m.frmlog.visible());
  m.Toolbar1_ButtonClick("activity");
  EXPECT_FALSE(m.mnuactivity.checked());
  EXPECT_FALSE(m.frmlog.visible());
  m.mnulog.on_click();
  EXPECT_TRUE(m.mnulog.checked());
  EXPECT_TRUE(m.frmlog.visible());
  m.mnuactivity.on_click();  // its own tick is clear: it shows the window once more
  EXPECT_TRUE(m.frmlog.visible());
  m.mnulog.on_click();
  EXPECT_FALSE(m.mnulog.checked());
  EXPECT_FALSE(m.frmlog.visible());
}

TEST(ViewSwitches, FrameDoubleClickShowsAndHidesTheDeveloperButtons) {
  Started s;
  Main& m = *s.m;
  EXPECT_FALSE(m.Toolbar2.button(12).visible);
  EXPECT_FALSE(m.Toolbar2.button(12).enabled);
  for (bool shown : {true, false}) {
    m.Frame1.on_dbl_click();
    EXPECT_EQ(m.Command1.visible(), shown);
    EXPECT_EQ(m.Command2.visible(), shown);
    EXPECT_EQ(m.Toolbar2.button(12).key, "continuo");
    EXPECT_EQ(m.Toolbar2.button(12).visible, shown);
    EXPECT_EQ(m.Toolbar2.button(12).enabled, shown);
  }
}

// ---------------------------------------------------------------------------------------------
// Candidate box click

TEST(CandidateClick, OpensThePaletteOnTheCellAndEndsCageColouring) {
  Started s;
  Main& m = *s.m;
  load_first_puzzle(m);
  m.mnupencil_Click();
  m.colori = true;
  m.Text2[40].on_click();
  EXPECT_FALSE(m.colori);
  EXPECT_FALSE(m.Text2[40].visible());
  EXPECT_TRUE(m.Text1[40].visible());
  EXPECT_TRUE(m.Text1[40].has_focus());
  EXPECT_EQ(m.cella, 40);
  // The palette stands where a click on the digit box puts it.
  std::vector<std::pair<int, int>> ring;
  for (const auto& p : m.Picture1) {
    EXPECT_TRUE(p.visible());
    ring.emplace_back(p.left(), p.top());
  }
  m.hide_palette();
  m.Text1[40].on_click();
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(std::make_pair(m.Picture1[k].left(), m.Picture1[k].top()), ring[k]) << k;
  // A digit picked there is placed in the cell.
  const char digit = test::puzzles()[0].solution[40];
  m.Picture1[digit - '0'].on_click();
  EXPECT_EQ(m.Text1[40].text(), std::string(1, digit));
}

// The cell the player opened shows its candidates again once the player moves on: a click on
// another cell's candidates, a click on a filled cell, an arrow key. An empty cell left blank
// would look like a cell without candidates.
TEST(CandidateClick, TheCellLeftShowsItsCandidatesAgain) {
  Started s;
  Main& m = *s.m;
  load_first_puzzle(m);
  const char digit = test::puzzles()[0].solution[0];
  m.Text1[0].type(std::string(1, digit));
  m.mnupencil_Click();
  const auto shows_candidates = [&m](int cell) { return m.Text2[cell].visible() && !m.Text1[cell].visible(); };
  m.Text2[40].on_click();
  ASSERT_TRUE(m.Text1[40].visible());
  m.Text2[50].on_click();
  EXPECT_TRUE(shows_candidates(40));
  EXPECT_FALSE(shows_candidates(50));
  m.Text1[0].on_click();  // the filled cell
  EXPECT_TRUE(shows_candidates(50));
  m.Text1[0].on_key_down(39);  // right, onto r1c2
  EXPECT_FALSE(shows_candidates(1));
  m.Text1[1].on_key_down(39);
  EXPECT_TRUE(shows_candidates(1));
  for (int i = 0; i < kCells; ++i) {
    if (i == 2 || !m.Text1[i].text().empty()) continue;
    EXPECT_TRUE(shows_candidates(i)) << i;
  }
}

TEST(CandidateClick, WithManualCandidatesOnlyShowsTheCageInTheSumsWindow) {
  Started s;
  Main& m = *s.m;
  load_first_puzzle(m);
  m.mnupencil_Click();
  m.Toolbar2_ButtonClick("calcola");
  m.colori = true;
  m.Text2[40].on_click();  // r5c5, cage 18: 3,4049
  EXPECT_EQ(m.frmgeneratore.last_shown, 18);
  EXPECT_EQ(m.frmgeneratore.Text1.text(), "somme non ancora calcolate");
  EXPECT_TRUE(m.colori);
  EXPECT_TRUE(m.Text2[40].visible());
  EXPECT_FALSE(m.Text1[40].visible());
  EXPECT_FALSE(m.Picture1[1].visible());
  // The tick "calcola" set opens the candidate boxes to the player's typing; cleared in code,
  // it locks them again.
  for (const TextBox& box : m.Text2) EXPECT_FALSE(box.locked());
  m.Check2.set_value(0);
  for (const TextBox& box : m.Text2) EXPECT_TRUE(box.locked());
}

TEST(CandidateClick, WhileAStepWaitsChangesNothingNotEvenTheSumsWindow) {
  Started s;
  Main& m = *s.m;
  load_first_puzzle(m);
  m.mnupencil_Click();
  m.Toolbar2_ButtonClick("calcola");
  m.Check2.set_value(0);
  m.Pictgo.set_visible(true);
  m.Text2[40].on_click();
  EXPECT_EQ(s.rt.messages, std::vector<std::string>{kWaitMessage});
  EXPECT_EQ(m.frmgeneratore.Text1.text(), "");
  EXPECT_TRUE(m.Text2[40].visible());
  EXPECT_FALSE(m.Picture1[1].visible());
}

// ---------------------------------------------------------------------------------------------
// Techniques run from the toolbar

// Each key runs its techniques in order, every one of them, on the board as it stands; here in
// step mode with every step let through at the traffic light. The puzzle is first taken some
// rounds of the cage techniques ahead without stepping, to a state where each technique of the
// key finds something.
TEST(TechniqueToolbar, KeysRunTheirTechniquesInOrder) {
  struct Case {
    std::string key;
    size_t puzzle;
    int rounds;
    void (*run)(Main&);
  };
  const std::vector<Case> cases = {
      {"somme", 0, 0, [](Main& m) { m.controllo_somme(81); }},
      {"gruppovsgruppo", 1, 25,
       [](Main& m) {
         m.interazione_gruppo_gruppo();
         m.numeri_obbligati_nel_gruppo();
       }},
      {"impossibili", 3, 0,
       [](Main& m) {
         m.cerca_interazione_gruppo_settore();
         m.cerca_interazione_gruppo_riga();
         m.cerca_interazione_gruppo_colonna();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    Started a, b;
    for (Started* s : {&a, &b}) {
      Main& m = *s->m;
      test::load_layout(m, test::puzzles()[c.puzzle].layout);
      m.filetxt.set_text(" nuovo schema");
      m.calling = "risolvi";
      for (int r = 0; r < c.rounds; ++r) {
        m.controllo_somme(81);
        m.interazione_gruppo_gruppo();
        m.numeri_obbligati_nel_gruppo();
        m.cerca_interazione_gruppo_settore();
        m.cerca_interazione_gruppo_riga();
        m.cerca_interazione_gruppo_colonna();
      }
      m.controllo_somme(81);
      ASSERT_FALSE(m.problema);
      m.calling = "";
      m.chiamante = "analisi";
      s->rt.on_yield = [&m] { m.Pictgo_Click(); };
    }
    b.m->chiamante = "manuale";
    const BoardState before = board_state(*a.m);
    a.m->Toolbar1_ButtonClick(c.key);
    c.run(*b.m);
    EXPECT_EQ(a.m->chiamante, "manuale");
    EXPECT_TRUE(a.rt.messages.empty());
    EXPECT_GT(a.rt.yields, 0);  // the steps waited at the traffic light
    EXPECT_NE(board_state(*a.m).candidates, before.candidates);
    EXPECT_EQ(board_state(*a.m), board_state(*b.m));
  }
}

// ---------------------------------------------------------------------------------------------
// Arrow keys

TEST(ArrowKeys, MoveTheFocusAndWrapAroundTheGrid) {
  struct Case {
    int from, key, to;
  };
  const std::vector<Case> cases = {
      {40, 37, 39}, {9, 37, 8},   {0, 37, 80},  {40, 39, 41}, {8, 39, 9},  {80, 39, 0},
      {40, 38, 31}, {4, 38, 76},  {0, 38, 72},  {40, 40, 49}, {76, 40, 4}, {80, 40, 8},
  };
  Started s;
  Main& m = *s.m;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " key " + std::to_string(c.key));
    m.Text1[c.from].set_focus();
    m.Text1[c.from].on_key_down(c.key);
    EXPECT_TRUE(m.Text1[c.to].has_focus());
  }
}

TEST(ArrowKeys, TypingIntoAClickedCellKeepsTheFocusThere) {
  Started s;
  Main& m = *s.m;
  m.Text1[0].set_focus();
  m.Text1[0].on_key_down(39);  // the last arrow chose cell 1
  m.Text1[50].set_focus();     // the player clicks another cell and types
  for (int key : {53, 46, 13}) {
    m.Text1[50].on_key_down(key);
    EXPECT_TRUE(m.Text1[50].has_focus());
  }
}

// ---------------------------------------------------------------------------------------------
// Play clock

// The display after a run of `seconds` from a standing clock at "0".
std::string shown_after(int seconds) {
  Started s;
  Main& m = *s.m;
  s.rt.clock = 1000.0f;
  m.picstart.on_click();
  s.rt.clock = 1000.0f + static_cast<float>(seconds);
  m.Timer2.on_timer();
  return m.tempotot.text();
}

TEST(PlayClock, ShowsSecondsThenMinutesThenHours) {
  const std::vector<std::pair<int, std::string>> cases = {
      {0, "0s"},        {59, "59s"},      {60, "60s"},           {61, "1m 1s"},
      {3599, "59m 59s"}, {3600, "3600s"}, {3601, "1h 0m 1s"},     {7325, "2h 2m 5s"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(shown_after(seconds), text) << seconds;
}

TEST(PlayClock, StartPauseResumeAndReset) {
  Started s;
  Main& m = *s.m;
  EXPECT_EQ(m.tempotot.text(), "0");
  EXPECT_FALSE(m.play_clock_running());
  EXPECT_EQ(m.picstart.tool_tip(), "start timer");
  s.rt.clock = 500.0f;
  m.picstart.on_click();
  EXPECT_TRUE(m.play_clock_running());
  EXPECT_EQ(m.picstart.picture(), m.picrosso.picture());
  EXPECT_EQ(m.picstart.tool_tip(), "pausa timer ");
  EXPECT_TRUE(m.Timer2.enabled());
  s.rt.clock = 620.5f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "2m 0s");
  // Pause: the display keeps its value while time passes.
  m.picstart.on_click();
  EXPECT_FALSE(m.play_clock_running());
  EXPECT_EQ(m.picstart.picture(), m.picverde.picture());
  EXPECT_EQ(m.picstart.tool_tip(), "start timer ");
  EXPECT_FALSE(m.Timer2.enabled());
  s.rt.clock = 5000.0f;
  EXPECT_EQ(m.tempotot.text(), "2m 0s");
  // Resume: counting goes on from the two minutes shown.
  m.picstart.on_click();
  s.rt.clock = 5005.0f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "2m 5s");
  // Reset while running: "0" and standing; the next start counts from 0.
  m.Picture2.on_click();
  EXPECT_EQ(m.tempotot.text(), "0");
  EXPECT_FALSE(m.play_clock_running());
  EXPECT_FALSE(m.Timer2.enabled());
  m.picstart.on_click();
  s.rt.clock = 5012.0f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "7s");
  // Reset while standing starts again from 0.
  m.picstart.on_click();
  m.Picture2.on_click();
  EXPECT_TRUE(m.play_clock_running());
  s.rt.clock = 5015.0f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "3s");
}

TEST(PlayClock, TimingASolveOrASpeedTestDoesNotMoveIt) {
  Started s;
  Main& m = *s.m;
  s.rt.clock = 100.0f;
  m.picstart.on_click();
  s.rt.clock = 130.0f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "30s");
  // A solve or a generation stores its own start readings.
  m.t0 = 7000.0f;
  m.t1 = 7100.0f;
  m.t2 = 0.0f;
  s.rt.clock = 140.0f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "40s");
}

TEST(PlayClock, ARunAcrossMidnightGoesOnCounting) {
  Started s;
  Main& m = *s.m;
  s.rt.clock = 86390.0f;
  m.picstart.on_click();
  s.rt.clock = 15.0f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "25s");
}

// Only a finished grid stops the clock: a full grid that breaks a rule is still being played.
// A finished one stops at the next tick with its button back on "start".
TEST(PlayClock, StopsOnlyWhenTheGridIsFinished) {
  Started s;
  Main& m = *s.m;
  s.rt.clock = 0.0f;
  m.picstart.on_click();
  m.esposti = 81;
  s.rt.clock = 95.0f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "1m 35s");
  EXPECT_TRUE(m.Timer2.enabled());
  EXPECT_TRUE(m.play_clock_running());
  m.finito = true;
  s.rt.clock = 96.0f;
  m.Timer2.on_timer();
  EXPECT_EQ(m.tempotot.text(), "1m 36s");
  EXPECT_FALSE(m.Timer2.enabled());
  EXPECT_FALSE(m.play_clock_running());
  EXPECT_EQ(m.picstart.tool_tip(), "start timer ");
}

}  // namespace
}  // namespace ks
