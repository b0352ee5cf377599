#include "console/posix/terminal_owner.hpp"

#include <unistd.h>

#include <array>
#include <csignal>
#include <string>

#include "console/console_output.hpp"
#include "console/posix/posix_write.hpp"
#include "console/posix/signal_safe_text.hpp"
#include "console/posix/terminal_size.hpp"

namespace {

// Found at the start, then only read.
bool sequences = false;
bool input_terminal = false;
bool output_terminal = false;
termios found_modes{};
TerminalSize found_size{};
bool size_found = false;

bool colours = false;
termios modes_in_force{};
std::array<std::string, static_cast<std::size_t>(TerminalChange::count)> changes;

// What the handlers read: the give-back prepared (colours, then the title),
// the size found as a request, the size asked for, and whether the
// terminal is given back.
SignalSafeText<256> give_back;
SignalSafeText<32> give_back_size;
volatile std::sig_atomic_t rows_asked = 0;
volatile std::sig_atomic_t columns_asked = 0;
volatile std::sig_atomic_t given_back = 0;
bool given_back_for_good = false;

constexpr std::string_view title_given_back = "\x1b[23;0t";

int terminal_descriptor() {
  return input_terminal ? STDIN_FILENO : STDOUT_FILENO;
}

}  // namespace

void take_terminal(bool allow_sequences, bool terminal_input, bool terminal_output) {
  sequences = allow_sequences;
  output_terminal = terminal_output;
  input_terminal = terminal_input && ::tcgetattr(STDIN_FILENO, &found_modes) == 0;
  modes_in_force = found_modes;
  if (!sequences) {
    return;
  }
  give_back.hold(title_given_back);
  if (const auto size = terminal_size()) {
    found_size = *size;
    size_found = true;
    give_back_size.hold(resize_request(size->rows, size->columns));
  }
}

void allow_colours(std::string_view give_back_colours) {
  if (!sequences) {
    return;
  }
  colours = true;
  give_back.hold(std::string(give_back_colours) + std::string(title_given_back));
}

bool sequences_allowed() {
  return sequences;
}
bool colours_allowed() {
  return colours;
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
  rows_asked = rows;
  columns_asked = columns;
}

termios unedited_input_modes(cc_t min_bytes, cc_t tenths) {
  termios modes = found_modes;
  modes.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  modes.c_cc[VMIN] = min_bytes;
  modes.c_cc[VTIME] = tenths;
  return modes;
}

void use_line_modes(const termios& modes) {
  modes_in_force = modes;
  if (input_terminal && given_back == 0) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &modes);
  }
}

void use_found_line_modes() {
  use_line_modes(found_modes);
}

bool in_foreground() {
  // A terminal that is not tavoro's controlling terminal has no foreground
  // to leave.
  const pid_t group = holds_a_terminal() ? ::tcgetpgrp(terminal_descriptor()) : -1;
  return group == -1 || group == ::getpgrp();
}

void give_terminal_back() {
  if (given_back != 0) {
    return;
  }
  given_back = 1;
  write_all(STDOUT_FILENO, give_back.held());
  // Only a window that still has the size asked for: one the user resized
  // since keeps the size the user chose. (ioctl, which reads the size, is a
  // plain system call, safe here like write.)
  const auto size = size_found && rows_asked != 0 ? terminal_size() : std::nullopt;
  if (size && size->rows == rows_asked && size->columns == columns_asked) {
    write_all(STDOUT_FILENO, give_back_size.held());
  }
  if (input_terminal) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &found_modes);
  }
}

void give_terminal_back_for_good() {
  given_back_for_good = true;
  give_terminal_back();
}

bool terminal_given_back() {
  return given_back != 0 && !given_back_for_good;
}

void take_terminal_again() {
  if (given_back == 0 || given_back_for_good || !in_foreground()) {
    return;
  }
  given_back = 0;
  if (input_terminal) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &modes_in_force);
  }
  if (!output_terminal) {
    return;
  }
  std::string shown;
  for (const std::string& change : changes) {
    shown += change;
  }
  shown += unfinished_line();
  write_all(STDOUT_FILENO, shown);
}
