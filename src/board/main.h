// The main window: every control and variable of a run, and the procedures of every subsystem,
// declared here in one block per subsystem and defined in that subsystem's folder.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "board/board_index.h"
#include "board/cage_tables.h"
#include "board/cell_set.h"
#include "board/forms.h"
#include "board/modes.h"
#include "board/part.h"
#include "board/possible_digits.h"
#include "board/units.h"
#include "platform/controls.h"
#include "platform/data_control.h"
#include "platform/runtime.h"
#include "platform/value.h"

namespace ks {

// Types of the subsystems above the board that the procedures below take or return: named
// here, defined in generator/layout_run.h and library/puzzle_files.h.
struct LayoutRun;
enum class TryOutcome;
enum class FileFormat;
struct PuzzleText;

// Cells are numbered 0..80 row by row. Rows, columns and boxes (boxes row by row) are counted
// two ways. The program's tables and texts number them 1..9: rigacella, colonnacella,
// settorecella, rigadicella, colonnadicella, settoredicella, "r3c7". Every row, column, box or
// unit that a procedure of Main takes is an index 0..8, as the unit helpers of units.h count
// them. unit_number and unit_from_number (units.h) turn one into the other. The shared
// variables riga, colonna and settore hold what the procedure that wrote them last counts.
inline constexpr int kCells = 81;
// The number one past the last cell and the last real cage (0..80) stands for something else in
// each of these places:
//   kNoCell     the cell a single-finding technique found (`cella`): none
//   kEveryCage  the cage of a sum check (controllo_somme, controllo_somme_nuovi_gruppi): all
//   kNoCage     the cage that met a contradiction (gruppoproblema): none
//   kListEnd    entry 0 of the rule of 45's list of touching cages (gruppiregione): its end
inline constexpr int kNoCell = 81;
inline constexpr int kEveryCage = 81;
inline constexpr int kNoCage = 81;
inline constexpr int kListEnd = 81;
// Cage numbers: real cages 0..80, derived cages of the rule of 45 above the last real cage.
// Every table indexed by a cage number has this many entries, so that no cage number that a
// puzzle and its derived cages can reach falls outside a table.
inline constexpr int kCageSlots = 256;
// A cage has at most kMaxCageCells cells (possible_digits.h, beside what a cage's size allows).
// Sum combinations stored per cage: positions 1..kMaxCombos. The most one cage can have is 73
// (five cells, a digit may repeat, sum 25).
inline constexpr int kMaxCombos = 73;

class Main {
 public:
  explicit Main(Runtime& runtime);
  // Defined once, beside the constructor: the window's state is large, and an inline destructor
  // would be compiled again in every file that ends a window.
  ~Main();
  Main(const Main&) = delete;
  Main& operator=(const Main&) = delete;

  Runtime& rt;
  Form form{"main"};
  Frmlog frmlog;
  Frmgeneratore frmgeneratore;
  Frmactivity frmactivity;
  // The invisible solver form, held as a part (board/part.h).
  Part<Solver> solver_part{make_solver(*this)};
  Solver& solver{*solver_part};

  // ---------------------------------------------------------------------------------------------
  // Controls of the main window

  // The board. Cell i: square Label2(i) 40 x 40; digit box Text1(i) 36 x 36 at (+1, +1);
  // candidate box Text2(i) 35 x 28 at (+2, +8); border segments Line1 (top), Line2 (left),
  // Line3 (bottom), Line4 (right).
  std::array<TextBox, kCells> Text1;
  std::array<TextBox, kCells> Text2;
  // What the techniques' fast paths read about the boxes (board_index.h), read-only: only its
  // owners write it (BoardIndex::Key, after the class).
  const BoardIndex& board_index() const { return board_index_; }

 private:
  BoardIndex board_index_;

 public:
  static constexpr std::uint16_t kOddCandidates = BoardIndex::kOdd;
  // Whether digit character d is among the candidates of cell (0..80).
  bool has_candidate(int cell, char d) const {
    const std::uint16_t bits = board_index().candidate_bits(cell);
    if (bits & kOddCandidates) return Text2[static_cast<size_t>(cell)].text().find(d) != std::string::npos;
    return d >= '1' && d <= '9' && (bits >> (d - '0') & 1u);
  }
  // The digits 1..9 among the candidates of cell (0..80) as bits 1..9.
  unsigned candidate_mask(int cell) const;
  // The length of the candidate text of cell (0..80).
  int candidate_count(int cell) const {
    return static_cast<int>(Text2[static_cast<size_t>(cell)].text().size());
  }
  // Cuts digit character d out of the candidates of cell (0..80): the first d of its text goes
  // (nothing happens when the text lacks d).
  void cut_candidate(int cell, char d);
  std::array<Label, kCells> Label2;
  std::array<Line, kCells> Line1, Line2, Line3, Line4;
  // Thick box separators: Line6 horizontal, Line7 vertical (outer frame and the two inner lines).
  std::array<Line, 4> Line6, Line7;
  // Sum box and cage-number box of each real cage.
  std::array<TextBox, kCells> textsomma;
  std::array<TextBox, kCells> Textgruppo;
  // The digit palette: 1..9 place the digit, 0 erases.
  std::array<PictureBox, 10> Picture1;
  // The cage-colour palette: 0..15 colours, 16 "X" (end colouring), 17 white (take a cell back).
  std::array<CommandButton, 18> colore;

