// tavoro's output path to a console, with a stand-in for the console that
// takes the first line whole and then reports success with nothing
// written, as a console host may. Run with a terminal for its standard
// output (Wine makes it a console) and its standard error piped. Expected:
// the first line handed over with its CR LF, then the end of the program
// with status 1 and one line of the reason on standard error. A wrong line
// end gives status 3; a writer that takes the empty write for a written
// one, or tries again, status 4.
#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <string_view>

#include "console/console.hpp"
#include "console/windows/utf16_output.hpp"

namespace {

int calls = 0;

BOOL WINAPI writes_nothing(HANDLE, const void* text, DWORD length, DWORD* written, void*) {
  if (++calls > 2) {
    std::_Exit(4);
  }
  if (calls == 1 && std::wstring_view(static_cast<const wchar_t*>(text), length) != L"第一行\r\n") {
    std::_Exit(3);
  }
  ::SetLastError(ERROR_SUCCESS);
  *written = calls == 1 ? length : 0;
  return TRUE;
}

}  // namespace

int wmain() {
  use_console_write(writes_nothing);
  open_console_output();
  std::cout << "第一行" << std::endl;
  std::cout << "第二行" << std::endl;
  return 0;
}
