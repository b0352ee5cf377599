#include "console/posix/input_queue.hpp"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "console/console_output.hpp"
#include "console/posix/error_output.hpp"
#include "console/posix/terminal_looks.hpp"
#include "console/posix/terminal_owner.hpp"
#include "console/posix/terminal_reports.hpp"
#include "console/posix/terminal_signals.hpp"
#include "console/posix/whole_key.hpp"

namespace {

// How long the rest of a key, or of a report, may take to follow its start:
// a terminal sends a key's bytes at once, so a lone Escape is the Escape key.
constexpr int key_rest_wait = 100;

InputEncoding key_encoding = InputEncoding::utf8;
bool replies_awaited = false;
std::size_t awaited_positions = 0;
std::vector<int> heard;

std::string typed;
// The start of a report cut off where the bytes that came end.
std::string held;
// Whether the last read ended a line: a terminal hands over a line when it
// ends, or at Ctrl-D when it has no end.
bool last_read_ended_line = true;

void take_in(std::string_view bytes) {
  if (!replies_awaited) {
    typed.append(bytes);
    return;
  }
  const std::string scanned = held + std::string(bytes);
  TakenReports taken = take_reports(scanned, awaited_positions - heard.size());
  // What was held and turned out to begin no report was the start of one
  // cut off: dropped, but for a lone Escape, which is the Escape key.
  if (held.size() > 1 && taken.typed.starts_with(held)) {
    taken.typed.erase(0, held.size());
  }
  typed += taken.typed;
  held = std::move(taken.unfinished);
  heard.insert(heard.end(), taken.columns.begin(), taken.columns.end());
}

}  // namespace

void open_input_queue(InputEncoding encoding) {
  key_encoding = encoding;
}

void await_replies(std::size_t positions) {
  replies_awaited = true;
  awaited_positions = positions;
}

const std::vector<int>& replies() {
  return heard;
}

bool fill_input_queue(int milliseconds, bool until_taken_again) {
  release_held_line();
  for (;;) {
    const int polled = wait_for_descriptor(STDIN_FILENO, POLLIN, milliseconds);
    // What came during the wait is acted on, whether or not input came too.
    const unsigned takings = times_taken_again();
    act_on_signals();
    if (take_resize_noted()) {
      paint_window_again();
    }
    if (until_taken_again && times_taken_again() != takings) {
      return false;
    }
    if (polled < 0 && errno == EINTR) {
      continue;
    }
    if (polled == 0) {
      return false;
    }
    if (polled < 0) {
      end_for_unreadable_input(errno);
    }
    std::array<char, 4096> chunk{};
    const ssize_t count = ::read(STDIN_FILENO, chunk.data(), chunk.size());
    if (count < 0 && errno == EINTR) {
      act_on_signals();
      continue;
    }
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      continue;  // left non-blocking: poll waits for the bytes
    }
    if (count < 0) {
      end_for_unreadable_input(errno);
    }
    if (count == 0) {
      return false;
    }
    const std::string_view bytes(chunk.data(), static_cast<std::size_t>(count));
    last_read_ended_line = bytes.ends_with('\n');
    take_in(bytes);
    return true;
  }
}

std::size_t read_typed(std::span<char> bytes) {
  while (typed.empty()) {
    // A line that Ctrl-D handed over without its end, holding nothing but
    // the terminal's answers, looked empty to the user: that Ctrl-D ends the
    // input.
    if (!fill_input_queue(-1) || (typed.empty() && !last_read_ended_line)) {
      return 0;
    }
  }
  const std::size_t count = std::min(bytes.size(), typed.size());
  std::copy_n(typed.begin(), count, bytes.begin());
  // The terminal's own line echoed what it hands over.
  if (input_is_terminal()) {
    note_answer_echoed(std::string_view(typed).substr(0, count));
  }
  typed.erase(0, count);
  return count;
}

std::string read_key(bool until_taken_again) {
  for (;;) {
    const std::size_t length = whole_key_length(typed, key_encoding);
    if (length > 0) {
      std::string key = typed.substr(0, length);
      typed.erase(0, length);
      return key;
    }
    // A lone Escape is the Escape key where nothing follows it at once; an
    // awaited report, once begun, is waited for whole.
    const bool begun = !typed.empty() || held == "\x1b";
    const bool report_begun = held.size() > 1;
    const unsigned takings = times_taken_again();
    if (!fill_input_queue(begun && !report_begun ? key_rest_wait : -1, until_taken_again)) {
      if (until_taken_again && times_taken_again() != takings) {
        return {};
      }
      if (!begun) {
        return {};  // the input has ended
      }
      // No more came: what came is the key, whole as it is.
      typed += held;
      held.clear();
      if (whole_key_length(typed, key_encoding) == 0 && !typed.empty()) {
        std::string key = std::move(typed);
        typed.clear();
        return key;
      }
    }
  }
}
