// The data control over SQLite: the snapshot of the record source, the cursor, the bound boxes,
// and saves of one transaction each.
#include "platform/data_control.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/text.h"

namespace ks {

namespace {

bool same_name(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Whether a column of this declared type holds numbers, by SQLite's rules of type affinity:
// "INT" first, then the text types, then no type, then the rest (REAL and NUMERIC).
bool numeric_type(const char* decl) {
  const std::string t = upper(decl ? decl : "");
  if (t.find("INT") != std::string::npos) return true;
  if (t.find("CHAR") != std::string::npos || t.find("CLOB") != std::string::npos ||
      t.find("TEXT") != std::string::npos)
    return false;
  if (t.empty() || t.find("BLOB") != std::string::npos) return false;
  return true;
}

// An identifier in double quotes, so that any name is taken as a name.
std::string sql_name(const std::string& name) {
  std::string q = "\"";
  for (char c : name) {
    q += c;
    if (c == '"') q += '"';
  }
  return q + "\"";
}

// A number as the boxes show it: whole numbers in decimal, others with the fewest digits that
// give the number back and a decimal comma.
std::string number_text(double n) { return num_text(n, ','); }

// A box's text as a number: blanks around it, a sign, digits and one decimal point or comma.
// Nothing else is taken, so "3,07 s" or "abc" are refused rather than read as something else.
std::optional<double> parse_number(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  std::string s = text.substr(b, e - b);
  if (s.empty()) return std::nullopt;
  std::replace(s.begin(), s.end(), ',', '.');
  if (s.front() == '+') s.erase(0, 1);
  for (char c : s)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-')) return std::nullopt;
  double v = 0;
  const auto res = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

bool is_blank_text(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isspace(c); });
}

// The field's text as read from a result column.
std::optional<std::string> column_text(sqlite3_stmt* st, int i) {
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL: return std::nullopt;
    case SQLITE_INTEGER: return std::to_string(sqlite3_column_int64(st, i));
    case SQLITE_FLOAT: return number_text(sqlite3_column_double(st, i));
    default: {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      return std::string(t ? t : "", static_cast<size_t>(sqlite3_column_bytes(st, i)));
    }
  }
}

// Owns a prepared statement.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    rc_ = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st_, nullptr);
  }
  ~Statement() { sqlite3_finalize(st_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  bool ok() const { return rc_ == SQLITE_OK && st_ != nullptr; }
  sqlite3_stmt* get() const { return st_; }
  int bind(int i, const SqlValue& v) {
    if (const auto* n = std::get_if<std::int64_t>(&v)) return sqlite3_bind_int64(st_, i, *n);
    if (const auto* d = std::get_if<double>(&v)) return sqlite3_bind_double(st_, i, *d);
    const auto& s = std::get<std::string>(v);
    return sqlite3_bind_text(st_, i, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
  }
  int bind(int i, const std::optional<SqlValue>& v) {
    return v ? bind(i, *v) : sqlite3_bind_null(st_, i);
  }

 private:
  sqlite3_stmt* st_ = nullptr;
  int rc_ = SQLITE_ERROR;
};

// A table's columns: name and whether it holds numbers; the single primary-key column.
struct TableInfo {
  std::vector<std::pair<std::string, bool>> columns;
  std::string key;  // "" unless the key is exactly one column
};

bool table_info(sqlite3* db, const std::string& table, TableInfo& out) {
  Statement st(db, "SELECT name, type, pk FROM pragma_table_info(?)");
  if (!st.ok()) return false;
  st.bind(1, SqlValue(table));
  int keys = 0;
  while (sqlite3_step(st.get()) == SQLITE_ROW) {
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1));
    out.columns.emplace_back(name ? name : "", numeric_type(type));
    if (sqlite3_column_int(st.get(), 2) > 0) {
      ++keys;
      out.key = name ? name : "";
    }
  }
  if (keys != 1) out.key.clear();
  return !out.columns.empty();
}

}  // namespace

DataControl::~DataControl() { close(); }

void DataControl::set_database_name(std::string file) {
  if (file == database_name_) return;
  save_pending();
  close();
  database_name_ = std::move(file);
}

