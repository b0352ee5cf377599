#include "render/screens.hpp"

#include <iostream>
#include <string>
#include <string_view>

#include "calendar/lunar.hpp"
#include "render/cell.hpp"
#include "render/lunar_labels.hpp"

namespace {

// One space and 21 em dashes: one column wider than the 42-column grid.
constexpr std::string_view rule_line = " —————————————————————";
// The same 43 columns where an em dash is one column wide.
constexpr std::string_view narrow_rule_line = " ——————————————————————————————————————————";

std::string_view drawn_rule_line = rule_line;

// Under a week row, the lunar labels of its days, each in the cell of its
// day: blank cells before day first_day, which stands in column first_column.
void write_lunar_row(std::int32_t year, std::int32_t month, std::int32_t first_day,
                     std::int32_t last_day, WeekdayIndex first_column) {
  for (WeekdayIndex blank = 0; blank < first_column; ++blank) {
    std::cout << cell("");
  }
  for (std::int32_t day = first_day; day <= last_day; ++day) {
    std::cout << cell(lunar_day_label(year, month, day));
  }
  std::cout << std::endl;
}

// The part of a month's screen that the year and the month calendar share:
// rule line, weekday names, week rows and closing rule line; with lunar
// rows, a row of lunar labels under each week row and the lunar span below.
// Day 1 stands in column first; the column after the last day is returned,
// so a year calendar can carry one cursor from January to December.
WeekdayIndex write_month_block(std::int32_t year, std::int32_t month, LeapFlag leap,
                               WeekdayIndex first, bool lunar_rows) {
  const std::int32_t days = month_length(leap, month);
  std::cout << cell(drawn_rule_line) << std::endl;
  for (WeekdayIndex weekday = 0; weekday < 7; ++weekday) {
    std::cout << cell(weekday_name(weekday));
  }
  std::cout << std::endl;
  WeekdayIndex cursor = first;
  for (WeekdayIndex blank = 0; blank < cursor; ++blank) {
    std::cout << cell("");
  }
  std::int32_t row_first = 1;
  for (std::int32_t day = 1; day <= days; ++day) {
    std::cout << cell(day);
    if (++cursor == 7) {
      cursor = 0;
      std::cout << std::endl;
      if (lunar_rows) {
        write_lunar_row(year, month, row_first, day, row_first == 1 ? first : 0);
        row_first = day + 1;
      }
    }
  }
  if (lunar_rows && row_first <= days) {
    std::cout << std::endl;
    write_lunar_row(year, month, row_first, days, row_first == 1 ? first : 0);
  } else {
    // Closes a partial last row; after a Saturday it leaves an empty line.
    std::cout << std::endl;
  }
  std::cout << cell(drawn_rule_line) << std::endl;
  if (lunar_rows) {
    std::cout << lunar_span_line(year, month, leap) << std::endl;
  }
  return cursor;
}

// The lines a calendar or a report ends with under --lunar where the year
// has no lunar dates, or where new_year is not the true weekday of
// 1 January; each ended by an end-of-line.
void write_lunar_notes(std::int32_t year, NewYearWeekday new_year) {
  if (!has_lunar_dates(year)) {
    std::cout << lunar_range_line() << std::endl;
    return;
  }
  if (const std::string correction = new_year_correction_line(year, new_year);
      !correction.empty()) {
    std::cout << correction << std::endl;
  }
}

}  // namespace

void print_year_calendar(std::int32_t year, LeapFlag leap, NewYearWeekday new_year, bool lunar) {
  const bool lunar_rows = lunar && has_lunar_dates(year);
  std::cout << cell("") << cell("") << year << "年年历表如下：" << std::endl;
  WeekdayIndex cursor = new_year;
  for (std::int32_t month = 1; month <= 12; ++month) {
    std::cout << std::endl;
    std::cout << cell(year) << "年" << month << "月份为：" << std::endl;
    cursor = write_month_block(year, month, leap, cursor, lunar_rows);
  }
  if (lunar) {
    write_lunar_notes(year, new_year);
  }
}

void print_month_calendar(std::int32_t year, std::int32_t month, LeapFlag leap,
                          NewYearWeekday new_year, bool lunar) {
  const WeekdayIndex first = weekday_of_date(leap, new_year, month, 1);
  std::cout << std::endl;
  std::cout << "   " << cell(year) << " 年 " << month << " 月 日 历 为：" << std::endl;
  write_month_block(year, month, leap, first, lunar && has_lunar_dates(year));
  if (lunar) {
    write_lunar_notes(year, new_year);
  }
}

void set_em_dash_columns(int columns) {
  drawn_rule_line = columns == 1 ? narrow_rule_line : rule_line;
}
