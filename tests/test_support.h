// Shared set-up of the headless tests: a main window started on the headless runtime.
#pragma once

#include <array>
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

// Puts a cage-layout text on the board the way the library loader does: board reset, layout
// loader, contiguity check, initial candidates.
void load_layout(Main& m, const std::string& layout);

}  // namespace ks::test
