// The sum check ("CONTROLLO SOMME"): cuts the candidates of a cage's empty cells to the digits of
// its sum combinations, then looks for a required digit with one place, confined digits and, in
// deep mode, unsupported candidates. One call makes one step.
#include <bit>
#include <string>
#include <string_view>

#include "board/main.h"
#include "platform/text.h"
#include "sums/sums_memo.h"
#include "sums/cage_cells.h"

namespace ks {

namespace {

// The technique's tag in origine, written only when it differs: a quiet cage writes it again and
// again.
void tag_sum_check(Main& m) {
  if (m.origine != mode::kSomme1) m.origine = mode::kSomme1;
}

// The header of a cut in the log: a dash line by cage size, the cage's first cell and its sums.
std::string cut_header(Main& m, int g, int n, int first) {
  std::string h;
  if (n == 2) h = "---------------------------\r\n";
  if (n == 4) h = "----------------------\r\n";
  h += "CONTROLLO SOMME - gruppo di " + (first >= 0 ? m.rc(first) : std::string()) + "\r\nsomme ";
  int count = m.numerosomme[g].as_int();
  if (count > kMaxCombos) count = kMaxCombos;
  for (int k = 1; k <= count; ++k) {
    h += m.elencosomme[g][k];
    h += ',';
  }
  return h;
}

// One cell of cage g (n empty cells, the first of them `first`) takes the cut: outside cell
// entry and the searches, the first cut of the call writes the cage's header to the log and waits
// at the traffic light; every cut is logged and added to the hint line. False when the player
// refused the step.
bool cut_cell(Main& m, int g, int n, int first, int cell, const std::string& cut, bool from_entry) {
  if (!from_entry && m.calling1 != mode::kTrial) {
    if (m.contatoredimessaggio == 0) {
      // A cage's last empty cell has one sum: the digit it takes.
      m.testo = n == 1 ? "CONTROLLO SOMME - gruppo di " + m.rc(first) + "\r\nsomme " + cut + ","
                       : cut_header(m, g, n, first);
      m.log_line(m.testo);
    }
    if (m.chiamante == mode::kManuale && m.contatoredimessaggio == 0) {
      m.txthint.set_text("CONTROLLO SOMME - modifico ");
      if (m.calling.empty()) {
        if (!m.step_gate_cage(g)) return false;
      } else if (m.frmgeneratore.visible()) {
        m.mostra_somme_gruppo(g);
      }
    }
  }
  ++m.contatoredimessaggio;
  const std::string line = m.rc(cell) + " numeri " + cut;
  if (m.calling1 != mode::kTrial) m.log_line("modifico contenuto cella " + line);
  // Each cut follows the header or the cut before it; after any other text of the hint line
  // (cell entry's "  numero errato") it stands apart.
  const std::string& shown = m.txthint.text();
  const bool follows = shown.empty() || shown.back() == ' ' || shown.back() == ',';
  m.txthint.set_text(shown + (follows ? "" : " - ") + line + ",");
  m.Text2[cell].set_text(cut);
  m.modificato = true;
  return true;
}

// Whether the single-place step of a cage of n empty cells waits at the gate.
bool single_place_waits(const Main& m, int n) {
  if (n == 3) return m.chiamante == mode::kManuale && m.calling.empty();
  if (!m.explains()) return false;
  return n == 4 ? m.calling != mode::kRisolvi : m.calling.empty();
}

// The digits of `bits`, the candidates of the cell in position k of cage g when they are
// ascending distinct digits, that the cut keeps (see combination_cut): those among `digits` and,
// in a cage of two empty cells, whose complement the other cell can take.
// n is the cage's size.
inline unsigned kept_digits(const Main& m, int g, int n, int k, unsigned bits, unsigned digits) {
  unsigned keep = bits & digits;
  if (n != 2) return keep;
  const int other = m.cage_cell(g, 3 - k);
  const int sum = m.sommagruppo[g].as_int();
  for (unsigned left = keep; left != 0; left &= left - 1) {
    const int rest = sum - std::countr_zero(left);
    if (other < 0 || rest < 1 || rest > 9 ||
        !m.has_candidate(other, static_cast<char>('0' + rest)))
      keep &= ~(left & -left);
  }
  return keep;
}

// Whether the cut of the cell in position k of cage g keeps every one of its candidates, told
// from the bits beside the candidate boxes: the common case, where the cut changes nothing and
// needs no text. False whenever the text must decide.
// n is the cage's size, cell its cell in position k.
bool keeps_every_candidate(const Main& m, int g, int n, int k, int cell, unsigned digits) {
  if (cell < 0) return false;
  const unsigned bits = m.board_index().candidate_bits(cell);
  if (bits == 0 || (bits & Main::kOddCandidates) || (bits & ~digits)) return false;
  return kept_digits(m, g, n, k, bits, digits) == bits;
}

// Whether the units named in confined[0..count-1] still offer their digit nowhere outside cage g:
// the confined-digit step would remove nothing.
bool confined_units_clean(const Main& m, int g, const SumsMemo::Confined* confined, int count) {
  for (int i = 0; i < count; ++i) {
    const SumsMemo::Confined& c = confined[i];
    for (const int cell : unit_cells(c.kind, c.unit))
      if (m.has_candidate(cell, c.digit) && !m.gruppodicella[static_cast<size_t>(cell)].is(g))
        return false;  // (a cell of another cage, or of none)
  }
  return true;
}

// What the sum check of cage g writes when it finds nothing, its tables aside: the confined-digit
// step ran over the required digits, each from the first cell's units.
void quiet_effects(Main& m, int first, bool required, bool confined, bool deep) {
  tag_sum_check(m);
  if (required) {
    const auto f = static_cast<size_t>(first);
    m.modificato = false;
    m.riga = m.rigacella[f];
    m.settore = m.settorecella[f];
    m.colonna = m.colonnacella[f];
    if (confined) m.indice = first;
  }
  if (deep) m.sommeestese = true;
}

// Remembers, as cage g's last quiet check, that its sum check on the inputs read into `cage`
// found nothing, with the combinations of `known` as the tables hold them now.
void remember_last_quiet(Main& m, int g, const sums::CageCells& cage,
                         const SumsMemo::Combinations& known) {
  SumsMemo::QuietCage& q = m.sums_memo->quiet_cages[static_cast<size_t>(g)];
  q.valid = false;
  for (int i = 0; i < cage.n; ++i) {
    const auto k = static_cast<size_t>(i);
    if (cage.cell[k] < 0) return;
    q.cell[k] = cage.cell[k];
    q.bits[k] = static_cast<std::uint16_t>(cage.cand[k]);
  }
  q.sum = m.sommagruppo[static_cast<size_t>(g)].as_int();
  q.writes = m.sums_memo->table_writes[static_cast<size_t>(g)];
  q.tables = known;
  q.valid = true;
}

// The sum check of cage g (n = 2..5 empty cells) on the cells, candidate bits and sum on which it
// last found nothing (see SumsMemo::QuietCage), the units that the removal of a confined digit
// would clear still offering nothing to remove. Writes what that check writes when it finds
// nothing and gives its joined combinations (what stringa gets); nullptr, writing nothing, when
// the inputs differ.
const std::string* replay_last_quiet(Main& m, int g, int n) {
  if (!m.memos_enabled) return nullptr;
  const SumsMemo::QuietCage& q = m.sums_memo->quiet_cages[static_cast<size_t>(g)];
  const SumsMemo::Combinations& tables = q.tables;
  if (!q.valid || tables.n != n) return nullptr;
  const Value& sum = m.sommagruppo[static_cast<size_t>(g)];
  if (!sum.is_number() || sum.as_int() != q.sum) return nullptr;
  const auto& cells = m.cellegruppo[static_cast<size_t>(g)];
  for (int i = 0; i < n; ++i) {
    const int cell = q.cell[static_cast<size_t>(i)];
    if (!cells[static_cast<size_t>(i) + 1].is(cell) ||
        m.board_index().candidate_bits(cell) != q.bits[static_cast<size_t>(i)])
      return nullptr;
  }
  const bool deep = n >= 3 && m.varcontrolloesteso;
  if (deep && !tables.quiet_deep) return nullptr;
  if (!confined_units_clean(m, g, tables.confined.data(), tables.confined_count)) return nullptr;
  // The tables as that check left them, unless something rewrote them since.
  const auto G = static_cast<size_t>(g);
  if (m.sums_memo->table_writes[G] != q.writes || !m.numerosomme[G].is(tables.count) ||
      m.numeriobbligati[G] != tables.common)
    sums::write_combinations(m, g, tables, false);
  quiet_effects(m, q.cell[0], !tables.common.empty(), tables.confined_count > 0, deep);
  return &tables.joined;
}

// The sum check of cage g (2..5 empty cells, read into `cage`, whose enumeration goes to `slot`)
// on inputs on which it found nothing before, though not the last time (the enumeration table
// remembers them): as replay_last_quiet.
const std::string* replay_quiet_sum_check(Main& m, int g, const sums::CageCells& cage,
                                          const sums::TableSlot& slot) {
  if (!m.memos_enabled || cage.n == 0 || cage.odd) return nullptr;
  const SumsMemo::Combinations* known = slot.known();
  if (known == nullptr || !known->quiet_sum_check) return nullptr;
  const bool deep = cage.n >= 3 && m.varcontrolloesteso;
  if (deep && !known->quiet_deep) return nullptr;
  if (!confined_units_clean(m, g, known->confined.data(), known->confined_count)) return nullptr;
  sums::write_combinations(m, g, *known, false);
  quiet_effects(m, cage.cell[0], !known->common.empty(), known->confined_count > 0, deep);
  remember_last_quiet(m, g, cage, *known);
  return &known->joined;
}

// Remembers that the sum check of cage g, read into `cage` before it ran (its enumeration in
// `slot`), found nothing: the required digits confined to a unit of its first cell (the units it
// looked at for removals), and whether the deep step ran; in the enumeration table and as the
// cage's last quiet check.
void note_quiet_sum_check(Main& m, int g, const sums::CageCells& cage, const sums::TableSlot& slot,
                          bool deep) {
  if (cage.n == 0 || cage.odd) return;
  SumsMemo::Combinations* known = slot.known();
  if (known == nullptr) return;
  known->confined_count = 0;
  const int first = cage.cell[0];
  for (const char d : known->common) {
    const unsigned bit = 1u << (d - '0');
    for (const UnitKind kind : {UnitKind::Row, UnitKind::Box, UnitKind::Column}) {
      const int unit = unit_of(kind, first);
      bool confined = true;
      for (int i = 0; i < cage.n && confined; ++i)
        confined = !(cage.cand[static_cast<size_t>(i)] & bit) ||
                   unit_of(kind, cage.cell[static_cast<size_t>(i)]) == unit;
      if (confined && known->confined_count < static_cast<int>(known->confined.size()))
        known->confined[static_cast<size_t>(known->confined_count++)] = {kind, d, static_cast<std::uint8_t>(unit)};
    }
  }
  known->quiet_sum_check = true;
  known->quiet_deep = known->quiet_deep || deep;
  remember_last_quiet(m, g, cage, *known);
}

}  // namespace

// The candidates of the cell in position k of cage g that the cage's combination digits keep;
// in a cage of two empty cells a digit stays only when the other cell can take the complement,
// as the other cell's candidates stand now.
// Example: two cells, sum 10, "1234" and "89" -> the first keeps "12".
std::string Main::combination_cut(int g, int k, unsigned digits) const {
  const int cell = cage_cell(g, k);
  if (cell < 0) return "";
  const int n = cage_size(g);
  // Ascending distinct digits: the cut is told on the bits.
  const std::uint16_t bits = board_index().candidate_bits(cell);
  if (!(bits & kOddCandidates))
    return std::string(mask_digits(kept_digits(*this, g, n, k, bits, digits)));
  const int sum = sommagruppo[g].as_int();
  const int other = n == 2 ? cage_cell(g, 3 - k) : -1;
  std::string cut;
  for (const char c : Text2[cell].text()) {
    const int d = c - '0';
    if (d < 1 || d > 9 || !(digits & (1u << d))) continue;
    if (n == 2) {
      const int rest = sum - d;
      if (other < 0 || rest < 1 || rest > 9 ||
          !has_candidate(other, static_cast<char>('0' + rest)))
        continue;
    }
    cut += c;
  }
  return cut;
}

// Every cage's sum limits, silently: a one-cell cage's cell keeps its remaining sum, the cells of
// a cage of two to five empty cells the digits of its combinations, those of six or seven the
// digits such a cage can hold. Nothing is logged, highlighted or counted; a cage without any
// combination or a cell left without candidates sets problema.
void Main::apply_cage_limits() {
  const int last = std::min(gruppi, kCells - 1);
  for (int g = 0; g <= last; ++g) {
    const int n = cage_size(g);
    if (n == 0 || !sommagruppo[g].is_number()) continue;
    const int sum = sommagruppo[g].as_int();
    unsigned digits = 0;
    if (n == 1) {
      if (sum >= 1 && sum <= 9) digits = 1u << sum;
    } else if (n <= 5) {
      tag_sum_check(*this);
      calcola_somme_gruppo(g);
      digits = digit_mask(stringa);
    } else if (sum >= 0 && sum <= 42) {
      digits = digit_mask(tabellapossibili[n][sum]);  // "" (no digit) for a sum no cage can have
    }
    for (int k = 1; k <= n; ++k) {
      const int cell = cage_cell(g, k);
      if (cell < 0) continue;
      const std::string cut = combination_cut(g, k, digits);
      if (cut.empty()) problema = true;
      if (!cut.empty() && cut != Text2[cell].text()) Text2[cell].set_text(cut);
    }
  }
}

void Main::refresh_candidates() {
  forget_combinations();
  calcola_candidati();
  apply_cage_limits();
  // The classic recomputation never cuts a cell's last candidate, so a cell that no digit fits
  // keeps one that a peer already holds. Here it shows as what it is, a cell without candidates.
  for (int i = 0; i < kCells; ++i) {
    const std::string& c = Text2[i].text();
    if (!Text1[i].text().empty() || c.size() != 1) continue;
    for (const int p : peers(i))
      if (Text1[p].text() == c) {
        Text2[i].set_text("");
        problema = true;
        break;
      }
  }
}

// The one cell of cage `cage` that alone can take one of the digits `numeri` (tried in their
// order); that digit goes to `numero`. "" when every digit has no place or several.
Value Main::cella_unica_numero_obbligato(int cage, const std::string& numeri) {
  if (cage < 0 || cage >= kCageSlots) return Value();
  int n = elementigruppo[cage].as_int();
  if (n > 7) n = 7;
  for (const char d : numeri) {
    int places = 0, where = -1;
    for (int k = 1; k <= n; ++k) {
      const int cell = cage_cell(cage, k);
      if (cell >= 0 && has_candidate(cell, d)) {
        ++places;
        where = cell;
      }
    }
    if (places == 1) {
      numero = std::string(1, d);
      return where;
    }
  }
  return Value();
}

// The sum check of cage `cage`, or of every real cage 0..gruppi for kEveryCage (a negative
// number, a cell in no cage, does nothing). Per cage, in this order, stopping at the first change:
// - one empty cell: its candidate is the remaining sum, when that is one of its candidates;
// - the cut: each empty cell keeps the digits of the cage's combinations (for two cells, those
//   whose complement the other cell can take). Example: two cells, sum 10, "1234" and "89" ->
//   the first keeps "12";
// - a digit every combination holds that only one cell can take becomes that cell's candidate;
// - required digits confined to a row, box or column of the cage leave the rest of the unit;
// - with varcontrolloesteso, the deep permutation check.
// From cell entry (origine1 "modificatext1") only the one-cell case and the cut run, without
// header, highlight or gate. A contradiction sets problema and ends the call.
void Main::controllo_somme(int cage) {
  problema = false;
  modificato = false;
  int lo = cage, hi = cage;
  if (cage == kEveryCage) {
    lo = 0;
    hi = gruppi < kCageSlots ? gruppi : kCageSlots - 1;
  } else if (cage < 0 || cage >= kCageSlots) {
    return;
  }
  const bool from_entry = origine1 == mode::kModificatext1;
  // stringa as the last cage that wrote it left it: a cage found quiet again leaves writing it to
  // the end of the call, since the next cage checked writes it again.
  struct LastStringa {
    Main& m;
    const std::string* quiet = nullptr;
    ~LastStringa() {
      if (quiet != nullptr) m.stringa = *quiet;
    }
  } last_stringa{*this};

  for (int g = lo; g <= hi; ++g) {
    contatoredimessaggio = 0;
    const int n = elementigruppo[g].as_int();
    if (n < 1 || n > 5) continue;
    // Only a deep step of the cage that makes the change may leave this raised, so that the rating
    // never counts a plain step of a small cage as deep.
    sommeestese = false;

    if (n == 1) {
      const int cell = cage_cell(g, 1);
      const Value& sum = sommagruppo[g];
      const int s = sum.as_int();
      if (cell < 0 || !sum.is_number() || sum.num() != s || s < 1 || s > 9 ||
          !has_candidate(cell, static_cast<char>('0' + s))) {
        problema = true;
        return;
      }
      const std::string digit(1, static_cast<char>('0' + s));
      if (Text2[cell].text() == digit) continue;  // settled already: no step here
      // Cell entry settles a cage's last cell as it goes; a check of its own (the remainder of a
      // cage whose digit cell entry did not take, a "numero errato") explains itself as a cut.
      // The cell's boxes stay as the pencil marks show them: with the marks on, the new candidate
      // shows; with them off, the empty digit box stays alone (no candidate box over it).
      if (from_entry) {
        Text2[cell].set_text(digit);
        modificato = true;
      } else {
        cut_cell(*this, g, n, cell, cell, digit, false);
      }
      return;
    }

    // A cage on the inputs of a check that found nothing finds nothing again.
    if (!from_entry) {
      if (const std::string* quiet = replay_last_quiet(*this, g, n)) {
        last_stringa.quiet = quiet;
        continue;
      }
    }
    const sums::CageCells read(*this, g, false);
    const sums::TableSlot slot = sums::table_slot(*this, g, read, false);
    if (!from_entry) {
      if (const std::string* quiet = replay_quiet_sum_check(*this, g, read, slot)) {
        last_stringa.quiet = quiet;
        continue;
      }
    }
    const std::uint64_t generation = board_index().generation();

    // The cut, on the combinations calcola_somme_gruppo stores (from the cage as just read).
    last_stringa.quiet = nullptr;
    stringa.clear();
    tag_sum_check(*this);
    sums::store_combinations(*this, g, read, slot, false);
    if (n <= 3 && problema) return;
    const unsigned digits = digit_mask(stringa);
    const int first = cage_cell(g, 1);
    for (int k = 1; k <= n; ++k) {
      const int cell = cage_cell(g, k);
      if (keeps_every_candidate(*this, g, n, k, cell, digits)) continue;
      const std::string_view now = cell >= 0 ? std::string_view(Text2[cell].text()) : "";
      const std::string cut = combination_cut(g, k, digits);
      if (cut.empty()) {
        if (incongruenza) {
          if (n == 5)
            log_line(" IMPOSSIBILE");
          else
            log_append(" IMPOSSIBILE");
        }
        problema = true;
        return;
      }
      if (cut == now) continue;
      if (!cut_cell(*this, g, n, first, cell, cut, from_entry)) return;
    }
    if (n < 5 && (from_entry || modificato)) return;

    // Required digits: one with a single place, else those confined to a unit. They are what
    // numeri_comuni_somme reads from the combinations just stored, which stored them beside.
    const std::string required = numeriobbligati[static_cast<size_t>(g)];
    if (from_entry || modificato) return;
    if (!required.empty()) {
      // A digit that is already some cell's only candidate is settled; naming it again would
      // change nothing.
      std::string open;
      for (const char d : required) {
        bool settled = false;
        for (int k = 1; k <= n && !settled; ++k) {
          const int cell = cage_cell(g, k);
          settled = cell >= 0 && Text2[cell].text().size() == 1 && Text2[cell].text()[0] == d;
        }
        if (!settled) open += d;
      }
      const Value only = cella_unica_numero_obbligato(g, open);
      if (only.is_number()) {
        const int cell = only.as_int();
        const std::string hint = "unico valore possibile " + numero + " nel gruppo r" +
                                 std::to_string(rigacella[cell]) + ",c" +
                                 std::to_string(colonnacella[cell]);
        txthint.set_text(hint);
        if (calling1 != mode::kTrial) log_line(hint);
        if (single_place_waits(*this, n) && !step_gate(std::array{cell}, g)) return;
        Text2[cell].set_text(numero);
        modificato = true;
        return;
      }
      verifica_posizioni_obbligate_gruppo(g, required);
      if (modificato || problema) return;
    }

    // Deep step.
    const bool deep = n >= 3 && varcontrolloesteso;
    if (deep) {
      sommeestese = true;
      controllo_numeri_gruppo_permutazioni(g);
    }
    if (modificato || problema) return;
    // A step refused at the gate changes nothing, but it was a finding.
    if (board_index().generation() == generation) note_quiet_sum_check(*this, g, read, slot, deep);
  }
}

}  // namespace ks
