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

// The terminal has been asked for positions position reports and maybe its
// colours: from now on its answers are taken out of the input.
void await_replies(std::size_t positions);
const TerminalReplies& replies();

// Reads what standard input has next into the queue, waiting at most
// milliseconds (-1: as long as it takes); false where nothing came in time
// or the input has ended. A signal that interrupts the wait is acted on.
bool fill_input_queue(int milliseconds);

// The source of std::cin: the bytes typed, 0 at the end of the input.
std::size_t read_typed(std::span<char> bytes);

// The next key typed, waited for; empty where the input has ended.
std::string read_key();
