#include "calendar/calendar.hpp"

LeapFlag is_leap_year(std::int32_t year) {
  return ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 1 : 0;
}

std::int32_t month_length(LeapFlag leap, std::int32_t month) {
  return month_days.at(static_cast<std::size_t>(leap)).at(static_cast<std::size_t>(month - 1));
}

std::int32_t days_before_month(LeapFlag leap, std::int32_t month) {
  std::int32_t days = 0;
  for (std::int32_t earlier = 1; earlier < month; ++earlier) {
    days += month_length(leap, earlier);
  }
  return days;
}

WeekdayIndex weekday_of_date(LeapFlag leap, NewYearWeekday new_year, std::int32_t month,
                             std::int32_t day) {
  return (new_year + days_before_month(leap, month) + day - 1) % 7;
}

std::string_view weekday_name(WeekdayIndex weekday) {
  static constexpr std::array<std::string_view, 7> names{"日", "一", "二", "三", "四", "五", "六"};
  return names.at(static_cast<std::size_t>(weekday));
}