  TextBox txthint;       // the hint line
  PictureBox Pictgo;     // green light of the step gate
  PictureBox Pictalt;    // red light of the step gate
  TextBox txtesposti;    // filled cells
  TextBox txtvuoti;      // empty cells
  TextBox tempo;         // elapsed solve or generation time
  TextBox tempotot;      // play clock display
  PictureBox picstart;   // play clock start / pause
  PictureBox picrosso;   // holder of the red image (hidden)
  PictureBox picverde;   // holder of the green image (hidden)
  PictureBox Picture2;   // play clock reset
  Timer Timer1;
  Timer Timer2;          // play clock tick
  TextBox filetxt;       // status line: where the puzzle came from
  TextBox txtstringa;    // the grid as 81 digits
  TextBox txtlivello;    // level name
  TextBox txtlivello1;   // level detail
  TextBox testototale;   // rating total
  TextBox txtprogressivo;  // library record number
  TextBox Text5;         // the hinted digit
  Label Label3;          // caption of Text5
  CheckBox Check2;       // "candidati modificabili manualmente"
  Frame Frame1;          // hidden switch of the developer buttons
  CommandButton Command1;  // "tenta riduzione"
  CommandButton Command2;  // "salva per flash"
  CommandButton Command3;  // "45"
  CommandButton Cmdtest;   // "testa il tuo pc"
  Toolbar Toolbar1;        // techniques and hints
  Toolbar Toolbar2;        // files, library, print, solve, restart, sums, generation

  // Menus.
  MenuItem mnufile, mnuopen, mnusave, mnunew;
  MenuItem mnuview, mnupencil, mnurefresh, mnulog, mnuactivity;
  MenuItem mnuhints, mnuposition, mnunumber, mnurestricted, mnuchain, mnutec4, mnuhidden,
      mnuxwing, mnusword;
  MenuItem mnutools, mnusolve, mnuanalise;
  MenuItem mnugenerator, mnuquick, mnuadvanced, mnureduce, mnumore;

  // ---------------------------------------------------------------------------------------------
  // State of a run

  // Colours (&HBBGGRR).
  Color bianco = 0xFFFFFF;   // normal background; a cell is free of cages while it has it
  Color giallo = 0xFFFF;     // highlight of the cells of a step
  Color rosso = 0xFF;        // digit colour
  Color nero = kSystemWindowText;

  // Geometry, filled at start-up: the numbers 1..9 of the row, column and box of each cell, and
  // cellesettore[s][k] = the k-th cell (row by row) of the box of index s.
  std::array<int, kCells> rigacella{}, colonnacella{}, settorecella{};
  std::array<std::array<int, 9>, 9> cellesettore{};
  // tabellapossibili[n][s]: the digits that a cage of n cells (2..7) with sum s (0..42) can hold;
  // "" where no set exists.
  PossibleDigits tabellapossibili;

  // The cage model, indexed by cage number. Real cages 0..gruppi, derived cages gruppi+1..gruppo1.
  // The four tables below are read as arrays and written through set() (cage_tables.h), which
  // stamps every changed entry for the board index (the constructor binds them to it).
  int gruppi = 0;   // number of the last real cage; in the editor the cage being entered
  int gruppo = 0;   // running cage number of loaders and techniques
  int gruppo1 = 0;  // highest cage number, derived cages included
  CageTable<Value, kCageSlots> sommagruppo;     // sum; during play the remaining sum
  CageTable<Value, kCageSlots> elementigruppo;  // cells; during play the empty cells
  // cellegruppo[g][k], k = 1..elementigruppo[g]: the cells (during play the empty ones) in the
  // order entered; position 0 is never used. Read it through cage_cell().
  CageTable<std::array<Value, kMaxCageCells + 1>, kCageSlots> cellegruppo;
  CageTable<Value, kCells> gruppodicella;       // cage of each cell, "" when none
  // The layout as loaded, kept for the restart command.
  std::array<Value, kCageSlots> elementioriginali;
  std::array<std::array<Value, kMaxCageCells + 1>, kCageSlots> celleoriginali;
  Value coloreselezionato;  // colour of the cage being entered, "" when none
  int cellacolorata = 0;    // cells added so far to the cage being entered
  bool colori = false;      // cage editor mode

  // Sum combinations per cage: numerosomme[g] ("" = not computed), elencosomme[g][1..numerosomme],
  // numeriobbligati[g] = the digits common to every combination.
  std::array<Value, kCageSlots> numerosomme;
  std::array<std::array<std::string, kMaxCombos + 1>, kCageSlots> elencosomme;
  std::array<std::string, kCageSlots> numeriobbligati;

  // Working copies of trial and verify, the solution counter and the generator.
  std::array<Value, kCageSlots + 1> sommacopia;
  std::array<std::array<Value, kMaxCageCells + 1>, kCageSlots> cellecopia;
  std::array<Value, kCageSlots> elementicopia;
  std::array<Value, kCells> listaappoggio;
  std::array<std::string, kCells + 1> cellesalvate;  // per cell its digit or candidate string
  std::array<std::string, kCells> grigliasoluzione;
  std::array<std::string, kCells> grigliaprova;

  // Lists of the rule of 45.
  std::array<Value, kCells> nuovogruppodicella1, nuovogruppodicella2;
  std::array<Value, kCageSlots> gruppiregione;
  std::array<Value, kCells> celleinterne;
  std::array<Value, kCageSlots> celleesterne;
  int el_interni = 0, el_esterni = 0;

