// Three programs in one for the Windows sessions under Wine.
//
// "console_probe --around REPORT PROGRAM [CODE_PAGE KEYS]" gives its console
// the state of a console window that a user has used (a buffer with
// scrollback; a title of 2,000 characters; a line in a colour of its own and
// a line 100 columns long, in the scrollback between the window and the
// buffer's top), runs PROGRAM in the same console and, once it has ended,
// writes to REPORT (in UTF-16) its exit status, whether the buffer the
// console showed (CONOUT$) was seen 55 columns wide in a window of 55 with
// the window's rows, where the long line is, the text of every cell not in
// the probe's text attribute, and the state (title, text attribute, buffer
// and window size, input modes) where it is not as expected. With a code
// page and keys, it sets the console's input code page and writes the keys
// into the console's input, as UTF-16 key events, and reports whether the
// first eight of them are in the buffer (echoed). In the keys, the
// characters between 〔 and 〕 come as an input method commits them
// (VK_PACKET); ⌥ holds Alt down for the keypad digits after it, and ↑X
// releases it with the character X; at | the probe waits until the input
// is read, and a second more, reports the text of the shown buffer's
// cursor's row.
//
// "console_probe --host PROGRAM STEP..." runs PROGRAM in a pseudoconsole of
// 80 by 25, as Windows Terminal does, through a stand-in for its shell
// ("--shell PROGRAM"); types each step once the output has settled. The
// stream of virtual terminal sequences goes to standard output, its length
// before each step to standard error; the exit status is the program's, or
// 99 where the console's size changed while it ran.
//
// Started in any other way, as a planted program would be, it appends its
// command line to the file that STARTS_LOG names.

// The pseudoconsole functions are declared for Windows 10 1809 and later.
#define NTDDI_VERSION 0x0A000006  // NOLINT(bugprone-reserved-identifier)
#include <windows.h>

#include <array>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
constexpr WORD own_colour = 0x1e;
constexpr WORD text_colour = 0x2d;
constexpr DWORD cooked = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT;

CONSOLE_SCREEN_BUFFER_INFO buffer() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  ::GetConsoleScreenBufferInfo(output, &info);
  return info;
}

COORD window_size(const CONSOLE_SCREEN_BUFFER_INFO& info) {
  return {static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1),
          static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1)};
}

// The buffer's and the window's size.
std::wstring size() {
  const CONSOLE_SCREEN_BUFFER_INFO info = buffer();
  return std::to_wstring(info.dwSize.X) + L"x" + std::to_wstring(info.dwSize.Y) + L", " +
         std::to_wstring(window_size(info).X) + L"x" + std::to_wstring(window_size(info).Y);
}

std::wstring state() {
  std::wstring title(4096, L'\0');
  title.resize(::GetConsoleTitleW(title.data(), 4096));
  DWORD modes = 0;
  ::GetConsoleMode(input, &modes);
  return L"title " + title + L"\ntext attributes " + std::to_wstring(buffer().wAttributes) +
         L"\nsize " + size() + L"\ninput modes " + std::to_wstring(modes) + L"\n";
}

// Starts command in the console given (nullptr: this one).
PROCESS_INFORMATION start(std::wstring command, STARTUPINFOW* startup = nullptr) {
  STARTUPINFOW plain{};
  plain.cb = sizeof plain;
  PROCESS_INFORMATION started{};  // none where it could not start: what it should do fails
  ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, startup == nullptr ? TRUE : FALSE,
                   startup != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0, nullptr, nullptr,
                   startup != nullptr ? startup : &plain, &started);
  return started;
}

DWORD status_at_end(const PROCESS_INFORMATION& started) {
  DWORD status = 0;
  ::WaitForSingleObject(started.hProcess, INFINITE);
  ::GetExitCodeProcess(started.hProcess, &status);
  return status;
}

// The keys as the console's input events, in stages split at |.
std::vector<std::vector<INPUT_RECORD>> key_events(const wchar_t* keys) {
  std::vector<std::vector<INPUT_RECORD>> stages(1);
  bool packet = false;
  DWORD alt = 0;
  auto event = [&](BOOL down, WORD key, wchar_t typed, DWORD state) {
    stages.back().push_back({KEY_EVENT, {.KeyEvent = {down, 1, key, 0, {typed}, state}}});
  };
  auto press = [&](WORD key, wchar_t typed, DWORD state) {
    event(TRUE, key, typed, state);
    event(FALSE, key, typed, state);
  };
  for (const wchar_t* key = keys; key != nullptr && *key != L'\0'; ++key) {
    if (*key == L'|') {
      stages.emplace_back();
    } else if (*key == L'〔' || *key == L'〕') {
      packet = *key == L'〔';
    } else if (*key == L'⌥') {
      alt = LEFT_ALT_PRESSED;
      event(TRUE, VK_MENU, 0, alt);
    } else if (*key == L'↑') {
      alt = 0;
      event(FALSE, VK_MENU, *++key, alt);
    } else if (alt != 0) {
      press(static_cast<WORD>(VK_NUMPAD0 + (*key - L'0')), 0, alt);
    } else {
      press(static_cast<WORD>(packet ? VK_PACKET : *key == L'\r' ? VK_RETURN : 0), *key, 0);
    }
  }
  return stages;
}

