// ks_make_library: builds the puzzle library shipped with the program, without a window. The
// classic grids of the seeds 1..N become the records of a new library file, the batch generator
// gives each its killer layout and rating, and the records it rejected are left out.
//
//   ks_make_library N [file]        (file: schemikenvari.db in the current folder)
//
// The same N makes the same puzzles with the same levels; only the stored rating times differ.
#include <sqlite3.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "board/main.h"
#include "library/library.h"
#include "platform/data_control.h"
#include "platform/headless_runtime.h"

namespace {

// The headless runtime (fixed seed, no dialogs) with the real clocks: the batch generator stores
// the time each rating took.
class ToolRuntime : public ks::HeadlessRuntime {
 public:
  float Timer() override {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
           static_cast<float>(ms) / 1000.0f;
  }
  double timeGetTime() override {
    using namespace std::chrono;
    return static_cast<double>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

int fail(const std::string& why) {
  std::fprintf(stderr, "ks_make_library: %s\n", why.c_str());
  return 1;
}

// Runs one statement that returns rows; each row's first two columns go to `row`.
template <class Row>
bool query(sqlite3* db, const char* sql, Row row) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return false;
  while (sqlite3_step(st) == SQLITE_ROW) row(sqlite3_column_int(st, 0), sqlite3_column_int(st, 1));
  return sqlite3_finalize(st) == SQLITE_OK;
}

// The grids become the records 1..N of the new file, in one transaction, each written through
// bound parameters.
bool insert_grids(const std::string& file, const std::vector<std::string>& grids) {
  sqlite3* db = nullptr;
  sqlite3_stmt* st = nullptr;
  bool ok = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, "INSERT INTO schema (progressivo, stringa) VALUES (?, ?)", -1,
                               &st, nullptr) == SQLITE_OK;
  for (std::size_t i = 0; ok && i < grids.size(); ++i) {
    ok = sqlite3_bind_int64(st, 1, static_cast<sqlite3_int64>(i + 1)) == SQLITE_OK &&
         sqlite3_bind_text(st, 2, grids[i].c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
         sqlite3_step(st) == SQLITE_DONE && sqlite3_reset(st) == SQLITE_OK;
  }
  sqlite3_finalize(st);
  ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close_v2(db);
  return ok;
}

int records_without_layout(const std::string& file) {
  sqlite3* db = nullptr;
  int n = -1;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
    query(db, "SELECT COUNT(*), 0 FROM schema WHERE kenvari IS NULL", [&n](int a, int) { n = a; });
  sqlite3_close_v2(db);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) return fail("usage: ks_make_library N [file]");
  char* end = nullptr;
  const long count = std::strtol(argv[1], &end, 10);
  if (*end != '\0' || count < 1 || count > 100000) return fail("N must be a number from 1 to 100000");
  const std::string file = argc == 3 ? argv[2] : "schemikenvari.db";
  // The library is built beside its place and takes it only when it is complete.
  const std::string building = file + ".new";
  std::error_code ec;
  std::filesystem::remove(building, ec);

  ToolRuntime rt;
  rt.max_yields = LONG_MAX;
  const auto m = std::make_unique<ks::Main>(rt);
  m->Form_Load();

  std::vector<std::string> grids;
  for (long seed = 1; seed <= count; ++seed) {
    rt.Randomize(static_cast<std::uint32_t>(seed));
    m->genera_griglia_classica();
    std::string grid;
    for (const ks::TextBox& t : m->Text1) grid += t.text();
    grids.push_back(std::move(grid));
  }
  {
    ks::DataControl d;
    d.set_database_name(building);
    if (!d.create_database(ks::kLibraryScript)) return fail(d.error_text());
  }
  if (!insert_grids(building, grids)) return fail("cannot write the grids into " + building);

  const auto start = std::chrono::steady_clock::now();
  m->database = building;
  // A run ends at its time limit; the next one goes on with the records left.
  for (int left = records_without_layout(building), before = INT_MAX; left > 0 && left < before;
       before = left, left = records_without_layout(building))
    m->generazione_continua();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m->Data1.set_database_name("");
  for (const std::string& message : rt.messages) std::fprintf(stderr, "message: %s\n", message.c_str());

  sqlite3* db = nullptr;
  if (sqlite3_open_v2(building.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
    return fail("cannot open " + building);
  int rejected = 0;
  query(db, "SELECT COUNT(*), 0 FROM schema WHERE livello IS NULL OR livello = 14 OR kenvari IS NULL",
        [&rejected](int a, int) { rejected = a; });
  const bool tidy =
      sqlite3_exec(db, "DELETE FROM schema WHERE livello IS NULL OR livello = 14 OR kenvari IS NULL;"
                       "VACUUM;", nullptr, nullptr, nullptr) == SQLITE_OK;
  std::printf("%ld grids, %d rejected, %.0f s\nlevel  puzzles\n", count, rejected, seconds);
  int kept = 0;
  query(db, "SELECT livello, COUNT(*) FROM schema GROUP BY livello ORDER BY livello", [&kept](int level, int n) {
    std::printf("%5d  %7d\n", level, n);
    kept += n;
  });
  std::printf("total  %7d\n", kept);
  sqlite3_close_v2(db);
  if (!tidy) return fail("cannot remove the rejected records from " + building);

  std::filesystem::rename(building, file, ec);
  if (ec) return fail("cannot write " + file + ": " + ec.message());
  return 0;
}
