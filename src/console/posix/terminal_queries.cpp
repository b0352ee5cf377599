#include "console/posix/terminal_queries.hpp"

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

// Takes in what the terminal sends before deadline; false once it is over,
// or the input has ended.
bool read_until(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 && fill_input_queue(static_cast<int>(left));
}

}  // namespace

int ask_terminal(const TerminalQuestions& asked) {
  // Unedited and unechoed, so the answers neither wait for a line end nor
  // show; the wait is poll's. An ending signal meanwhile waits for the
  // answers on their way, so that none is left for the shell, and a signal
  // key leaves them in the input (and the user's typing before it).
  hold_ending_signals();
  use_line_modes(unedited_input_modes(0, 0, true));
  // From the line's first column: where the cursor is, an em dash, where
  // the cursor is then.
  constexpr std::size_t positions = 2;
  await_replies(positions);
  write_console_control("\r\x1b[6n—\x1b[6n");

  const auto deadline = Clock::now() + (asked.remote ? longest_remote_wait : longest_local_wait);
  while (replies().size() < positions && read_until(deadline)) {
  }
  write_console_control("\r\x1b[K");
  use_session_line_modes();
  release_ending_signals();

  const std::vector<int>& columns = replies();
  const int drawn = columns.size() >= 2 ? columns[1] - columns[0] : 0;
  return drawn == 1 || drawn == 2 ? drawn : 0;
}
