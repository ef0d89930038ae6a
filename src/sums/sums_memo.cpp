// The sum checks' memo made and ended where its type is whole.
#include "sums/sums_memo.h"

namespace ks {

Part<SumsMemo> make_sums_memo() { return Part<SumsMemo>(new SumsMemo()); }

void PartEnd::operator()(SumsMemo* p) const { delete p; }

}  // namespace ks
