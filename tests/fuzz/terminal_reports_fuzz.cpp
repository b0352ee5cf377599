// The scanner of the terminal's reports takes a colour report out wherever
// it stands among other bytes: the typing around it comes out as that of
// each side scanned alone (a side's end held as the start of a report is
// typing once what follows shows it was none), the awaited position reports
// are the first ones of either side, and the colour is the one the report
// gives in any of its forms, unless the bytes after it report that colour
// again; spoilt, it is none. A colour taken is written back only as
// #rrggbb, which gives it back.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "console/posix/terminal_reports.hpp"
#include "fuzz/fuzz_input.hpp"

// One channel of value in hexadecimal digits, in the rgb: form (scaled from
// its own range) or the # form (the high bits): two or four digits, or one
// or three where every value the digits stand for allows it (in the # form
// the three channels take as many digits each).
static std::string channel(std::uint8_t value, unsigned form, bool scaled, bool single_fits) {
  int length = std::array{2, 4, 1, 3}.at(form % 4);
  length += length % 2 == 1 && !single_fits ? 1 : 0;
  const unsigned digits = !scaled           ? (length == 1 ? value >> 4 : value << (4 * length - 8))
                          : length % 2 == 0 ? value * ((1U << (4 * length)) - 1) / 255
                                            : value / 17 * ((1U << (4 * length)) - 1) / 15;
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), (form & 4U) != 0 ? "%0*X" : "%0*x", length, digits);
  return text.data();
}

static std::optional<Colour> which_colour(const TakenReports& taken, bool text) {
  return text ? taken.text : taken.background;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input{{reinterpret_cast<const char*>(data), size}};
  const bool text = input.next() % 2 == 0;
  const bool scaled = input.next() % 2 == 0;
  const std::size_t awaited = input.next() % 4;
  const unsigned form = input.next();
  const Colour colour{static_cast<std::uint8_t>(input.next()),
                      static_cast<std::uint8_t>(input.next()),
                      static_cast<std::uint8_t>(input.next())};
  const bool round = (colour.red | colour.green | colour.blue) % 16 == 0;
  std::string report = std::string(text ? "\x1b]10;" : "\x1b]11;") + (scaled ? "rgb:" : "#");
  const std::array values{colour.red, colour.green, colour.blue};
  for (std::size_t index = 0; index < values.size(); ++index) {
    const bool single_fits = scaled ? values.at(index) % 17 == 0 : form % 4 == 3 || round;
    report +=
        (scaled && index > 0 ? "/" : "") + channel(values.at(index), form, scaled, single_fits);
  }
  const std::string end = input.next() % 2 == 0 ? "\a" : "\x1b\\";
  // Read strictly: one byte of the colour spoilt (by one that no colour holds) makes it no
  // colour, and so does one digit more in the # form.
  const auto colour_of = [text](const std::string& bytes) {
    return which_colour(take_reports(bytes, 0), text);
  };
  std::string spoilt = report + end;
  const std::size_t spoilt_at = 5 + input.next() % (report.size() - 5);
  spoilt.at(spoilt_at) = static_cast<char>('h' + input.next() % 10);  // no digit, r, g or b
  require(!colour_of(spoilt), "a spoilt colour is none");
  require(scaled || !colour_of(std::string(report).insert(6, "0") + end), "# and a digit more");
  report += end;
  const std::size_t split_at = input.next() * 4;  // taken before the bytes left are counted
  const std::size_t split = std::min(split_at, input.bytes.size());
  const std::string_view before = input.bytes.substr(0, split);
  const std::string_view after = input.bytes.substr(split);

  const TakenReports first = take_reports(before, awaited);
  const TakenReports last = take_reports(after, awaited - first.columns.size());
  const TakenReports whole =
      take_reports(std::string(before).append(report).append(after), awaited);
  std::vector<int> columns = first.columns;
  columns.insert(columns.end(), last.columns.begin(), last.columns.end());
  // A side's end that may begin a report is held, not typed, until what follows tells.
  require(whole.typed + whole.unfinished ==
              first.typed + first.unfinished + last.typed + last.unfinished,
          "the typing on each side kept, in order");
  require(whole.columns == columns, "the awaited position reports taken, the first ones");
  for (const bool which : {true, false}) {
    const std::optional<Colour> later = which_colour(last, which);
    const std::optional<Colour> earlier = which == text ? colour : which_colour(first, which);
    require(which_colour(whole, which) == (later ? later : earlier), "each colour last reported");
    if (const auto taken = which_colour(whole, which)) {
      const std::string request = colour_request(10, *taken);
      require(request.size() == 13 && request.starts_with("\x1b]10;#") &&
                  take_reports(request, 0).text == taken,
              "a colour written back as #rrggbb, the same colour");
    }
  }
  return 0;
}
