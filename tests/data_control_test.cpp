// The data control over a temporary SQLite file: the cursor at both ends, the bound boxes, which
// writes reach the record and when, failed writes, and files that are missing or damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/data_control.h"
#include "test_support.h"

namespace ks {
namespace {

namespace fs = std::filesystem;

constexpr const char* kScript =
    "CREATE TABLE t (id INTEGER PRIMARY KEY, n INTEGER, x REAL, s TEXT);"
    "CREATE VIEW v AS SELECT id, n, x, s FROM t;"
    "INSERT INTO t (n, x, s) VALUES (1, 2.5, 'uno');"
    "INSERT INTO t (n, x, s) VALUES (2, 10, 'due');"
    "INSERT INTO t (n, x, s) VALUES (2, NULL, NULL);";

// A fresh database file in the temporary folder, removed at the end of the test.
class DataControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file = test::temp_path("ks_dc_", ".db");
    d.set_database_name(file);
    d.on_write_error = [this](const std::string& m) { reported.push_back(m); };
    ASSERT_TRUE(d.create_database(kScript)) << d.error_text();
    d.bind(box_id, "id");
    d.bind(box_n, "n");
    d.bind(box_x, "x");
    d.bind(box_x2, "X");
    d.bind(box_s, "s");
  }
  void TearDown() override { fs::remove(file); }

  // The stored fields of record id, read by a control of its own.
  std::string stored(int id, const std::string& field) {
    return test::stored_field(file, "SELECT * FROM t WHERE id = ?", id, field);
  }

  std::string file;
  DataControl d;
  TextBox box_id, box_n, box_x, box_x2, box_s;
  std::vector<std::string> reported;
};

TEST_F(DataControlTest, CursorWalksTheRecordsAndStopsAtBothEnds) {
  d.set_record_source("SELECT v.* FROM [v] WHERE (((v.n)=?))ORDER BY v.x DESC", {std::int64_t{2}});
  ASSERT_TRUE(d.Refresh()) << d.error_text();
  EXPECT_EQ(d.record_count(), 2);
  EXPECT_EQ(d.absolute_position(), 0);
  EXPECT_FALSE(d.bof());
  EXPECT_EQ(box_id.text(), "2");  // x = 10 before x = null
  EXPECT_EQ(box_x.text(), "10");

  ASSERT_TRUE(d.MoveNext());
  EXPECT_EQ(box_id.text(), "3");
  EXPECT_EQ(box_x.text(), "");  // null shows as ""
  EXPECT_EQ(box_s.text(), "");
  ASSERT_TRUE(d.MoveNext());
  EXPECT_TRUE(d.eof());
  EXPECT_EQ(d.absolute_position(), -1);
  EXPECT_FALSE(d.MoveNext());
  EXPECT_EQ(d.error(), DataError::NoCurrentRecord);

  ASSERT_TRUE(d.MoveFirst());
  ASSERT_TRUE(d.MovePrevious());
  EXPECT_TRUE(d.bof());
  EXPECT_FALSE(d.MovePrevious());
  EXPECT_EQ(d.error(), DataError::NoCurrentRecord);

  ASSERT_TRUE(d.MoveLast());
  EXPECT_EQ(d.absolute_position(), 1);
  ASSERT_TRUE(d.set_absolute_position(0));
  EXPECT_EQ(box_id.text(), "2");
  // Outside the records: a different error from "no current record", and no move.
  EXPECT_FALSE(d.set_absolute_position(2));
  EXPECT_EQ(d.error(), DataError::InvalidArgument);
  EXPECT_FALSE(d.set_absolute_position(-1));
  EXPECT_EQ(d.absolute_position(), 0);
  EXPECT_EQ(box_id.text(), "2");
}

TEST_F(DataControlTest, EmptyRecordsetHasNoCurrentRecord) {
  d.set_record_source("SELECT * FROM t WHERE n = ?", {std::int64_t{9}});
  ASSERT_TRUE(d.Refresh());
  EXPECT_EQ(d.record_count(), 0);
  EXPECT_TRUE(d.bof());
  EXPECT_TRUE(d.eof());
  for (bool ok : {d.MoveLast(), d.MoveFirst(), d.set_absolute_position(0), d.Edit()}) {
    EXPECT_FALSE(ok);
    EXPECT_EQ(d.error(), DataError::NoCurrentRecord);
  }
}

