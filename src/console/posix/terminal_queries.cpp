#include "console/posix/terminal_queries.hpp"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <string>
#include <utility>

#include "console/posix/posix_write.hpp"
#include "console/posix/terminal_input.hpp"
#include "console/posix/terminal_state.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds longest_wait{250};
// GNU screen answers the background query by passing it on to the terminal
// it runs in, so that answer comes just after screen's own position report.
constexpr std::chrono::milliseconds drain_after_position{50};

// Appends to received what the terminal sends before deadline; false once
// it is over, or the input has ended.
bool read_until(Clock::time_point deadline, std::string& received) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd ready{STDIN_FILENO, POLLIN, 0};
    const int polled = left > 0 ? ::poll(&ready, 1, static_cast<int>(left)) : 0;
    if (polled < 0 && errno == EINTR) {
      continue;
    }
    if (polled <= 0) {
      return false;
    }
    std::array<char, 256> chunk{};
    const ssize_t count = ::read(STDIN_FILENO, chunk.data(), chunk.size());
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      return false;
    }
    received.append(chunk.data(), static_cast<std::size_t>(count));
    return true;
  }
}

}  // namespace

TerminalAnswers ask_terminal(bool measure_em_dash, bool ask_colours) {
  // Unedited and unechoed, so the answers neither wait for a line end nor
  // show; the wait is poll's.
  enter_input_modes(unedited_input_modes(0, 0));
  std::string questions = measure_em_dash ? "\r—" : "";  // from the line's first column
  if (ask_colours) {
    questions += "\x1b]10;?\a\x1b]11;?\a";
  }
  write_all(STDOUT_FILENO, questions + "\x1b[6n");

  const auto start = Clock::now();
  std::string received;
  TakenReports taken;
  while (!taken.column && read_until(start + longest_wait, received)) {
    taken = take_reports(received, true);
  }
  if (taken.column) {
    const auto deadline = std::min(Clock::now() + drain_after_position, start + longest_wait);
    while (read_until(deadline, received)) {
    }
    taken = take_reports(received, true);
  }
  if (measure_em_dash) {
    write_all(STDOUT_FILENO, "\r\x1b[K");
  }
  leave_input_modes();

  TerminalAnswers answers;
  if (measure_em_dash && taken.column && *taken.column > 1) {
    answers.em_dash_columns = *taken.column - 1;
  }
  answers.text = taken.text;
  answers.background = taken.background;
  install_terminal_input(std::move(taken.typed), !taken.column);
  return answers;
}
