#include "console/posix/terminal_state.hpp"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <iostream>
#include <string>

#include "console/posix/posix_write.hpp"
#include "console/posix/terminal_size.hpp"

namespace {

// Fixed buffers, filled before any signal handler can read them.
struct Prepared {
  std::array<char, 128> bytes{};
  std::size_t length = 0;

  void hold(std::string_view text) {
    length = std::min(text.size(), bytes.size());
    std::copy_n(text.begin(), length, bytes.begin());
  }
  std::string_view held() const { return {bytes.data(), length}; }
};

bool sequences = false;
bool colours = false;
bool input_terminal = false;
termios own_modes{};

Prepared give_back;
std::array<Prepared, static_cast<std::size_t>(KeptRequest::count)> kept;

termios modes_in_force{};
volatile std::sig_atomic_t own_modes_in_force = 1;

}  // namespace

void note_terminal(bool allow_sequences, bool allow_colours, bool terminal_input) {
  sequences = allow_sequences;
  colours = allow_sequences && allow_colours;
  input_terminal = terminal_input && ::tcgetattr(STDIN_FILENO, &own_modes) == 0;
  if (!sequences) {
    return;
  }
  // The title the terminal saved when tavoro set its own, the size it had,
  // and its default colours where tavoro changes them.
  std::string sequence = colours ? "\x1b]110\x07\x1b]111\x07" : "";
  sequence += "\x1b[23;0t";
  if (const auto size = terminal_size()) {
    sequence += resize_request(size->rows, size->columns);
  }
  give_back.hold(sequence);
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
}
