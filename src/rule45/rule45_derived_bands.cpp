// The rule of 45 with derived cages on bands: the top 2 to 7 rows, then the leftmost 2 to 7
// columns; what a band leaves over outside or inside it is one cell, which gets its digit, or a
// derived cage of known sum, checked at once.
#include "board/main.h"
#include "rule45/derived_cages.h"
#include "rule45/region.h"

namespace ks {

namespace {

constexpr const char* kText = "REGOLA 45, naked single ";

// The outside single is told in every mode, the inside one only while explaining; both wait at
// the traffic light in "manuale" and "analisi".
constexpr rule45::SingleReport kOutside{kText, kText, true, true, false};
constexpr rule45::SingleReport kInside{kText, kText, false, true, false};

// The deepest search: derived cages of up to six cells.
constexpr int kDeepest = 7;

}  // namespace

// A band of n + 1 rows (columns) sums to 45 x (n + 1); the reasoning is that of a single unit.
// Example: rows 1-2 covered by cages lying in them but for two cages reaching r3c1 and r3c5:
// {r3c1, r3c5} is a derived cage of the cages' sums - 90. A pass of the twelve bands that finds
// nothing lets the next run look at larger derived cages.
void Main::regola45_altri_gruppi_multipli() {
  rule45::erase_derived_cages(*this);
  // The bands are split on the digits and cages read once (the derived cages built on the way
  // leave the real ones as they are), and only those that may give a single or a derived cage
  // (and the last) in full (see RegionRun).
  const rule45::PlainModel* model = rule45::model_for(*this);
  rule45::RegionRun run(*this, model, rule45::kept_counts(*this, model, true));
  for (const UnitKind kind : {UnitKind::Row, UnitKind::Column}) {
    int& unit = kind == UnitKind::Row ? riga : colonna;
    for (int n = 1; n <= 6; ++n) {
      unit = n;
      const rule45::Region r{kind, n, true};
      if (!run.needs(r, kind == UnitKind::Column && n == 6, volteestese)) continue;
      if (rule45::derive_region(*this, r, volteestese, kOutside, kInside, model)) return;
    }
  }
  if (volteestese < kDeepest) ++volteestese;
}

}  // namespace ks
