// Console commands on Windows: each literal command line is handed to the
// command interpreter, standard output flushed first so that the text
// before it is on screen; but cls only where standard output is a console,
// and pause only where standard input is one.

#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <string_view>

#include "console/console.hpp"
#include "console/windows/utf16_output.hpp"

namespace {

bool input_is_console = false;
bool output_is_console = false;

bool is_console(DWORD standard_handle) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(standard_handle), &mode) != 0;
}

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
  open_console_output();
  input_is_console = is_console(STD_INPUT_HANDLE);
  output_is_console = is_console(STD_OUTPUT_HANDLE);
}

void run_console_command(ConsoleCommand command) {
  std::cout.flush();
  if (command == ConsoleCommand::clear && !output_is_console) {
    // The interpreter's cls clears a console only; into a file or a pipe it
    // writes a form feed, which has no place in a transcript.
    return;
  }
  if (command == ConsoleCommand::pause && !input_is_console) {
    // The interpreter's pause would take its key from the same file or pipe
    // as the answers, and so swallow one of them. Nobody is there to press
    // a key: the request is written and the dialogue goes on.
    std::cout << pause_request << std::endl;
    return;
  }
  // With the output in a file or a pipe, the interpreter's pause writes its
  // request there, and the end of the line after the key: what is written
  // above for want of a key, so nothing is added to it.
  static_cast<void>(::_wsystem(interpreter_line(command)));
}

// The console draws an em dash two columns wide, as the calendars expect.
int em_dash_columns() {
  return 0;
}

void close_console() {
  std::cout.flush();
}
