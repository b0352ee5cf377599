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

// Dresses the text, in the console's bytes, for the console: colours it.
using TextPainter = std::string (*)(std::string_view bytes);

// Routes std::cout through encode (nullptr: UTF-8 as it is) into sink.
void install_console_output(ConsoleEncoder encode, ConsoleSink sink);
// From now on text is dressed by painter on its way to the console, control
// sequences never; nullptr: as it is.
void install_text_painter(TextPainter painter);

// The bytes the console gets for a UTF-8 text under the installed encoder.
std::string console_bytes(std::string_view utf8);

// Adds a control sequence, already in the console's bytes, after the text
// given so far, and writes both: the sequence can neither overtake text
// written before it nor be overtaken by text written after it.
void write_console_control(std::string_view bytes);

// Where a line editor draws the question it reads the answer to, the text
// of an unfinished line (no end-of-line, no control sequence after it) is
// held at a flush instead of written: the editor draws it, as the start of
// the line it edits, so that the question stands on the screen once.
void hold_unfinished_lines();
// The held text, in the console's bytes, now counted as given to the
// console: the caller writes it. Empty where none is held.
std::string take_held_line();
// Writes the held text, where some is held: tavoro is about to wait for
// something else than the editor.
void release_held_line();

// The text written since the last end-of-line, as the console got it and
// without the control sequences among it: a question or the pause request
// waiting for its answer, to be shown again when the console is taken back.
std::string_view unfinished_line();

// What is on the screen since it was last cleared, as far as tavoro knows:
// the text the console got (without control sequences or painting) and the
// answers as the terminal echoed them. Kept only once keep_screen_text is
// called, and then only the last megabyte of it.
void keep_screen_text();
void forget_screen_text();
// An answer echoed on the screen, with its end-of-line.
void note_echoed(std::string_view bytes);
std::string_view screen_text();
