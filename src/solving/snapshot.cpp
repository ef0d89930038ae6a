// Saving and putting back a position of the board and the cage model.
#include "solving/snapshot.h"

#include <algorithm>
#include <string_view>

#include "platform/text.h"

namespace ks {

void Snapshot::save(const Main& m) {
  odd_.clear();
  for (int i = 0; i < kCells; ++i) {
    Cell& c = cells_[static_cast<size_t>(i)];
    const std::string& digit = m.Text1[i].text();
    c.digit = digit.size() == 1 ? digit[0] : '\0';
    // The candidate box keeps the bits of a text of ascending distinct digits.
    const std::uint16_t bits = m.board_index().candidate_bits(i);
    c.plain = !(bits & Main::kOddCandidates);
    c.mask = c.plain ? bits : 0;
    if (!c.plain) odd_.emplace_back(i, m.Text2[i].text());
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
  return std::string(mask_digits(c.mask));
}

void Snapshot::restore(Main& m) const {
  const bool was = m.ins_dati;
  m.ins_dati = true;
  for (int i = 0; i < kCells; ++i) {
    const Cell& c = cells_[static_cast<size_t>(i)];
    if (c.plain) {
      const std::string_view want = mask_digits(c.mask);
      if (m.Text2[i].text() != want) m.Text2[i].set_text(want);
    } else {
      std::string want = candidates(i);
      if (m.Text2[i].text() != want) m.Text2[i].set_text(std::move(want));
    }
    const std::string_view digit(&c.digit, c.digit != '\0' ? 1 : 0);
    if (m.Text1[i].text() != digit) m.Text1[i].set_text(digit);
  }
  for (int g = 0; g <= last_cage(); ++g) {
    const Cage& c = cages_[static_cast<size_t>(g)];
    m.sommagruppo.set(g, c.sum);
    m.elementigruppo.set(g, c.count);
    for (int k = 1; k <= kMaxCageCells; ++k)
      m.cellegruppo.set(g, k, c.cells[static_cast<size_t>(k - 1)]);
  }
  m.gruppo1 = gruppo1_;
  m.ins_dati = was;
  m.forget_combinations();
  // The bulk writes leave each box as the search left it: a cell emptied again would show the
  // digit box its placement opened.
  m.show_boxes();
}

int Snapshot::cage_cell(int g, int k) const {
  if (g < 0 || g > last_cage() || k < 1 || k > kMaxCageCells) return -1;
  return Main::cell_number(cages_[static_cast<size_t>(g)].cells[static_cast<size_t>(k - 1)]);
}

}  // namespace ks
