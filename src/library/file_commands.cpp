// The file commands of the main window: open a puzzle file, save the board into one, and the
// one-line export of the board ("salva per flash").
#include <algorithm>

#include "board/main.h"
#include "library/puzzle_files.h"
#include "platform/text.h"

namespace ks {

namespace {
constexpr const char* kFileError = "errore nel salvataggio";
}  // namespace

// A file is written from closed cages only: the cage being entered closes first when its sum box
// holds text, as at a click on a toolbar. One that stays open would be left out of the file, which
// could not be the puzzle the player sees: the file is refused, with the reason.
std::string Main::open_cage_refusal() {
  if (!close_typed_cage())
    return "il gruppo in corso di inserimento non è stato chiuso: correggerlo prima di salvare";
  if (cage_being_entered(gruppi))
    return "il gruppo in corso di inserimento non ha ancora la sua somma: scriverla prima di "
           "salvare";
  return "";
}

// A closed cage has a sum; the cage being entered has none until its sum box is left. Each cage
// is written as it stands on the board, whatever puzzle it came from (a file, the library, the
// editor, the generator): every cell that belongs to it, filled or not, and its full sum, the
// remaining sum plus the digits placed in it. So a game saved during play opens again as the
// same puzzle, its digits in the second line of "sc+".
std::string Main::cage_line() const {
  std::string line;
  const int last = std::min(gruppi, kCells - 1);
  for (int g = 0; g <= last; ++g) {
    if (!sommagruppo[g].is_number() || (g == gruppi && cellacolorata > 0)) continue;
    std::array<int, kMaxCageCells> cells{};
    const int n = cage_members(g, cells);
    if (n == 0) continue;
    line += num_text(full_sum(g)) + ",";
    for (int k = 0; k < n; ++k) line += two_digits(cells[static_cast<size_t>(k)]);
    line += ";";
  }
  return line;
}

// A filled cell writes its digit, an empty one its candidates as ascending digits, so that every
// field reads back whatever was typed into a candidate box. The "sc+" reader takes a field of one
// character for a placed digit, so there an empty cell left with one candidate writes it twice
// ("77"): it opens again empty, with that candidate. "sas" is never read and keeps it single.
std::string Main::cell_fields_line(bool lone_candidate_twice) const {
  std::string line;
  for (int i = 0; i < kCells; ++i) {
    const std::string& digit = Text1[i].text();
    if (!digit.empty()) {
      line += digit;
    } else {
      const unsigned mask = candidate_mask(i);
      const size_t start = line.size();
      for (int d = 1; d <= 9; ++d)
        if (mask & (1u << d)) line += static_cast<char>('0' + d);
      if (lone_candidate_twice && line.size() == start + 1) line += line.back();
    }
    line += ',';
  }
  return line;
}

// The file's cages go through the layout loader. An "sc+" file then gives every cell its field
// (a one-character field is the cell's digit and its candidate string, a digit written twice the
// only candidate of an empty cell) and every cage its
// remaining sum and empty cells from the digits placed; the other formats get their candidates
// from the cages.
void Main::load_puzzle_text(FileFormat format, const PuzzleText& text) {
  ins_dati = true;
  stringa = text.layout;
  carica_gruppi_da_stringa();
  gruppo1 = gruppi;
  if (format == FileFormat::ScPlus) {
    for (int i = 0; i < kCells; ++i) {
      const std::string& field = text.fields[static_cast<size_t>(i)];
      if (field.size() == 2 && field[0] == field[1]) {
        Text2[i].set_text(field.substr(1));
      } else {
        Text2[i].set_text(field);
        if (field.size() == 1) Text1[i].set_text(field);
      }
    }
    for (int g = 0; g <= gruppi; ++g) cage_from_layout(g);
  } else {
    // The candidate boxes of the empty cells show while the cages are checked.
    mnupencil_Click();
    chiamante = "";
    controlla_contiguita();
    inizializza_candidati();
    mnupencil_Click();
  }
  ins_dati = false;
  chiamante = mode::kManuale;
}

// A cancelled dialog changes nothing, nor does a name of a format that cannot be opened. A file
// is read and checked whole before the board is touched: one that cannot be read or holds no
// puzzle is refused with the reason and the file's name, and the game in progress, the clock and
// the status line stay as they were. Only a sound file resets the board, once the player agrees
// to give up the game in progress, and names itself there.
void Main::mnuopen_Click() {
  const std::string name = rt.ShowOpen(kOpenFilter);
  if (name.empty()) return;
  const FileFormat format = file_format(name);
  if (format == FileFormat::None || format == FileFormat::Sas) {
    rt.MsgBox("si possono aprire solo i file che finiscono con sa+, sc+, sav o txt",
              MsgButtons::Ok);
    return;
  }
  std::string bytes;
  const bool readable = read_text_file(name, bytes);
  PuzzleText text;
  const std::string why = readable ? read_puzzle_text(format, bytes, text) : "";
  if (!readable || !why.empty()) {
    rt.MsgBox((readable ? "schema non valido: " + why : std::string(kFileError)) + " (" + name + ")",
              MsgButtons::Ok);
    return;
  }
  if (!may_discard_game()) return;

  filelibreria = false;
  library_record = 0;
  if (mnupencil.checked()) mnupencil_Click();
  nuovo_schema();
  clear_cage_window();
  filetxt.set_text(" " + name);
  load_puzzle_text(format, text);
  warn_impossible_sums();
}

void Main::mnusave_Click() {
  if (const std::string why = open_cage_refusal(); !why.empty()) {
    rt.MsgBox(why, MsgButtons::Ok);
    return;
  }
  const std::string name = rt.ShowSave(kSaveFilter);
  if (name.empty()) return;
  std::vector<std::string> lines;
  switch (file_format(name)) {
    case FileFormat::SaPlus: lines = {cage_line()}; break;
    case FileFormat::Sas: lines = {cell_fields_line(false)}; break;
    case FileFormat::ScPlus: lines = {cage_line(), cell_fields_line(true)}; break;
    default:
      rt.MsgBox("si può salvare solo con un nome che finisce con sa+, sas o sc+", MsgButtons::Ok);
      return;
  }
  // A file of cages needs a cage: a file without any could not be opened again.
  if (file_format(name) != FileFormat::Sas && lines[0].empty()) {
    rt.MsgBox("nessun schema caricato", MsgButtons::Ok);
    return;
  }
  if (!write_text_file(name, lines)) {
    rt.MsgBox(kFileError, MsgButtons::Ok);
    return;
  }
  if (file_format(name) != FileFormat::Sas) cages_unsaved = false;
  filetxt.set_text(" " + name);
}

// The export line: the digits of the filled cells, the level of the library record, and the
// cages on the board, separated by blanks. Once the file is written the digits also go to the
// library box of the grid; an export that is refused or cannot write changes nothing.
void Main::Command2_Click() {
  if (const std::string why = open_cage_refusal(); !why.empty()) {
    rt.MsgBox(why, MsgButtons::Ok);
    return;
  }
  std::string grid;
  for (const TextBox& box : Text1) grid += box.text();
  const std::string cages = cage_line();
  if (cages.empty()) {
    rt.MsgBox("nessun schema caricato", MsgButtons::Ok);
    return;
  }
  std::string name = rt.ShowSave(kExportFilter);
  if (name.empty()) return;
  if (!name.ends_with(".txt")) name += ".txt";
  // The blanks separate the parts: the level keeps none of its own.
  std::string level = testolivello.text();
  std::erase(level, ' ');
  if (!write_text_file(name, {grid + " " + level + " " + cages})) {
    rt.MsgBox(std::string(kFileError) + " (" + name + ")", MsgButtons::Ok);
    return;
  }
  txtstringa.set_text(grid);
}

}  // namespace ks
