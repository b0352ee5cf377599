#include "console/posix/key_reading.hpp"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cwchar>
#include <string>

#include "console/posix/terminal_input.hpp"
#include "console/posix/terminal_state.hpp"

namespace {

// One byte of the key being pressed; false when none comes.
bool read_key_byte(char& byte) {
  for (;;) {
    const ssize_t count = ::read(STDIN_FILENO, &byte, 1);
    if (count == 1) {
      return true;
    }
    if (count == 0 || errno != EINTR) {
      return false;
    }
  }
}

// The bytes of one key. The bytes of an escape sequence follow its escape
// at once; a lone Escape key has none, which the short wait tells.
std::string take_one_key() {
  std::mbstate_t state{};
  std::string key;
  char byte = 0;
  while (read_key_byte(byte)) {
    key += byte;
    if (std::mbrlen(&byte, 1, &state) != static_cast<std::size_t>(-2)) {
      break;
    }
  }
  if (key != "\x1b") {
    return key;
  }
  enter_input_modes(unedited_input_modes(0, 1));
  if (!read_key_byte(byte)) {
    return key;
  }
  key += byte;
  if (byte == '[') {
    // Parameters and intermediates up to the final byte (F5: ESC [ 1 5 ~,
    // Ctrl-Up: ESC [ 1 ; 5 A).
    while (read_key_byte(byte)) {
      key += byte;
      if (byte >= 0x40 && byte <= 0x7e) {
        break;
      }
    }
  } else if (byte == 'O' && read_key_byte(byte)) {
    key += byte;  // F1 to F4: ESC O P to ESC O S
  }
  return key;
}

}  // namespace

void wait_for_key() {
  const termios waiting = unedited_input_modes(1, 0);
  enter_input_modes(waiting);
  // The cursor position that start-up asked for, arriving only now, is no key.
  while (take_late_report(take_one_key())) {
    enter_input_modes(waiting);
  }
  leave_input_modes();
}
