#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The calendars lay every item out right-aligned in a field six console
// columns wide. Console columns are not bytes: the texts live here as UTF-8,
// where a Han character or a full-width sign takes three bytes but two
// columns on the console, as its two GBK bytes do.

inline constexpr int cell_width = 6;

// Console columns of a UTF-8 text: 1 for an ASCII character, 2 for any other.
int display_columns(std::string_view utf8);

// text right-aligned in a field of width columns; a longer text stands whole.
std::string cell(std::string_view text, int width = cell_width);
std::string cell(std::int32_t number, int width = cell_width);
