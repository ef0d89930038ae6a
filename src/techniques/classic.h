// Small pieces shared by the classic elimination techniques: the log's separator line and the
// removal of one candidate from a cell.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "board/main.h"
#include "platform/text.h"

namespace ks::classic {

// The line that opens a step's block in the activity log (23 dashes).
inline constexpr char kSeparatorLiteral[] = "-----------------------";
inline constexpr const char* kSeparator = kSeparatorLiteral;

// A step's hint or log line put together in place, without temporary strings: the texts of a
// step are short (a few words, cell names, digits). A text that would overflow the room keeps
// what fits; none of the steps' texts comes near it.
class ShortText {
 public:
  ShortText& operator<<(std::string_view s) {
    const size_t n = std::min(s.size(), sizeof buf_ - size_);
    std::memcpy(buf_ + size_, s.data(), n);
    size_ += n;
    return *this;
  }
  // A literal's length is known here, so its copy needs no call.
  template <size_t N>
  ShortText& operator<<(const char (&s)[N]) {
    return *this << std::string_view(s, N - 1);
  }
  ShortText& operator<<(char c) {
    if (size_ < sizeof buf_) buf_[size_++] = c;
    return *this;
  }
  // The cell's name as Main::rc writes it ("r3c7").
  ShortText& cell(const Main& m, int cell) {
    const int r = m.rigacella[static_cast<size_t>(cell)];
    const int c = m.colonnacella[static_cast<size_t>(cell)];
    if (r >= 0 && r <= 9 && c >= 0 && c <= 9 && size_ + 4 <= sizeof buf_) {
      buf_[size_++] = 'r';
      buf_[size_++] = static_cast<char>('0' + r);
      buf_[size_++] = 'c';
      buf_[size_++] = static_cast<char>('0' + c);
      return *this;
    }
    return *this << m.rc(cell);
  }
  std::string_view view() const { return {buf_, size_}; }
  void clear() { size_ = 0; }

 private:
  char buf_[120];
  size_t size_ = 0;
};

// A digit character as a one-character text.
inline std::string digit_text(char d) { return std::string(1, d); }

// Cuts digit d out of the candidates of a cell (nothing happens when the cell lacks it).
inline void remove_candidate(Main& m, int cell, char d) { m.cut_candidate(cell, d); }

// True when the cell's candidates may lose digit d: it holds d among other candidates. A cell
// with one candidate (filled, or a single waiting to be placed) is never touched.
inline bool can_lose(const Main& m, int cell, char d) {
  return m.candidate_count(cell) > 1 && m.has_candidate(cell, d);
}

// True when the cell may lose a digit of `digits` (bits 1..9, digit characters of `text`): it
// holds one of them among other candidates. The same as can_lose for each character of text,
// told from the bits unless the cell's text is odd.
inline bool can_lose_any(const Main& m, int cell, unsigned digits, std::string_view text) {
  const std::uint16_t bits = m.board_index().candidate_bits(cell);
  if (!(bits & Main::kOddCandidates)) return (bits & (bits - 1)) != 0 && (bits & digits) != 0;
  const std::string& s = m.Text2[cell].text();
  return s.size() > 1 && s.find_first_of(text) != std::string::npos;
}

// True when the two cells' candidate texts are equal, told from the bits unless both texts are
// odd (see BoardIndex): equal texts have equal bits.
inline bool same_candidates(const Main& m, int a, int b) {
  const std::uint16_t bits = m.board_index().candidate_bits(a);
  if (bits != m.board_index().candidate_bits(b)) return false;
  return !(bits & Main::kOddCandidates) || m.Text2[a].text() == m.Text2[b].text();
}

}  // namespace ks::classic
