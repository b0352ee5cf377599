#include <gtest/gtest.h>

#include <chrono>

#include "calendar/calendar.hpp"

namespace chr = std::chrono;

// The rules against the standard library's own Gregorian calendar, over the
// whole range it knows, negative years and year 0 included: leap years,
// month lengths, days before a month, and the weekday of the first and last
// day of every month counted from the true weekday of 1 January.
TEST(CalendarRules, AgreeWithTheGregorianCalendarOfEveryYear) {
  for (int y = static_cast<int>(chr::year::min()); y <= static_cast<int>(chr::year::max()); ++y) {
    const chr::year year{y};
    const LeapFlag leap = is_leap_year(y);
    ASSERT_EQ(leap, year.is_leap() ? 1 : 0) << y;
    const chr::sys_days new_year{year / chr::January / 1};
    const auto new_year_weekday = static_cast<NewYearWeekday>(chr::weekday{new_year}.c_encoding());
    for (int m = 1; m <= 12; ++m) {
      const chr::year_month month = year / chr::month{static_cast<unsigned>(m)};
      const auto last = static_cast<int>(unsigned{(month / chr::last).day()});
      ASSERT_EQ(month_length(leap, m), last) << y << "-" << m;
      ASSERT_EQ(days_before_month(leap, m), (chr::sys_days{month / 1} - new_year).count())
          << y << "-" << m;
      for (const int day : {1, last}) {
        const chr::sys_days date{month / chr::day{static_cast<unsigned>(day)}};
        ASSERT_EQ(weekday_of_date(leap, new_year_weekday, m, day),
                  static_cast<WeekdayIndex>(chr::weekday{date}.c_encoding()))
            << y << "-" << m << "-" << day;
      }
    }
  }
}
