// Classic candidate recomputation: every candidate string rebuilt from the placed digits alone,
// by row, column and box; cages and earlier eliminations play no part.
#include "board/main.h"

namespace ks {

namespace {
// Cuts digit d out of a candidate string of more than one character. A string of one character
// is never cut, so the recomputation never empties a cell and never reports a contradiction.
void remove_candidate(TextBox& box, char d) {
  const std::string& s = box.text();
  if (s.size() <= 1) return;
  const size_t p = s.find(d);
  if (p == std::string::npos) return;
  std::string cut;
  cut.reserve(s.size() - 1);
  cut.append(s, 0, p);
  cut.append(s, p + 1, std::string::npos);
  box.set_text(std::move(cut));
}
}  // namespace

void Main::calcola_candidati() {
  problema = false;
  for (int i = 0; i < kCells; ++i) Text2[i].set_text("123456789");
  ins_dati = false;

  for (int i = 0; i < kCells; ++i) {
    numero = Text1[i].text();
    if (numero.empty()) continue;
    if (Text2[i].text() != numero) Text2[i].set_text(numero);
    for (const int p : peers(i)) remove_candidate(Text2[p], numero[0]);
  }
}

}  // namespace ks
