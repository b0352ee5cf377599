// Console commands on terminals: control sequences written to standard
// output, and only when it is a terminal, so that a pipe or a file receives
// the text alone. "pause" is the one command that writes text everywhere.

#include <iconv.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <cwchar>
#include <iostream>
#include <string>
#include <string_view>

#include "shell/console.hpp"
#include "shell/console_output.hpp"

namespace {

bool output_is_terminal = false;
bool input_is_terminal = false;
termios input_modes{};

// Written by the signal handler, which may use nothing but async-signal-safe
// calls: prepared once, at start-up, with the size the terminal had then.
std::array<char, 128> restore_sequence{};
std::size_t restore_length = 0;

void write_all(int fd, const char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t written = ::write(fd, bytes, count);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return;  // nowhere left to write to; the dialogue goes on regardless
    }
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
}

void write_to_stdout(std::string_view bytes) {
  write_all(STDOUT_FILENO, bytes.data(), bytes.size());
}

bool is_gbk_codeset(std::string_view codeset) {
  for (const std::string_view name : {"GBK", "GB2312", "GB18030", "CP936"}) {
    if (codeset.size() == name.size() &&
        ::strncasecmp(codeset.data(), name.data(), name.size()) == 0) {
      return true;
    }
  }
  return false;
}

// Used by encode_gbk only, which is installed only once this has opened.
iconv_t to_gbk{};

std::string encode_gbk(std::string_view utf8) {
  std::string gbk(utf8.size(), '\0');  // GBK never needs more bytes than UTF-8
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* out = gbk.data();
  std::size_t out_left = gbk.size();
  ::iconv(to_gbk, nullptr, nullptr, nullptr, nullptr);
  while (in_left > 0) {
    if (::iconv(to_gbk, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1)) {
      if (errno == EILSEQ || errno == EINVAL) {
        // Not a text of tavoro's; let the byte through as it is.
        *out++ = *in++;
        --in_left;
        --out_left;
        continue;
      }
      break;
    }
  }
  gbk.resize(gbk.size() - out_left);
  return gbk;
}

bool read_size(unsigned short& rows, unsigned short& columns) {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0) {
    return false;
  }
  rows = size.ws_row;
  columns = size.ws_col;
  return true;
}

// Asks the terminal for rows by columns.
std::string resize_sequence(unsigned short rows, unsigned short columns) {
  return "\x1b[8;" + std::to_string(rows) + ";" + std::to_string(columns) + "t";
}

void give_terminal_back() {
  if (restore_length > 0) {
    write_all(STDOUT_FILENO, restore_sequence.data(), restore_length);
  }
  if (input_is_terminal) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &input_modes);
  }
}

extern "C" void on_ending_signal(int signal_number) {
  give_terminal_back();
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  ::sigaction(signal_number, &default_action, nullptr);
  ::raise(signal_number);
}

void prepare_restore_sequence() {
  // Default colours, the title the terminal saved, and the size it had.
  std::string sequence = "\x1b]110\x07\x1b]111\x07\x1b[23;0t";
  unsigned short rows = 0;
  unsigned short columns = 0;
  if (read_size(rows, columns)) {
    sequence += resize_sequence(rows, columns);
  }
  restore_length = std::min(sequence.size(), restore_sequence.size());
  std::memcpy(restore_sequence.data(), sequence.data(), restore_length);
}

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

// Takes one key and nothing after it, so that answers typed ahead stay for
// the questions that follow. A character of several bytes in the console's
// encoding is one key, and so is an escape sequence (arrow and function
// keys), whose bytes follow the escape at once; a lone Escape key has none.
void take_one_key(termios waiting) {
  std::mbstate_t state{};
  char byte = 0;
  while (read_key_byte(byte) && std::mbrlen(&byte, 1, &state) == static_cast<std::size_t>(-2)) {
  }
  if (byte != '\x1b') {
    return;
  }
  waiting.c_cc[VMIN] = 0;
  waiting.c_cc[VTIME] = 1;  // tenths of a second
  ::tcsetattr(STDIN_FILENO, TCSANOW, &waiting);
  if (!read_key_byte(byte)) {
    return;
  }
  if (byte == '[') {
    while (read_key_byte(byte) && (byte < 0x40 || byte > 0x7e)) {
    }
  } else if (byte == 'O') {
    read_key_byte(byte);
  }
}

void wait_for_key() {
  termios waiting = input_modes;
  ::tcgetattr(STDIN_FILENO, &waiting);
  const termios before = waiting;
  waiting.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  waiting.c_cc[VMIN] = 1;
  waiting.c_cc[VTIME] = 0;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &waiting);
  take_one_key(waiting);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &before);
}

void write_sequence(std::string_view sequence) {
  if (output_is_terminal) {
    std::cout << sequence;
    std::cout.flush();
  }
}

}  // namespace

void open_console() {
  std::ios::sync_with_stdio(false);
  std::setlocale(LC_CTYPE, "");
  ConsoleEncoder encoder = nullptr;
  if (is_gbk_codeset(::nl_langinfo(CODESET))) {
    to_gbk = ::iconv_open("GBK", "UTF-8");
    // (iconv_t)-1 is how iconv_open says the conversion is not available.
    if (to_gbk != reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
      encoder = encode_gbk;
    }
  }
  install_console_output(encoder, write_to_stdout);

  output_is_terminal = ::isatty(STDOUT_FILENO) == 1;
  input_is_terminal = ::isatty(STDIN_FILENO) == 1 && ::tcgetattr(STDIN_FILENO, &input_modes) == 0;
  if (output_is_terminal) {
    prepare_restore_sequence();
  }
  if (output_is_terminal || input_is_terminal) {
    struct sigaction action {};
    action.sa_handler = on_ending_signal;
    sigemptyset(&action.sa_mask);
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
      ::sigaction(signal_number, &action, nullptr);
    }
  }
}

void run_console_command(ConsoleCommand command) {
  std::cout.flush();
  switch (command) {
    case ConsoleCommand::title:
      // The terminal first saves its own title, to be given back at the end.
      write_sequence("\x1b[22;0t\x1b]0;C++Tavoro程序\x07");
      break;
    case ConsoleCommand::width: {
      // Keep the rows: several terminals ignore a resize with an empty field.
      unsigned short rows = 0;
      unsigned short columns = 0;
      if (output_is_terminal && read_size(rows, columns)) {
        write_sequence(resize_sequence(rows, 55));
      }
      break;
    }
    // The default background (OSC 11) and text colour (OSC 10) recolour the
    // whole window, text already shown included, as the console's colour
    // command does. The values are the console's colours F, 0, A and C.
    case ConsoleCommand::look_start:
      write_sequence("\x1b]11;#f2f2f2\x07\x1b]10;#0c0c0c\x07");
      break;
    case ConsoleCommand::look_accepted:
      write_sequence("\x1b]11;#f2f2f2\x07\x1b]10;#16c60c\x07");
      break;
    case ConsoleCommand::look_rejected:
      write_sequence("\x1b]11;#0c0c0c\x07\x1b]10;#e74856\x07");
      break;
    case ConsoleCommand::clear:
      write_sequence("\x1b[H\x1b[2J\x1b[3J");
      break;
    case ConsoleCommand::pause:
      std::cout << pause_request;
      std::cout.flush();
      if (input_is_terminal) {
        wait_for_key();
      }
      std::cout << std::endl;
      break;
  }
}

void close_console() {
  std::cout.flush();
  give_terminal_back();
}
