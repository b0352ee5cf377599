#pragma once

#include <cstdint>

#include "calendar/calendar.hpp"

// One-line answers to the two date queries. Both leave the line open: the
// dialogue changes the colour first and then ends it. day lies in 1 to the
// length of month (1 to 12).
void print_weekday_of_date(std::int32_t year, std::int32_t month, std::int32_t day, LeapFlag leap,
                           NewYearWeekday new_year);
void print_day_of_year(std::int32_t year, std::int32_t month, std::int32_t day, LeapFlag leap);
