// The literal table of the digits a cage can hold, by its size and sum.
#include "board/possible_digits.h"

namespace ks {

namespace {
// The entries of tabellapossibili that are not all nine digits, by cage size: {sum, digits}.
// Every other sum between the smallest and the largest of a size holds all nine digits.
struct Entry {
  int sum;
  const char* digits;
};
constexpr Entry kSize2[] = {{3, "12"},       {4, "13"},       {5, "1234"},     {6, "1245"},
                            {7, "123456"},   {8, "123567"},   {9, "12345678"}, {10, "12346789"},
                            {11, "23456789"}, {12, "345789"}, {13, "456789"},  {14, "5689"},
                            {15, "6789"},    {16, "79"},      {17, "89"}};
constexpr Entry kSize3[] = {{6, "123"},       {7, "124"},      {8, "12345"},   {9, "123456"},
                            {10, "1234567"},  {11, "12345678"}, {19, "23456789"}, {20, "3456789"},
                            {21, "456789"},   {22, "56789"},   {23, "689"},    {24, "789"}};
constexpr Entry kSize4[] = {{10, "1234"},     {11, "1235"},    {12, "123456"}, {13, "1234567"},
                            {14, "12345678"}, {26, "23456789"}, {27, "3456789"}, {28, "456789"},
                            {29, "5789"},     {30, "6789"}};
constexpr Entry kSize5[] = {{15, "12345"},    {16, "12346"},   {17, "1234567"}, {18, "12345678"},
                            {32, "23456789"}, {33, "3456789"}, {34, "46789"},  {35, "56789"}};
constexpr Entry kSize6[] = {{21, "123456"},   {22, "123457"},  {23, "12345678"}, {37, "23456789"},
                            {38, "356789"},   {39, "456789"}};
constexpr Entry kSize7[] = {{28, "1234567"}, {29, "1234568"}, {41, "2456789"}, {42, "3456789"}};

template <size_t N>
void fill_size(std::array<std::string, 43>& row, int n, const Entry (&entries)[N]) {
  for (int s = lowest_sum(n); s <= highest_sum(n); ++s) row[static_cast<size_t>(s)] = "123456789";
  for (const Entry& e : entries) row[static_cast<size_t>(e.sum)] = e.digits;
}
}  // namespace

void fill_tabellapossibili(PossibleDigits& t) {
  for (auto& row : t) row.fill("");
  fill_size(t[2], 2, kSize2);
  fill_size(t[3], 3, kSize3);
  fill_size(t[4], 4, kSize4);
  fill_size(t[5], 5, kSize5);
  fill_size(t[6], 6, kSize6);
  fill_size(t[7], 7, kSize7);
}

}  // namespace ks
