// The sum combinations of a cage: the one enumeration behind both generators (distinct digits,
// or digits that may repeat), the placement test the combinations are filtered by, and their
// common digits.
#include <array>
#include <cstdint>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "sums/sums_memo.h"
#include "sums/cage_cells.h"

namespace ks {
namespace sums {
namespace {

// Non-decreasing digit strings for the cells level..n-1: digits from `lo` up, each a candidate
// somewhere in the cage, adding up to `rest`; found in ascending text order. Partial sums prune
// the search, which finds the same strings, in the same order, as trying every string would.
template <typename Found>
void repeat_sets(const CageCells& cage, int level, int lo, int rest, std::array<int, 5>& digits,
                 Found& found) {
  const int left = cage.n - level;  // digits still to choose, this one included
  const int top = 9 * (left - 1);   // the most the rest can add
  for (int d = lo; d <= 9; ++d) {
    if (left * d > rest) break;  // the least from here
    if (d + top < rest) continue;
    if (!(cage.any & (1u << d))) continue;
    digits[level] = d;
    if (left == 1)
      found(digits);
    else
      repeat_sets(cage, level + 1, d, rest - d, digits, found);
  }
}

// The sets of n distinct digits (n = 2..5) adding up to each sum, as digit bits, in ascending
// text order of their digit strings: sets[first[n][s] .. first[n][s + 1] - 1].
struct DistinctSets {
  static constexpr int kTopSum = 36;  // above the largest sum of five digits, 35
  std::array<std::uint16_t, 400> sets{};
  std::array<std::array<std::uint16_t, kTopSum + 2>, 6> first{};
};

// Calls found(sum, bits) for every n-subset of 1..9, as ascending digit strings in ascending
// order.
template <typename Found>
constexpr void each_distinct_set(int n, Found found) {
  std::array<int, 5> d{};
  for (int i = 0; i < n; ++i) d[i] = i + 1;
  while (true) {
    int sum = 0;
    unsigned bits = 0;
    for (int i = 0; i < n; ++i) {
      sum += d[i];
      bits |= 1u << d[i];
    }
    found(sum, bits);
    int i = n - 1;
    while (i >= 0 && d[i] == 9 - (n - 1 - i)) --i;
    if (i < 0) return;
    ++d[i];
    for (int j = i + 1; j < n; ++j) d[j] = d[j - 1] + 1;
  }
}

// The subsets of each size are walked twice: once to count each sum's sets, which places the
// runs, then to write each set at the end of its run, so a run keeps the walk's order.
constexpr DistinctSets make_distinct_sets() {
  DistinctSets t;
  int at = 0;
  for (int n = 2; n <= 5; ++n) {
    std::array<int, DistinctSets::kTopSum + 1> next{};  // a count, then the run's next slot
    each_distinct_set(n, [&](int sum, unsigned) { ++next[sum]; });
    for (int s = 0; s <= DistinctSets::kTopSum; ++s) {
      t.first[n][s] = static_cast<std::uint16_t>(at);
      const int count = next[s];
      next[s] = at;
      at += count;
    }
    t.first[n][DistinctSets::kTopSum + 1] = static_cast<std::uint16_t>(at);
    each_distinct_set(n, [&](int sum, unsigned bits) {
      t.sets[next[sum]++] = static_cast<std::uint16_t>(bits);
    });
  }
  return t;
}
constexpr DistinctSets kDistinctSets = make_distinct_sets();

}  // namespace

namespace {

SumsMemo::ComboKey key_of(const Main& m, int g, const CageCells& cage, bool repeats) {
  const Value& sum = m.sommagruppo[static_cast<size_t>(g)];
  SumsMemo::ComboKey key;
  key.repeats = repeats;
  key.sum_is_number = sum.is_number();
  key.n = static_cast<std::int8_t>(cage.n);
  key.sum = sum.as_int();
  for (size_t i = 0; i < 5; ++i) {
    key.cell[i] = static_cast<std::int8_t>(cage.cell[i]);
    key.cand[i] = static_cast<std::uint16_t>(cage.cand[i]);
  }
  key.clash = repeats ? cage.clash_bits : 0;  // distinct digits never meet a clash
  return key;
}

SumsMemo::Combinations& slot_of(Main& m, const SumsMemo::ComboKey& key) {
  std::uint64_t h = static_cast<std::uint64_t>(static_cast<std::uint32_t>(key.sum)) << 8 |
                    static_cast<std::uint64_t>(key.n) << 2 | (key.repeats ? 2u : 0u) |
                    (key.sum_is_number ? 1u : 0u);
  h = (h ^ key.clash) * 0x9E3779B97F4A7C15ull;
  for (size_t i = 0; i < 5; ++i)
    h = (h ^ (static_cast<std::uint64_t>(static_cast<std::uint8_t>(key.cell[i])) << 16 | key.cand[i])) *
        0x9E3779B97F4A7C15ull;
  return m.sums_memo->combinations[(h >> 40) % SumsMemo::kCombinationSlots];
}

}  // namespace

TableSlot table_slot(Main& m, int g, const CageCells& cage, bool repeats) {
  TableSlot slot;
  if (cage.n == 0 || g < 0 || g >= kCageSlots) return slot;
  slot.key = key_of(m, g, cage, repeats);
  slot.entry = &slot_of(m, slot.key);
  return slot;
}

SumsMemo::Combinations* same_enumeration(Main& m, int g, const CageCells& cage, bool repeats) {
  return table_slot(m, g, cage, repeats).known();
}

// The combinations are written one by one, all of them joined into stringa, then their count and
// their common digits; none at all is a contradiction of the cage. An entry that already holds
// what it is to hold is left as it is.
void write_combinations(Main& m, int g, const SumsMemo::Combinations& known, bool to_stringa) {
  const auto G = static_cast<size_t>(g);
  const auto n = static_cast<size_t>(known.n);
  bool rewritten = false;
  for (int k = 0; k < known.count; ++k) {
    std::string& entry = m.elencosomme[G][static_cast<size_t>(k) + 1];
    const char* digits = known.joined.data() + n * static_cast<size_t>(k);
    if (entry.size() != n) {
      entry.assign(digits, n);
      rewritten = true;
      continue;
    }
    for (size_t i = 0; i < n; ++i) {
      if (entry[i] == digits[i]) continue;
      entry[i] = digits[i];
      rewritten = true;
    }
  }
  if (rewritten) ++m.sums_memo->table_writes[G];
  if (to_stringa) m.stringa = known.joined;
  if (!m.numerosomme[G].is(known.count)) m.numerosomme[G] = known.count;
  if (m.numeriobbligati[G] != known.common) m.numeriobbligati[G] = known.common;
  if (known.count > 0) return;
  if (m.incongruenza) {
    const int cell = m.cage_cell(g, 1);
    m.log_line(" IMPOSSIBILE, nessuna somma possibile per il gruppo " +
               (cell >= 0 ? m.rc(cell) : std::string()));
  }
  m.gruppoproblema = g;
  m.problema = true;
}

// An enumeration on the same inputs as the one remembered finds the same combinations: they are
// stored again from the memo, in the same order, without the search. A new enumeration forgets
// what the sum checks found on the old inputs.
void store_combinations(Main& m, int g, bool repeats) {
  const CageCells cage(m, g, repeats);
  store_combinations(m, g, cage, table_slot(m, g, cage, repeats), repeats);
}

void store_combinations(Main& m, int g, const CageCells& cage, const TableSlot& slot,
                        bool repeats) {
  m.stringa.clear();
  if (cage.n == 0 || slot.entry == nullptr) return;
  if (const SumsMemo::Combinations* known = slot.known(); known && m.memos_enabled) {
    write_combinations(m, g, *known);
    return;
  }
  const SumsMemo::ComboKey& key = slot.key;
  SumsMemo::Combinations& known = *slot.entry;
  const Value& sum = m.sommagruppo[g];
  known.valid = false;
  known.quiet_sum_check = known.quiet_deep = known.quiet_derived = false;
  known.count = 0;
  known.joined.clear();
  // The digits every combination holds, as numeri_comuni_somme reads them from the table.
  unsigned common = 0x3FE;
  if (sum.is_number() && !repeats) {
    const int s = sum.as_int();
    if (s >= 0 && s <= DistinctSets::kTopSum) {
      const auto& first = kDistinctSets.first[static_cast<size_t>(cage.n)];
      for (int k = first[static_cast<size_t>(s)]; k < first[static_cast<size_t>(s) + 1]; ++k) {
        const unsigned set = kDistinctSets.sets[static_cast<size_t>(k)];
        if ((set & ~cage.any) || !distinct_digits_fit(cage.cand.data(), cage.n, set) ||
            known.count >= kMaxCombos)
          continue;
        ++known.count;
        common &= set;
        known.joined += mask_digits(set);
      }
    }
  } else if (sum.is_number()) {
    std::array<int, 5> digits{};
    auto found = [&](const std::array<int, 5>& d) {
      if (!cage.placeable(d) || known.count >= kMaxCombos) return;
      ++known.count;
      unsigned set = 0;
      for (int i = 0; i < cage.n; ++i) {
        known.joined += static_cast<char>('0' + d[static_cast<size_t>(i)]);
        set |= 1u << d[static_cast<size_t>(i)];
      }
      common &= set;
    };
    repeat_sets(cage, 0, 1, sum.as_int(), digits, found);
  }
  known.key = key;
  known.n = cage.n;
  known.common = known.count > 0 ? mask_digits(common) : std::string_view();
  known.valid = true;
  write_combinations(m, g, known);
}

}  // namespace sums

// Combinations of a real cage, or of a derived cage lying in one row, column or box: the sets of
// n distinct digits (n = 2..5 empty cells) that add up to the remaining sum, use only digits still
// possible in the cage, and can be placed one per cell on the cells' candidates.
// Example: 3 empty cells, remaining sum 10, no candidate excluded -> 127, 136, 145, 235.
void Main::calcola_somme_gruppo(int cage) {
  sums::store_combinations(*this, cage, false);
}

bool Main::numero_possibile_nel_gruppo(int digit, int cage) {
  if (cage < 0 || cage >= kCageSlots || digit < 1 || digit > 9) return false;
  const char c = static_cast<char>('0' + digit);
  const int n = elementigruppo[cage].as_int();
  for (int i = 1; i <= n && i <= 7; ++i) {
    const int cell = cage_cell(cage, i);
    if (cell >= 0 && Text2[cell].text().find(c) != std::string::npos) return true;
  }
  return false;
}

// Placement test: the digits of the text can be given one to each empty cell of the cage, every
// cell getting one of its candidates, and no two cells that share a row, column, box or real cage
// getting the same digit. Example: cells r1c1 "3", r1c2 "3", r1c3 "12" cannot hold 123.
bool Main::combinazione_collocabile(int g, const std::string& combinazione) {
  const sums::CageCells cage(*this, g);
  if (cage.n == 0 || static_cast<int>(combinazione.size()) != cage.n) return false;
  std::array<int, 5> digits{};
  for (int i = 0; i < cage.n; ++i) {
    const char c = combinazione[i];
    if (c < '1' || c > '9') return false;
    digits[i] = c - '0';
  }
  return cage.placeable(digits);
}

// The digits found in every stored combination of the cage, ascending; stored in
// numeriobbligati. Example: 125 and 134 -> "1".
std::string Main::numeri_comuni_somme(int cage) {
  if (cage < 0 || cage >= kCageSlots) return "";
  std::string& common = numeriobbligati[cage];
  common.clear();
  int count = numerosomme[cage].as_int();
  if (count > kMaxCombos) count = kMaxCombos;
  if (count < 1) return common;
  const auto& list = elencosomme[cage];
  for (char c : list[1]) {
    bool everywhere = true;
    for (int k = 2; k <= count && everywhere; ++k)
      everywhere = list[k].find(c) != std::string::npos;
    if (everywhere && common.find(c) == std::string::npos) common += c;
  }
  return common;
}

}  // namespace ks
