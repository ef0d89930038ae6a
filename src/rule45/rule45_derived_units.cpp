// The rule of 45 with derived cages on single units: what a box, row or column leaves over
// outside or inside it is one cell, which gets its digit, or a derived cage of known sum, whose
// combinations then cut its cells' candidates.
#include "board/main.h"
#include "rule45/derived_cages.h"
#include "rule45/region.h"

namespace ks {

namespace {

constexpr const char* kText = "REGOLA 45, naked single ";

// The singles wait at the traffic light in "manuale" and "analisi"; the inside single of a row
// that meets a contradiction is no change.
constexpr rule45::SingleReport kSingle{kText, kText, true, true, false};
constexpr rule45::SingleReport kRowInside{kText, kText, true, true, true};

// The deepest search: derived cages of up to five cells.
constexpr int kDeepest = 6;

}  // namespace

// The cages touching a unit hold, in their remaining sums S, the unit's empty cells (which sum
// to T, 45 less the digits placed) and the cells sticking out. So the cells outside sum to S - T,
// and the unit's cells in cages that stick out to T less the sums of the cages wholly inside.
// One such cell gets that digit; fewer than `volte` cells make a derived cage of that sum.
// Example: box 1 holds a cage of sum 21 over its first two rows and {r3c1, r3c2, r3c3, r4c1,
// r4c2} of sum 27: the cells sticking out, {r4c1, r4c2}, are a derived cage of sum
// 21 + 27 - 45 = 3, so both keep only 1 and 2.
// A pass of the 27 units that finds nothing lets the next run look at larger derived cages.
void Main::regola45_altri_gruppi() {
  rule45::erase_derived_cages(*this);
  struct Pass {
    UnitKind kind;
    int& unit;
    const rule45::SingleReport& inside;
  };
  const Pass passes[] = {{UnitKind::Box, settore, kSingle},
                         {UnitKind::Row, riga, kRowInside},
                         {UnitKind::Column, colonna, kSingle}};
  // The units are split on the digits and cages read once (the derived cages built on the way
  // leave the real ones as they are), and only those that may give a single or a derived cage
  // (and the last) in full (see RegionRun).
  const rule45::PlainModel* model = rule45::model_for(*this);
  rule45::RegionRun run(*this, model, rule45::kept_counts(*this, model, false));
  for (const Pass& p : passes) {
    for (p.unit = 0; p.unit <= 8; ++p.unit) {
      const rule45::Region r{p.kind, p.unit, false};
      if (!run.needs(r, p.kind == UnitKind::Column && p.unit == 8, volte)) continue;
      if (rule45::derive_region(*this, r, volte, kSingle, p.inside, model)) return;
    }
  }
  if (volte < kDeepest) ++volte;
}

}  // namespace ks
