// A hand-built board for technique tests: candidates and cages written by the test, the changes
// and the log a technique call leaves, and a player answering the traffic light.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "platform/text.h"
#include "test_support.h"

namespace ks::test {

// The separator line that opens a step's block in the log.
inline const std::string kDashes = "-----------------------";

// Cell of row r, column c (both 1..9).
constexpr int at(int r, int c) { return 9 * (r - 1) + (c - 1); }

// A started board with every candidate possible and no cage; it runs as a full solve without a
// gate ("risolvi", "analisi") until the test says otherwise. Log and hint line start empty.
struct TechniqueBoard {
  Started s;
  Main& m = *s.m;
  std::vector<std::string> before;

  TechniqueBoard() {
    m.ins_dati = false;
    m.calling = "risolvi";
    m.calling1 = "";
    m.chiamante = "analisi";
    m.gruppi = 0;
    m.gruppo1 = 0;
    m.frmlog.Text3.set_text("");
    m.txthint.set_text("");
  }

  // Cage g with its empty cells in list order.
  void cage(int g, std::initializer_list<int> cells) {
    int k = 0;
    for (const int c : cells) {
      m.cellegruppo[g][++k] = c;
      m.gruppodicella[c] = g;
    }
    m.elementigruppo[g] = k;
    if (g > m.gruppi) m.gruppi = g;
    if (g > m.gruppo1) m.gruppo1 = g;
  }
  void set(int cell, const std::string& candidates) { m.Text2[cell].set_text(candidates); }
  void set(std::initializer_list<int> cells, const std::string& candidates) {
    for (const int c : cells) set(c, candidates);
  }
  void drop(char d, std::initializer_list<int> cells) {
    for (const int c : cells) m.Text2[c].set_text(cut_first(m.Text2[c].text(), d));
  }
  // A digit shown placed: both boxes hold it, the cell-entry bookkeeping is not run.
  void place(int cell, char d) {
    m.ins_dati = true;
    m.Text1[cell].set_text(std::string(1, d));
    m.ins_dati = false;
    set(cell, std::string(1, d));
  }

