// The rule of 45 on a region: gathering the cages that touch it, splitting them, and placing the
// digit of a single that the split leaves.
#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "platform/text.h"
#include "rule45/region.h"
#include "rule45/rule45_memo.h"

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

// The whole number 0..limit - 1 that a table entry holds, else -1 (see Main::cell_number).
inline int entry_number(const Value& v, int limit) {
  if (!v.is_number()) return -1;
  const double d = v.num();
  if (!(d >= 0 && d < limit)) return -1;
  const int n = static_cast<int>(d);
  return n == d ? n : -1;
}

}  // namespace

bool PlainModel::read_cell(const Main& m, int c) {
  const auto C = static_cast<size_t>(c);
  const std::string& text = m.Text1[C].text();
  if (!text.empty()) {
    const char d = text[0];
    if (text.size() != 1 || d < '0' || d > '9') return false;
    state[C] = kFilled;
    digit[C] = static_cast<std::int8_t>(d - '0');
    return true;
  }
  digit[C] = 0;
  const int g = entry_number(m.gruppodicella[C], kCageSlots);
  if (g > m.gruppi || g >= kCells) return false;
  state[C] = g >= 0 && m.sommagruppo[static_cast<size_t>(g)].is_number()
                 ? static_cast<std::int8_t>(g)
                 : static_cast<std::int8_t>(kUndecided);
  return true;
}

void PlainModel::read_cage(const Main& m, int g) {
  const auto G = static_cast<size_t>(g);
  Cage& k = cages[G];
  k.sum = m.sommagruppo[G].as_int();
  k.size = m.cage_size(g);
  k.cells.fill(-1);
  k.set = CellSet();
  k.placed = 0;
  for (int i = 0; i < k.size; ++i) {
    const int cell = entry_number(m.cellegruppo[G][static_cast<size_t>(i) + 1], kCells);
    k.cells[static_cast<size_t>(i)] = static_cast<std::int8_t>(cell);
    if (cell < 0) continue;
    k.set.add(cell);
    ++k.placed;
  }
}

void Reading::move_cell(int c, int s, CellSet& moved) {
  const auto C = static_cast<size_t>(c);
  // The cell leaves the sets of a state (join false) or joins them.
  const auto mark = [&](int state, bool join) {
    const auto put = [&](CellSet& set) { join ? set.add(c) : set.remove(c); };
    if (state >= 0) {
      put(members_[static_cast<size_t>(state)]);
      put(model_.open);
      moved.add(state);
    } else if (state == PlainModel::kUndecided) {
      put(model_.undecided);
    }
  };
  mark(model_.state[C], false);
  mark(s, true);
  model_.state[C] = static_cast<std::int8_t>(s);
}

void Reading::list_cage(int g, int by) {
  const PlainModel::Cage& k = model_.cages[static_cast<size_t>(g)];
  for (int i = 0; i < k.size; ++i) {
    const int cell = k.cells[static_cast<size_t>(i)];
    if (cell < 0) continue;
    std::uint8_t& n = listed_[static_cast<size_t>(cell)];
    if (by > 0) {
      repeats_ += n == 1;
      ++n;
    } else {
      --n;
      repeats_ -= n == 1;
    }
  }
}

void Reading::settle(const CellSet& moved) {
  PlainModel& k = model_;
  moved.each([&](int g) {
    const CellSet& in = members_[static_cast<size_t>(g)];
    const bool was = k.read.has(g), now = !in.empty();
    if (was != now) {
      list_cage(g, now ? 1 : -1);
      if (now)
        k.read.add(g);
      else
        k.read.remove(g);
    }
    std::uint32_t units = 0;
    in.each([&](int c) { units |= kUnitBits[static_cast<size_t>(c)]; });
    k.touched[static_cast<size_t>(g)] = units;
  });
  k.disjoint = repeats_ == 0;
}

void Reading::read_all(const Main& m) {
  mark_all();
  gruppi_ = m.gruppi;
  seen_ = m.board_index().generation();
  valid_ = false;
  PlainModel& k = model_;
  k.usable = false;
  for (int c = 0; c < kCells; ++c)
    if (!k.read_cell(m, c)) return;
  const int last = last_cage();
  for (int g = 0; g <= last; ++g) {
    k.read_cage(m, g);
    has_sum_[static_cast<size_t>(g)] = m.sommagruppo[static_cast<size_t>(g)].is_number();
  }
  members_.fill(CellSet());
  listed_.fill(0);
  repeats_ = 0;
  k.read = k.open = k.undecided = CellSet();
  CellSet moved;
  for (int c = 0; c < kCells; ++c) {
    const int g = k.state[static_cast<size_t>(c)];
    if (g == PlainModel::kUndecided) k.undecided.add(c);
    if (g < 0) continue;
    members_[static_cast<size_t>(g)].add(c);
    moved.add(g);
    k.open.add(c);
  }
  settle(moved);
  k.usable = true;
  valid_ = true;
}

