#pragma once

#include <string>
#include <string_view>

// Standard output of the console. The texts are UTF-8 in the program; what
// reaches the console is UTF-8 or, where the console reads GBK, the GBK
// bytes of the same text. Output is held until a flush (every end-of-line
// and every question flushes), then written in one piece.

// Turns UTF-8 text into the bytes the console reads.
using ConsoleEncoder = std::string (*)(std::string_view utf8);
// Hands bytes to the console.
using ConsoleSink = void (*)(std::string_view bytes);

// Routes std::cout through encode (nullptr: UTF-8 as it is) into sink.
void install_console_output(ConsoleEncoder encode, ConsoleSink sink);

// The bytes the console gets for a UTF-8 text under the installed encoder.
std::string console_bytes(std::string_view utf8);

// The bytes written since the last end-of-line, as the console got them: a
// question or the pause request waiting for its answer. Safe in a signal
// handler, which writes it again when tavoro is continued after a stop.
std::string_view unfinished_line();
