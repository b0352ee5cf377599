#pragma once

#include <string>
#include <string_view>

// How tavoro's text reaches standard output on Windows. A console is given
// the text as UTF-16, which it shows whatever its code page. A file or a
// pipe gets bytes, as a script reading them expects: code page 936, or
// UTF-8 where the console's output code page is 65001.

// open_console_output, declared with the console commands, routes std::cout
// to the console or to the redirected standard output.

// The UTF-16 of a UTF-8 text, as a console takes it.
std::wstring to_utf16(std::string_view utf8);

// The code page 936 bytes of a UTF-8 text, as a file or a pipe gets them.
std::string encode_code_page_936(std::string_view utf8);
