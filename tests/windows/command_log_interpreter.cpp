// A stand-in for the Windows command interpreter, named by COMSPEC: it
// appends the command line it was handed (what follows "/c") to the file
// named by COMMAND_LOG, in UTF-8, one a line; the interpreter reads its
// command line as UTF-16, and so does this. It carries out nothing, but
// where its standard output is not a console it writes there what the
// interpreter of a Chinese Windows would: a form feed for cls; for pause its
// request, in code page 936, and the end of the line after the key.

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string narrow(UINT code_page, std::wstring_view wide) {
  std::string bytes(wide.size() * 4, '\0');
  const int length =
      ::WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(length));
  return bytes;
}

}  // namespace

int main() {
  std::wstring_view line = ::GetCommandLineW();
  // The C runtime starts the interpreter as "COMSPEC /c command".
  if (const std::size_t at = line.find(L" /c "); at != std::wstring_view::npos) {
    line.remove_prefix(at + 4);
  }
  HANDLE const output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (::GetConsoleMode(output, &mode) == 0) {
    const std::string bytes = line == L"cls"     ? std::string("\f")
                              : line == L"pause" ? narrow(936, L"请按任意键继续. . . \r\n")
                                                 : std::string();
    DWORD written = 0;
    ::WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  const wchar_t* const log_path = ::_wgetenv(L"COMMAND_LOG");
  FILE* const log = log_path != nullptr ? ::_wfopen(log_path, L"ab") : nullptr;
  if (log == nullptr) {
    return 1;
  }
  const std::string utf8 = narrow(CP_UTF8, line) + '\n';
  const bool logged = std::fwrite(utf8.data(), 1, utf8.size(), log) == utf8.size();
  return std::fclose(log) == 0 && logged ? 0 : 1;
}
