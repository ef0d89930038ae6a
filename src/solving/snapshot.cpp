// Saving and putting back a position of the board and the cage model.
#include "solving/snapshot.h"

#include <algorithm>
#include <string_view>

namespace ks {

namespace {

// A candidate string of ascending distinct digits 1..9, as a digit mask; false for any other.
bool plain_mask(std::string_view s, std::uint16_t& mask) {
  mask = 0;
  int last = 0;
  for (const char c : s) {
    const int d = c - '0';
    if (d <= last || d > 9) return false;
    mask = static_cast<std::uint16_t>(mask | (1u << d));
    last = d;
  }
  return true;
}

// The ascending digits of a mask into buf; their count.
int mask_digits(std::uint16_t mask, char* buf) {
  int n = 0;
  for (int d = 1; d <= 9; ++d)
    if (mask & (1u << d)) buf[n++] = static_cast<char>('0' + d);
  return n;
}

}  // namespace

void Snapshot::save(const Main& m) {
  odd_.clear();
  for (int i = 0; i < kCells; ++i) {
    Cell& c = cells_[static_cast<size_t>(i)];
    const std::string& digit = m.Text1[i].text();
    c.digit = digit.size() == 1 ? digit[0] : '\0';
    const std::string& text = m.Text2[i].text();
    c.plain = plain_mask(text, c.mask);
    if (!c.plain) odd_.emplace_back(i, text);
  }
  gruppo1_ = m.gruppo1;
  const int last = std::clamp(std::max(m.gruppi, m.gruppo1), 0, kCageSlots - 1);
  cages_.resize(static_cast<size_t>(last) + 1);
  for (int g = 0; g <= last; ++g) {
    Cage& c = cages_[static_cast<size_t>(g)];
    c.sum = m.sommagruppo[g];
    c.count = m.elementigruppo[g];
    for (int k = 1; k <= kMaxCageCells; ++k)
      c.cells[static_cast<size_t>(k - 1)] = m.cellegruppo[g][k];
  }
}

std::string Snapshot::candidates(int i) const {
  const Cell& c = cells_[static_cast<size_t>(i)];
  if (!c.plain) {
    for (const auto& [cell, text] : odd_)
      if (cell == i) return text;
    return {};
  }
  char buf[9];
  return std::string(buf, static_cast<size_t>(mask_digits(c.mask, buf)));
}

void Snapshot::restore(Main& m) const {
  const bool was = m.ins_dati;
  m.ins_dati = true;
  for (int i = 0; i < kCells; ++i) {
    const Cell& c = cells_[static_cast<size_t>(i)];
    if (c.plain) {
      char buf[9];
      const std::string_view want(buf, static_cast<size_t>(mask_digits(c.mask, buf)));
      if (m.Text2[i].text() != want) m.Text2[i].set_text(std::string(want));
    } else {
      std::string want = candidates(i);
      if (m.Text2[i].text() != want) m.Text2[i].set_text(std::move(want));
    }
    const std::string_view digit(&c.digit, c.digit != '\0' ? 1 : 0);
    if (m.Text1[i].text() != digit) m.Text1[i].set_text(std::string(digit));
  }
  for (int g = 0; g <= last_cage(); ++g) {
    const Cage& c = cages_[static_cast<size_t>(g)];
    m.sommagruppo[g] = c.sum;
    m.elementigruppo[g] = c.count;
    for (int k = 1; k <= kMaxCageCells; ++k)
      m.cellegruppo[g][k] = c.cells[static_cast<size_t>(k - 1)];
  }
  m.gruppo1 = gruppo1_;
  m.ins_dati = was;
  m.forget_combinations();
}

int Snapshot::cage_cell(int g, int k) const {
  if (g < 0 || g > last_cage() || k < 1 || k > kMaxCageCells) return -1;
  return Main::cell_number(cages_[static_cast<size_t>(g)].cells[static_cast<size_t>(k - 1)]);
}

}  // namespace ks
