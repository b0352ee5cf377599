// Console commands on Windows, carried out on the console tavoro runs in
// through the console's own interface, as the interpreter's title, mode,
// color, cls and pause commands would; tavoro starts no other program. The
// width, the looks and the clearing act on standard output's screen buffer,
// and only where it is a console, so that a file or a pipe receives the text
// alone. The console is given back as it was found when tavoro ends.

#include <windows.h>

#include <iostream>

#include "console/console.hpp"
#include "console/windows/console_key.hpp"
#include "console/windows/console_size.hpp"
#include "console/windows/console_state.hpp"
#include "console/windows/utf16_output.hpp"

namespace {

constexpr SHORT columns = 55;

// The attributes of the looks, background in the high digit as the color
// command takes them.
constexpr WORD start_look = 0xf0;     // black on bright white
constexpr WORD accepted_look = 0xfa;  // light green on bright white
constexpr WORD rejected_look = 0x0c;  // light red on black

bool input_is_console = false;

HANDLE output() {
  return ::GetStdHandle(STD_OUTPUT_HANDLE);
}

// Standard output's screen buffer as it stands; false where it is none.
bool read_buffer(CONSOLE_SCREEN_BUFFER_INFO& info) {
  return ::GetConsoleScreenBufferInfo(output(), &info) != 0;
}

DWORD cells(const CONSOLE_SCREEN_BUFFER_INFO& info) {
  return static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
}

// 55 columns, the rows of the window and the lines of the scrollback kept.
// Where the host keeps its own width (Windows Terminal) or refuses the
// size, the buffer and the window are put back as they were: nothing else
// changes there.
void set_width() {
  CONSOLE_SCREEN_BUFFER_INFO found{};
  if (!read_buffer(found)) {
    return;
  }
  const COORD window = window_size(found);
  if (found.dwSize.X == columns && window.X == columns) {
    return;
  }
  CONSOLE_SCREEN_BUFFER_INFO now{};
  if (!resize_console(output(), {columns, found.dwSize.Y}, columns, window.Y) ||
      !read_buffer(now) || window_size(now).X != columns) {
    resize_console(output(), found.dwSize, window.X, window.Y);
  }
}

// Every cell of the buffer, text already shown included, and the text
// written after it.
void set_look(WORD attributes) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!read_buffer(info)) {
    return;
  }
  DWORD done = 0;
  ::FillConsoleOutputAttribute(output(), attributes, cells(info), {0, 0}, &done);
  ::SetConsoleTextAttribute(output(), attributes);
}

// The whole buffer blanked in the look in force, the cursor and the window
// at its top left.
void clear() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!read_buffer(info)) {
    return;
  }
  DWORD done = 0;
  ::FillConsoleOutputCharacterW(output(), L' ', cells(info), {0, 0}, &done);
  ::FillConsoleOutputAttribute(output(), info.wAttributes, cells(info), {0, 0}, &done);
  const COORD window = window_size(info);
  const SMALL_RECT top{0, 0, static_cast<SHORT>(window.X - 1), static_cast<SHORT>(window.Y - 1)};
  ::SetConsoleWindowInfo(output(), TRUE, &top);
  ::SetConsoleCursorPosition(output(), {0, 0});
}

void change_console(ConsoleCommand command) {
  const auto lock = console_change();
  switch (command) {
    case ConsoleCommand::title:
      ::SetConsoleTitleW(L"C++Tavoro程序");
      break;
    case ConsoleCommand::width:
      set_width();
      break;
    case ConsoleCommand::look_start:
      set_look(start_look);
      break;
    case ConsoleCommand::look_accepted:
      set_look(accepted_look);
      break;
    case ConsoleCommand::look_rejected:
      set_look(rejected_look);
      break;
    case ConsoleCommand::clear:
      clear();
      break;
    case ConsoleCommand::pause:
      break;  // changes nothing of the console, and waits outside the lock
  }
}

}  // namespace

void open_console() {
  open_console_output();
  DWORD modes = 0;
  input_is_console = ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &modes) != 0;
  note_console();
}

void run_console_command(ConsoleCommand command) {
  std::cout.flush();
  if (command != ConsoleCommand::pause) {
    change_console(command);
    return;
  }
  // The request goes wherever the text goes, the end of its line after the
  // key; where nobody can press one, as at once.
  std::cout << pause_request;
  std::cout.flush();
  if (input_is_console) {
    wait_for_key_press(::GetStdHandle(STD_INPUT_HANDLE));
  }
  std::cout << std::endl;
}

// The console draws an em dash two columns wide, as the calendars expect.
int em_dash_columns() {
  return 0;
}

void close_console() {
  std::cout.flush();
  give_console_back();
}
