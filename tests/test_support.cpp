// Shared helpers of the headless tests.
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

#include "library/library.h"
#include "platform/data_control.h"
#include "platform/text.h"

namespace ks::test {

Started::Started(std::string app_path) {
  rt.app_path = std::move(app_path);
  rt.check_at_yield = [this] { check_index(); };
  m->Form_Load();
}

Started::~Started() { check_index(); }

void Started::check_index() {
  if (index_told_ || !m) return;
  const std::string why = m->board_index().check(m->Text1, m->Text2);
  if (why.empty()) return;
  index_told_ = true;
  ADD_FAILURE() << "the board index disagrees with the boxes after " << rt.yields
                << " yields: " << why;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t p = text.find("\r\n", start);
    if (p == std::string::npos) {
      out.push_back(text.substr(start));
      return out;
    }
    out.push_back(text.substr(start, p - start));
    start = p + 2;
  }
}

void enter_by_hand(Main& m, const std::vector<TextCage>& cages) {
  for (size_t n = 0; n < cages.size(); ++n) {
    m.colore[static_cast<int>(n % 16)].set_focus();
    m.colore[static_cast<int>(n % 16)].on_click();
    for (int c : cages[n].cells) m.Text1[c].on_click();
    const int g = m.gruppi;
    m.textsomma[g].set_focus();
    m.textsomma[g].set_text(std::to_string(cages[n].sum));
    m.Text1[80].set_focus();  // leaving the sum box closes the cage
  }
  m.colore[16].on_click();
}

std::string safety_stops_fired(const Main& m) {
  std::string out;
  const auto add = [&out](long n, const char* what) {
    if (n != 0) out += (out.empty() ? "safety stops: " : ", ") + std::to_string(n) + " " + what;
  };
  add(m.safety_stops.idle_ladder, "ladders ended after 64 passes without a change");
  add(m.safety_stops.long_ladder, "ladders ended after 100000 passes");
  add(m.safety_stops.no_cage_slot, "derived cages left unmade for want of a cage slot");
  return out;
}

std::vector<std::array<std::string, 3>> data_lines(const std::string& file) {
  std::vector<std::array<std::string, 3>> out;
  std::ifstream in(std::string(KS_TEST_DATA) + "/" + file);
  if (!in) throw std::runtime_error("tests/data/" + file + " not found");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t a = line.find('|'), b = line.find('|', a + 1);
    out.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
  }
  return out;
}

const std::vector<Puzzle>& puzzles() {
  static const std::vector<Puzzle> all = [] {
    std::vector<Puzzle> out;
    for (const auto& f : data_lines("killer.txt")) out.push_back({f[0], f[1], f[2]});
    return out;
  }();
  return all;
}

HandBoard::HandBoard() {
  m.nuovo_schema();
  m.calling = "risolvi";
  m.chiamante = "analisi";
  m.frmlog.Text3.set_text("");
  m.txthint.set_text("");
}

void HandBoard::cage(int g, int sum, std::initializer_list<int> cells) {
  cage(g, cells);
  m.sommagruppo.set(g, sum);
}

void HandBoard::cage(int g, std::initializer_list<int> cells, const std::string& required) {
  int k = 0;
  for (const int c : cells) {
    m.cellegruppo.set(g, ++k, c);
    m.gruppodicella.set(c, g);
  }
  m.elementigruppo.set(g, k);
  m.numeriobbligati[g] = required;
  if (g > m.gruppi) m.gruppi = g;
  if (g > m.gruppo1) m.gruppo1 = g;
}

void HandBoard::set(int cell, const std::string& candidates) { m.Text2[cell].set_text(candidates); }

void HandBoard::set(std::initializer_list<int> cells, const std::string& candidates) {
  for (const int c : cells) set(c, candidates);
}

void HandBoard::drop(char d, std::initializer_list<int> cells) {
  for (const int c : cells) m.Text2[c].set_text(cut_first(m.Text2[c].text(), d));
}

void HandBoard::place(int cell, char d) {
  m.ins_dati = true;
  m.Text1[cell].set_text(std::string(1, d));
  m.ins_dati = false;
  set(cell, std::string(1, d));
}

void HandBoard::snapshot() {
  before.clear();
  for (int i = 0; i < 81; ++i) before.push_back(m.Text2[i].text());
}

std::map<int, std::string> HandBoard::changes() const {
  std::map<int, std::string> out;
  for (int i = 0; i < 81; ++i)
    if (m.Text2[i].text() != before[static_cast<size_t>(i)]) out[i] = m.Text2[i].text();
  return out;
}

std::vector<std::string> HandBoard::log() const {
  std::vector<std::string> lines = lines_of(m.frmlog.Text3.text());
  lines.erase(lines.begin());
  return lines;
}

