// The invisible solver form: a bit-mask solver that completes a classic grid of givens (no cages)
// and tells whether it has no solution, exactly one, or more than one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ks {

class Runtime;

class Solver {
 public:
  // The main window's services the solver uses: its millisecond clock (the time stamp of the first
  // solution) and its flag finito, which every run sets. Without them a run still solves.
  void connect(Runtime& rt, bool& finito) {
    rt_ = &rt;
    finito_ = &finito;
  }

  // bitcifra(d): the bit of digit d, 2^d for d = 1..9; bitcifra(0) = 0, so an empty cell adds no
  // bit to a mask. All nine digits together are kAllDigits = 1022 (bits 1..9).
  std::array<std::int32_t, 10> bitcifra{};
  static constexpr std::int32_t kAllDigits = 1022;
  // grigliacifre(i), i = 0..80: 0 for an empty cell, otherwise its digit; entry 81 is spare.
  std::array<std::int32_t, 82> grigliacifre{};
  // maschere: the digits present (bit d = digit d) in a set of cells of grigliacifre.
  //   0..80    cell i: its row, column and box together (for an empty cell the digits it may
  //            not take; kAllDigits = none left)
  //   81..89   row r = 0..8        90..98   column c        99..107  box b (row by row)
  // Rebuilt from the grid by BuildCluesMask; after a run they match the grid.
  std::array<std::int32_t, 108> maschere{};

  // Results of the last run: the solutions found (0, 1, or 2 for more than one) and the result
  // text, the first solution's 81 digits followed by the second's when there are two. A run that
  // finds nothing leaves the text as it was.
  int numerosoluzioni = 0;
  std::string stringasoluzione;
  // The record of the first solution, in entry 1 of each table (no other entry is written): its
  // grid, its millisecond time stamp and its text. Start-up sizes the first two to 0..2048.
  std::vector<std::array<std::int32_t, 81>> soluzionitrovate;
  std::vector<double> tempisoluzioni;
  std::vector<std::string> testisoluzioni = std::vector<std::string>(1029);

  // The search saves one position per branch level and branches at most once per empty cell, so
  // it never nests deeper than 81 levels. profonditapila is 0 outside a run.
  static constexpr int kStackDepth = 81;
  int profonditapila = 0;

  // Fills bitcifra.
  void inizializza_bit();
  // Sizes soluzionitrovate and tempisoluzioni to entries 0..2048, all empty.
  void size_results();

  // Completes the grid text: character i + 1 is the given of cell i when it is "1".."9"; any other
  // character, and a missing one, is an empty cell; characters after the 81st are ignored. Givens
  // that repeat a digit in a row, column or box have no solution. Afterwards grigliacifre holds
  // the givens and the naked singles of one pass over the cells (when the givens agree), and
  // finito of the main window is true.
  void risolvi(std::string_view griglia);
  // Recomputes all 108 masks from grigliacifre.
  void BuildCluesMask();

 private:
  // One position of the search: the digit of each cell (0 = empty) and the digits present in
  // each unit as bit masks (bit d = digit d): units 0..8 rows, 9..17 columns, 18..26 boxes.
  struct Position {
    std::array<std::uint8_t, 81> digit;
    std::array<std::uint16_t, 27> units;
  };

  // The search in cell order (cerca_soluzioni) runs at most this many steps before the search
  // over the fewest candidates (count_solutions) settles the count instead.
  static constexpr long kOrderedSteps = 200;
  static constexpr long kNoLimit = 1L << 62;

  // Puts the givens of grigliacifre into the work position; false when two of them clash.
  bool load_givens();
  void cerca_soluzioni(int cella);
  void count_solutions(int& found);
  bool riempi_singoli(int cella);
  void salva_griglia();
  void ripristina_griglia();
  void registra_soluzione();
  bool nessuna_cella_bloccata(int cella) const;
  // The grid a run leaves: the givens plus one pass of naked singles, as the first search step
  // makes it before its first branch.
  void first_pass();
  // True when digit cifra is the only one that maschere(indice) leaves.
  bool unica_cifra(int indice, int cifra) const {
    return (maschere[static_cast<std::size_t>(indice)] ^
            bitcifra[static_cast<std::size_t>(cifra)]) == kAllDigits;
  }

  Position pos_{};
  // pilagriglie(1..profonditapila): the saved positions; entry 0 is never written.
  std::array<Position, kStackDepth + 1> pilagriglie{};
  std::string testogriglia;
  long steps_ = 0, step_limit_ = 0;
  std::array<std::uint8_t, 81> first_found_{};  // the solution count_solutions found first
  Runtime* rt_ = nullptr;
  bool* finito_ = nullptr;
};

}  // namespace ks
