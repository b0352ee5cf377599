#include "shell/em_dash_width.hpp"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "shell/posix_write.hpp"
#include "shell/terminal_input.hpp"
#include "shell/terminal_state.hpp"

namespace {

constexpr std::chrono::milliseconds longest_wait{250};

// The column of a position report that starts at bytes[start], or 0.
int reported_column(std::string_view bytes, std::size_t start, std::size_t& end) {
  end = bytes.find('R', start);
  if (end == std::string_view::npos) {
    return 0;
  }
  ++end;
  const std::string_view report = bytes.substr(start, end - start);
  if (!is_position_report(report)) {
    return 0;
  }
  const std::string_view digits = report.substr(report.find(';') + 1);
  int column = 0;
  std::from_chars(digits.data(), digits.data() + digits.size() - 1, column);
  return column;
}

// Reads what the terminal sends until the position report is in, or the
// wait is over. Everything else is the user's typing, kept in typed.
int read_report(std::string& typed) {
  const auto deadline = std::chrono::steady_clock::now() + longest_wait;
  std::string received;
  for (;;) {
    // A report is searched for from every escape on: keys the user pressed
    // may hold escapes too.
    for (std::size_t start = received.find('\x1b'); start != std::string::npos;
         start = received.find('\x1b', start + 1)) {
      std::size_t end = 0;
      if (const int column = reported_column(received, start, end); column > 0) {
        typed = received.substr(0, start) + received.substr(end);
        return column;
      }
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd ready{STDIN_FILENO, POLLIN, 0};
    const int polled = left.count() > 0 ? ::poll(&ready, 1, static_cast<int>(left.count())) : 0;
    if (polled < 0 && errno == EINTR) {
      continue;
    }
    if (polled <= 0) {
      typed = received;
      return 0;
    }
    std::array<char, 256> chunk{};
    const ssize_t count = ::read(STDIN_FILENO, chunk.data(), chunk.size());
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      typed = received;
      return 0;
    }
    received.append(chunk.data(), static_cast<std::size_t>(count));
  }
}

}  // namespace

int measure_em_dash_columns() {
  // Unedited and unechoed, so the report neither waits for a line end nor
  // shows; the wait is poll's.
  enter_input_modes(unedited_input_modes(0, 0));
  // From the line's first column: an em dash, then the question.
  write_all(STDOUT_FILENO, "\r—\x1b[6n");
  std::string typed;
  const int column = read_report(typed);
  write_all(STDOUT_FILENO, "\r\x1b[K");
  leave_input_modes();
  install_terminal_input(std::move(typed), column == 0);
  return column > 1 ? column - 1 : 0;
}
