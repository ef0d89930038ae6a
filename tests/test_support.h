// Shared set-up of the headless tests: a main window started on the headless runtime, the test
// puzzles, a board filled by hand with the player at its traffic light, and temporary files.
#pragma once

#include <array>
#include <deque>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "board/main.h"
#include "grid_check.h"
#include "platform/headless_runtime.h"

namespace ks::test {

// A started main window (Form_Load has run, with the program's folder app_path) on a headless
// runtime. At every yield, and when the window ends, the board index is checked against the
// boxes: the test fails at the first check where they disagree.
struct Started {
  HeadlessRuntime rt;
  std::unique_ptr<Main> m = std::make_unique<Main>(rt);
  explicit Started(std::string app_path = ".");
  ~Started();
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

 private:
  void check_index();
  bool index_told_ = false;
};

// The lines of a text split at "\r\n".
std::vector<std::string> lines_of(const std::string& text);

// A killer puzzle of tests/data/killer.txt: its cage-layout text, its solution (81 digits) and its
// id (grade letter and number: dt trivial, db basic, di intermediate, da advanced, de extreme,
// du unreasonable).
struct Puzzle {
  std::string layout;
  std::string solution;
  std::string id;
};
// The lines of a file of tests/data with three fields "a|b|c" (lines starting with "#" are
// comments), split into their fields.
std::vector<std::array<std::string, 3>> data_lines(const std::string& file);
// Every puzzle of tests/data/killer.txt, in file order.
const std::vector<Puzzle>& puzzles();

// Whether the board agrees with a layout text: every cage of the text is one cage of the model,
// holding exactly its cells, while no other cell lies in a cage; its sum box shows its sum; its
// remaining sum is that sum less the digits placed in it, and its list holds exactly its empty
// cells. "" when all agree, else the first disagreement.
std::string cages_agree(const Main& m, const std::string& layout);

// The puzzle on the board as a layout text written independently of the program's writers: the
// cages 0..gruppi, each with the cells whose cage it is, in cell order, and the sum of the
// solution's digits in them.
std::string board_layout(const Main& m, const std::string& solution);

// Cell of row r, column c (both 1..9).
constexpr int at(int r, int c) { return 9 * (r - 1) + (c - 1); }

// A reset board that a test fills by hand: no cage until the test adds one, every candidate,
// an empty log and hint line. It runs as a full solve (calling "risolvi", chiamante "analisi")
// until the test says otherwise.
struct HandBoard {
  Started s;
  Main& m = *s.m;
  std::vector<std::string> before;  // the candidate strings at the last snapshot

  HandBoard();
  // Real cage g of sum `sum` with its (empty) cells in slot order.
  void cage(int g, int sum, std::initializer_list<int> cells);
  // Cage g with its (empty) cells in slot order and its required digits; the sum is left unset.
  void cage(int g, std::initializer_list<int> cells, const std::string& required = "");
  void set(int cell, const std::string& candidates);
  void set(std::initializer_list<int> cells, const std::string& candidates);
  // Digit d leaves the candidates of each listed cell.
  void drop(char d, std::initializer_list<int> cells);
  // A digit shown placed: both boxes hold it, the cell-entry bookkeeping is not run.
  void place(int cell, char d);

  void snapshot();
  // The candidate strings changed since the snapshot.
  std::map<int, std::string> changes() const;
  // The activity log's lines written since the start.
  std::vector<std::string> log() const;
  // Each cell's digit box and candidate string, "digit/candidates", to compare whole boards.
  std::vector<std::string> cells() const;
};

// The player at the traffic light: answers each wait of a step with the next answer of the
// script ("si" clicks the green light, anything else the red one; `when_spent` once the script
// is spent), and records the hint line, the highlighted cells (both boxes yellow) and the
// Text5 box of each wait. It stops answering when it goes.
struct Light {
  struct Wait {
    std::string hint;
    std::vector<int> yellow;
    std::string text5;
  };
  std::deque<std::string> script;
  std::vector<Wait> waits;

  explicit Light(Started& s, std::initializer_list<const char*> answers = {},
                 std::string when_spent = "si");
  Light(const Light&) = delete;
  Light& operator=(const Light&) = delete;
  ~Light();

 private:
  Started& s_;
};

// The cages entered in the cage editor as a player enters them: a colour of the palette (in
// turn), the cells clicked, the sum typed and the sum box left; then "X" ends the colouring.
void enter_by_hand(Main& m, const std::vector<TextCage>& cages);

// The safety stops that ended work early in this window (Main::SafetyStops), "" when none did:
// the tests that solve, count and play every puzzle expect none.
std::string safety_stops_fired(const Main& m);

// Puts a cage-layout text on the board the way the library loader does: board reset, layout
// loader, contiguity check, initial candidates.
void load_layout(Main& m, const std::string& layout);

// The library shipped with the program, data/schemikenvari.db.
std::string shipped_library();
// A path in the temporary folder named after the running test and the process (prefix, test
// name, process id, suffix), with nothing left under it from an earlier run.
std::string temp_path(const std::string& prefix, const std::string& suffix = "");
// The bytes of a file, "" when it cannot be read.
std::string file_bytes(const std::string& path);
// A new library file: the program's tables (kLibraryScript), then the SQL statements `rows`;
// "" when it was made, else why not.
std::string make_library_file(const std::string& file, const std::string& rows);
// A new library file holding one record per grid (progressivo 1, 2, ...), no layout yet.
std::string make_grid_library(const std::string& file, const std::vector<std::string>& grids);
// One field of the record of a database file that `query` selects by its one parameter, the
// record's key; read by a data control of its own.
std::string stored_field(const std::string& file, const std::string& query, int key,
                         const std::string& field);

}  // namespace ks::test
