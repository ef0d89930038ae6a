// Text helpers shared by the whole program: lenient number reading, number-to-text,
// 1-based searches and the one-character cut used on candidate strings.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ks {

// The number read from the start of a text: blanks, tabs and line feeds are ignored, reading stops
// at the first character that cannot continue a decimal number; 0 when there is none.
// "12a" -> 12, " 5" -> 5, "" -> 0, "x1" -> 0, "05" -> 5, "-3" -> -3, "1.5" -> 1.5. A number too
// large for a double reads as infinity ("1e999", "-1e999"), one too small as 0 ("1e-999").
double val(std::string_view s);

// A number as decimal text with `point` as its decimal mark. With digits 0, whole numbers
// without a decimal part ("10", "-2"), others with the fewest digits that give the number back
// ("1.5"); with digits > 0, that many significant digits as C's "%.*g" writes them in any locale
// (7 digits: 1234.567, 1.234568e+07, the desktop's single-precision numbers).
std::string num_text(double n, char point = '.', int digits = 0);
inline std::string num_text(int n) { return std::to_string(n); }

// 1-based position of the first occurrence of c in s at or after position start; 0 when none.
int instr(std::string_view s, char c, int start = 1);

// True when the digit character c occurs in s.
inline bool has_char(std::string_view s, char c) { return s.find(c) != std::string_view::npos; }

// Bit d set for every digit character d (1..9) of a candidate string: "139" -> bits 1, 3, 9.
inline unsigned digit_mask(std::string_view candidates) {
  unsigned m = 0;
  for (char c : candidates)
    if (c >= '1' && c <= '9') m |= 1u << (c - '0');
  return m;
}

namespace detail {
// kMaskDigits[m]: the digits of bits m (bit k for digit k + 1) in ascending order, with their
// count in the last byte.
constexpr auto make_mask_digits() {
  std::array<std::array<char, 10>, 512> t{};
  for (unsigned m = 0; m < 512; ++m) {
    char n = 0;
    for (unsigned k = 0; k < 9; ++k)
      if (m >> k & 1u) t[m][static_cast<size_t>(n++)] = static_cast<char>('1' + k);
    t[m][9] = n;
  }
  return t;
}
inline constexpr auto kMaskDigits = make_mask_digits();
}  // namespace detail

// The candidate string of digit bits 1..9 (the inverse of digit_mask): bits 1, 3, 9 -> "139".
inline std::string_view mask_digits(unsigned bits) {
  const auto& t = detail::kMaskDigits[(bits >> 1) & 511u];
  return {t.data(), static_cast<size_t>(t[9])};
}

// s without the first occurrence of c (s unchanged when c does not occur).
std::string cut_first(std::string_view s, char c);

// Seconds as "whole seconds,hundredths s" with two digits for the hundredths: 3.07 -> "3,07 s".
std::string seconds_text(double seconds);

}  // namespace ks
