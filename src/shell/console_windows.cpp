// Console commands on Windows: each literal command line is handed to the
// command interpreter, standard output flushed first so that the text
// before it is on screen.

#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "shell/console.hpp"
#include "shell/console_windows_output.hpp"

namespace {

std::string encode_for_code_page(std::string_view utf8, UINT code_page) {
  if (utf8.empty()) {
    return {};
  }
  const int length = static_cast<int>(utf8.size());
  const int wide_length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), wide_length);
  const int narrow_length =
      ::WideCharToMultiByte(code_page, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(narrow_length), '\0');
  ::WideCharToMultiByte(code_page, 0, wide.data(), wide_length, narrow.data(), narrow_length,
                        nullptr, nullptr);
  return narrow;
}

}  // namespace

void open_console() {
  std::ios::sync_with_stdio(false);
  install_windows_output();
}

void run_console_command(ConsoleCommand command) {
  std::cout.flush();
  // The command interpreter reads its command line in the ANSI code page,
  // whatever the console's output code page is.
  const std::string line = encode_for_code_page(command_line(command), CP_ACP);
  static_cast<void>(std::system(line.c_str()));
}

void close_console() {
  std::cout.flush();
}