// The screen buffer the console shows, as another program finds it, and
// the text of its cursor's row.
CONSOLE_SCREEN_BUFFER_INFO shown(std::wstring& cursor_row) {
  HANDLE const screen =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  ::GetConsoleScreenBufferInfo(screen, &info);
  cursor_row.assign(info.dwSize.X, L' ');
  DWORD count = 0;
  ::ReadConsoleOutputCharacterW(screen, cursor_row.data(), info.dwSize.X,
                                {0, info.dwCursorPosition.Y}, &count);
  cursor_row.erase(cursor_row.find_last_not_of(L' ') + 1);
  ::CloseHandle(screen);
  return info;
}

int around(const wchar_t* report_path, const wchar_t* program, const wchar_t* code_page,
           const wchar_t* keys) {
  ::SetConsoleCtrlHandler([](DWORD) -> BOOL { return TRUE; }, TRUE);
  ::SetConsoleTitleW((L"探针的标题 probe title " + std::wstring(1983, L'题')).c_str());
  std::wstring long_line;
  for (int column = 0; column < 100; ++column) {
    long_line += static_cast<wchar_t>(L'0' + column % 10);
  }
  const SHORT width = buffer().dwSize.X;
  ::SetConsoleScreenBufferSize(output, {width, 300});
  DWORD count = 0;
  ::FillConsoleOutputAttribute(output, text_colour, width * 300, {0, 0}, &count);
  const std::wstring lines = std::wstring(45, L'\n') + L"\r\n" + long_line + L"\r\n";
  ::WriteConsoleW(output, lines.data(), 45, nullptr, nullptr);
  ::SetConsoleTextAttribute(output, own_colour);
  ::WriteConsoleW(output, L"探针：before", 9, nullptr, nullptr);
  ::SetConsoleTextAttribute(output, text_colour);
  ::WriteConsoleW(output, lines.data() + 45, lines.size() - 45, nullptr, nullptr);
  ::WriteConsoleW(output, lines.data(), 45, nullptr, nullptr);
  ::SetConsoleMode(input, cooked);
  const std::wstring expected = state();
  const SHORT rows = window_size(buffer()).Y;

  ::SetConsoleCP(code_page != nullptr ? std::stoul(code_page) : ::GetConsoleCP());
  const PROCESS_INFORMATION started = start(L"\"" + std::wstring(program) + L"\"");
  std::wstring seen = L"never 55 columns";
  std::wstring cursor_row;
  auto look = [&] {
    const CONSOLE_SCREEN_BUFFER_INFO now = shown(cursor_row);
    if (now.dwSize.X == 55 && window_size(now).X == 55 && window_size(now).Y == rows) {
      seen = L"55 columns";
    }
  };
  std::wstring stages;
  const std::vector<std::vector<INPUT_RECORD>> typed = key_events(keys);
  for (const std::vector<INPUT_RECORD>& stage : typed) {
    if (&stage != &typed.front()) {
      // Read, and the program has had a second to act on it.
      while (::GetNumberOfConsoleInputEvents(input, &count) != 0 && count > 0) {
        look();
        ::Sleep(50);
      }
      ::Sleep(1000);
      look();
      stages += L"stage: " + cursor_row + L"\n";
    }
    ::WriteConsoleInputW(input, stage.data(), stage.size(), &count);
  }
  while (::WaitForSingleObject(started.hProcess, 50) == WAIT_TIMEOUT) {
    look();
  }
  std::wstring report =
      L"status " + std::to_wstring(status_at_end(started)) + L"\n" + seen + L"\n" + stages;

  // The whole buffer's text, and that of the cells in another attribute.
  const CONSOLE_SCREEN_BUFFER_INFO info = buffer();
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(info.dwSize.X) * info.dwSize.Y);
  SMALL_RECT all{0, 0, static_cast<SHORT>(info.dwSize.X - 1),
                 static_cast<SHORT>(info.dwSize.Y - 1)};
  ::ReadConsoleOutputW(output, cells.data(), info.dwSize, {0, 0}, &all);
  std::wstring text;
  std::wstring odd;
  for (const CHAR_INFO& cell : cells) {
    text += cell.Char.UnicodeChar;
    odd += cell.Attributes != text_colour ? std::wstring(1, cell.Char.UnicodeChar) : L"";
  }
  report += text.find(long_line) != std::wstring::npos ? L"long line whole" : L"long line gone";
  const std::wstring typed_line = keys != nullptr ? std::wstring(keys).substr(0, 8) : L"";
  report +=
      L"\nodd cells " + odd + L"\n" +
      (typed_line.empty() || text.find(typed_line) == std::wstring::npos ? L"" : L"echoed\n") +
      (state() == expected ? L"" : state() + expected);
  FILE* const file = ::_wfopen(report_path, L"wb");
  std::fwrite(report.data(), sizeof(wchar_t), report.size(), file);
  return std::fclose(file);
}

