#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <streambuf>

// Standard input of the console, as the dialogue reads it through std::cin.
// A Chinese input method left in full-width mode types digits and signs in
// forms of their own; those forms reach the dialogue as their ASCII forms,
// so that a number the user plainly typed is read as one:
//   the full-width digits ０ to ９ (U+FF10 to U+FF19) as 0 to 9,
//   the full-width ＋ (U+FF0B) as +, the full-width － (U+FF0D) and the
//   minus sign − (U+2212) as -, the ideographic space (U+3000) as a space.
// Every other byte goes through as it came.

// The encoding the console's input arrives in.
enum class InputEncoding { utf8, gbk };

// Fills bytes with what the console has next for the dialogue, waiting until
// something comes; returns how many bytes it put there, 0 at the end of the
// input. A source that cannot read ends the program itself, as a sink that
// cannot write does.
using ConsoleSource = std::size_t (*)(std::span<char> bytes);

// Routes std::cin through source, its input read in encoding.
void install_console_input(InputEncoding encoding, ConsoleSource source);

// The stream buffer install_console_input gives std::cin, for a reader of
// its own.
std::unique_ptr<std::streambuf> console_input_buffer(InputEncoding encoding, ConsoleSource source);
