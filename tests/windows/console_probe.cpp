// Two programs in one for the Windows sessions under Wine.
//
// "console_probe --around REPORT PROGRAM" gives its console a state of its
// own (title, colours of the cells and of new text, input modes), notes it,
// writes a line, runs PROGRAM in the same console and, once it has ended,
// writes to REPORT its exit status, whether the buffer was seen 55 columns
// wide with its lines kept meanwhile, and every part of the state that is
// not as it was. Ctrl-C and Ctrl-Break end only PROGRAM.
//
// Started in any other way, as a planted program would be, it appends its
// command line to the file that STARTS_LOG names.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct State {
  std::wstring title = std::wstring(1024, L'\0');
  CONSOLE_SCREEN_BUFFER_INFO buffer{};
  std::vector<WORD> cells;
  DWORD input_modes = 0;
};

HANDLE output() {
  return ::GetStdHandle(STD_OUTPUT_HANDLE);
}

State read_state() {
  State state;
  state.title.resize(::GetConsoleTitleW(state.title.data(), 1024));
  ::GetConsoleScreenBufferInfo(output(), &state.buffer);
  state.cells.resize(static_cast<std::size_t>(state.buffer.dwSize.X * state.buffer.dwSize.Y));
  DWORD read = 0;
  ::ReadConsoleOutputAttribute(output(), state.cells.data(), static_cast<DWORD>(state.cells.size()),
                               {0, 0}, &read);
  ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &state.input_modes);
  return state;
}

SHORT window_rows(const State& state) {
  return static_cast<SHORT>(state.buffer.srWindow.Bottom - state.buffer.srWindow.Top + 1);
}
SHORT window_columns(const State& state) {
  return static_cast<SHORT>(state.buffer.srWindow.Right - state.buffer.srWindow.Left + 1);
}

int record_start() {
  const wchar_t* const log_path = ::_wgetenv(L"STARTS_LOG");
  FILE* const log = log_path != nullptr ? ::_wfopen(log_path, L"a") : nullptr;
  if (log != nullptr) {
    std::fprintf(log, "%ls\n", ::GetCommandLineW());
    std::fclose(log);
  }
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4 || std::wstring(argv[1]) != L"--around") {
    return record_start();
  }
  ::SetConsoleCtrlHandler([](DWORD) -> BOOL { return TRUE; }, TRUE);
  ::SetConsoleTitleW(L"探针 probe");
  const State given = read_state();
  DWORD written = 0;
  ::FillConsoleOutputAttribute(output(), 0x1e, given.cells.size() / 2, {0, 0}, &written);
  ::SetConsoleTextAttribute(output(), 0x2d);
  ::SetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), given.input_modes & ~ENABLE_INSERT_MODE);
  ::WriteConsoleW(output(), L"探针：before\r\n", 11, &written, nullptr);
  const State before = read_state();

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  std::wstring command = L"\"" + std::wstring(argv[3]) + L"\"";
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &started) == 0) {
    return 2;
  }
  bool narrowed = false;
  while (::WaitForSingleObject(started.hProcess, 50) == WAIT_TIMEOUT) {
    CONSOLE_SCREEN_BUFFER_INFO now{};
    if (::GetConsoleScreenBufferInfo(output(), &now) != 0 && now.dwSize.X == 55 &&
        now.srWindow.Right - now.srWindow.Left == 54 && now.dwSize.Y == before.buffer.dwSize.Y) {
      narrowed = true;
    }
  }
  DWORD status = 0;
  ::GetExitCodeProcess(started.hProcess, &status);
  const State after = read_state();

  FILE* const report = ::_wfopen(argv[2], L"wb");
  std::fprintf(report, "status %lu\n%s\n", status, narrowed ? "narrowed" : "never narrowed");
  const auto differs = [&](bool same, const char* what) {
    if (!same) {
      std::fprintf(report, "changed: %s\n", what);
    }
  };
  differs(after.title == before.title, "title");
  differs(after.cells == before.cells, "cell attributes");
  differs(after.buffer.wAttributes == before.buffer.wAttributes, "text attributes");
  differs(after.buffer.dwSize.X == before.buffer.dwSize.X &&
              after.buffer.dwSize.Y == before.buffer.dwSize.Y,
          "buffer size");
  differs(
      window_columns(after) == window_columns(before) && window_rows(after) == window_rows(before),
      "window size");
  differs(after.input_modes == before.input_modes, "input modes");
  std::fclose(report);
  // The probe's own state no longer matters; the console it found is its caller's.
  ::SetConsoleTitleW(given.title.c_str());
  return 0;
}
