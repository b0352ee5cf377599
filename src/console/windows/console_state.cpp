#include "console/windows/console_state.hpp"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "console/windows/console_screen.hpp"

namespace {

// A console call moves a limited amount at once: cells go in slices.
constexpr std::size_t cells_a_call = 8192;
// Beyond this many cells of earlier text (16 MB of attributes), the buffer
// is too large to note, and its cells are given back in the noted attribute.
constexpr std::size_t most_cells_noted = std::size_t{1} << 23;
// The longest title a console holds: less than 64K bytes.
constexpr std::size_t longest_title = 32767;

// The user's earlier text: the rows above the cursor as tavoro found them,
// and the cells of the cursor's row left of it. Each row is noted by a hash
// of its characters, so that it can be found again if the buffer has
// scrolled, and by its attributes.
struct EarlierText {
  SHORT width = 0;
  SHORT cursor_row = 0;
  SHORT cursor_column = 0;
  std::vector<std::uint64_t> row_hashes;  // cursor_row + 1 rows
  std::vector<WORD> attributes;           // row after row, width cells each
};

struct NotedConsole {
  bool title_noted = false;
  std::wstring title;
  bool output_noted = false;
  WORD text_attributes = 0;
  bool text_noted = false;
  EarlierText text;
};

NotedConsole noted;
std::mutex change_lock;
bool given_back = false;
bool cleared = false;
std::atomic<bool> control_event{false};

HANDLE output() {
  return ::GetStdHandle(STD_OUTPUT_HANDLE);
}

// A hash of the characters of cells [0, count) of a row: FNV-1a.
std::uint64_t row_hash(const CHAR_INFO* cells, std::size_t count) {
  std::uint64_t hash = 14695981039346656037U;
  for (std::size_t cell = 0; cell < count; ++cell) {
    hash = (hash ^ cells[cell].Char.UnicodeChar) * 1099511628211U;
  }
  return hash;
}

// Calls each(row, cells) for the rows [0, rows) of a buffer width cells wide,
// as they stand; false where a read was refused.
template <typename Each>
bool read_rows(SHORT width, SHORT rows, Each each) {
  const auto rows_a_call = static_cast<SHORT>(
      std::clamp<std::size_t>(cells_a_call / static_cast<std::size_t>(width), 1, 0x7fff));
  std::vector<CHAR_INFO> slice(static_cast<std::size_t>(width) * rows_a_call);
  for (SHORT top = 0; top < rows; top = static_cast<SHORT>(top + rows_a_call)) {
    const auto count = static_cast<SHORT>(std::min<int>(rows_a_call, rows - top));
    SMALL_RECT region{0, top, static_cast<SHORT>(width - 1), static_cast<SHORT>(top + count - 1)};
    if (::ReadConsoleOutputW(output(), slice.data(), {width, count}, {0, 0}, &region) == 0) {
      return false;
    }
    for (SHORT row = 0; row < count; ++row) {
      each(static_cast<SHORT>(top + row), slice.data() + static_cast<std::size_t>(row) * width);
    }
  }
  return true;
}

// Notes the user's earlier text; false where it is too large or unreadable.
bool note_earlier_text(const CONSOLE_SCREEN_BUFFER_INFO& info) {
  EarlierText& text = noted.text;
  text.width = info.dwSize.X;
  text.cursor_row = info.dwCursorPosition.Y;
  text.cursor_column = info.dwCursorPosition.X;
  const auto width = static_cast<std::size_t>(std::max<SHORT>(text.width, 1));
  const auto rows = static_cast<std::size_t>(text.cursor_row) + 1;
  if (width * rows > most_cells_noted) {
    return false;
  }
  try {
    text.row_hashes.resize(rows);
    text.attributes.resize(width * rows);
    return read_rows(text.width, static_cast<SHORT>(rows), [&](SHORT row, const CHAR_INFO* cells) {
      const std::size_t kept = row == text.cursor_row ? text.cursor_column : width;
      text.row_hashes[static_cast<std::size_t>(row)] = row_hash(cells, kept);
      for (std::size_t cell = 0; cell < width; ++cell) {
        text.attributes[static_cast<std::size_t>(row) * width + cell] = cells[cell].Attributes;
      }
    });
  } catch (const std::bad_alloc&) {
    text.row_hashes = {};
    text.attributes = {};
    return false;
  }
}

// The rows the buffer has scrolled up by since the user's text was noted,
// found by the rows of that text that are still there; -1 where none is.
int rows_scrolled(const CONSOLE_SCREEN_BUFFER_INFO& now) {
  const EarlierText& text = noted.text;
  const auto width = static_cast<std::size_t>(text.width);
  const auto rows = static_cast<SHORT>(std::min<int>(now.dwSize.Y, text.cursor_row + 1));
  std::vector<std::uint64_t> hashes(static_cast<std::size_t>(rows));
  if (now.dwSize.X != text.width ||
      !read_rows(text.width, rows, [&](SHORT row, const CHAR_INFO* cells) {
        hashes[static_cast<std::size_t>(row)] = row_hash(cells, width);
      })) {
    return -1;
  }
  for (int shift = 0; shift <= text.cursor_row; ++shift) {
    bool kept = true;
    // From the last row of the text, which is the likeliest to differ.
    for (int row = text.cursor_row - shift; kept && row >= 0; --row) {
      if (row >= rows) {
        kept = false;
      } else if (row + shift == text.cursor_row) {
        // The cursor's row: only its cells left of the cursor were the user's.
        std::vector<CHAR_INFO> cells(width);
        SMALL_RECT region{0, static_cast<SHORT>(row), static_cast<SHORT>(width - 1),
                          static_cast<SHORT>(row)};
        kept =
            ::ReadConsoleOutputW(output(), cells.data(), {text.width, 1}, {0, 0}, &region) != 0 &&
            row_hash(cells.data(), text.cursor_column) ==
                text.row_hashes[static_cast<std::size_t>(text.cursor_row)];
      } else {
        kept = hashes[static_cast<std::size_t>(row)] ==
               text.row_hashes[static_cast<std::size_t>(row) + shift];
      }
    }
    if (kept) {
      return shift;
    }
  }
  return -1;
}

// Every cell in the attribute the user's text was written in; where no
// clearing happened, the cells of the user's earlier text that are still
// there in the colours they had, wherever the buffer has scrolled them to.
void give_colours_back() {
  CONSOLE_SCREEN_BUFFER_INFO now{};
  if (::GetConsoleScreenBufferInfo(output(), &now) == 0) {
    return;
  }
  DWORD done = 0;
  const DWORD cells = static_cast<DWORD>(now.dwSize.X) * static_cast<DWORD>(now.dwSize.Y);
  ::FillConsoleOutputAttribute(output(), noted.text_attributes, cells, {0, 0}, &done);
  ::SetConsoleTextAttribute(output(), noted.text_attributes);
  if (cleared || !noted.text_noted) {
    return;
  }
  int shift = -1;
  try {
    shift = rows_scrolled(now);
  } catch (const std::bad_alloc&) {
    return;  // in the noted attribute, as where nothing was noted
  }
  if (shift < 0) {
    return;
  }
  const EarlierText& text = noted.text;
  const auto width = static_cast<std::size_t>(text.width);
  const std::size_t from = static_cast<std::size_t>(shift) * width;
  const std::size_t to = static_cast<std::size_t>(text.cursor_row) * width + text.cursor_column;
  for (std::size_t start = from; start < to; start += cells_a_call) {
    const auto count = static_cast<DWORD>(std::min(cells_a_call, to - start));
    const COORD at{static_cast<SHORT>((start - from) % width),
                   static_cast<SHORT>((start - from) / width)};
    ::WriteConsoleOutputAttribute(output(), text.attributes.data() + start, count, at, &done);
  }
}

// Ctrl-C and Ctrl-Break end tavoro as Windows ends a program for them, with
// the console given back. When the window is being closed, the console is
// going away and its functions may fail: Windows ends tavoro at once.
BOOL WINAPI end_by_control(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
    return FALSE;
  }
  control_event = true;
  change_lock.lock();  // never unlocked: the process ends next
  give_back_locked();
  ::TerminateProcess(::GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
  return TRUE;
}

}  // namespace

