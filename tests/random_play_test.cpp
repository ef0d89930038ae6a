// Random play: long seeded sequences of what a player does (digits typed right and wrong,
// letters, erasures, overwrites, the palette, the restart, technique keys with the traffic light
// answered at random, clicks while a step waits, cages deleted and entered again). After every
// event each cage's remaining sum, count and list agree with the board, and while every digit on
// the board is right no cell has lost its solution digit.
//
// Short in the ordinary test run; KS_RANDOM_PLAY=long plays every puzzle for much longer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace ks {
namespace {

using test::Started;

bool long_run() {
  const char* v = std::getenv("KS_RANDOM_PLAY");
  return v != nullptr && std::string(v) == "long";
}

class Player {
 public:
  Player(Started& s, const test::Puzzle& p, unsigned seed)
      : s_(s), m_(*s.m), p_(p), cages_(test::cages_of(p.layout)), random_(seed) {
    test::load_layout(m_, p.layout);
    m_.filetxt.set_text(" nuovo schema");
    // While a step waits the player sometimes tries something else first, then answers.
    s_.rt.on_yield = [this] {
      if (!m_.Pictgo.visible()) return;
      if (pick(4) == 0) try_while_waiting();
      if (pick(3) == 0)
        m_.Pictalt.on_click();
      else
        m_.Pictgo.on_click();
    };
  }

  // One event of the player, described for the failure message.
  std::string play() {
    const int cell = pick(81);
    switch (pick(14)) {
      case 0:
      case 1:
      case 2: {  // the right digit, typed or picked from the palette
        const std::string d(1, p_.solution[cell]);
        if (pick(2) == 0) {
          m_.Text1[cell].type(d);
        } else {
          m_.Text1[cell].on_click();
          m_.Picture1[d[0] - '0'].on_click();
        }
        return "right " + d + " at " + m_.rc(cell);
      }
      case 3:
      case 4: {  // a wrong digit
        std::string d(1, static_cast<char>('1' + pick(9)));
        if (d[0] == p_.solution[cell]) d[0] = d[0] == '9' ? '1' : static_cast<char>(d[0] + 1);
        m_.Text1[cell].type(d);
        return "wrong " + d + " at " + m_.rc(cell);
      }
      case 5: {  // an erasure, typed or with the palette's eraser
        if (pick(2) == 0) {
          m_.Text1[cell].type("");
        } else {
          m_.Text1[cell].on_click();
          m_.Picture1[0].on_click();
        }
        return "erase " + m_.rc(cell);
      }
      case 6: {
        static const std::vector<std::string> junk = {"a", "57", "0", " ", "x9"};
        const std::string& t = junk[static_cast<size_t>(pick(static_cast<int>(junk.size())))];
        m_.Text1[cell].type(t);
        return "junk '" + t + "' at " + m_.rc(cell);
      }
      case 7:
        m_.Toolbar2.on_button_click("undo");
        return "restart";
      case 8:
      case 9:
      case 10: {
        static const std::vector<std::string> keys = {"somme", "gruppovsgruppo", "impossibili",
                                                      "pair", "obbligate", "gruppi", "45"};
        const std::string& key = keys[static_cast<size_t>(pick(static_cast<int>(keys.size())))];
        if (key == "45")
          m_.Command3.on_click();
        else
          m_.Toolbar1.on_button_click(key);
        return "key " + key;
      }
      case 11:
        m_.Toolbar1.on_button_click("pencil");
        return "pencil marks";
      case 12: {  // a deletion the player thinks better of
        m_.colore[pick(16)].on_click();
        s_.rt.answers.push_back(MsgAnswer::Cancel);
        m_.Text1[cell].on_click();
        m_.colore[16].on_click();
        return "deletion refused at " + m_.rc(cell);
      }
      default:
        return reenter_cage(cell);
    }
  }

  // Every cage of the model agrees with the board: its remaining sum is its sum less the digits
  // in its cells, its list holds exactly its empty cells. Empty when all is well.
  std::string cages_agree() const {
    for (const test::TextCage& c : cages_) {
      const int g = m_.cage_of(c.cells[0]);
      if (g < 0) return "cell " + m_.rc(c.cells[0]) + " in no cage";
      int rest = c.sum;
      std::set<int> empty;
      for (const int cell : c.cells) {
        if (m_.cage_of(cell) != g) return "cage of " + m_.rc(cell) + " split";
        const std::string& d = m_.Text1[cell].text();
        if (d.empty())
          empty.insert(cell);
        else
          rest -= d[0] - '0';
      }
      std::set<int> listed;
      for (int k = 1; k <= m_.cage_size(g); ++k) listed.insert(m_.cage_cell(g, k));
      if (m_.cage_size(g) != m_.elementigruppo[g].num()) return "count of cage " + std::to_string(g);
      if (listed != empty) return "list of cage " + std::to_string(g);
      if (m_.sommagruppo[g].num() != rest) return "sum of cage " + std::to_string(g);
    }
    return "";
  }

