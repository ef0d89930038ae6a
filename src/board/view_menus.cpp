// Commands that change what the main window shows: pencil marks, the activity log, the hinted
// digit, the developer switch, the processor speed test and closing the program.
#include "board/main.h"
#include "platform/text.h"

namespace ks {

namespace {
// Toolbar2 button of batch generation, shown only by the developer switch.
constexpr int kBatchButton = 12;
}  // namespace

// Pencil marks on or off, by the tick; the boxes then follow it. Callers that changed the board
// call it twice to redraw the marks.
void Main::mnupencil_Click() {
  mnupencil.set_checked(!mnupencil.checked());
  show_boxes();
}

// Each cell shows the box the pencil-mark tick asks for: with the tick, an empty cell its
// candidates, but the cell whose digit box has the focus, which keeps it for the player's typing
// and arrow keys; a filled cell, and every cell without the tick, its digit box only.
void Main::show_box(int i) {
  const bool candidates = mnupencil.checked() && Text1[i].text().empty() && !Text1[i].has_focus();
  Text2[i].set_visible(candidates);
  Text1[i].set_visible(!candidates);
}

void Main::show_boxes() {
  for (int i = 0; i < kCells; ++i) show_box(i);
}

// The two log items drive one window, each by its own tick.
void Main::toggle_log(MenuItem& item) {
  if (!item.checked())
    frmlog.Show();
  else
    frmlog.Hide();
  item.set_checked(!item.checked());
}

void Main::mnuactivity_Click() { toggle_log(mnuactivity); }

void Main::mnulog_Click() { toggle_log(mnulog); }

void Main::mnunumber_Click() {
  const bool show = !mnunumber.checked();
  Label3.set_visible(show);
  Text5.set_visible(show);
  mnunumber.set_checked(show);
}

// A double click on the small frame shows or hides the developer buttons.
void Main::Frame1_DblClick() {
  if (!Command1.visible()) {
    Command2.set_visible(true);
    Command1.set_visible(true);
    Toolbar2.set_visible(kBatchButton, true);
    Toolbar2.set_enabled(kBatchButton, true);
  } else {
    Toolbar2.set_enabled(kBatchButton, false);
    Toolbar2.set_visible(kBatchButton, false);
    Command2.set_visible(false);
    Command1.set_visible(false);
  }
}

// Times an empty count to 10^8; the window does not answer meanwhile.
void Main::Cmdtest_Click() {
  t1 = rt.Timer();
  volatile double k = 0;
  while (k <= 100000000) {
    const double next = k + 1;
    k = next;
  }
  t2 = rt.Timer();
  // A single-precision number as the desktop writes it: seven significant digits, the Italian
  // decimal comma.
  rt.MsgBox(" tempo per contare fino a 10^8  = " + num_text(t2 - t1, ',', 7) + " secondi",
            MsgButtons::Ok);
}

// The main window closes: every window of the program goes and the clocks stop; the front end
// then ends the program without asking anything.
void Main::Form_Unload() {
  Timer1.set_enabled(false);
  Timer2.set_enabled(false);
  frmgeneratore.Hide();
  frmlog.Hide();
  frmactivity.form.Hide();
  form.Hide();
}

}  // namespace ks
