#include "render/screens.hpp"

#include <iostream>
#include <string_view>

#include "render/cell.hpp"

namespace {

// One space and 21 em dashes: one column wider than the 42-column grid.
constexpr std::string_view rule_line = " —————————————————————";
// The same 43 columns where an em dash is one column wide.
constexpr std::string_view narrow_rule_line = " ——————————————————————————————————————————";

std::string_view drawn_rule_line = rule_line;

// The part of a month's screen that the year and the month calendar share:
// rule line, weekday names, week rows and closing rule line. Day 1 stands in
// column first; the column after the last day is returned, so a year
// calendar can carry one cursor from January to December.
WeekdayIndex write_month_block(std::int32_t days, WeekdayIndex first) {
  std::cout << cell(drawn_rule_line) << std::endl;
  for (WeekdayIndex weekday = 0; weekday < 7; ++weekday) {
    std::cout << cell(weekday_name(weekday));
  }
  std::cout << std::endl;
  WeekdayIndex cursor = first;
  for (WeekdayIndex blank = 0; blank < cursor; ++blank) {
    std::cout << cell("");
  }
  for (std::int32_t day = 1; day <= days; ++day) {
    std::cout << cell(day);
    if (++cursor == 7) {
      cursor = 0;
      std::cout << std::endl;
    }
  }
  // Closes a partial last row; after a Saturday it leaves an empty line.
  std::cout << std::endl;
  std::cout << cell(drawn_rule_line) << std::endl;
  return cursor;
}

}  // namespace

void print_year_calendar(std::int32_t year, LeapFlag leap, NewYearWeekday new_year) {
  std::cout << cell("") << cell("") << year << "年年历表如下：" << std::endl;
  WeekdayIndex cursor = new_year;
  for (std::int32_t month = 1; month <= 12; ++month) {
    std::cout << std::endl;
    std::cout << cell(year) << "年" << month << "月份为：" << std::endl;
    cursor = write_month_block(month_length(leap, month), cursor);
  }
}

void print_month_calendar(std::int32_t year, std::int32_t month, LeapFlag leap,
                          NewYearWeekday new_year) {
  const WeekdayIndex first = weekday_of_date(leap, new_year, month, 1);
  std::cout << std::endl;
  std::cout << "   " << cell(year) << " 年 " << month << " 月 日 历 为：" << std::endl;
  write_month_block(month_length(leap, month), first);
}

void set_em_dash_columns(int columns) {
  drawn_rule_line = columns == 1 ? narrow_rule_line : rule_line;
}