TEST_F(DataControlTest, BareNameRunsTheWholeTableAndNumbersShowWithDecimalComma) {
  d.set_record_source("v");
  ASSERT_TRUE(d.Refresh()) << d.error_text();
  EXPECT_EQ(d.record_count(), 3);
  EXPECT_EQ(box_x.text(), "2,5");
  EXPECT_EQ(box_x2.text(), "2,5");  // field names ignore case
  EXPECT_EQ(d.field("S"), "uno");
}

TEST_F(DataControlTest, OnlyWritesThroughTheControlReachTheRecord) {
  d.set_record_source("SELECT * FROM [v]");
  ASSERT_TRUE(d.Refresh());
  // Display only: never saved, whatever the cursor does next.
  box_s.set_text("schermo");
  ASSERT_TRUE(d.MoveNext());
  EXPECT_EQ(stored(1, "s"), "uno");

  // Implicit save when the control leaves the record.
  ASSERT_TRUE(d.write(box_n, "7"));
  ASSERT_TRUE(d.write(box_x, "3,07"));
  EXPECT_EQ(stored(2, "n"), "2");  // not yet
  ASSERT_TRUE(d.MoveNext());
  EXPECT_EQ(stored(2, "n"), "7");
  EXPECT_EQ(stored(2, "x"), "3,07");

  // Explicit edit and update; "" stores null.
  ASSERT_TRUE(d.Edit());
  ASSERT_TRUE(d.write(box_s, "tre"));
  ASSERT_TRUE(d.write(box_n, ""));
  ASSERT_TRUE(d.Update());
  EXPECT_EQ(stored(3, "s"), "tre");
  EXPECT_EQ(stored(3, "n"), "");
  // The snapshot keeps what was saved when the cursor comes back.
  ASSERT_TRUE(d.MovePrevious());
  EXPECT_EQ(box_x.text(), "3,07");
  // Values are parameters: quotes and semicolons are stored as they stand.
  ASSERT_TRUE(d.write(box_s, "x'); DROP TABLE t; --"));
  ASSERT_TRUE(d.Refresh());
  EXPECT_EQ(stored(2, "s"), "x'); DROP TABLE t; --");
  EXPECT_TRUE(reported.empty());
}

TEST_F(DataControlTest, NumbersSortByValue) {
  ASSERT_TRUE(d.update_record("t", "id", std::int64_t{3}, {{"x", "9,5"}}));
  d.set_record_source("SELECT * FROM t ORDER BY x DESC");
  ASSERT_TRUE(d.Refresh());
  std::string order;
  for (; !d.eof(); d.MoveNext()) order += box_x.text() + " ";
  EXPECT_EQ(order, "10 9,5 2,5 ");
}

TEST_F(DataControlTest, FailedSaveLeavesTheRecordAsItWasAndIsReported) {
  struct Case {
    const char* what;
    bool read_only;
    const char* trigger;  // a constraint that refuses the second field of the save
    const char* n;
    const char* s;
    DataError error;
  };
  const std::vector<Case> cases = {
      {"read-only file", true, nullptr, "5", "cinque", DataError::WriteFailed},
      {"letters in a number", false, nullptr, "abc", "cinque", DataError::BadValue},
      {"refused by the database", false,
       "CREATE TRIGGER no_s BEFORE UPDATE OF s ON t WHEN NEW.s = 'cinque' "
       "BEGIN SELECT RAISE(ABORT, 'rifiutato'); END",
       "5", "cinque", DataError::WriteFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    reported.clear();
    if (c.trigger) {
      DataControl w;
      fs::remove(file);
      w.set_database_name(file);
      ASSERT_TRUE(w.create_database(std::string(kScript) + c.trigger));
      d.set_database_name("");
      d.set_database_name(file);
    }
    d.set_read_only(c.read_only);
    d.set_record_source("t");
    ASSERT_TRUE(d.Refresh());
    const std::string before = test::file_bytes(file);

    ASSERT_TRUE(d.write(box_n, c.n));
    ASSERT_TRUE(d.write(box_s, c.s));
    EXPECT_FALSE(d.Update());
    EXPECT_EQ(d.error(), c.error);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], d.error_text());
    // The boxes show the record as stored, and the file holds it unchanged.
    EXPECT_EQ(box_n.text(), "1");
    EXPECT_EQ(box_s.text(), "uno");
    d.set_read_only(false);
    EXPECT_EQ(stored(1, "n"), "1");
    EXPECT_EQ(stored(1, "s"), "uno");
    EXPECT_EQ(test::file_bytes(file), before);
    // Nothing is left pending to be saved on the next move.
    ASSERT_TRUE(d.Refresh());
    ASSERT_TRUE(d.MoveNext());
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_EQ(stored(1, "n"), "1");
  }
}

