// The step gate with its traffic light, and the check that a puzzle is on the board.
#include <vector>

#include "board/main.h"

namespace ks {

namespace {
// How long one turn of the gate's loop sleeps at most when no event is pending: short enough
// that a click on a light is answered at once, long enough not to keep a processor busy.
constexpr int kGateWaitMs = 30;
}  // namespace

// A technique in step mode has written its explanation and set scelta to ""; the user lets the
// step through with the green light ("si") or refuses it with the red one ("no"). Every other
// event of the window runs inside this loop, nested in the waiting technique.
void Main::aspetta() {
  txthint.set_visible(true);
  Pictgo.set_visible(true);
  Pictalt.set_visible(true);
  do {
    rt.WaitEvents(kGateWaitMs);
  } while (scelta != mode::kSi && scelta != mode::kNo);
  Pictgo.set_visible(false);
  Pictalt.set_visible(false);
}

void Main::Pictgo_Click() { scelta = mode::kSi; }

void Main::Pictalt_Click() { scelta = mode::kNo; }

bool Main::step_gate(std::span<const int> cells, int g) {
  // The colours each cell had, so that a cage colour or an earlier highlight comes back.
  struct Saved {
    int cell;
    Color digit, candidates;
  };
  std::vector<Saved> saved;
  saved.reserve(cells.size());
  for (const int c : cells) {
    if (c < 0 || c >= kCells) continue;
    saved.push_back({c, Text1[c].back_color(), Text2[c].back_color()});
    Text1[c].set_back_color(giallo);
    Text2[c].set_back_color(giallo);
  }
  if (g >= 0 && frmgeneratore.visible()) mostra_somme_gruppo(g);
  scelta = "";
  board_index_.step_shown(BoardIndex::Key{});
  aspetta();
  // Restored last to first, so that a cell named twice gets its first colours back.
  for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
    Text1[it->cell].set_back_color(it->digit);
    Text2[it->cell].set_back_color(it->candidates);
  }
  if (scelta != mode::kNo) return true;
  modificato = true;
  return false;
}

bool Main::step_gate_cage(int g) {
  std::array<int, kMaxCageCells> cells{};
  int n = 0;
  const int size = cage_size(g);
  for (int k = 1; k <= size; ++k)
    if (const int c = cage_cell(g, k); c >= 0) cells[static_cast<size_t>(n++)] = c;
  return step_gate(std::span<const int>(cells.data(), static_cast<size_t>(n)), g);
}

bool Main::schema_caricato() {
  if (!filetxt.text().empty()) return true;
  rt.MsgBox("nessun schema caricato", MsgButtons::Ok);
  return false;
}

}  // namespace ks
