// The rule of 45 on one region of the board (a row, a column, a box, or a band of the top rows or
// the leftmost columns): the cages that touch it, split into their cells inside and outside it,
// and the placement of a digit that the split decides. Shared by every rule-of-45 procedure.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cstdint>

#include "board/cell_set.h"
#include "board/main.h"
#include "board/units.h"

namespace ks::rule45 {

namespace detail {
// kRegionSets[band][kind][last]: the cells of unit `last` of a kind, or (band) of its units
// 0..last.
constexpr std::array<std::array<std::array<CellSet, 9>, 3>, 2> make_region_sets() {
  std::array<std::array<std::array<CellSet, 9>, 3>, 2> t{};
  for (int kind = 0; kind < 3; ++kind) {
    CellSet band;
    for (int u = 0; u < 9; ++u) {
      for (const int c : unit_cells(static_cast<UnitKind>(kind), u)) {
        t[0][kind][u].add(c);
        band.add(c);
      }
      t[1][kind][u] = band;
    }
  }
  return t;
}
inline constexpr auto kRegionSets = make_region_sets();
}  // namespace detail

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
  // The region's cells as a set.
  const CellSet& set() const {
    return detail::kRegionSets[band ? 1 : 0][static_cast<size_t>(kind)][static_cast<size_t>(last)];
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

// The digits and the real cages as the splits read them, in plain numbers (kept up to date by
// Reading):
//   state[c]    kFilled for a cell with a digit (digit[c]), kUndecided for an empty cell in no
//               cage or in a cage whose sum is no number, else its real cage
//   cages[g]    for each real cage g (0..gruppi, below 81): its remaining sum, its list's size
//               and cells
//   open        the empty cells in a cage (state 0..80); undecided: those of state kUndecided
//   read        the cages named by an empty cell
//   touched[g]  for each cage read, the units of its empty cells: bit u for row u, 9 + u for
//               column u, 18 + u for box u
//   disjoint    the lists of the cages read are disjoint and free of repeats, so that a region's
//               split can be counted without the lists (see RegionCounts)
// Not usable when a digit box holds anything but one digit character, or a cell names a cage
// number above the real cages 0..80 (a derived cage built during the call could change that
// record). Only what `read` names is ever looked at in `touched`.
struct PlainModel {
  static constexpr int kFilled = -2;
  static constexpr int kUndecided = -1;
  struct Cage {
    int sum;
    int size;
    std::array<std::int8_t, kMaxCageCells> cells;  // -1: no cell (and past the size)
    CellSet set;  // the cells of the list
    int placed;   // how many entries of the list name a cell
    bool operator==(const Cage&) const = default;
  };
  bool usable = true;
  bool disjoint = true;
  std::array<std::int8_t, kCells> state;
  std::array<std::int8_t, kCells> digit;
  CellSet open, undecided;
  CellSet read;  // by cage number
  std::array<Cage, kCells> cages;
  std::array<std::uint32_t, kCells> touched;

  // Cell c's state and digit from the window; false when the model is not usable for it.
  bool read_cell(const Main& m, int c);
  // Cage g's record from the window.
  void read_cage(const Main& m, int g);
};

// Every unit, as bits of Reading::take_changed.
inline constexpr std::uint32_t kAllUnits = (1u << 27) - 1;

// The plain model of the board kept from call to call. A refresh reads again only the cells
// whose digit box or cage entry, and the real cages (0..gruppi) whose table entries, the board
// index stamped after the last refresh: between two steps of a ladder most of the board stays as
// it was.
//
// Each memo that keeps counts on the model (a User) takes the units whose split may have changed
// since it last took them: those holding a cell whose digit or cage differs, and those touched,
// before or after, by a cage whose record differs.
class Reading {
 public:
  // The quiet call of the rule on single units, the kept counts of the units and of the bands.
  enum User { kUnits, kUnitCounts, kBandCounts, kUsers };

  // The model of the digits and cages the window holds now.
  const PlainModel& refresh(const Main& m);
  // The units changed for `user` since it last took them (every unit at first).
  std::uint32_t take_changed(User user) {
    const std::uint32_t c = changed_[static_cast<size_t>(user)];
    changed_[static_cast<size_t>(user)] = 0;
    return c;
  }

 private:
  // The cages whose tables are copied: the real ones, 0..gruppi, as far as a cell can name one.
  int last_cage() const { return std::min(gruppi_, kCells - 1); }
  void read_all(const Main& m);
  void mark_all() { changed_.fill(kAllUnits); }

  // Cell c takes state s; the cages whose cells changed are marked in `moved`.
  void move_cell(int c, int s, CellSet& moved);
  // Cage g's list joins (by +1) or leaves (by -1) the lists read.
  void list_cage(int g, int by);
  // For each cage marked in `moved`: whether it is read, and its touched units.
  void settle(const CellSet& moved);

  bool valid_ = false;  // the copies and the model are those of the last refresh
  PlainModel model_;
  // members_[g]: the cells whose state is cage g. listed_[c]: how many times cell c stands in the
  // lists of the cages read; repeats_: the cells that stand there more than once.
  std::array<CellSet, kCells> members_;
  std::array<std::uint8_t, kCells> listed_{};
  int repeats_ = 0;
  int gruppi_ = -1;
  std::uint64_t seen_ = 0;  // the board index's generation at the last refresh
  std::array<bool, kCells> has_sum_{};  // whether cage g's sum was a number
  std::array<std::uint32_t, kUsers> changed_{};
};

// The model that the splits of one call read (the shared Reading, refreshed), or nullptr when
// they read the window's tables: the memos are off (Main::memos_enabled; a test compares both),
// or the model is not usable.
const PlainModel* model_for(const Main& m);

// Walks the region's cells in scan order (each in turn in `cella`), lists the touching cages and
// splits each of them against the region (the last one in `gruppo`). With a model the digits and
// cages come from it, which must be what the window holds; every list is written the same.
Tally gather_and_split(Main& m, const Region& r, const PlainModel* model = nullptr);

// What gather_and_split leaves for a region, counted on a model whose cages are disjoint without
// writing the lists: whether the rule decides the region, el_esterni (outside) and el_interni
// (inside) after it, and whether it writes gruppo. The cages are disjoint, so the cells that stick
// out are each touching cage's cells outside the region, and a cage sticks out when it has any.
struct RegionCounts {
  bool decidable = true;
  int outside = 0;
  int inside = 0;
  bool sets_gruppo = false;
};
RegionCounts count_split(const PlainModel& model, const Region& r);

// The counts of the regions of one kind kept between calls on the shared reading: the units (row
// u at u, column u at 9 + u, box u at 18 + u) or the bands (rows 0..n at n, columns 0..n at
// 9 + n, n = 1..6), each counted again only when a unit it covers changed.
struct KeptCounts {
  bool counted = false;  // every entry is that of the model last given
  std::array<RegionCounts, 27> at{};
  // Brings the counts up to `model` (whose cages are disjoint); `changed` holds the units changed
  // since the model of the last update.
  void update(const PlainModel& model, std::uint32_t changed, bool bands);
};

// The kept counts of the units (or bands) brought up to the model, or nullptr when the splits
// cannot be counted (no model, or cages that are not disjoint).
const std::array<RegionCounts, 27>* kept_counts(const Main& m, const PlainModel* model, bool bands);

// The regions of one call of a rule-of-45 procedure, in the order the procedure takes them, and
// whether each needs its full split (gather_and_split and what the procedure does with it): the
// call's last region, a region that may act (one cell on a side: a single; with derived cages
// of fewer than `depth` cells, 2..depth - 1 cells on a side: a derived cage), and every region
// when the splits cannot be counted (no model, or cages that are not disjoint). A region passed
// over leaves in the window's lists only what the next full split does not write again: its
// inside list's entries past that split's, and gruppo. Before a full split, those traces of the
// regions passed over are written, in order, so that every list ends as the whole call would
// leave it.
class RegionRun {
 public:
  // `counts`, when given (see kept_counts), holds the counts of the regions on `model`: a region
  // of kind k ending at unit u at 9 * k + u. Without them every region needs its full split.
  RegionRun(Main& m, const PlainModel* model, const std::array<RegionCounts, 27>* counts);
  bool needs(const Region& r, bool last, int depth = 0);
  // el_interni as the last region asked about leaves it.
  int inside_after() const {
    return last_ != nullptr ? (last_->decidable ? last_->inside : 0) : m_.el_interni;
  }

 private:
  const RegionCounts& counts_of(const Region& r) const {
    return (*counts_)[static_cast<size_t>(static_cast<int>(r.kind) * 9 + r.last)];
  }
  Main& m_;
  const PlainModel* model_;
  const std::array<RegionCounts, 27>* counts_;
  const RegionCounts* last_ = nullptr;
  std::array<Region, 27> passed_;
  int n_passed_ = 0;
};

// Appends cage g's empty cells outside the region to the outside list (those not listed yet)
// and, when it added any, its cells inside to the inside list. True when it added an outside
// cell. A list never grows past its table.
bool split_cage(Main& m, const Region& r, int g);
// The same with the region's cells as bits and the cells of the outside list as bits, which it
// keeps up to date.
bool split_cage(Main& m, const std::bitset<kCells>& inside, std::bitset<kCells>& outside, int g);

// How a single found by the rule of 45 is told: the hint and log texts before the value, and
// flags for the modes that write the hint and log, the modes that wait at the traffic light, and
// whether a placement that met a contradiction counts as a change. A report names the flags it
// sets (.gate_in_analisi = true); the others are off.
struct SingleReport {
  const char* hint;
  const char* log;
  bool explain_always = false;   // hint (and log) in every mode, else only while explains()
  bool gate_in_analisi = false;  // waits in "analisi" as well as in "manuale"
  bool modificato_unless_problema = false;  // a placement that set problema is no change
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
                   const SingleReport& inside, const PlainModel* model = nullptr);

}  // namespace ks::rule45
