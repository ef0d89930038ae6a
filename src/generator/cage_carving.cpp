// The carving phases of the cage-layout run: two-cell cages with their point-symmetric twins,
// greedy growth of the other cages with their mirrors, and the gluing of shut-in cells.
//
// While carving, the background of a cell's digit box is its state: bianco free, giallo collected
// by the cage being grown, a palette colour (never bianco nor giallo) in a cage. Every cage is
// built from side neighbours, so every cage and its mirror hold together.
#include <array>
#include <span>
#include <string>

#include "board/main.h"
#include "generator/layout_run.h"

namespace ks {

namespace {

bool uncaged(const Main& m, int c) { return m.Text1[c].back_color() == m.bianco; }

int list_cell(const Main& m, int k) { return Main::cell_number(m.listaappoggio[k]); }

int digit_of(const Main& m, int c) {
  const std::string& t = m.Text1[c].text();
  return t.size() == 1 && t[0] >= '1' && t[0] <= '9' ? t[0] - '0' : 0;
}

}  // namespace

bool Main::valore_in_celle(const std::string& valore, int n) const {
  for (int i = 1; i <= n; ++i) {
    const int c = list_cell(*this, i);
    if (c >= 0 && Text1[c].text() == valore) return true;
  }
  return false;
}

void Main::make_cage(std::span<const int> cells, Color colour) {
  const int g = gruppo;
  int sum = 0;
  int k = 0;
  for (const int c : cells) {
    Text1[c].set_back_color(colour);
    gruppodicella.set(c, g);
    cellegruppo.set(g, ++k, c);
    sum += digit_of(*this, c);
  }
  elementigruppo.set(g, k);
  sommagruppo.set(g, sum);
  show_generated_cage(g, cells[0], std::to_string(sum));
  gruppo = g + 1;
}

void Main::show_generated_cage(int g, int first, const std::string& sum) {
  textsomma[g].set_text(sum);
  textsomma[g].move(Text1[first].left() + 1, Text1[first].top() + 3);
  textsomma[g].set_visible(true);
  Textgruppo[g].set_text(std::to_string(g));
  Textgruppo[g].move(Text1[first].left() + 1, Text1[first].top() + 19);
  Textgruppo[g].set_visible(true);
}

// Two-cell cages. A side-by-side pair summing to 3 or 4 can only hold {1,2} or {1,3}, a stacked
// pair summing to 16 or 17 only {7,9} or {8,9}: such a pair becomes a cage, and so does its
// point-symmetric twin (any sum) when both twin cells are free. Pairs holding the centre cell 40
// have no twin. Each pair found takes the next of the 16 palette colours, shared with its twin.
// Example: r1c1 = 1, r1c2 = 3 -> cage {0, 1} of sum 4, and its twin {79, 80} with their own sum.
void Main::carve_pairs(LayoutRun& run) {
  struct Pass {
    int step;           // second cell - first cell
    int sums[2];        // the sums that make a pair
    bool side_by_side;  // the first cell must not be in column 9 (else: not in row 9)
  };
  static constexpr Pass kPasses[] = {{1, {3, 4}, true}, {9, {17, 16}, false}};
  for (const Pass& p : kPasses) {
    for (int x = 0; x <= 79; ++x) {
      const int y = x + p.step;
      if (p.side_by_side) {
        if (!uncaged(*this, x) || !uncaged(*this, y) || colonnacella[x] == 9) continue;
      } else {
        if (rigacella[x] >= 9 || !uncaged(*this, x) || !uncaged(*this, y)) continue;
      }
      const int s = digit_of(*this, x) + digit_of(*this, y);
      if (s != p.sums[0] && s != p.sums[1]) continue;
      const Color colour = colore[run.colour].back_color();
      const std::array<int, 2> pair{x, y};
      make_cage(pair, colour);
      const std::array<int, 2> twin{80 - y, 80 - x};
      if (x != 40 && y != 40 && uncaged(*this, twin[0]) && uncaged(*this, twin[1]))
        make_cage(twin, colour);
      run.colour = run.colour == 15 ? 0 : run.colour + 1;
    }
  }
}

// Lone cells: a free cell whose four probe cells (above, left, right, below; at an edge the
// opposite neighbour instead) are all in cages joins the first probed cage that lacks its digit
// and has room for it, and takes that cage's colour. Joining never makes another cell lone, so
// only the digits make the visit order matter.
// Example: corner 0 with cages on 1 and 9 tries the cage of 9, then that of 1 (twice), then 9's.
void Main::glue_lone_cells(LayoutRun&) {
  for (int x = 0; x < kCells; ++x) {
    modificato = false;
    if (!uncaged(*this, x)) continue;
    const int row = rigacella[x], col = colonnacella[x];
    const std::array<int, 4> probes{row == 1 ? x + 9 : x - 9, col == 1 ? x + 1 : x - 1,
                                    col == 9 ? x - 1 : x + 1, row == 9 ? x - 9 : x + 9};
    bool lone = true;
    for (const int p : probes) lone = lone && !uncaged(*this, p);
    if (!lone) continue;
    const std::string& digit = Text1[x].text();
    for (const int p : probes) {
      const int g = cage_of(p);
      if (g < 0) continue;
      const int n = cage_size(g);
      // A cage of seven cells is full: the next probe is tried.
      if (n >= kMaxCageCells) continue;
      for (int k = 1; k <= n; ++k) listaappoggio[k] = cage_cell(g, k);
      if (valore_in_celle(digit, n)) continue;
      gruppodicella.set(x, g);
      elementigruppo.set(g, n + 1);
      cellegruppo.set(g, n + 1, x);
      sommagruppo.set(g, sommagruppo[g].num() + digit_of(*this, x));
      textsomma[g].set_text(sommagruppo[g].text());
      Text1[x].set_back_color(Text1[p].back_color());
      modificato = true;
      break;
    }
  }
}

namespace {

// The growth of one cage from its start cell x: cells collected so far sit in listaappoggio
// (positions 1..count); walks from them take free cells with digits new to the cage.
class Growth {
 public:
  Growth(Main& m, LayoutRun& run, int x) : m_(m), run_(run), x_(x) {}

