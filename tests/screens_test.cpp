#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "render/reports.hpp"
#include "render/screens.hpp"

namespace chr = std::chrono;

namespace {

// What a renderer writes to standard output, split into lines.
template <typename Render>
std::vector<std::string> lines_of(Render render) {
  std::ostringstream captured;
  std::streambuf* const original = std::cout.rdbuf(captured.rdbuf());
  render();
  std::cout.rdbuf(original);
  std::vector<std::string> lines;
  std::istringstream text(captured.str());
  for (std::string line; std::getline(text, line);) {
    lines.push_back(line);
  }
  return lines;
}

constexpr std::array<std::string_view, 7> names{"日", "一", "二", "三", "四", "五", "六"};

unsigned true_weekday(const chr::year_month_day& date) {
  return chr::weekday{chr::sys_days{date}}.c_encoding();
}

}  // namespace

// Given the true weekday of 1 January, every day cell of the year calendar
// stands in the column of its true weekday, and the reports agree with the
// Gregorian calendar for every date of the year.
TEST(Screens, EveryDateStandsUnderItsTrueWeekday) {
  for (int y = -2400; y <= 2400; y += 7) {
    const chr::year year{y};
    const LeapFlag leap = year.is_leap() ? 1 : 0;
    const auto new_year = static_cast<int>(true_weekday(year / chr::January / 1));
    const auto lines = lines_of([&] { print_year_calendar(y, leap, new_year); });
    ASSERT_TRUE(lines.size() == 125 || lines.size() == 126) << y;

    unsigned month = 0;
    int expected_day = 1;
    for (const std::string& line : lines) {
      ASSERT_FALSE(!line.empty() && line.back() == ' ') << "trailing space in year " << y;
      if (line.find("月份为：") != std::string::npos) {
        if (month > 0) {
          ASSERT_EQ(chr::day{static_cast<unsigned>(expected_day - 1)},
                    (year / chr::month{month} / chr::last).day());
        }
        ++month;
        expected_day = 1;
        continue;
      }
      if (line.empty() || line.find_first_not_of(" 0123456789") != std::string::npos) {
        continue;  // not a week row
      }
      ASSERT_EQ(line.size() % 6, 0U) << line;
      for (std::size_t column = 0; column < line.size() / 6; ++column) {
        const std::string field = line.substr(column * 6, 6);
        if (field == "      ") {
          continue;
        }
        const int day = std::stoi(field);
        ASSERT_EQ(day, expected_day++) << y << "-" << month;
        const chr::year_month_day date{year, chr::month{month},
                                       chr::day{static_cast<unsigned>(day)}};
        ASSERT_EQ(column, true_weekday(date)) << y << "-" << month << "-" << day;

        const int m = static_cast<int>(month);
        const auto ordinal =
            (chr::sys_days{date} - chr::sys_days{year / chr::January / 1}).count() + 1;
        const std::string prefix =
            std::to_string(y) + "年" + std::to_string(m) + "月" + std::to_string(day) + "日是";
        ASSERT_EQ(lines_of([&] { print_weekday_of_date(y, m, day, leap, new_year); }).at(0),
                  prefix + "星期" + std::string(names.at(true_weekday(date))));
        ASSERT_EQ(lines_of([&] { print_day_of_year(y, m, day, leap); }).at(0),
                  prefix + std::to_string(y) + "年的第" + std::to_string(ordinal) + "天");
      }
    }
    ASSERT_EQ(month, 12U);
    ASSERT_EQ(expected_day - 1, 31) << "December of " << y;
  }
}

// Headings keep their fields for years of any length and sign.
TEST(Screens, HeadingsForYearsOfAnyLength) {
  const auto small = lines_of([] { print_year_calendar(-44, 1, 6); });
  EXPECT_EQ(small.at(0), "            -44年年历表如下：");
  EXPECT_EQ(small.at(2), "   -44年1月份为：");
  const auto large = lines_of([] { print_year_calendar(2147483647, 0, 0); });
  EXPECT_EQ(large.at(2), "2147483647年1月份为：");
  EXPECT_NE(std::find(large.begin(), large.end(), "2147483647年12月份为："), large.end());
  EXPECT_EQ(lines_of([] { print_month_calendar(5, 12, 0, 0); }).at(1),
            "        5 年 12 月 日 历 为：");
}

// Where the terminal draws an em dash one column wide, the rule lines carry
// twice as many, so that they span the grid and one column more.
TEST(Screens, RuleLinesSpanTheGridWhereverEmDashesAreDrawn) {
  const std::string dash = "—";
  const auto rule_of = [](int dash_columns) {
    set_em_dash_columns(dash_columns);
    const auto lines = lines_of([] { print_month_calendar(2019, 3, 0, 2); });
    set_em_dash_columns(2);
    EXPECT_EQ(lines.at(2), lines.back());
    return lines.at(2);
  };
  std::string narrow = " ";
  std::string wide = " ";
  for (int dash_count = 0; dash_count < 42; ++dash_count) {
    narrow += dash;
    wide += dash_count < 21 ? dash : "";
  }
  EXPECT_EQ(rule_of(1), narrow);
  EXPECT_EQ(rule_of(2), wide);
  EXPECT_EQ(rule_of(0), wide);
  EXPECT_EQ(lines_of([] { print_year_calendar(2019, 0, 2); }).at(3), wide);
}
