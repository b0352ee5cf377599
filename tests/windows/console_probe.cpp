// Two programs in one for the Windows sessions under Wine.
//
// "console_probe --around REPORT PROGRAM" gives its console a state of its
// own (title, colours of the cells and of new text, input modes), writes a
// line, notes the state, runs PROGRAM in the same console and, once it has
// ended, writes to REPORT its exit status, whether the buffer was seen 55
// columns wide with its lines kept meanwhile, and every part of the state
// that is not as it was. Ctrl-C and Ctrl-Break end only PROGRAM.
//
// Started in any other way, as a planted program would be, it appends its
// command line to the file that STARTS_LOG names.

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using State = std::map<std::string, std::vector<long>>;

const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);

State read_state() {
  std::wstring title(1024, L'\0');
  title.resize(::GetConsoleTitleW(title.data(), 1024));
  CONSOLE_SCREEN_BUFFER_INFO info{};
  ::GetConsoleScreenBufferInfo(output, &info);
  std::vector<WORD> cells(static_cast<std::size_t>(info.dwSize.X * info.dwSize.Y));
  DWORD count = 0;
  ::ReadConsoleOutputAttribute(output, cells.data(), cells.size(), {0, 0}, &count);
  DWORD modes = 0;
  ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &modes);
  const SMALL_RECT& window = info.srWindow;
  return {{"title", {title.begin(), title.end()}},
          {"cell attributes", {cells.begin(), cells.end()}},
          {"text attributes", {info.wAttributes}},
          {"buffer size", {info.dwSize.X, info.dwSize.Y}},
          {"window size", {window.Right - window.Left + 1, window.Bottom - window.Top + 1}},
          {"input modes", {static_cast<long>(modes)}}};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4 || std::wstring(argv[1]) != L"--around") {
    FILE* const log = ::_wfopen(::_wgetenv(L"STARTS_LOG"), L"a");  // a planted program
    std::fprintf(log, "%ls\n", ::GetCommandLineW());
    std::fclose(log);
    return 1;
  }
  ::SetConsoleCtrlHandler([](DWORD) -> BOOL { return TRUE; }, TRUE);
  ::SetConsoleTitleW(L"探针 probe");
  const State given = read_state();
  DWORD count = 0;
  ::FillConsoleOutputAttribute(output, 0x1e, given.at("cell attributes").size() / 2, {0, 0},
                               &count);
  ::SetConsoleTextAttribute(output, 0x2d);
  ::SetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE),
                   given.at("input modes")[0] & ~ENABLE_INSERT_MODE);
  ::WriteConsoleW(output, L"探针：before\r\n", 11, &count, nullptr);
  const State before = read_state();

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  std::wstring command = L"\"" + std::wstring(argv[3]) + L"\"";
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &started) == 0) {
    return 2;
  }
  const std::vector<long> narrow{55, before.at("buffer size")[1]};
  bool narrowed = false;
  while (::WaitForSingleObject(started.hProcess, 50) == WAIT_TIMEOUT) {
    const State now = read_state();
    narrowed |= now.at("buffer size") == narrow && now.at("window size")[0] == 55;
  }
  DWORD status = 0;
  ::GetExitCodeProcess(started.hProcess, &status);
  const State after = read_state();

  FILE* const report = ::_wfopen(argv[2], L"wb");
  std::fprintf(report, "status %lu\n%s\n", status, narrowed ? "narrowed" : "never narrowed");
  for (const auto& [part, found] : before) {
    if (after.at(part) != found) {
      std::fprintf(report, "changed: %s\n", part.c_str());
    }
  }
  return std::fclose(report);
}
