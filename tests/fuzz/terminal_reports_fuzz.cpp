// The scanner of the terminal's reports takes a colour report out wherever
// it stands among other bytes: the typing around it comes out as that of
// each side scanned alone (a side's end held as the start of a report is
// typing once what follows shows it was none), the awaited position reports
// are the first ones of either side, and the colour is the one the report
// gives, unless the bytes after it report that colour again. A report is
// read strictly: one byte of its colour spoilt, or one digit more in the #
// form, makes it none. A colour taken is written back only as #rrggbb,
// which gives it back. Where no report is awaited, every byte is typing.
#include <array>
#include <string>
#include <vector>

#include "console/posix/terminal_reports.hpp"
#include "fuzz/fuzz_input.hpp"

// Colours in the forms terminals answer in, and the colour each stands for.
struct Worded {
  std::string_view colour;
  Colour value;
};
constexpr std::array<Worded, 8> worded{{{"rgb:dddd/dddd/dddd", {0xdd, 0xdd, 0xdd}},
                                        {"rgb:1c/1c/1c", {0x1c, 0x1c, 0x1c}},
                                        {"rgb:f/0/8", {0xff, 0x00, 0x88}},
                                        {"rgb:fff/000/888", {0xff, 0x00, 0x88}},
                                        {"#AAAAAA", {0xaa, 0xaa, 0xaa}},
                                        {"#f08", {0xf0, 0x00, 0x80}},
                                        {"#1c01c01c0", {0x1c, 0x1c, 0x1c}},
                                        {"#12345678ABCD", {0x12, 0x56, 0xab}}}};

static std::optional<Colour> which_colour(const TakenReports& taken, bool text) {
  return text ? taken.text : taken.background;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input{{reinterpret_cast<const char*>(data), size}};
  const bool text = input.next() % 2 == 0;
  const std::size_t awaited = input.next() % 4;
  const Worded& chosen = worded.at(input.next() % worded.size());
  const std::string start = text ? "\x1b]10;" : "\x1b]11;";
  const std::string end = input.next() % 2 == 0 ? "\a" : "\x1b\\";
  const auto colour_of = [text](const std::string& bytes) {
    return which_colour(take_reports(bytes, 0, true), text);
  };
  std::string spoilt(chosen.colour);
  spoilt.at(input.next() % spoilt.size()) = static_cast<char>('h' + input.next() % 10);
  require(!colour_of(start + spoilt + end), "a spoilt colour is none");
  require(
      !chosen.colour.starts_with('#') || !colour_of(start + std::string(chosen.colour) + "0" + end),
      "# and a digit more");
  const std::string report = start + std::string(chosen.colour) + end;
  const std::size_t split_at = input.next() * 4;  // taken before the bytes left are counted
  const std::size_t split = std::min(split_at, input.bytes.size());
  const std::string_view before = input.bytes.substr(0, split);
  const std::string_view after = input.bytes.substr(split);

  const TakenReports first = take_reports(before, awaited, true);
  const TakenReports last = take_reports(after, awaited - first.columns.size(), true);
  const TakenReports whole =
      take_reports(std::string(before).append(report).append(after), awaited, true);
  const TakenReports unawaited = take_reports(std::string(before).append(report), 0, false);
  require(unawaited.typed + unawaited.unfinished == std::string(before).append(report),
          "nothing taken out where nothing is awaited: Alt-] is a key");
  std::vector<int> columns = first.columns;
  columns.insert(columns.end(), last.columns.begin(), last.columns.end());
  require(whole.typed + whole.unfinished ==
              first.typed + first.unfinished + last.typed + last.unfinished,
          "the typing on each side kept, in order");
  require(whole.columns == columns, "the awaited position reports taken, the first ones");
  for (const bool which : {true, false}) {
    const std::optional<Colour> later = which_colour(last, which);
    const std::optional<Colour> earlier = which == text ? chosen.value : which_colour(first, which);
    require(which_colour(whole, which) == (later ? later : earlier), "each colour last reported");
    if (const auto taken = which_colour(whole, which)) {
      const std::string request = colour_request(10, *taken);
      require(request.size() == 13 && request.starts_with("\x1b]10;#") &&
                  take_reports(request, 0, true).text == taken,
              "a colour written back as #rrggbb, the same colour");
    }
  }
  return 0;
}
