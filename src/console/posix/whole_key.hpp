#pragma once

#include <string_view>

// Whether bytes, read from the terminal one at a time since a key began,
// make one whole key yet: a character (several bytes in a multi-byte
// locale, read with the locale's LC_CTYPE), an arrow or function key's
// escape sequence (CSI up to its final byte, SS3 and its letter), an OSC
// string up to its end (a terminal's report, never a key, but taken whole
// all the same), or Escape and a character (Alt and a key). A lone
// Escape is never whole: whether more is coming only a short wait tells.
bool is_whole_key(std::string_view bytes);
