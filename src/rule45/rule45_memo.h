// What the rule of 45 remembers between calls to skip work whose outcome is known: the board as
// its splits last read it, the counts of the splits on it, and what the last call that found
// nothing left (Main::memos_enabled).
#pragma once

#include <array>

#include "board/main.h"
#include "rule45/region.h"

namespace ks {

// The digits and cages as the procedures last read them and the counts of the splits of the
// units and of the bands on them (shared by all the procedures, see RegionRun), so that a call
// counts again only the regions that changed; and, when the last call of the procedure on single
// units found nothing (quiet), the lists it left: cella and gruppo, the inside list's entries
// 1..longest (the longest list of the call), the last unit's touching cages (gruppiregione
// 1..cages) and outside list (celleesterne 1..outside), and el_interni.
struct Rule45Memo {
  bool quiet = false;
  rule45::Reading reading;
  rule45::KeptCounts units, bands;
  int cella = 0;
  int gruppo = 0;
  int longest = 0;
  std::array<Value, kCells> inside{};
  int cages = 0;
  std::array<Value, kCells> touching{};
  int outside = 0;
  std::array<Value, kCells> outside_list{};
  int el_interni = 0;
};

}  // namespace ks