  void snapshot() {
    before.clear();
    for (int i = 0; i < 81; ++i) before.push_back(m.Text2[i].text());
  }
  // The candidate strings changed since the snapshot.
  std::map<int, std::string> changes() const {
    std::map<int, std::string> out;
    for (int i = 0; i < 81; ++i)
      if (m.Text2[i].text() != before[static_cast<size_t>(i)]) out[i] = m.Text2[i].text();
    return out;
  }
  // The activity log's lines (it starts empty, so the first line break opens the first line).
  std::vector<std::string> log() const {
    std::vector<std::string> lines = lines_of(m.frmlog.Text3.text());
    lines.erase(lines.begin());
    return lines;
  }
};

// The same candidate string for each listed cell; maps joined with +.
inline std::map<int, std::string> each(std::initializer_list<int> cells,
                                       const std::string& candidates) {
  std::map<int, std::string> out;
  for (const int c : cells) out[c] = candidates;
  return out;
}
inline std::map<int, std::string> operator+(std::map<int, std::string> a,
                                            const std::map<int, std::string>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

// Plays the traffic light: each wait at the gate is answered with the next scripted answer
// ("si" clicks green, anything else red; red once the script is spent), recording the hint line
// and the highlighted cells (digit and candidate box both giallo) at each wait.
struct Player {
  struct Wait {
    std::string hint;
    std::vector<int> yellow;
    std::string text5;
  };
  std::deque<std::string> answers;
  std::vector<Wait> waits;

  Player(TechniqueBoard& b, std::initializer_list<const char*> script)
      : answers(script.begin(), script.end()) {
    b.m.calling = "";
    b.m.chiamante = "manuale";
    b.s.rt.on_yield = [this, &m = b.m] {
      if (!m.Pictgo.visible() || !m.Pictalt.visible() || !m.scelta.empty()) return;
      Wait w{m.txthint.text(), {}, m.Text5.text()};
      for (int i = 0; i < 81; ++i)
        if (m.Text2[i].back_color() == m.giallo && m.Text1[i].back_color() == m.giallo)
          w.yellow.push_back(i);
      waits.push_back(w);
      const std::string a = answers.empty() ? "no" : answers.front();
      if (!answers.empty()) answers.pop_front();
      if (a == "si")
        m.Pictgo_Click();
      else
        m.Pictalt_Click();
    };
  }
};

// One technique call in step mode, the player answering its waits from the script (the board's
// candidates are snapshot first); the waits seen.
template <typename Run>
std::vector<Player::Wait> step(TechniqueBoard& b, Run run,
                               std::initializer_list<const char*> script) {
  std::vector<Player::Wait> waits;
  {
    Player player(b, script);
    b.snapshot();
    std::invoke(run, b.m);
    waits = player.waits;
  }
  b.s.rt.on_yield = nullptr;
  return waits;
}

// After the gate: the lights are off and every cell is back to its normal colours.
inline void expect_gate_closed(const Main& m) {
  EXPECT_FALSE(m.Pictgo.visible());
  EXPECT_FALSE(m.Pictalt.visible());
  for (int i = 0; i < 81; ++i) {
    EXPECT_EQ(m.Text1[i].back_color(), m.bianco) << i;
    EXPECT_EQ(m.Text2[i].back_color(), m.bianco) << i;
  }
}

// The candidates left on the board, all cells together.
inline int candidates_left(const Main& m) {
  int n = 0;
  for (int i = 0; i < 81; ++i) n += static_cast<int>(m.Text2[i].text().size());
  return n;
}

// Every cell still offers its solution digit, every placed digit is the solution's, and no
// contradiction was met.
inline ::testing::AssertionResult keeps_solution(const Main& m, const Puzzle& p,
                                                 const std::string& after) {
  if (m.problema) return ::testing::AssertionFailure() << p.id << " after " << after << ": problema";
  for (int i = 0; i < 81; ++i) {
    const char s = p.solution[static_cast<size_t>(i)];
    const std::string& placed = m.Text1[i].text();
    if (!has_char(m.Text2[i].text(), s) || (!placed.empty() && placed[0] != s))
      return ::testing::AssertionFailure() << p.id << " after " << after << ": cell " << i
                                           << " holds " << placed << "/" << m.Text2[i].text();
  }
  return ::testing::AssertionSuccess();
}

// What one technique call is expected to leave.
// also, when given, checks what else the call leaves (levels, testo, ...).
struct Outcome {
  std::map<int, std::string> changed{};
  std::vector<std::string> log{};
  std::string hint{};
  bool modificato = true;
  std::function<void(const Main&)> also{};
};

inline void expect_outcome(const TechniqueBoard& b, const Outcome& e) {
  EXPECT_EQ(b.changes(), e.changed);
  EXPECT_EQ(b.log(), e.log);
  EXPECT_EQ(b.m.txthint.text(), e.hint);
  EXPECT_EQ(b.m.modificato, e.modificato);
  if (e.also) e.also(b.m);
}

// The difficulty record after the call: the level, and the uses counted in one counter.
inline std::function<void(const Main&)> record(int livello, int Main::*counter, int uses) {
  return [=](const Main& m) {
    EXPECT_EQ(m.livello, livello);
    EXPECT_EQ(m.*counter, uses);
  };
}

// One case of a table-driven technique test: a board, the technique, what it leaves.
struct TechniqueCase {
  std::string name;
  std::function<void(TechniqueBoard&)> setup;
  void (Main::*run)();
  Outcome expect;
  std::string chiamante = "analisi";
  std::string calling1 = "";
};

inline void run_cases(const std::vector<TechniqueCase>& cases) {
  for (const TechniqueCase& c : cases) {
    SCOPED_TRACE(c.name);
    TechniqueBoard b;
    b.m.chiamante = c.chiamante;
    b.m.calling1 = c.calling1;
    c.setup(b);
    b.snapshot();
    (b.m.*c.run)();
    expect_outcome(b, c.expect);
  }
}

// "r" row "c" column of a cell, as the program names it.
inline std::string rc(int cell) {
  return "r" + std::to_string(cell / 9 + 1) + "c" + std::to_string(cell % 9 + 1);
}

// Every candidate but the listed digits, for each listed cell.
inline std::map<int, std::string> without(const std::string& digits,
                                          std::initializer_list<int> cells) {
  std::string s = "123456789";
  for (const char d : digits) s = cut_first(s, d);
  return each(cells, s);
}

// One text per cell: before, the cell's name, after.
inline std::vector<std::string> per_cell(const std::string& before,
                                         std::initializer_list<int> cells,
                                         const std::string& after = "") {
  std::vector<std::string> out;
  for (const int c : cells) out.push_back(before + rc(c) + after);
  return out;
}
// One text per digit and cell, every cell for the first digit before the second: before, the
// digit, " da ", the cell's name, after. The log lines or hint entries of a unit's removals.
inline std::vector<std::string> by_digit(const std::string& before, const std::string& digits,
                                         std::initializer_list<int> cells,
                                         const std::string& after = "") {
  std::vector<std::string> out;
  for (const char d : digits)
    for (const int c : cells) out.push_back(before + d + " da " + rc(c) + after);
  return out;
}
inline std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += p;
  return out;
}
inline std::vector<std::string> operator+(std::vector<std::string> a,
                                          const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace ks::test
