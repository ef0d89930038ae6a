// The hint command: the step shown is that of the first technique, in the cascade's order, that
// finds one; the red light ends the command; with nothing to find its self-calls end.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "solving/snapshot.h"
#include "solving_support.h"

namespace ks {
namespace {

// The first thirteen steps of the cascade, in its order: the procedure (with the tag it is run
// under) and whether it finds a single (cella below 81) or a change (modificato).
struct Member {
  const char* name;
  void (*run)(Main&);
  bool single;
};
const Member kCascade[] = {
    {"naked_single", [](Main& m) { m.naked_single(); }, true},
    {"nakedpair", [](Main& m) { m.nakedpair(); }, false},
    {"cerca_coppie_nei_gruppi",
     [](Main& m) {
       m.origine = "cerca_celle_con_valore_unico";
       m.cerca_coppie_nei_gruppi();
     },
     false},
    {"regola45_naked_single", [](Main& m) { m.regola45_naked_single(); }, false},
    {"cerca_settore_con_valore_unico",
     [](Main& m) {
       m.origine = "cerca_settore_con_valore_unico";
       m.cerca_settore_con_valore_unico();
     },
     true},
    {"cerca_righe_con_valore_unico",
     [](Main& m) {
       m.origine = "cerca_righe_con_valore_unico";
       m.cerca_righe_con_valore_unico();
     },
     true},
    {"cerca_colonne_con_valore_unico",
     [](Main& m) {
       m.origine = "cerca_colonne_con_valore_unico";
       m.cerca_colonne_con_valore_unico();
     },
     true},
    {"controllo_somme", [](Main& m) { m.controllo_somme(81); }, false},
    {"numeri_obbligati_nel_gruppo", [](Main& m) { m.numeri_obbligati_nel_gruppo(); }, false},
    {"interazione_gruppo_gruppo", [](Main& m) { m.interazione_gruppo_gruppo(); }, false},
    {"interazione_settore_riga_colonna", [](Main& m) { m.interazione_settore_riga_colonna(); },
     false},
    {"hiddenpair", [](Main& m) { m.hiddenpair(); }, false},
    {"nakedtriple", [](Main& m) { m.nakedtriple(); }, false},
};

using test::load_from_library;
using test::puzzle;

// The modes of a hint, without the traffic light.
void hint_modes_applied_at_once(Main& m) {
  m.testoselezionato = "b";
  m.chiamante = "manuale";
  m.calling = "risolvi";
  m.calling1 = "";
}

// Runs a member on the board as it stands; true when it found something.
bool finds(Main& m, const Member& member) {
  m.modificato = false;
  m.cella = 81;
  member.run(m);
  return member.single ? m.cella < 81 : m.modificato;
}

// Hint after hint from the start of every puzzle, while one of the first thirteen techniques
// finds a step: the hint waits at the traffic light, and after the green light the board is what
// the first technique that finds a step makes of it applied at once, the solution kept.
TEST(HintCascade, ShowsTheStepOfTheFirstTechniqueThatFindsOne) {
  std::map<std::string, int> shown;
  int finished = 0;
  for (const test::Puzzle& p : test::puzzles()) {
    test::Started s;
    Main& m = *s.m;
    load_from_library(m, p.layout);
    for (int hint = 0; hint < 200 && !m.finito; ++hint) {
      Snapshot at;
      at.save(m);
      // The members one after the other, without the traffic light; one that finds nothing
      // leaves the board as it was (the sum check's stored combinations serve the next ones).
      hint_modes_applied_at_once(m);
      m.problema = false;
      const Member* first = nullptr;
      for (const Member& member : kCascade) {
        if (finds(m, member)) {
          first = &member;
          break;
        }
      }
      if (!first) break;
      const std::vector<std::string> expected = test::position_of(m);

      at.restore(m);
      m.problema = false;
      test::Light light(s);
      m.Toolbar1.on_button_click("suggerisci");
      ASSERT_FALSE(light.waits.empty()) << p.id << " " << first->name;
      ASSERT_EQ(test::position_of(m), expected) << p.id << " " << first->name;
      ASSERT_TRUE(test::keeps(m, p.solution)) << p.id << " " << first->name;
      EXPECT_EQ(m.calling, "");
      EXPECT_EQ(m.chiamante, "manuale");
      ++shown[first->name];
    }
    finished += m.finito;
    EXPECT_EQ(test::safety_stops_fired(m), "") << p.id;
  }
  EXPECT_GT(finished, 0);
  // The hints came from (nearly) every one of the thirteen.
  EXPECT_GE(shown.size(), 10u);
}

// A cell with one candidate is hinted first; the red light leaves the board as it was and ends
// the command; a hint right after a solve runs in step mode again.
TEST(HintCascade, TheRedLightEndsIt) {
  test::Started s;
  Main& m = *s.m;
  const test::Puzzle& p = puzzle("db-18");
  load_from_library(m, p.layout);
  m.Toolbar2_ButtonClick("risolvi");  // a solve left calling "risolvi"
  load_from_library(m, p.layout);
  m.calling = "risolvi";
  const int cell = test::at(7, 4);
  m.Text2[cell].set_text(std::string(1, p.solution[cell]));
  const std::vector<std::string> before = test::position_of(m);
  test::Light light(s, {"no"});
  m.mnuposition.on_click();
  ASSERT_EQ(light.waits.size(), 1u);
  EXPECT_EQ(light.waits[0].hint, "Naked single in r7c4");
  EXPECT_EQ(light.waits[0].yellow, std::vector<int>{cell});
  EXPECT_EQ(test::position_of(m), before);
  EXPECT_TRUE(m.modificato);
  EXPECT_EQ(m.calling, "");
}

// On a board where none of the techniques finds anything, the hint switches the deep sum
// analysis on, deepens the rule of 45 to its last depths and ends without a step.
TEST(HintCascade, WithNothingToFindItsSelfCallsEnd) {
  test::Started s;
  Main& m = *s.m;
  const auto trial = test::data_lines("killer_trial.txt");
  ASSERT_FALSE(trial.empty());
  load_from_library(m, trial[0][0]);
  // The rating ladder without a count stops where every technique is stuck.
  m.chiamante = "analisi";
  m.generaeconta = true;
  m.risolvi_con_livelli();
  ASSERT_FALSE(m.finito);
  ASSERT_FALSE(m.problema);
  m.volte = 3;
  m.volteestese = 3;
  m.varcontrolloesteso = false;
  const std::vector<std::string> before = test::position_of(m);
  test::Light light(s);
  m.Toolbar1.on_button_click("suggerisci");
  EXPECT_TRUE(light.waits.empty());
  EXPECT_EQ(test::position_of(m), before);
  EXPECT_TRUE(m.varcontrolloesteso);
  EXPECT_EQ(m.volte, 6);
  EXPECT_EQ(m.volteestese, 7);
  EXPECT_TRUE(s.rt.messages.empty());
}

}  // namespace
}  // namespace ks
