#include "calendar/lunar.hpp"

#include <cstddef>

#include "calendar/lunar_table.hpp"

namespace {

// The first lunar year of lunar_years, which holds the first days of 1901.
constexpr std::int32_t first_table_year = 1900;

// Days from 1 January 1900 to 1 January of year, counted with the leap-year
// rule; negative before 1900.
std::int64_t days_to_new_year(std::int32_t year) {
  const std::int64_t before = static_cast<std::int64_t>(year) - 1;
  const auto leap_days = [](std::int64_t years) {
    // Leap years in 1 to years, for years >= 0; floor division below 0.
    const auto floor_div = [](std::int64_t a, std::int64_t b) {
      return a >= 0 ? a / b : -((-a + b - 1) / b);
    };
    return floor_div(years, 4) - floor_div(years, 100) + floor_div(years, 400);
  };
  return (before - 1899) * 365 + leap_days(before) - leap_days(1899);
}

std::int64_t days_since_1900(std::int32_t year, std::int32_t month, std::int32_t day) {
  return days_to_new_year(year) + days_before_month(is_leap_year(year), month) + day - 1;
}

struct LunarYear {
  std::uint32_t bits;
  std::int64_t first_day;  // days since 1900 of its 正月初一
};

LunarYear lunar_year(std::int32_t year) {
  const std::uint32_t bits = lunar_years.at(static_cast<std::size_t>(year - first_table_year));
  return {bits, days_to_new_year(year) + static_cast<std::int64_t>(bits >> 17U)};
}

}  // namespace

bool has_lunar_dates(std::int32_t year) {
  return year >= first_lunar_year && year <= last_lunar_year;
}

LunarDate lunar_date(std::int32_t year, std::int32_t month, std::int32_t day) {
  const std::int64_t date = days_since_1900(year, month, day);
  // The lunar year is the one of the Gregorian year or the one before it.
  std::int32_t lunar = year;
  LunarYear found = lunar_year(lunar);
  if (date < found.first_day) {
    found = lunar_year(--lunar);
  }
  const auto leap_month = static_cast<std::int32_t>((found.bits >> 13U) & 0xFU);
  std::int64_t offset = date - found.first_day;
  std::int32_t number = 1;
  for (std::uint32_t index = 0;; ++index) {
    const std::int32_t length = ((found.bits >> index) & 1U) != 0 ? 30 : 29;
    const bool leap = leap_month != 0 && static_cast<std::int32_t>(index) == leap_month;
    if (offset < length) {
      return {lunar, leap ? leap_month : number, leap, static_cast<std::int32_t>(offset) + 1,
              length};
    }
    offset -= length;
    if (!leap) {
      ++number;
    }
  }
}

std::int32_t solar_term(std::int32_t year, std::int32_t month, std::int32_t day) {
  const std::uint64_t days = solar_term_days.at(static_cast<std::size_t>(year - first_lunar_year));
  // Month m holds terms 2m - 2 and 2m - 1.
  for (std::int32_t term = 2 * month - 2; term < 2 * month; ++term) {
    const auto index = static_cast<std::size_t>(term);
    const auto above = static_cast<std::int32_t>((days >> (2U * index)) & 3U);
    if (solar_term_earliest_days.at(index) + above == day) {
      return term;
    }
  }
  return -1;
}

WeekdayIndex gregorian_new_year_weekday(std::int32_t year) {
  // 1 January 1900 was a Monday.
  return static_cast<WeekdayIndex>(((days_to_new_year(year) + 1) % 7 + 7) % 7);
}
