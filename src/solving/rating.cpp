// The difficulty rating: the level name, the detail of how often each level was used and the
// weighted total, shown on the window and stored into the library record the puzzle came from.
#include <algorithm>
#include <array>
#include <string>

#include "board/main.h"
#include "platform/text.h"
#include "solving/rating_ladder.h"

namespace ks {

namespace {

// The name of each level 0..14; 13 and 14 share theirs.
constexpr std::array<const char*, 15> kLevelNames = {
    " BANALE",
    " FACILE singoli nascosti",
    " MEDIO controllo somme",
    " AVANZATO gruppocontrosettore",
    " AVANZATO obbligate",
    " HARD - hiddenpair",
    " HARD - gruppocontrogruppo",
    " VERY HARD - nakedtriple",
    " VERY HARD - Analisi Somme profonda",
    " VERY HARD - Regola 45 multipla",
    " EXTREME - Altri Gruppi",
    " EXTREME - Altri Gruppi numerosi",
    " EXTREME - Altri Gruppi multipli",
    " EXTREME - Prova e Verifica",
    " EXTREME - Prova e Verifica",
};

// The detail's piece for level L: " 1x" .. " 13x", and " L14x" for a layout the generator
// rejected.
std::string detail_piece(int L) { return L == 14 ? " L14x" : " " + std::to_string(L) + "x"; }

// A use of level L weighs L up to level 9, and 20 from level 10 on.
constexpr int weight(int L) { return L <= 9 ? L : 20; }

// The detail stored in the library holds at most this many characters.
constexpr size_t kStoredDetail = 80;

}  // namespace

const char* rating::level_name(int livello) {
  return kLevelNames[static_cast<size_t>(std::clamp(livello, 0, 14))];
}

// Example: one use of level 13, four of level 3 and twenty of level 1 give the detail
// " 13x1 - 3x4 - 1x20" and the total 20 + 12 + 20 = 52.
void Main::valuta_difficolta() {
  stringaliv = "";
  const std::string name = rating::level_name(livello);
  tot = 0;
  for (int L = 14; L >= 1; --L) {
    const int uses = liv(L);
    tot += weight(L) * uses;
    if (uses > 0) stringaliv += detail_piece(L) + std::to_string(uses) + " -";
  }
  if (!stringaliv.empty()) stringaliv.resize(stringaliv.size() - 2);

  // Only the record the puzzle on the board was loaded from receives its rating, and only from a
  // solve that began at the puzzle's start.
  const bool from_library = filelibreria && library_record > 0 && rating_for_record;
  txtlivello.set_text(from_library ? stringaliv : name + "  -  " + stringaliv);
  if (from_library) {
    std::string time = seconds_text(elapsed());
    time.resize(time.size() - 2);  // without " s"
    const std::string detail = stringaliv.substr(0, kStoredDetail);
    txtdettaglio.set_text(detail);
    tempo.set_text(time);
    temporis.set_text(time);
    txttotale.set_text(std::to_string(tot));
    testolivello.set_text(std::to_string(livello));
    testototale.set_text(" tot. " + std::to_string(tot));
    txtlivello.set_text(name);
    txtlivello1.set_text(stringaliv);
    store_library_record(library_record, {{"dettaglio", detail},
                                          {"tempo", time},
                                          {"difficolta", std::to_string(tot)},
                                          {"livello", std::to_string(livello)}});
  }
  txthint.set_text(name + " - " + stringaliv + " tot. " + std::to_string(tot));
}

}  // namespace ks
