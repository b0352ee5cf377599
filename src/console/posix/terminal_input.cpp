#include "console/posix/terminal_input.hpp"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <iostream>
#include <streambuf>
#include <utility>

#include "console/posix/terminal_reports.hpp"

namespace {

// Only as many position reports are taken out as were asked for and have
// not come: a key that sends the same bytes later (Shift-F3) stays a key.
// Colour reports are OSC strings, which no key sends; every one is taken out.
std::size_t positions_outstanding = 0;

std::string without_late_reports(std::string_view bytes) {
  TakenReports taken = take_reports(bytes, positions_outstanding);
  positions_outstanding -= taken.columns.size();
  return std::move(taken.typed);
}

class TerminalInputStreambuf final : public std::streambuf {
 public:
  explicit TerminalInputStreambuf(std::string typed_ahead) : held_(std::move(typed_ahead)) {
    setg(held_.data(), held_.data(), held_.data() + held_.size());
  }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) {
      return traits_type::to_int_type(*gptr());
    }
    std::array<char, 4096> chunk{};
    held_.clear();
    // A line is read whole (the terminal hands over a line at a time), so a
    // late report arrives inside one chunk.
    while (held_.empty()) {
      const ssize_t count = ::read(STDIN_FILENO, chunk.data(), chunk.size());
      if (count < 0 && errno == EINTR) {
        continue;
      }
      if (count <= 0) {
        return traits_type::eof();
      }
      const std::string_view line(chunk.data(), static_cast<std::size_t>(count));
      held_ = without_late_reports(line);
      // A line that Ctrl-D handed over without its end holding nothing but
      // a report looked empty to the user: that Ctrl-D ends the input.
      if (held_.empty() && !line.ends_with('\n')) {
        return traits_type::eof();
      }
    }
    setg(held_.data(), held_.data(), held_.data() + held_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::string held_;
};

}  // namespace

void install_terminal_input(std::string typed_ahead, std::size_t position_reports_outstanding) {
  positions_outstanding = position_reports_outstanding;
  // Never destroyed: std::cin may be read until the program ends.
  static auto* const buffer = new TerminalInputStreambuf(std::move(typed_ahead));
  std::cin.rdbuf(buffer);
}

bool take_late_report(std::string_view bytes) {
  return !bytes.empty() && without_late_reports(bytes).empty();
}
