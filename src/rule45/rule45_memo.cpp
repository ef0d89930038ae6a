// The rule of 45's memo made and ended where its type is whole.
#include "rule45/rule45_memo.h"

namespace ks {

Part<Rule45Memo> make_rule45_memo() { return Part<Rule45Memo>(new Rule45Memo()); }

void PartEnd::operator()(Rule45Memo* p) const { delete p; }

}  // namespace ks