  // Sweeps of four passes (left, right, up, down) until a sweep adds nothing, the cage reaches
  // eight cells, or the down pass meets a collected cell of row 9. Each pass visits the cells
  // collected before it started, in list order.
  void run() {
    const int col = m_.colonnacella[x_], row = m_.rigacella[x_];
    int sweeps = 0;
    do {
      if (col != 1) {
        const int n = run_.count;
        for (int i = 1; i <= n; ++i) {
          const int c = list_cell(m_, i);
          if (m_.colonnacella[c] == 1) continue;
          walk(c, -1, c - unit_from_number(m_.colonnacella[c]), false);
        }
      }
      if (run_.count >= 8) return;
      if (col != 9) {
        const int n = run_.count;
        for (int i = 1; i <= n; ++i) {
          if (run_.count >= 8) return;
          const int c = list_cell(m_, i);
          if (m_.colonnacella[c] == 9) continue;
          walk(c, 1, c + (9 - m_.colonnacella[c]), true);
        }
      }
      if (run_.count >= 8) return;
      // Upward walks stop at row 2: they never take a cell of row 1.
      if (row != 1) {
        const int n = run_.count;
        for (int i = 1; i <= n; ++i) {
          const int c = list_cell(m_, i);
          if (m_.rigacella[c] <= 2) continue;
          walk(c, -9, 9 + unit_from_number(m_.colonnacella[c]), true);
        }
      }
      if (run_.count >= 8) return;
      const int n = run_.count;
      for (int i = 1; i <= n; ++i) {
        if (run_.count >= 8) return;
        const int c = list_cell(m_, i);
        if (m_.rigacella[c] == 9) return;
        walk(c, 9, 72 + unit_from_number(m_.colonnacella[c]), true);
      }
      ++sweeps;
    } while (sweeps < run_.count);
  }

 private:
  // Looks at c + step, c + 2 step, ... up to the cell `last`, taking each free cell whose digit is
  // new to the cage, and stops at the first one it does not take (or, with stop_at_eight, right
  // after the eighth cell).
  void walk(int c, int step, int last, bool stop_at_eight) {
    for (int p = c + step; step > 0 ? p <= last : p >= last; p += step) {
      if (!uncaged(m_, p) || m_.valore_in_celle(m_.Text1[p].text(), run_.count)) return;
      m_.Text1[p].set_back_color(m_.giallo);
      m_.listaappoggio[++run_.count] = p;
      if (stop_at_eight && run_.count >= 8) return;
    }
  }

  Main& m_;
  LayoutRun& run_;
  int x_;
};

}  // namespace

// Greedy carving. Every free start cell 0..78 grows a cage over free side neighbours with new
// digits; a cage of five or more collected cells is cut to its first three or four (the sizes
// alternate from one free start cell to the next), a smaller one is kept whole, one of a single
// cell is no cage. Each cage is mirrored through the centre (cell c -> 80 - c) when the mirror
// cells are free and their digits distinct. At cell 79 the shut-in cells are glued and the
// carving ends.
// Example: start 0 collects 0, 1, 2, 9, 10 (five cells) and, being the first, is cut at four:
// cage {0, 1, 2, 9}, mirrored to {80, 79, 78, 71} when those are free and distinct.
void Main::carve_greedy(LayoutRun& run) {
  show_generation_time(t2);
  for (int x = 0; x <= 78; ++x) {
    if (!uncaged(*this, x)) continue;
    Text1[x].set_back_color(giallo);
    listaappoggio[1] = x;
    run.count = 1;
    Growth(*this, run, x).run();
    for (int k = 1; k <= run.count; ++k) Text1[list_cell(*this, k)].set_back_color(bianco);
    run.cut = run.cut == 4 ? 3 : 4;
    const int size = run.count >= 5 ? run.cut : run.count;
    if (size == 1) continue;

    std::array<int, 4> cells{};
    for (int k = 1; k <= size; ++k) cells[k - 1] = list_cell(*this, k);
    const std::span<const int> cage(cells.data(), static_cast<std::size_t>(size));
    make_cage(cage, colore[gruppo % 16].back_color());

    bool mirrored = true;
    for (int z = 1; z <= size && mirrored; ++z) {
      const int c = 80 - cells[z - 1];
      listaappoggio[z] = c;
      mirrored = !valore_in_celle(Text1[c].text(), z - 1) && uncaged(*this, c);
    }
    if (!mirrored) continue;
    for (int k = 0; k < size; ++k) cells[k] = 80 - cells[k];
    make_cage(cage, Text1[80 - cells[0]].back_color());
  }
  glue_lone_cells(run);
}

}  // namespace ks