  // Counters and flags.
  int esposti = 0;         // filled cells
  bool finito = false;     // the grid is complete
  bool ins_dati = false;   // bulk fill: cell entry only counts
  bool problema = false;   // a contradiction was met
  bool incongruenza = false;  // contradictions also go to the activity log
  bool modificato = false;    // the last technique call changed something
  bool generatorecontinuo = false;
  bool generaeconta = false;
  bool conteggioeseguito = false;
  bool varcontrolloesteso = false;
  bool sommeestese = false;
  bool doppiedoppie = false;
  bool filelibreria = false;
  int cella = 0;      // selected cell; cell found by a single-finding technique (or kNoCell)
  int cella1 = 0;
  std::string numero;  // the digit at work
  int riga = 0, colonna = 0, settore = 0, indice = 0;  // shared loop variables
  int gruppoproblema = kNoCage;
  int contatoredimessaggio = 0;

  // Mode words (their values are named in modes.h).
  std::string calling;      // "" step mode, "risolvi", "genera"
  std::string calling1;     // "", "trial", "classico"
  std::string chiamante;    // "manuale", "analisi", "genera"
  std::string origine;      // tag of the technique at work
  std::string origine1;     // "modificatext1" while cell entry runs the sum check
  std::string scelta;       // answer at the step gate: "" waiting, "si", "no"

  std::string stringa;  // the shared work text
  std::string testo;    // the text of the step being reported

  // Difficulty record.
  int livello = 0;
  int liv1 = 0, liv2 = 0, liv3 = 0, liv4 = 0, liv5 = 0, liv6 = 0, liv7 = 0, liv8 = 0, liv9 = 0,
      liv10 = 0, liv11 = 0, liv12 = 0, liv13 = 0, liv14 = 0;
  std::string stringaliv;
  int tot = 0;
  int soluzioni = 0;

  // Depths and limits of the solving ladders. lunghezza1, the refutation bound of trial and
  // verify, starts at kFirstRefutationBound on a new puzzle and at every solve.
  static constexpr int kFirstRefutationBound = 15;
  int volte = 3, volteestese = 3;
  int lunghezza = 3, lunghezza1 = kFirstRefutationBound, dopominimo = 7;

  // Clock readings (seconds since midnight).
  float t0 = 0, t1 = 0, t2 = 0;

  std::string path;    // the program's folder
  std::string lingua;  // interface language
  std::string database;  // the library database file

  // ---------------------------------------------------------------------------------------------
  // Board, cage model and main window

  // Geometry of a cell (0..80): the numbers 1..9 of its row, column and box.
  static int rigadicella(int cell);
  static int colonnadicella(int cell);
  static int settoredicella(int cell);

  void Form_Load();
  void cambia_lingua();
  // Connects the controls' events to their handlers.
  void wire_events();
  // Activity log: a new line (after a line break), or more text on the last line.
  void log_line(const std::string& line);
  void log_append(const std::string& text);
  // A new line from any text, the same as log_line (which calls it): cell entry and the singles
  // write theirs without temporary texts.
  void log_text(std::string_view line);
  // "r" row "c" column of a cell.
  std::string rc(int cell) const;

  // Step gate and the loaded-puzzle check.
  void aspetta();
  void Pictgo_Click();
  void Pictalt_Click();
  bool schema_caricato();

  // Board reset, classic candidates, cage borders, the cage-layout loader.
  void nuovo_schema();
  // The mode words, the rule-of-45 depths and the bounds of trial and verify of a new board, set
  // by the reset and by a solve that ends unsolved: the player's steps explain themselves and
  // wait at the traffic light, and the next search starts from its first depths.
  void fresh_play_modes();
  void calcola_candidati();
  void disegna_gruppi();
  void outline_cages();
  void controlla_contiguita();
  void carica_gruppi_da_stringa();
  // Border helpers shared by the reset, the drawing and the loader: the four segments of cell i
  // back on its square; the segments between cell c and its earlier-visited neighbours of cage g
  // hidden and joined; the sum box of cage g on the square of cell `first`.
  void reset_cell_borders(int i);
  // Whether the cells of cage g hang together: each reached from the first by steps to a side
  // neighbour of the same cage.
  bool cage_whole(int g, std::span<const int> cells) const;
  void join_cage_borders(int c, int g);
  void place_sum_box(int g, int first);
  // The mode words under which a technique explains its steps (chiamante "manuale" or
  // "analisi").
  bool explains() const { return chiamante == mode::kManuale || chiamante == mode::kAnalisi; }

  // The cell number held by a cage-table entry, or -1 when it is not a whole number 0..80.
  // (Inline: every read of a cage's cells passes here, in the inner loops of the techniques.)
  static int cell_number(const Value& v) {
    if (!v.is_number()) return -1;
    const double d = v.num();
    if (!(d >= 0 && d <= kCells - 1)) return -1;
    const int c = static_cast<int>(d);
    return c == d ? c : -1;
  }

