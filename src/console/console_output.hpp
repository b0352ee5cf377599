#pragma once

#include <string>
#include <string_view>

// Standard output of the console: the one path by which tavoro's text and
// its control sequences reach the console, in the order they were given.
// The texts are UTF-8 in the program; what reaches the console is UTF-8 or,
// where the console reads GBK, the GBK bytes of the same text. Output is
// held until a flush (every end-of-line and every question flushes), then
// written in one piece.

// Turns UTF-8 text into the bytes the console reads.
using ConsoleEncoder = std::string (*)(std::string_view utf8);
// Hands bytes to the console.
using ConsoleSink = void (*)(std::string_view bytes);

// Routes std::cout through encode (nullptr: UTF-8 as it is) into sink.
void install_console_output(ConsoleEncoder encode, ConsoleSink sink);

// The bytes the console gets for a UTF-8 text under the installed encoder.
std::string console_bytes(std::string_view utf8);

// Adds a control sequence, already in the console's bytes, after the text
// given so far, and writes both: the sequence can neither overtake text
// written before it nor be overtaken by text written after it.
void write_console_control(std::string_view bytes);

// The text written since the last end-of-line, as the console got it and
// without the control sequences among it: a question or the pause request
// waiting for its answer, to be shown again when the console is taken back.
std::string_view unfinished_line();
