// A stand-in for the Windows command interpreter, named by COMSPEC: it
// appends the command line it was handed (what follows "/c") to the file
// named by COMMAND_LOG, in UTF-8, one line each. The interpreter reads its
// command line as UTF-16, and so does this.
//
// It carries out nothing, but where its standard output is a file or a
// pipe it writes there what the interpreter of a Chinese Windows writes
// there: a form feed for cls; for pause its request, in code page 936, and
// the end of the line that follows the key (no key is waited for).

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

namespace {

std::string narrow(UINT code_page, std::wstring_view wide) {
  const int wide_length = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(code_page, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(code_page, 0, wide.data(), wide_length, bytes.data(), length, nullptr,
                        nullptr);
  return bytes;
}

// What the interpreter's cls and pause write where standard output is not
// a console.
std::string redirected_output(std::wstring_view line) {
  if (line == L"cls") {
    return "\f";
  }
  if (line == L"pause") {
    return narrow(936, L"请按任意键继续. . . \r\n");
  }
  return {};
}

}  // namespace

int main() {
  std::wstring_view line = ::GetCommandLineW();
  // The C runtime starts the interpreter as "COMSPEC /c command".
  constexpr std::wstring_view switch_c = L" /c ";
  if (const std::size_t at = line.find(switch_c); at != std::wstring_view::npos) {
    line.remove_prefix(at + switch_c.size());
  }
  HANDLE const output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (::GetConsoleMode(output, &mode) == 0) {
    const std::string bytes = redirected_output(line);
    DWORD written = 0;
    static_cast<void>(
        ::WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  }
  const std::string utf8 = narrow(CP_UTF8, line) + '\n';

  std::array<wchar_t, MAX_PATH> log_path{};
  if (::GetEnvironmentVariableW(L"COMMAND_LOG", log_path.data(), MAX_PATH) == 0) {
    return 1;
  }
  HANDLE const log = ::CreateFileW(log_path.data(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) {
    return 1;
  }
  DWORD written = 0;
  const BOOL ok = ::WriteFile(log, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  ::CloseHandle(log);
  return ok != 0 && written == utf8.size() ? 0 : 1;
}
