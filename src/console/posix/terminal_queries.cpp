#include "console/posix/terminal_queries.hpp"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "console/console_output.hpp"
#include "console/posix/input_queue.hpp"
#include "console/posix/terminal_owner.hpp"
#include "console/posix/terminal_signals.hpp"

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

// Takes in what the terminal sends before deadline; false once it is over,
// or the input has ended.
bool read_until(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 && fill_input_queue(static_cast<int>(left));
}

}  // namespace

TerminalAnswers ask_terminal(const TerminalQuestions& asked) {
  // Unedited and unechoed, so the answers neither wait for a line end nor
  // show; the wait is poll's. An ending signal meanwhile waits for the
  // answers on their way, so that none is left for the shell, and a signal
  // key leaves them in the input (and the user's typing before it).
  hold_ending_signals();
  use_line_modes(unedited_input_modes(0, 0, true));
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
  await_replies({.positions = positions,
                 .colours = asked.ask_colours,
                 .background_may_follow = asked.background_may_follow});
  write_console_control(questions);

  const auto deadline = Clock::now() + (asked.remote ? longest_remote_wait : longest_local_wait);
  while (replies().columns.size() < positions && read_until(deadline)) {
  }
  if (replies().columns.size() == positions && asked.ask_colours && asked.background_may_follow) {
    const auto drained = std::min(Clock::now() + drain_after_position, deadline);
    while (!replies().background && read_until(drained)) {
    }
  }
  if (asked.measure_em_dash) {
    write_console_control("\r\x1b[K");
  }
  use_session_line_modes();
  release_ending_signals();

  TerminalAnswers answers;
  const std::vector<int>& columns = replies().columns;
  if (asked.measure_em_dash && columns.size() >= 2) {
    const int drawn = columns[1] - columns[0];
    answers.em_dash_columns = drawn == 1 || drawn == 2 ? drawn : 0;
  }
  answers.text = replies().text;
  answers.background = replies().background;
  return answers;
}
