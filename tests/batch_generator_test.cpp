// The batch generator over temporary libraries: what each record receives, its log, the time
// limit across midnight, a run killed in the middle; and the library shipped with the program,
// loaded through the level chooser and checked by a counter written for the tests.
//
// KS_LIBRARY=all counts the solutions of every shipped puzzle instead of a sample.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "killer_counter.h"
#include "library/level_chooser.h"
#include "library/library.h"
#include "platform/data_control.h"
#include "platform/text.h"
#include "test_support.h"

namespace ks {
namespace {

namespace fs = std::filesystem;
using test::Started;

// The fields of a library record as the data control shows them ("" for null).
struct Record {
  int id = 0;
  std::string livello, singoli, kenvari, tempo, difficolta, dettaglio, stringa;
  bool untouched() const {
    return livello.empty() && singoli.empty() && kenvari.empty() && tempo.empty() &&
           difficolta.empty() && dettaglio.empty();
  }
};

// One row of a query over a library file, read by a data control of its own.
std::string single_value(const std::string& file, const std::string& sql, const std::string& field) {
  DataControl d;
  d.set_database_name(file);
  d.set_record_source(sql);
  if (!d.Refresh()) return "error: " + d.error_text();
  return d.field(field);
}

std::vector<Record> records_of(const std::string& file) {
  DataControl d;
  d.set_database_name(file);
  d.set_record_source("SELECT * FROM schema ORDER BY progressivo");
  EXPECT_TRUE(d.Refresh()) << d.error_text();
  std::vector<Record> out;
  for (bool more = d.record_count() > 0; more; more = d.MoveNext() && !d.eof())
    out.push_back({std::stoi(d.field("progressivo")), d.field("livello"), d.field("singoli"),
                   d.field("kenvari"), d.field("tempo"), d.field("difficolta"), d.field("dettaglio"),
                   d.field("stringa")});
  return out;
}

// A new library file holding one record per grid (progressivo 1, 2, ...), no layout yet.
void make_library(const std::string& file, const std::vector<std::string>& grids) {
  ASSERT_EQ(test::make_grid_library(file, grids), "");
}

// Classic grids made as the library tool makes them: the classic generator with seeds 1..n.
std::vector<std::string> seeded_grids(int n) {
  std::vector<std::string> out;
  Started s;
  for (int seed = 1; seed <= n; ++seed) {
    s.rt.Randomize(static_cast<std::uint32_t>(seed));
    s.m->genera_griglia_classica();
    std::string grid;
    for (const TextBox& t : s.m->Text1) grid += t.text();
    out.push_back(grid);
  }
  return out;
}

// What is wrong with a layout text as a killer over `grid`: "" when every cell lies in exactly one
// cage of at most seven side-connected cells without a repeated digit, each with the grid's sum;
// with `count`, also when the cages admit exactly one solution, the grid.
std::string killer_fault(const std::string& layout, const std::string& grid, bool count) {
  if (grid.size() != 81) return "grid of " + std::to_string(grid.size()) + " characters";
  const auto cages = test::cages_of(layout);
  std::array<int, 81> cage_of;
  cage_of.fill(-1);
  std::vector<int> sums;
  for (size_t g = 0; g < cages.size(); ++g) {
    const auto& cells = cages[g].cells;
    if (cells.empty() || cells.size() > 7) return "cage " + std::to_string(g) + " of " + std::to_string(cells.size());
    std::set<char> digits;
    int sum = 0;
    for (const int c : cells) {
      if (c < 0 || c > 80 || cage_of[static_cast<size_t>(c)] >= 0) return "cell " + std::to_string(c) + " twice";
      cage_of[static_cast<size_t>(c)] = static_cast<int>(g);
      sum += grid[static_cast<size_t>(c)] - '0';
      if (!digits.insert(grid[static_cast<size_t>(c)]).second) return "repeated digit";
    }
    if (sum != cages[g].sum) return "cage " + std::to_string(g) + " sum " + std::to_string(cages[g].sum);
    // Side-connected: every cell reached from the first.
    std::vector<int> reached{cells[0]};
    for (size_t i = 0; i < reached.size(); ++i)
      for (const int c : cells) {
        const int a = reached[i];
        const bool side = std::abs(a - c) == 9 || (std::abs(a - c) == 1 && a / 9 == c / 9);
        if (side && std::find(reached.begin(), reached.end(), c) == reached.end()) reached.push_back(c);
      }
    if (reached.size() != cells.size()) return "cage " + std::to_string(g) + " split";
    sums.push_back(sum);
  }
  for (int c = 0; c < 81; ++c)
    if (cage_of[static_cast<size_t>(c)] < 0) return "cell " + std::to_string(c) + " in no cage";
  if (!count) return "";
  std::string first;
  test::KillerCounter counter(cage_of, sums);
  const int n = counter.count(2, &first);
  if (n != 1) return std::to_string(n) + " solutions";
  return first == grid ? "" : "another solution";
}

// A started window whose library is `file`, with the batch button shown.
struct BatchRun {
  Started s;
  Main& m = *s.m;
  explicit BatchRun(const std::string& file) {
    m.database = file;
    m.Data1.set_database_name(file);
    m.Frame1.on_dbl_click();
  }
  void run() { m.Toolbar2.on_button_click("continuo"); }
  // The generator's log in the order it was written, oldest line first.
  std::vector<std::string> log() const {
    auto lines = test::lines_of(m.frmgeneratore.Text1.text());
    return {lines.rbegin(), lines.rend()};
  }
};

bool starts_with(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

TEST(BatchGenerator, EveryRecordWithoutLayoutGetsARatedKillerOrIsRejectedWithItsLogLine) {
  // Ten generated grids, a classic puzzle with its givens only, a grid whose givens clash (no
  // completion) in the middle, and a record that has its layout already.
  std::vector<std::string> grids = seeded_grids(10);
  const auto classic = test::data_lines("classic.txt").front();
  grids.insert(grids.begin() + 4, "11" + std::string(79, '.'));
  grids.push_back(classic[0]);
  grids.push_back(classic[1]);
  const std::string file = test::temp_path("ks_batch_", ".db");
  make_library(file, grids);
  const std::string kept_layout = test::puzzles().front().layout;
  {
    DataControl d;
    d.set_database_name(file);
    d.set_record_source("SELECT * FROM schema WHERE progressivo = 13");
    ASSERT_TRUE(d.Refresh());
    TextBox level, layout;
    d.bind(level, "livello");
    d.bind(layout, "kenvari");
    ASSERT_TRUE(d.Refresh());
    d.write(level, "3");
    d.write(layout, kept_layout);
    ASSERT_TRUE(d.Update()) << d.error_text();
  }

  BatchRun b(file);
  // Another command clicked while the run works is refused.
  bool clicked = false;
  b.s.rt.on_yield = [&] {
    if (clicked || !b.m.generation_running) return;
    clicked = true;
    b.m.Toolbar2.on_button_click("new");
  };
  b.run();
  EXPECT_FALSE(b.m.generation_running);
  EXPECT_FALSE(b.m.generatorecontinuo);
  EXPECT_TRUE(b.m.frmgeneratore.visible());
  // No message box but the refusal: nothing waited for the user.
  EXPECT_EQ(b.s.rt.messages, std::vector<std::string>{"generazione in corso"});

  const auto records = records_of(file);
  ASSERT_EQ(records.size(), 13u);
  const auto log = b.log();
  int rejected_with_layout = 0, accepted = 0;
  for (int i = 0; i < 12; ++i) {
    const Record& r = records[static_cast<size_t>(i)];
    const std::string n = std::to_string(i + 1);
    SCOPED_TRACE("record " + n + " level " + r.livello);
    // The record's three lines, oldest first, right after the line that ended its try log.
    const auto at = std::find(log.begin(), log.end(), " schema " + n);
    ASSERT_NE(at, log.end());
    ASSERT_NE(at, log.begin());
    ASSERT_LT(at + 2, log.end());
    EXPECT_EQ(*(at + 1), " numeri " + n);
    EXPECT_TRUE(starts_with(*(at + 2), " tempo, secondi ")) << *(at + 2);
    const std::string& before = *(at - 1);
    EXPECT_EQ(r.singoli, n);
    EXPECT_FALSE(r.tempo.empty());
    EXPECT_GE(val(r.tempo), 0.0);
    const std::string solution = i == 4 ? "" : i == 11 ? classic[1] : grids[static_cast<size_t>(i)];
    if (i == 4) {
      EXPECT_EQ(r.livello, "14");
      EXPECT_EQ(r.kenvari, "");
      EXPECT_EQ(before, " griglia senza soluzione ");
    } else if (r.livello == "14") {
      // A rejected layout is stored as it was carved: full sums, every cell.
      EXPECT_FALSE(starts_with(before, " tentativo ")) << before;
      EXPECT_EQ(r.difficolta, "");
      if (!r.kenvari.empty()) {
        ++rejected_with_layout;
        EXPECT_EQ(killer_fault(r.kenvari, solution, false), "");
      }
    } else {
      ++accepted;
      EXPECT_TRUE(starts_with(before, " tentativo ")) << before;
      EXPECT_GE(val(r.livello), 0.0);
      EXPECT_LE(val(r.livello), 13.0);
      EXPECT_EQ(killer_fault(r.kenvari, solution, true), "");
      EXPECT_EQ(r.dettaglio.empty(), r.livello == "0");
      EXPECT_LE(r.dettaglio.size(), 80u);
      EXPECT_FALSE(r.difficolta.empty());
    }
  }
  EXPECT_GT(accepted, 5);
  // The grids include layouts the verification rejects, so the stored form is really checked.
  EXPECT_GT(rejected_with_layout, 0);
  EXPECT_EQ(records[12].livello, "3");
  EXPECT_EQ(records[12].kenvari, kept_layout);
  EXPECT_EQ(records[12].singoli, "");
  fs::remove(file);
}

// The clock starts 5000 s before midnight and jumps 9000 s after each record: the third record
// ends 18000 s after the start, past the limit of 17200 s, and the run ends there with that
// record saved; the records after it are untouched.
TEST(BatchGenerator, TimeLimitAcrossMidnightEndsTheRunWithEveryFinishedRecordSaved) {
  const std::string file = test::temp_path("ks_batch_", ".db");
  const std::vector<std::string> grids = seeded_grids(3);
  make_library(file, {grids[0], grids[1], grids[2], grids[0], grids[1]});
  BatchRun b(file);
  const float start = 86400.0f - 5000.0f;
  b.s.rt.clock = start;
  b.s.rt.on_yield = [&] {
    const std::string& log = b.m.frmgeneratore.Text1.text();
    int done = 0;
    for (size_t p = log.find(" tempo, secondi "); p != std::string::npos; p = log.find(" tempo, secondi ", p + 1)) ++done;
    b.s.rt.clock = std::fmod(start + 9000.0f * static_cast<float>(done), 86400.0f);
  };
  b.run();
  const auto records = records_of(file);
  ASSERT_EQ(records.size(), 5u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(records[static_cast<size_t>(i)].singoli, std::to_string(i + 1));
    EXPECT_FALSE(records[static_cast<size_t>(i)].livello.empty());
    EXPECT_FALSE(records[static_cast<size_t>(i)].tempo.empty());
    EXPECT_GE(val(records[static_cast<size_t>(i)].tempo), 0.0);
  }
  EXPECT_TRUE(records[3].untouched());
  EXPECT_TRUE(records[4].untouched());
  EXPECT_FALSE(b.m.generation_running);
  fs::remove(file);
}

// A run killed in its middle: every record it finished is complete, the others untouched, and the
// file is a sound database. The run dies once at the yield after the second record (its fields
// written, the next record not yet reached), once by a kill from outside at whatever moment.
TEST(BatchGenerator, KilledRunLeavesFinishedRecordsCompleteAndTheFileIntact) {
  const std::vector<std::string> grids = seeded_grids(4);
  for (const bool from_outside : {false, true}) {
    SCOPED_TRACE(from_outside ? "killed from outside" : "killed after the second record");
    const std::string file = test::temp_path("ks_batch_", from_outside ? "_out.db" : "_in.db");
    std::vector<std::string> library;
    for (int k = 0; k < (from_outside ? 200 : 6); ++k) library.push_back(grids[static_cast<size_t>(k) % grids.size()]);
    make_library(file, library);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      BatchRun b(file);
      if (!from_outside)
        b.s.rt.on_yield = [&b] {
          if (b.m.frmgeneratore.Text1.text().find(" schema 2\r\n") != std::string::npos) raise(SIGKILL);
        };
      b.run();
      _exit(0);
    }
    // A child that ends or hangs before it is killed fails the test instead of stopping the
    // suite: every wait has a deadline, past which the child is killed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int status = 0;
    pid_t ended = 0;
    const auto ended_by_now = [&] {
      if (ended == 0) ended = waitpid(child, &status, WNOHANG);
      return ended != 0;
    };
    const std::string done_query = "SELECT COUNT(*) AS n FROM schema WHERE kenvari IS NOT NULL OR livello IS NOT NULL";
    if (from_outside) {
      while (!ended_by_now() && std::chrono::steady_clock::now() < deadline &&
             std::stoi("0" + single_value(file, done_query, "n")) < 3)
        usleep(1000);
      ASSERT_EQ(ended, 0) << "the run ended before it was killed";
      kill(child, SIGKILL);
    }
    while (!ended_by_now() && std::chrono::steady_clock::now() < deadline) usleep(1000);
    if (ended == 0) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      FAIL() << "the run did not end within its deadline";
    }
    ASSERT_EQ(ended, child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    EXPECT_EQ(single_value(file, "PRAGMA integrity_check", "integrity_check"), "ok");
    const auto records = records_of(file);
    int finished = 0;
    for (const Record& r : records) {
      SCOPED_TRACE("record " + std::to_string(r.id));
      if (r.untouched()) continue;
      ++finished;
      EXPECT_EQ(r.id, finished);  // the records are finished in order
      EXPECT_EQ(r.singoli, std::to_string(r.id));
      EXPECT_FALSE(r.livello.empty());
      EXPECT_FALSE(r.tempo.empty());
      if (r.livello != "14") {
        EXPECT_FALSE(r.kenvari.empty());
        EXPECT_FALSE(r.difficolta.empty());
      }
    }
    if (from_outside)
      EXPECT_GE(finished, 3);
    else
      EXPECT_EQ(finished, 2);
    fs::remove(file);
  }
}

// The library shipped with the program (data/schemikenvari.db), on a copy: every puzzle of every
// level loads through the level chooser as a pure killer whose cages hold together and agree with
// the record's grid; the solutions of a sample (of all with KS_LIBRARY=all) are counted.
TEST(ShippedLibrary, EveryPuzzleLoadsFromTheChooserWithOneSolution) {
  const fs::path shipped = test::shipped_library();
  ASSERT_TRUE(fs::exists(shipped)) << shipped;
  const std::string file = test::temp_path("ks_shipped_", ".db");
  fs::copy_file(shipped, file);
  const char* all_env = std::getenv("KS_LIBRARY");
  const bool all = all_env != nullptr && std::string(all_env) == "all";

  Started s;
  Main& m = *s.m;
  m.database = file;
  m.Data1.set_database_name(file);
  Frmlivello& c = m.frmlivello;
  std::map<int, int> levels;
  int loaded = 0, counted = 0;
  for (int level = 0; level <= 13; ++level) {
    m.Toolbar2.on_button_click("libreria");
    ASSERT_TRUE(c.form.visible());
    s.rt.messages.clear();
    c.Option1[level].on_click();
    if (!s.rt.messages.empty()) {
      EXPECT_EQ(s.rt.messages, std::vector<std::string>{"nessun record"});
      continue;
    }
    const int n = std::stoi(c.numerototale.text());
    levels[level] = n;
    for (int k = 1; k <= n; ++k) {
      SCOPED_TRACE("level " + std::to_string(level) + " puzzle " + std::to_string(k));
      if (!c.form.visible()) m.Toolbar2.on_button_click("libreria");
      if (c.level() != level) c.Option1[level].on_click();
      c.numeroselezionato.set_text(std::to_string(k));
      const std::string grid = m.txtstringa.text();
      EXPECT_EQ(m.testolivello.text(), std::to_string(level));
      EXPECT_FALSE(m.temporis.text().empty());
      EXPECT_FALSE(m.txttotale.text().empty());
      EXPECT_EQ(m.txtdettaglio.text().empty(), level == 0);
      c.Command1.on_click();
      ASSERT_TRUE(s.rt.messages.empty()) << s.rt.messages.front();
      ASSERT_TRUE(m.filelibreria);
      EXPECT_FALSE(m.problema);
      EXPECT_EQ(m.esposti, 0);
      EXPECT_EQ(m.filetxt.text(), " Livello " + std::to_string(level) + ", schema " + std::to_string(k));
      // The cages on the board, as a layout text, against the record's grid.
      std::string layout;
      for (int g = 0; g <= m.gruppi; ++g) {
        layout += std::to_string(m.sommagruppo[g].as_int()) + ",";
        for (int i = 1; i <= m.cage_size(g); ++i) {
          const int cell = m.cage_cell(g, i);
          layout += (cell < 10 ? "0" : "") + std::to_string(cell);
          EXPECT_EQ(m.cage_of(cell), g);
        }
        layout += ";";
      }
      EXPECT_EQ(layout, m.txtkenvari.text());
      const bool count = all || loaded % 10 == 0;
      EXPECT_EQ(killer_fault(layout, grid, count), "");
      ++loaded;
      counted += count;
    }
  }
  std::string histogram;
  for (const auto& [level, n] : levels) histogram += " " + std::to_string(level) + ":" + std::to_string(n);
  std::printf("shipped library, puzzles per level:%s; %d loaded, %d counted\n", histogram.c_str(), loaded, counted);
  EXPECT_GE(loaded, 300);
  EXPECT_GE(levels.size(), 8u);
  fs::remove(file);
}

}  // namespace
}  // namespace ks
