#include "console/posix/line_editor.hpp"

#if TAVORO_LINE_EDITOR

#include <histedit.h>
#include <langinfo.h>
#include <unistd.h>
#include <clocale>
#include <cstdio>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>

#include "console/console_output.hpp"
#include "console/posix/input_queue.hpp"
#include "console/posix/key_characters.hpp"
#include "console/posix/terminal_looks.hpp"
#include "console/posix/terminal_owner.hpp"

namespace {

EditLine* editor = nullptr;
HistoryW* earlier_lines = nullptr;
// The character set the editor decodes keys and measures columns in: the
// locale's where it is GBK or UTF-8, else UTF-8, which tavoro then writes.
locale_t editing_locale = nullptr;

std::wstring prompt;
KeyCharacters typed;   // the keys' characters in the editing locale
std::wstring decoded;  // characters of a key not yet handed to the editor
std::string edited;    // lines edited and not yet read, with their ends
unsigned takings_seen = 0;

// Not a key anyone types for an answer: what the editor is handed to draw
// its line again once the terminal is taken again after a stop.
constexpr wchar_t draw_again = L'\x1f';

// Runs what follows in the editing locale, for the editor's whole call.
class InEditingLocale {
 public:
  InEditingLocale() : previous_(::uselocale(editing_locale)) {}
  ~InEditingLocale() { ::uselocale(previous_); }
  InEditingLocale(const InEditingLocale&) = delete;
  InEditingLocale& operator=(const InEditingLocale&) = delete;

 private:
  locale_t previous_;
};

locale_t find_editing_locale(InputEncoding encoding) {
  const std::string_view codeset = ::nl_langinfo(CODESET);
  if (encoding == InputEncoding::gbk || codeset == "UTF-8") {
    return ::duplocale(LC_GLOBAL_LOCALE);
  }
  for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8", "UTF-8"}) {
    if (locale_t found = ::newlocale(LC_CTYPE_MASK, name, nullptr)) {
      return found;
    }
  }
  return nullptr;
}

std::string encode(std::wstring_view characters) {
  std::string bytes;
  std::mbstate_t state{};
  std::string one(MB_LEN_MAX, '\0');
  for (const wchar_t character : characters) {
    const std::size_t length = std::wcrtomb(one.data(), character, &state);
    if (length != static_cast<std::size_t>(-1)) {
      bytes.append(one.data(), length);
    }
  }
  return bytes;
}

// The editor's characters: decoded from the keys of the input queue, or the
// call to draw the line again where the terminal was taken again.
int next_character(EditLine* /*line*/, wchar_t* character) {
  for (;;) {
    if (times_taken_again() != takings_seen) {
      takings_seen = times_taken_again();
      ::el_resize(editor);  // the window may have another width now
      *character = draw_again;
      return 1;
    }
    if (!decoded.empty()) {
      *character = decoded.front();
      decoded.erase(0, 1);
      return 1;
    }
    const std::string key = read_key(true);
    if (key.empty() && times_taken_again() == takings_seen) {
      return 0;  // the input has ended
    }
    typed.decode(key, decoded);
  }
}

const wchar_t* show_prompt(EditLine* /*line*/) {
  return prompt.c_str();
}

// The editor's drawing, the answer's echo among it, in the look in force.
ssize_t write_through_output(void* /*cookie*/, const char* bytes, std::size_t size) {
  write_console_control(painted_drawing(std::string_view(bytes, size)));
  return static_cast<ssize_t>(size);
}

FILE* open_output_stream() {
#if defined(__GLIBC__)
  const cookie_io_functions_t functions{nullptr, write_through_output, nullptr, nullptr};
  return ::fopencookie(nullptr, "w", functions);
#else
  return ::funopen(
      nullptr, nullptr,
      [](void* cookie, const char* bytes, int size) {
        return static_cast<int>(
            write_through_output(cookie, bytes, static_cast<std::size_t>(size)));
      },
      nullptr, nullptr);
#endif
}

// Edits one line, the unfinished line on the screen as its start; false at
// the end of the input.
bool edit_line() {
  const std::string held = take_held_line();
  if (held.size() < unfinished_line().size()) {
    write_console_control("\r");  // drawn again whole, from the line's start
  }
  InEditingLocale in_editing_locale;
  prompt.clear();
  KeyCharacters().decode(unfinished_line(), prompt);
  takings_seen = times_taken_again();
  set_line_drawn_by_editor(true);
  int count = 0;
  const wchar_t* line = ::el_wgets(editor, &count);
  set_line_drawn_by_editor(false);
  // The editor left its own modes; the session's are the same but for
  // what the editor alone needs.
  use_session_line_modes();
  if (line == nullptr || count <= 0) {
    return false;
  }
  std::wstring_view typed(line, static_cast<std::size_t>(count));
  edited += encode(typed);
  while (typed.ends_with(L'\n') || typed.ends_with(L'\r')) {
    typed.remove_suffix(1);
  }
  note_answer_echoed(encode(typed) + "\n");
  if (!typed.empty()) {
    HistEventW event{};
    ::history_w(earlier_lines, &event, H_ENTER, std::wstring(typed).c_str());
  }
  return true;
}

}  // namespace

bool open_line_editor(InputEncoding encoding) {
  editing_locale = find_editing_locale(encoding);
  if (editing_locale == nullptr) {
    return false;
  }
  FILE* const output = open_output_stream();
  if (output == nullptr) {
    return false;
  }
  // What the editor would say of itself (a terminal type it finds no entry
  // for, and so edits as a dumb one) is no concern of the user's.
  FILE* const said = std::fopen("/dev/null", "w");
  if (said == nullptr) {
    return false;
  }
  InEditingLocale in_editing_locale;
  editor = ::el_init_fd("tavoro", stdin, output, said, STDIN_FILENO, STDOUT_FILENO, ::fileno(said));
  earlier_lines = ::history_winit();
  if (editor == nullptr || earlier_lines == nullptr) {
    return false;
  }
  HistEventW event{};
  ::history_w(earlier_lines, &event, H_SETSIZE, 1000);
  ::el_wset(editor, EL_HIST, ::history_w, earlier_lines);
  ::el_set(editor, EL_EDITOR, "emacs");
  ::el_wset(editor, EL_PROMPT, show_prompt);
  ::el_set(editor, EL_GETCFN, next_character);
  ::el_set(editor, EL_BIND, "^_", "ed-redisplay", nullptr);
  // Between questions the terminal is unedited and unechoed, as the editor
  // leaves it after each line: typing ahead shows when the editor takes it.
  ::el_set(editor, EL_SETTY, "-x", "-icanon", "-echo", "-echonl", nullptr);
  set_session_line_modes(unedited_input_modes(1, 0));
  use_session_line_modes();
  hold_unfinished_lines();
  return true;
}

std::size_t read_edited(std::span<char> bytes) {
  if (edited.empty()) {
    if (!edit_line()) {
      return 0;
    }
  } else {
    // Answered from a line typed ahead: the question is shown as it is.
    release_held_line();
  }
  const std::size_t count = std::min(bytes.size(), edited.size());
  std::copy_n(edited.begin(), count, bytes.begin());
  edited.erase(0, count);
  return count;
}

#else

bool open_line_editor(InputEncoding /*encoding*/) {
  return false;
}

std::size_t read_edited(std::span<char> /*bytes*/) {
  return 0;
}

#endif
