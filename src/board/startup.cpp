// Start-up of the main window: cell layout, flags, colours, tables, captions and the activity
// log with the instructions for entering a puzzle.
#include "board/main.h"

namespace ks {

void Main::Form_Load() {
  start_solver();
  rt.Randomize(static_cast<std::uint32_t>(rt.Timer() * 1000.0f));

  for (int i = 0; i < kCells; ++i) {
    const int L = Label2[i].left();
    const int T = Label2[i].top();
    Line1[i].set_border_width(2);
    Line2[i].set_border_width(2);
    Line3[i].set_border_width(2);
    Line4[i].set_border_width(2);
    Line1[i].set_points(L, T, L + 38, T);
    Line3[i].set_points(L, T + 38, L + 38, T + 38);
    Line2[i].set_points(L, T, L, T + 38);
    Line4[i].set_points(L + 38, T, L + 38, T + 38);
    Text2[i].move(L + 2, T + 8);
    Text1[i].move(L + 1, T + 1);
  }

  gruppi = 0;
  picstart.set_picture(picverde.picture());

  path = rt.AppPath();
  database = path + "/schemikenvari.db";
  Data1.set_database_name(database);
  // The data control opens on "schemi" and stands on its first record, whose boxes the export
  // reads. A missing or damaged library says nothing here: the library command tells the
  // player when it is used. The solve-time display, bound to the record's time too, starts
  // empty: no puzzle has been solved (a display write, which never reaches the record).
  Data1.Refresh();
  tempo.set_text("");

  problema = false;
  ins_dati = true;
  generatorecontinuo = false;

  bianco = 0xFFFFFF;
  giallo = 0xFFFF;
  rosso = 0xFF;
  nero = kSystemWindowText;

  for (int i = 0; i < kCells; ++i) {
    Text1[i].set_tab_index(i);
    Text2[i].set_visible(false);
    Text2[i].set_text("123456789");
  }

  fill_tabellapossibili(tabellapossibili);

  for (int i = 0; i < kCells; ++i) {
    colonnacella[i] = colonnadicella(i);
    rigacella[i] = rigadicella(i);
    settorecella[i] = settoredicella(i);
  }

  for (int box = 0; box <= 8; ++box)
    for (int k = 0; k <= 8; ++k) cellesettore[box][k] = unit_cells(UnitKind::Box, box)[k];

  lingua = "en";
  cambia_lingua();

  frmlog.Show();
  frmlog.Text3.set_text(
      "Per inserire un nuovo schema occorre inserire, uno per uno, i vari gruppi. Per inserire un "
      "gruppo, selezionare un colore,quindi selezionare la prima cella del gruppo, la più alta a "
      "sinistra.");
  log_line("Selezionare le celle adiacenti fino a completare il gruppo. ");
  log_line(
      "Per chiudere e registrare il gruppo è necessario e sufficiente inserire la somma del gruppo "
      "nel quadratino apparso in alto a sinistra della prima cella. ");
  log_line("Se si vuole modificare un gruppo gia registrato, è sufficiente selezionare la prima cella. ");
  log_line(
      "Vi sarà chiesto di confermare la cancellazione del gruppo e la creazione di un nuovo "
      "gruppo. Date l'OK e procedete");
}

}  // namespace ks
