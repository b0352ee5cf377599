#include "console/posix/error_output.hpp"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "console/console.hpp"
#include "console/console_output.hpp"
#include "console/posix/posix_write.hpp"
#include "console/posix/terminal_state.hpp"

namespace {

constexpr std::string_view error_prefix = "tavoro: ";

void write_error_line(const std::string& line) {
  // Standard error unwritable too: nothing is left to tell the user with.
  static_cast<void>(write_all(STDERR_FILENO, line));
}

}  // namespace

void report_error(std::string_view text, std::string_view argument, std::string_view more_text) {
  write_error_line(std::string(error_prefix) + console_bytes(text) + std::string(argument) +
                   console_bytes(more_text) + '\n');
}

void end_for_unwritable_output(int error_number) {
  // The C library words its reasons in the locale's language and encoding.
  write_error_line(std::string(error_prefix) + std::strerror(error_number) + '\n');
  give_terminal_back();
  // Not exit: it would flush standard output once more, into the same
  // failure.
  std::_Exit(1);
}
