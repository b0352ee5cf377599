#include "console/posix/terminal_reports.hpp"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

constexpr std::string_view osc_start = "\x1b]";
// A report is a few dozen bytes; a longer "OSC string" is taken for typing.
constexpr std::size_t longest_osc_string = 256;

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
// be the start of a report: an OSC string not yet ended, or a position
// report without its R where one is awaited.
bool may_begin_report(std::string_view bytes, bool position_awaited, bool colours_awaited) {
  if (bytes.size() == 1) {
    return true;
  }
  if (bytes.starts_with(osc_start)) {
    if (!colours_awaited) {
      return false;
    }
    // A report holds no control byte but its end, which may have begun.
    const std::string_view body = bytes.substr(osc_start.size());
    const auto control = [](char byte) { return static_cast<unsigned char>(byte) < 0x20; };
    const std::size_t first_control =
        std::find_if(body.begin(), body.end(), control) - body.begin();
    return bytes.size() < longest_osc_string &&
           (first_control == body.size() ||
            (first_control == body.size() - 1 && body.back() == '\x1b'));
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

// One channel of a colour, 1 to 4 hexadecimal digits, as 0..255, read as X
// reads it: in the rgb: form scaled from its own range, in the # form its
// most significant bits.
std::optional<std::uint8_t> channel(std::string_view digits, bool scaled) {
  unsigned value = 0;
  if (digits.empty() || digits.size() > 4 ||
      std::from_chars(digits.data(), digits.data() + digits.size(), value, 16).ptr !=
          digits.data() + digits.size()) {
    return std::nullopt;
  }
  const unsigned bits = 4 * static_cast<unsigned>(digits.size());
  if (!scaled) {
    return static_cast<std::uint8_t>(bits > 8 ? value >> (bits - 8) : value << (8 - bits));
  }
  const unsigned largest = (1U << bits) - 1;
  return static_cast<std::uint8_t>((value * 255 + largest / 2) / largest);
}

// The colour of a whole OSC string "ESC ] which ; colour" and its end, read
// strictly: anything else is no colour report.
std::optional<Colour> colour_report(std::string_view osc, std::string_view which) {
  const std::size_t end_length = osc.ends_with('\a') ? 1 : 2;
  std::string_view body = osc.substr(osc_start.size(), osc.size() - osc_start.size() - end_length);
  if (!body.starts_with(which) || !body.substr(which.size()).starts_with(';')) {
    return std::nullopt;
  }
  body.remove_prefix(which.size() + 1);
  std::array<std::string_view, 3> digits{};
  const bool scaled = body.starts_with("rgb:");
  if (scaled) {
    body.remove_prefix(4);
    const std::size_t first = body.find('/');
    const std::size_t second = body.find('/', first + 1);
    if (second == std::string_view::npos) {
      return std::nullopt;
    }
    digits = {body.substr(0, first), body.substr(first + 1, second - first - 1),
              body.substr(second + 1)};
  } else if (body.starts_with('#') && (body.size() - 1) % 3 == 0) {
    const std::size_t length = (body.size() - 1) / 3;
    digits = {body.substr(1, length), body.substr(1 + length, length), body.substr(1 + 2 * length)};
  } else {
    return std::nullopt;
  }
  const auto red = channel(digits[0], scaled);
  const auto green = channel(digits[1], scaled);
  const auto blue = channel(digits[2], scaled);
  if (!red || !green || !blue) {
    return std::nullopt;
  }
  return Colour{*red, *green, *blue};
}

}  // namespace

std::size_t osc_string_length(std::string_view bytes) {
  if (!bytes.starts_with(osc_start)) {
    return 0;
  }
  const std::size_t end = bytes.find_first_of("\a\x1b", osc_start.size());
  if (end >= longest_osc_string) {  // also where no end was found
    return 0;
  }
  if (bytes[end] == '\a') {
    return end + 1;
  }
  return bytes.substr(end).starts_with("\x1b\\") ? end + 2 : 0;
}

TakenReports take_reports(std::string_view bytes, std::size_t awaited_positions,
                          bool colours_awaited) {
  TakenReports taken;
  while (!bytes.empty()) {
    const std::size_t escape = bytes.find('\x1b');
    taken.typed.append(bytes.substr(0, escape));
    if (escape == std::string_view::npos) {
      break;
    }
    bytes.remove_prefix(escape);
    int column = 0;
    if (const std::size_t length = colours_awaited ? osc_string_length(bytes) : 0; length > 0) {
      const std::string_view osc = bytes.substr(0, length);
      if (const auto colour = colour_report(osc, "10")) {
        taken.text = colour;
      } else if (const auto background = colour_report(osc, "11")) {
        taken.background = background;
      }
      bytes.remove_prefix(length);
    } else if (const std::size_t report = position_report_length(bytes, column);
               report > 0 && taken.columns.size() < awaited_positions) {
      taken.columns.push_back(column);
      bytes.remove_prefix(report);
    } else if (may_begin_report(bytes, taken.columns.size() < awaited_positions, colours_awaited)) {
      taken.unfinished = bytes;
      break;
    } else {
      taken.typed += bytes.front();
      bytes.remove_prefix(1);
    }
  }
  return taken;
}

std::string colour_request(int which, Colour colour) {
  constexpr std::string_view hex = "0123456789abcdef";
  std::string request = "\x1b]" + std::to_string(which) + ";#";
  for (const std::uint8_t value : {colour.red, colour.green, colour.blue}) {
    request += hex.at(value / 16U);
    request += hex.at(value % 16U);
  }
  request += '\a';
  return request;
}
