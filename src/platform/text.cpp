// Text helpers: lenient number reading and number formatting.
#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/value.h"

namespace ks {

namespace {
bool is_skipped(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

double val(std::string_view s) {
  // Collect the characters that form the leading number, skipping blanks anywhere in it.
  std::string num;
  bool seen_digit = false, seen_point = false, seen_exp = false;
  for (char c : s) {
    if (is_skipped(c)) continue;
    if (is_digit(c)) {
      num += c;
      seen_digit = true;
    } else if ((c == '+' || c == '-') &&
               (num.empty() || num.back() == 'e')) {
      num += c;
    } else if (c == '.' && !seen_point && !seen_exp) {
      num += c;
      seen_point = true;
    } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && seen_digit && !seen_exp) {
      num += 'e';
      seen_exp = true;
    } else {
      break;
    }
  }
  if (!seen_digit) return 0.0;
  // A dangling exponent or sign ("12e", "12e-") is not part of the number.
  while (!num.empty() && (num.back() == 'e' || num.back() == '+' || num.back() == '-'))
    num.pop_back();
  // from_chars reads the point whatever the locale (the window's locale may write a comma).
  const size_t from = num[0] == '+' ? 1 : 0;  // from_chars takes no leading plus
  double n = 0.0;
  const auto [end, ec] = std::from_chars(num.data() + from, num.data() + num.size(), n);
  if (ec == std::errc::result_out_of_range) {
    // Too large for a double reads as infinity, so that no range check takes it for 0; too
    // small reads as 0.
    const size_t e = num.find('e');
    const bool tiny = e != std::string::npos && e + 1 < num.size() && num[e + 1] == '-';
    return tiny ? 0.0 : (num[0] == '-' ? -HUGE_VAL : HUGE_VAL);
  }
  return n;
}

std::string num_text(double n, char point, int digits) {
  char buf[64];
  char* end = buf;
  if (digits > 0) {
    end = std::to_chars(buf, buf + sizeof buf, n, std::chars_format::general, digits).ptr;
  } else {
    if (std::isfinite(n) && n == std::floor(n) && std::fabs(n) < 1e15)
      return std::to_string(static_cast<long long>(n));
    // The shortest text that reads back as n.
    end = std::to_chars(buf, buf + sizeof buf, n).ptr;
  }
  // to_chars writes a point whatever the locale.
  if (point != '.') std::replace(buf, end, '.', point);
  return std::string(buf, end);
}

int instr(std::string_view s, char c, int start) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start) > s.size()) return 0;
  size_t p = s.find(c, static_cast<size_t>(start - 1));
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

std::string cut_first(std::string_view s, char c) {
  const size_t p = s.find(c);
  if (p == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size() - 1);
  out.append(s.substr(0, p)).append(s.substr(p + 1));
  return out;
}

std::string seconds_text(double seconds) {
  // Rounded to the hundredth, so that 3.07 s (stored as 3.0699...) reads 3,07 s.
  const long long total = std::llround(std::fabs(seconds) * 100.0);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%lld,%02lld s", seconds < 0 && total > 0 ? "-" : "",
                total / 100, total % 100);
  return buf;
}

std::string Value::text() const { return kind_ == Kind::Number ? num_text(num_) : std::string(); }

bool Value::same(const Value& other) const {
  if (is_null() || other.is_null()) return false;
  if (kind_ != other.kind_) return false;
  return kind_ == Kind::Empty || num_ == other.num_;
}

}  // namespace ks
