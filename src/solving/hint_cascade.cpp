// The hint command: the techniques in a fixed order, in step mode, up to the first one that finds
// something, which explains its step and waits at the traffic light; when none finds anything the
// command deepens its search and runs itself again. And the commands that run one technique once.
#include <array>

#include "solving/rungs.h"

namespace ks {

namespace {

using ladder::Next;
using ladder::Rung;
using rungs::on_not_found;

constexpr Rung tagged(Rung r, const char* origine) {
  r.origine = origine;
  return r;
}

// Every step of the cascade ends the command once it has been shown.
constexpr Rung hint(Rung r) {
  r.on_success = ladder::leave;
  return r;
}

Next hint_pass_start(Main& m) {
  m.modificato = false;
  return Next::Rung;
}

// None of the first thirteen found anything: the first time, the deep sum analysis is switched
// on and the whole cascade runs again; afterwards the rule of 45 on bands and with derived
// cages is tried.
Next deep_sums_or_rule45(Main& m) {
  if (m.varcontrolloesteso) return Next::Rung;
  m.varcontrolloesteso = true;
  m.mnuposition_Click();
  return Next::Leave;
}

// Nothing at all: the rule of 45 has deepened its search (volte up to 6, volteestese up to 7), so
// the cascade runs again while the bands' depth is 5 or less, and once more when the units' depth
// has grown. A contradiction on the board ends it: the rule of 45 meets it again without
// deepening, and the cascade would call itself for ever.
Next deeper_rule45(Main& m) {
  if (m.volteestese > 5 || m.problema) return Next::Leave;
  m.mnuposition_Click();
  if (m.volte > 3) {
    m.varcontrolloesteso = true;
    m.mnuposition_Click();
  }
  return Next::Leave;
}

// Unlike the rating ladder: the naked pair before the cage pairs, the required digits and cage
// against cage before box-line and the hidden pair, no cage-against-line interactions, no levels.
constexpr std::array<Rung, 16> kHintCascade{
    hint(rungs::kNakedSingle),
    hint(rungs::kNakedPair),
    hint(tagged(rungs::kCagePairs, "cerca_celle_con_valore_unico")),
    hint(rungs::kRule45Single),
    hint(rungs::kHiddenBox),
    hint(rungs::kHiddenRow),
    hint(rungs::kHiddenColumn),
    hint(rungs::kSumCheck),
    hint(rungs::kRequiredDigits),
    hint(rungs::kCageCage),
    hint(rungs::kBoxLine),
    hint(rungs::kHiddenPair),
    hint(on_not_found(rungs::kNakedTriple, deep_sums_or_rule45)),
    hint(rungs::kRule45Bands),
    hint(rungs::kRule45Derived),
    hint(on_not_found(rungs::kRule45DerivedBands, deeper_rule45)),
};

}  // namespace

void Main::mnuposition_Click() {
  testoselezionato = "b";
  chiamante = mode::kManuale;
  calling = "";
  ladder::run_ladder(*this, {kHintCascade, hint_pass_start});
}

// The three one-technique commands run in the modes that stand: in step mode after a board reset
// (they explain and wait at the traffic light), at once after a full solve.
void Main::mnuhidden_Click() { hiddenpair(); }

void Main::mnurestricted_Click() { interazione_settore_riga_colonna(); }

void Main::esegui_nakedpair() { nakedpair(); }

}  // namespace ks
