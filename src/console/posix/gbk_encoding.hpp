#pragma once

#include <string>
#include <string_view>

#include "console/console_output.hpp"

// The encoder for a console that reads GBK: nullptr unless the locale's
// character set is GBK or one of its relatives, and iconv can convert to it.
// The locale's LC_CTYPE must have been taken from the environment.
ConsoleEncoder gbk_encoder_for_locale();

// The GBK bytes of a UTF-8 text. A byte that has no GBK form (not a text of
// tavoro's) is let through as it is, and the rest of the text converted.
std::string encode_gbk(std::string_view utf8);
