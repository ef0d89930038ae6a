// The rules a position must keep: which the digits on the board break, and whether the board is
// a whole killer layout that a solve can work on.
#include <array>

#include "board/main.h"

namespace ks {

namespace {

const char* unit_name(UnitKind kind) {
  switch (kind) {
    case UnitKind::Row: return "riga";
    case UnitKind::Column: return "colonna";
    case UnitKind::Box: return "regione";
  }
  return "";
}

}  // namespace

std::string Main::board_fault() const {
  std::array<int, kCells> digit{};
  for (int i = 0; i < kCells; ++i) {
    const std::string& t = Text1[i].text();
    digit[static_cast<size_t>(i)] = t.size() == 1 && t[0] >= '1' && t[0] <= '9' ? t[0] - '0' : 0;
  }
  for (const UnitKind kind : {UnitKind::Row, UnitKind::Column, UnitKind::Box}) {
    for (int u = 0; u < 9; ++u) {
      std::array<int, 10> at;
      at.fill(-1);
      for (const int c : unit_cells(kind, u)) {
        const int d = digit[static_cast<size_t>(c)];
        if (d == 0) continue;
        if (at[static_cast<size_t>(d)] >= 0)
          return "il " + std::to_string(d) + " di " + rc(at[static_cast<size_t>(d)]) +
                 " è anche in " + rc(c) + ", nella stessa " + unit_name(kind);
        at[static_cast<size_t>(d)] = c;
      }
    }
  }
  // The closed cages: no digit twice, and the digits placed fit the sum (they make it exactly
  // once every cell is filled).
  std::array<std::array<int, 10>, kCells> seen_in{};
  for (auto& s : seen_in) s.fill(-1);
  for (int i = 0; i < kCells; ++i) {
    const int g = cage_of(i);
    const int d = digit[static_cast<size_t>(i)];
    if (g < 0 || g >= kCells || d == 0 || cage_being_entered(g) || !sommagruppo[g].is_number())
      continue;
    int& other = seen_in[static_cast<size_t>(g)][static_cast<size_t>(d)];
    if (other >= 0) return "il " + std::to_string(d) + " di " + rc(other) + " è anche in " + rc(i) + ", nello stesso gruppo";
    other = i;
  }
  std::array<int, kCells> empty{};
  for (int i = 0; i < kCells; ++i)
    if (const int g = cage_of(i); g >= 0 && g < kCells && digit[static_cast<size_t>(i)] == 0)
      ++empty[static_cast<size_t>(g)];
  for (int i = 0; i < kCells; ++i) {
    const int g = cage_of(i);
    if (g < 0 || g >= kCells || cage_being_entered(g) || !sommagruppo[g].is_number()) continue;
    if (sommagruppo[g].num() < 0) return "le cifre del gruppo di " + rc(i) + " superano la sua somma";
    if (empty[static_cast<size_t>(g)] == 0 && sommagruppo[g].num() != 0)
      return "le cifre del gruppo di " + rc(i) + " non danno la sua somma";
  }
  // A digit that cell entry refused as "numero errato" stands outside the candidates: nothing
  // was taken from its peers, so no technique would see what it rules out.
  for (int i = 0; i < kCells; ++i)
    if (const int d = digit[static_cast<size_t>(i)]; d != 0 && Text2[i].text() != Text1[i].text())
      return "il " + std::to_string(d) + " di " + rc(i) + " non era tra i candidati della cella";
  return "";
}

std::string Main::layout_gap() const {
  if (cellacolorata > 0) return "schema incompleto: chiudere il gruppo in costruzione";
  int missing = 0, first = -1;
  bool any_cage = false;
  // A filled cell needs no cage: a game saved during play lists in its cages only the cells
  // that were still empty.
  for (int i = 0; i < kCells; ++i) {
    const int g = cage_of(i);
    const bool caged = g >= 0 && sommagruppo[g].is_number();
    any_cage = any_cage || caged;
    if (caged || !Text1[i].text().empty()) continue;
    if (first < 0) first = i;
    ++missing;
  }
  if (missing == 0) return "";
  if (!any_cage) return "schema incompleto: nessun gruppo inserito";
  return "schema incompleto: " +
         (missing == 1 ? "la cella " + rc(first) + " non appartiene"
                       : std::to_string(missing) + " celle (la prima è " + rc(first) + ") non appartengono") +
         " a nessun gruppo";
}

}  // namespace ks
