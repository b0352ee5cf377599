#include "console/posix/posix_write.hpp"

#include <poll.h>
#include <unistd.h>
#include <climits>

#include <cerrno>

#include "console/posix/terminal_signals.hpp"

namespace {

// A pipe that poll finds writable takes PIPE_BUF bytes without blocking.
constexpr std::size_t longest_piece = PIPE_BUF;

std::size_t piece_length(std::string_view bytes) {
  if (bytes.size() <= longest_piece) {
    return bytes.size();
  }
  const std::size_t line_end = bytes.substr(0, longest_piece).rfind('\n');
  return line_end == std::string_view::npos ? longest_piece : line_end + 1;
}

}  // namespace

bool write_all(int fd, std::string_view bytes, void (*on_signal)()) {
  while (!bytes.empty()) {
    const int waited = wait_for_descriptor(fd, POLLOUT, -1);
    // A signal that came as the descriptor became ready is acted on all the
    // same, before the piece.
    if (on_signal != nullptr) {
      on_signal();
    }
    if (waited < 0 && (errno == EINTR || errno == EAGAIN)) {
      continue;
    }
    const ssize_t written = ::write(fd, bytes.data(), piece_length(bytes));
    if (written >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
    } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
      return false;
    }
  }
  return true;
}
