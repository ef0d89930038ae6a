// The two command toolbars: their buttons, and the dispatch of a click by the button's key with
// the guards every command passes first.
#include <vector>

#include "board/main.h"

namespace ks {

namespace {

// Toolbar layouts, button 1 first. Columns: key, tool-tip, image key, style, visible, enabled.
// A button whose command this build does not have is shown disabled rather than doing nothing.
ToolbarButton separator() { return {"", "", "", ButtonStyle::Separator, true, true}; }
ToolbarButton blank() { return {"", "", "", ButtonStyle::Placeholder, true, true}; }

const std::vector<ToolbarButton>& toolbar1_buttons() {
  static const std::vector<ToolbarButton> buttons = {
      {"pencil", "pencil marks", "pencil", ButtonStyle::Button, true, true},
      {"activity", "log attività", "activity", ButtonStyle::Button, true, true},
      separator(),
      {"suggerisci", "suggerisci", "tip", ButtonStyle::Button, true, true},
      blank(),
      blank(),
      blank(),
      {"numero", "suggerisci numero", "numero", ButtonStyle::Button, true, true},
      {"obbligate", "posizioni obbligate", "", ButtonStyle::Button, true, true},
      blank(),
      blank(),
      blank(),
      blank(),
      {"somme", "aggiorna somme", "somme", ButtonStyle::Button, true, true},
      {"pair", "hidden  & naked pair", "naked", ButtonStyle::Button, true, true},
      {"gruppovsgruppo", "gruppo contro gruppo", "chain", ButtonStyle::Button, true, true},
      {"gruppi", "nuovi gruppi", "gruppi", ButtonStyle::Button, true, true},
      {"impossibili", "interazione domini vs gruppo", "impossibili", ButtonStyle::Button, true,
       true},
  };
  return buttons;
}

const std::vector<ToolbarButton>& toolbar2_buttons() {
  static const std::vector<ToolbarButton> buttons = {
      {"open", "apri", "open", ButtonStyle::Button, true, true},
      {"new", "nuovo", "new", ButtonStyle::Button, true, true},
      {"libreria", "libreria", "libreria", ButtonStyle::Button, true, true},
      {"save", "salva", "save", ButtonStyle::Button, true, true},
      {"print", "stampa", "print", ButtonStyle::Button, true, true},
      separator(),
      {"risolvi", "risolvi", "risolvi", ButtonStyle::Button, true, true},
      {"undo", "rigenera schema", "undo", ButtonStyle::Button, true, true},
      {"calcola", "somme", "calcola", ButtonStyle::Button, true, true},
      separator(),
      {"genera", "generatore", "genera", ButtonStyle::Button, true, true},
      // Batch generation: hidden until the developer switch (a double click on Frame1).
      {"continuo", "generatore continuo", "magic", ButtonStyle::Button, false, false},
      separator(),
  };
  return buttons;
}

// The refusal of digits that break a rule, with the first rule they break.
std::string rules_broken(const std::string& fault) {
  return "le cifre inserite non rispettano le regole: " + fault;
}

// The keys of Toolbar1 that change only what is shown; every other key runs a technique.
bool is_view_key(const std::string& key) {
  return key == "pencil" || key == "activity" || key == "numero";
}

}  // namespace

void Main::build_command_bars() {
  for (const ToolbarButton& b : toolbar1_buttons()) Toolbar1.add(b);
  for (const ToolbarButton& b : toolbar2_buttons()) Toolbar2.add(b);
  // Menu items whose commands this build does not have: shown, but disabled, so that nothing the
  // player can click does nothing. The toolbar buttons above carry their own flag.
  for (MenuItem* item : {&mnurefresh, &mnuchain, &mnutec4, &mnuxwing, &mnusword, &mnuanalise,
                         &mnuquick, &mnuadvanced, &mnureduce, &mnumore})
    item->set_enabled(false);
}

bool Main::has_puzzle() const {
  if (!filetxt.text().empty()) return true;
  // A cage entered by hand counts once its sum box has closed it: the editor writes its sum then.
  for (int i = 0; i < kCells; ++i) {
    const Value& g = gruppodicella[i];
    if (g.is_number() && g.as_int() >= 0 && g.as_int() < kCageSlots &&
        sommagruppo[g.as_int()].is_number())
      return true;
  }
  return false;
}

// A full grid that breaks a rule is no completed one: the player is told what to put right, as a
// solve of a grid with errors and empty cells is.
bool Main::refuses_full_grid() {
  if (esposti != 81) return false;
  const std::string fault = board_fault();
  rt.MsgBox(fault.empty() ? "schema già completato" : rules_broken(fault), MsgButtons::Ok);
  return true;
}

void Main::Toolbar1_ButtonClick(const std::string& key) {
  if (key != "activity" && refuses_full_grid()) return;
  if (!is_view_key(key)) {
    // A technique needs cages to work on.
    if (!has_puzzle()) {
      rt.MsgBox("nessun schema caricato", MsgButtons::Ok);
      return;
    }
  }
  chiamante = mode::kManuale;

  if (key == "pencil") {
    mnupencil_Click();
  } else if (key == "activity") {
    mnuactivity_Click();
  } else if (key == "numero") {
    mnunumber_Click();
  } else if (key == "somme") {
    controllo_somme(kEveryCage);
  } else if (key == "suggerisci") {
    mnuposition_Click();
  } else if (key == "obbligate") {
    interazione_settore_riga_colonna();
  } else if (key == "pair") {
    nakedpair();
    if (!modificato) hiddenpair();
    if (!modificato) nakedtriple();
  } else if (key == "gruppovsgruppo") {
    interazione_gruppo_gruppo();
    numeri_obbligati_nel_gruppo();
  } else if (key == "gruppi") {
    regola45_altri_gruppi();
  } else if (key == "impossibili") {
    cerca_interazione_gruppo_settore();
    cerca_interazione_gruppo_riga();
    cerca_interazione_gruppo_colonna();
  }
}

void Main::Toolbar2_ButtonClick(const std::string& key) {
  // Cages entered by hand count as a puzzle even before the status line names one.
  if (key == "risolvi" || key == "conta" || key == "analisi") {
    if (!has_puzzle() && !schema_caricato()) return;
  }

  if (key == "new") {
    mnunew_Click();
  } else if (key == "open") {
    mnuopen_Click();
  } else if (key == "save") {
    mnusave_Click();
  } else if (key == "libreria") {
    apri_libreria();
  } else if (key == "print") {
    if (rt.PrintForm(form) == PrintOutcome::Failed) rt.MsgBox("stampa non riuscita", MsgButtons::Ok);
  } else if (key == "risolvi") {
    if (refuses_full_grid()) return;
    // Only a whole killer can be solved and rated: a cell outside every cage would leave the
    // count a search through every way of filling it, and digits that break a rule leave a
    // puzzle without a solution that no technique sees.
    if (const std::string gap = layout_gap(); !gap.empty()) {
      rt.MsgBox(gap, MsgButtons::Ok);
      return;
    }
    if (const std::string fault = board_fault(); !fault.empty()) {
      rt.MsgBox(rules_broken(fault), MsgButtons::Ok);
      return;
    }
    chiamante = mode::kAnalisi;
    t0 = rt.Timer();
    mnusolve_Click();
  } else if (key == "undo") {
    // The game is thrown away only when the player says so.
    if (restart_loses_digits() &&
        rt.MsgBox("Ricominciare lo schema? Le cifre inserite andranno perse.", MsgButtons::OkCancel) !=
            MsgAnswer::Ok)
      return;
    restart_puzzle();
  } else if (key == "calcola") {
    chiamante = mode::kAnalisi;
    frmgeneratore.Show();
    Check2.set_value(1);
  } else if (key == "genera") {
    generate_puzzle();
  } else if (key == "continuo") {
    generazione_continua();
  }
}

}  // namespace ks