void DataControl::set_read_only(bool v) {
  if (v == read_only_) return;
  save_pending();
  close();
  read_only_ = v;
}

void DataControl::set_record_source(std::string sql, std::vector<SqlValue> params) {
  record_source_ = std::move(sql);
  params_ = std::move(params);
}

bool DataControl::fail(DataError e, std::string text) {
  error_ = e;
  error_text_ = std::move(text);
  return false;
}

bool DataControl::fail_sqlite(DataError e, const std::string& what) {
  std::string text = what;
  if (db_) {
    text += ": ";
    text += sqlite3_errmsg(db_);
  }
  return fail(e, std::move(text));
}

// A read that failed: a file that is not a database (or a damaged one) cannot be opened; any
// other failure is the record source's.
bool DataControl::fail_read(int code, const std::string& what) {
  code &= 0xFF;
  return fail_sqlite(code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? DataError::CannotOpen
                                                                     : DataError::BadSource,
                     what);
}

bool DataControl::open() {
  if (db_) return true;
  std::error_code ec;
  if (database_name_.empty() || !std::filesystem::is_regular_file(database_name_, ec))
    return fail(DataError::CannotOpen, "file non trovato: " + database_name_);
  const int flags = read_only_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (sqlite3_open_v2(database_name_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    fail_sqlite(DataError::CannotOpen, "impossibile aprire " + database_name_);
    close();
    return false;
  }
  sqlite3_busy_timeout(db_, 2000);
  return true;
}

void DataControl::close() {
  columns_.clear();
  rows_.clear();
  pending_.clear();
  pos_ = -1;
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool DataControl::Refresh() {
  save_pending();
  columns_.clear();
  rows_.clear();
  pos_ = -1;
  error_ = DataError::None;
  error_text_.clear();
  if (!open()) return false;

  // A bare name is a table or a view: all of its records.
  const bool bare = !record_source_.empty() &&
                    std::none_of(record_source_.begin(), record_source_.end(),
                                 [](unsigned char c) { return std::isspace(c); });
  const std::string sql = bare ? "SELECT * FROM " + sql_name(record_source_) : record_source_;
  Statement st(db_, sql);
  if (!st.ok()) return fail_read(sqlite3_errcode(db_), "origine dei dati non valida");
  for (size_t i = 0; i < params_.size(); ++i) st.bind(static_cast<int>(i + 1), params_[i]);

  const int n = sqlite3_column_count(st.get());
  for (int i = 0; i < n; ++i) {
    Column c;
    c.name = sqlite3_column_name(st.get(), i);
    const char* table = sqlite3_column_table_name(st.get(), i);
    const char* origin = sqlite3_column_origin_name(st.get(), i);
    c.table = table ? table : "";
    c.origin = origin ? origin : "";
    c.numeric = numeric_type(sqlite3_column_decltype(st.get(), i));
    columns_.push_back(std::move(c));
  }
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    std::vector<Field> row;
    row.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) row.push_back(column_text(st.get(), i));
    rows_.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) {
    rows_.clear();
    return fail_read(rc, "lettura non riuscita");
  }
  if (!rows_.empty()) move_to(0);
  return true;
}

bool DataControl::eof() const { return rows_.empty() || pos_ >= static_cast<long long>(rows_.size()); }
bool DataControl::bof() const { return rows_.empty() || pos_ < 0; }

int DataControl::absolute_position() const {
  return bof() || eof() ? -1 : static_cast<int>(pos_);
}

// Goes to position p (-1 and rows_.size() stand before the first and past the last record),
// saving the record it leaves; a real record is shown in the bound boxes.
bool DataControl::move_to(long long p) {
  save_pending();
  pos_ = p;
  if (absolute_position() >= 0) show_current();
  return true;
}

bool DataControl::MoveFirst() {
  error_ = DataError::None;
  if (rows_.empty()) return fail(DataError::NoCurrentRecord, "nessun record corrente");
  return move_to(0);
}

