#include "console/windows/console_state.hpp"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "console/windows/console_size.hpp"

namespace {

// A console call moves a limited amount at once: attributes go in slices.
constexpr std::size_t cells_a_call = 16384;

struct NotedConsole {
  bool attached = false;
  std::array<wchar_t, 1024> title{};
  bool input_noted = false;
  DWORD input_modes = 0;
  bool output_noted = false;
  CONSOLE_SCREEN_BUFFER_INFO output{};
  std::vector<WORD> cell_attributes;  // row after row, the buffer's width each
};

NotedConsole noted;
std::mutex change_lock;
bool given_back = false;

// Reads (or, writing, puts back) the attributes of every cell, slice by slice.
bool move_attributes(HANDLE output, std::vector<WORD>& cells, bool writing) {
  const std::size_t width = std::max<SHORT>(noted.output.dwSize.X, 1);
  const std::size_t rows_a_call = std::max<std::size_t>(cells_a_call / width, 1);
  for (std::size_t row = 0; row * width < cells.size(); row += rows_a_call) {
    WORD* const slice = cells.data() + row * width;
    const auto count =
        static_cast<DWORD>(std::min(rows_a_call * width, cells.size() - row * width));
    const COORD at{0, static_cast<SHORT>(row)};
    DWORD moved = 0;
    const BOOL done = writing ? ::WriteConsoleOutputAttribute(output, slice, count, at, &moved)
                              : ::ReadConsoleOutputAttribute(output, slice, count, at, &moved);
    if (done == 0 || moved != count) {
      return false;
    }
  }
  return true;
}

void give_back_unlocked() {
  if (given_back) {
    return;
  }
  given_back = true;
  HANDLE const output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (noted.output_noted) {
    const COORD window = window_size(noted.output);
    resize_console(output, noted.output.dwSize, window.X, window.Y);
    if (!noted.cell_attributes.empty()) {
      move_attributes(output, noted.cell_attributes, true);
    }
    ::SetConsoleTextAttribute(output, noted.output.wAttributes);
  }
  if (noted.attached) {
    ::SetConsoleTitleW(noted.title.data());
  }
  if (noted.input_noted) {
    ::SetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), noted.input_modes);
  }
}

// Ctrl-C, Ctrl-Break and the closing of the window end tavoro as they
// would have, by the handlers after this one, with the console given back.
BOOL WINAPI end_by_control(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  change_lock.lock();  // never unlocked: the process ends next
  give_back_unlocked();
  return FALSE;
}

}  // namespace

void note_console() {
  noted.attached = ::GetConsoleCP() != 0;
  if (noted.attached) {
    ::GetConsoleTitleW(noted.title.data(), static_cast<DWORD>(noted.title.size()));
  }
  noted.input_noted = ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &noted.input_modes) != 0;
  HANDLE const output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (::GetConsoleScreenBufferInfo(output, &noted.output) != 0) {
    noted.cell_attributes.resize(static_cast<std::size_t>(noted.output.dwSize.X) *
                                 static_cast<std::size_t>(noted.output.dwSize.Y));
    noted.output_noted = true;
    if (!move_attributes(output, noted.cell_attributes, false)) {
      noted.cell_attributes.clear();  // unread, they keep the last look when given back
    }
  }
  ::SetConsoleCtrlHandler(end_by_control, TRUE);
}

std::unique_lock<std::mutex> console_change() {
  return std::unique_lock(change_lock);
}

void give_console_back() {
  const std::lock_guard lock(change_lock);
  give_back_unlocked();
}
