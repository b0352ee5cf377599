#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The terminal's answer when tavoro asks where the cursor is:
// ESC [ row ; column R.
struct PositionReport {
  std::size_t start;  // where it begins in the bytes searched
  std::size_t length;
  int column;
};

// Whether bytes are one report, whole.
bool is_position_report(std::string_view bytes);

// The first report in bytes, which may hold the user's typing around it,
// keys with escapes of their own included.
std::optional<PositionReport> find_position_report(std::string_view bytes);