TEST_F(DataControlTest, WriteByKeyReachesOnlyThatRecord) {
  d.set_record_source("v");
  ASSERT_TRUE(d.Refresh());
  ASSERT_TRUE(d.MoveLast());  // record 3 current
  ASSERT_TRUE(d.update_record("t", "id", std::int64_t{1}, {{"n", "4"}, {"s", "nuovo"}}));
  EXPECT_EQ(stored(1, "n"), "4");
  EXPECT_EQ(stored(1, "s"), "nuovo");
  EXPECT_EQ(stored(3, "s"), "");
  EXPECT_EQ(box_id.text(), "3");  // the cursor stays
  ASSERT_TRUE(d.MoveFirst());
  EXPECT_EQ(box_s.text(), "nuovo");  // the snapshot follows
  ASSERT_TRUE(d.update_record("t", "id", std::int64_t{1}, {{"s", "ancora"}}));
  EXPECT_EQ(box_s.text(), "ancora");  // and the boxes of the current record

  EXPECT_FALSE(d.update_record("t", "id", std::int64_t{99}, {{"n", "1"}}));
  EXPECT_EQ(d.error(), DataError::NoCurrentRecord);
  EXPECT_FALSE(d.update_record("t", "id", std::int64_t{1}, {{"nonce", "1"}}));
  EXPECT_EQ(d.error(), DataError::BadSource);
  EXPECT_FALSE(d.update_record("t\"; DROP TABLE t; --", "id", std::int64_t{1}, {{"n", "1"}}));
  EXPECT_EQ(d.error(), DataError::BadSource);
  EXPECT_FALSE(d.update_record("t", "id", std::int64_t{1}, {{"n", "uno"}}));
  EXPECT_EQ(d.error(), DataError::BadValue);
  EXPECT_EQ(stored(1, "n"), "4");
}

TEST_F(DataControlTest, MissingOrDamagedFileIsReportedAndLeftAlone) {
  const std::string missing = file + ".missing";
  d.set_database_name(missing);
  d.set_record_source("t");
  EXPECT_FALSE(d.Refresh());
  EXPECT_EQ(d.error(), DataError::CannotOpen);
  EXPECT_FALSE(fs::exists(missing));

  const std::string junk = "questo non è un database\n";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << junk;
  }
  d.set_database_name(file);
  EXPECT_FALSE(d.Refresh());
  EXPECT_EQ(d.error(), DataError::CannotOpen);
  EXPECT_FALSE(d.has_fields("t", {"id"}));
  EXPECT_FALSE(d.create_database(kScript));
  EXPECT_EQ(d.error(), DataError::FileExists);
  EXPECT_EQ(test::file_bytes(file), junk);
}

TEST_F(DataControlTest, FieldCheckTellsAMissingSourceOrField) {
  EXPECT_TRUE(d.has_fields("v", {"id", "N", "x", "s"}));
  EXPECT_FALSE(d.has_fields("v", {"id", "kenvari"}));
  EXPECT_EQ(d.error(), DataError::BadSource);
  EXPECT_FALSE(d.has_fields("nessuna", {"id"}));
  EXPECT_EQ(d.error(), DataError::BadSource);
}

}  // namespace
}  // namespace ks
