// The main window's controls as laid out at design time, their event wiring, and the small
// helpers every procedure uses (activity log, cell references).
#include "board/main.h"

#include "platform/text.h"

namespace ks {

namespace {
// Left edge of the square of column c (1..9) and top edge of row r (1..9), window pixels.
constexpr std::array<int, 9> kSquareLeft = {32, 75, 118, 168, 212, 256, 306, 350, 394};
constexpr std::array<int, 9> kSquareTop = {74, 118, 162, 210, 254, 298, 346, 390, 434};

// The cage-colour palette: colour and position of each button (Index 0..17).
struct Swatch {
  Color color;
  int left, top;
};
constexpr std::array<Swatch, 18> kSwatches = {{
    {0xC0FFC0, 14, 503},  {0xC000, 38, 503},    {0xFFFF00, 62, 503},  {0x80C0FF, 86, 503},
    {0x808000, 110, 503}, {0xC0C0C0, 134, 503}, {0xFF8080, 158, 503}, {0xFFC0FF, 182, 503},
    {0xE0E0E0, 134, 524}, {0xC000C0, 182, 524}, {0xFF80FF, 158, 524}, {0xC0C000, 110, 524},
    {0x80FF, 86, 524},    {0xFFFFC0, 62, 524},  {0xFF00, 38, 524},    {0x80FFFF, 14, 524},
    {0xFFFFFF, 229, 512}, {0xFFFFFF, 204, 512},
}};
}  // namespace

Frmlog::Frmlog() {
  form.set_caption("log attività");
  form.set_size(420, 520);
  Text3.attach(form, "Text3");
  Text3.move(0, 0, 420, 520);
  Text3.set_multi_line(true);
  Text3.set_locked(true);
}

Frmgeneratore::Frmgeneratore() {
  form.set_caption("somme");
  form.set_size(300, 400);
  Text1.attach(form, "Text1");
  Text1.move(0, 0, 300, 400);
  Text1.set_multi_line(true);
  Text1.set_locked(true);
}

Main::Main(Runtime& runtime)
    : rt(runtime),
      sommagruppo(board_index_, BoardIndex::Key{}),
      elementigruppo(board_index_, BoardIndex::Key{}),
      cellegruppo(board_index_, BoardIndex::Key{}),
      gruppodicella(board_index_, BoardIndex::Key{}) {
  form.set_caption("Killer Sudoku");
  form.set_size(700, 580);

  // Board: squares, boxes and border segments, in cell order.
  for (int i = 0; i < kCells; ++i) {
    const int L = kSquareLeft[static_cast<size_t>(i % 9)];
    const int T = kSquareTop[static_cast<size_t>(i / 9)];
    Label2[i].attach(form, "Label2", i);
    Label2[i].move(L, T, 40, 40);
    for (auto* lines : {&Line1, &Line2, &Line3, &Line4}) {
      Line& ln = (*lines)[static_cast<size_t>(i)];
      const char* name = lines == &Line1 ? "Line1" : lines == &Line2 ? "Line2" : lines == &Line3 ? "Line3" : "Line4";
      ln.attach(form, name, i);
    }
    Text1[i].attach(form, "Text1", i);
    Text1[i].move(L + 1, T + 1, 36, 36);
    Text1[i].set_fore_color(rosso);
    Text2[i].attach(form, "Text2", i);
    Text2[i].move(L + 2, T + 8, 35, 28);
    Text2[i].set_locked(true);
    // The boxes' change hooks, installed here and nowhere else (a box refuses a second one): they
    // keep the board index, and a digit box's then runs cell entry.
    Text1[i].install_on_change([this, i] {
      board_index_.digit_changed(BoardIndex::Key{}, i, !Text1[i].text().empty());
      Text1_Change(i);
    });
    Text2[i].install_on_change(
        [this, i] { board_index_.candidates_changed(BoardIndex::Key{}, i, Text2[i].text()); });
  }
  // Thick box separators in the gaps between the boxes, and the outer frame.
  constexpr std::array<int, 4> kSepY = {70, 206, 342, 478};
  constexpr std::array<int, 4> kSepX = {28, 163, 301, 438};
  for (size_t k = 0; k < 4; ++k) {
    Line6[k].attach(form, "Line6", static_cast<int>(k));
    Line6[k].set_points(kSepX[0], kSepY[k], kSepX[3], kSepY[k]);
    Line6[k].set_border_width(3);
    Line7[k].attach(form, "Line7", static_cast<int>(k));
    Line7[k].set_points(kSepX[k], kSepY[0], kSepX[k], kSepY[3]);
    Line7[k].set_border_width(3);
  }
  for (int g = 0; g < kCells; ++g) {
    textsomma[g].attach(form, "textsomma", g);
    textsomma[g].move(0, 0, 14, 14);
    textsomma[g].set_visible(false);
    Textgruppo[g].attach(form, "Textgruppo", g);
    Textgruppo[g].move(0, 0, 14, 14);
    Textgruppo[g].set_visible(false);
  }
  for (int k = 0; k < 10; ++k) {
    Picture1[k].attach(form, "Picture1", k);
    Picture1[k].move(0, 0, 22, 22);
    Picture1[k].set_picture(k == 0 ? "cancella" : "cifra" + std::to_string(k));
    Picture1[k].set_visible(false);
  }
  for (int k = 0; k < 18; ++k) {
    const Swatch& s = kSwatches[static_cast<size_t>(k)];
    colore[k].attach(form, "colore", k);
    if (k < 16)
      colore[k].move(s.left, s.top, 20, 20);
    else
      colore[k].move(s.left, s.top, 27, 25);
    colore[k].set_back_color(s.color);
  }
  colore[16].set_caption("X");

  // The rest of the window, placed around the board.
  filetxt.attach(form, "filetxt");
  filetxt.move(28, 10, 300, 22);
  filetxt.set_locked(true);
  txtesposti.attach(form, "txtesposti");
  txtesposti.move(340, 10, 44, 22);
  txtesposti.set_locked(true);
  txtvuoti.attach(form, "txtvuoti");
  txtvuoti.move(392, 10, 44, 22);
  txtvuoti.set_locked(true);
  txthint.attach(form, "txthint");
  txthint.move(28, 40, 410, 24);
  txthint.set_locked(true);
  txthint.set_visible(false);
  Pictgo.attach(form, "Pictgo");
  Pictgo.move(460, 40, 32, 32);
  Pictgo.set_picture("semaforo_verde");
  Pictgo.set_visible(false);
  Pictalt.attach(form, "Pictalt");
  Pictalt.move(500, 40, 32, 32);
  Pictalt.set_picture("semaforo_rosso");
  Pictalt.set_visible(false);
  picstart.attach(form, "picstart");
  picstart.move(460, 92, 24, 24);
  picstart.set_tool_tip("start timer");
  Picture2.attach(form, "Picture2");
  Picture2.move(490, 92, 24, 24);
  Picture2.set_picture("reset");
  Picture2.set_tool_tip("reset timer");
  picrosso.attach(form, "picrosso");
  picrosso.set_picture("orologio_rosso");
  picrosso.set_visible(false);
  picverde.attach(form, "picverde");
  picverde.set_picture("orologio_verde");
  picverde.set_visible(false);
  tempotot.attach(form, "tempotot");
  tempotot.move(520, 92, 100, 24);
  tempotot.set_locked(true);
  tempotot.set_text("0");
  Timer1.attach(form, "Timer1");
  Timer2.attach(form, "Timer2");
  Timer2.set_interval(1000);
  tempo.attach(form, "tempo");
  tempo.move(460, 130, 160, 22);
  tempo.set_locked(true);
  Label3.attach(form, "Label3");
  Label3.move(460, 168, 60, 18);
  Label3.set_caption("number");
  Label3.set_visible(false);
  Text5.attach(form, "Text5");
  Text5.move(524, 164, 40, 24);
  Text5.set_locked(true);
  Text5.set_visible(false);
  txtlivello.attach(form, "txtlivello");
  txtlivello.move(460, 204, 230, 22);
  txtlivello.set_locked(true);
  txtlivello1.attach(form, "txtlivello1");
  txtlivello1.move(460, 230, 230, 22);
  txtlivello1.set_locked(true);
  testototale.attach(form, "testototale");
  testototale.move(460, 256, 230, 22);
  testototale.set_locked(true);
  txtstringa.attach(form, "txtstringa");
  txtstringa.move(460, 290, 230, 22);
  txtstringa.set_locked(true);
  // Bound to the grid of the library record: shown, it would give a loaded puzzle's solution away.
  txtstringa.set_visible(false);
  Check2.attach(form, "Check2");
  Check2.move(460, 324, 230, 22);
  Check2.set_caption("candidati modificabili manualmente");
  Command3.attach(form, "Command3");
  Command3.move(460, 358, 40, 26);
  Command3.set_caption("45");
  Command3.set_tool_tip("regola 45");
  Cmdtest.attach(form, "Cmdtest");
  Cmdtest.move(510, 358, 130, 26);
  Cmdtest.set_caption("testa il tuo pc");
  Command1.attach(form, "Command1");
  Command1.move(460, 394, 112, 26);
  Command1.set_caption("tenta riduzione");
  Command1.set_visible(false);
  Command2.attach(form, "Command2");
  Command2.move(578, 394, 112, 26);
  Command2.set_caption("salva per flash");
  Command2.set_visible(false);
  txtprogressivo.attach(form, "txtprogressivo");
  txtprogressivo.move(460, 430, 80, 22);
  txtprogressivo.set_locked(true);
  txtprogressivo.set_visible(false);
  Frame1.attach(form, "Frame1");
  Frame1.move(660, 536, 30, 30);

  Toolbar1.attach(form, "Toolbar1");
  Toolbar2.attach(form, "Toolbar2");

  // Menus with their design captions; start-up puts the Italian ones.
  struct Item {
    MenuItem* item;
    const char* name;
    const char* caption;
  };
  const auto menu = [this](MenuItem& top, const char* name, const char* caption,
                           std::initializer_list<Item> items) {
    top.attach(form, name, nullptr);
    top.set_caption(caption);
    for (const Item& it : items) {
      it.item->attach(form, it.name, &top);
      it.item->set_caption(it.caption);
    }
  };
  menu(mnufile, "mnufile", "File",
       {{&mnuopen, "mnuopen", "Open"}, {&mnusave, "mnusave", "Save"}, {&mnunew, "mnunew", "New blank"}});
  menu(mnuview, "mnuview", "View",
       {{&mnupencil, "mnupencil", "Show Pencil Marks"},
        {&mnurefresh, "mnurefresh", "Refresh Pencil Marks"},
        {&mnulog, "mnulog", "Log"},
        {&mnuactivity, "mnuactivity", "Show activity"}});
  menu(mnuhints, "mnuhints", "Hints",
       {{&mnuposition, "mnuposition", "Suggest position"},
        {&mnunumber, "mnunumber", "Show number"},
        {&mnurestricted, "mnurestricted", "Restricted positions"},
        {&mnuchain, "mnuchain", "Naked Pair"},
        {&mnutec4, "mnutec4", "Sector vs Sector"},
        {&mnuhidden, "mnuhidden", "Hidden pair"},
        {&mnuxwing, "mnuxwing", "X Wing"},
        {&mnusword, "mnusword", "Sword Fish"}});
  menu(mnutools, "mnutools", "Tools",
       {{&mnusolve, "mnusolve", "Solve"}, {&mnuanalise, "mnuanalise", "Analise"}});
  menu(mnugenerator, "mnugenerator", "Generator",
       {{&mnuquick, "mnuquick", "Quick"},
        {&mnuadvanced, "mnuadvanced", "Advanced"},
        {&mnureduce, "mnureduce", "Reduce (try to)"},
        {&mnumore, "mnumore", "Try to make more difficult (may require several minutes)"}});

  build_library_controls();
  build_command_bars();
  wire_events();
}

Main::~Main() = default;

void Main::log_line(const std::string& line) { log_text(line); }

void Main::log_text(std::string_view line) { frmlog.Text3.append("\r\n", line); }

void Main::log_append(const std::string& text) { frmlog.Text3.append(text); }

unsigned Main::candidate_mask(int cell) const {
  const std::uint16_t bits = board_index().candidate_bits(cell);
  return bits & kOddCandidates ? digit_mask(Text2[static_cast<size_t>(cell)].text()) : bits;
}

void Main::cut_candidate(int cell, char d) {
  TextBox& box = Text2[static_cast<size_t>(cell)];
  const std::uint16_t bits = board_index().candidate_bits(cell);
  // A text of ascending distinct digits loses d as its bits do (and is left alone without d: the
  // change hook, which takes the bits handed over, runs only when the text changes).
  if (!(bits & kOddCandidates) && d >= '1' && d <= '9') {
    const unsigned bit = 1u << (d - '0');
    if (!(bits & bit)) return;
    const auto left = static_cast<std::uint16_t>(bits & ~bit);
    board_index_.hand_over(BoardIndex::Key{}, cell, left);
    box.set_text(mask_digits(left));
  } else
    box.set_text(cut_first(box.text(), d));
}

std::string Main::rc(int cell) const {
  const int r = rigacella[static_cast<size_t>(cell)], c = colonnacella[static_cast<size_t>(cell)];
  // Every step names its cells, many times per solve: the usual one-digit row and column are
  // written without number formatting.
  if (r >= 0 && r <= 9 && c >= 0 && c <= 9)
    return {'r', static_cast<char>('0' + r), 'c', static_cast<char>('0' + c)};
  return "r" + std::to_string(r) + "c" + std::to_string(c);
}

}  // namespace ks
