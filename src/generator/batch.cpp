// The batch generator ("continuo"): every library record without a cage layout gets a killer
// carved over its grid, verified, rated and saved, one record after the other, within the run's
// time limit.
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

#include "board/main.h"
#include "library/library.h"
#include "library/puzzle_files.h"
#include "platform/text.h"

namespace ks {

namespace {

// The records that have no layout yet, in the order of the table.
constexpr const char* kBatchSource =
    "SELECT schema.* FROM [schema] WHERE (((schema.kenvari) Is Null))";
// The run ends after the first record that finishes more than this many seconds after its start.
constexpr double kRunLimit = 17200;
// The detail stored in a record holds at most this many characters.
constexpr std::size_t kStoredDetail = 80;

// Seconds as the record's time field: a decimal number with a decimal comma and at most three
// decimals, 0.0125 -> "0,013", 12 -> "12".
std::string seconds_field(double seconds) {
  std::string text = num_text(std::round(seconds * 1000.0) / 1000.0);
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

// What one record receives. A rejected layout (level 14) is stored too, as it was carved, without
// a rating.
struct BatchRecord {
  int level = 14;
  std::string layout;  // formato_gruppi: full sums, every cell written with two digits
  std::string detail;  // the rating detail, cut to kStoredDetail characters
  std::string total;   // the weighted total
  double start_ms = 0;  // millisecond clock at the start of the timed work: the rating solve,
                        // or the whole record when there is no rating
};

// Runs its function however the scope is left.
template <class F>
class AtExit {
 public:
  explicit AtExit(F f) : f_(std::move(f)) {}
  ~AtExit() { f_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  F f_;
};

// The layout of the last cage-layout run as the working copies hold it: the cages as carved and
// repaired, each with its full sum and all its cells (the cage model of a failed try holds
// remaining sums and only the empty cells); "" when the run had no grid to carve. `whole`: every
// cell lies in exactly one cage and no cage has the sum 0.
std::string carved_layout(const Main& m, bool& whole) {
  std::string text;
  std::array<int, kCells> owners{};
  whole = false;
  // Without a grid the run carved nothing (and the copies hold an older layout).
  if (m.cellesalvate[0].empty()) return text;
  whole = true;
  const int last = std::min(m.gruppi, kCells - 1);
  for (int g = 0; g <= last; ++g) {
    const int n = m.copy_size(g);
    if (n == 0) continue;  // emptied by a repair
    const int sum = m.sommacopia[static_cast<std::size_t>(g)].as_int();
    if (sum <= 0) whole = false;
    text += std::to_string(sum) + ",";
    for (int k = 1; k <= n; ++k) {
      const int c = m.copy_cell(g, k);
      if (c < 0) {
        whole = false;
        continue;
      }
      ++owners[static_cast<std::size_t>(c)];
      text += two_digits(c);
    }
    text += ";";
  }
  for (const int owner : owners)
    if (owner != 1) whole = false;
  return text;
}

// The record's puzzle (the grid of txtstringa, "." or any other character for an empty cell) is
// completed and carved by the cage-layout run; an accepted layout is loaded as a pure killer
// and rated by the rating ladder.
void make_killer(Main& m, BatchRecord& out) {
  m.nuovo_schema();
  m.generatorecontinuo = true;
  m.stringa = m.txtstringa.text();
  m.ins_dati = true;
  for (int i = 0; i < kCells; ++i) {
    const char ch = i < static_cast<int>(m.stringa.size()) ? m.stringa[static_cast<std::size_t>(i)] : '.';
    if (ch >= '1' && ch <= '9') {
      m.Text1[i].set_text(std::string(1, ch));
    } else {
      m.Text1[i].set_text("");
      m.Text1[i].set_fore_color(m.nero);
    }
  }
  m.ins_dati = false;
  m.calcola_candidati();
  m.finito = false;
  m.genera_schema();
  m.problema = false;

  bool whole = false;
  out.layout = carved_layout(m, whole);
  // The run's try log says why a layout was rejected.
  if (m.livello >= 14) return;
  if (!whole || !Main::layout_refusal(out.layout).empty()) {
    m.log_generatore(" schema incompleto ");
    return;
  }

  std::string solution;
  for (int i = 0; i < kCells; ++i) solution += m.cellesalvate[i];
  m.nuovo_schema();
  m.stringa = out.layout;
  m.carica_gruppi_da_stringa();
  m.inizializza_candidati();
  out.start_ms = m.rt.timeGetTime();
  m.livello = 0;
  for (int L = 1; L <= 14; ++L) m.liv(L) = 0;
  m.chiamante = mode::kAnalisi;
  // The verification has proved that the puzzle has exactly one solution, and which one: the
  // rating goes to trial and verify without counting again, as after a count of one.
  m.count_result = Main::CountResult::One;
  m.soluzioni = 1;
  for (int i = 0; i < kCells; ++i) m.grigliasoluzione[i] = solution.substr(static_cast<std::size_t>(i), 1);
  m.remember_count({m.position_key()});
  m.risolvi_con_livelli();
  std::string solved;
  for (const TextBox& t : m.Text1) solved += t.text();
  if (!m.finito || m.problema || solved != solution) {
    m.log_generatore(" valutazione non riuscita ");
    return;
  }
  m.valuta_difficolta();
  out.level = m.livello;
  out.detail = m.stringaliv.substr(0, kStoredDetail);
  out.total = std::to_string(m.tot);
}

}  // namespace

// Each record is saved in one transaction before the run moves on, so a stop or a kill loses at
// most the record in progress. An error in a record rejects that record (level 14, with a log
// line) and the run goes on; a record that cannot be saved ends the run. Nothing waits for the
// user: a failed save is logged, not shown in a message box.
void Main::generazione_continua() {
  if (!library_ready() || !query_library(kBatchSource)) return;
  // With no record to fill the run changes nothing; otherwise each record's puzzle goes through
  // the board, and the game on it goes only when the player agrees. The status line then names
  // none of them.
  const bool any_record = Data1.MoveFirst();
  if (any_record && !may_discard_game()) return;
  frmgeneratore.Show();
  if (!any_record) return;
  filetxt.set_text("");
  const float T0 = rt.Timer();

  generation_running = true;
  const BusyScope busy(rt);
  std::string write_error;
  auto shown_errors = std::exchange(
      Data1.on_write_error, [&write_error](const std::string& why) { write_error = why; });
  const AtExit end([this, &shown_errors] {
    generation_running = false;
    generatorecontinuo = false;
    generaeconta = false;
    Data1.on_write_error = std::move(shown_errors);
  });
  int n = 0;
  for (;;) {
    ++n;
    BatchRecord r;
    r.start_ms = rt.timeGetTime();
    try {
      make_killer(*this, r);
    } catch (const std::exception& e) {
      ins_dati = false;
      r = BatchRecord{14, "", "", "", r.start_ms};
      log_generatore(" errore nello schema " + std::to_string(n) + ": " + e.what());
    }
    Data1.write(testolivello, std::to_string(r.level));
    Data1.write(txtdettaglio, r.detail);
    Data1.write(txtkenvari, r.layout);
    Data1.write(txtnumeri, std::to_string(n));
    Data1.write(txttotale, r.total);
    // The time of the record's work comes from the millisecond clock: ratings take a few
    // milliseconds, below what the seconds clock tells apart.
    const double seconds = std::max(rt.timeGetTime() - r.start_ms, 0.0) / 1000.0;
    Data1.write(tempo, seconds_field(seconds));
    const float Tn = rt.Timer();
    if (!Data1.Update()) {
      log_generatore(" errore nella scrittura della libreria: " + write_error);
      break;
    }
    if (seconds_between(T0, Tn) > kRunLimit) break;
    log_generatore(" schema " + std::to_string(n));
    log_generatore(" numeri " + std::to_string(n));
    log_generatore(" tempo, secondi " + std::to_string(static_cast<long long>(seconds)));
    rt.DoEvents();
    if (!Data1.MoveNext() || Data1.eof()) break;
  }
}

}  // namespace ks
