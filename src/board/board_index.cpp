// The board index: its hooks and its check against the boxes.
#include "board/board_index.h"

namespace ks {

namespace {

// The places of each cell among the two-candidate masks: for kind k (row, column, box) the
// cell's unit and its bit within the unit, worked out once.
struct TwoSlots {
  std::array<std::uint8_t, 3> unit, bit;
};
constexpr std::array<TwoSlots, 81> make_two_slots() {
  std::array<TwoSlots, 81> t{};
  for (int i = 0; i < 81; ++i)
    for (const UnitKind kind : {UnitKind::Row, UnitKind::Column, UnitKind::Box}) {
      const auto k = static_cast<size_t>(kind);
      t[static_cast<size_t>(i)].unit[k] = static_cast<std::uint8_t>(unit_of(kind, i));
      t[static_cast<size_t>(i)].bit[k] = static_cast<std::uint8_t>(unit_index(kind, i));
    }
  return t;
}
constexpr auto kTwoSlots = make_two_slots();

}  // namespace

// Every candidate change runs it, so it has no branch per character: a character out of 1..9,
// or a digit not above every earlier one, marks the text odd.
std::uint16_t BoardIndex::code(const std::string& text) {
  unsigned bits = 0, odd = 0;
  for (const char c : text) {
    const unsigned d = static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
    odd |= (d - 1u > 8u) | (bits >> (d & 15u));
    bits |= 1u << (d & 15u);
  }
  return odd ? kOdd : static_cast<std::uint16_t>(bits);
}

void BoardIndex::set_candidates(int cell, const std::string& text) {
  const auto C = static_cast<size_t>(cell);
  const std::uint16_t bits = handed_cell_ == cell ? handed_bits_ : code(text);
  handed_cell_ = -1;
  ++generation_;
  bits_[C] = bits;
  if (text.size() == 1)
    one_.add(cell);
  else
    one_.remove(cell);
  open_[C] = filled_.has(cell) ? 0 : bits;
  const unsigned two = text.size() == 2;
  const TwoSlots& at = kTwoSlots[C];
  // The three units agree on the cell, and most changes leave it as it was.
  if ((two_[0][at.unit[0]] >> at.bit[0] & 1u) == two) return;
  for (size_t k = 0; k < 3; ++k) {
    std::uint16_t& unit = two_[k][at.unit[k]];
    unit = static_cast<std::uint16_t>((unit & ~(1u << at.bit[k])) | two << at.bit[k]);
  }
}

void BoardIndex::set_digit(int cell, bool filled) {
  digit_stamp_ = digit_stamps_[static_cast<size_t>(cell)] = ++generation_;
  if (filled)
    filled_.add(cell);
  else
    filled_.remove(cell);
  open_[static_cast<size_t>(cell)] = filled ? 0 : bits_[static_cast<size_t>(cell)];
}

std::string BoardIndex::check(const std::array<TextBox, 81>& digits,
                              const std::array<TextBox, 81>& candidates) const {
  std::array<std::array<std::uint16_t, 9>, 3> two{};
  for (int c = 0; c < 81; ++c) {
    const auto C = static_cast<size_t>(c);
    const std::string& text = candidates[C].text();
    const bool filled = !digits[C].text().empty();
    const char* wrong = nullptr;
    if (bits_[C] != code(text))
      wrong = "candidate bits";
    else if (one_.has(c) != (text.size() == 1))
      wrong = "one candidate";
    else if (filled_.has(c) != filled)
      wrong = "filled";
    else if (open_[C] != (filled ? 0 : bits_[C]))
      wrong = "open bits";
    if (wrong != nullptr)
      return "cell " + std::to_string(c) + ": " + wrong + " of \"" + text + "\"";
    if (text.size() == 2)
      for (size_t k = 0; k < 3; ++k)
        two[k][kTwoSlots[C].unit[k]] |= static_cast<std::uint16_t>(1u << kTwoSlots[C].bit[k]);
  }
  if (two != two_) return "two-candidate masks";
  if (handed_cell_ != -1) return "bits handed over and not taken";
  return "";
}

}  // namespace ks
