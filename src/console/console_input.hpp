#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

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

// Appends bytes to ascii with the forms above in their ASCII forms, and
// returns how many bytes of bytes it took: all of them, but for the start of
// a character cut off at their end, which may yet be one of the forms, unless
// the input ends there (ended).
std::size_t append_ascii_forms(std::string_view bytes, InputEncoding encoding, bool ended,
                               std::string& ascii);
