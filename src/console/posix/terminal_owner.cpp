#include "console/posix/terminal_owner.hpp"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <string>

#include "console/console_output.hpp"
#include "console/posix/posix_write.hpp"
#include "console/posix/terminal_looks.hpp"
#include "console/posix/terminal_size.hpp"

namespace {

// Found at the start, then only read.
bool sequences = false;
bool input_terminal = false;
bool output_terminal = false;
termios found_modes{};
TerminalSize found_size{};
bool size_found = false;

termios session_modes{};
termios modes_in_force{};
std::array<std::string, static_cast<std::size_t>(TerminalChange::count)> changes;
bool line_drawn_by_editor = false;
unsigned taken_again = 0;

// The give-back prepared: the title; and the size found as a
// request, given back only where the window still has the size asked for.
std::string give_back;
std::string give_back_size;
TerminalSize size_asked{};
bool given_back = false;
bool given_back_for_good = false;

constexpr std::string_view title_given_back = "\x1b[23;0t";

int terminal_descriptor() {
  return input_terminal ? STDIN_FILENO : STDOUT_FILENO;
}

void set_line_modes(const termios& modes) {
  while (::tcsetattr(STDIN_FILENO, TCSANOW, &modes) != 0 && errno == EINTR) {
  }
}

}  // namespace

void take_terminal(bool allow_sequences, bool terminal_input, bool terminal_output) {
  sequences = allow_sequences;
  output_terminal = terminal_output;
  input_terminal = terminal_input && ::tcgetattr(STDIN_FILENO, &found_modes) == 0;
  session_modes = found_modes;
  modes_in_force = found_modes;
  if (!sequences) {
    return;
  }
  give_back = title_given_back;
  if (const auto size = terminal_size()) {
    found_size = *size;
    size_found = true;
    give_back_size = resize_request(size->rows, size->columns);
  }
}

bool sequences_allowed() {
  return sequences;
}
bool input_is_terminal() {
  return input_terminal;
}
bool holds_a_terminal() {
  return input_terminal || output_terminal;
}

void change_terminal(TerminalChange kind, std::string_view bytes) {
  changes.at(static_cast<std::size_t>(kind)) = bytes;
  write_console_control(bytes);
}

void note_size_asked(unsigned short rows, unsigned short columns) {
  size_asked = {rows, columns};
}

termios unedited_input_modes(cc_t min_bytes, cc_t tenths, bool keep_input) {
  termios modes = found_modes;
  modes.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  if (keep_input) {
    modes.c_lflag |= NOFLSH;
  }
  modes.c_cc[VMIN] = min_bytes;
  modes.c_cc[VTIME] = tenths;
  return modes;
}

void use_line_modes(const termios& modes) {
  modes_in_force = modes;
  if (input_terminal && !given_back) {
    set_line_modes(modes);
  }
}

void set_session_line_modes(const termios& modes) {
  session_modes = modes;
}

void use_session_line_modes() {
  use_line_modes(session_modes);
}

void set_line_drawn_by_editor(bool drawn) {
  line_drawn_by_editor = drawn;
}

unsigned times_taken_again() {
  return taken_again;
}

bool in_foreground() {
  // A terminal that is not tavoro's controlling terminal has no foreground
  // to leave.
  const pid_t group = holds_a_terminal() ? ::tcgetpgrp(terminal_descriptor()) : -1;
  return group == -1 || group == ::getpgrp();
}

void give_terminal_back() {
  if (given_back) {
    return;
  }
  // The question held for the line editor is on the screen when the
  // terminal is the user's again.
  given_back = true;
  std::string shown = take_held_line();
  if (looks_allowed()) {
    shown += painted_again(true);
  }
  static_cast<void>(write_all(STDOUT_FILENO, shown + give_back));
  // Only a window that still has the size asked for: one the user resized
  // since keeps the size the user chose.
  const auto size = size_found && size_asked.rows != 0 ? terminal_size() : std::nullopt;
  if (size && size->rows == size_asked.rows && size->columns == size_asked.columns) {
    static_cast<void>(write_all(STDOUT_FILENO, give_back_size));
  }
  if (input_terminal) {
    set_line_modes(found_modes);
  }
}

void give_terminal_back_for_good() {
  given_back_for_good = true;
  give_terminal_back();
}

bool terminal_given_back() {
  return given_back && !given_back_for_good;
}

void take_terminal_again() {
  if (!given_back || given_back_for_good || !in_foreground()) {
    return;
  }
  given_back = false;
  ++taken_again;
  // The line modes first: a key typed as soon as tavoro shows itself again
  // is read in them, never echoed by the terminal.
  if (input_terminal) {
    set_line_modes(modes_in_force);
  }
  if (!output_terminal) {
    return;
  }
  std::string shown;
  for (const std::string& change : changes) {
    shown += change;
  }
  if (looks_allowed()) {
    // What the shell wrote meanwhile is not tavoro's to paint: only the
    // line shown again, and what follows it.
    note_followed_other_text();
    note_echoed(unfinished_line());
    shown += painted_again(false);
  } else if (!line_drawn_by_editor) {
    shown += unfinished_line();
  }
  static_cast<void>(write_all(STDOUT_FILENO, shown));
}

void paint_window_again() {
  if (!looks_allowed() || given_back) {
    return;
  }
  ++taken_again;
  static_cast<void>(write_all(STDOUT_FILENO, painted_again(false)));
}
