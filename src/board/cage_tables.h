// The cage tables of the main window (sommagruppo, elementigruppo, cellegruppo, gruppodicella):
// read as arrays, written only through set(), which tells the board index of every entry that
// takes a new value and stamps the entry with the index's generation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "board/board_index.h"
#include "platform/value.h"

namespace ks {

// N rows of Row: a Value (sommagruppo, elementigruppo, gruppodicella) or a list of Values
// (cellegruppo, whose row g holds cage g's cells). A row's stamp is the generation of the last
// write that changed it; a write of what an entry already holds stamps nothing. Only an owner of
// the index binds a table to it (the window's constructor binds the four).
template <class Row, size_t N>
class CageTable {
 public:
  CageTable(BoardIndex& index, const BoardIndex::Key&) : index_(&index) {}
  CageTable(const CageTable&) = delete;
  CageTable& operator=(const CageTable&) = delete;

  const Row& operator[](size_t i) const { return rows_[i]; }
  auto begin() const { return rows_.begin(); }
  auto end() const { return rows_.end(); }
  // The whole table, for copies into a snapshot or a working table.
  const std::array<Row, N>& rows() const { return rows_; }
  std::uint64_t stamp(size_t i) const { return stamps_[i]; }

  void set(size_t i, const Value& v)
    requires std::is_same_v<Row, Value>
  {
    if (rows_[i].identical(v)) return;
    rows_[i] = v;
    stamps_[i] = index_->table_written();
  }
  // Entry k of row i.
  void set(size_t i, size_t k, const Value& v)
    requires(!std::is_same_v<Row, Value>)
  {
    if (rows_[i][k].identical(v)) return;
    rows_[i][k] = v;
    stamps_[i] = index_->table_written();
  }
  // Every entry of row i.
  void set(size_t i, const Row& row)
    requires(!std::is_same_v<Row, Value>)
  {
    for (size_t k = 0; k < row.size(); ++k) set(i, k, row[k]);
  }
  // Every entry.
  void fill(const Value& v)
    requires std::is_same_v<Row, Value>
  {
    for (size_t i = 0; i < N; ++i) set(i, v);
  }

 private:
  BoardIndex* index_;
  std::array<Row, N> rows_{};
  std::array<std::uint64_t, N> stamps_{};
};

}  // namespace ks
