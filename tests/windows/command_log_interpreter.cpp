// A stand-in for the Windows command interpreter, named by COMSPEC: it
// carries out nothing and appends the command line it was handed (what
// follows "/c") to the file named by COMMAND_LOG, in UTF-8, one line each.
// The interpreter reads its command line as UTF-16, and so does this.

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

int main() {
  std::wstring_view line = ::GetCommandLineW();
  // The C runtime starts the interpreter as "COMSPEC /c command".
  constexpr std::wstring_view switch_c = L" /c ";
  if (const std::size_t at = line.find(switch_c); at != std::wstring_view::npos) {
    line.remove_prefix(at + switch_c.size());
  }
  const int wide_length = static_cast<int>(line.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, line.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.data(), wide_length, utf8.data(), length, nullptr,
                        nullptr);
  utf8 += '\n';

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
