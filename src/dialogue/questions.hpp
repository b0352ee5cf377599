#pragma once

#include <cstdint>

#include "calendar/calendar.hpp"

// The code read at the menu: 0 exit, 1 year calendar, 2 month calendar,
// 3 weekday of a date, 4 ordinal day of a date.
using QueryCode = std::int32_t;

// The questions of one query, each asked again until its answer is
// accepted, every value gathered before it kept. Each step hands over to the
// next and returns when the query has been answered.

// Asks the year; query 4 goes on to the month, queries 1 to 3 to the weekday
// of 1 January.
void ask_year(QueryCode code, bool lunar);

// Asks the weekday of 1 January (0 to 6); query 1 then writes the year
// calendar, queries 2 and 3 go on to the month.
void ask_new_year_weekday(std::int32_t year, QueryCode code, LeapFlag leap, bool lunar);

// Asks the month (1 to 12) and goes on to ask_day with the first month
// accepted and the LeapFlag of the year.
void ask_month(std::int32_t year, QueryCode code, NewYearWeekday new_year, bool lunar);

// With an accepted month: query 2 writes the month calendar; queries 3 and 4
// ask the day (1 to the month's length) and write their report.
void ask_day(std::int32_t year, LeapFlag leap, std::int32_t month, QueryCode code,
             NewYearWeekday new_year, bool lunar);
