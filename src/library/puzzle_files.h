// Puzzle files: the formats, told apart by the last three characters of the name; the readers
// that turn a file's text into a cage layout (and the "sc+" cell fields); text files read whole
// and written whole, so that a failed write never leaves half a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ks {

// "sa+": one line, the cage layout. "sc+": the cage layout, then the 81 cell fields. "sas": the
// 81 cell fields (written only). "sav": an older format, one cage per line (read only). "txt":
// the one-line export: grid, level and cage layout.
enum class FileFormat { None, SaPlus, ScPlus, Sas, Sav, Txt };

// The format of a file name: its last three characters compared exactly ("x.SA+" is none).
FileFormat file_format(std::string_view name);

// The filters of the dialogs: "description|patterns|description|patterns". The open dialog first
// offers every format it opens, so that a game in progress saved as "sc+" is listed at once.
inline constexpr const char* kOpenFilter =
    "Tutti gli schemi (*.sa+;*.sc+;*.sav;*.txt)|*.sa+;*.sc+;*.sav;*.txt|"
    "Puzzle salvati (*.txt;*.sa+)|*.txt;*.sa+|Tutti i file (*.*)|*.*";
inline constexpr const char* kSaveFilter =
    "Puzzle salvati (*.sa+)|*.sa+|Classico (*.sas)|*.sas|Schema (*.sc+)|*.sc+";
inline constexpr const char* kExportFilter = "Puzzle salvati (*.txt)|*.txt";

// What a puzzle file holds once read: its cage layout (the text the layout loader takes) and,
// for "sc+", the 81 cell fields, each a placed digit (one character), a candidate string in
// ascending order, or a digit written twice (the one candidate left to an empty cell).
struct PuzzleText {
  std::string layout;
  std::vector<std::string> fields;
};

// Reads the text of a puzzle file of a readable format ("sa+", "sc+", "sav", "txt") without
// touching the board. Returns "" when the file holds a puzzle the layout loader accepts, else
// the reason it is refused (what follows "schema non valido: ").
std::string read_puzzle_text(FileFormat format, std::string_view text, PuzzleText& out);

// A whole number 0..255 written as decimal digits, blanks around allowed; -1 for anything else.
int whole_number(std::string_view text);

// A cell as a layout text writes it: two digits, "05".
std::string two_digits(int cell);

// Puzzle files are small; a larger file is not a puzzle and is not read.
inline constexpr std::size_t kMaxPuzzleFileBytes = 64 * 1024;

// The whole content of a text file; false when it cannot be read or is larger than a puzzle
// file can be.
bool read_text_file(const std::string& name, std::string& text);

// Writes the lines, each ended by CR LF, into a new file beside `name` and renames it over
// `name`: the old file stays whole until the new one is complete. False, with nothing left
// behind, when any step fails.
bool write_text_file(const std::string& name, const std::vector<std::string>& lines);

}  // namespace ks
