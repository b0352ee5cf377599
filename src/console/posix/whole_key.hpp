#pragma once

#include <cstddef>
#include <string_view>

#include "console/console_input.hpp"

// How many of bytes, read from the terminal since a key began, make the
// first key, in the encoding tavoro writes (the terminal types in the
// encoding it reads): a character (several bytes in UTF-8 or GBK), an arrow
// or function key's escape sequence (CSI up to its final byte, the Linux
// console's ESC [ [ and a letter, SS3 with or without a modifier and its
// letter), or Escape and a key (Alt and that key). 0 while more must come:
// a lone Escape, or a sequence or character cut off, which only a short
// wait tells from a key of its own. A byte that begins none of these is a
// key on its own, and so is a character or sequence broken off by a byte
// that cannot continue it, up to that byte.
std::size_t whole_key_length(std::string_view bytes, InputEncoding encoding);
