#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// How tavoro's text reaches standard output on Windows. A console is given
// the text as UTF-16, which it shows whatever its code page. A file or a
// pipe gets bytes, as a script reading them expects: code page 936, or
// UTF-8 where the console's output code page is 65001.

// How text is handed to a console: WriteConsoleW, or a stand-in for the
// console that a test puts in its place (before open_console_output). A
// write that fails, or that reports success with nothing written, ends
// tavoro with status 1 and the reason, as for a file or a pipe.
using ConsoleWrite = BOOL(WINAPI*)(HANDLE console, const void* text, DWORD length, DWORD* written,
                                   void* reserved);
void use_console_write(ConsoleWrite write);

// open_console_output, declared with the console commands, routes std::cout
// to the console or to the redirected standard output.

// The UTF-16 of text in code_page (tavoro's own texts are UTF-8), as a
// console takes it.
std::wstring to_utf16(std::string_view bytes, UINT code_page = CP_UTF8);

// The bytes of a UTF-16 text in code_page.
std::string from_utf16(std::wstring_view wide, UINT code_page);

// The code page of standard output when it is a file or a pipe: 936, the
// Chinese one that scripts reading it expect, or 65001 where the console
// was switched to UTF-8.
UINT redirected_code_page();