  // The cage model, read safely. cage_cell: the cell in position k (1..kMaxCageCells) of cage g's
  // list (its empty cells during play), -1 when g or k lies outside the tables or the entry holds
  // no cell number; cage_size: how many cells the list holds, 0..kMaxCageCells; layout_cell and
  // layout_size: the same for the layout as entered or loaded; cage_of: the real cage of a cell,
  // -1 when none; in_cage: whether a cell belongs to cage g (a derived cage names its cells only
  // in its list).
  // (Inline: the techniques read the cage tables in their inner loops.)
  int cage_cell(int g, int k) const {
    if (g < 0 || g >= kCageSlots || k < 1 || k > kMaxCageCells) return -1;
    return cell_number(cellegruppo[static_cast<size_t>(g)][static_cast<size_t>(k)]);
  }
  int cage_size(int g) const {
    if (g < 0 || g >= kCageSlots) return 0;
    const Value& n = elementigruppo[static_cast<size_t>(g)];
    if (!n.is_number()) return 0;
    return std::clamp(n.as_int(), 0, kMaxCageCells);
  }
  int layout_cell(int g, int k) const;
  int layout_size(int g) const;
  int cage_of(int cell) const {
    if (cell < 0 || cell >= kCells) return -1;
    const Value& v = gruppodicella[static_cast<size_t>(cell)];
    if (!v.is_number()) return -1;
    const double d = v.num();
    if (!(d >= 0 && d < kCageSlots)) return -1;
    const int g = static_cast<int>(d);
    return d == g ? g : -1;
  }
  bool in_cage(int cell, int g) const;
  // Whether g is the cage being entered in the editor: it has cells but no sum yet, and its list
  // holds its cells in the order clicked (the white button takes the last one back). Cell entry
  // leaves its record alone; closing it counts the digits already in its cells.
  bool cage_being_entered(int g) const { return cellacolorata > 0 && g == gruppi; }
  // The cells of real cage g as the board stands, filled or not: those whose gruppodicella is g,
  // in the order of the load-time layout, then any others in cell order. Returns how many.
  int cage_members(int g, std::array<int, kMaxCageCells>& cells) const;
  // The sum of real cage g as entered or loaded: its remaining sum plus the digits placed in it.
  double full_sum(int g) const;
  // The load-time layout of cage g becomes positions 1..n of its cell list (a cage the editor
  // closes, the generator's final cages): the order the restart and the erasures of play follow.
  void keep_layout(int g, int n);

  // The input rule. Every user event of the window is of one of these kinds: Board (digit boxes,
  // the digit palette, the cage editor), Command (toolbars, menus, candidate boxes, sum boxes,
  // buttons), View (what only changes the view: pencil marks, the hinted digit, arrow keys, the
  // play clock). accepts_input says whether the window takes it now and tells the player why
  // not; events are wired to their handlers through it, so no handler checks it again.
  enum class Input { Board, Command, View };
  bool accepts_input(Input kind);
  // Why the window refuses that kind of event now; null when it takes it.
  const char* input_refusal(Input kind) const;

  // The step gate: the cells of a step are highlighted, the cage window shows cage g while it is
  // open (g < 0: no cage), the player answers at the traffic light, and every cell gets back the
  // colours it had. False, with modificato set, when the player refused the step.
  bool step_gate(std::span<const int> cells, int g = -1);
  // The same with the cells of cage g as the step's cells.
  bool step_gate_cage(int g);

  // The stored combinations and required digits of every cage are dropped: candidates were given
  // back (an erasure, an overwrite, a restart, a changed sum), so tables worked out before may
  // exclude digits that are possible again. Techniques reason only from tables worked out for
  // the board as it stands.
  void forget_combinations();

  // Cell entry: runs on every change of a digit box's text.
  void Text1_Change(int Index);
  // A digit placed by a technique, a ladder or trial and verify: cell entry does the bookkeeping,
  // and the cell then shows the box the pencil-mark tick asks for, whether the digit stays or a
  // conflict takes it back at once.
  void place_digit(int cell, const std::string& digit);
  // The digit each box held when cell entry last accepted a change (so that an erasure knows
  // what to give back and a refused text can be put back).
  std::array<std::string, kCells> shown_digit;
  // An erased digit goes back to its cage: remaining sum, empty-cell count and cell list.
  void give_back_to_cage(int cell, int digit);
  // Cell entry's last step: once all 81 cells hold a digit, the time; a grid that keeps every
  // rule is finished (a beep, the play clock stops), a full one that breaks a rule is told.
  void completion_check();
  // Cell click and the digit palette.
  void Text1_Click(int Index);
  void Picture1_Click(int Index);
  void Text1_MouseMove(int Index);
  void Text2_MouseMove(int Index);
  void show_palette(int cell);
  void hide_palette();
  // The cell the open digit palette writes into (-1 when it is closed): techniques move `cella`.
  int palette_cell = -1;
  // Cage editor.
  void colore_Click(int Index);
  void editor_click(int Index);
  void modifica_gruppo(int cella);
  void textsomma_LostFocus(int Index);
  // Frees the cells of cage g and empties its record.
  void delete_cage(int g);
  // A cell leaves its cage: no cage number, white.
  void free_cell(int cell);
  // Whether some cell belongs to cage g.
  bool cage_number_used(int g) const;
  // Whether a typed sum suits a cage of n cells; tells the player when it does not.
  bool cage_sum_acceptable(double sum, int n);
  // The cage being entered closes when its sum box holds text, as when the player leaves the
  // box. False when it had a sum typed and stays open (the editor has told the player why).
  bool close_typed_cage();
  // The closed cages numbered 0..n-1 again in their order, with everything that names a cage by
  // its number; returns n.
  int renumber_closed_cages();
  // Cages entered or changed in the editor since the puzzle was put on the board or saved with
  // its cages: set by layout_edited, cleared by the board reset and by a save of the cages.
  bool cages_unsaved = false;
  // The layout changed in the editor (a cage closed or deleted, a closed cage's sum changed):
  // its cages are unsaved, and the level boxes no longer show a rating made for another layout.
  void layout_edited();
  // Tells the player when a cage of the puzzle just loaded cannot make its (remaining) sum.
  void warn_impossible_sums();

