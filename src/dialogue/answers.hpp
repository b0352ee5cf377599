#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>

// Reads one answer: a signed 32-bit decimal integer, leading white space and
// line ends skipped, standard output flushed first so the question stands on
// the screen. What follows the number stays for the next question, so
// answers may be typed ahead on one line.
//
// An answer that cannot be read (letters, a lone sign, a number beyond the
// 32-bit range) gives no value; the rest of its line is discarded so that
// the question asked again waits for new input. When the input has ended
// or cannot be read at all, the program ends: one end-of-line, the terminal
// given back, status 0.
std::optional<std::int32_t> read_answer();

// What one answer read from input came to.
struct Answer {
  std::optional<std::int32_t> value;  // none where the answer could not be read
  bool input_ended = false;           // nothing more will come: asking again would repeat
};

// The same reading from any input, which is left after the answer: after
// its number, after the line of one that could not be read, or at its end.
Answer read_answer(std::istream& input);
