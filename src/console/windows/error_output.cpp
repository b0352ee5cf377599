#include "console/windows/error_output.hpp"

#include <cstdlib>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/windows/console_state.hpp"
#include "console/windows/utf16_output.hpp"

namespace {

constexpr std::wstring_view error_prefix = L"tavoro: ";

// One line to standard error: UTF-16 to a console; to a file or a pipe the
// bytes of the code page its readers expect, as for standard output.
void write_error_line(std::wstring line) {
  line += L"\r\n";
  HANDLE const error_output = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  DWORD written = 0;
  if (::GetConsoleMode(error_output, &mode) != 0) {
    ::WriteConsoleW(error_output, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  const std::string bytes = from_utf16(line, redirected_code_page());
  ::WriteFile(error_output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

void report_error(std::string_view text, std::string_view argument, std::string_view more_text) {
  // An argument comes from the C runtime in the ANSI code page.
  write_error_line(std::wstring(error_prefix) + to_utf16(text) + to_utf16(argument, CP_ACP) +
                   to_utf16(more_text));
}

void end_for_error(DWORD error) {
  wchar_t* reason = nullptr;
  // Language 0: the user's own, as Windows words its messages for them.
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
  std::wstring line(error_prefix);
  if (length > 0) {
    std::wstring_view words(reason, length);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r')) {
      words.remove_suffix(1);
    }
    line += words;
  } else {
    line += L"error " + std::to_wstring(error);
  }
  ::LocalFree(reason);
  {
    // The give-back and the line in one piece: after it, nothing is written.
    // The line comes after the give-back, so that it stays in the buffer the
    // console shows once tavoro's own is gone.
    const auto lock = console_change();
    const bool unwritten = !console_given_back();
    give_back_locked();
    if (unwritten) {
      write_error_line(line);
    }
  }
  // Not exit: it would flush standard output once more, into the same
  // failure.
  std::_Exit(1);
}
