// What the solving commands say and do, recorded once in tests/data/golden_solving.txt and
// golden_generated.txt and
// compared byte for byte: for every test puzzle the solve command (rating line, level, rating
// texts, the whole activity log, the solved grid), the solution count, the hint command stepped
// to the end at the traffic light and the technique keys; generated puzzles from fixed seeds with
// their layouts, try logs and ratings; and a small batch-generated library. The record keeps
// every change that is meant to make these commands faster, and only faster, honest. No safety
// stop of the ladders or the derived cages may fire in any of these runs.
//
// KS_GOLDEN=write writes the record again from the program as it stands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/data_control.h"
#include "solving_support.h"

namespace ks {
namespace {

using test::Started;


bool writing() {
  const char* v = std::getenv("KS_GOLDEN");
  return v != nullptr && std::string(v) == "write";
}

// The record as text. A field is one line "name: value"; a text of several lines (split at
// "\r\n") is "name:" followed by its lines, each after "| ". Backslashes and stray line-break
// characters are escaped, so that different texts never read the same.
class Record {
 public:
  void section(const std::string& title) { out_ << "== " << title << "\n"; }
  void field(const std::string& name, const std::string& value) {
    out_ << name << ": " << escaped(value) << "\n";
  }
  void field(const std::string& name, long long value) { field(name, std::to_string(value)); }
  void text(const std::string& name, const std::string& value) {
    out_ << name << ":\n";
    for (const std::string& line : test::lines_of(value)) out_ << "| " << escaped(line) << "\n";
  }
  std::string str() const { return out_.str(); }

