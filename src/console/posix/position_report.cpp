#include "console/posix/position_report.hpp"

#include <algorithm>
#include <charconv>

namespace {

bool is_digit(char byte) {
  return byte >= '0' && byte <= '9';
}

}  // namespace

bool is_position_report(std::string_view bytes) {
  if (bytes.size() < 6 || bytes.substr(0, 2) != "\x1b[" || bytes.back() != 'R') {
    return false;
  }
  const std::string_view numbers = bytes.substr(2, bytes.size() - 3);
  const std::size_t separator = numbers.find(';');
  return separator != std::string_view::npos && separator > 0 && separator + 1 < numbers.size() &&
         std::all_of(numbers.begin(), numbers.begin() + static_cast<std::ptrdiff_t>(separator),
                     is_digit) &&
         std::all_of(numbers.begin() + static_cast<std::ptrdiff_t>(separator) + 1, numbers.end(),
                     is_digit);
}

std::optional<PositionReport> find_position_report(std::string_view bytes) {
  for (std::size_t start = bytes.find('\x1b'); start != std::string_view::npos;
       start = bytes.find('\x1b', start + 1)) {
    const std::size_t end = bytes.find('R', start);
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    const std::string_view report = bytes.substr(start, end + 1 - start);
    if (is_position_report(report)) {
      const std::string_view digits = report.substr(report.find(';') + 1);
      int column = 0;
      std::from_chars(digits.data(), digits.data() + digits.size() - 1, column);
      return PositionReport{start, report.size(), column};
    }
  }
  return std::nullopt;
}
