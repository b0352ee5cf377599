#include "console/posix/key_reading.hpp"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "console/posix/terminal_input.hpp"
#include "console/posix/terminal_state.hpp"
#include "console/posix/whole_key.hpp"

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

// The bytes of one key, read one at a time so that nothing typed after it
// is taken. The bytes of an escape sequence follow its Escape at once; a
// lone Escape key has none, which a wait of a tenth of a second tells.
std::string take_one_key() {
  std::string key;
  char byte = 0;
  while (!is_whole_key(key)) {
    if (key == "\x1b") {
      enter_input_modes(unedited_input_modes(0, 1));
    }
    if (!read_key_byte(byte)) {
      break;
    }
    key += byte;
  }
  return key;
}

}  // namespace

void wait_for_key() {
  const termios waiting = unedited_input_modes(1, 0);
  enter_input_modes(waiting);
  // A report that the terminal sends only now, in answer to start-up's
  // questions, is no key.
  while (take_late_report(take_one_key())) {
    enter_input_modes(waiting);
  }
  leave_input_modes();
}
