#include "console/posix/terminal_size.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

std::optional<TerminalSize> terminal_size() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0) {
    return std::nullopt;
  }
  return TerminalSize{size.ws_row, size.ws_col};
}

std::string resize_request(unsigned short rows, unsigned short columns) {
  return "\x1b[8;" + std::to_string(rows) + ";" + std::to_string(columns) + "t";
}