  // Toolbars, menus and switches, pencil-mark clicks and keys, the play clock.
  void Toolbar1_ButtonClick(const std::string& key);
  void Toolbar2_ButtonClick(const std::string& key);
  void mnupencil_Click();
  // Cell i, or every cell, shows the box the pencil-mark tick asks for (see view_menus.cpp);
  // whatever puts a saved position back on the board ends with show_boxes().
  void show_box(int i);
  void show_boxes();
  void mnuactivity_Click();
  void mnulog_Click();
  void toggle_log(MenuItem& item);
  void mnunumber_Click();
  void Frame1_DblClick();
  void Cmdtest_Click();
  void Form_Unload();
  void Text2_Click(int Index);
  void Check2_Click();
  void candidates_typed(int cell, const std::string& typed);
  void Text1_KeyDown(int Index, int KeyCode);
  // The digit box of `keep` takes the focus and, with the pencil marks on, every other empty cell
  // whose digit box the player had opened over its candidates shows its candidates again: the
  // player has moved on from it.
  void show_candidates_but(int keep);
  void picstart_Click();
  void Picture2_Click();
  void Timer2_Timer();
  // The toolbars' buttons and the menu items whose commands this build does not have.
  void build_command_bars();
  // A puzzle is on the board: a status line, or at least one closed cage.
  bool has_puzzle() const;
  // Why the board is not a whole killer layout (a cage still being entered, empty cells in no
  // closed cage), told before a solve starts; "" when every empty cell lies in a closed cage.
  std::string layout_gap() const;
  // The first rule the digits on the board break, told as the player reads it: a digit twice in
  // a row, column, box or cage, a cage whose digits pass its sum or, once full, miss it, a digit
  // placed outside its cell's candidates ("numero errato"); "" when they break none.
  std::string board_fault() const;
  // The solve and the technique keys refuse a full grid, telling the player why: "schema già
  // completato" when it keeps every rule, the rule it breaks otherwise. False while a cell is
  // empty.
  bool refuses_full_grid();
  // The restart command ("undo") and the cage record of g rebuilt from its load-time layout
  // and the digits on the board.
  void restart_puzzle();
  // Whether the restart would take digits off the board (digits placed since the snapshot).
  bool restart_loses_digits() const;
  void cage_from_layout(int g);
  // Set by the generation loop while it runs; the command bars refuse work meanwhile.
  bool generation_running = false;
  // The play clock's own readings (seconds since midnight): the start of the current run, the
  // latest tick, and the whole seconds accumulated before the current run.
  float clock_start = 0, clock_now = 0, clock_before = 0;
  // The clock runs while its button shows the red picture.
  bool play_clock_running() const;
  void stop_play_clock();

  // ---------------------------------------------------------------------------------------------
  // Cage-sum engine

  void calcola_somme_gruppo(int gruppo);
  bool numero_possibile_nel_gruppo(int numero, int gruppo);
  bool combinazione_collocabile(int gruppo, const std::string& combinazione);
  std::string numeri_comuni_somme(int gruppo);
  void calcola_somme_gruppo_ripetizioni(int gruppo);
  static bool troppe_ripetizioni(const std::string& combinazione, int n);
  void mostra_somme_gruppo(int gruppo);
  void controllo_somme(int gruppo);
  std::string combination_cut(int g, int k, unsigned digits) const;
  void apply_cage_limits();
  // Every candidate follows from the board again: the classic candidates, then every cage's sum
  // limits (apply_cage_limits), with the stored combinations dropped first. Used wherever
  // candidates are given back: a changed sum, a deleted cage, an erasure.
  void refresh_candidates();
  Value cella_unica_numero_obbligato(int gruppo, const std::string& numeri);
  void inizializza_candidati();
  void controllo_numeri_gruppo_permutazioni(int gruppo);
  void verifica_posizioni_obbligate_gruppo(int gruppo, const std::string& numeri);
  void posizione_obbligata(UnitKind kind, int g, char d, int unit);
  void cerca_interazione_gruppo_colonna();
  void cerca_interazione_gruppo_riga();
  void cerca_interazione_gruppo_settore();
  void interazione_gruppo_colonna(int gruppo, int numero, int column);
  void interazione_gruppo_riga(int gruppo, int numero, int row);
  void interazione_gruppo_settore(int gruppo, int numero, int box);
  void numeri_obbligati_nel_gruppo();
  void interazione_gruppo_gruppo();

  // ---------------------------------------------------------------------------------------------
  // Classic solving techniques

  // Singles. Each call finds, explains and places at most one: `cella` gets its cell (kNoCell
  // when none; naked_single_gruppo leaves it on the last cell looked at) and `numero` its digit.
  // modificato is set only when the player refuses the step.
  void naked_single();
  void naked_single_classico();
  void naked_single_gruppo(int g);
  void cerca_settore_con_valore_unico();
  void cerca_righe_con_valore_unico();
  void cerca_colonne_con_valore_unico();

  // ---------------------------------------------------------------------------------------------
  // Classic solving techniques: eliminations

  // Naked pairs in boxes, columns and rows. The eliminators take the two pair cells, the pair
  // (their common two-character candidate string) and the unit: the index of a box, row or
  // column, or a cage number.
  void nakedpair();
  void elimina_da_settore_doppia(int prima, int seconda, const std::string& coppia, int box);
  void elimina_da_riga_doppia(int prima, int seconda, const std::string& coppia, int row);
  void elimina_da_colonna_doppia(int prima, int seconda, const std::string& coppia, int column);
  void elimina_da_gruppo_doppia(int prima, int seconda, const std::string& coppia, int cage);
  // Naked pairs inside cages; the pair of a cage with two empty cells against the two cells
  // where their row and column cross.
  void cerca_coppie_nei_gruppi();
  void elimina_da_gruppo_intersezione_doppia(int prima, int seconda, const std::string& coppia);
  // Naked triples. The eliminators take the three cells in the order found, the triple (three
  // ascending digits) and the index of the unit: box, column or row.
  void nakedtriple();
  void elimina_da_settore_tripla(int cellatripla1, int cellatripla2, int cellatripla3,
                                 const std::string& tripla, int settoretripla);
  void elimina_da_colonna_tripla(int cellatripla1, int cellatripla2, int cellatripla3,
                                 const std::string& tripla, int colonnatripla);
  void elimina_da_riga_tripla(int cellatripla1, int cellatripla2, int cellatripla3,
                              const std::string& tripla, int rigatripla);
  // Hidden pairs and hidden triples.
  void hiddenpair();
  // Box-line interaction, both ways.
  void interazione_settore_riga_colonna();
  // The BUG step: cerca_bug gives the cell (kNoCell when none) and its digit; regola_bug places
  // it.
  void cerca_bug(int& cell, int& digit);
  void regola_bug();

