#include "console/console_output.hpp"

#include <iostream>
#include <streambuf>

#include "console/signal_safe_text.hpp"

namespace {

ConsoleEncoder active_encoder = nullptr;

// Longer than any question; a longer line is not kept.
SignalSafeText<512> unfinished;

void remember_unfinished(std::string_view sent) {
  const std::size_t line_end = sent.rfind('\n');
  if (line_end == std::string_view::npos) {
    unfinished.append(sent);
  } else {
    unfinished.hold(sent.substr(line_end + 1));
  }
}

// Collects what std::cout is given and passes it on at each flush. A line
// is therefore one write, and a multi-byte character is never split between
// two conversions.
class ConsoleStreambuf final : public std::streambuf {
 public:
  explicit ConsoleStreambuf(ConsoleSink sink) : sink_(sink) {}

 protected:
  int_type overflow(int_type byte) override {
    if (!traits_type::eq_int_type(byte, traits_type::eof())) {
      pending_.push_back(traits_type::to_char_type(byte));
    }
    return traits_type::not_eof(byte);
  }

  std::streamsize xsputn(const char_type* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }

  int sync() override {
    if (!pending_.empty()) {
      const std::string bytes = console_bytes(pending_);
      sink_(bytes);
      remember_unfinished(bytes);
      pending_.clear();
    }
    return 0;
  }

 private:
  ConsoleSink sink_;
  std::string pending_;
};

}  // namespace

void install_console_output(ConsoleEncoder encode, ConsoleSink sink) {
  active_encoder = encode;
  // Never destroyed: std::cout may still be flushed while the program ends.
  static auto* const buffer = new ConsoleStreambuf(sink);
  std::cout.rdbuf(buffer);
}

std::string console_bytes(std::string_view utf8) {
  return active_encoder != nullptr ? active_encoder(utf8) : std::string(utf8);
}

std::string_view unfinished_line() {
  return unfinished.held();
}
