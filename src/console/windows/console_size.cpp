#include "console/windows/console_size.hpp"

#include <algorithm>

COORD window_size(const CONSOLE_SCREEN_BUFFER_INFO& info) {
  return {static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1),
          static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1)};
}

bool resize_console(HANDLE output, COORD buffer, SHORT columns, SHORT rows) {
  CONSOLE_SCREEN_BUFFER_INFO now{};
  if (::GetConsoleScreenBufferInfo(output, &now) == 0) {
    return false;
  }
  // First a window that fits in the buffer both before and after.
  const COORD window = window_size(now);
  const auto narrow = std::min(window.X, buffer.X);
  const auto low = std::min(window.Y, buffer.Y);
  const auto interim_top = static_cast<SHORT>(std::min<int>(now.srWindow.Top, buffer.Y - low));
  const SMALL_RECT interim{0, interim_top, static_cast<SHORT>(narrow - 1),
                           static_cast<SHORT>(interim_top + low - 1)};
  if (::SetConsoleWindowInfo(output, TRUE, &interim) == 0 ||
      ::SetConsoleScreenBufferSize(output, buffer) == 0 ||
      ::GetConsoleScreenBufferInfo(output, &now) == 0) {
    return false;
  }
  // Then the window asked for, from where it was, but never hiding the cursor.
  int top = std::min<int>(now.srWindow.Top, buffer.Y - rows);
  top = std::clamp<int>(top, now.dwCursorPosition.Y - rows + 1, now.dwCursorPosition.Y);
  top = std::max(top, 0);
  const SMALL_RECT wanted{0, static_cast<SHORT>(top), static_cast<SHORT>(columns - 1),
                          static_cast<SHORT>(top + rows - 1)};
  return ::SetConsoleWindowInfo(output, TRUE, &wanted) != 0;
}
