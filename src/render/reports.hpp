#pragma once

#include <cstdint>

#include "calendar/calendar.hpp"

// One-line answers to the two date queries. Both leave the line open: the
// dialogue changes the colour first and then ends it. day lies in 1 to the
// length of month (1 to 12). With lunar (tavoro --lunar), a line with the
// date's lunar date follows, and under the weekday report, where new_year
// is not the true weekday of 1 January, the true one; for a year the lunar
// calendar does not cover, one line says so instead. The last line is left
// open as the report's own would be.
void print_weekday_of_date(std::int32_t year, std::int32_t month, std::int32_t day, LeapFlag leap,
                           NewYearWeekday new_year, bool lunar);
void print_day_of_year(std::int32_t year, std::int32_t month, std::int32_t day, LeapFlag leap,
                       bool lunar);
