// Shared set-up of the headless tests: a main window started on the headless runtime.
#pragma once

#include <array>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "board/main.h"
#include "platform/headless_runtime.h"

namespace ks::test {

// A started main window (Form_Load has run) on a headless runtime.
struct Started {
  HeadlessRuntime rt;
  std::unique_ptr<Main> m = std::make_unique<Main>(rt);
  Started() { m->Form_Load(); }
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

// The cages of a layout text, read independently of the program's loader: {sum, cells}.
struct TextCage {
  int sum;
  std::vector<int> cells;
};
std::vector<TextCage> cages_of(const std::string& layout);

// A reset board that a test fills by hand: no cage until the test adds one, every candidate,
// an empty log and hint line. It runs as a full solve (calling "risolvi", chiamante "analisi")
// until the test says otherwise.
struct HandBoard {
  Started s;
  Main& m = *s.m;
  HandBoard();
  // Real cage g of sum `sum` with its (empty) cells in slot order.
  void cage(int g, int sum, std::initializer_list<int> cells);
  // The activity log's lines written since the start.
  std::vector<std::string> log() const;
  // Each cell's digit box and candidate string, "digit/candidates", to compare whole boards.
  std::vector<std::string> cells() const;
};

// The player at the traffic light: answers each wait of a step with the next answer of the
// script ("si" clicks the green light, anything else the red one; green once the script is
// spent), and records the hint line and the highlighted cells (both boxes yellow) of each wait.
struct Light {
  struct Wait {
    std::string hint;
    std::vector<int> yellow;
  };
  std::deque<std::string> script;
  std::vector<Wait> waits;

  Light(Started& s, std::initializer_list<const char*> answers = {});
};

// Puts a cage-layout text on the board the way the library loader does: board reset, layout
// loader, contiguity check, initial candidates.
void load_layout(Main& m, const std::string& layout);

}  // namespace ks::test
