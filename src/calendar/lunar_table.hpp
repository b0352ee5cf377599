#pragma once

#include <array>
#include <cstdint>

// The Chinese lunar calendar from 1900 to 2100 as tools/lunar_calendar_table.py
// computes it (lunar_table.cpp); lunar.hpp reads it. The layout of each
// entry is told where the tables are defined.
extern const std::array<std::uint32_t, 201> lunar_years;
extern const std::array<std::uint8_t, 24> solar_term_earliest_days;
extern const std::array<std::uint64_t, 200> solar_term_days;