const PlainModel& Reading::refresh(const Main& m) {
  const BoardIndex& index = m.board_index();
  if (!valid_ || m.gruppi != gruppi_) {
    read_all(m);
    return model_;
  }
  if (index.generation() == seen_) return model_;
  const std::uint64_t seen = seen_;
  seen_ = index.generation();
  PlainModel& k = model_;
  CellSet cells;  // the cells to read again
  if (index.digit_stamp() > seen)
    for (int c = 0; c < kCells; ++c)
      if (index.digit_stamp(c) > seen) cells.add(c);
  std::uint32_t changed = 0;
  CellSet moved;     // the cages whose cells or records changed
  CellSet relisted;  // the cages read whose records changed
  if (index.tables_stamp() > seen) {
    for (size_t c = 0; c < kCells; ++c)
      if (m.gruppodicella.stamp(c) > seen) cells.add(static_cast<int>(c));
    const int last = last_cage();
    for (int g = 0; g <= last; ++g) {
      const auto G = static_cast<size_t>(g);
      if (m.sommagruppo.stamp(G) <= seen && m.elementigruppo.stamp(G) <= seen &&
          m.cellegruppo.stamp(G) <= seen)
        continue;
      // A sum that becomes a number, or stops being one, changes the state of the cage's cells.
      if (m.sommagruppo[G].is_number() != has_sum_[G]) {
        read_all(m);
        return model_;
      }
      const PlainModel::Cage before = k.cages[G];
      const bool read = k.read.has(g);
      if (read) list_cage(g, -1);
      k.read_cage(m, g);
      if (read) list_cage(g, 1);
      if (k.cages[G] == before) continue;
      moved.add(g);
      if (!read) continue;
      relisted.add(g);
      changed |= k.touched[G];
    }
  }
  if (cells.empty() && moved.empty()) return model_;

  PlainModel fresh;  // the cells read again, one at a time
  bool usable = true;
  cells.each([&](int c) {
    const auto C = static_cast<size_t>(c);
    if (!usable || !(usable = fresh.read_cell(m, c))) return;
    if (fresh.state[C] == k.state[C] && fresh.digit[C] == k.digit[C]) return;
    changed |= kUnitBits[C];
    k.digit[C] = fresh.digit[C];
    if (fresh.state[C] != k.state[C]) move_cell(c, fresh.state[C], moved);
  });
  if (!usable) {
    // Not usable: read in full at the next refresh.
    mark_all();
    k.usable = false;
    valid_ = false;
    return model_;
  }
  settle(moved);
  relisted.each([&](int g) {
    if (k.read.has(g)) changed |= k.touched[static_cast<size_t>(g)];
  });
  for (std::uint32_t& c : changed_) c |= changed;
  return model_;
}

RegionCounts count_split(const PlainModel& model, const Region& r) {
  RegionCounts c;
  const CellSet& in = r.set();
  c.sets_gruppo = model.open.meets(in);
  if (model.undecided.meets(in)) {
    c.decidable = false;
    return c;
  }
  CellSet touching;  // the cages met, by number
  (model.open & in).each([&](int cell) {
    const int g = model.state[static_cast<size_t>(cell)];
    if (touching.has(g)) return;
    touching.add(g);
    // The lists are disjoint: each cell of the list counts once.
    const PlainModel::Cage& k = model.cages[static_cast<size_t>(g)];
    if (!k.set.outside_of(in)) return;
    const int inside = k.set.count_in(in);
    c.outside += k.placed - inside;
    c.inside += inside;
  });
  return c;
}

namespace {

// What gather_and_split leaves of a region on a model whose cages are disjoint that a later
// split does not write again: the inside list's entries past `floor`, and gruppo (the last
// touching cage when the region is decidable, else the cage of its last empty cell in a cage).
// The cages are disjoint, so a touching cage sticks out when a cell of its list lies outside.
void trace_split(Main& m, const PlainModel& model, const Region& r, int floor) {
  constexpr int kInsideRoom = std::tuple_size_v<decltype(Main::celleinterne)> - 1;
  const CellSet& in = r.set();
  bool decidable = true;
  int last_g = -1;
  CellSet touching;
  std::array<int, kCells> listed;
  int cages = 0;
  for (int u = r.first(); u <= r.last; ++u) {
    for (const int cell : unit_cells(r.kind, u)) {
      const int g = model.state[static_cast<size_t>(cell)];
      if (g == PlainModel::kFilled) continue;
      if (g == PlainModel::kUndecided) {
        decidable = false;
        continue;
      }
      last_g = g;
      if (touching.has(g)) continue;
      touching.add(g);
      listed[static_cast<size_t>(cages++)] = g;
    }
  }
  if (last_g < 0) return;
  if (!decidable) {
    m.gruppo = last_g;
    return;
  }
  int n = 0;  // the inside list's length so far
  for (int i = 0; i < cages; ++i) {
    const PlainModel::Cage& k = model.cages[static_cast<size_t>(listed[static_cast<size_t>(i)])];
    if (!k.set.outside_of(in)) continue;
    for (int j = 0; j < k.size; ++j) {
      const int cell = k.cells[static_cast<size_t>(j)];
      if (cell < 0 || !in.has(cell) || n >= kInsideRoom) continue;
      if (++n > floor) m.celleinterne[static_cast<size_t>(n)] = cell;
    }
  }
  m.gruppo = listed[static_cast<size_t>(cages - 1)];
}

}  // namespace

