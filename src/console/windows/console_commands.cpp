// Console commands on Windows: each literal command line is handed to the
// command interpreter, standard output flushed first so that the text
// before it is on screen.

#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <string_view>

#include "console/console.hpp"
#include "console/windows/utf16_output.hpp"

namespace {

bool input_is_console = false;

// The command lines as the interpreter reads them, in UTF-16: narrowed to
// the ANSI code page, the title would lose its Han characters wherever
// that code page is not 936.
const wchar_t* interpreter_line(ConsoleCommand command) {
  switch (command) {
    case ConsoleCommand::title:
      return L"title C++Tavoro程序";
    case ConsoleCommand::width:
      return L"mode con cols=55";
    case ConsoleCommand::look_start:
      return L"color f0";
    case ConsoleCommand::look_accepted:
      return L"color fa";
    case ConsoleCommand::look_rejected:
      return L"color c";
    case ConsoleCommand::clear:
      return L"cls";
    case ConsoleCommand::pause:
      return L"pause";
  }
  return L"";
}

}  // namespace

void open_console() {
  std::ios::sync_with_stdio(false);
  install_windows_output();
  DWORD mode = 0;
  input_is_console = ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

void run_console_command(ConsoleCommand command) {
  std::cout.flush();
  if (command == ConsoleCommand::pause && !input_is_console) {
    // The interpreter's pause would take its key from the same file or pipe
    // as the answers, and so swallow one of them. Nobody is there to press
    // a key: the request is written and the dialogue goes on.
    std::cout << pause_request << std::endl;
    return;
  }
  static_cast<void>(::_wsystem(interpreter_line(command)));
}

// The console draws an em dash two columns wide, as the calendars expect.
int em_dash_columns() {
  return 0;
}

void close_console() {
  std::cout.flush();
}