void note_console() {
  if (::GetConsoleCP() != 0) {
    std::wstring title(256, L'\0');
    for (;;) {
      const DWORD length = ::GetConsoleTitleW(title.data(), static_cast<DWORD>(title.size()));
      if (length + 1 < title.size() || title.size() > longest_title) {
        title.resize(std::min<std::size_t>(length, title.size() - 1));
        break;
      }
      title.resize(std::max<std::size_t>(length + 1, title.size() * 2));
    }
    noted.title = title;
    noted.title_noted = true;
  }
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (::GetConsoleScreenBufferInfo(output(), &info) != 0) {
    noted.output_noted = true;
    noted.text_attributes = info.wAttributes;
    noted.text_noted = note_earlier_text(info);
  }
  ::SetConsoleCtrlHandler(end_by_control, TRUE);
}

std::unique_lock<std::mutex> console_change() {
  return std::unique_lock(change_lock);
}

bool console_given_back() {
  return given_back;
}

void note_clearing() {
  cleared = true;
}

bool control_event_seen() {
  return control_event;
}

void give_back_locked() {
  if (given_back) {
    return;
  }
  given_back = true;
  // tavoro's own screen buffer leaves the user's as it was.
  if (!close_own_screen() && noted.output_noted) {
    give_colours_back();
  }
  if (noted.title_noted) {
    ::SetConsoleTitleW(noted.title.c_str());
  }
}

void give_console_back() {
  const std::lock_guard lock(change_lock);
  give_back_locked();
}