  // While every digit on the board is right, every empty cell still has its solution digit.
  std::string solution_kept() const {
    for (int i = 0; i < 81; ++i) {
      const std::string& d = m_.Text1[i].text();
      if (!d.empty() && d[0] != p_.solution[i]) return "";
    }
    for (int i = 0; i < 81; ++i)
      if (m_.Text1[i].text().empty() && m_.Text2[i].text().find(p_.solution[i]) == std::string::npos)
        return m_.rc(i) + " lost " + std::string(1, p_.solution[i]) + " (" + m_.Text2[i].text() + ")";
    return "";
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // Clicks and keys while a step waits: each must be refused and change nothing.
  void try_while_waiting() {
    switch (pick(5)) {
      case 0: m_.colore[pick(16)].on_click(); break;
      case 1: m_.Text1[pick(81)].on_click(); break;
      case 2: m_.Text1[pick(81)].type(std::string(1, static_cast<char>('1' + pick(9)))); break;
      case 3: m_.Toolbar2.on_button_click("undo"); break;
      default: m_.Picture1[pick(10)].on_click(); break;
    }
  }

  // The player deletes the cage of a cell and enters it again, the same cells and sum.
  std::string reenter_cage(int cell) {
    const test::TextCage* cage = nullptr;
    for (const test::TextCage& c : cages_)
      for (const int x : c.cells)
        if (x == cell) cage = &c;
    m_.colore[pick(16)].on_click();
    s_.rt.answers.push_back(MsgAnswer::Ok);
    m_.Text1[cell].on_click();
    m_.colore[pick(16)].on_click();
    for (const int x : cage->cells) m_.Text1[x].on_click();
    const int g = m_.gruppi;
    m_.textsomma[g].set_focus();
    m_.textsomma[g].type(std::to_string(cage->sum));
    m_.Text1[cell].set_focus();
    m_.colore[16].on_click();
    return "cage of " + m_.rc(cell) + " entered again";
  }

  Started& s_;
  Main& m_;
  const test::Puzzle& p_;
  std::vector<test::TextCage> cages_;
  std::mt19937 random_;
};

TEST(RandomPlay, CagesFollowTheBoardAndRightPlayKeepsTheSolution) {
  const auto& all = test::puzzles();
  const size_t puzzles = long_run() ? all.size() : 24;
  const int events = long_run() ? 3000 : 400;
  for (size_t n = 0; n < puzzles; ++n) {
    const test::Puzzle& p = all[n * (all.size() / puzzles)];
    for (const unsigned seed : {1u, 2u}) {
      Started s;
      Player player(s, p, seed * 7919u + static_cast<unsigned>(n));
      std::vector<std::string> history;
      for (int e = 0; e < events; ++e) {
        history.push_back(player.play());
        const std::string cages = player.cages_agree();
        const std::string kept = player.solution_kept();
        if (!cages.empty() || !kept.empty()) {
          std::string last;
          for (size_t h = history.size() > 8 ? history.size() - 8 : 0; h < history.size(); ++h)
            last += "\n  " + history[h];
          FAIL() << p.id << " seed " << seed << " event " << e << ": " << cages << kept
                 << "\nlast events:" << last;
        }
      }
    }
  }
}

// The sequence that first showed stale required digits: a wrong digit, the sum check to its end,
// the erasure, then cage against cage.
TEST(RandomPlay, RequiredDigitsOfAWrongPositionDoNotOutliveItsErasure) {
  Started s;
  Main& m = *s.m;
  const test::Puzzle& p = test::puzzles()[0];
  ASSERT_EQ(p.id, "dt-1");
  test::load_layout(m, p.layout);
  m.filetxt.set_text(" nuovo schema");
  s.rt.on_yield = [&] {
    if (m.Pictgo.visible()) m.Pictgo.on_click();
  };
  m.Text1[0].type("4");
  for (int i = 0; i < 200; ++i) {
    m.Toolbar1.on_button_click("somme");
    if (!m.modificato || m.problema) break;
  }
  m.Text1[0].type("");
  m.Toolbar1.on_button_click("gruppovsgruppo");
  m.Toolbar1.on_button_click("impossibili");
  for (int i = 0; i < 81; ++i)
    EXPECT_NE(m.Text2[i].text().find(p.solution[i]), std::string::npos) << m.rc(i);
}

}  // namespace
}  // namespace ks
