#include "console/windows/console_reading.hpp"

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "console/console_input.hpp"
#include "console/windows/console_state.hpp"
#include "console/windows/error_output.hpp"
#include "console/windows/utf16_output.hpp"

namespace {

constexpr wchar_t end_of_input = L'\x1a';  // Ctrl-Z
// How long a read cut short waits for the control handler before it takes
// the Ctrl-C for one that nothing handles and reads on.
constexpr DWORD handler_wait_ms = 1000;

bool reading_console = false;
bool ended = false;
std::string pending;  // UTF-8 read but not yet handed on

HANDLE input() {
  return ::GetStdHandle(STD_INPUT_HANDLE);
}

// Waits for the control handler that a cut-short read announces; returns
// only where none comes.
void wait_for_handler() {
  for (DWORD waited = 0; waited < handler_wait_ms; waited += 10) {
    if (control_event_seen()) {
      ::Sleep(INFINITE);  // the handler ends the process
    }
    ::Sleep(10);
  }
}

// The next piece of the console's input as UTF-8, Ctrl-Z ending it.
void read_console() {
  std::wstring wide(4096, L'\0');
  DWORD count = 0;
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    if (::ReadConsoleW(input(), wide.data(), static_cast<DWORD>(wide.size()), &count, nullptr) ==
        0) {
      end_for_error(::GetLastError());
    }
    if (count > 0 || ::GetLastError() != ERROR_OPERATION_ABORTED) {
      break;
    }
    wait_for_handler();
  }
  wide.resize(count);
  // A character in two halves is taken whole: the second half is read too.
  if (count > 0 && IS_HIGH_SURROGATE(wide.back())) {
    wchar_t low = 0;
    if (::ReadConsoleW(input(), &low, 1, &count, nullptr) != 0 && count == 1) {
      wide += low;
    }
  }
  const std::size_t stop = wide.find(end_of_input);
  ended = count == 0 || stop != std::wstring::npos;
  pending = from_utf16(std::wstring_view(wide).substr(0, stop), CP_UTF8);
}

// The next bytes of a file or a pipe; a pipe whose writer has gone ends.
void read_redirected() {
  pending.resize(4096);
  DWORD count = 0;
  if (::ReadFile(input(), pending.data(), static_cast<DWORD>(pending.size()), &count, nullptr) ==
      0) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_BROKEN_PIPE && error != ERROR_HANDLE_EOF) {
      end_for_error(error);
    }
    count = 0;
  }
  pending.resize(count);
  const std::size_t stop = pending.find('\x1a');
  ended = count == 0 || stop != std::string::npos;
  pending.resize(std::min<std::size_t>(stop, count));
}

}  // namespace

void open_console_input(bool console) {
  reading_console = console;
  // Redirected, the bytes of code page 936, or UTF-8 where the console's
  // input code page is 65001.
  const bool utf8 = console || ::GetConsoleCP() == CP_UTF8;
  install_console_input(utf8 ? InputEncoding::utf8 : InputEncoding::gbk, read_console_input);
}

std::size_t read_console_input(std::span<char> bytes) {
  while (pending.empty() && !ended) {
    if (reading_console) {
      read_console();
    } else {
      read_redirected();
    }
  }
  const std::size_t count = std::min(bytes.size(), pending.size());
  std::copy_n(pending.begin(), count, bytes.begin());
  pending.erase(0, count);
  return count;
}
