#include "render/reports.hpp"

#include <iostream>
#include <string>

#include "calendar/lunar.hpp"
#include "render/lunar_labels.hpp"

namespace {

// The lunar line under a report, its line left open; with a stated weekday
// of 1 January that is not the true one, the true one on a line after it.
void write_lunar_lines(std::int32_t year, std::int32_t month, std::int32_t day,
                       const std::string& correction) {
  std::cout << std::endl;
  if (!has_lunar_dates(year)) {
    std::cout << lunar_range_line();
    return;
  }
  std::cout << lunar_date_line(year, month, day);
  if (!correction.empty()) {
    std::cout << std::endl << correction;
  }
}

}  // namespace

void print_weekday_of_date(std::int32_t year, std::int32_t month, std::int32_t day, LeapFlag leap,
                           NewYearWeekday new_year, bool lunar) {
  const WeekdayIndex weekday = weekday_of_date(leap, new_year, month, day);
  std::cout << year << "年" << month << "月" << day << "日是星期" << weekday_name(weekday);
  if (lunar) {
    write_lunar_lines(year, month, day,
                      has_lunar_dates(year) ? new_year_correction_line(year, new_year) : "");
  }
}

void print_day_of_year(std::int32_t year, std::int32_t month, std::int32_t day, LeapFlag leap,
                       bool lunar) {
  const std::int32_t ordinal = days_before_month(leap, month) + day;
  std::cout << year << "年" << month << "月" << day << "日是" << year << "年的第" << ordinal
            << "天";
  if (lunar) {
    write_lunar_lines(year, month, day, "");
  }
}