  // ---------------------------------------------------------------------------------------------
  // Rule of 45 and derived cages

  // The split of cage g against a box, row or column (0..8), or against the band of rows or
  // columns 0..last: its new empty cells outside go to celleesterne, and then its cells inside
  // to celleinterne. True when it added an outside cell.
  bool dividi_gruppo_settore(int box, int g);
  bool dividi_gruppo_riga(int row, int g);
  bool dividi_gruppo_colonna(int column, int g);
  bool dividi_gruppo_righe_multiple(int last_row, int g);
  bool dividi_gruppo_colonne_multiple(int last_column, int g);
  // The rule of 45 on single units and on bands: at most one digit per call, reported through
  // modificato; a value that cannot be the cell's digit sets problema and places nothing.
  void regola45_naked_single();
  void regola45_righe_colonne_multiple();
  // The "45" button.
  void Command3_Click();
  // Derived cages (numbers gruppi + 1 .. gruppo1): the sum check of cage g, or of every derived
  // cage for kEveryCage, reporting through modificato (a change, or a refused step) and problema
  // (no combination); and the rule of 45 with derived cages on single units (depth volte, 3..6) and
  // on bands (depth volteestese, 3..7). Each run first erases the derived cages of the last run,
  // ends at the first digit placed or the first sum check that changes something or meets a
  // contradiction, and raises its depth after a pass that found nothing.
  void controllo_somme_nuovi_gruppi(int cage);
  void regola45_altri_gruppi();
  void regola45_altri_gruppi_multipli();

  // ---------------------------------------------------------------------------------------------
  // Solving control, rating and solution counting

  // The solver form's start-up (its digit bits and result tables), run by Form_Load, and its
  // grid emptied, run by nuovo_schema.
  void start_solver();
  void clear_solver_grid();

  // The memory of the last explained step ("b": none), set by the ladders.
  std::string testoselezionato;

  // What the techniques remember between calls to skip work whose outcome is known: the sum
  // checks (sums/sums_memo.h) and the rule of 45 (rule45/rule45_memo.h). memos_enabled off,
  // every procedure does its whole work at every call: no memo is read, and the rule of 45
  // splits every region in full (a test compares the two ways).
  bool memos_enabled = true;
  Part<SumsMemo> sums_memo{make_sums_memo()};
  Part<Rule45Memo> rule45_memo{make_rule45_memo()};

  // The elapsed-time display of the ladders: t1 := the clock, `tempo` shows t1 - t0, and one
  // yield to the event loop. elapsed(): t1 - t0 in seconds, across midnight too (the clock reads
  // seconds since midnight).
  void show_elapsed();
  float elapsed() const;
  // What show_elapsed wrote last: the hundredths of a second and their text.
  long long shown_hundredths = -1;
  std::string shown_elapsed_text;

  // The set-up the solving ladders share: both rule-of-45 depths back to 3, t0 taken when it is
  // 0, the step memory cleared (testo "a", testoselezionato "b" unless chiamante is
  // "rintraccia"), stringaliv "", finito false, calling "risolvi".
  void start_ladder();

  // Level L (1..14) of a successful rung: livello rises to L, and the use is counted in the
  // matching liv1..liv14 unless calling1 is "trial". liv(L) is that counter (L outside 1..14
  // reads as the nearest of them).
  void raise_level(int L);
  int& liv(int L);

  // The safety stops, each counted when it ends work early: a ladder after 64 passes in a row
  // that change nothing on the board (idle_ladder) or after 100,000 passes in all (long_ladder),
  // a derived cage left unmade because the cage slots ran out (no_cage_slot). Without the count
  // a technique caught in a loop would look like one that finds nothing more. They count over
  // the life of the window; no test puzzle as loaded ever reaches one.
  struct SafetyStops {
    long idle_ladder = 0, long_ladder = 0, no_cage_slot = 0;
  };
  SafetyStops safety_stops;

  // The solution counter: depth-first search over the pencil marks, one choice per level and
  // the short ladder after each choice. Reports in soluzioni (0, 1, 2 for more than one),
  // grigliasoluzione (the first solution found, cleared when the count starts), txthint and
  // count_result. A count that meets its time limit ends with count_result Unknown and
  // soluzioni 0: the puzzle is not known to be unique; the board is then the starting position
  // again, as after a count that tried every choice. After a second solution the board holds
  // that solution.
  // The count leaves the mode words calling, calling1 and chiamante and the time-limit switch
  // generaeconta as it found them: it runs under its own ("trial": no log lines, no level
  // counts), and the short ladder sets the switch for the count's own limits; a later step still
  // explains itself and a later solve still counts. The rule-of-45 depths stay as the short
  // ladder leaves them (3).
  enum class CountResult { None, One, Several, Unknown };
  CountResult count_result = CountResult::None;
  void conta_soluzioni_tecniche();
  // The short timed ladder of the counter: singles, pairs, the rule of 45 on units, the sum
  // check; it sets generaeconta and leaves past 240 seconds from t0.
  void risolvi_base_a_tempo();