bool DataControl::MoveLast() {
  error_ = DataError::None;
  if (rows_.empty()) return fail(DataError::NoCurrentRecord, "nessun record corrente");
  return move_to(static_cast<long long>(rows_.size()) - 1);
}

bool DataControl::MoveNext() {
  error_ = DataError::None;
  if (eof()) return fail(DataError::NoCurrentRecord, "nessun record corrente");
  return move_to(pos_ + 1);
}

bool DataControl::MovePrevious() {
  error_ = DataError::None;
  if (bof()) return fail(DataError::NoCurrentRecord, "nessun record corrente");
  return move_to(pos_ - 1);
}

bool DataControl::set_absolute_position(int p) {
  error_ = DataError::None;
  if (rows_.empty()) return fail(DataError::NoCurrentRecord, "nessun record corrente");
  if (p < 0 || p >= record_count())
    return fail(DataError::InvalidArgument, "posizione fuori dai record: " + std::to_string(p));
  return move_to(p);
}

bool DataControl::Edit() {
  error_ = DataError::None;
  if (absolute_position() < 0) return fail(DataError::NoCurrentRecord, "nessun record corrente");
  return true;
}

bool DataControl::Update() {
  error_ = DataError::None;
  return save_pending();
}

void DataControl::bind(TextBox& box, std::string name) {
  bindings_.push_back({&box, std::move(name)});
}

int DataControl::column_of(const std::string& name) const {
  for (size_t i = 0; i < columns_.size(); ++i)
    if (same_name(columns_[i].name, name)) return static_cast<int>(i);
  return -1;
}

bool DataControl::write(TextBox& box, std::string text) {
  error_ = DataError::None;
  const auto b = std::find_if(bindings_.begin(), bindings_.end(),
                              [&box](const Binding& x) { return x.box == &box; });
  box.set_text(text);
  if (b == bindings_.end()) return fail(DataError::BadSource, "casella non collegata");
  if (absolute_position() < 0) return fail(DataError::NoCurrentRecord, "nessun record corrente");
  const int c = column_of(b->field);
  if (c < 0) return fail(DataError::BadSource, "campo assente: " + b->field);
  for (auto& p : pending_) {
    if (p.first == c) {
      p.second = std::move(text);
      return true;
    }
  }
  pending_.emplace_back(c, std::move(text));
  return true;
}

std::string DataControl::field(const std::string& name) const {
  const int c = column_of(name);
  if (c < 0 || absolute_position() < 0) return "";
  const Field& f = rows_[static_cast<size_t>(pos_)][static_cast<size_t>(c)];
  return f ? *f : "";
}

void DataControl::show_field(int column) {
  const Field& f = rows_[static_cast<size_t>(pos_)][static_cast<size_t>(column)];
  for (const Binding& b : bindings_)
    if (same_name(b.field, columns_[static_cast<size_t>(column)].name)) b.box->set_text(f ? *f : "");
}

void DataControl::show_current() {
  for (const Binding& b : bindings_) {
    const int c = column_of(b.field);
    const Field* f = c < 0 ? nullptr : &rows_[static_cast<size_t>(pos_)][static_cast<size_t>(c)];
    b.box->set_text(f && *f ? **f : "");
  }
}

int DataControl::key_column(const std::string& table) {
  TableInfo info;
  if (!table_info(db_, table, info) || info.key.empty()) return -1;
  for (size_t i = 0; i < columns_.size(); ++i)
    if (same_name(columns_[i].table, table) && same_name(columns_[i].origin, info.key))
      return static_cast<int>(i);
  return -1;
}

// Runs body between BEGIN IMMEDIATE and COMMIT; rolls everything back when body or the commit
// fails, so a save changes all of its fields or none.
bool DataControl::transaction(const std::function<bool()>& body) {
  if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
    return fail_sqlite(DataError::WriteFailed, "scrittura non riuscita");
  if (body()) {
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    fail_sqlite(DataError::WriteFailed, "scrittura non riuscita");
  }
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return false;
}

