// The rule of 45 on single units: a box, row or column whose cages stick out by one cell, or
// leave one cell of the unit outside the cages lying wholly in it, gives that cell its digit.
// The "45" button runs it once.
#include <algorithm>
#include <cstdint>

#include "board/main.h"
#include "rule45/region.h"
#include "rule45/rule45_memo.h"

namespace ks {

namespace {

constexpr const char* kText = "REGOLA 45, naked single ";

// The cages with an empty cell in a unit hold, in their remaining sums S, the unit's empty cells
// (which sum to T, 45 minus the digits placed) plus the cells that stick out. So:
// - one cell sticks out: it holds S - T. Example: row 1 empty, r1c1..r1c8 in cages lying in row
//   1 with sums 21 and 17, r1c9 in cage {r1c9, r2c9} of sum 16: r2c9 = 54 - 45 = 9;
// - otherwise, the cages lying wholly inside sum to S'; when the cages that stick out have one
//   cell inside, it holds T - S'. Example: box 1 holds cages of sums 21 and 17 (8 cells) and r3c3
//   of a cage running down column 3: r3c3 = 45 - 38 = 7.
constexpr rule45::SingleReport kOutside{kText, kText, true, false, false};
constexpr rule45::SingleReport kBoxInside{kText, kText, true, true, false};
constexpr rule45::SingleReport kRowInside{kText, kText, true, false, true};
constexpr rule45::SingleReport kColumnInside{kText, kText, true, false, false};


}  // namespace

// Boxes, then rows, then columns, each 0..8; the first unit that gives a single ends the call.
// The units are split on the digits and cages read once, and only those that may give a single
// (and the last) in full (see RegionRun), on counts kept between calls (KeptCounts). A call on
// the same digits and cages as a call that found nothing finds nothing again, and leaves the
// lists as that call left them (the lists of the last column, cella and gruppo, the inside list's
// tail): they are written as a split writes them.
void Main::regola45_naked_single() {
  modificato = false;
  Rule45Memo& known = *rule45_memo;
  const rule45::PlainModel* model = rule45::model_for(*this);
  const bool memos = model != nullptr;
  const std::uint32_t changed =
      memos ? known.reading.take_changed(rule45::Reading::kUnits) : rule45::kAllUnits;
  if (memos && changed == 0 && known.quiet) {
    settore = 9;
    riga = 9;
    colonna = 9;
    cella = known.cella;
    gruppo = known.gruppo;
    for (int k = 1; k <= known.longest; ++k)
      celleinterne[static_cast<size_t>(k)] = known.inside[static_cast<size_t>(k)];
    // As gather_and_split clears and writes the lists of the cages and of the outside cells.
    for (size_t k = 1; k < gruppiregione.size() && !gruppiregione[k].is_empty(); ++k)
      gruppiregione[k] = Value::empty();
    gruppiregione[0] = kListEnd;
    for (int k = 1; k <= known.cages; ++k)
      gruppiregione[static_cast<size_t>(k)] = known.touching[static_cast<size_t>(k)];
    for (int k = 1; k <= el_esterni && k < static_cast<int>(celleesterne.size()); ++k)
      celleesterne[static_cast<size_t>(k)] = Value::empty();
    for (int k = 1; k <= known.outside; ++k)
      celleesterne[static_cast<size_t>(k)] = known.outside_list[static_cast<size_t>(k)];
    el_esterni = known.outside;
    el_interni = known.el_interni;
    return;
  }
  known.quiet = false;
  rule45::RegionRun run(*this, model, rule45::kept_counts(*this, model, false));
  struct Pass {
    UnitKind kind;
    int& unit;
    const rule45::SingleReport& inside;
  };
  const Pass passes[] = {{UnitKind::Box, settore, kBoxInside},
                         {UnitKind::Row, riga, kRowInside},
                         {UnitKind::Column, colonna, kColumnInside}};
  int longest = 0;
  for (const Pass& p : passes) {
    for (p.unit = 0; p.unit <= 8; ++p.unit) {
      const rule45::Region r{p.kind, p.unit, false};
      if (run.needs(r, p.kind == UnitKind::Column && p.unit == 8) &&
          rule45::region_single(*this, r, kOutside, p.inside, model))
        return;
      longest = std::max(longest, run.inside_after());
    }
  }
  if (!memos) return;
  known.quiet = true;
  known.cella = cella;
  known.gruppo = gruppo;
  known.longest = longest;
  std::copy(celleinterne.begin() + 1, celleinterne.begin() + 1 + longest, known.inside.begin() + 1);
  known.cages = 0;
  while (known.cages + 1 < kCells && !gruppiregione[static_cast<size_t>(known.cages) + 1].is_empty()) {
    ++known.cages;
    known.touching[static_cast<size_t>(known.cages)] = gruppiregione[static_cast<size_t>(known.cages)];
  }
  known.outside = std::min(el_esterni, kCells - 1);
  std::copy(celleesterne.begin() + 1, celleesterne.begin() + 1 + known.outside,
            known.outside_list.begin() + 1);
  known.el_interni = el_interni;
}

void Main::Command3_Click() { regola45_naked_single(); }

}  // namespace ks
