#include "console/console_output.hpp"

#include <iostream>
#include <streambuf>

namespace {

ConsoleEncoder active_encoder = nullptr;
// Of what the console has been given: the text after the last end-of-line.
std::string unfinished;

void remember_unfinished(std::string_view text) {
  const std::size_t line_end = text.rfind('\n');
  if (line_end == std::string_view::npos) {
    unfinished.append(text);
  } else {
    unfinished.assign(text.substr(line_end + 1));
  }
}

// Collects what std::cout is given and passes it on at each flush, with
// the control sequences added between its texts in their places. A line is
// therefore one write, and a multi-byte character is never split between
// two conversions.
class ConsoleStreambuf final : public std::streambuf {
 public:
  explicit ConsoleStreambuf(ConsoleSink sink) : sink_(sink) {}

  void add_control(std::string_view bytes) {
    encode_text();
    ready_.append(bytes);
  }

 protected:
  int_type overflow(int_type byte) override {
    if (!traits_type::eq_int_type(byte, traits_type::eof())) {
      text_.push_back(traits_type::to_char_type(byte));
    }
    return traits_type::not_eof(byte);
  }

  std::streamsize xsputn(const char_type* text, std::streamsize count) override {
    text_.append(text, static_cast<std::size_t>(count));
    return count;
  }

  int sync() override {
    encode_text();
    if (!ready_.empty()) {
      // Emptied first: a sink that ends the program may flush once more.
      const std::string bytes = std::move(ready_);
      const std::string text = std::move(ready_text_);
      ready_.clear();
      ready_text_.clear();
      sink_(bytes);
      remember_unfinished(text);
    }
    return 0;
  }

 private:
  void encode_text() {
    if (!text_.empty()) {
      const std::string bytes = console_bytes(text_);
      ready_ += bytes;
      ready_text_ += bytes;
      text_.clear();
    }
  }

  ConsoleSink sink_;
  std::string text_;        // UTF-8, not yet encoded
  std::string ready_;       // the console's bytes, text and control sequences in order
  std::string ready_text_;  // the same without the control sequences
};

ConsoleStreambuf* active_buffer = nullptr;

}  // namespace

void install_console_output(ConsoleEncoder encode, ConsoleSink sink) {
  active_encoder = encode;
  // Never destroyed: std::cout may still be flushed while the program ends.
  static auto* const buffer = new ConsoleStreambuf(sink);
  active_buffer = buffer;
  std::cout.rdbuf(buffer);
}

std::string console_bytes(std::string_view utf8) {
  return active_encoder != nullptr ? active_encoder(utf8) : std::string(utf8);
}

void write_console_control(std::string_view bytes) {
  if (active_buffer != nullptr) {
    active_buffer->add_control(bytes);
    std::cout.flush();
  }
}

std::string_view unfinished_line() {
  return unfinished;
}
