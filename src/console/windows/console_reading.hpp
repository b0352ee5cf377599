#pragma once

#include <cstddef>
#include <span>

// Standard input on Windows, as the dialogue reads it through std::cin
// (console_input.hpp: full-width digits and signs in their ASCII forms). A
// console is read as UTF-16 (ReadConsoleW), with the line editing and echo
// that the console has, so that what an input method typed arrives as typed
// under any code page, and reaches the dialogue as UTF-8; a file or a pipe
// is read as the bytes it holds, in code page 936, or UTF-8 where the
// console's input code page is 65001. Ctrl-Z ends the input where it
// stands, as the C runtime's text mode has it. Ctrl-C, which cuts a console
// read short, is no end of the input: the control handler ends tavoro for it.

// Routes std::cin through the console (console) or the redirected input.
void open_console_input(bool console);

// Fills bytes with what standard input has next, waiting until something
// comes; 0 at the end of the input. A read that fails ends the program as a
// write that fails does.
std::size_t read_console_input(std::span<char> bytes);
