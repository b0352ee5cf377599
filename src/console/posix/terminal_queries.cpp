#include "console/posix/terminal_queries.hpp"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
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

// The longest wait for the answers: a quarter of a second, where no one
// notices it; across a remote link a second, since the round trip to a
// server abroad alone takes 300 ms.
constexpr std::chrono::milliseconds longest_local_wait{250};
constexpr std::chrono::milliseconds longest_remote_wait{1000};
// How long a background answer passed on to another terminal may follow the
// last position report.
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

TerminalAnswers ask_terminal(const TerminalQuestions& asked) {
  // Unedited and unechoed, so the answers neither wait for a line end nor
  // show; the wait is poll's.
  enter_input_modes(unedited_input_modes(0, 0));
  // From the line's first column: where the cursor is, an em dash, where
  // the cursor is then.
  std::string questions = asked.measure_em_dash ? "\r\x1b[6n—\x1b[6n" : "";
  std::size_t positions = asked.measure_em_dash ? 2 : 0;
  if (asked.ask_colours) {
    questions += "\x1b]10;?\a\x1b]11;?\a";
  }
  if (asked.ask_colours || !asked.measure_em_dash) {
    questions += "\x1b[6n";
    ++positions;
  }
  write_all(STDOUT_FILENO, questions);

  const auto deadline = Clock::now() + (asked.remote ? longest_remote_wait : longest_local_wait);
  std::string received;
  TakenReports taken;
  while (taken.columns.size() < positions && read_until(deadline, received)) {
    taken = take_reports(received, positions);
  }
  if (taken.columns.size() == positions && asked.ask_colours && asked.background_may_follow) {
    const auto drained = std::min(Clock::now() + drain_after_position, deadline);
    while (!taken.background && read_until(drained, received)) {
      taken = take_reports(received, positions);
    }
  }
  if (asked.measure_em_dash) {
    write_all(STDOUT_FILENO, "\r\x1b[K");
  }
  leave_input_modes();

  TerminalAnswers answers;
  if (asked.measure_em_dash && taken.columns.size() >= 2) {
    const int drawn = taken.columns[1] - taken.columns[0];
    answers.em_dash_columns = drawn == 1 || drawn == 2 ? drawn : 0;
  }
  answers.text = taken.text;
  answers.background = taken.background;
  install_terminal_input(std::move(taken.typed), positions - taken.columns.size());
  return answers;
}
