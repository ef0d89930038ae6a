// The puzzle library: the library file and its bound boxes on the main window, opening the
// level chooser, loading the chosen puzzle onto the board, and writing a record by its number.
#include "library/library.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "board/main.h"
#include "library/level_chooser.h"
#include "platform/text.h"

namespace ks {

const std::vector<std::string>& library_fields() {
  static const std::vector<std::string> fields = {"progressivo", "livello",    "singoli",
                                                  "kenvari",     "tempo",      "difficolta",
                                                  "dettaglio",   "stringa"};
  return fields;
}

const char* const kLibraryScript =
    "CREATE TABLE schema ("
    " progressivo INTEGER PRIMARY KEY,"
    " livello INTEGER,"
    " singoli INTEGER,"
    " kenvari TEXT,"
    " tempo REAL,"
    " difficolta INTEGER,"
    " dettaglio TEXT,"
    " stringa TEXT);"
    "CREATE INDEX schema_livello ON schema (livello, tempo);"
    "CREATE VIEW schemi AS SELECT progressivo, livello, singoli, kenvari, tempo, difficolta,"
    " dettaglio, stringa FROM schema;";

std::string library_error_text(const std::string& file, const std::string& why) {
  return "libreria danneggiata o non leggibile: " + file + " (" + why + ")";
}

void Main::build_library_controls() {
  // Hidden boxes that carry the fields of the current record.
  const struct {
    TextBox* box;
    const char* name;
  } hidden[] = {{&testolivello, "testolivello"}, {&txtnumeri, "txtnumeri"},
                {&txtkenvari, "txtkenvari"},     {&temporis, "temporis"},
                {&txttotale, "txttotale"},       {&txtdettaglio, "txtdettaglio"}};
  for (const auto& h : hidden) {
    h.box->attach(form, h.name);
    h.box->move(0, 0, 80, 22);
    h.box->set_locked(true);
    h.box->set_visible(false);
  }

  Data1.set_record_source("schemi");
  Data1.bind(txtprogressivo, "progressivo");
  Data1.bind(testolivello, "livello");
  Data1.bind(txtnumeri, "singoli");
  Data1.bind(txtkenvari, "kenvari");
  Data1.bind(tempo, "tempo");
  Data1.bind(temporis, "tempo");
  Data1.bind(txttotale, "difficolta");
  Data1.bind(txtdettaglio, "dettaglio");
  Data1.bind(txtstringa, "stringa");
  Data1.on_write_error = [this](const std::string& why) {
    rt.MsgBox("errore nella scrittura della libreria: " + why, MsgButtons::Ok);
  };
}

bool Main::library_ready() {
  Data1.set_database_name(database);
  std::error_code ec;
  if (!std::filesystem::exists(database, ec) && !ec) {
    if (!Data1.create_database(kLibraryScript)) {
      rt.MsgBox("impossibile creare la libreria " + database + " (" + Data1.error_text() + ")",
                MsgButtons::Ok);
      return false;
    }
    rt.MsgBox("la libreria è vuota: creato il nuovo file " + database, MsgButtons::Ok);
    return false;
  }
  if (!Data1.has_fields("schema", library_fields()) || !Data1.has_fields("schemi", library_fields())) {
    rt.MsgBox(library_error_text(database, Data1.error_text()), MsgButtons::Ok);
    return false;
  }
  return true;
}

bool Main::query_library(std::string sql, std::vector<SqlValue> params) {
  Data1.set_record_source(std::move(sql), std::move(params));
  if (Data1.Refresh()) return true;
  rt.MsgBox(library_error_text(database, Data1.error_text()), MsgButtons::Ok);
  return false;
}

void Main::apri_libreria() {
  liv1 = liv2 = liv3 = liv4 = liv5 = liv6 = liv7 = liv8 = liv9 = liv10 = liv11 = liv12 = liv13 =
      liv14 = 0;
  if (!library_ready()) return;
  frmlivello.Show();
}

// Loads the puzzle selected in the level chooser as a pure killer puzzle: every cage with its
// full sum, no digit placed. The record is checked before the board is touched: a record that
// cannot be reached or holds no layout is refused with a message and the board stays as it was,
// as it does when the player keeps the game in progress; the chooser then stays open.
void Main::libreria() {
  if (!frmlivello.move_to_selected()) return;
  const std::string N = std::to_string(frmlivello.selected());
  const std::string L = frmlivello.livelloscelto.text();
  if (txtkenvari.text().find_first_not_of(' ') == std::string::npos) {
    rt.MsgBox("lo schema " + N + " non contiene gruppi e non può essere caricato", MsgButtons::Ok);
    return;
  }
  // A layout the loader would refuse is refused here, before the game in progress is reset.
  if (const std::string why = layout_refusal(txtkenvari.text()); !why.empty()) {
    rt.MsgBox("lo schema " + N + " non può essere caricato: schema non valido: " + why, MsgButtons::Ok);
    return;
  }
  const int record = static_cast<int>(std::clamp(val(txtprogressivo.text()), 0.0, 2147483647.0));
  const int position = frmlivello.selected() - 1;
  const std::string layout = txtkenvari.text();
  if (!may_discard_game()) return;

  frmlivello.Unload();
  // The new board starts with the digit boxes shown, as after the new command.
  if (mnupencil.checked()) mnupencil_Click();
  nuovo_schema();
  clear_cage_window();
  filelibreria = true;
  library_record = record;
  // The reset blanked the time box; the record shows again in every bound box.
  Data1.set_absolute_position(position);
  stringa = layout;
  txtprogressivo.set_visible(true);

  carica_gruppi_da_stringa();
  controlla_contiguita();
  inizializza_candidati();
  for (int k = 0; k <= gruppo; ++k) {
    origine = mode::kSomme1;
    calcola_somme_gruppo(k);
  }
  for (int i = 0; i < kCells; ++i) library_start[i] = Text2[i].text();
  library_start_cages = cage_line();

  filetxt.set_text(" Livello " + L + ", schema " + N);
  if (L == "14" || !txtdettaglio.text().empty()) {
    testototale.set_text(" tot. " + txttotale.text());
    txtlivello.set_text("");
    txtlivello1.set_text(txtdettaglio.text());
  }
  if (mnupencil.checked()) mnupencil_Click();
  warn_impossible_sums();
}

bool Main::at_library_start() const {
  for (int i = 0; i < kCells; ++i)
    if (!Text1[i].text().empty() || Text2[i].text() != library_start[i]) return false;
  return cage_line() == library_start_cages;
}

bool Main::store_library_record(int progressivo,
                                const std::vector<std::pair<std::string, std::string>>& fields) {
  if (progressivo <= 0) return false;
  Data1.set_database_name(database);
  return Data1.update_record("schema", "progressivo", std::int64_t{progressivo}, fields);
}

}  // namespace ks