  // A count answers for the positions it was made for, and for no other. conteggioeseguito,
  // count_result, soluzioni and grigliasoluzione are the count that stands; counted_positions the
  // positions (position_key) it answers for: the one it counted and the one the rating ladder
  // that made it started from (the ladder's steps between them keep every solution). The rating
  // ladder calls keep_count_for with the position it starts from: a count made for another
  // position, or cut short by its time limit, is forgotten there, and the ladder counts again.
  std::vector<std::string> counted_positions;
  std::string ladder_position;  // the position the running rating ladder started from
  // Every cell's digit and candidates, and every real cage: its remaining sum, its empty cells
  // and which cells belong to it.
  std::string position_key() const;
  void remember_count(std::vector<std::string> positions);
  void forget_count();
  void keep_count_for(std::string position);

  // Trial and verify: a digit of a cell with 2 to 5 candidates is tried as a hypothesis, the trial
  // ladder draws its consequences, and a contradiction within lunghezza1 filled cells refutes it;
  // the refutation is replayed into the activity log and the other candidate placed (two
  // candidates) or the digit removed. At most one deduction per call, reported by modificato.
  void prova_e_verifica();
  void prova_e_verifica_avvio();
  // The trial ladder: every technique without levels, counts or time limit.
  void risolvi_in_prova();
  // How deep risolvi_in_prova runs inside itself (it runs itself at most once).
  int trial_nesting = 0;

  // The rating ladder: solves the board rung by rung, raising livello and counting liv1..liv13
  // (its callers clear them), counts the solutions once per position before trial and verify, and
  // stops unless exactly one was counted ("schema con più di una soluzione", "schema senza
  // soluzione", "conteggio interrotto"). Reports through finito, problema, soluzioni and
  // conteggioeseguito. It runs only while chiamante is "manuale" or "analisi", the modes in which
  // the singles it finds are placed.
  void risolvi_con_livelli();
  // The solve command ("risolvi"): the rating ladder, then the solved grid in txtstringa and its
  // rating, or the counter's solution in txtstringa. Each solve rates the board from the deep sum
  // analysis off and the first refutation bound, as a fresh puzzle.
  void mnusolve_Click();
  // Set while the solve command runs: the window then refuses other commands.
  bool solve_running = false;
  // The rating of the solve that has just ended: the level name, the detail (stringaliv) and the
  // weighted total (tot) on the window, and into the library record the puzzle was loaded from.
  void valuta_difficolta();
  // The hint command: the first technique that finds a step shows it at the traffic light.
  void mnuposition_Click();
  // One technique, once, in the modes that stand: hidden pairs, box-line, naked pairs.
  void mnuhidden_Click();
  void mnurestricted_Click();
  void esegui_nakedpair();
  // Ladders without a command: every technique without levels; the short ladder with the
  // generator's time limit; the classic techniques only.
  void risolvi_tutto();
  void risolvi_automatico();
  void risolvi_classico();

  // ---------------------------------------------------------------------------------------------
  // Puzzle files and library

  void mnunew_Click();
  // What a new puzzle would throw away of the game on the board, as the question asking the
  // player: cages entered or changed in the editor and not saved (or a cage being entered), else
  // digits placed since the puzzle's start on a grid not yet finished; null when nothing of the
  // player's is at stake.
  const char* discard_question() const;
  // Asked by the commands that replace the game with a new puzzle (new, open, a library load,
  // generate) right before they reset the board: whether they may go on.
  bool may_discard_game();
  // The cage window lets go of the last puzzle's cage.
  void clear_cage_window();
  // The file commands: open a puzzle file, save the board into one, export the board as one
  // line ("salva per flash").
  void mnuopen_Click();
  void mnusave_Click();
  void Command2_Click();
  // The check of the layout loader: "" when carica_gruppi_da_stringa takes the text, else why
  // it refuses it (defined with the loader).
  static std::string layout_refusal(std::string_view text);
  // What the writers put in a file. cage_line: the closed cages as a layout text, each as it
  // stands on the board with its full sum and all its cells, so that a puzzle saved during play
  // opens again as the same puzzle. cell_fields_line: per cell its digit, or its candidates when
  // empty (for "sc+" a lone candidate written twice), each closed by ",".
  std::string cage_line() const;
  std::string cell_fields_line(bool lone_candidate_twice) const;
  // Why the board cannot be written to a file now because of the cage being entered (which
  // closes first when its sum is typed); "" when it can.
  std::string open_cage_refusal();
  // Puts a puzzle file's text, already checked, on the reset board.
  void load_puzzle_text(FileFormat format, const PuzzleText& text);

