// Derived cages of the rule of 45: groups of empty cells whose sum the rule works out, kept in
// the cage model after the real cages, and the derivation step that single units and bands share.
#pragma once

#include <span>

#include "board/main.h"
#include "rule45/region.h"

namespace ks::rule45 {

// A derived cage is a cage record numbered gruppi + 1 .. gruppo1 (gruppo1 = gruppi: none):
// sommagruppo its sum, elementigruppo its cell count, cellegruppo[g][1..count] its cells. Its
// cells keep their real cage in gruppodicella; nuovogruppodicella1 (else nuovogruppodicella2)
// names the derived cage a cell was put in. Cell entry never updates a derived cage: it lives
// as built until the next derivation run erases it.

// Erases every derived cage (its cells' first mark, its cell list, its sum and required digits)
// and sets gruppo1 back to gruppi and modificato to false: the start of each derivation run.
void erase_derived_cages(Main& m);

// The next derived cage: the cells list[1..count] (a 1-based list of the rule of 45) with the
// given sum. Its number, or -1 when it has not 2..kMaxCageCells cells or its number would fall
// outside the cage tables (the run then builds no more cages; counted in safety_stops).
int new_derived_cage(Main& m, std::span<const Value> list, int count, int sum);

// The sum check of the derived cages lo..hi, in ascending order (controllo_somme_nuovi_gruppi
// without the kEveryCage that names them all). Stops at the first cage that changes something, is
// refused at the traffic light, or meets a contradiction.
void derived_sum_check(Main& m, int lo, int hi);

// The rule of 45 on a region with derived cages no larger than depth - 1 cells: the one outside
// cell gets its digit; else two or more outside cells become a derived cage, checked at once;
// then the same for the inside cells of the cages that stick out (split on the model, when
// given: see gather_and_split). True when the run must end there: a single was placed, refused or found contradictory, or a sum check changed something
// or met a contradiction.
bool derive_region(Main& m, const Region& r, int depth, const SingleReport& outside,
                   const SingleReport& inside, const PlainModel* model = nullptr);

}  // namespace ks::rule45
