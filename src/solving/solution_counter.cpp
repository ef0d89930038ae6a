// The solution counter: a depth-first search over the pencil marks that tells whether the puzzle
// on the board has no solution, one, or more than one; and its short timed ladder.
#include <array>
#include <string>
#include <vector>

#include "solving/ladder.h"
#include "solving/rungs.h"
#include "solving/snapshot.h"

namespace ks {

namespace {

using ladder::Next;
using ladder::Rung;
using rungs::displayed;
using rungs::on_not_found;
using rungs::with_level;

// Time limits, in seconds from t0, while generaeconta is set: the count, and one ladder run.
constexpr int kCountLimit = 120;
constexpr int kLadderLimit = 240;

Next short_pass_start(Main& m) {
  m.show_elapsed();
  return m.generaeconta && static_cast<int>(m.elapsed()) > kLadderLimit ? Next::Leave : Next::Rung;
}

Next display_and_leave(Main& m) {
  m.show_elapsed();
  return Next::Leave;
}

// The short ladder: singles, pairs, the rule of 45 on single units and the sum check. The hidden
// singles are worth level 1, the sum check level 2 (8 for its deep analysis).
constexpr auto kShortLadder =
    rungs::join(rungs::kOpening,
                std::array{
                    with_level(rungs::kHiddenBox, 1),
                    with_level(displayed(rungs::kHiddenRow), 1),
                    with_level(displayed(rungs::kHiddenColumn), 1),
                    on_not_found(with_level(displayed(rungs::kSumCheck), rungs::sum_check_level),
                                 display_and_leave),
                });

// ---------------------------------------------------------------------------------------------
// The search

// What a position is after the short ladder: still open, a dead end, or a solution.
enum class Leaf { Open, Dead, Solved };

// Every row, column and box holds the nine digits, and every real cage holds distinct digits
// whose sum, over the cells that were empty at the start, is the cage's remaining sum then. The
// grid the ladder reports as complete is checked on its own, so that no contradiction a
// technique let pass can be counted as a solution.
bool is_solution(const Main& m, const Snapshot& start) {
  std::array<int, kCells> digit{};
  for (int i = 0; i < kCells; ++i) {
    const std::string& t = m.Text1[i].text();
    if (t.size() != 1 || t[0] < '1' || t[0] > '9') return false;
    digit[static_cast<size_t>(i)] = t[0] - '0';
  }
  for (const UnitKind kind : {UnitKind::Row, UnitKind::Column, UnitKind::Box}) {
    for (int u = 0; u < 9; ++u) {
      unsigned seen = 0;
      for (const int c : unit_cells(kind, u)) seen |= 1u << digit[static_cast<size_t>(c)];
      if (seen != 0x3FEu) return false;
    }
  }
  const int last = std::min(m.gruppi, start.last_cage());
  std::array<unsigned, kCageSlots> seen{};
  for (int i = 0; i < kCells; ++i) {
    const int g = m.cage_of(i);
    if (g < 0 || g > last) continue;
    const unsigned bit = 1u << digit[static_cast<size_t>(i)];
    if (seen[static_cast<size_t>(g)] & bit) return false;
    seen[static_cast<size_t>(g)] |= bit;
  }
  for (int g = 0; g <= last; ++g) {
    const Value& sum = start.cage_sum(g);
    const Value& count = start.cage_count(g);
    if (!sum.is_number() || !count.is_number()) continue;
    int total = 0;
    const int n = std::min(count.as_int(), kMaxCageCells);
    for (int k = 1; k <= n; ++k)
      if (const int c = start.cage_cell(g, k); c >= 0) total += digit[static_cast<size_t>(c)];
    if (n > 0 && total != sum.num()) return false;
  }
  return true;
}

// A full grid counts whether the ladder completed it or it was complete from the start.
Leaf leaf_of(const Main& m, const Snapshot& start) {
  if (m.problema) return Leaf::Dead;
  if (m.finito || m.esposti == kCells) return is_solution(m, start) ? Leaf::Solved : Leaf::Dead;
  return Leaf::Open;
}

// The cell to branch on: the first empty cell, in cell order, with more than one candidate;
// -1 when none.
int branch_cell(const Main& m) {
  for (int i = 0; i < kCells; ++i)
    if (m.Text2[i].text().size() > 1 && m.Text1[i].text().empty()) return i;
  return -1;
}

// One level of the search: the position before its choice, the branch cell, its candidates as
// they stood then, and the next one to try.
struct Level {
  Snapshot before;
  int cell = -1;
  std::array<char, 9> digits{};
  int count = 0;
  int next = 0;
};

}  // namespace

void Main::risolvi_base_a_tempo() {
  generaeconta = true;
  start_ladder();
  ladder::run_ladder(*this, {kShortLadder, short_pass_start});
}

// The search keeps one snapshot per level, the position its choices start from: going back to
// a level puts that position back and tries the level's next candidate, and a dead end costs
// one restore. Each choice cuts the branch cell's candidates to one digit and lets the short
// ladder place it and draw the consequences. The starting position first gets one run of the
// ladder of its own: what that finds is forced, so a grid it completes is the only solution.
// A position that stays open without any cell to branch on is a dead end.
void Main::conta_soluzioni_tecniche() {
  // The count runs under mode words of its own (no log lines, no level counts, the singles
  // placed) and sets the time-limit switch for its own limits; its caller gets all of them back
  // as they were, however the count ends.
  const struct KeepModes {
    Main& m;
    std::string calling, calling1, chiamante;
    bool generaeconta;
    ~KeepModes() {
      m.calling = std::move(calling);
      m.calling1 = std::move(calling1);
      m.chiamante = std::move(chiamante);
      m.generaeconta = generaeconta;
    }
  } keep_modes{*this, calling, calling1, chiamante, generaeconta};
  soluzioni = 0;
  calling1 = mode::kTrial;
  chiamante = mode::kAnalisi;
  for (std::string& s : grigliasoluzione) s.clear();
  forget_combinations();
  Snapshot start;
  start.save(*this);

  // A solution was found: true when it is the second, which ends the count.
  const auto solution = [this] {
    ++soluzioni;
    txthint.set_text("soluzione " + std::to_string(soluzioni));
    if (soluzioni > 1) return true;
    for (int i = 0; i < kCells; ++i) grigliasoluzione[i] = Text1[i].text();
    rt.DoEvents();
    txthint.set_visible(true);
    return false;
  };
  const auto time_up = [this] { return generaeconta && static_cast<int>(elapsed()) > kCountLimit; };

  std::vector<Level> levels;
  size_t depth = 0;
  bool at_level_start = false;  // the board is the position saved by the deepest level
  bool second = false, timed_out = false;

  problema = false;
  risolvi_base_a_tempo();
  Leaf now = leaf_of(*this, start);
  for (;;) {
    if (now == Leaf::Solved && solution()) {
      second = true;
      break;
    }
    if (now == Leaf::Open) {
      if (const int cell = branch_cell(*this); cell >= 0) {
        if (levels.size() == depth) levels.emplace_back();
        Level& l = levels[depth++];
        l.before.save(*this);
        l.cell = cell;
        const std::string& cands = Text2[cell].text();
        l.count = static_cast<int>(std::min<size_t>(cands.size(), l.digits.size()));
        for (int k = 0; k < l.count; ++k)
          l.digits[static_cast<size_t>(k)] = cands[static_cast<size_t>(k)];
        l.next = 0;
        at_level_start = true;
      }
    }
    // The next choice: the next candidate of the deepest level that has one left.
    while (depth > 0 && levels[depth - 1].next == levels[depth - 1].count) {
      --depth;
      at_level_start = false;
    }
    if (depth == 0) break;
    if (time_up()) {
      timed_out = true;
      break;
    }
    Level& l = levels[depth - 1];
    if (!at_level_start) l.before.restore(*this);
    at_level_start = false;
    const char d = l.digits[static_cast<size_t>(l.next++)];
    Text2[l.cell].set_text(std::string(1, d));
    problema = false;
    risolvi_base_a_tempo();
    now = leaf_of(*this, start);
  }

  if (second) {
    count_result = CountResult::Several;
    return;
  }
  start.restore(*this);
  problema = false;
  // The start may be a grid the ladder filled before the count: it is finished only when it
  // keeps every rule, as cell entry would have told it.
  finito = esposti == kCells && board_fault().empty();
  if (timed_out) {
    soluzioni = 0;
    count_result = CountResult::Unknown;
    return;
  }
  count_result = soluzioni == 0 ? CountResult::None : CountResult::One;
  txthint.set_text("ho trovato " + std::to_string(soluzioni) + " soluzione/i");
}

// ---------------------------------------------------------------------------------------------
// The count that stands

std::string Main::position_key() const {
  std::string key;
  key.reserve(2048);
  for (int i = 0; i < kCells; ++i) {
    key += Text1[i].text();
    key += '/';
    key += Text2[i].text();
    key += '/';
    key += gruppodicella[static_cast<size_t>(i)].text();
    key += ';';
  }
  const int last = std::min(gruppi, kCageSlots - 1);
  for (int g = 0; g <= last; ++g) {
    const auto slot = static_cast<size_t>(g);
    key += sommagruppo[slot].text();
    key += ':';
    key += elementigruppo[slot].text();
    key += ':';
    for (int k = 1; k <= kMaxCageCells; ++k) {
      key += cellegruppo[slot][static_cast<size_t>(k)].text();
      key += ',';
    }
    key += ';';
  }
  return key;
}

void Main::remember_count(std::vector<std::string> positions) {
  conteggioeseguito = true;
  counted_positions = std::move(positions);
}

void Main::forget_count() {
  conteggioeseguito = false;
  count_result = CountResult::None;
  soluzioni = 0;
  for (std::string& s : grigliasoluzione) s.clear();
  counted_positions.clear();
}

// A count that ran out of time said nothing about the position: the next solve tries again.
void Main::keep_count_for(std::string position) {
  const bool stands =
      conteggioeseguito && count_result != CountResult::Unknown &&
      std::find(counted_positions.begin(), counted_positions.end(), position) != counted_positions.end();
  if (!stands) forget_count();
  ladder_position = std::move(position);
}

}  // namespace ks
