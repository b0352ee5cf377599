#include "console/windows/utf16_output.hpp"

#include <windows.h>

#include <iostream>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/console_output.hpp"
#include "console/windows/console_screen.hpp"
#include "console/windows/console_state.hpp"
#include "console/windows/error_output.hpp"

namespace {

constexpr UINT chinese_code_page = 936;

}  // namespace

std::wstring to_utf16(std::string_view bytes, UINT code_page) {
  if (bytes.empty()) {
    return {};
  }
  const int length = static_cast<int>(bytes.size());
  const int wide_length = ::MultiByteToWideChar(code_page, 0, bytes.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  ::MultiByteToWideChar(code_page, 0, bytes.data(), length, wide.data(), wide_length);
  return wide;
}

std::string from_utf16(std::wstring_view wide, UINT code_page) {
  if (wide.empty()) {
    return {};
  }
  const int wide_length = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(code_page, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(code_page, 0, wide.data(), wide_length, bytes.data(), length, nullptr,
                        nullptr);
  return bytes;
}

UINT redirected_code_page() {
  // Redirected from a console already switched to UTF-8: the texts as they are.
  return ::GetConsoleOutputCP() == CP_UTF8 ? CP_UTF8 : chinese_code_page;
}

namespace {

std::string encode_code_page_936(std::string_view utf8) {
  return from_utf16(to_utf16(utf8), chinese_code_page);
}

// The reason of a write that failed, or that wrote nothing and so would
// never end.
DWORD write_error(BOOL done) {
  const DWORD error = done == 0 ? ::GetLastError() : ERROR_SUCCESS;
  return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

ConsoleWrite console_write = ::WriteConsoleW;

// A console shows UTF-16 as it is, under any code page. Bytes handed to it
// through the C runtime would be read in the console's code page, and
// converted once more on the way. Each line ends with CR LF, so that a
// DISABLE_NEWLINE_AUTO_RETURN left on the console by whoever started
// tavoro, under which LF only moves down, cannot stair-step the lines.
// Nothing is written once the console has been given back.
void write_to_console(std::string_view utf8) {
  std::wstring wide;
  for (const wchar_t unit : to_utf16(utf8)) {
    if (unit == L'\n') {
      wide += L'\r';
    }
    wide += unit;
  }
  auto lock = console_change();
  HANDLE const console = screen();
  const wchar_t* rest = wide.data();
  auto left = static_cast<DWORD>(wide.size());
  while (left > 0 && !console_given_back()) {
    DWORD written = 0;
    const BOOL done = console_write(console, rest, left, &written, nullptr);
    if (done == 0 || written == 0) {
      lock.unlock();
      end_for_error(write_error(done));
    }
    rest += written;
    left -= written;
  }
}

// A file or a pipe: each line ended with CR LF, as Windows programs reading
// it expect, and written whole.
void write_to_redirected(std::string_view bytes) {
  std::string lines;
  lines.reserve(bytes.size() + bytes.size() / 8);
  for (const char byte : bytes) {
    if (byte == '\n') {
      lines += '\r';
    }
    lines += byte;
  }
  HANDLE const output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  std::string_view rest = lines;
  while (!rest.empty()) {
    DWORD written = 0;
    const BOOL done =
        ::WriteFile(output, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr);
    if (done == 0 || written == 0) {
      end_for_error(write_error(done));
    }
    rest.remove_prefix(written);
  }
}

}  // namespace

void use_console_write(ConsoleWrite write) {
  console_write = write;
}

void open_console_output() {
  std::ios::sync_with_stdio(false);
  DWORD mode = 0;
  if (::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0) {
    install_console_output(nullptr, write_to_console);
    return;
  }
  const ConsoleEncoder encoder = redirected_code_page() == CP_UTF8 ? nullptr : encode_code_page_936;
  install_console_output(encoder, write_to_redirected);
}
