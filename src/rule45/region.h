// The rule of 45 on one region of the board (a row, a column, a box, or a band of the top rows or
// the leftmost columns): the cages that touch it, split into their cells inside and outside it,
// and the placement of a digit that the split decides. Shared by every rule-of-45 procedure.
#pragma once

#include <bitset>

#include "board/main.h"
#include "board/units.h"

namespace ks::rule45 {

// A region: unit `last` of `kind` alone, or (band) the units 0..last of kind Row or Column.
struct Region {
  UnitKind kind = UnitKind::Row;
  int last = 0;
  bool band = false;

  int first() const { return band ? 0 : last; }
  int units() const { return band ? last + 1 : 1; }
  bool contains(int cell) const {
    const int u = unit_of(kind, cell);
    return band ? u <= last : u == last;
  }
  // The region's cells as bits 0..80.
  std::bitset<kCells> cells() const {
    std::bitset<kCells> in;
    for (int u = first(); u <= last; ++u)
      for (const int c : unit_cells(kind, u)) in.set(static_cast<size_t>(c));
    return in;
  }
};

// The cages that touch a region, after gather_and_split. The lists of the main window hold the
// split: gruppiregione[1..cages] the touching cages in the order their first empty cell was
// walked; celleesterne[1..el_esterni] their empty cells outside the region (slot order, cage by
// cage); celleinterne[1..el_interni] the empty cells inside the region of the cages that stick
// out. The cages that lie wholly inside contribute only to inside_sum.
//
//   remaining  = 45 per unit - digits placed in the region  (what its empty cells sum to)
//   sum_total  = remaining sums of the touching cages       (inside + outside cells)
//   inside_sum = remaining sums of the wholly-inside cages
//   so the outside cells sum to sum_total - remaining, and the inside cells of the cages that
//   stick out to remaining - inside_sum.
struct Tally {
  // False when an empty cell of the region is in no cage, or its cage has no sum yet: the rule
  // then says nothing about the region.
  bool decidable = true;
  int remaining = 0;
  int empty = 0;       // empty cells of the region
  int cages = 0;       // touching cages
  int cell_total = 0;  // empty cells of the touching cages, inside and outside
  int sum_total = 0;
  int inside_sum = 0;

  int outside_value() const { return sum_total - remaining; }
  int inside_value() const { return remaining - inside_sum; }
};

// Walks the region's cells in scan order (each in turn in `cella`), lists the touching cages and
// splits each of them against the region (the last one in `gruppo`).
Tally gather_and_split(Main& m, const Region& r);

// Appends cage g's empty cells outside the region to the outside list (those not listed yet)
// and, when it added any, its cells inside to the inside list. True when it added an outside
// cell. A list never grows past its table.
bool split_cage(Main& m, const Region& r, int g);
// The same with the region's cells as bits and the cells of the outside list as bits, which it
// keeps up to date.
bool split_cage(Main& m, const std::bitset<kCells>& inside, std::bitset<kCells>& outside, int g);

// How a single found by the rule of 45 is told: the hint and log texts before the value, in
// which modes the hint and log are written, in which the step waits at the traffic light, and
// whether a placement that met a contradiction still counts as a change.
struct SingleReport {
  const char* hint;
  const char* log;
  bool explain_always;         // hint (and log) in every mode, else only while explains()
  bool gate_in_analisi;        // waits in "analisi" as well as in "manuale"
  bool modificato_unless_problema;
};

// Cell `cell` takes the value v: explained, waited on in step mode, placed. A value that is no
// digit 1..9 among the cell's candidates (a position reached by a wrong guess) is a
// contradiction: problema is set and nothing is written. A refused step places nothing and sets
// modificato.
void place_single(Main& m, int cell, int v, const SingleReport& how);

// The region's single, if the split leaves one: the one outside cell, else the one inside cell
// of the cages that stick out; told with `outside` or `inside`. True when the region gave one
// (placed, refused, or found contradictory): the procedure ends there.
bool region_single(Main& m, const Region& r, const SingleReport& outside,
                   const SingleReport& inside);

}  // namespace ks::rule45
