#include "console/posix/terminal_input.hpp"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <iostream>
#include <streambuf>
#include <utility>

#include "console/posix/position_report.hpp"

namespace {

// Only one report is ever asked for, so at most one is taken out: a key
// that sends the same bytes later (Shift-F3 sends ESC [ 1 ; 2 R) stays a key.
bool report_outstanding = false;

// Takes the first position report out of text, if one is outstanding.
void remove_late_report(std::string& text) {
  if (!report_outstanding) {
    return;
  }
  if (const auto report = find_position_report(text)) {
    text.erase(report->start, report->length);
    report_outstanding = false;
  }
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
      held_.assign(chunk.data(), static_cast<std::size_t>(count));
      remove_late_report(held_);
    }
    setg(held_.data(), held_.data(), held_.data() + held_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::string held_;
};

}  // namespace

void install_terminal_input(std::string typed_ahead, bool outstanding) {
  report_outstanding = outstanding;
  // Never destroyed: std::cin may be read until the program ends.
  static auto* const buffer = new TerminalInputStreambuf(std::move(typed_ahead));
  std::cin.rdbuf(buffer);
}

bool take_late_report(std::string_view bytes) {
  if (report_outstanding && is_position_report(bytes)) {
    report_outstanding = false;
    return true;
  }
  return false;
}
