// The step gate with its traffic light, and the check that a puzzle is on the board.
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
  } while (scelta != "si" && scelta != "no");
  Pictgo.set_visible(false);
  Pictalt.set_visible(false);
}

void Main::Pictgo_Click() { scelta = "si"; }

void Main::Pictalt_Click() { scelta = "no"; }

bool Main::schema_caricato() {
  if (!filetxt.text().empty()) return true;
  rt.MsgBox("nessun schema caricato", MsgButtons::Ok);
  return false;
}

}  // namespace ks