// UPDATE table SET columns = values WHERE key_col = key, for exactly one record.
bool DataControl::run_update(const std::string& table, const std::vector<std::string>& columns,
                             const std::vector<std::optional<SqlValue>>& values,
                             const std::string& key_col, const SqlValue& key) {
  std::string sql = "UPDATE " + sql_name(table) + " SET ";
  for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + sql_name(columns[i]) + " = ?";
  sql += " WHERE " + sql_name(key_col) + " = ?";
  Statement st(db_, sql);
  if (!st.ok()) return fail_sqlite(DataError::WriteFailed, "scrittura non riuscita");
  int i = 1;
  for (const auto& v : values) st.bind(i++, v);
  st.bind(i, key);
  if (sqlite3_step(st.get()) != SQLITE_DONE)
    return fail_sqlite(DataError::WriteFailed, "scrittura non riuscita");
  if (sqlite3_changes(db_) != 1) return fail(DataError::NoCurrentRecord, "record non trovato");
  return true;
}

// Saves the pending values of the current record, every table behind them in one transaction.
// A failure is reported through on_write_error, and the boxes show the record as it is stored.
bool DataControl::save_pending() {
  if (pending_.empty()) return true;
  std::vector<std::pair<int, std::string>> pending;
  pending.swap(pending_);
  const auto report = [this]() {
    if (absolute_position() >= 0) show_current();
    if (on_write_error) on_write_error(error_text_);
    return false;
  };
  if (absolute_position() < 0 || !db_) {
    fail(DataError::NoCurrentRecord, "nessun record corrente");
    return report();
  }

  // One UPDATE per table behind the written fields (a record source over one table has one).
  struct TableUpdate {
    std::string table;
    int key = -1;  // the result column of the table's key
    std::vector<std::string> columns;
    std::vector<std::optional<SqlValue>> values;
  };
  std::vector<TableUpdate> updates;
  std::vector<Field> row = rows_[static_cast<size_t>(pos_)];
  for (const auto& [col, text] : pending) {
    const Column& c = columns_[static_cast<size_t>(col)];
    if (c.table.empty() || c.origin.empty()) {
      fail(DataError::NotUpdatable, "campo non modificabile: " + c.name);
      return report();
    }
    auto u = std::find_if(updates.begin(), updates.end(),
                          [&c](const TableUpdate& x) { return x.table == c.table; });
    if (u == updates.end()) {
      const int key = key_column(c.table);
      if (key < 0 || !row[static_cast<size_t>(key)]) {
        fail(DataError::NotUpdatable, "tabella senza chiave: " + c.table);
        return report();
      }
      updates.push_back({c.table, key, {}, {}});
      u = updates.end() - 1;
    }
    std::optional<SqlValue> v;
    if (!to_value(c.name, c.numeric, text, v)) return report();
    u->columns.push_back(c.origin);
    row[static_cast<size_t>(col)] = shown_text(v);
    u->values.push_back(std::move(v));
  }
  const bool saved = transaction([&] {
    for (const TableUpdate& u : updates) {
      const Column& k = columns_[static_cast<size_t>(u.key)];
      const std::string& key_text = *rows_[static_cast<size_t>(pos_)][static_cast<size_t>(u.key)];
      const auto key_num = parse_number(key_text);
      const SqlValue key = key_num && k.numeric ? SqlValue(static_cast<std::int64_t>(*key_num))
                                                : SqlValue(key_text);
      if (!run_update(u.table, u.columns, u.values, k.origin, key)) return false;
    }
    return true;
  });
  if (!saved) return report();
  rows_[static_cast<size_t>(pos_)] = std::move(row);
  return true;
}

bool DataControl::to_value(const std::string& field, bool numeric, const std::string& text,
                           std::optional<SqlValue>& out) {
  out.reset();
  if (text.empty() || (numeric && is_blank_text(text))) return true;
  if (!numeric) {
    out = SqlValue(text);
    return true;
  }
  const auto n = parse_number(text);
  if (!n) return fail(DataError::BadValue, "valore non numerico per il campo " + field + ": \"" + text + "\"");
  if (*n == std::floor(*n) && std::fabs(*n) < 9e15)
    out = SqlValue(static_cast<std::int64_t>(*n));
  else
    out = SqlValue(*n);
  return true;
}

