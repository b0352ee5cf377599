#pragma once

#include <cstdint>

#include "calendar/calendar.hpp"

// The calendar of all twelve months of year, January starting in the column
// of new_year and every later month in the column the days before it reach.
// With lunar (tavoro --lunar), a row of lunar labels under each week row and
// each month's lunar span under its closing rule line; at the end, where
// new_year is not the true weekday of 1 January, the true one. A year the
// lunar calendar does not cover is shown as without lunar, and one line
// says so.
void print_year_calendar(std::int32_t year, LeapFlag leap, NewYearWeekday new_year, bool lunar);

// The calendar of one month (1 to 12) of year; lunar as for the year.
void print_month_calendar(std::int32_t year, std::int32_t month, LeapFlag leap,
                          NewYearWeekday new_year, bool lunar);

// The console columns a terminal gives an em dash. Where it gives one, the
// rule lines are drawn with twice as many em dashes, so that they still span
// the weekday grid and one column more; any other value keeps them as they
// are, 21 em dashes of two columns each.
void set_em_dash_columns(int columns);
