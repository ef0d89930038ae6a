// The solving memo made and ended where its type is whole.
#include "solving/memo.h"

namespace ks {

Part<SolvingMemo> make_solving_memo() { return Part<SolvingMemo>(new SolvingMemo()); }

void PartEnd::operator()(SolvingMemo* p) const { delete p; }

}  // namespace ks
