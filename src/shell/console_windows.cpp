// Console commands on Windows: each literal command line is handed to the
// command interpreter, standard output flushed first so that the text
// before it is on screen.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "shell/console.hpp"
#include "shell/console_output.hpp"

namespace {

constexpr UINT chinese_code_page = 936;

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

std::string encode_code_page_936(std::string_view utf8) {
  return encode_for_code_page(utf8, chinese_code_page);
}

void write_to_stdout(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

void open_console() {
  std::ios::sync_with_stdio(false);
  // A console already switched to UTF-8 gets the texts as they are.
  const ConsoleEncoder encoder = ::GetConsoleOutputCP() == CP_UTF8 ? nullptr : encode_code_page_936;
  install_console_output(encoder, write_to_stdout);
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
