// The rule of 45 on a region: gathering the cages that touch it, splitting them, and placing the
// digit of a single that the split leaves.
#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "platform/text.h"
#include "rule45/region.h"
#include "solving/memo.h"

namespace ks::rule45 {

namespace {

// The units of each cell as bits (see PlainModel::touched).
constexpr std::array<std::uint32_t, kCells> make_unit_bits() {
  std::array<std::uint32_t, kCells> t{};
  for (int c = 0; c < kCells; ++c)
    t[static_cast<size_t>(c)] = 1u << row_of(c) | 1u << (9 + col_of(c)) | 1u << (18 + box_of(c));
  return t;
}
constexpr std::array<std::uint32_t, kCells> kUnitBits = make_unit_bits();

// The row, column and box (each 0..8) of each cell, by unit kind.
constexpr std::array<std::array<std::uint8_t, kCells>, 3> make_places() {
  std::array<std::array<std::uint8_t, kCells>, 3> t{};
  for (int c = 0; c < kCells; ++c) {
    t[0][static_cast<size_t>(c)] = static_cast<std::uint8_t>(row_of(c));
    t[1][static_cast<size_t>(c)] = static_cast<std::uint8_t>(col_of(c));
    t[2][static_cast<size_t>(c)] = static_cast<std::uint8_t>(box_of(c));
  }
  return t;
}
constexpr std::array<std::array<std::uint8_t, kCells>, 3> kPlaces = make_places();

}  // namespace

namespace {

// The whole number 0..limit - 1 that a table entry holds, else -1 (see Main::cell_number).
inline int entry_number(const Value& v, int limit) {
  if (!v.is_number()) return -1;
  const double d = v.num();
  if (!(d >= 0 && d < limit)) return -1;
  const int n = static_cast<int>(d);
  return n == d ? n : -1;
}

}  // namespace

void PlainModel::read_from(const Main& m) {
  usable = true;
  disjoint = true;
  read = CellSet();
  CellSet listed;  // every cell of the lists read so far
  const int gruppi = m.gruppi;
  for (int c = 0; c < kCells; ++c) {
    const auto C = static_cast<size_t>(c);
    const std::string& text = m.Text1[C].text();
    if (!text.empty()) {
      const char d = text[0];
      if (text.size() != 1 || d < '0' || d > '9') {
        usable = false;
        return;
      }
      state[C] = kFilled;
      digit[C] = static_cast<std::int8_t>(d - '0');
      continue;
    }
    digit[C] = 0;
    const int g = entry_number(m.gruppodicella[C], kCageSlots);
    if (g > gruppi || g >= kCells) {
      usable = false;
      return;
    }
    const auto G = static_cast<size_t>(g);
    if (g < 0 || !m.sommagruppo[G].is_number()) {
      state[C] = kUndecided;
      continue;
    }
    state[C] = static_cast<std::int8_t>(g);
    if (read.has(g)) {
      touched[G] |= kUnitBits[C];
      continue;
    }
    read.add(g);
    touched[G] = kUnitBits[C];
    Cage& k = cages[G];
    k.sum = m.sommagruppo[G].as_int();
    k.size = m.cage_size(g);
    for (int i = 0; i < k.size; ++i) {
      const int cell = entry_number(m.cellegruppo[G][static_cast<size_t>(i) + 1], kCells);
      k.cells[static_cast<size_t>(i)] = static_cast<std::int8_t>(cell);
      if (cell < 0) continue;
      if (listed.has(cell)) disjoint = false;
      listed.add(cell);
    }
  }
}

std::uint32_t PlainModel::changed_units(const PlainModel& o) const {
  if (!usable || !o.usable) return kAllUnits;
  std::uint32_t changed = 0;
  if (state != o.state || digit != o.digit) {
    for (size_t c = 0; c < kCells; ++c)
      if (state[c] != o.state[c] || digit[c] != o.digit[c]) changed |= kUnitBits[c];
  }
  const auto cages_of = [&](std::uint64_t here, std::uint64_t there, int base) {
    for (std::uint64_t w = here | there; w != 0; w &= w - 1) {
      const int bit = std::countr_zero(w);
      const auto g = static_cast<size_t>(base + bit);
      const bool a_read = (here >> bit & 1u) != 0, b_read = (there >> bit & 1u) != 0;
      if (a_read && b_read) {
        const Cage& a = cages[g];
        const Cage& b = o.cages[g];
        if (a.sum == b.sum && a.size == b.size &&
            std::equal(a.cells.begin(), a.cells.begin() + a.size, b.cells.begin()))
          continue;
      }
      changed |= (a_read ? touched[g] : 0u) | (b_read ? o.touched[g] : 0u);
    }
  };
  cages_of(read.low, o.read.low, 0);
  cages_of(read.high, o.read.high, 64);
  return changed;
}

RegionCounts count_split(const PlainModel& model, const Region& r) {
  RegionCounts c;
  CellSet touching;  // the cages met, by number
  std::array<int, kCells> cages;
  int n = 0;
  for (int u = r.first(); u <= r.last; ++u) {
    for (const int cell : unit_cells(r.kind, u)) {
      const int g = model.state[static_cast<size_t>(cell)];
      if (g == PlainModel::kFilled) continue;
      if (g == PlainModel::kUndecided) {
        c.decidable = false;
        continue;
      }
      c.sets_gruppo = true;
      if (touching.has(g)) continue;
      touching.add(g);
      cages[static_cast<size_t>(n++)] = g;
    }
  }
  if (!c.decidable) return c;
  const std::array<std::uint8_t, kCells>& place = kPlaces[static_cast<size_t>(r.kind)];
  for (int i = 0; i < n; ++i) {
    const PlainModel::Cage& k = model.cages[static_cast<size_t>(cages[static_cast<size_t>(i)])];
    int placed = 0, inside = 0;
    for (int j = 0; j < k.size; ++j) {
      const int cell = k.cells[static_cast<size_t>(j)];
      if (cell < 0) continue;
      ++placed;
      const int unit = place[static_cast<size_t>(cell)];
      inside += r.band ? unit <= r.last : unit == r.last;
    }
    if (inside == placed) continue;
    c.outside += placed - inside;
    c.inside += inside;
  }
  return c;
}

RegionRun::RegionRun(Main& m, const PlainModel* model, const std::array<RegionCounts, 27>* units)
    : m_(m), model_(model), units_(units), counted_(model != nullptr && model->disjoint) {}

bool RegionRun::needs(const Region& r, bool last, int depth) {
  if (!counted_) return true;
  last_ = units_ != nullptr && !r.band ? (*units_)[static_cast<size_t>(static_cast<int>(r.kind) * 9 + r.last)]
                                       : count_split(*model_, r);
  const auto side = [depth](int n) { return n == 1 || (n >= 2 && n < depth); };
  const bool may_act = last_.decidable && (side(last_.outside) || side(last_.inside));
  if (!last && !may_act && n_passed_ < static_cast<int>(passed_.size())) {
    passed_[static_cast<size_t>(n_passed_++)] = {r, last_};
    return false;
  }
  // The regions passed over whose traces this split leaves: from the last one back, each whose
  // inside list is longer than every later one's (and this split's), and the latest that writes
  // gruppo when this split does not.
  int top = last_.decidable ? last_.inside : 0;
  bool gruppo_written = last_.sets_gruppo;
  std::array<bool, 27> traced;
  for (int i = n_passed_ - 1; i >= 0; --i) {
    const RegionCounts& p = passed_[static_cast<size_t>(i)].counts;
    const int inside = p.decidable ? p.inside : 0;
    traced[static_cast<size_t>(i)] = inside > top || (!gruppo_written && p.sets_gruppo);
    top = std::max(top, inside);
    gruppo_written = gruppo_written || p.sets_gruppo;
  }
  for (int i = 0; i < n_passed_; ++i)
    if (traced[static_cast<size_t>(i)])
      gather_and_split(m_, passed_[static_cast<size_t>(i)].region, model_);
  n_passed_ = 0;
  return true;
}

const PlainModel* model_for(const Main& m, const PlainModel& model) {
  return model.usable && m.memo->enabled ? &model : nullptr;
}

namespace {

// The digit of a cell, whether it is empty, and its cage as gather_and_split reads them (from the
// window's tables, or from the model).
struct CellRead {
  bool filled;
  int digit;      // when filled
  bool in_cage;   // an empty cell in a cage whose sum is a number
  int g;
};

CellRead read_cell(const Main& m, int cell, const PlainModel* model) {
  if (model != nullptr) {
    const int s = model->state[static_cast<size_t>(cell)];
    return {s == PlainModel::kFilled, model->digit[static_cast<size_t>(cell)], s >= 0, s};
  }
  const std::string& digit = m.Text1[cell].text();
  if (!digit.empty())
    return {true,
            digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9' ? digit[0] - '0'
                                                                    : static_cast<int>(val(digit)),
            false, -1};
  const int g = m.cage_of(cell);
  return {false, 0, g >= 0 && m.sommagruppo[g].is_number(), g};
}

// Cage g's split against the region (its cells `in`) on the model (see split_cage). A cage
// whose cells all lie inside adds nothing.
bool split_plain(Main& m, const PlainModel& model, const CellSet& in, std::bitset<kCells>& outside,
                 int g) {
  constexpr int kInsideRoom = std::tuple_size_v<decltype(Main::celleinterne)> - 1;
  constexpr int kOutsideRoom = std::tuple_size_v<decltype(Main::celleesterne)> - 1;
  const PlainModel::Cage& k = model.cages[static_cast<size_t>(g)];
  bool sticks_out = false;
  for (int j = 0; j < k.size; ++j) {
    const int cell = k.cells[static_cast<size_t>(j)];
    if (cell < 0 || in.has(cell)) continue;
    if (outside[static_cast<size_t>(cell)] || m.el_esterni >= kOutsideRoom) continue;
    m.celleesterne[static_cast<size_t>(++m.el_esterni)] = cell;
    outside.set(static_cast<size_t>(cell));
    sticks_out = true;
  }
  if (!sticks_out) return false;
  for (int j = 0; j < k.size; ++j) {
    const int cell = k.cells[static_cast<size_t>(j)];
    if (cell < 0 || !in.has(cell) || m.el_interni >= kInsideRoom) continue;
    m.celleinterne[static_cast<size_t>(++m.el_interni)] = cell;
  }
  return true;
}

}  // namespace

Tally gather_and_split(Main& m, const Region& r, const PlainModel* model) {
  constexpr int kCageRoom = std::tuple_size_v<decltype(Main::gruppiregione)> - 1;
  Tally t;
  t.remaining = 45 * r.units();
  t.empty = 9 * r.units();
  // The list is filled from entry 1 without gaps: clearing up to the first blank clears the last
  // region's listing. Entry 0 holds a number that is no cage.
  for (int k = 1; k <= kCageRoom && !m.gruppiregione[k].is_empty(); ++k)
    m.gruppiregione[k] = Value::empty();
  m.gruppiregione[0] = 81;

  std::array<int, kCageRoom> listed;  // the cages on the list, 0..cages-1
  std::bitset<kCageSlots> seen;
  for (int u = r.first(); u <= r.last; ++u) {
    for (const int cell : unit_cells(r.kind, u)) {
      m.cella = cell;
      const CellRead c = read_cell(m, cell, model);
      if (c.filled) {
        t.remaining -= c.digit;
        --t.empty;
        continue;
      }
      if (!c.in_cage) {
        t.decidable = false;
        continue;
      }
      m.gruppo = c.g;
      if (seen[static_cast<size_t>(c.g)]) continue;
      if (t.cages >= kCageRoom) {
        t.decidable = false;
        continue;
      }
      seen.set(static_cast<size_t>(c.g));
      listed[static_cast<size_t>(t.cages)] = c.g;
      m.gruppiregione[++t.cages] = c.g;
      if (model != nullptr) {
        const PlainModel::Cage& k = model->cages[static_cast<size_t>(c.g)];
        t.cell_total += k.size;
        t.sum_total += k.sum;
      } else {
        t.cell_total += m.cage_size(c.g);
        t.sum_total += m.sommagruppo[c.g].as_int();
      }
    }
  }

  for (int k = 1; k <= m.el_esterni && k < static_cast<int>(m.celleesterne.size()); ++k)
    m.celleesterne[k] = Value::empty();
  m.el_interni = 0;
  m.el_esterni = 0;
  if (!t.decidable) return t;
  std::bitset<kCells> outside;
  const std::bitset<kCells> inside = model != nullptr ? std::bitset<kCells>() : r.cells();
  const CellSet in = model != nullptr ? r.set() : CellSet();
  for (int i = 0; i < t.cages; ++i) {
    const int g = listed[static_cast<size_t>(i)];
    m.gruppo = g;
    const int before = m.el_interni;
    if (model != nullptr)
      split_plain(m, *model, in, outside, g);
    else
      split_cage(m, inside, outside, g);
    // Every touching cage has an empty cell inside, so a cage that sticks out always adds to the
    // inside list: one that adds nothing lies wholly inside.
    if (m.el_interni == before)
      t.inside_sum += model != nullptr ? model->cages[static_cast<size_t>(g)].sum
                                       : m.sommagruppo[g].as_int();
  }
  return t;
}

void place_single(Main& m, int cell, int v, const SingleReport& how) {
  if (cell < 0 || cell >= kCells || v < 1 || v > 9 || !m.Text1[cell].text().empty() ||
      !m.has_candidate(cell, static_cast<char>('0' + v))) {
    m.problema = true;
    return;
  }
  const std::string digit(1, static_cast<char>('0' + v));
  const std::string where = digit + " in " + m.rc(cell);
  const bool explaining = m.explains();
  if (how.explain_always || explaining) {
    m.txthint.set_text(how.hint + where);
    if (m.calling1 != "trial") {
      m.log_line("-----------------------");
      m.log_line(how.log + where);
    }
  }
  const bool waits = how.gate_in_analisi ? explaining : m.chiamante == "manuale";
  if (waits && m.calling != "risolvi" && !m.step_gate(std::array{cell})) return;
  m.Text1[cell].set_text(digit);
  m.Text1[cell].set_visible(true);
  if (!how.modificato_unless_problema || !m.problema) m.modificato = true;
}

bool region_single(Main& m, const Region& r, const SingleReport& outside,
                   const SingleReport& inside, const PlainModel* model) {
  const Tally t = gather_and_split(m, r, model);
  if (!t.decidable) return false;
  if (m.el_esterni == 1) {
    place_single(m, Main::cell_number(m.celleesterne[1]), t.outside_value(), outside);
    return true;
  }
  if (m.el_interni == 1) {
    place_single(m, Main::cell_number(m.celleinterne[1]), t.inside_value(), inside);
    return true;
  }
  return false;
}

}  // namespace ks::rule45
