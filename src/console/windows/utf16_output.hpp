#pragma once

// How tavoro's text reaches standard output on Windows. A console is given
// the text as UTF-16, which it shows whatever its code page. A file or a
// pipe gets bytes, as a script reading them expects: code page 936, or
// UTF-8 where the console's output code page is 65001.

// Routes std::cout to the console or to the redirected standard output.
void install_windows_output();
