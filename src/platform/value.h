// The value held by the tables whose entries can be a number, an empty text or no value at all.
// Only the cage tables and a few working lists need it; everything else uses int and std::string.
#pragma once

#include <bit>
#include <string>

namespace ks {

// A table entry: a number, the empty text "" or null (no value at all).
// - A fresh entry is the empty text.
// - Every comparison that involves null is false (null is neither equal nor unequal to anything,
//   never below or above anything); arithmetic with null gives null.
// - The empty text equals only the empty text; compared with a number it reads as 0.
class Value {
 public:
  enum class Kind : unsigned char { Empty, Null, Number };

  Value() = default;
  Value(double n) : kind_(Kind::Number), num_(n) {}  // NOLINT: implicit on purpose
  Value(int n) : kind_(Kind::Number), num_(n) {}     // NOLINT
  static Value null() {
    Value v;
    v.kind_ = Kind::Null;
    return v;
  }
  static Value empty() { return Value(); }

  Kind kind() const { return kind_; }
  bool is_null() const { return kind_ == Kind::Null; }
  bool is_empty() const { return kind_ == Kind::Empty; }
  bool is_number() const { return kind_ == Kind::Number; }

  // Numeric reading: the number, 0 for the empty text and for null.
  double num() const { return kind_ == Kind::Number ? num_ : 0.0; }
  // The number truncated toward zero, as an index (0 for "" and null); numbers beyond the range
  // of int read as its nearest end.
  int as_int() const {
    const double n = num();
    if (!(n > -2147483648.0)) return n != n ? 0 : -2147483647 - 1;
    if (!(n < 2147483647.0)) return 2147483647;
    return static_cast<int>(n);
  }

  // The entry as text: the number in decimal, "" for the empty text and for null.
  std::string text() const;

  // Equality in the table's sense: null never equals anything (not even null); "" equals "".
  bool same(const Value& other) const;
  // Whether the other entry holds exactly this one: the same kind and, for numbers, the same bits.
  bool identical(const Value& other) const {
    return kind_ == other.kind_ &&
           (kind_ != Kind::Number || std::bit_cast<unsigned long long>(num_) ==
                                         std::bit_cast<unsigned long long>(other.num_));
  }
  // Numeric comparisons; false whenever null is involved.
  bool eq(double n) const { return kind_ != Kind::Null && num() == n; }
  bool lt(double n) const { return kind_ != Kind::Null && num() < n; }
  bool gt(double n) const { return kind_ != Kind::Null && num() > n; }
  // A number equal to n (the empty text and null never are): the test "this cell is in cage n".
  bool is(double n) const { return kind_ == Kind::Number && num_ == n; }

  // Arithmetic: null stays null, "" reads as 0.
  Value minus(double n) const { return is_null() ? null() : Value(num() - n); }
  Value plus(double n) const { return is_null() ? null() : Value(num() + n); }

 private:
  Kind kind_ = Kind::Empty;
  double num_ = 0.0;
};

}  // namespace ks
