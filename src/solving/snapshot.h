// The search state of the solution counter and of trial and verify: one position of the board
// and of the cage model, saved and put back exactly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "board/main.h"

namespace ks {

// A saved position. Per cell: whether it is filled and its digit, and its candidate string
// (a filled cell keeps its own, normally its digit). Per cage 0..max(gruppi, gruppo1), derived
// cages included: sommagruppo, elementigruppo and cellegruppo positions 1..7; and gruppo1.
//
//   cells_[i]  digit  '1'..'9' for a filled cell, '\0' for an empty one
//              plain  the candidate string is ascending distinct digits, held in `mask`
//              mask   bit d (1..9) for each candidate digit
//   odd_       (cell, text) for the rare candidate strings that are not plain
//   cages_[g]  the cage record of cage g
//
// restore() writes the saved texts with ins_dati set (cell entry only counts), copies the cage
// records back, and drops the stored combinations: the position gives candidates back, so tables
// worked out since would be stale. A filled cell comes back filled and an empty cell with one
// candidate comes back empty, whatever their texts look like. Every cell then shows the box the
// pencil-mark tick asks for (Main::show_boxes), so whatever gives a position back shows it as
// the player left it.
class Snapshot {
 public:
  void save(const Main& m);
  void restore(Main& m) const;

  bool filled(int cell) const { return cells_[static_cast<size_t>(cell)].digit != '\0'; }
  // The cage records as saved: cages 0..last_cage().
  int last_cage() const { return static_cast<int>(cages_.size()) - 1; }
  const Value& cage_sum(int g) const { return cages_[static_cast<size_t>(g)].sum; }
  const Value& cage_count(int g) const { return cages_[static_cast<size_t>(g)].count; }
  // Cell in position k (1..7) of cage g's list as saved, -1 when none.
  int cage_cell(int g, int k) const;

 private:
  struct Cell {
    char digit = '\0';
    bool plain = true;
    std::uint16_t mask = 0;
  };
  struct Cage {
    Value sum, count;
    std::array<Value, kMaxCageCells> cells;  // positions 1..7
  };
  std::array<Cell, kCells> cells_{};
  std::vector<std::pair<int, std::string>> odd_;
  std::vector<Cage> cages_;
  int gruppo1_ = 0;

  // The candidate text of cell i as saved.
  std::string candidates(int i) const;
};

}  // namespace ks
