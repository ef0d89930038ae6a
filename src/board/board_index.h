// The board index: what the techniques' fast paths read about the digit and candidate boxes,
// worked out from the boxes and kept by their change hooks only, with the stamps that tell a memo
// whether the board moved since it last looked.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "board/cell_set.h"
#include "board/units.h"
#include "platform/controls.h"

namespace ks {

// The boxes' texts stay the state the window shows and the techniques' texts read; this is a
// reading of them, and only its owners write it, each through the hook below that is theirs:
//   candidates_changed  the candidate box Text2(cell) changed (its change hook)
//   digit_changed       the digit box Text1(cell) changed (its change hook, before cell entry)
//   hand_over           a cut that wrote the candidates from their bits (for the change hook)
//   step_shown          a step was shown at the traffic light (the step gate)
//   table_written       an entry of a cage table took a new value (the tables' set)
// The first four take a Key, which only those owners can make (main.h defines it after the
// window, naming them); the cage tables are friends. Everyone else reads the index as const.
// check() compares the index with the boxes, so that a test finds a stale entry at once.
//
//   candidate bits   bit d (1..9) for each digit of Text2(cell) when the text is ascending
//                    distinct digits 1..9 (the text every technique writes), else kOdd alone
//                    and the text decides
//   open bits        the candidate bits of a cell whose digit box is empty, 0 for a filled one
//   one candidate    the cells whose candidate text is one character
//   filled           the cells whose digit box holds a text
//   two candidates   per unit kind (row, column, box) and unit: bit k (0..8) for the k-th cell
//                    of the unit (see unit_cells) whose candidate text has two characters
//   generation       counts every change above, and every step shown
//   digit stamps     the generation of the last change of a digit box, and of each one
//   tables stamp     the generation of the last change of a cage table entry
class BoardIndex {
 public:
  static constexpr std::uint16_t kOdd = 0x8000;
  class Key;

  BoardIndex() = default;
  BoardIndex(const BoardIndex&) = delete;
  BoardIndex& operator=(const BoardIndex&) = delete;

  std::uint16_t candidate_bits(int cell) const { return bits_[static_cast<size_t>(cell)]; }
  std::uint16_t open_bits(int cell) const { return open_[static_cast<size_t>(cell)]; }
  const CellSet& one_candidate() const { return one_; }
  const CellSet& filled() const { return filled_; }
  std::uint16_t two_candidates(UnitKind kind, int unit) const {
    return two_[static_cast<size_t>(kind)][static_cast<size_t>(unit)];
  }
  std::uint64_t generation() const { return generation_; }
  std::uint64_t digit_stamp() const { return digit_stamp_; }
  // The generation of the last change of the digit box of `cell`.
  std::uint64_t digit_stamp(int cell) const { return digit_stamps_[static_cast<size_t>(cell)]; }
  std::uint64_t tables_stamp() const { return tables_stamp_; }
  // How many steps were shown at the traffic light.
  long steps_shown() const { return steps_shown_; }

  // The bits of a candidate text.
  static std::uint16_t code(const std::string& text);

  // The key is only shown: inline, so that the hooks pass nothing for it.
  void candidates_changed(const Key&, int cell, const std::string& text) {
    set_candidates(cell, text);
  }
  void digit_changed(const Key&, int cell, bool filled) { set_digit(cell, filled); }
  // A cut that wrote the candidates of `cell` from their bits hands the bits over for the change
  // its write runs, so that the hook need not read the text again.
  void hand_over(const Key&, int cell, std::uint16_t bits) {
    handed_cell_ = cell;
    handed_bits_ = bits;
  }
  void step_shown(const Key&) {
    ++steps_shown_;
    ++generation_;
  }

  // "" when every entry agrees with the boxes, else what disagrees first.
  std::string check(const std::array<TextBox, 81>& digits,
                    const std::array<TextBox, 81>& candidates) const;

 private:
  template <class Row, size_t N>
  friend class CageTable;
  // Returns the new generation, which the entry keeps as its stamp.
  std::uint64_t table_written() { return tables_stamp_ = ++generation_; }
  void set_candidates(int cell, const std::string& text);
  void set_digit(int cell, bool filled);

  std::array<std::uint16_t, 81> bits_{};
  std::array<std::uint16_t, 81> open_{};
  CellSet one_, filled_;
  std::array<std::array<std::uint16_t, 9>, 3> two_{};
  std::uint64_t generation_ = 0, digit_stamp_ = 0, tables_stamp_ = 0;
  std::array<std::uint64_t, 81> digit_stamps_{};
  long steps_shown_ = 0;
  int handed_cell_ = -1;
  std::uint16_t handed_bits_ = 0;
};

}  // namespace ks
