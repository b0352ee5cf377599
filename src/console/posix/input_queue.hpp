#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "console/console_input.hpp"

// Standard input, read in one place: the one queue from which the answers
// and the pause's keys are both served. Where the terminal was asked
// questions, its answers are taken out of whatever they arrive in, here
// alone, and never served as typing; an answer cut off where the bytes that
// came end is held until the rest comes, and never served as typing either.
// A read that fails ends the program, as a write that fails does; a
// descriptor left non-blocking is waited on.

// Opens the queue on standard input, keys split in encoding.
void open_input_queue(InputEncoding encoding);

// How many position reports the terminal has been asked for. From now on
// its answers are taken out of the input until that many have come, and
// only then: a key that sends what a report sends (Shift-F3 sends
// ESC [ 1 ; 2 R) is a key again after that.
void await_replies(std::size_t positions);
// The columns of the position reports that came, in order.
const std::vector<int>& replies();

// Reads what standard input has next into the queue, waiting at most
// milliseconds (-1: as long as it takes); false where nothing came in time
// or the input has ended. A signal that comes during the wait is acted on.
// A question held for the line editor is shown before any wait.
// until_taken_again: false as well where the terminal was taken again after
// a stop meanwhile.
bool fill_input_queue(int milliseconds, bool until_taken_again = false);

// The source of std::cin where the terminal's own line serves: the bytes
// typed, 0 at the end of the input.
std::size_t read_typed(std::span<char> bytes);

// The next key typed, waited for; empty where the input has ended, or,
// where until_taken_again, where the terminal was taken again after a stop
// meanwhile. The start of an awaited report waits for the rest however
// long it takes.
std::string read_key(bool until_taken_again = false);
