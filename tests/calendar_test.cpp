#include <gtest/gtest.h>

#include <chrono>

#include "calendar/calendar.hpp"

namespace chr = std::chrono;

// The rules against the standard library's own Gregorian calendar, over the
// whole range it knows, negative years and year 0 included.
TEST(CalendarRules, AgreeWithTheGregorianCalendarOfEveryYear) {
  for (int y = static_cast<int>(chr::year::min()); y <= static_cast<int>(chr::year::max()); ++y) {
    const chr::year year{y};
    const LeapFlag leap = is_leap_year(y);
    ASSERT_EQ(leap, year.is_leap() ? 1 : 0) << y;
    const chr::sys_days new_year{year / chr::January / 1};
    for (int m = 1; m <= 12; ++m) {
      const chr::year_month month = year / chr::month{static_cast<unsigned>(m)};
      ASSERT_EQ(month_length(leap, m), static_cast<int>(unsigned{(month / chr::last).day()}))
          << y << "-" << m;
      ASSERT_EQ(days_before_month(leap, m), (chr::sys_days{month / 1} - new_year).count())
          << y << "-" << m;
    }
  }
}
