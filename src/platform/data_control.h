// The data control: one SQLite database file, a record source run as a snapshot of rows, a
// current record that the cursor moves, and text boxes bound to the fields of that record.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/controls.h"

struct sqlite3;

namespace ks {

// What went wrong in the last operation of the control.
enum class DataError {
  None,
  CannotOpen,       // the file is missing, unreadable or not a database
  BadSource,        // the record source (or a table or field name) is not valid for the file
  NoCurrentRecord,  // the operation needs a current record and there is none
  InvalidArgument,  // an absolute position outside the records
  NotUpdatable,     // the field has no column of a table behind it, or its table no key
  BadValue,         // a text that the field's column cannot take (letters in a number)
  WriteFailed,      // the database refused the write (read-only file, locked, constraint)
  FileExists,       // a new database would overwrite an existing file
};

// A value bound to a "?" of a statement.
using SqlValue = std::variant<std::int64_t, double, std::string>;

// The binding contract, in short:
// - Whenever the control reaches a record (Refresh, a move, a new absolute position), every bound
//   box shows that record's field as text: "" for null, whole numbers in decimal, other numbers
//   with a decimal comma ("12,5").
// - A value reaches the record only when it is written through the control: write(box, text)
//   shows the text in the box and keeps it pending for the box's field. Pending values are saved
//   by Update(), and implicitly when the control leaves the record (a move, a new absolute
//   position, Refresh). A plain box.set_text() is display only and never reaches the record, so
//   a board reset that blanks a time box cannot wipe a stored time.
// - Every save is one transaction: all pending fields of the record, or none. A failed save
//   leaves the record as it was, shows its stored values again in the boxes, and reports the
//   error through on_write_error (and error()).
// - Text is converted by the column's declared type: INTEGER and REAL columns take a number
//   with a decimal point or comma ("3,07" -> 3.07), anything else is refused; "" is stored as
//   null in every column.
//
// The recordset is a snapshot: the rows are read by Refresh and stay until the next Refresh, so
// a record that a write moves out of the record source's condition keeps its place until then.
class DataControl {
 public:
  DataControl() = default;
  ~DataControl();
  DataControl(const DataControl&) = delete;
  DataControl& operator=(const DataControl&) = delete;

  // The database file. Changing it saves the record being left and closes the open file; the
  // next Refresh opens the new one.
  const std::string& database_name() const { return database_name_; }
  void set_database_name(std::string file);
  // Opens the file for reading only: every write fails with WriteFailed.
  bool read_only() const { return read_only_; }
  void set_read_only(bool v);

  // The record source: a table or view name, or a SELECT whose "?" take params in order. It takes
  // effect at the next Refresh.
  const std::string& record_source() const { return record_source_; }
  const std::vector<SqlValue>& record_source_params() const { return params_; }
  void set_record_source(std::string sql, std::vector<SqlValue> params = {});

  // Saves the record being left, then runs the record source: the first record becomes
  // current (none when the result is empty). False with the error when the file or the source
  // cannot be read; the recordset is then empty.
  bool Refresh();

  // Cursor moves; each saves the record it leaves first. MoveFirst and MoveLast fail with
  // NoCurrentRecord on an empty recordset; MoveNext fails at EOF and MovePrevious at BOF.
  bool MoveFirst();
  bool MoveLast();
  bool MoveNext();
  bool MovePrevious();
  // Past the last record (or no records at all); before the first (or no records at all).
  bool eof() const;
  bool bof() const;
  int record_count() const { return static_cast<int>(rows_.size()); }
  // The current record's position counted from 0; -1 when there is no current record.
  int absolute_position() const;
  // Moves to record p (from 0): NoCurrentRecord on an empty recordset, InvalidArgument when p
  // lies outside 0..record_count() - 1. A failed move leaves the current record as it was.
  bool set_absolute_position(int p);

  // Starts an edit of the current record (NoCurrentRecord when there is none).
  bool Edit();
  // Saves the pending values of the current record now.
  bool Update();

  // Binds a box to a field of the record source (by name, case ignored).
  void bind(TextBox& box, std::string field);
  // Shows text in a bound box and keeps it pending for the box's field of the current record.
  // False (and nothing pending) when the box is not bound or there is no current record.
  bool write(TextBox& box, std::string text);

  // The current record's field as text ("" when null, when there is no such field or no current
  // record).
  std::string field(const std::string& name) const;

  // Writes fields of the record of `table` whose key field equals key, in one transaction,
  // without moving the cursor; the snapshot and the bound boxes follow when they show that
  // record. NoCurrentRecord when no record has that key. A failure is reported through
  // on_write_error.
  bool update_record(const std::string& table, const std::string& key_field, const SqlValue& key,
                     const std::vector<std::pair<std::string, std::string>>& fields);

  // True when `source` (a table or view) exists in the file with every one of `fields`.
  bool has_fields(const std::string& source, const std::vector<std::string>& fields);

  // Creates the database file with the statements of `script`, in one transaction. Refuses
  // (FileExists) when the file is already there; a failed creation leaves no file behind.
  bool create_database(const std::string& script);

  DataError error() const { return error_; }
  // What went wrong, in a few words (SQLite's own message for database errors).
  const std::string& error_text() const { return error_text_; }

  // Hears every failed save, whoever asked for it (an explicit Update, a move, a write by key).
  std::function<void(const std::string& message)> on_write_error;

 private:
  using Field = std::optional<std::string>;  // a field's text; nullopt for null
  struct Column {
    std::string name;    // as the record source names it
    std::string table;   // the table behind it ("" for an expression)
    std::string origin;  // its column in that table
    bool numeric = false;  // INTEGER or REAL column
  };
  struct Binding {
    TextBox* box;
    std::string field;
  };

  bool open();
  void close();
  bool fail(DataError e, std::string text);
  bool fail_sqlite(DataError e, const std::string& what);
  bool fail_read(int sqlite_code, const std::string& what);
  bool save_pending();
  bool write_record(const std::string& table, const std::string& key_field, const SqlValue& key,
                    const std::vector<std::pair<std::string, std::string>>& fields);
  void show_current();
  void show_field(int column);
  bool move_to(long long p);
  int column_of(const std::string& name) const;
  // The column of the current result that holds the key of `table`; -1 when none.
  int key_column(const std::string& table);
  bool transaction(const std::function<bool()>& body);
  // A box's text as the value stored in a column (numbers parsed, "" as null); false with
  // BadValue when a number column cannot take it.
  bool to_value(const std::string& field, bool numeric, const std::string& text,
                std::optional<SqlValue>& out);
  static std::optional<std::string> shown_text(const std::optional<SqlValue>& v);
  bool run_update(const std::string& table, const std::vector<std::string>& columns,
                  const std::vector<std::optional<SqlValue>>& values, const std::string& key_col,
                  const SqlValue& key);

  sqlite3* db_ = nullptr;
  std::string database_name_;
  bool read_only_ = false;
  std::string record_source_;
  std::vector<SqlValue> params_;

  std::vector<Column> columns_;
  std::vector<std::vector<Field>> rows_;
  long long pos_ = -1;  // -1 before the first record, rows_.size() past the last
  std::vector<std::pair<int, std::string>> pending_;  // column, text
  std::vector<Binding> bindings_;

  DataError error_ = DataError::None;
  std::string error_text_;
};

}  // namespace ks
