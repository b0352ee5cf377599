#pragma once

#include "console/console_output.hpp"

// The encoder for a console that reads GBK: nullptr unless the locale's
// character set is GBK or one of its relatives, and iconv can convert to it.
// The locale's LC_CTYPE must have been taken from the environment.
ConsoleEncoder gbk_encoder_for_locale();
