#include "render/reports.hpp"

#include <iostream>

void print_weekday_of_date(std::int32_t year, std::int32_t month, std::int32_t day, LeapFlag leap,
                           NewYearWeekday new_year) {
  const WeekdayIndex weekday = weekday_of_date(leap, new_year, month, day);
  std::cout << year << "年" << month << "月" << day << "日是星期" << weekday_name(weekday);
}

void print_day_of_year(std::int32_t year, std::int32_t month, std::int32_t day, LeapFlag leap) {
  const std::int32_t ordinal = days_before_month(leap, month) + day;
  std::cout << year << "年" << month << "月" << day << "日是" << year << "年的第" << ordinal
            << "天";
}
