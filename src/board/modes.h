// The mode words: the values of the main window's mode variables, one name each, spelled as the
// program spells them (the window and the activity log observe them).
#pragma once

#include <string_view>

namespace ks::mode {

// calling: what runs the techniques ("" the player's steps).
inline constexpr std::string_view kRisolvi = "risolvi";  // a solving ladder
inline constexpr std::string_view kGenera = "genera";    // the generator (also a chiamante)

// calling1: how cell entry and the techniques behave ("" as in play).
// trial and verify, the solution counter: no log lines, no level counts
inline constexpr std::string_view kTrial = "trial";
// the generator on a classic grid: cell entry leaves the cages alone
inline constexpr std::string_view kClassico = "classico";

// chiamante: who asked for the work.
inline constexpr std::string_view kManuale = "manuale";        // the player: steps wait at the gate
inline constexpr std::string_view kAnalisi = "analisi";        // a ladder that explains its steps
// a caller for which the ladders keep the last explained step (no command of this program
// sets it)
inline constexpr std::string_view kRintraccia = "rintraccia";

// origine1: cell entry runs the sum check.
inline constexpr std::string_view kModificatext1 = "modificatext1";

// origine, the tag of the technique at work, where another procedure reads it: the cage-sum
// techniques without and with repeated digits.
inline constexpr std::string_view kSomme1 = "somme1";
inline constexpr std::string_view kSomme2 = "somme2";

// scelta: the player's answer at the step gate ("" while it waits).
inline constexpr std::string_view kSi = "si";  // green light: apply the step
inline constexpr std::string_view kNo = "no";  // red light: refuse it

}  // namespace ks::mode
