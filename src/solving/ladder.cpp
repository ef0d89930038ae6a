// The ladder engine, and what every ladder shares: the elapsed-time display, level raising and
// counting.
#include "solving/ladder.h"

#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace ks {

float Main::elapsed() const { return static_cast<float>(seconds_between(t0, t1)); }

// The text is written only when the hundredths shown change: the display comes before most
// rungs, and a count runs the ladder thousands of times within one hundredth.
void Main::show_elapsed() {
  t1 = rt.Timer();
  const auto hundredths = std::llround(static_cast<double>(elapsed()) * 100.0);
  if (hundredths != shown_hundredths) {
    shown_hundredths = hundredths;
    shown_elapsed_text = seconds_text(static_cast<double>(hundredths) / 100.0);
  }
  if (tempo.text() != shown_elapsed_text) tempo.set_text(shown_elapsed_text);
  rt.DoEvents();
}

void Main::start_ladder() {
  volte = 3;
  volteestese = 3;
  if (t0 == 0) t0 = rt.Timer();
  testo = "a";
  if (chiamante != mode::kRintraccia) testoselezionato = "b";
  stringaliv = "";
  finito = false;
  calling = mode::kRisolvi;
}

int& Main::liv(int L) {
  static constexpr int Main::*kCounters[] = {&Main::liv1,  &Main::liv2,  &Main::liv3,  &Main::liv4,
                                             &Main::liv5,  &Main::liv6,  &Main::liv7,  &Main::liv8,
                                             &Main::liv9,  &Main::liv10, &Main::liv11, &Main::liv12,
                                             &Main::liv13, &Main::liv14};
  return this->*kCounters[std::clamp(L, 1, 14) - 1];
}

// The counters are bytes in the difficulty record: they stop at 255.
void Main::raise_level(int L) {
  if (L < 1 || L > 14) return;
  if (livello < L) livello = L;
  if (calling1 == mode::kTrial) return;
  int& counter = liv(L);
  if (counter < 255) ++counter;
}

namespace ladder {

Next fresh_pass(Main& m) {
  m.modificato = false;
  m.show_elapsed();
  return Next::Rung;
}

namespace {
// Each pass that restarts has placed a digit or removed a candidate, or raised one of the bounded
// search depths (volte up to 6, volteestese up to 7, the deep sum analysis): no ladder needs
// anywhere near this many passes in a row without a change on the board, nor in all.
constexpr int kMaxIdlePasses = 64;
constexpr long kMaxPasses = 100000;
}  // namespace

Next restart(Main&) { return Next::Restart; }
Next next_rung(Main&) { return Next::Rung; }
Next leave(Main&) { return Next::Leave; }
Next leave_if_problem(Main& m) { return m.problema ? Next::Leave : Next::Restart; }
Next leave_if_problem_or_done(Main& m) {
  return m.problema || m.finito ? Next::Leave : Next::Restart;
}

void run_ladder(Main& m, const Ladder& ladder) {
  int progress = board_progress(m), idle = 0;
  for (long pass = 0; pass < kMaxPasses; ++pass) {
    if (pass > 0) {
      const int now = board_progress(m);
      idle = now == progress ? idle + 1 : 0;
      progress = now;
      if (idle > kMaxIdlePasses) {
        ++m.safety_stops.idle_ladder;
        return;
      }
    }
    if (ladder.pass_start && ladder.pass_start(m) == Next::Leave) return;
    Next next = Next::Leave;  // a pass that falls off the last rung ends the ladder
    for (const Rung& r : ladder.rungs) {
      if (r.origine) m.origine = r.origine;
      if (r.display) m.show_elapsed();
      r.run(m);
      const bool found = r.found == Found::Single ? m.cella >= 0 && m.cella < kCells : m.modificato;
      if (found) {
        if (r.level_of)
          m.raise_level(r.level_of(m));
        else if (r.level)
          m.raise_level(r.level);
        if (r.found == Found::Single && !m.problema && m.Text1[m.cella].text().empty()) return;
      }
      next = found ? r.on_success(m) : r.on_failure(m);
      if (next != Next::Rung) break;
      next = Next::Leave;
    }
    if (next != Next::Restart) return;
  }
  ++m.safety_stops.long_ladder;
}

int board_progress(const Main& m) {
  int candidates = 0;
  for (int i = 0; i < kCells; ++i) candidates += m.candidate_count(i);
  return 1000 * m.esposti - candidates;
}

}  // namespace ladder
}  // namespace ks