std::vector<std::string> HandBoard::cells() const {
  std::vector<std::string> out;
  for (int i = 0; i < 81; ++i) out.push_back(m.Text1[i].text() + "/" + m.Text2[i].text());
  return out;
}

Light::Light(Started& s, std::initializer_list<const char*> answers, std::string when_spent)
    : script(answers.begin(), answers.end()), s_(s) {
  s.rt.on_yield = [this, &m = *s.m, when_spent] {
    if (!m.Pictgo.visible() || !m.scelta.empty()) return;
    Wait w{m.txthint.text(), {}, m.Text5.text()};
    for (int i = 0; i < 81; ++i)
      if (m.Text1[i].back_color() == m.giallo && m.Text2[i].back_color() == m.giallo)
        w.yellow.push_back(i);
    waits.push_back(w);
    const std::string a = script.empty() ? when_spent : script.front();
    if (!script.empty()) script.pop_front();
    if (a == "si")
      m.Pictgo.on_click();
    else
      m.Pictalt.on_click();
  };
}

Light::~Light() { s_.rt.on_yield = nullptr; }

std::string cages_agree(const Main& m, const std::string& layout) {
  std::vector<int> owner(kCells, -1);
  for (const TextCage& c : cages_of(layout)) {
    const int g = m.cage_of(c.cells.at(0));
    const std::string name = "cage at cell " + std::to_string(c.cells[0]);
    if (g < 0) return name + ": in no cage";
    if (m.textsomma[g].text() != std::to_string(c.sum)) return name + ": sum box " + m.textsomma[g].text();
    int rest = c.sum;
    std::vector<int> empty;
    for (const int cell : c.cells) {
      if (m.cage_of(cell) != g) return name + ": cell " + std::to_string(cell) + " elsewhere";
      owner[static_cast<size_t>(cell)] = g;
      const std::string& d = m.Text1[cell].text();
      if (d.empty())
        empty.push_back(cell);
      else
        rest -= d[0] - '0';
    }
    std::vector<int> listed;
    for (int k = 1; k <= m.cage_size(g); ++k) listed.push_back(m.cage_cell(g, k));
    std::sort(empty.begin(), empty.end());
    std::sort(listed.begin(), listed.end());
    if (!m.elementigruppo[g].eq(static_cast<double>(empty.size())) || listed != empty)
      return name + ": list of the empty cells";
    if (!m.sommagruppo[g].eq(rest)) return name + ": remaining sum " + m.sommagruppo[g].text();
  }
  for (int c = 0; c < kCells; ++c)
    if (m.cage_of(c) != owner[static_cast<size_t>(c)]) return "cell " + std::to_string(c) + ": cage";
  return "";
}

std::string board_layout(const Main& m, const std::string& solution) {
  std::string text;
  for (int g = 0; g <= m.gruppi; ++g) {
    std::string cells;
    int sum = 0;
    for (int c = 0; c < kCells; ++c)
      if (m.cage_of(c) == g) {
        cells += (c < 10 ? "0" : "") + std::to_string(c);
        sum += solution.at(static_cast<size_t>(c)) - '0';
      }
    text += std::to_string(sum) + "," + cells + ";";
  }
  return text;
}

void load_layout(Main& m, const std::string& layout) {
  m.nuovo_schema();
  m.stringa = layout;
  m.carica_gruppi_da_stringa();
  if (m.problema) return;  // refused: the board stays reset and problema tells why
  m.controlla_contiguita();
  m.inizializza_candidati();
}

std::string shipped_library() {
  return (std::filesystem::path(KS_TEST_DATA) / ".." / ".." / "data" / "schemikenvari.db").string();
}

std::string temp_path(const std::string& prefix, const std::string& suffix) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // The process id keeps apart the runs of suites that share the folder (two build folders, or
  // two checkouts, tested at the same time).
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     (prefix + info->name() + "_" + std::to_string(getpid()) + suffix);
  std::filesystem::remove_all(path);
  return path.string();
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string stored_field(const std::string& file, const std::string& query, int key,
                         const std::string& field) {
  DataControl r;
  r.set_database_name(file);
  r.set_record_source(query, {std::int64_t{key}});
  EXPECT_TRUE(r.Refresh()) << r.error_text();
  return r.field(field);
}

std::string make_library_file(const std::string& file, const std::string& rows) {
  DataControl d;
  d.set_database_name(file);
  return d.create_database(std::string(kLibraryScript) + rows) ? "" : d.error_text();
}

std::string make_grid_library(const std::string& file, const std::vector<std::string>& grids) {
  std::string rows;
  for (size_t i = 0; i < grids.size(); ++i)
    rows += "INSERT INTO schema (progressivo, stringa) VALUES (" + std::to_string(i + 1) + ", '" +
            grids[i] + "');";
  return make_library_file(file, rows);
}

}  // namespace ks::test
