// The rule-of-45 procedures of Main: the rule on single units and on bands, each giving singles
// only or also derived cages, over one routine that takes the regions in turn. The "45" button
// runs the first.
#include <algorithm>
#include <cstddef>
#include <cstdint>

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
constexpr SingleReport kManuale{.hint = kText, .log = kText, .explain_always = true};
constexpr SingleReport kAnalisi{
    .hint = kText, .log = kText, .explain_always = true, .gate_in_analisi = true};

// The singles of one kind of region: those of the one cell outside it and of the one cell inside.
struct Singles {
  const SingleReport* outside = nullptr;
  const SingleReport* inside = nullptr;
};

// The regions of a procedure and how their singles are told. Single units: boxes, then rows,
// then columns, each 0..8; bands: rows 0..n, then columns 0..n, for n = 1..6. The shared
// variable of the kind (settore, riga, colonna) holds the unit of the region at hand, and after
// a kind that gave nothing 9 on single units, 6 on bands.
struct Procedure {
  bool bands = false;
  Singles box{}, row{}, column{};  // no box on bands
};

// The regions of procedure p ending at the units of one kind, in turn, `unit` the shared variable
// of the kind; true when a region ended the call (see run_regions). `most` follows the longest
// inside list the regions leave. Inline, so that each kind's loop is compiled with its kind and
// costs no more than one written out per kind.
inline bool run_kind(Main& m, rule45::RegionRun& run, const Procedure& p, UnitKind kind,
                     int& unit, const Singles& singles, const rule45::PlainModel* model,
                     const int* depth, int& most) {
  const int first = p.bands ? 1 : 0, last = p.bands ? 6 : 8;
  for (int n = first; n <= last; ++n) {
    unit = n;
    const rule45::Region r{kind, n, p.bands};
    const bool call_last = kind == UnitKind::Column && n == last;
    if (depth == nullptr) {
      if (run.needs(r, call_last) &&
          rule45::region_single(m, r, *singles.outside, *singles.inside, model))
        return true;
    } else {
      if (run.needs(r, call_last, *depth) &&
          rule45::derive_region(m, r, *depth, *singles.outside, *singles.inside, model))
        return true;
    }
    most = std::max(most, run.inside_after());
  }
  if (!p.bands) unit = last + 1;
  return false;
}

// The regions of procedure p in turn, each given to rule45::region_single or, with `depth` (the
// procedure's depth variable), to rule45::derive_region with derived cages of fewer than *depth
// cells; only those that may act (and the last) are split in full (see RegionRun). True when a
// region ended the call. `longest`, when given, gets the longest inside list the regions left.
bool run_regions(Main& m, const Procedure& p, const rule45::PlainModel* model, const int* depth,
                 int* longest = nullptr) {
  rule45::RegionRun run(m, model, rule45::kept_counts(m, model, p.bands));
  int most = 0;
  if ((!p.bands && run_kind(m, run, p, UnitKind::Box, m.settore, p.box, model, depth, most)) ||
      run_kind(m, run, p, UnitKind::Row, m.riga, p.row, model, depth, most) ||
      run_kind(m, run, p, UnitKind::Column, m.colonna, p.column, model, depth, most))
    return true;
  if (longest != nullptr) *longest = most;
  return false;
}

