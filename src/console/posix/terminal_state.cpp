#include "console/posix/terminal_state.hpp"

#include <unistd.h>

#include <array>
#include <csignal>
#include <iostream>
#include <string>

#include "console/console_output.hpp"
#include "console/posix/posix_write.hpp"
#include "console/posix/terminal_size.hpp"
#include "console/signal_safe_text.hpp"

namespace {

using Prepared = SignalSafeText<128>;

bool sequences = false;
bool colours = false;
bool input_terminal = false;
bool output_terminal = false;
termios own_modes{};

// The terminal's own title and size, and its colours before them.
std::string give_back_title_and_size;
Prepared give_back;
std::array<Prepared, static_cast<std::size_t>(KeptRequest::count)> kept;

termios modes_in_force{};
volatile std::sig_atomic_t own_modes_in_force = 1;

}  // namespace

void note_terminal(bool allow_sequences, bool terminal_input, bool terminal_output) {
  sequences = allow_sequences;
  output_terminal = terminal_output;
  input_terminal = terminal_input && ::tcgetattr(STDIN_FILENO, &own_modes) == 0;
  if (!sequences) {
    return;
  }
  // The title the terminal saved when tavoro set its own, and its size.
  give_back_title_and_size = "\x1b[23;0t";
  if (const auto size = terminal_size()) {
    give_back_title_and_size += resize_request(size->rows, size->columns);
  }
  give_back.hold(give_back_title_and_size);
}

void allow_colours(std::string_view give_back_colours) {
  if (!sequences) {
    return;
  }
  colours = true;
  give_back.hold(std::string(give_back_colours) + give_back_title_and_size);
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

termios unedited_input_modes(cc_t min_bytes, cc_t tenths) {
  termios modes = own_modes;
  modes.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  modes.c_cc[VMIN] = min_bytes;
  modes.c_cc[VTIME] = tenths;
  return modes;
}

void send_kept_request(KeptRequest kind, std::string_view bytes) {
  std::cout.flush();
  kept.at(static_cast<std::size_t>(kind)).hold(bytes);
  write_all(STDOUT_FILENO, bytes);
}

void enter_input_modes(const termios& modes) {
  own_modes_in_force = 1;
  modes_in_force = modes;
  own_modes_in_force = 0;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &modes);
}

void leave_input_modes() {
  own_modes_in_force = 1;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &own_modes);
}

void give_terminal_back() {
  write_all(STDOUT_FILENO, give_back.held());
  if (input_terminal) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &own_modes);
  }
}

void take_terminal_again() {
  for (const Prepared& request : kept) {
    write_all(STDOUT_FILENO, request.held());
  }
  if (input_terminal) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, own_modes_in_force != 0 ? &own_modes : &modes_in_force);
  }
  if (output_terminal) {
    write_all(STDOUT_FILENO, unfinished_line());
  }
}