 private:
  static std::string escaped(const std::string& s) {
    std::string e;
    for (const char c : s) {
      if (c == '\\')
        e += "\\\\";
      else if (c == '\r')
        e += "\\r";
      else if (c == '\n')
        e += "\\n";
      else
        e += c;
    }
    return e;
  }
  std::ostringstream out_;
};

using test::every_puzzle;
using test::load_from_library;

// The board: each cell's digit, or its candidates in brackets when empty.
std::string board_of(const Main& m) {
  std::string b;
  for (int i = 0; i < kCells; ++i)
    b += m.Text1[i].text().empty() ? "[" + m.Text2[i].text() + "]" : m.Text1[i].text();
  return b;
}

std::string messages_of(const HeadlessRuntime& rt) {
  std::string s;
  for (const std::string& message : rt.messages) s += "<" + message + ">";
  return s;
}

// The record of one run opens with its title; no safety stop may have fired in the run.
void open_section(Record& r, const Main& m, const std::string& title) {
  r.section(title);
  EXPECT_EQ(test::safety_stops_fired(m), "") << title;
}

void solve_record(Record& r, const std::string& id, const std::string& layout) {
  Started s;
  Main& m = *s.m;
  load_from_library(m, layout);
  m.Toolbar2_ButtonClick("risolvi");
  open_section(r, m, "solve " + id);
  r.field("messages", messages_of(s.rt));
  r.field("txthint", m.txthint.text());
  r.field("livello", m.livello);
  std::string counters;
  for (int L = 1; L <= 14; ++L) counters += std::to_string(m.liv(L)) + " ";
  r.field("liv", counters);
  r.field("tot", m.tot);
  r.field("txtlivello", m.txtlivello.text());
  r.field("txtlivello1", m.txtlivello1.text());
  r.field("testototale", m.testototale.text());
  r.field("txtstringa", m.txtstringa.text());
  r.field("tempo", m.tempo.text());
  r.field("soluzioni", m.soluzioni);
  r.field("count", static_cast<int>(m.count_result));
  r.field("finito", m.finito);
  r.field("problema", m.problema);
  r.field("board", board_of(m));
  r.text("log", m.frmlog.Text3.text());
}

void count_record(Record& r, const std::string& id, const std::string& layout) {
  Started s;
  Main& m = *s.m;
  load_from_library(m, layout);
  m.chiamante = "analisi";
  m.conta_soluzioni_tecniche();
  open_section(r, m, "count " + id);
  r.field("messages", messages_of(s.rt));
  r.field("soluzioni", m.soluzioni);
  r.field("count", static_cast<int>(m.count_result));
  std::string stored;
  for (const std::string& d : m.grigliasoluzione) stored += d;
  r.field("grigliasoluzione", stored);
  r.field("txthint", m.txthint.text());
  r.field("board", board_of(m));
  std::string cages;
  for (const std::string& c : test::position_of(m))
    if (c.find('/') == std::string::npos) cages += c + ";";
  r.field("cages", cages);
}

// What a run at the traffic light left: the messages, every wait (the hint line, the
// highlighted cells and the hinted digit), the board and the activity log.
void light_run_record(Record& r, const Started& s, const test::Light& light) {
  r.field("messages", messages_of(s.rt));
  std::string waits;
  for (const test::Light::Wait& w : light.waits) {
    waits += w.hint + " {";
    for (const int c : w.yellow) waits += std::to_string(c) + " ";
    waits += "} " + w.text5 + "\r\n";
  }
  r.text("waits", waits);
  r.field("board", board_of(*s.m));
  r.text("log", s.m->frmlog.Text3.text());
}

// The hint command pressed until the grid is full or a press shows nothing, green at every light.
void hint_record(Record& r, const std::string& id, const std::string& layout) {
  Started s;
  Main& m = *s.m;
  load_from_library(m, layout);
  test::Light light(s);
  int presses = 0;
  for (; presses < 400 && m.esposti < kCells; ++presses) {
    const size_t before = light.waits.size();
    m.Toolbar1_ButtonClick("suggerisci");
    if (light.waits.size() == before) break;
  }
  open_section(r, m, "hint " + id);
  r.field("presses", presses);
  light_run_record(r, s, light);
}

// The technique keys and the "45" button in turn, green at every light, until a round changes
// nothing (eight rounds at most); the light answers red at every fifth wait.
void keys_record(Record& r, const std::string& id, const std::string& layout) {
  Started s;
  Main& m = *s.m;
  load_from_library(m, layout);
  test::Light light(s);
  int waits = 0;
  s.rt.on_yield = [&, answer = s.rt.on_yield] {
    if (m.Pictgo.visible() && m.scelta.empty() && ++waits % 5 == 0) m.Pictalt.on_click();
    answer();
  };
  const char* keys[] = {"somme", "gruppovsgruppo", "impossibili", "obbligate", "pair", "gruppi"};
  int rounds = 0;
  for (; rounds < 8 && m.esposti < kCells; ++rounds) {
    const std::string before = board_of(m);
    for (const char* key : keys) m.Toolbar1_ButtonClick(key);
    m.Command3.on_click();
    if (board_of(m) == before) break;
  }
  open_section(r, m, "keys " + id);
  r.field("rounds", rounds);
  light_run_record(r, s, light);
}

// The generate command from a seed: the layout, its rating and the try log; then the layout
// solved by the solve command from a fresh window.
void generate_record(Record& r, int seed) {
  std::string layout;
  {
    Started s;
    Main& m = *s.m;
    s.rt.Randomize(static_cast<std::uint32_t>(seed));
    m.Toolbar2.on_button_click("genera");
    for (int g = 0; g <= m.gruppi; ++g) {
      layout += m.sommagruppo[g].text() + ",";
      for (int k = 1; k <= m.cage_size(g); ++k) {
        const int c = m.cage_cell(g, k);
        layout += (c < 10 ? "0" : "") + std::to_string(c);
      }
      layout += ";";
    }
    open_section(r, m, "generate " + std::to_string(seed));
    r.field("messages", messages_of(s.rt));
    r.field("layout", layout);
    r.field("problema", m.problema);
    r.field("livello", m.livello);
    r.field("txthint", m.txthint.text());
    r.field("txtlivello", m.txtlivello.text());
    r.field("testototale", m.testototale.text());
    r.field("board", board_of(m));
    r.text("tries", m.frmgeneratore.Text1.text());
  }
  solve_record(r, "generated " + std::to_string(seed), layout);
}

// A library of the classic grids of seeds 1..n, filled by the batch generator.
void batch_record(Record& r, int n) {
  const std::string file = test::temp_path("ks_golden_", ".db");
  Started s;
  Main& m = *s.m;
  std::vector<std::string> grids;
  for (int seed = 1; seed <= n; ++seed) {
    s.rt.Randomize(static_cast<std::uint32_t>(seed));
    m.genera_griglia_classica();
    std::string grid;
    for (const TextBox& t : m.Text1) grid += t.text();
    grids.push_back(grid);
  }
  ASSERT_EQ(test::make_grid_library(file, grids), "");
  m.database = file;
  m.Data1.set_database_name(file);
  m.Frame1.on_dbl_click();
  m.Toolbar2.on_button_click("continuo");
  m.Data1.set_database_name("");
  open_section(r, m, "batch " + std::to_string(n));
  r.field("messages", messages_of(s.rt));
  r.text("log", m.frmgeneratore.Text1.text());
  DataControl d;
  d.set_database_name(file);
  d.set_record_source("SELECT * FROM schema ORDER BY progressivo");
  ASSERT_TRUE(d.Refresh()) << d.error_text();
  for (bool more = d.record_count() > 0; more; more = d.MoveNext() && !d.eof()) {
    std::string fields;
    for (const char* f : {"progressivo", "livello", "singoli", "kenvari", "tempo", "difficolta",
                          "dettaglio"})
      fields += std::string(f) + "=" + d.field(f) + " ";
    r.field("record", fields);
  }
  d.set_database_name("");
  std::filesystem::remove(file);
}

// The record written now against the one on file: the first line that differs, with the section
// it belongs to.
void compare_or_write(const std::string& name, const std::string& now) {
  const std::string kGoldenFile = std::string(KS_TEST_DATA) + "/" + name;
  if (writing()) {
    std::ofstream out(kGoldenFile, std::ios::binary);
    out << now;
    ASSERT_TRUE(out.good()) << "cannot write " << kGoldenFile;
    return;
  }
  std::ifstream in(kGoldenFile, std::ios::binary);
  ASSERT_TRUE(in.good()) << kGoldenFile << " missing: KS_GOLDEN=write makes it";
  std::stringstream file;
  file << in.rdbuf();
  const std::string then = file.str();
  if (now == then) return;
  std::istringstream a(then), b(now);
  std::string la, lb, section;
  for (int line = 1;; ++line) {
    const bool more_a = static_cast<bool>(std::getline(a, la));
    const bool more_b = static_cast<bool>(std::getline(b, lb));
    if (more_a && la.rfind("== ", 0) == 0) section = la;
    if (!more_a || !more_b || la != lb) {
      FAIL() << "differs from " << kGoldenFile << " at line " << line << " (" << section
             << ")\n  recorded: " << (more_a ? la : "<end>") << "\n  now:      "
             << (more_b ? lb : "<end>");
    }
  }
}

TEST(Golden, SolveCountHintsAndKeysOnEveryTestPuzzleAsRecorded) {
  Record r;
  for (const test::Puzzle& p : every_puzzle()) {
    solve_record(r, p.id, p.layout);
    count_record(r, p.id, p.layout);
    hint_record(r, p.id, p.layout);
    keys_record(r, p.id, p.layout);
  }
  compare_or_write("golden_solving.txt", r.str());
}

TEST(Golden, GeneratedPuzzlesAndABatchLibraryAsRecorded) {
  Record r;
  for (int seed = 1; seed <= 30; ++seed) generate_record(r, seed);
  batch_record(r, 16);
  compare_or_write("golden_generated.txt", r.str());
}

}  // namespace
}  // namespace ks
