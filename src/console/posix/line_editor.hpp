#pragma once

#include <cstddef>
#include <span>

#include "console/console_input.hpp"

// The answer line on a terminal, edited as every interactive prompt edits
// its line (through libedit): the cursor moved with Left and Right, Home and
// End, Ctrl-A and Ctrl-E; Backspace and Delete, Ctrl-U, Ctrl-K and Ctrl-W
// over ASCII, Han characters and full-width digits alike, in UTF-8 and in
// GBK; Up and Down recall the earlier lines of this run as they were typed,
// kept in memory only. The editor is fed from the one input queue, so the
// terminal's answers never reach it, and everything it writes goes through
// the one output path. It draws the question itself, as the start of the
// line it edits, and draws it again after a stop. Answers typed ahead on
// one line are read one by one, as the terminal's own line reads them; what
// was typed before a question is there to edit when it is asked.

// Opens the editor on standard input and output, both terminals taking
// control sequences, in the line modes found; false where it cannot serve
// (a build without libedit, no character set to edit UTF-8 in), and the
// terminal's own line serves instead. From then on the terminal stays
// unedited and unechoed between questions, so that typing ahead shows only
// when the editor takes it.
bool open_line_editor(InputEncoding encoding);

// The source of std::cin where the editor serves: the lines edited, each
// with its line end, one line edited whenever none is left; 0 at the end of
// the input.
std::size_t read_edited(std::span<char> bytes);
