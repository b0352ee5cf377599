#include "console/posix/em_dash_width.hpp"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "console/posix/position_report.hpp"
#include "console/posix/posix_write.hpp"
#include "console/posix/terminal_input.hpp"
#include "console/posix/terminal_state.hpp"

namespace {

constexpr std::chrono::milliseconds longest_wait{250};

// Reads what the terminal sends until the position report is in, or the
// wait is over. Everything else is the user's typing, kept in typed.
int read_report(std::string& typed) {
  const auto deadline = std::chrono::steady_clock::now() + longest_wait;
  std::string received;
  for (;;) {
    if (const auto report = find_position_report(received)) {
      typed = received.erase(report->start, report->length);
      return report->column;
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