// The shell's stand-in: the pseudoconsole's own handles as standard ones.
int shell(const wchar_t* program) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  auto open = [&](const wchar_t* name) {
    return ::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherited, OPEN_EXISTING, 0, nullptr);
  };
  ::SetStdHandle(STD_INPUT_HANDLE, input = open(L"CONIN$"));
  ::SetStdHandle(STD_OUTPUT_HANDLE, output = open(L"CONOUT$"));
  const std::wstring given = size();
  const PROCESS_INFORMATION started = start(L"\"" + std::wstring(program) + L"\"");
  bool resized = false;
  while (::WaitForSingleObject(started.hProcess, 50) == WAIT_TIMEOUT) {
    resized |= size() != given;
  }
  return resized ? 99 : static_cast<int>(status_at_end(started));
}

int host(const wchar_t* self, const wchar_t* program, int steps, wchar_t** step) {
  std::array<HANDLE, 4>
      pipes{};  // the console's input, read and written; its output, read and written
  HPCON console = nullptr;
  ::CreatePipe(&pipes[0], &pipes[1], nullptr, 0);
  ::CreatePipe(&pipes[2], &pipes[3], nullptr, 0);
  ::CreatePseudoConsole({80, 25}, pipes[0], pipes[3], 0, &console);
  ::CloseHandle(pipes[3]);  // so that the output ends with the pseudoconsole
  SIZE_T length = 0;
  ::InitializeProcThreadAttributeList(nullptr, 1, 0, &length);
  std::vector<char> attributes(length);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
  ::InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &length);
  ::UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE,
                              console, sizeof console, nullptr, nullptr);
  const PROCESS_INFORMATION started =
      start(L"\"" + std::wstring(self) + L"\" --shell \"" + program + L"\"", &startup.StartupInfo);

  volatile LONG received = 0;
  std::thread reader([&] {
    std::vector<char> bytes(4096);
    DWORD count = 0;
    while (::ReadFile(pipes[2], bytes.data(), bytes.size(), &count, nullptr) != 0 && count > 0) {
      ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), count, &count, nullptr);
      ::InterlockedAdd(&received, static_cast<LONG>(count));
    }
  });
  LONG mark = 0;
  for (int typed = 0; typed < steps; ++typed) {
    // Until something has come, and then nothing for 700 ms.
    for (LONG seen = mark; received == mark || seen != received; ::Sleep(700)) {
      seen = received;
    }
    std::fprintf(stderr, "%ld\n", mark = received);
    const std::wstring keys = step[typed];
    const std::string bytes(keys.begin(), keys.end());  // ASCII
    DWORD count = 0;
    ::WriteFile(pipes[1], bytes.data(), bytes.size(), &count, nullptr);
  }
  const DWORD status = status_at_end(started);
  ::ClosePseudoConsole(console);
  reader.join();
  return static_cast<int>(status);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 2 ? argv[1] : L"";
  if (mode == L"--around" && argc >= 4) {
    return around(argv[2], argv[3], argc > 5 ? argv[4] : nullptr, argc > 5 ? argv[5] : nullptr);
  }
  if (mode == L"--host") {
    return host(argv[0], argv[2], argc - 3, argv + 3);
  }
  if (mode == L"--shell") {
    return shell(argv[2]);
  }
  FILE* const log = ::_wfopen(::_wgetenv(L"STARTS_LOG"), L"a");  // a planted program
  std::fprintf(log, "%ls\n", ::GetCommandLineW());
  std::fclose(log);
  return 1;
}
