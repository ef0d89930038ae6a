// The library file: its tables, the record sources the library procedures set on the data
// control, and the message for a file that cannot be read.
#pragma once

#include <string>
#include <vector>

namespace ks {

// The puzzles of one level (the "?" takes the level), slowest rating first.
inline constexpr const char* kLevelSource =
    "SELECT schemi.* FROM [schemi] WHERE (((schemi.livello)=?))ORDER BY schemi.tempo DESC";
// Every record of the table, for the reduction pass.
inline constexpr const char* kReductionSource = "SELECT schema.* FROM [schema] ";

// The eight fields of a library record.
const std::vector<std::string>& library_fields();

// The statements that make a new, empty library file: the table schema and the view schemi
// over it. tempo holds seconds as a number, so that the chooser's order is the order of value.
extern const char* const kLibraryScript;

// What the user is told when the library file cannot be read; the file is left as it is.
std::string library_error_text(const std::string& file, const std::string& why);

}  // namespace ks
