// The rule-of-45 procedures of Main as one table run by one routine: the rule on single units and
// on bands, each giving singles only or also derived cages. The "45" button runs the first.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "board/main.h"
#include "rule45/derived_cages.h"
#include "rule45/region.h"
#include "rule45/rule45_memo.h"

namespace ks {

namespace {

using rule45::SingleReport;

// The texts of the singles. The rows' outside hint on bands says "multiple"; their log lines and
// inside hint say "multipl".
constexpr const char* kText = "REGOLA 45, naked single ";
constexpr const char* kRows = "REGOLA 45 su righe multiple, naked single ";
constexpr const char* kRowsLog = "REGOLA 45 su righe multipl, naked single ";
constexpr const char* kColumns = "REGOLA 45 su colonne multiple, naked single ";

// Singles told in every mode that wait at the traffic light in "manuale" only, or in "analisi" as
// well.
constexpr SingleReport kManuale{kText, kText, true, false, false};
constexpr SingleReport kAnalisi{kText, kText, true, true, false};
// The inside single of a row on single units: one that meets a contradiction is no change.
constexpr SingleReport kRowInside{kText, kText, true, false, true};
constexpr SingleReport kDerivedRowInside{kText, kText, true, true, true};
// On bands an outside single is told in every mode, an inside one only while explaining; both
// wait at the traffic light in "manuale" and "analisi".
constexpr SingleReport kBandInside{kText, kText, false, true, false};
constexpr SingleReport kRowsOutside{kRows, kRowsLog, true, true, false};
constexpr SingleReport kRowsInside{kRowsLog, kRowsLog, false, true, false};
constexpr SingleReport kColumnsOutside{kColumns, kColumns, true, true, false};
constexpr SingleReport kColumnsInside{kColumns, kColumns, false, true, false};

// What a procedure does with a region that may act.
enum class Routine {
  Single,   // rule45::region_single: the one cell on a side gets its digit
  Derived,  // rule45::derive_region: a few cells on a side also make a derived cage, checked at once
};

// One pass of a procedure: the regions ending at units first..last of one kind, in turn; the
// shared variable holding the unit of the region at hand, and what it holds after the whole pass;
// the texts of the pass's outside and inside singles.
struct Pass {
  UnitKind kind;
  int first, last;
  int Main::*unit;
  int leaves;
  const SingleReport* outside;
  const SingleReport* inside;
};

// A procedure: its passes (passes[0..n_passes - 1], in order; the first region that ends the
// call ends it), whether its regions are single units or bands (see rule45::Region), its routine
// with, for derived cages, the depth variable raised after a call that found nothing (up to
// deepest), and whether a call that found nothing is remembered so that a call on the same digits
// and cages replays what it left (quiet).
struct Procedure {
  std::array<Pass, 3> passes;
  int n_passes;
  bool bands;
  Routine routine;
  int Main::*depth;
  int deepest;
  bool quiet;
};

enum ProcedureId { kUnitSingles, kBandSingles, kUnitDerived, kBandDerived };

constexpr Procedure kProcedures[] = {
    // kUnitSingles, Main::regola45_naked_single.
    // The cages with an empty cell in a unit hold, in their remaining sums S, the unit's empty
    // cells (which sum to T, 45 minus the digits placed) plus the cells that stick out. So:
    // - one cell sticks out: it holds S - T. Example: row 1 empty, r1c1..r1c8 in cages lying in
    //   row 1 with sums 21 and 17, r1c9 in cage {r1c9, r2c9} of sum 16: r2c9 = 54 - 45 = 9;
    // - otherwise, the cages lying wholly inside sum to S'; when the cages that stick out have
    //   one cell inside, it holds T - S'. Example: box 1 holds cages of sums 21 and 17 (8 cells)
    //   and r3c3 of a cage running down column 3: r3c3 = 45 - 38 = 7.
    // Boxes, then rows, then columns, each 0..8; the first unit that gives a single ends the
    // call. The units are split on the digits and cages read once, and only those that may give
    // a single (and the last) in full (see RegionRun), on counts kept between calls
    // (KeptCounts). A call on the same digits and cages as a call that found nothing finds
    // nothing again, and leaves the lists as that call left them (the lists of the last column,
    // cella and gruppo, the inside list's tail): they are written as a split writes them.
    {.passes = {{{UnitKind::Box, 0, 8, &Main::settore, 9, &kManuale, &kAnalisi},
                 {UnitKind::Row, 0, 8, &Main::riga, 9, &kManuale, &kRowInside},
                 {UnitKind::Column, 0, 8, &Main::colonna, 9, &kManuale, &kManuale}}},
     .n_passes = 3,
     .bands = false,
     .routine = Routine::Single,
     .depth = nullptr,
     .deepest = 0,
     .quiet = true},
    // kBandSingles, Main::regola45_righe_colonne_multiple.
    // The top 2 to 7 rows, then the leftmost 2 to 7 columns, hold 45 per unit; cages that stick
    // out of a band by one cell, or leave one cell of the band outside the cages lying wholly in
    // it, give that cell its digit. A band of n + 1 rows sums to 45 x (n + 1); the reasoning is
    // that of a single unit. Example: rows 1-2 covered by cages lying in them, but for one cage
    // that reaches r3c4: r3c4 = the cages' sums - 90.
    // Bands of rows 0..n for n = 1..6, then of columns 0..n; the first band that gives a single
    // ends the call. The bands are split on the digits and cages read once, and only those that
    // may give a single (and the last) in full (see RegionRun).
    {.passes = {{{UnitKind::Row, 1, 6, &Main::riga, 6, &kRowsOutside, &kRowsInside},
                 {UnitKind::Column, 1, 6, &Main::colonna, 6, &kColumnsOutside, &kColumnsInside}}},
     .n_passes = 2,
     .bands = true,
     .routine = Routine::Single,
     .depth = nullptr,
     .deepest = 0,
     .quiet = false},
    // kUnitDerived, Main::regola45_altri_gruppi.
    // The cages touching a unit hold, in their remaining sums S, the unit's empty cells (which
    // sum to T, 45 less the digits placed) and the cells sticking out. So the cells outside sum
    // to S - T, and the unit's cells in cages that stick out to T less the sums of the cages
    // wholly inside. One such cell gets that digit; fewer than `volte` cells make a derived cage
    // of that sum. Example: box 1 holds a cage of sum 21 over its first two rows and {r3c1, r3c2,
    // r3c3, r4c1, r4c2} of sum 27: the cells sticking out, {r4c1, r4c2}, are a derived cage of
    // sum 21 + 27 - 45 = 3, so both keep only 1 and 2.
    // Boxes, then rows, then columns, each 0..8. A pass of the 27 units that finds nothing lets
    // the next run look at larger derived cages, of up to five cells. The units are split on the
    // digits and cages read once (the derived cages built on the way leave the real ones as they
    // are), and only those that may give a single or a derived cage (and the last) in full (see
    // RegionRun).
    {.passes = {{{UnitKind::Box, 0, 8, &Main::settore, 9, &kAnalisi, &kAnalisi},
                 {UnitKind::Row, 0, 8, &Main::riga, 9, &kAnalisi, &kDerivedRowInside},
                 {UnitKind::Column, 0, 8, &Main::colonna, 9, &kAnalisi, &kAnalisi}}},
     .n_passes = 3,
     .bands = false,
     .routine = Routine::Derived,
     .depth = &Main::volte,
     .deepest = 6,
     .quiet = false},
    // kBandDerived, Main::regola45_altri_gruppi_multipli.
    // The top 2 to 7 rows, then the leftmost 2 to 7 columns; what a band leaves over outside or
    // inside it is one cell, which gets its digit, or a derived cage of known sum, checked at
    // once. A band of n + 1 rows (columns) sums to 45 x (n + 1); the reasoning is that of a
    // single unit. Example: rows 1-2 covered by cages lying in them but for two cages reaching
    // r3c1 and r3c5: {r3c1, r3c5} is a derived cage of the cages' sums - 90.
    // A pass of the twelve bands that finds nothing lets the next run look at larger derived
    // cages, of up to six cells. The bands are split on the digits and cages read once (the
    // derived cages built on the way leave the real ones as they are), and only those that may
    // give a single or a derived cage (and the last) in full (see RegionRun).
    {.passes = {{{UnitKind::Row, 1, 6, &Main::riga, 6, &kAnalisi, &kBandInside},
                 {UnitKind::Column, 1, 6, &Main::colonna, 6, &kAnalisi, &kBandInside}}},
     .n_passes = 2,
     .bands = true,
     .routine = Routine::Derived,
     .depth = &Main::volteestese,
     .deepest = 7,
     .quiet = false},
};

// A quiet call's replay: the lists as the remembered call that found nothing left them.
template <const Procedure& P, class Memo>
void replay_quiet(Main& m, const Memo& known) {
  for (int j = 0; j < P.n_passes; ++j) {
    const Pass& p = P.passes[static_cast<size_t>(j)];
    m.*p.unit = p.leaves;
  }
  m.cella = known.cella;
  m.gruppo = known.gruppo;
  for (int k = 1; k <= known.longest; ++k)
    m.celleinterne[static_cast<size_t>(k)] = known.inside[static_cast<size_t>(k)];
  // As gather_and_split clears and writes the lists of the cages and of the outside cells.
  for (size_t k = 1; k < m.gruppiregione.size() && !m.gruppiregione[k].is_empty(); ++k)
    m.gruppiregione[k] = Value::empty();
  m.gruppiregione[0] = kListEnd;
  for (int k = 1; k <= known.cages; ++k)
    m.gruppiregione[static_cast<size_t>(k)] = known.touching[static_cast<size_t>(k)];
  for (int k = 1; k <= m.el_esterni && k < static_cast<int>(m.celleesterne.size()); ++k)
    m.celleesterne[static_cast<size_t>(k)] = Value::empty();
  for (int k = 1; k <= known.outside; ++k)
    m.celleesterne[static_cast<size_t>(k)] = known.outside_list[static_cast<size_t>(k)];
  m.el_esterni = known.outside;
  m.el_interni = known.el_interni;
}

// Remembers the lists a call that found nothing left, `longest` the longest inside list of the
// call.
template <class Memo>
void remember_quiet(const Main& m, Memo& known, int longest) {
  known.quiet = true;
  known.cella = m.cella;
  known.gruppo = m.gruppo;
  known.longest = longest;
  std::copy(m.celleinterne.begin() + 1, m.celleinterne.begin() + 1 + longest,
            known.inside.begin() + 1);
  known.cages = 0;
  while (known.cages + 1 < kCells &&
         !m.gruppiregione[static_cast<size_t>(known.cages) + 1].is_empty()) {
    ++known.cages;
    known.touching[static_cast<size_t>(known.cages)] =
        m.gruppiregione[static_cast<size_t>(known.cages)];
  }
  known.outside = std::min(m.el_esterni, kCells - 1);
  std::copy(m.celleesterne.begin() + 1, m.celleesterne.begin() + 1 + known.outside,
            known.outside_list.begin() + 1);
  known.el_interni = m.el_interni;
}

// Pass J of procedure P; true when a region ended the call. `longest` follows the inside lists
// the regions leave, for a procedure that remembers quiet calls.
template <const Procedure& P, size_t J>
bool run_pass(Main& m, rule45::RegionRun& run, const rule45::PlainModel* model, int& longest) {
  constexpr const Pass& p = P.passes[J];
  int& unit = m.*p.unit;
  for (int n = p.first; n <= p.last; ++n) {
    unit = n;
    const rule45::Region r{p.kind, n, P.bands};
    const bool last = J + 1 == static_cast<size_t>(P.n_passes) && n == p.last;
    if constexpr (P.routine == Routine::Single) {
      if (run.needs(r, last) && rule45::region_single(m, r, *p.outside, *p.inside, model))
        return true;
    } else {
      if (run.needs(r, last, m.*P.depth) &&
          rule45::derive_region(m, r, m.*P.depth, *p.outside, *p.inside, model))
        return true;
    }
    if constexpr (P.quiet) longest = std::max(longest, run.inside_after());
  }
  if constexpr (p.leaves != p.last) unit = p.leaves;  // else the loop ended on it
  return false;
}

template <const Procedure& P, size_t... J>
bool run_passes(Main& m, rule45::RegionRun& run, const rule45::PlainModel* model, int& longest,
                std::index_sequence<J...>) {
  return (run_pass<P, J>(m, run, model, longest) || ...);
}

// Procedure P; `known` the memo of its quiet calls, for a procedure that remembers them.
template <const Procedure& P, class Memo = std::nullptr_t>
[[gnu::always_inline]] inline void run_procedure(Main& m, Memo* known = nullptr) {
  if constexpr (P.routine == Routine::Derived)
    rule45::erase_derived_cages(m);
  else
    m.modificato = false;
  const rule45::PlainModel* model = rule45::model_for(m);
  if constexpr (P.quiet) {
    const std::uint32_t changed =
        model != nullptr ? known->reading.take_changed(rule45::Reading::kUnits) : rule45::kAllUnits;
    if (model != nullptr && changed == 0 && known->quiet) {
      replay_quiet<P>(m, *known);
      return;
    }
    known->quiet = false;
  }
  rule45::RegionRun run(m, model, rule45::kept_counts(m, model, P.bands));
  int longest = 0;
  if (run_passes<P>(m, run, model, longest,
                    std::make_index_sequence<static_cast<size_t>(P.n_passes)>{}))
    return;
  if constexpr (P.quiet) {
    if (model != nullptr) remember_quiet(m, *known, longest);
  }
  if constexpr (P.routine == Routine::Derived) {
    if (m.*P.depth < P.deepest) ++(m.*P.depth);
  }
}

}  // namespace

void Main::regola45_naked_single() {
  Rule45Memo& known = *rule45_memo;
  run_procedure<kProcedures[kUnitSingles]>(*this, &known);
}

void Main::regola45_righe_colonne_multiple() { run_procedure<kProcedures[kBandSingles]>(*this); }

void Main::regola45_altri_gruppi() { run_procedure<kProcedures[kUnitDerived]>(*this); }

void Main::regola45_altri_gruppi_multipli() { run_procedure<kProcedures[kBandDerived]>(*this); }

void Main::Command3_Click() { regola45_naked_single(); }

}  // namespace ks
