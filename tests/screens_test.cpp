#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <sstream>
#include <string>

#include "render/screens.hpp"

namespace chr = std::chrono;

// Given the true weekday of 1 January, every day of the year calendar
// stands, in order, in the column of its true weekday, each week row in
// fields six columns wide, and no line ends in a blank. 2000 to 2027 hold
// every pairing of a weekday of 1 January with a common and a leap year.
TEST(Screens, EveryDateStandsUnderItsTrueWeekday) {
  for (int y = 2000; y <= 2027; ++y) {
    const chr::year year{y};
    chr::sys_days next{year / chr::January / 1};  // the day the next filled field must hold
    std::ostringstream captured;
    std::streambuf* const original = std::cout.rdbuf(captured.rdbuf());
    print_year_calendar(y, year.is_leap() ? 1 : 0,
                        static_cast<int>(chr::weekday{next}.c_encoding()), false);
    std::cout.rdbuf(original);
    std::istringstream lines(captured.str());
    for (std::string line; std::getline(lines, line);) {
      ASSERT_FALSE(line.ends_with(' ')) << "trailing space in year " << y;
      if (line.empty() || line.find_first_not_of(" 0123456789") != std::string::npos) {
        continue;  // not a week row
      }
      ASSERT_EQ(line.size() % 6, 0U) << line;
      for (std::size_t column = 0; column < line.size() / 6; ++column) {
        if (const std::string field = line.substr(column * 6, 6); field != "      ") {
          ASSERT_EQ(std::stoi(field), static_cast<int>(unsigned{chr::year_month_day{next}.day()}))
              << y;
          ASSERT_EQ(column, chr::weekday{next}.c_encoding()) << y << ": " << line;
          next += chr::days{1};
        }
      }
    }
    ASSERT_EQ(next, chr::sys_days{(year + chr::years{1}) / chr::January / 1}) << y;
  }
}
