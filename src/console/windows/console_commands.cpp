// Console commands on Windows, carried out on the console tavoro runs in
// through the console's own interface, as the interpreter's title, mode,
// color, cls and pause commands would; tavoro starts no other program. The
// width, the looks and the clearing act on the screen buffer tavoro writes
// in (console_screen.hpp), and only where it is a console, so that a file or
// a pipe receives the text alone. The console is given back when tavoro ends.

#include <windows.h>

#include <iostream>
#include <new>
#include <string_view>
#include <vector>

#include "console/console.hpp"
#include "console/windows/console_key.hpp"
#include "console/windows/console_reading.hpp"
#include "console/windows/console_screen.hpp"
#include "console/windows/console_state.hpp"
#include "console/windows/utf16_output.hpp"

namespace {

// The attributes of the looks, background in the high digit as the color
// command takes them.
constexpr WORD start_look = 0xf0;     // black on bright white
constexpr WORD accepted_look = 0xfa;  // light green on bright white
constexpr WORD rejected_look = 0x0c;  // light red on black

bool input_is_console = false;
int em_dash_width = 0;

// The screen buffer tavoro writes in, as it stands; false where it is none.
bool read_buffer(CONSOLE_SCREEN_BUFFER_INFO& info) {
  return ::GetConsoleScreenBufferInfo(screen(), &info) != 0;
}

DWORD cells(const CONSOLE_SCREEN_BUFFER_INFO& info) {
  return static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
}

// How many columns the console advances the cursor by for an em dash: one
// is written at the start of the cursor's row and the row is then written
// back as it was, the cursor where it stood. 0 where nothing was measured.
int measure_em_dash() {
  CONSOLE_SCREEN_BUFFER_INFO before{};
  if (!read_buffer(before)) {
    return 0;
  }
  const SHORT row = before.dwCursorPosition.Y;
  SMALL_RECT region{0, row, static_cast<SHORT>(before.dwSize.X - 1), row};
  std::vector<CHAR_INFO> cells;
  try {
    cells.resize(static_cast<std::size_t>(before.dwSize.X));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  const COORD size{before.dwSize.X, 1};
  if (::ReadConsoleOutputW(screen(), cells.data(), size, {0, 0}, &region) == 0) {
    return 0;
  }
  CONSOLE_SCREEN_BUFFER_INFO after{};
  DWORD written = 0;
  const bool drawn = ::SetConsoleCursorPosition(screen(), {0, row}) != 0 &&
                     ::WriteConsoleW(screen(), L"\u2014", 1, &written, nullptr) != 0 &&
                     read_buffer(after) && after.dwCursorPosition.Y == row;
  ::WriteConsoleOutputW(screen(), cells.data(), size, {0, 0}, &region);
  ::SetConsoleCursorPosition(screen(), before.dwCursorPosition);
  const int columns = drawn ? after.dwCursorPosition.X : 0;
  return columns == 1 || columns == 2 ? columns : 0;
}

// Every cell of the buffer, text already shown included, and the text
// written after it.
void set_look(WORD attributes) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!read_buffer(info)) {
    return;
  }
  DWORD done = 0;
  ::FillConsoleOutputAttribute(screen(), attributes, cells(info), {0, 0}, &done);
  ::SetConsoleTextAttribute(screen(), attributes);
}

// In a pseudoconsole, the terminal's own scrollback cleared as the console
// host clears it for cmd's cls and PowerShell's Clear-Host (microsoft/
// terminal, src/host/getset.cpp and _output.cpp, with the sequences of
// WriteClearScreen in _stream.cpp): with virtual terminal processing on for
// the moment (Console-Docs, "Clearing the screen", example 1), the cursor
// home, the window and the scrollback cleared, the mode given back. A
// console that does not take the mode gets nothing.
void clear_terminal_history() {
  DWORD mode = 0;
  if (::GetConsoleMode(screen(), &mode) == 0 ||
      ::SetConsoleMode(screen(), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) == 0) {
    return;
  }
  constexpr std::wstring_view sequences = L"\x1b[H\x1b[2J\x1b[3J";
  DWORD written = 0;
  ::WriteConsoleW(screen(), sequences.data(), static_cast<DWORD>(sequences.size()), &written,
                  nullptr);
  ::SetConsoleMode(screen(), mode);
}

// The whole buffer blanked in the look in force, its scrollback included,
// the cursor and the window at its top left; in a pseudoconsole the
// terminal's scrollback too. The blanking comes after the sequences, so
// that a console that keeps them as characters (Wine's) shows none.
void clear() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!read_buffer(info)) {
    return;
  }
  note_clearing();
  if (console_shown() == ConsoleShown::terminal) {
    clear_terminal_history();
  }
  DWORD done = 0;
  ::FillConsoleOutputCharacterW(screen(), L' ', cells(info), {0, 0}, &done);
  ::FillConsoleOutputAttribute(screen(), info.wAttributes, cells(info), {0, 0}, &done);
  const COORD window = window_size(info);
  const SMALL_RECT top{0, 0, static_cast<SHORT>(window.X - 1), static_cast<SHORT>(window.Y - 1)};
  ::SetConsoleWindowInfo(screen(), TRUE, &top);
  ::SetConsoleCursorPosition(screen(), {0, 0});
}

void change_console(ConsoleCommand command) {
  const auto lock = console_change();
  if (console_given_back()) {
    return;
  }
  switch (command) {
    case ConsoleCommand::title:
      ::SetConsoleTitleW(L"C++Tavoro程序");
      break;
    case ConsoleCommand::width:
      open_own_screen();
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
  HANDLE const input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD modes = 0;
  input_is_console = ::GetConsoleMode(input, &modes) != 0;
  open_console_input(input_is_console);
  const auto lock = console_change();
  note_console();
  em_dash_width = measure_em_dash();
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

int em_dash_columns() {
  return em_dash_width;
}

void close_console() {
  std::cout.flush();
  give_console_back();
}
