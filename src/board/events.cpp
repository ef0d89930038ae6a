// The input rule of the main window, and the wiring of every control's events to their handlers
// through it.
#include "board/main.h"

namespace ks {

const char* Main::input_refusal(Input kind) const {
  if (kind == Input::View) return nullptr;
  // While a technique waits at the traffic light only the lights (and what changes the view)
  // are answered: any other event would run inside the waiting technique and change what it is
  // working on.
  if (Pictgo.visible())
    return kind == Input::Board ? "per procedere, cliccare sul semaforo verde"
                                : "per continuare click sul semaforo verde";
  if (generation_running) return "generazione in corso";
  // A command that started in the middle of a solve would change the board under the ladder.
  if (solve_running) return "risoluzione in corso";
  return nullptr;
}

bool Main::accepts_input(Input kind) {
  if (const char* why = input_refusal(kind)) {
    rt.MsgBox(why, MsgButtons::Ok);
    return false;
  }
  if (kind != Input::Command) return true;
  // A command closes the digit palette: the cell it was opened on is no longer the player's
  // business. What the player typed in a sum box counts, as when leaving the box (clicking a
  // toolbar or a menu does not move the focus): the cage being entered closes, and a closed
  // cage takes its new sum. A sum the open cage cannot have stops the command, so that the
  // player corrects it first.
  hide_palette();
  const bool entering = cellacolorata > 0 && gruppi >= 0 && gruppi < kCells;
  for (int g = 0; g < kCells; ++g)
    if (textsomma[g].has_focus() && !(entering && g == gruppi)) textsomma_LostFocus(g);
  return close_typed_cage();
}

void Main::wire_events() {
  // A handler that runs only when the window takes the event now.
  const auto when = [this](Input kind, auto handler) {
    return [this, kind, handler](auto&&... args) {
      if (accepts_input(kind)) handler(std::forward<decltype(args)>(args)...);
    };
  };

  // What the player types into a digit box passes the rule first (cell entry then runs on every
  // write of the box, from its change hook).
  for (int i = 0; i < kCells; ++i) {
    Text1[i].on_typed = when(Input::Board, [this, i](std::string t) { Text1[i].set_text(std::move(t)); });
    Text1[i].on_click = when(Input::Board, [this, i] { Text1_Click(i); });
    Text1[i].on_key_down = when(Input::View, [this, i](int key_code) { Text1_KeyDown(i, key_code); });
    Text2[i].on_key_down = Text1[i].on_key_down;
    Text1[i].on_mouse_move = [this, i] { Text1_MouseMove(i); };
    // A digit box the player opened over the cell's candidates closes as the focus leaves it:
    // the cell shows what the pencil marks ask for again.
    Text1[i].on_lost_focus = [this, i] { show_box(i); };
    Text2[i].on_click = when(Input::Command, [this, i] { Text2_Click(i); });
    Text2[i].on_typed = when(Input::Command, [this, i](std::string t) { candidates_typed(i, t); });
    Text2[i].on_mouse_move = [this, i] { Text2_MouseMove(i); };
    textsomma[i].on_typed = when(Input::Board, [this, i](std::string t) { textsomma[i].set_text(std::move(t)); });
    // Leaving a sum box closes the cage being entered; while the window takes no input the cage
    // stays open, without a message for a mere change of focus.
    textsomma[i].on_lost_focus = [this, i] {
      if (!input_refusal(Input::Command)) textsomma_LostFocus(i);
    };
  }
  for (int k = 0; k < 10; ++k) Picture1[k].on_click = when(Input::Board, [this, k] { Picture1_Click(k); });
  for (int k = 0; k < 18; ++k) colore[k].on_click = when(Input::Board, [this, k] { colore_Click(k); });

  // The step gate's lights are always answered.
  Pictgo.on_click = [this] { Pictgo_Click(); };
  Pictalt.on_click = [this] { Pictalt_Click(); };

  // Toolbars and menus. The pencil marks and the hinted digit only change the view, from the
  // toolbar as from the menu.
  Toolbar1.on_button_click = [this](const std::string& key) {
    const bool view = key == "pencil" || key == "numero";
    if (accepts_input(view ? Input::View : Input::Command)) Toolbar1_ButtonClick(key);
  };
  Toolbar2.on_button_click = when(Input::Command, [this](const std::string& key) { Toolbar2_ButtonClick(key); });
  mnupencil.on_click = when(Input::View, [this] { mnupencil_Click(); });
  mnunumber.on_click = when(Input::View, [this] { mnunumber_Click(); });
  mnuactivity.on_click = when(Input::Command, [this] { mnuactivity_Click(); });
  mnulog.on_click = when(Input::Command, [this] { mnulog_Click(); });
  mnunew.on_click = when(Input::Command, [this] { mnunew_Click(); });
  mnuopen.on_click = when(Input::Command, [this] { mnuopen_Click(); });
  mnusave.on_click = when(Input::Command, [this] { mnusave_Click(); });
  // The solve and hint menus pass the guards of their toolbar buttons (a puzzle on the board,
  // not yet complete); the solve's clock starts at the click.
  mnusolve.on_click = when(Input::Command, [this] { Toolbar2_ButtonClick("risolvi"); });
  mnuposition.on_click = when(Input::Command, [this] { Toolbar1_ButtonClick("suggerisci"); });
  mnuhidden.on_click = when(Input::Command, [this] { mnuhidden_Click(); });
  mnurestricted.on_click = when(Input::Command, [this] { mnurestricted_Click(); });

  // Buttons and switches.
  Frame1.on_dbl_click = when(Input::View, [this] { Frame1_DblClick(); });
  Check2.on_click = when(Input::View, [this] { Check2_Click(); });
  Cmdtest.on_click = when(Input::Command, [this] { Cmdtest_Click(); });
  Command3.on_click = when(Input::Command, [this] { Command3_Click(); });

  // Puzzle files and library.
  Command1.on_click = when(Input::Command, [this] { Command1_Click(); });
  Command2.on_click = when(Input::Command, [this] { Command2_Click(); });

  // The play clock.
  picstart.on_click = when(Input::View, [this] { picstart_Click(); });
  Picture2.on_click = when(Input::View, [this] { Picture2_Click(); });
  Timer2.on_timer = [this] { Timer2_Timer(); };
}

}  // namespace ks
