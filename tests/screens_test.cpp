#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <sstream>
#include <string>

#include "render/screens.hpp"

namespace chr = std::chrono;

namespace {

// The year calendar as it is written to standard output.
std::istringstream year_calendar(std::int32_t year, LeapFlag leap, NewYearWeekday new_year) {
  std::ostringstream captured;
  std::streambuf* const original = std::cout.rdbuf(captured.rdbuf());
  print_year_calendar(year, leap, new_year);
  std::cout.rdbuf(original);
  return std::istringstream(captured.str());
}

unsigned true_weekday(const chr::year_month_day& date) {
  return chr::weekday{chr::sys_days{date}}.c_encoding();
}

}  // namespace

// Given the true weekday of 1 January, every day of the year calendar
// stands, in order, in the column of its true weekday, each week row in
// fields six columns wide, and no line ends in a blank.
TEST(Screens, EveryDateStandsUnderItsTrueWeekday) {
  for (int y = -2400; y <= 2400; y += 7) {
    const chr::year year{y};
    const auto new_year = static_cast<int>(true_weekday(year / chr::January / 1));
    std::istringstream lines = year_calendar(y, year.is_leap() ? 1 : 0, new_year);
    chr::sys_days next{year / chr::January / 1};  // the day the next filled field must hold
    for (std::string line; std::getline(lines, line);) {
      ASSERT_FALSE(!line.empty() && line.back() == ' ') << "trailing space in year " << y;
      if (line.empty() || line.find_first_not_of(" 0123456789") != std::string::npos) {
        continue;  // not a week row
      }
      ASSERT_EQ(line.size() % 6, 0U) << line;
      for (std::size_t column = 0; column < line.size() / 6; ++column) {
        const std::string field = line.substr(column * 6, 6);
        if (field != "      ") {
          const chr::year_month_day date{next};
          ASSERT_EQ(std::stoi(field), static_cast<int>(unsigned{date.day()})) << y;
          ASSERT_EQ(column, true_weekday(date)) << y << "-" << unsigned{date.month()};
          next += chr::days{1};
        }
      }
    }
    ASSERT_EQ(next, chr::sys_days{(year + chr::years{1}) / chr::January / 1}) << y;
  }
}
