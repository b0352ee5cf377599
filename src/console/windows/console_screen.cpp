#include "console/windows/console_screen.hpp"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr SHORT columns = 55;
// The rows of tavoro's own buffer: the longest screen between two clearings,
// a year calendar of about 200 lines with the menu and the questions above
// it, with room to spare. Its scrollback holds nothing else.
constexpr SHORT own_rows = 400;

bool told = false;
ConsoleShown shown = ConsoleShown::unknown;
bool opened_once = false;
HANDLE own_screen = nullptr;
HANDLE shown_before = nullptr;  // the buffer the console showed before tavoro's

HANDLE user_screen() {
  return ::GetStdHandle(STD_OUTPUT_HANDLE);
}

HANDLE open_shown_screen() {
  return ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

ConsoleShown tell_console() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (::GetConsoleScreenBufferInfo(user_screen(), &info) == 0) {
    return ConsoleShown::unknown;
  }
  // In a pseudoconsole the console host makes the console's window one of
  // the class "PseudoConsoleWindow", never drawn (microsoft/terminal,
  // src/interactivity/base/InteractivityFactory.cpp, CreatePseudoWindow):
  // the terminal is what the user sees.
  HWND const window = ::GetConsoleWindow();
  std::array<wchar_t, 32> name{};
  if (window != nullptr &&
      ::GetClassNameW(window, name.data(), static_cast<int>(name.size())) > 0 &&
      std::wstring_view(name.data()) == L"PseudoConsoleWindow") {
    return ConsoleShown::terminal;
  }
  // A console window on the screen is the console's own (conhost's, or
  // Wine's wineconsole), whatever its scrollback.
  if (window != nullptr && ::IsWindowVisible(window) != 0) {
    return ConsoleShown::own_window;
  }
  // No window shown: a console that some terminal draws (an older
  // pseudoconsole gave no window; Wine's console in a terminal has a hidden
  // one). "Window and buffer size will match in a pseudoconsole session"
  // (Console-Docs, classic-vs-vt.md): a buffer with rows beyond its window
  // is no pseudoconsole's, and is told as neither.
  const COORD window_cells = window_size(info);
  if (info.dwSize.X == window_cells.X && info.dwSize.Y == window_cells.Y) {
    return ConsoleShown::terminal;
  }
  return ConsoleShown::unknown;
}

// Gives a buffer that is not shown yet the size buffer and a window of its
// width and of rows rows (or as many as the screen allows), at its top
// left; false where a step was refused. The window fits in the buffer at
// every step.
bool size_screen(HANDLE screen, COORD buffer, SHORT rows) {
  CONSOLE_SCREEN_BUFFER_INFO now{};
  if (::GetConsoleScreenBufferInfo(screen, &now) == 0) {
    return false;
  }
  const COORD shown_cells = window_size(now);
  const SMALL_RECT interim{0, 0, static_cast<SHORT>(std::min(shown_cells.X, buffer.X) - 1),
                           static_cast<SHORT>(std::min(shown_cells.Y, buffer.Y) - 1)};
  if (::SetConsoleWindowInfo(screen, TRUE, &interim) == 0 ||
      ::SetConsoleScreenBufferSize(screen, buffer) == 0 ||
      ::GetConsoleScreenBufferInfo(screen, &now) == 0) {
    return false;
  }
  // Where the screen cannot show 55 columns, the window is as wide as it can
  // be, and the console scrolls sideways.
  const auto width = std::min(buffer.X, now.dwMaximumWindowSize.X);
  const auto height = std::min({rows, buffer.Y, now.dwMaximumWindowSize.Y});
  const SMALL_RECT wanted{0, 0, static_cast<SHORT>(width - 1), static_cast<SHORT>(height - 1)};
  return ::SetConsoleWindowInfo(screen, TRUE, &wanted) != 0;
}

}  // namespace

COORD window_size(const CONSOLE_SCREEN_BUFFER_INFO& info) {
  return {static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1),
          static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1)};
}

ConsoleShown console_shown() {
  if (!told) {
    told = true;
    shown = tell_console();
  }
  return shown;
}

void open_own_screen() {
  if (opened_once) {
    return;
  }
  opened_once = true;
  CONSOLE_SCREEN_BUFFER_INFO found{};
  if (console_shown() != ConsoleShown::own_window ||
      ::GetConsoleScreenBufferInfo(user_screen(), &found) == 0) {
    return;
  }
  // The buffer shown now, by a handle of its own: Wine's standard output
  // follows whichever buffer is shown, and could not bring this one back.
  HANDLE const before = open_shown_screen();
  if (before == INVALID_HANDLE_VALUE) {
    return;
  }
  HANDLE const made =
      ::CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  const SHORT rows = window_size(found).Y;
  if (made == INVALID_HANDLE_VALUE ||
      !size_screen(made, {columns, std::max(own_rows, rows)}, rows) ||
      ::SetConsoleActiveScreenBuffer(made) == 0) {
    ::CloseHandle(before);
    if (made != INVALID_HANDLE_VALUE) {
      ::CloseHandle(made);
    }
    return;
  }
  shown_before = before;
  own_screen = made;
}

HANDLE screen() {
  return own_screen != nullptr ? own_screen : user_screen();
}

bool close_own_screen() {
  if (own_screen == nullptr) {
    return false;
  }
  // The console host gives the window the size of the buffer it shows.
  ::SetConsoleActiveScreenBuffer(shown_before);
  return true;
}
