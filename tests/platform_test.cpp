// The platform layer: lenient number reading, the null-aware value, text boxes' change handlers.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <stdexcept>

#include "platform/controls.h"
#include "platform/text.h"
#include "platform/value.h"

namespace ks {

TEST(Platform, NumericReadingTakesTheLeadingNumber) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {{"12", 12},  {"12a", 12}, {" 5", 5},    {"", 0},      {"x1", 0},   {"05", 5},
               {"-3", -3},  {"1.5", 1.5}, {"1 2", 12}, {"\t7\n", 7}, {"3,5", 3},  {"1e2", 100},
               {"12e", 12}, {"+4", 4},   {"-", 0},    {".", 0},     {"9-1", 9}, {"1e-999", 0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(val(c.text), c.expected) << '"' << c.text << '"';
  // Too large for a double: no range check may take it for 0.
  EXPECT_EQ(val("1e999"), HUGE_VAL);
  EXPECT_EQ(val("-10E1213"), -HUGE_VAL);
}

TEST(Platform, NumbersAndTimesAsText) {
  EXPECT_EQ(num_text(10.0), "10");
  EXPECT_EQ(num_text(-2.0), "-2");
  EXPECT_EQ(num_text(1.5), "1.5");
  EXPECT_EQ(seconds_text(3.07), "3,07 s");
  EXPECT_EQ(seconds_text(12.25), "12,25 s");
  EXPECT_EQ(seconds_text(0.0), "0,00 s");
}

// The window sets the user's locale, where a comma may be the decimal mark: numbers in texts,
// files and the library keep their point.
TEST(Platform, NumbersReadAndWriteTheirPointInAnyLocale) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  bool comma = false;
  for (const char* name : {"it_IT.UTF-8", "it_IT.utf8", "de_DE.UTF-8", "C.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') {
      comma = true;
      break;
    }
  }
  EXPECT_EQ(val("1.5"), 1.5);
  EXPECT_EQ(num_text(2.25), "2.25");
  std::setlocale(LC_NUMERIC, before.c_str());
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma on this machine";
}

TEST(Platform, SearchAndCutWorkOnDigitStrings) {
  EXPECT_EQ(instr("123456789", '5'), 5);
  EXPECT_EQ(instr("1231", '1', 2), 4);
  EXPECT_EQ(instr("123", '9'), 0);
  EXPECT_EQ(instr("", '1'), 0);
  EXPECT_EQ(cut_first("12345", '3'), "1245");
  EXPECT_EQ(cut_first("1225", '2'), "125");
  EXPECT_EQ(cut_first("123", '9'), "123");
}

TEST(Platform, NullComparesFalseWithEverything) {
  Value null = Value::null();
  EXPECT_FALSE(null.lt(0));
  EXPECT_FALSE(null.gt(0));
  EXPECT_FALSE(null.eq(0));
  EXPECT_FALSE(null.same(Value()));
  EXPECT_FALSE(null.same(null));
  EXPECT_TRUE(null.minus(5).is_null());

  Value empty;
  EXPECT_TRUE(empty.same(Value()));
  EXPECT_FALSE(empty.same(Value(0)));
  EXPECT_FALSE(empty.is(0));
  EXPECT_TRUE(empty.eq(0));  // read as a number, "" is 0
  EXPECT_EQ(empty.minus(3).num(), -3);

  Value seven(7);
  EXPECT_TRUE(seven.is(7));
  EXPECT_TRUE(seven.same(Value(7.0)));
  EXPECT_EQ(seven.text(), "7");
  EXPECT_EQ(Value(2.5).text(), "2.5");
}

TEST(Platform, TextBoxRunsItsChangeHandlerOnlyWhenTheTextChanges) {
  Form f("f");
  TextBox box;
  box.attach(f, "box");
  int runs = 0;
  box.install_on_change([&] { ++runs; });
  box.set_text("5");
  box.set_text("5");
  box.set_text("");
  box.set_text("");
  EXPECT_EQ(runs, 2);
  // The handler stays the one installed.
  EXPECT_THROW(box.install_on_change([] {}), std::logic_error);
  box.set_text("1");
  EXPECT_EQ(runs, 3);

  // A handler that writes its own box is re-entered for that write before the outer run ends.
  TextBox own;
  own.attach(f, "own");
  std::vector<std::string> seen;
  own.install_on_change([&] {
    seen.push_back(own.text());
    if (own.text() == "9") own.set_text("");
  });
  own.set_text("9");
  EXPECT_EQ(seen, (std::vector<std::string>{"9", ""}));
  EXPECT_EQ(own.text(), "");
}

// As on the desktop, a check box given a new value in code runs its click handler, once.
TEST(Platform, CheckBoxRunsItsClickHandlerWhenItsValueChanges) {
  Form f("f");
  CheckBox box;
  box.attach(f, "box");
  std::vector<int> seen;
  box.on_click = [&] { seen.push_back(box.value()); };
  box.set_value(1);
  box.set_value(1);
  box.set_value(0);
  EXPECT_EQ(seen, (std::vector<int>{1, 0}));
}

TEST(Platform, FocusMoveRunsTheLostFocusHandlerOfThePreviousControl) {
  Form f("f");
  TextBox a, b;
  a.attach(f, "a");
  b.attach(f, "b");
  std::vector<std::string> events;
  a.on_lost_focus = [&] { events.push_back("a lost"); };
  b.on_lost_focus = [&] { events.push_back("b lost"); };
  a.set_focus();
  a.set_focus();
  b.set_focus();
  EXPECT_TRUE(b.has_focus());
  EXPECT_EQ(events, (std::vector<std::string>{"a lost"}));
}

}  // namespace ks
