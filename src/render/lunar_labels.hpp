#pragma once

#include <cstdint>
#include <string>

#include "calendar/calendar.hpp"

// The lunar calendar's words on tavoro's screens (tavoro --lunar), for
// Gregorian dates of the years the lunar calendar covers. Every word is in
// GBK, so that a GBK console shows it as a UTF-8 one does.

// A day's label under its number in a calendar, at most 4 columns: its
// festival, else its solar term, else on the first day of a lunar month the
// month's name (a leap month as 闰 and the month's one-character name),
// else the lunar day (初一 ... 三十).
std::string lunar_day_label(std::int32_t year, std::int32_t month, std::int32_t day);

// The lunar span of a Gregorian month, each lunar year with its 干支 and
// animal: 农历癸卯年（兔）腊月廿二至甲辰年（龙）正月二十.
std::string lunar_span_line(std::int32_t year, std::int32_t month, LeapFlag leap);

// A date's lunar date, then its festival and its solar term where it has
// them: 农历甲辰年正月初一 春节.
std::string lunar_date_line(std::int32_t year, std::int32_t month, std::int32_t day);

// What 1 January of year really was, where new_year is not it: 该年元旦实为
// 星期一; empty where the user stated it rightly.
std::string new_year_correction_line(std::int32_t year, NewYearWeekday new_year);

// Said instead of the lunar lines for a year the lunar calendar does not cover.
std::string lunar_range_line();
