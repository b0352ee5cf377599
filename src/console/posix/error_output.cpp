#include "console/posix/error_output.hpp"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "console/console.hpp"
#include "console/console_output.hpp"
#include "console/posix/posix_write.hpp"
#include "console/posix/terminal_owner.hpp"
#include "console/posix/terminal_signals.hpp"

namespace {

constexpr std::string_view error_prefix = "tavoro: ";

void write_error_line(const std::string& line) {
  // Standard error unwritable too: nothing is left to tell the user with.
  static_cast<void>(write_all(STDERR_FILENO, line));
}

[[noreturn]] void end_with_reason(int error_number) {
  // The C library words its reasons in the locale's language and encoding.
  write_error_line(std::string(error_prefix) + std::strerror(error_number) + '\n');
  unguard_terminal();
  give_terminal_back_for_good();
  // Not exit: it would flush standard output once more.
  std::_Exit(1);
}

std::string escaped(unsigned char byte) {
  std::array<char, 5> text{};
  std::snprintf(text.data(), text.size(), "\\x%02x", byte);
  return text.data();
}

// An argument as it may be shown on a terminal: its control bytes, which a
// terminal would act on (an Escape begins a control sequence), as \xNN.
std::string shown_argument(std::string_view argument) {
  std::string shown;
  for (const char character : argument) {
    const auto byte = static_cast<unsigned char>(character);
    shown += byte < 0x20 || byte == 0x7f ? escaped(byte) : std::string(1, character);
  }
  return shown;
}

}  // namespace

void report_error(std::string_view text, std::string_view argument, std::string_view more_text) {
  write_error_line(std::string(error_prefix) + console_bytes(text) + shown_argument(argument) +
                   console_bytes(more_text) + '\n');
}

void end_for_unwritable_output(int error_number) {
  end_with_reason(error_number);
}

void end_for_unreadable_input(int error_number) {
  std::cout.flush();
  end_with_reason(error_number);
}
