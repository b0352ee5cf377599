#include "console/posix/terminal_reports.hpp"

#include <algorithm>
#include <charconv>

namespace {

bool is_digit(char byte) {
  return byte >= '0' && byte <= '9';
}

// The length of the position report that bytes begin with, or 0.
std::size_t position_report_length(std::string_view bytes, int& column) {
  if (!bytes.starts_with("\x1b[")) {
    return 0;
  }
  const std::size_t row_end =
      std::find_if_not(bytes.begin() + 2, bytes.end(), is_digit) - bytes.begin();
  if (row_end == 2 || row_end >= bytes.size() || bytes[row_end] != ';') {
    return 0;
  }
  const std::size_t column_start = row_end + 1;
  const std::size_t column_end =
      std::find_if_not(bytes.begin() + static_cast<std::ptrdiff_t>(column_start), bytes.end(),
                       is_digit) -
      bytes.begin();
  if (column_end == column_start || column_end >= bytes.size() || bytes[column_end] != 'R') {
    return 0;
  }
  const auto read = std::from_chars(bytes.data() + column_start, bytes.data() + column_end, column);
  return read.ec == std::errc{} ? column_end + 1 : 0;
}

// Whether bytes, which begin with ESC and run to the end of what came, may
// be the start of a position report where one is awaited.
bool may_begin_report(std::string_view bytes, bool position_awaited) {
  if (bytes.size() == 1) {
    return true;
  }
  if (!position_awaited || !bytes.starts_with("\x1b[")) {
    return false;
  }
  const std::string_view numbers = bytes.substr(2);
  return std::all_of(numbers.begin(), numbers.end(), is_digit) ||
         (std::count(numbers.begin(), numbers.end(), ';') == 1 &&
          std::all_of(numbers.begin(), numbers.end(),
                      [](char byte) { return is_digit(byte) || byte == ';'; }) &&
          numbers.front() != ';');
}

}  // namespace

TakenReports take_reports(std::string_view bytes, std::size_t awaited_positions) {
  TakenReports taken;
  while (!bytes.empty()) {
    const std::size_t escape = bytes.find('\x1b');
    taken.typed.append(bytes.substr(0, escape));
    if (escape == std::string_view::npos) {
      break;
    }
    bytes.remove_prefix(escape);
    int column = 0;
    if (const std::size_t report = position_report_length(bytes, column);
        report > 0 && taken.columns.size() < awaited_positions) {
      taken.columns.push_back(column);
      bytes.remove_prefix(report);
    } else if (may_begin_report(bytes, taken.columns.size() < awaited_positions)) {
      taken.unfinished = bytes;
      break;
    } else {
      taken.typed += bytes.front();
      bytes.remove_prefix(1);
    }
  }
  return taken;
}
