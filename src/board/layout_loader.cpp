// The cage-layout loader: a layout text ("15,0102;10,0918;...": per cage its sum, a comma, its
// cells as two-digit numbers and a semicolon) checked and turned into the cage model.
#include <array>
#include <cmath>
#include <string_view>

#include "board/main.h"
#include "platform/text.h"

namespace ks {

namespace {

// One cage as read from the text.
struct CageRecord {
  double sum = 0;
  int count = 0;
  std::array<int, kMaxCageCells> cells{};
};

// Every cage a text can hold: cage numbers 0..80.
struct Layout {
  std::array<CageRecord, kCells> cages;
  int count = 0;
};

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The largest sum, either way, that a layout may carry: far beyond any cage, small enough for
// every count and table of the cage engine.
constexpr double kMaxSum = 999;

// A sum field, read leniently: blanks skipped, the number at the start of what remains, 0 when
// there is none ("" and "x" read 0, "12a" 12, "-3" -3). A game saved during play carries
// remaining sums, 0 or negative after a wrong digit, and a cage that the editor had not closed
// carries an empty sum; both make a board. Only a sum that is not a whole number, or is larger
// than kMaxSum either way, is refused.
bool read_sum(std::string_view field, double& sum) {
  sum = val(field);
  return sum >= -kMaxSum && sum <= kMaxSum && sum == std::floor(sum);
}

// A cell field of two characters: digits (a blank is skipped) giving a cell 0..80; -1 otherwise.
int read_cell(std::string_view field) {
  bool any = false;
  for (char c : field) {
    if (is_digit(c))
      any = true;
    else if (!is_blank(c))
      return -1;
  }
  if (!any) return -1;
  const double c = val(field);
  return c <= kCells - 1 ? static_cast<int>(c) : -1;
}

// "3° gruppo": a cage named by its place in the text, counted from 1 as the user counts.
std::string nth_cage(int index) { return std::to_string(index + 1) + "° gruppo"; }

// Reads the whole text before anything is loaded. Records are found by their "," and ";" only:
// characters after the last ";" that hold no "," are ignored. A record without cells is a cage
// that was completed when a game was saved during play: nothing is left of it to place, and it
// is left out. Messages count the records of the text. Returns "" for a sound text, or the
// reason the text is refused.
std::string read_layout(std::string_view text, Layout& out) {
  std::array<int, kCells> owner;  // owner[c]: the record that lists cell c, -1 while none
  owner.fill(-1);
  out.count = 0;
  size_t start = 0;
  for (int record = 0;; ++record) {
    const size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) break;
    const int g = out.count;
    const size_t semi = text.find(';', comma + 1);
    if (semi == std::string_view::npos) return "il " + nth_cage(record) + " non termina con ';'";
    const std::string_view sum = text.substr(start, comma - start);
    double value = 0;
    if (!read_sum(sum, value))
      return "la somma del " + nth_cage(record) + " (\"" + std::string(sum) +
             "\") non è un numero intero da -999 a 999";
    const std::string_view cells = text.substr(comma + 1, semi - comma - 1);
    start = semi + 1;
    if (cells.empty()) continue;
    if (g == kCells) return "più di 81 gruppi";
    CageRecord& cage = out.cages[static_cast<size_t>(g)];
    cage.sum = value;
    if (cells.size() % 2 != 0)
      return "il " + nth_cage(record) + " ha un numero dispari di cifre nelle celle";
    cage.count = static_cast<int>(cells.size() / 2);
    if (cage.count > kMaxCageCells) return "il " + nth_cage(record) + " ha più di 7 celle";
    for (int k = 0; k < cage.count; ++k) {
      const std::string_view field = cells.substr(static_cast<size_t>(2 * k), 2);
      const int c = read_cell(field);
      if (c < 0)
        return "la cella \"" + std::string(field) + "\" del " + nth_cage(record) +
               " non è tra 00 e 80";
      const int seen = owner[static_cast<size_t>(c)];
      if (seen == record)
        return "la cella " + std::string(field) + " compare due volte nel " +
               nth_cage(record);
      if (seen >= 0)
        return "la cella " + std::string(field) + " è sia nel " + nth_cage(seen) +
               " sia nel " + nth_cage(record);
      owner[static_cast<size_t>(c)] = record;
      cage.cells[static_cast<size_t>(k)] = c;
    }
    ++out.count;
  }
  if (out.count == 0) return "nessun gruppo";
  return "";
}

}  // namespace

std::string Main::layout_refusal(std::string_view text) {
  Layout layout;
  return read_layout(text, layout);
}

// Loads the layout text in stringa into the cage model right after a board reset: per cage its
// sum (shown in its sum box on the cage's lowest cell), its cells in the order of the text, and
// its borders joined. A text that is not a sound layout is refused whole with a message and
// problema set, before anything is loaded.
void Main::carica_gruppi_da_stringa() {
  Layout layout;
  const std::string why = read_layout(stringa, layout);
  if (!why.empty()) {
    rt.MsgBox("schema non valido: " + why, MsgButtons::Ok);
    problema = true;
    return;
  }

  gruppo = 0;
  for (int g = 0; g < layout.count; ++g) {
    const CageRecord& cage = layout.cages[static_cast<size_t>(g)];
    sommagruppo.set(g, cage.sum);
    textsomma[g].set_text(num_text(cage.sum));
    elementigruppo.set(g, cage.count);
    elementioriginali[g] = cage.count;
    int first = kCells;
    for (int k = 1; k <= cage.count; ++k) {
      const int c = cage.cells[static_cast<size_t>(k - 1)];
      cellegruppo.set(g, k, c);
      celleoriginali[g][k] = c;
      cella = c;
      gruppodicella.set(c, g);
      if (c < first) first = c;
      join_cage_borders(c, g);
    }
    place_sum_box(g, first);
    gruppo = g + 1;
  }
  gruppi = gruppo - 1;
  gruppo = gruppo - 1;
}

}  // namespace ks
