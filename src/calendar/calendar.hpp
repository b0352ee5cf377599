#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The calendar rules every query rests on: the Gregorian leap-year rule, the
// one table of month lengths, the names of the weekdays, and the one place
// where the weekday of a date is counted. Weekdays are never derived from a
// year alone: the user states the weekday of 1 January and every other is
// counted forward from it.

// 1 for a leap year, 0 for a common year; the row index of month_days.
using LeapFlag = std::int32_t;
// 0 Sunday, 1 Monday, ... 6 Saturday.
using WeekdayIndex = std::int32_t;
// The WeekdayIndex of 1 January of the queried year, as the user stated it.
using NewYearWeekday = std::int32_t;

// Month lengths, common year first, indexed [LeapFlag][month - 1].
inline constexpr std::array<std::array<std::int32_t, 12>, 2> month_days{{
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
}};

// Defined for every year, zero and negative years included: the remainders
// truncate toward zero, so -4 and -400 are leap years and -100 is not.
LeapFlag is_leap_year(std::int32_t year);

// Days of the year before day 1 of month (1 to 12): 0 for January.
std::int32_t days_before_month(LeapFlag leap, std::int32_t month);

// The length of month (1 to 12) in the year that leap describes.
std::int32_t month_length(LeapFlag leap, std::int32_t month);

// The weekday of day (1 to its month's length) of month (1 to 12), counted
// forward from new_year, the weekday of 1 January, in the year that leap
// describes. Both calendars and the weekday report take it from here.
WeekdayIndex weekday_of_date(LeapFlag leap, NewYearWeekday new_year, std::int32_t month,
                             std::int32_t day);

// The one-character name of a weekday: "日" for 0 up to "六" for 6.
std::string_view weekday_name(WeekdayIndex weekday);
