#include "console/windows/console_size.hpp"

#include <algorithm>

namespace {

constexpr SHORT columns = 55;

struct Sizes {
  bool changed = false;                // tavoro asked for a size
  CONSOLE_SCREEN_BUFFER_INFO found{};  // as tavoro found it
  CONSOLE_SCREEN_BUFFER_INFO left{};   // as tavoro left it
};

Sizes sizes;
bool narrowed_once = false;

bool same(COORD one, COORD other) {
  return one.X == other.X && one.Y == other.Y;
}

// Gives the buffer the size buffer and its window width by height from
// column left, never larger than the screen allows once the buffer is
// sized, and moved as little as it must to keep the cursor in view. The
// window never leaves the buffer on the way. False where a step was refused.
bool resize_console(HANDLE output, COORD buffer, COORD window, SHORT left) {
  CONSOLE_SCREEN_BUFFER_INFO now{};
  if (::GetConsoleScreenBufferInfo(output, &now) == 0) {
    return false;
  }
  if (!same(now.dwSize, buffer)) {
    // First a window that fits in the buffer both before and after.
    const COORD shown = window_size(now);
    const auto narrow = std::min(shown.X, buffer.X);
    const auto low = std::min(shown.Y, buffer.Y);
    const auto top = static_cast<SHORT>(std::min<int>(now.srWindow.Top, buffer.Y - low));
    const SMALL_RECT interim{0, top, static_cast<SHORT>(narrow - 1),
                             static_cast<SHORT>(top + low - 1)};
    if (::SetConsoleWindowInfo(output, TRUE, &interim) == 0 ||
        ::SetConsoleScreenBufferSize(output, buffer) == 0 ||
        ::GetConsoleScreenBufferInfo(output, &now) == 0) {
      return false;
    }
  }
  const int width = std::min<int>({window.X, now.dwMaximumWindowSize.X, buffer.X});
  const int rows = std::min<int>({window.Y, now.dwMaximumWindowSize.Y, buffer.Y});
  const int from = std::clamp<int>(left, 0, buffer.X - width);
  int top = std::min<int>(now.srWindow.Top, buffer.Y - rows);
  top = std::clamp<int>(top, now.dwCursorPosition.Y - rows + 1, now.dwCursorPosition.Y);
  top = std::max(top, 0);
  const SMALL_RECT wanted{static_cast<SHORT>(from), static_cast<SHORT>(top),
                          static_cast<SHORT>(from + width - 1), static_cast<SHORT>(top + rows - 1)};
  return ::SetConsoleWindowInfo(output, TRUE, &wanted) != 0;
}

}  // namespace

COORD window_size(const CONSOLE_SCREEN_BUFFER_INFO& info) {
  return {static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1),
          static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1)};
}

void narrow_console(HANDLE output) {
  if (narrowed_once) {
    return;
  }
  narrowed_once = true;
  CONSOLE_SCREEN_BUFFER_INFO& found = sizes.found;
  if (::GetConsoleScreenBufferInfo(output, &found) == 0) {
    return;
  }
  const COORD window = window_size(found);
  const bool terminal_hosted = found.dwSize.Y <= window.Y;
  if (terminal_hosted || (window.X == columns && found.srWindow.Left == 0)) {
    return;
  }
  sizes.changed = true;
  const COORD buffer{std::max(found.dwSize.X, columns), found.dwSize.Y};
  resize_console(output, buffer, {columns, window.Y}, 0);
  if (::GetConsoleScreenBufferInfo(output, &sizes.left) == 0) {
    sizes.changed = false;
  }
}

void give_size_back(HANDLE output) {
  CONSOLE_SCREEN_BUFFER_INFO now{};
  if (!sizes.changed || ::GetConsoleScreenBufferInfo(output, &now) == 0) {
    return;
  }
  const bool buffer_ours = same(now.dwSize, sizes.left.dwSize);
  const bool window_ours = same(window_size(now), window_size(sizes.left));
  const COORD buffer = buffer_ours ? sizes.found.dwSize : now.dwSize;
  const CONSOLE_SCREEN_BUFFER_INFO& window = window_ours ? sizes.found : now;
  if (buffer_ours || window_ours) {
    resize_console(output, buffer, window_size(window), window.srWindow.Left);
  }
}
