// The rule of 45 on bands: the top 2 to 7 rows, then the leftmost 2 to 7 columns, hold 45 per
// unit; cages that stick out of a band by one cell, or leave one cell of the band outside the
// cages lying wholly in it, give that cell its digit.
#include "board/main.h"
#include "rule45/region.h"

namespace ks {

namespace {

// The rows' outside hint says "multiple"; their log lines and inside hint say "multipl".
constexpr const char* kRows = "REGOLA 45 su righe multiple, naked single ";
constexpr const char* kRowsLog = "REGOLA 45 su righe multipl, naked single ";
constexpr const char* kColumns = "REGOLA 45 su colonne multiple, naked single ";

// A band of n + 1 rows sums to 45 x (n + 1); the reasoning is that of a single unit. Example:
// rows 1-2 covered by cages lying in them, but for one cage that reaches r3c4: r3c4 = the cages'
// sums - 90. An outside single is told in every mode, an inside one only while explaining.
constexpr rule45::SingleReport kRowsOutside{kRows, kRowsLog, true, true, false};
constexpr rule45::SingleReport kRowsInside{kRowsLog, kRowsLog, false, true, false};
constexpr rule45::SingleReport kColumnsOutside{kColumns, kColumns, true, true, false};
constexpr rule45::SingleReport kColumnsInside{kColumns, kColumns, false, true, false};

}  // namespace

// Bands of rows 0..n for n = 1..6, then of columns 0..n; the first band that gives a single
// ends the call.
// The bands are split on the digits and cages read once, and only those that may give a single
// (and the last) in full (see RegionRun).
void Main::regola45_righe_colonne_multiple() {
  modificato = false;
  const rule45::PlainModel* model = rule45::model_for(*this);
  rule45::RegionRun run(*this, model, rule45::kept_counts(*this, model, true));
  for (int n = 1; n <= 6; ++n) {
    riga = n;
    const rule45::Region r{UnitKind::Row, n, true};
    if (!run.needs(r, false)) continue;
    if (rule45::region_single(*this, r, kRowsOutside, kRowsInside, model)) return;
  }
  for (int n = 1; n <= 6; ++n) {
    colonna = n;
    const rule45::Region r{UnitKind::Column, n, true};
    if (!run.needs(r, n == 6)) continue;
    if (rule45::region_single(*this, r, kColumnsOutside, kColumnsInside, model)) return;
  }
}

}  // namespace ks
