#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a terminal answers when tavoro asks it at start-up: where the cursor
// is (ESC [ row ; column R) and which are its text and background colours
// (ESC ] 10 ; colour and the same with 11, ended by BEL or by ESC \), the
// colour in one of the X forms rgb:R/G/B (1 to 4 hexadecimal digits a
// channel) or #RGB (1 to 4 digits a channel, all of the same length). These
// only look at bytes: reading them is the caller's.

struct Colour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  bool operator==(const Colour&) const = default;
};

// The reports taken out of what the terminal sent, and what is left of it:
// the user's typing.
struct TakenReports {
  std::string typed;
  std::vector<int> columns;          // of the position reports taken, in order
  std::optional<Colour> text;        // reported for OSC 10
  std::optional<Colour> background;  // reported for OSC 11
  // The end of bytes where a report may have begun and not yet ended: held
  // until what follows tells, never typing.
  std::string unfinished;
};

// Takes out of bytes, while colours_awaited, every whole OSC string (ESC ]
// up to BEL or ESC \), reading those that are colour reports; and the first
// awaited_positions position reports, which a key may send too (Shift-F3
// sends ESC [ 1 ; 2 R), so only as many as are awaited are taken. What no
// report is awaited for is typing (Alt-] sends ESC ]).
TakenReports take_reports(std::string_view bytes, std::size_t awaited_positions,
                          bool colours_awaited);

// The length of the whole OSC string that bytes begin with; 0 where they
// begin with none, or with one not yet ended.
std::size_t osc_string_length(std::string_view bytes);

// Sets the terminal's text (which 10) or background (which 11) colour. The
// form #rrggbb, built here from numbers alone, is the one that every
// terminal answering a colour query takes back (Konsole ignores rgb:).
std::string colour_request(int which, Colour colour);
