#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "console/console_input.hpp"
#include "console/posix/terminal_reports.hpp"

// Standard input, read in one place: the one queue from which the answers
// and the pause's keys are both served. Where the terminal was asked
// questions, its answers are taken out of whatever they arrive in, here
// alone, and never served as typing; an answer cut off where the bytes that
// came end is held until the rest comes, and never served as typing either.
// A read that fails ends the program, as a write that fails does; a
// descriptor left non-blocking is waited on.

// What the terminal answered since it was asked.
struct TerminalReplies {
  std::vector<int> columns;  // of the position reports, in order
  std::optional<Colour> text;
  std::optional<Colour> background;
};

// Opens the queue on standard input, keys split in encoding.
void open_input_queue(InputEncoding encoding);

// What the terminal has been asked: position reports, its colours, and
// whether its background colour may come after the last position report
// (GNU screen passes that question on). From now on its answers are taken
// out of the input while they are awaited, and only then: a colour report
// is awaited until it has come or the last position report has closed the
// round (but for a background that may follow), so that a key which sends
// what would begin one (Alt-] sends ESC ]) is a key again after that.
struct AwaitedReplies {
  std::size_t positions = 0;
  bool colours = false;
  bool background_may_follow = false;
};
void await_replies(const AwaitedReplies& asked_for);
const TerminalReplies& replies();

// Reads what standard input has next into the queue, waiting at most
// milliseconds (-1: as long as it takes); false where nothing came in time
// or the input has ended. A signal that comes during the wait is acted on.
// A question held for the line editor is shown before any wait.
bool fill_input_queue(int milliseconds);

// The source of std::cin where the terminal's own line serves: the bytes
// typed, 0 at the end of the input.
std::size_t read_typed(std::span<char> bytes);

// The next key typed, waited for; empty where the input has ended, or,
// where until_taken_again, where the terminal was taken again after a stop
// meanwhile. The start of an awaited report waits for the rest however
// long it takes.
std::string read_key(bool until_taken_again = false);