// A quiet call's replay: the lists as the remembered call that found nothing left them.
void replay_quiet(Main& m, const Rule45Memo& known) {
  m.settore = 9;
  m.riga = 9;
  m.colonna = 9;
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
void remember_quiet(const Main& m, Rule45Memo& known, int longest) {
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

}  // namespace

// The cages with an empty cell in a unit hold, in their remaining sums S, the unit's empty cells
// (which sum to T, 45 minus the digits placed) plus the cells that stick out. So:
// - one cell sticks out: it holds S - T. Example: row 1 empty, r1c1..r1c8 in cages lying in row
//   1 with sums 21 and 17, r1c9 in cage {r1c9, r2c9} of sum 16: r2c9 = 54 - 45 = 9;
// - otherwise, the cages lying wholly inside sum to S'; when the cages that stick out have one
//   cell inside, it holds T - S'. Example: box 1 holds cages of sums 21 and 17 (8 cells) and r3c3
//   of a cage running down column 3: r3c3 = 45 - 38 = 7.
// The first unit that gives a single ends the call. The units are split on counts kept between
// calls (KeptCounts). A call on the same digits and cages as a call that found nothing finds
// nothing again, and leaves the lists as that call left them (the lists of the last column,
// cella and gruppo, the inside list's tail): they are written as a split writes them.
void Main::regola45_naked_single() {
  // The inside single of a row that meets a contradiction is no change.
  static constexpr SingleReport kRowInside{.hint = kText,
                                           .log = kText,
                                           .explain_always = true,
                                           .modificato_unless_problema = true};
  static constexpr Procedure kUnitSingles{.box = {&kManuale, &kAnalisi},
                                          .row = {&kManuale, &kRowInside},
                                          .column = {&kManuale, &kManuale}};
  modificato = false;
  Rule45Memo& known = *rule45_memo;
  const rule45::PlainModel* model = rule45::model_for(*this);
  const std::uint32_t changed =
      model != nullptr ? known.reading.take_changed(rule45::Reading::kUnits) : rule45::kAllUnits;
  if (model != nullptr && changed == 0 && known.quiet) {
    replay_quiet(*this, known);
    return;
  }
  known.quiet = false;
  int longest = 0;
  if (run_regions(*this, kUnitSingles, model, nullptr, &longest)) return;
  if (model != nullptr) remember_quiet(*this, known, longest);
}

// The top 2 to 7 rows, then the leftmost 2 to 7 columns, hold 45 per unit; cages that stick out
// of a band by one cell, or leave one cell of the band outside the cages lying wholly in it, give
// that cell its digit. A band of n + 1 rows sums to 45 x (n + 1); the reasoning is that of a
// single unit. Example: rows 1-2 covered by cages lying in them, but for one cage that reaches
// r3c4: r3c4 = the cages' sums - 90. The first band that gives a single ends the call.
void Main::regola45_righe_colonne_multiple() {
  // An outside single is told in every mode, an inside one only while explaining; both wait at
  // the traffic light in "manuale" and "analisi".
  static constexpr SingleReport kRowsOutside{
      .hint = kRows, .log = kRowsLog, .explain_always = true, .gate_in_analisi = true};
  static constexpr SingleReport kRowsInside{
      .hint = kRowsLog, .log = kRowsLog, .gate_in_analisi = true};
  static constexpr SingleReport kColumnsOutside{
      .hint = kColumns, .log = kColumns, .explain_always = true, .gate_in_analisi = true};
  static constexpr SingleReport kColumnsInside{
      .hint = kColumns, .log = kColumns, .gate_in_analisi = true};
  static constexpr Procedure kBandSingles{.bands = true,
                                          .row = {&kRowsOutside, &kRowsInside},
                                          .column = {&kColumnsOutside, &kColumnsInside}};
  modificato = false;
  run_regions(*this, kBandSingles, rule45::model_for(*this), nullptr);
}

// The cages touching a unit hold, in their remaining sums S, the unit's empty cells (which sum to
// T, 45 less the digits placed) and the cells sticking out. So the cells outside sum to S - T,
// and the unit's cells in cages that stick out to T less the sums of the cages wholly inside. One
// such cell gets that digit; fewer than `volte` cells make a derived cage of that sum. Example:
// box 1 holds a cage of sum 21 over its first two rows and {r3c1, r3c2, r3c3, r4c1, r4c2} of sum
// 27: the cells sticking out, {r4c1, r4c2}, are a derived cage of sum 21 + 27 - 45 = 3, so both
// keep only 1 and 2.
// A pass of the 27 units that finds nothing lets the next run look at larger derived cages, of
// up to five cells. The derived cages built on the way leave the real cages, which the splits
// read, as they are.
void Main::regola45_altri_gruppi() {
  // The inside single of a row that meets a contradiction is no change.
  static constexpr SingleReport kRowInside{.hint = kText,
                                           .log = kText,
                                           .explain_always = true,
                                           .gate_in_analisi = true,
                                           .modificato_unless_problema = true};
  static constexpr Procedure kUnitDerived{.box = {&kAnalisi, &kAnalisi},
                                          .row = {&kAnalisi, &kRowInside},
                                          .column = {&kAnalisi, &kAnalisi}};
  rule45::erase_derived_cages(*this);
  if (!run_regions(*this, kUnitDerived, rule45::model_for(*this), &volte) && volte < 6) ++volte;
}

// The top 2 to 7 rows, then the leftmost 2 to 7 columns; what a band leaves over outside or
// inside it is one cell, which gets its digit, or a derived cage of known sum, checked at once. A
// band of n + 1 rows (columns) sums to 45 x (n + 1); the reasoning is that of a single unit.
// Example: rows 1-2 covered by cages lying in them but for two cages reaching r3c1 and r3c5:
// {r3c1, r3c5} is a derived cage of the cages' sums - 90.
// A pass of the twelve bands that finds nothing lets the next run look at larger derived cages,
// of up to six cells. The derived cages built on the way leave the real cages as they are.
void Main::regola45_altri_gruppi_multipli() {
  // An outside single is told in every mode, an inside one only while explaining.
  static constexpr SingleReport kBandInside{.hint = kText, .log = kText, .gate_in_analisi = true};
  static constexpr Procedure kBandDerived{
      .bands = true, .row = {&kAnalisi, &kBandInside}, .column = {&kAnalisi, &kBandInside}};
  rule45::erase_derived_cages(*this);
  if (!run_regions(*this, kBandDerived, rule45::model_for(*this), &volteestese) &&
      volteestese < 7)
    ++volteestese;
}

void Main::Command3_Click() { regola45_naked_single(); }

}  // namespace ks
