// The level chooser: its controls as laid out at design time, the choice of a level with a
// random first puzzle, the moves between the puzzles of the level, and the load button.
#include "library/level_chooser.h"

#include <algorithm>

#include "board/main.h"
#include "library/library.h"
#include "platform/text.h"

namespace ks {

namespace {

// The caption of each level row, level 0 first.
constexpr std::array<const char*, 14> kLevelCaptions = {
    "Livello 0 - BANALE",
    "Livello 1 - FACILE - Singoli Nascosti",
    "Livello 2 - MEDIO - Controllo Somme",
    "Livello 3 - MEDIO - Gruppo contro settore",
    "Livello 4 - AVANZATO - Posizioni obbligate",
    "Livello 5 - HARD - Hidden pair",
    "Livello 6 - HARD - Gruppo contro gruppo",
    "Livello 7 - VERY HARD -Naked triple",
    "Livello 8 - VERY HARD - Analisi somme profonda",
    "Livello 9 - VERY HARD - regola 45 su righe-colonne multiple",
    "Livello 10 - EXTREME - Altri Gruppi",
    "Livello 11 - EXTREME - Altri Gruppi numerosi (più di 2 elementi)",
    "Livello 12 - EXTREME - Altri Gruppi su righe-colonne multiple ",
    "Livello 13 - EXTREME - prova & verifica",
};
constexpr int kNoLevel = 15;  // the hidden option selected while no level is chosen
constexpr int kRowHeight = 22;
constexpr Color kSystemButtonFace = 0x8000000Fu;  // labels take the window's own colour

// A whole number typed into a box: digits only, blanks around them allowed; -1 otherwise.
int typed_number(const std::string& text) {
  const auto b = text.find_first_not_of(' ');
  if (b == std::string::npos) return -1;
  const auto e = text.find_last_not_of(' ');
  const std::string t = text.substr(b, e - b + 1);
  if (t.size() > 9 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  return std::stoi(t);
}

}  // namespace

Part<Frmlivello> make_level_chooser(Main& main) { return Part<Frmlivello>(new Frmlivello(main)); }

void PartEnd::operator()(Frmlivello* p) const { delete p; }

Frmlivello::Frmlivello(Main& main) : main_(main) {
  form.set_caption("Selezione Livello");
  form.set_size(560, 446);

  Frame1.attach(form, "Frame1");
  Frame1.move(8, 4, 544, 14 * kRowHeight + 12);
  for (int k = 0; k < 16; ++k) {
    Option1[k].attach(form, "Option1", k);
    const int row = k == kNoLevel ? 13 : k;
    Option1[k].move(18, 10 + row * kRowHeight, 526, 20);
    if (k < 14) Option1[k].set_caption(kLevelCaptions[static_cast<size_t>(k)]);
    if (k >= 14) Option1[k].set_visible(false);
    Option1[k].on_click = [this, k] {
      if (!busy()) Option1_Click(k);
    };
  }
  livelloscelto.attach(form, "livelloscelto");
  livelloscelto.move(470, 10, 60, 20);
  livelloscelto.set_visible(false);

  // The three rows below the levels, left to right: labels with their caption, text boxes,
  // then the buttons.
  const int y1 = 336, y2 = 374, y3 = 412;
  const struct {
    Label* label;
    const char* name;
    int left, top, width;
    const char* caption;
  } labels[] = {{&Label1, "Label1", 8, y1, 124, "La libreria contiene"},
                {&Label2, "Label2", 192, y1, 200, "schemi         schema selezionato"},
                {&Label3, "Label3", 8, y2, 60, "dettaglio"},
                {&Label4, "Label4", 286, y2, 64, "difficoltà"},
                {&Label5, "Label5", 8, y3, 272, "Schemi ordinati per difficoltà decrescente"},
                {&Label6, "Label6", 286, y3, 20, "id"},
                {&Label7, "Label7", 380, y3, 44, "tempo"}};
  for (const auto& l : labels) {
    l.label->attach(form, l.name);
    l.label->move(l.left, l.top + 3, l.width, 20);
    l.label->set_caption(l.caption);
    l.label->set_back_color(kSystemButtonFace);
  }
  const struct {
    TextBox* box;
    const char* name;
    int left, top, width;
  } boxes[] = {{&numerototale, "numerototale", 134, y1, 52},
               {&numeroselezionato, "numeroselezionato", 394, y1, 52},
               {&dettagliotxt, "dettagliotxt", 68, y2, 210},
               {&difftxt, "difftxt", 350, y2, 52},
               {&progtxt, "progtxt", 306, y3, 64},
               {&temptxt, "temptxt", 424, y3, 122}};
  for (const auto& t : boxes) {
    t.box->attach(form, t.name);
    t.box->move(t.left, t.top, t.width, 24);
  }
  // What the player types passes the window's input rule; the buttons write the box directly.
  numeroselezionato.on_typed = [this](std::string t) {
    if (!busy()) numeroselezionato.set_text(std::move(t));
  };
  numeroselezionato.install_on_change([this] { numeroselezionato_Change(); });

  Command1.attach(form, "Command1");
  Command1.move(456, y1 - 4, 90, 32);
  Command1.set_picture("carica");
  Command1.set_tool_tip("carica lo schema selezionato");
  Command1.on_click = [this] {
    if (!busy()) Command1_Click();
  };
  const struct {
    CommandButton* button;
    const char* name;
    const char* picture;
    void (Frmlivello::*click)();
  } moves[] = {{&Command5, "Command5", "primo", &Frmlivello::Command5_Click},
               {&Command2, "Command2", "precedente", &Frmlivello::Command2_Click},
               {&Command3, "Command3", "successivo", &Frmlivello::Command3_Click},
               {&Command4, "Command4", "ultimo", &Frmlivello::Command4_Click}};
  int x = 410;
  for (const auto& m : moves) {
    m.button->attach(form, m.name);
    m.button->move(x, y2 - 1, 32, 26);
    m.button->set_picture(m.picture);
    m.button->set_tool_tip(m.picture);
    m.button->on_click = [this, click = m.click] {
      if (!busy()) (this->*click)();
    };
    x += 34;
  }

  load_design_values();
}

void Frmlivello::load_design_values() {
  level_ = -1;
  count_ = 0;
  selected_ = 0;
  for (int k = 0; k < 16; ++k) Option1[k].set_value(k == kNoLevel);
  livelloscelto.set_text("Text1");
  for (TextBox* b : {&numerototale, &numeroselezionato, &dettagliotxt, &difftxt, &progtxt, &temptxt})
    b->set_text("");
  // Nothing to load until a puzzle is selected.
  Command1.set_visible(true);
  Command1.set_enabled(false);
}

void Frmlivello::Show() {
  if (!form.visible()) load_design_values();
  form.Show();
}

void Frmlivello::Unload() { form.Hide(); }

bool Frmlivello::busy() {
  if (main_.accepts_input(Main::Input::Command)) return false;
  for (int k = 0; k < 16; ++k) Option1[k].set_value(k == (level_ >= 0 ? level_ : kNoLevel));
  return true;
}

// Choosing a level: the data control runs the level's query, and a puzzle drawn at random among
// its records becomes the selected one. A level without puzzles hides the load button and
// leaves everything else as it was: the previous query, record, selection and chosen option.
void Frmlivello::Option1_Click(int Index) {
  if (Index < 0 || Index >= static_cast<int>(kLevelCaptions.size())) return;
  DataControl& data = main_.Data1;
  const std::string old_source = data.record_source();
  const std::vector<SqlValue> old_params = data.record_source_params();
  const int old_position = data.absolute_position();
  const auto restore = [&] {
    data.set_record_source(old_source, old_params);
    if (data.Refresh() && old_position >= 0) data.set_absolute_position(old_position);
    for (int k = 0; k < 16; ++k) Option1[k].set_value(k == (level_ >= 0 ? level_ : kNoLevel));
  };

  if (!main_.query_library(kLevelSource, {std::int64_t{Index}})) {
    restore();
    return;
  }
  if (!data.MoveLast()) {
    main_.rt.MsgBox("nessun record", MsgButtons::Ok);
    Command1.set_visible(false);
    restore();
    return;
  }
  Command1.set_visible(true);
  const int n = data.record_count();
  level_ = Index;
  count_ = n;
  for (int k = 0; k < 16; ++k) Option1[k].set_value(k == Index);
  numerototale.set_text(std::to_string(n));
  livelloscelto.set_text(std::to_string(Index));

  const int start = std::min(static_cast<int>(main_.rt.Rnd() * static_cast<float>(n)) + 1, n);
  select_number(start);
  dettagliotxt.set_text(main_.txtdettaglio.text());
  difftxt.set_text(main_.txttotale.text());
}

void Frmlivello::select_number(int k) {
  const std::string text = std::to_string(k);
  if (numeroselezionato.text() == text)
    numeroselezionato_Change();
  else
    numeroselezionato.set_text(text);
}

bool Frmlivello::hold_level_source() {
  DataControl& data = main_.Data1;
  if (data.record_source() == kLevelSource && data.record_source_params().size() == 1 &&
      data.record_source_params()[0] == SqlValue(std::int64_t{level_}))
    return true;
  if (!main_.query_library(kLevelSource, {std::int64_t{level_}})) return false;
  count_ = data.record_count();
  numerototale.set_text(std::to_string(count_));
  return true;
}

bool Frmlivello::move_to_selected() {
  if (level_ < 0 || selected_ < 1) {
    main_.rt.MsgBox("nessuno schema selezionato", MsgButtons::Ok);
    return false;
  }
  if (!hold_level_source()) return false;
  if (!main_.Data1.set_absolute_position(selected_ - 1)) {
    main_.rt.MsgBox("nessun record", MsgButtons::Ok);
    return false;
  }
  return true;
}

// The selected number changed (by a button or by typing): the data control moves to that
// record and the chooser shows its detail, difficulty, id and time. Only a record that was
// reached can be loaded; a number outside the level's puzzles is refused with a message.
void Frmlivello::numeroselezionato_Change() {
  selected_ = 0;
  Command1.set_enabled(false);
  if (level_ < 0) return;
  const std::string& text = numeroselezionato.text();
  if (text.find_first_not_of(' ') == std::string::npos) return;  // being typed
  const int k = typed_number(text);
  if (k < 1 || k > count_) {
    main_.rt.MsgBox("numero non valido: scegliere uno schema da 1 a " + std::to_string(count_),
                    MsgButtons::Ok);
    return;
  }
  if (!hold_level_source()) return;
  DataControl& data = main_.Data1;
  if (!data.set_absolute_position(k - 1)) {
    if (data.error() == DataError::NoCurrentRecord) main_.rt.MsgBox("nessun record", MsgButtons::Ok);
    return;
  }
  dettagliotxt.set_text(main_.txtdettaglio.text());
  difftxt.set_text(main_.txttotale.text());
  temptxt.set_text(main_.temporis.text());
  progtxt.set_text(main_.txtprogressivo.text());
  selected_ = k;
  Command1.set_enabled(true);
}

void Frmlivello::Command1_Click() { main_.libreria(); }

// Previous and next step from the number shown, kept inside the level's puzzles.
int Frmlivello::shown_number() const {
  return static_cast<int>(std::clamp(val(numeroselezionato.text()), 0.0, count_ + 1.0));
}

void Frmlivello::Command2_Click() {
  const int k = shown_number();
  if (k > 1) select_number(std::min(k - 1, count_));
}

void Frmlivello::Command3_Click() {
  const int k = shown_number();
  if (count_ > k) select_number(k + 1);
}

void Frmlivello::Command4_Click() {
  if (level_ >= 0 && !hold_level_source()) return;
  if (level_ < 0 || !main_.Data1.MoveLast()) {
    main_.rt.MsgBox("nessun record", MsgButtons::Ok);
    return;
  }
  select_number(main_.Data1.absolute_position() + 1);
}

void Frmlivello::Command5_Click() {
  if (level_ >= 0) select_number(1);
}

}  // namespace ks