void KeptCounts::update(const PlainModel& model, std::uint32_t changed, bool bands) {
  for (int i = 0; i < 27; ++i) {
    const auto kind = static_cast<UnitKind>(i / 9);
    const int last = i % 9;
    // The units a region covers, as bits of `changed`.
    std::uint32_t covers = 1u << i;
    if (bands) {
      if (kind == UnitKind::Box || last < 1 || last > 6) continue;
      covers = ((1u << (last + 1)) - 1) << (9 * static_cast<int>(kind));
    }
    if (counted && (changed & covers) == 0) continue;
    at[static_cast<size_t>(i)] = count_split(model, {kind, last, bands});
  }
  counted = true;
}

const std::array<RegionCounts, 27>* kept_counts(const Main& m, const PlainModel* model, bool bands) {
  Rule45Memo& known = *m.rule45_memo;
  KeptCounts& kept = bands ? known.bands : known.units;
  if (model == nullptr || !model->disjoint) {
    kept.counted = false;
    return nullptr;
  }
  kept.update(*model,
              known.reading.take_changed(bands ? Reading::kBandCounts : Reading::kUnitCounts),
              bands);
  return &kept.at;
}

RegionRun::RegionRun(Main& m, const PlainModel* model, const std::array<RegionCounts, 27>* counts)
    : m_(m), model_(model), counts_(model != nullptr ? counts : nullptr) {}

bool RegionRun::needs(const Region& r, bool last, int depth) {
  if (counts_ == nullptr) return true;
  const RegionCounts& here = counts_of(r);
  last_ = &here;
  const auto side = [depth](int n) { return n == 1 || (n >= 2 && n < depth); };
  const bool may_act = here.decidable && (side(here.outside) || side(here.inside));
  if (!last && !may_act && n_passed_ < static_cast<int>(passed_.size())) {
    passed_[static_cast<size_t>(n_passed_++)] = r;
    return false;
  }
  // The regions passed over whose traces this split leaves: from the last one back, each whose
  // inside list is longer than every later one's (and this split's), and the latest that writes
  // gruppo when this split does not.
  // floor[i]: the longest inside list after region i, -1 when it leaves no trace.
  int top = here.decidable ? here.inside : 0;
  bool gruppo_written = here.sets_gruppo;
  std::array<int, 27> floor;
  for (int i = n_passed_ - 1; i >= 0; --i) {
    const RegionCounts& p = counts_of(passed_[static_cast<size_t>(i)]);
    const int inside = p.decidable ? p.inside : 0;
    floor[static_cast<size_t>(i)] = inside > top || (!gruppo_written && p.sets_gruppo) ? top : -1;
    top = std::max(top, inside);
    gruppo_written = gruppo_written || p.sets_gruppo;
  }
  for (int i = 0; i < n_passed_; ++i)
    if (floor[static_cast<size_t>(i)] >= 0)
      trace_split(m_, *model_, passed_[static_cast<size_t>(i)], floor[static_cast<size_t>(i)]);
  n_passed_ = 0;
  return true;
}

const PlainModel* model_for(const Main& m) {
  if (!m.memos_enabled) return nullptr;
  const PlainModel& model = m.rule45_memo->reading.refresh(m);
  return model.usable ? &model : nullptr;
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
  m.gruppiregione[0] = kListEnd;

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

namespace {

// Tells the single "v in r3c7" (with `why` after it when it is refused) in the modes `how` names
// (every mode, or only while the window explains): the hint line, then, but in trial, the
// dashes line and the log line.
void tell_single(Main& m, const SingleReport& how, bool explaining, int cell, int v,
                 const char* why = "") {
  if (!how.explain_always && !explaining) return;
  const std::string where = std::to_string(v) + " in " + m.rc(cell) + why;
  m.txthint.set_text(how.hint + where);
  if (m.calling1 == mode::kTrial) return;
  m.log_line("-----------------------");
  m.log_line(how.log + where);
}

}  // namespace

void place_single(Main& m, int cell, int v, const SingleReport& how) {
  const bool explaining = m.explains();
  if (cell < 0 || cell >= kCells || v < 1 || v > 9 || !m.Text1[cell].text().empty() ||
      !m.has_candidate(cell, static_cast<char>('0' + v))) {
    m.problema = true;
    // The value the unit asks for cannot be the cell's digit: nothing is placed, and the player
    // is told why, as cell entry tells a digit that is not among a cell's candidates. In trial
    // not even the hint is written.
    if (cell >= 0 && cell < kCells && m.calling1 != mode::kTrial)
      tell_single(m, how, explaining, cell, v, "  numero errato");
    return;
  }
  tell_single(m, how, explaining, cell, v);
  const std::string digit(1, static_cast<char>('0' + v));
  const bool waits = how.gate_in_analisi ? explaining : m.chiamante == mode::kManuale;
  if (waits && m.calling != mode::kRisolvi && !m.step_gate(std::array{cell})) return;
  m.place_digit(cell, digit);
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
