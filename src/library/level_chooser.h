// The level chooser "Selezione Livello": pick a difficulty level, browse the library puzzles of
// that level through the main window's data control, and load one onto the board.
#pragma once

#include <array>
#include <string>

#include "platform/controls.h"

namespace ks {

class Main;

class Frmlivello {
 public:
  explicit Frmlivello(Main& main);
  Frmlivello(const Frmlivello&) = delete;
  Frmlivello& operator=(const Frmlivello&) = delete;

  Form form{"frmlivello"};

  // The level rows: Option1(k) is level k (0..13). Option1(14) is hidden; Option1(15), hidden
  // too, is the member selected while no level is chosen.
  Frame Frame1;
  std::array<OptionButton, 16> Option1;
  TextBox livelloscelto;  // the chosen level (hidden)
  // "La libreria contiene" n "schemi         schema selezionato" k, and the load button.
  Label Label1, Label2;
  TextBox numerototale;
  TextBox numeroselezionato;  // the selected puzzle, 1-based in the order of the record source
  CommandButton Command1;     // load
  // "dettaglio", "difficoltà" and the moves: first, previous, next, last.
  Label Label3, Label4;
  TextBox dettagliotxt, difftxt;
  CommandButton Command5, Command2, Command3, Command4;
  // "Schemi ordinati per difficoltà decrescente", "id", "tempo".
  Label Label5, Label6, Label7;
  TextBox progtxt, temptxt;

  // Shows the form; a form that is not open starts again from its design values.
  void Show();
  // Closes the form.
  void Unload();

  void Option1_Click(int Index);
  void numeroselezionato_Change();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();

  // The level chosen (-1 while none) and the puzzle selected, 1..count (0 while none).
  int level() const { return level_; }
  int selected() const { return selected_; }
  // Puts the main window's data control on the selected puzzle; false (after telling the user)
  // when that is not possible.
  bool move_to_selected();

 private:
  void load_design_values();
  // Writes k into numeroselezionato and moves there, also when the box already shows k.
  void select_number(int k);
  // The number in numeroselezionato as a move starts from it: 0..count + 1.
  int shown_number() const;
  // Makes sure the data control runs this chooser's level query (another command may have set
  // its own meanwhile); false after telling the user when the library cannot be read.
  bool hold_level_source();
  // The chooser follows the main window's input rule: nothing while a step waits or a generation
  // runs (it moves the data control and loads puzzles). True, with the player told, when refused.
  bool busy();

  Main& main_;
  int level_ = -1;
  int count_ = 0;
  int selected_ = 0;
};

}  // namespace ks