std::optional<std::string> DataControl::shown_text(const std::optional<SqlValue>& v) {
  if (!v) return std::nullopt;
  if (const auto* n = std::get_if<std::int64_t>(&*v)) return std::to_string(*n);
  if (const auto* d = std::get_if<double>(&*v)) return number_text(*d);
  return std::get<std::string>(*v);
}

bool DataControl::update_record(const std::string& table, const std::string& key_field,
                                const SqlValue& key,
                                const std::vector<std::pair<std::string, std::string>>& fields) {
  if (write_record(table, key_field, key, fields)) return true;
  if (on_write_error) on_write_error(error_text_);
  return false;
}

bool DataControl::write_record(const std::string& table, const std::string& key_field,
                               const SqlValue& key,
                               const std::vector<std::pair<std::string, std::string>>& fields) {
  error_ = DataError::None;
  if (!open()) return false;
  TableInfo info;
  if (!table_info(db_, table, info)) return fail(DataError::BadSource, "tabella assente: " + table);
  const auto column = [&info](const std::string& name) {
    return std::find_if(info.columns.begin(), info.columns.end(),
                        [&name](const auto& c) { return same_name(c.first, name); });
  };
  const auto key_it = column(key_field);
  if (key_it == info.columns.end()) return fail(DataError::BadSource, "campo assente: " + key_field);
  std::vector<std::string> cols;
  std::vector<std::optional<SqlValue>> values;
  for (const auto& [name, text] : fields) {
    const auto it = column(name);
    if (it == info.columns.end()) return fail(DataError::BadSource, "campo assente: " + name);
    std::optional<SqlValue> v;
    if (!to_value(name, it->second, text, v)) return false;
    cols.push_back(it->first);
    values.push_back(std::move(v));
  }
  if (!transaction([&] { return run_update(table, cols, values, key_it->first, key); }))
    return false;

  // The snapshot follows: every row of the record source that shows this record.
  const int kc = key_column(table);
  if (kc < 0) return true;
  const std::optional<std::string> key_text = shown_text(key);
  for (size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r][static_cast<size_t>(kc)] != key_text) continue;
    for (size_t f = 0; f < cols.size(); ++f) {
      for (size_t i = 0; i < columns_.size(); ++i) {
        if (!same_name(columns_[i].table, table) || !same_name(columns_[i].origin, cols[f])) continue;
        rows_[r][i] = shown_text(values[f]);
        if (static_cast<long long>(r) == pos_) show_field(static_cast<int>(i));
      }
    }
  }
  return true;
}

bool DataControl::has_fields(const std::string& source, const std::vector<std::string>& fields) {
  error_ = DataError::None;
  if (!open()) return false;
  Statement st(db_, "SELECT * FROM " + sql_name(source));
  if (!st.ok()) return fail_read(sqlite3_errcode(db_), "origine dei dati non valida");
  for (const std::string& f : fields) {
    bool found = false;
    for (int i = 0; i < sqlite3_column_count(st.get()) && !found; ++i)
      found = same_name(sqlite3_column_name(st.get(), i), f);
    if (!found) return fail(DataError::BadSource, source + " senza il campo " + f);
  }
  return true;
}

bool DataControl::create_database(const std::string& script) {
  error_ = DataError::None;
  std::error_code ec;
  if (std::filesystem::exists(database_name_, ec) || ec)
    return fail(DataError::FileExists, "il file esiste già: " + database_name_);
  close();
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  bool ok = sqlite3_open_v2(database_name_.c_str(), &db, flags, nullptr) == SQLITE_OK;
  char* message = nullptr;
  if (ok) ok = sqlite3_exec(db, ("BEGIN;" + script + ";COMMIT;").c_str(), nullptr, nullptr,
                            &message) == SQLITE_OK;
  std::string why = message ? message : db ? sqlite3_errmsg(db) : "";
  sqlite3_free(message);
  sqlite3_close_v2(db);
  if (ok) return true;
  std::filesystem::remove(database_name_, ec);
  return fail(DataError::WriteFailed, "impossibile creare " + database_name_ + ": " + why);
}

}  // namespace ks
