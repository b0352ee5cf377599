#pragma once

#include <cstdint>

#include "calendar/calendar.hpp"

// The Chinese lunar calendar (农历) of the Gregorian years 1901 to 2100: the
// lunar date and the solar term of each day, read from a table made by an
// astronomical computation and held against the Hong Kong Observatory's.
// Unlike the rest of the calendar rules, these go with the date itself,
// never with a weekday the user states.

inline constexpr std::int32_t first_lunar_year = 1901;
inline constexpr std::int32_t last_lunar_year = 2100;

// Whether the lunar calendar covers the Gregorian year.
bool has_lunar_dates(std::int32_t year);

struct LunarDate {
  // The Gregorian year in which this lunar year's 正月初一 falls; its 干支
  // and animal turn there, at 春节.
  std::int32_t year;
  std::int32_t month;         // 1 正月 to 12 腊月
  bool leap;                  // a leap month, repeating month
  std::int32_t day;           // 1 to month_length
  std::int32_t month_length;  // 29 or 30
};

// The lunar date of a Gregorian date of a year that has_lunar_dates.
LunarDate lunar_date(std::int32_t year, std::int32_t month, std::int32_t day);

// The solar term that falls on a Gregorian date of a year that
// has_lunar_dates: 0 for 小寒, 1 大寒, 2 立春 ... 23 冬至; -1 for none.
std::int32_t solar_term(std::int32_t year, std::int32_t month, std::int32_t day);

// The true Gregorian weekday of 1 January of a year (any year: the
// Gregorian rules carried back and forward without end).
WeekdayIndex gregorian_new_year_weekday(std::int32_t year);
