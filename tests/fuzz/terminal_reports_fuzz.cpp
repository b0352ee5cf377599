// The scanner of the terminal's reports takes a colour report out wherever
// it stands among other bytes: the typing around it comes out as that of
// each side scanned alone, and the colour is the one the report gives in
// any of its forms, unless the bytes after it report that colour again. A
// colour taken is written back only as #rrggbb, which gives it back.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "console/posix/terminal_reports.hpp"
#include "fuzz/fuzz_input.hpp"

// One channel of value in hexadecimal digits: two, or the value's own
// digits repeated to four; one or three where the value is a multiple of 17
// (0x11), which repeats a single digit.
static std::string channel(std::uint8_t value, unsigned form) {
  int length = std::array{2, 4, 1, 3}.at(form % 4);
  length += length % 2 == 1 && value % 17 != 0 ? 1 : 0;
  std::array<char, 8> digits{};
  std::snprintf(digits.data(), digits.size(), (form & 4U) != 0 ? "%0*X" : "%0*x", length,
                value * ((1U << (4 * length)) - 1) / 255);
  return digits.data();
}

static std::optional<Colour> which_colour(const TakenReports& taken, bool text) {
  return text ? taken.text : taken.background;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input{{reinterpret_cast<const char*>(data), size}};
  const bool text = input.next() % 2 == 0;
  const bool take_position = input.next() % 2 == 0;
  const std::string end = input.next() % 2 == 0 ? "\a" : "\x1b\\";
  Colour colour{};
  std::string report = text ? "\x1b]10;rgb:" : "\x1b]11;rgb:";
  for (std::uint8_t* value : {&colour.red, &colour.green, &colour.blue}) {
    *value = static_cast<std::uint8_t>(input.next());
    report += channel(*value, input.next()) + (value == &colour.blue ? end : "/");
  }
  const std::size_t split_at = input.next() * 4;
  const std::size_t split = std::min(split_at, input.bytes.size());
  const std::string_view before = input.bytes.substr(0, split);
  const std::string_view after = input.bytes.substr(split);

  const TakenReports first = take_reports(before, take_position);
  const TakenReports last = take_reports(after, take_position && !first.column);
  const TakenReports whole =
      take_reports(std::string(before).append(report).append(after), take_position);
  require(whole.typed == first.typed + last.typed, "the typing on each side kept, in order");
  require(whole.column == (first.column ? first.column : last.column), "the first position taken");
  for (const bool which : {true, false}) {
    const std::optional<Colour> later = which_colour(last, which);
    const std::optional<Colour> earlier = which == text ? colour : which_colour(first, which);
    require(which_colour(whole, which) == (later ? later : earlier), "each colour last reported");
    if (const auto taken = which_colour(whole, which)) {
      const std::string request = colour_request(10, *taken);
      const std::string hex = request.substr(6, 6);
      const std::string again = hex.substr(0, 2) + "/" + hex.substr(2, 2) + "/" + hex.substr(4);
      require(request == "\x1b]10;#" + hex + "\a" &&
                  take_reports("\x1b]10;rgb:" + again + "\a", false).text == taken,
              "a colour written back as #rrggbb, the same colour");
    }
  }
  return 0;
}