  // The library: the data control Data1 and the hidden boxes bound to the fields of its current
  // record (txtprogressivo progressivo, testolivello livello, txtnumeri singoli, txtkenvari
  // kenvari, tempo and temporis tempo, txttotale difficolta, txtdettaglio dettaglio, txtstringa
  // stringa). A value reaches a record only through Data1.write (see DataControl).
  DataControl Data1;
  TextBox testolivello, txtnumeri, txtkenvari, temporis, txttotale, txtdettaglio;
  // The level chooser "Selezione Livello", held as a part (board/part.h).
  Part<Frmlivello> frmlivello_part{make_level_chooser(*this)};
  Frmlivello& frmlivello{*frmlivello_part};
  // The progressivo of the record the puzzle on the board was loaded from; 0 when the board
  // holds no library puzzle. Only that record may receive the puzzle's rating.
  int library_record = 0;
  // The candidates of every cell and the cages (as cage_line writes them) as the library load
  // left them. A solve rates the puzzle into its record only when it starts from there (no digit
  // placed, no candidate taken, no cage or sum changed in the editor): the record keeps the
  // rating of its own puzzle from its start, whatever a game in progress would leave to do.
  std::array<std::string, kCells> library_start;
  std::string library_start_cages;
  bool at_library_start() const;
  // Set by the solve command while it runs from the library puzzle's start.
  bool rating_for_record = false;
  // Attaches and binds the library boxes (run by the constructor).
  void build_library_controls();
  void apri_libreria();
  void libreria();
  // The reduction pass ("tenta riduzione").
  void Command1_Click();
  // The library file is there and readable; a missing one is created empty. False after telling
  // the user why the library cannot be used now.
  bool library_ready();
  // The data control runs `sql` with its parameters over the library; false after telling the
  // user that the file cannot be read.
  bool query_library(std::string sql, std::vector<SqlValue> params = {});
  // Writes fields (name, text) into the library record with this progressivo, in one
  // transaction, wherever the data control stands; false after the error was shown.
  bool store_library_record(int progressivo,
                            const std::vector<std::pair<std::string, std::string>>& fields);

  // ---------------------------------------------------------------------------------------------
  // Puzzle generator

  // Fills the empty board with a random complete grid (no cages), through cell entry.
  void genera_griglia_classica();
  // Writes a digit drawn at random from the candidates of an empty cell into the cell and into
  // the solver grid; false, writing nothing, when the cell has no candidate left.
  bool place_random_digit(int cell);

  // The cage-layout run: turns the complete grid on the reset board (in batch mode the puzzle in
  // stringa, completed by the solver) into cages whose sums come from the grid, then verifies
  // the layout. One call is one attempt: problema true and livello 14 report a failure, and the
  // try log (frmgeneratore, newest line on top) says why.
  void genera_schema();
  // Its phases, in the order the run calls them. prepare_layout_run is the set-up (false, with a
  // log line, when there is no complete grid to carve); carve_pairs the two-cell cages with their
  // point-symmetric twins; glue_lone_cells joins free cells shut in by cages to a neighbouring
  // cage (run after the pairs and at the end of carve_greedy); carve_greedy grows, cuts and
  // mirrors the other cages; freeze_layout fills the working copies (cellecopia, elementicopia,
  // sommacopia) and the try counter starts.
  bool prepare_layout_run(LayoutRun& run);
  void carve_pairs(LayoutRun& run);
  void glue_lone_cells(LayoutRun& run);
  void carve_greedy(LayoutRun& run);
  void freeze_layout(LayoutRun& run);
  // One verification try of the frozen layout (see TryOutcome).
  TryOutcome try_layout(LayoutRun& run);
  // The generate command ("genera" on the file toolbar).
  void generate_puzzle();
  // The final renumbering: the working copies become the cage model again, emptied cages dropped
  // and the rest numbered from 0, coloured, boxed and drawn. False when it ended the run (a cell
  // in no cage or in two, or a cage that does not hold together: logged, problema, livello 14).
  bool renumber_cages(LayoutRun& run);
  // Whether the digit text `valore` stands in a cell at positions 1..n of listaappoggio.
  bool valore_in_celle(const std::string& valore, int n) const;
  // Whether the digit text `valore` is the solution digit (cellesalvate) of a cell that the
  // working copy lists for cage gruppoadiacente.
  bool valore_in_adiacenti(const std::string& valore, int gruppoadiacente) const;
  // The repair's move: cell x leaves its cage of the working copies for the cage of a side
  // neighbour (right, left, below, above) that has room and lacks x's digit; when x's cage had
  // two cells, the other cell moves the same way and the cage is emptied. Nothing moves (false)
  // when a cage would fall apart, a cell would be left without a cage, or no neighbour fits.
  bool move_to_neighbour_cage(int x);
  // The working copies, read safely as cage_cell and cage_size read the model.
  int copy_cell(int g, int k) const;
  int copy_size(int g) const;
  // What is wrong with the cage model 0..gruppi as a finished layout over the grid of
  // cellesalvate: the log text of the first fault, "" when every cell lies in exactly one cage
  // that holds together, has at most kMaxCageCells cells, no repeated digit and its grid sum.
  std::string layout_fault() const;
  // The first cage 0..gruppi whose cells do not hold together, -1 when none.
  int split_cage() const;
  // A new line on top of the generator's log.
  void log_generatore(const std::string& line);
  // The time since t0 in `tempo`, outside batch mode; the reading goes into `t`.
  void show_generation_time(float& t);
  // A new cage numbered gruppo of the listed cells (the first one carries its sum and number
  // boxes), in the given colour, its sum taken from the grid; gruppo moves on.
  void make_cage(std::span<const int> cells, Color colour);
  // The boxes of generated cage g on cell `first`: the sum box showing `sum`, the cage number
  // below it.
  void show_generated_cage(int g, int first, const std::string& sum);
  // The batch generator ("continuo" on the file toolbar): every library record without a layout
  // gets a killer carved over its grid, verified and rated, saved record by record, until the
  // records end or the run's time limit passes. Other commands are refused meanwhile
  // (generation_running); the log of frmgeneratore shows each record, newest line on top.
  void generazione_continua();
};

// The pass that the writers of the board index show (board_index.h). Only its owners make one:
// the constructor, which installs the boxes' change hooks and binds the cage tables; the candidate
// cut, which hands its bits over to the hook; and the step gate.
class BoardIndex::Key {
  Key() = default;
  friend Main::Main(Runtime&);
  friend void Main::cut_candidate(int, char);
  friend bool Main::step_gate(std::span<const int>, int);
};

}  // namespace ks
