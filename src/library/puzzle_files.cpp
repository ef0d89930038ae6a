// Puzzle files: the format of a name, the readers of the formats (each ends in a layout text that
// the layout loader's own check judges), and whole-file reads and writes.
#include "library/puzzle_files.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "board/main.h"
#include "platform/text.h"

namespace ks {

namespace {

namespace fs = std::filesystem;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// The lines of a file: a line ends at "\n" or "\r\n"; a line break at the very end starts no new
// line. A byte-order mark in front of the first line is not part of it.
std::vector<std::string_view> lines_of(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string line_no(size_t index) { return "riga " + std::to_string(index + 1) + ": "; }

// The cell fields of an "sc+" file: 81 fields, each closed by ","; text after the last "," is
// not read. A field of one digit 1..9 is a placed digit; any other field is made of digits 1..9
// and gives the candidates of an empty cell ("" for a cell left without any). A candidate box
// edited by hand may have held its digits in any order and repeated, so they are kept in
// ascending order, each once; one candidate left is kept as the writer writes it, twice ("77").
std::string read_cell_fields(std::string_view line, std::vector<std::string>& fields) {
  fields.clear();
  size_t start = 0;
  for (size_t comma = line.find(','); comma != std::string_view::npos;
       comma = line.find(',', start)) {
    if (fields.size() == static_cast<size_t>(kCells))
      return "la seconda riga ha più di 81 campi";
    const std::string_view field = line.substr(start, comma - start);
    if (!std::all_of(field.begin(), field.end(), [](char c) { return c >= '1' && c <= '9'; }))
      return "il campo " + std::to_string(fields.size() + 1) + " della seconda riga (\"" +
             std::string(field) + "\") non è un elenco di cifre da 1 a 9";
    if (field.size() == 1) {
      fields.emplace_back(field);
    } else {
      const unsigned mask = digit_mask(field);
      std::string candidates;
      for (int d = 1; d <= 9; ++d)
        if (mask & (1u << d)) candidates += static_cast<char>('0' + d);
      if (candidates.size() == 1) candidates += candidates;
      fields.push_back(std::move(candidates));
    }
    start = comma + 1;
  }
  if (fields.size() != static_cast<size_t>(kCells))
    return "la seconda riga ha " + std::to_string(fields.size()) + " campi invece di 81";
  return "";
}

// One cage of an "sav" file as read from its line.
struct SavCage {
  int number = 0;
  int line = 0;
  std::string text;  // the cage as a layout text writes it: "17,4041;"
};

// An "sav" line: cage number, sum, a field that is skipped, the number of cells n, then the n
// cells separated by ","; the last cell may be followed by "," or end the line. The sum is read
// leniently, as the layout loader reads it ("" and "x" read 0, "-3" -3); every other field but
// the skipped one is a whole number.
std::string read_sav_line(std::string_view line, size_t index, SavCage& cage) {
  const std::string where = line_no(index);
  if (trimmed(line).empty()) return where + "riga vuota";
  size_t comma[4];
  size_t from = 0;
  for (size_t& c : comma) {
    c = line.find(',', from);
    if (c == std::string_view::npos) return where + "mancano i campi prima delle celle";
    from = c + 1;
  }
  const auto field = [&line](size_t a, size_t b) { return line.substr(a, b - a); };
  cage.number = whole_number(field(0, comma[0]));
  if (cage.number < 0 || cage.number >= kCells)
    return where + "il numero del gruppo non è tra 0 e 80";
  const std::string_view sum = field(comma[0] + 1, comma[1]);
  const int n = whole_number(field(comma[2] + 1, comma[3]));
  if (n < 1 || n > kMaxCageCells) return where + "il numero di celle non è tra 1 e 7";

  // A sum no double holds stays as written, for the layout loader to refuse.
  const double value = val(sum);
  cage.text = (std::isfinite(value) ? num_text(value) : std::string(trimmed(sum))) + ",";
  size_t p = comma[3] + 1;
  for (int k = 1; k <= n; ++k) {
    if (p >= line.size()) return where + "ci sono meno celle di quante indicate";
    const size_t c = std::min(line.find(',', p), line.size());
    const std::string_view cell = field(p, c);
    const int number = whole_number(cell);
    if (number < 0 || number >= kCells)
      return where + "la cella \"" + std::string(cell) + "\" non è tra 0 e 80";
    cage.text += two_digits(number);
    p = c + 1;
  }
  if (p < line.size() && !trimmed(line.substr(p)).empty())
    return where + "ci sono più celle di quante indicate";
  cage.text += ";";
  return "";
}

// The cages of an "sav" file in the order of their numbers, as one layout text. The numbers only
// order the cages: gaps close up, since the board numbers its cages from 0 without gaps.
std::string read_sav(const std::vector<std::string_view>& lines, std::string& layout) {
  std::vector<SavCage> cages;
  for (size_t i = 0; i < lines.size(); ++i) {
    SavCage cage;
    cage.line = static_cast<int>(i);
    if (std::string why = read_sav_line(lines[i], i, cage); !why.empty()) return why;
    cages.push_back(std::move(cage));
  }
  std::stable_sort(cages.begin(), cages.end(),
                   [](const SavCage& a, const SavCage& b) { return a.number < b.number; });
  for (size_t k = 0; k < cages.size(); ++k) {
    if (k > 0 && cages[k].number == cages[k - 1].number)
      return line_no(static_cast<size_t>(cages[k].line)) + "il gruppo " +
             std::to_string(cages[k].number) + " compare anche alla riga " +
             std::to_string(cages[k - 1].line + 1);
    layout += cages[k].text;
  }
  return "";
}

}  // namespace

FileFormat file_format(std::string_view name) {
  if (name.size() < 3) return FileFormat::None;
  const std::string_view end = name.substr(name.size() - 3);
  if (end == "sa+") return FileFormat::SaPlus;
  if (end == "sav") return FileFormat::Sav;
  if (end == "sc+") return FileFormat::ScPlus;
  if (end == "txt") return FileFormat::Txt;
  if (end == "sas") return FileFormat::Sas;
  return FileFormat::None;
}

int whole_number(std::string_view text) {
  text = trimmed(text);
  if (text.empty() || text.size() > 3) return -1;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = 10 * n + (c - '0');
  }
  return n <= 255 ? n : -1;
}

std::string two_digits(int cell) { return (cell < 10 ? "0" : "") + std::to_string(cell); }

std::string read_puzzle_text(FileFormat format, std::string_view text, PuzzleText& out) {
  out.layout.clear();
  out.fields.clear();
  const std::vector<std::string_view> lines = lines_of(text);
  if (lines.empty()) return "il file è vuoto";

  switch (format) {
    case FileFormat::SaPlus:
      out.layout = lines[0];
      break;
    case FileFormat::ScPlus:
      out.layout = lines[0];
      if (lines.size() < 2) return "manca la seconda riga, quella delle celle";
      if (std::string why = read_cell_fields(lines[1], out.fields); !why.empty()) return why;
      break;
    case FileFormat::Txt: {
      // Grid, level and layout, separated by single blanks. The grid holds only the digits of
      // the filled cells and the level may be empty, so the layout starts after the second
      // blank, wherever that falls.
      const std::string_view line = lines[0];
      const size_t first = line.find(' ');
      const size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
      if (second == std::string_view::npos)
        return "la riga non ha le tre parti griglia, livello e gruppi separate da spazi";
      out.layout = line.substr(second + 1);
      break;
    }
    case FileFormat::Sav:
      if (std::string why = read_sav(lines, out.layout); !why.empty()) return why;
      break;
    case FileFormat::Sas:
    case FileFormat::None:
      return "questo formato non si può aprire";
  }
  return Main::layout_refusal(out.layout);
}

bool read_text_file(const std::string& name, std::string& text) {
  text.clear();
  std::error_code ec;
  if (!fs::is_regular_file(name, ec) || ec) return false;
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::string buf(kMaxPuzzleFileBytes + 1, '\0');
  in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
  if (in.bad()) return false;
  const auto got = static_cast<size_t>(in.gcount());
  if (got > kMaxPuzzleFileBytes) return false;
  buf.resize(got);
  text = std::move(buf);
  return true;
}

bool write_text_file(const std::string& name, const std::vector<std::string>& lines) {
  if (name.empty()) return false;
  // A new file of our own beside the target ("x" opens only a file that does not exist yet, so
  // no file of the user's is ever taken for the temporary one).
  std::string temp;
  std::FILE* f = nullptr;
  for (int k = 0; k < 100 && !f; ++k) {
    temp = name + ".ks" + std::to_string(k) + ".tmp";
    f = std::fopen(temp.c_str(), "wbx");
    if (!f && errno != EEXIST) return false;
  }
  if (!f) return false;

  bool ok = true;
  for (const std::string& line : lines) {
    ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size();
    ok = ok && std::fwrite("\r\n", 1, 2, f) == 2;
  }
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;

  std::error_code ec;
  // The new file keeps the permissions of the file it replaces.
  if (ok && fs::is_regular_file(name, ec))
    fs::permissions(temp, fs::status(name, ec).permissions(), ec);
  if (ok) {
    ec.clear();
    fs::rename(temp, name, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(temp, ec);
  return ok;
}

}  // namespace ks
