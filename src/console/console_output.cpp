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
    plain_tail_ = 0;
  }

  void hold_unfinished() { holding_ = true; }

  // The held text, taken out of what is still to be written.
  std::string take_held() {
    std::string held = ready_.substr(ready_.size() - held_);
    ready_.resize(ready_.size() - held_);
    ready_text_.resize(ready_text_.size() - held_);
    held_ = 0;
    plain_tail_ = 0;
    remember_unfinished(held);
    return held;
  }

  void release_held() {
    if (held_ > 0) {
      held_ = 0;
      write_ready(0);
    }
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
    held_ = holding_ ? plain_tail_ : 0;
    write_ready(held_);
    return 0;
  }

 private:
  void encode_text() {
    if (!text_.empty()) {
      const std::string bytes = console_bytes(text_);
      ready_ += bytes;
      ready_text_ += bytes;
      const std::size_t line_end = bytes.rfind('\n');
      plain_tail_ =
          line_end == std::string::npos ? plain_tail_ + bytes.size() : bytes.size() - line_end - 1;
      text_.clear();
    }
  }

  // Writes what is ready but its last kept bytes, which stay ready.
  void write_ready(std::size_t kept) {
    if (ready_.size() == kept) {
      return;
    }
    // Taken out first: a sink that ends the program may flush once more.
    const std::string bytes = ready_.substr(0, ready_.size() - kept);
    const std::string text = ready_text_.substr(0, ready_text_.size() - kept);
    ready_.erase(0, bytes.size());
    ready_text_.erase(0, text.size());
    sink_(bytes);
    remember_unfinished(text);
  }

  ConsoleSink sink_;
  std::string text_;        // UTF-8, not yet encoded
  std::string ready_;       // the console's bytes, text and control sequences in order
  std::string ready_text_;  // the same without the control sequences
  // The text at the end of ready_ after its last end-of-line and control
  // sequence; of it, what a flush held back.
  std::size_t plain_tail_ = 0;
  std::size_t held_ = 0;
  bool holding_ = false;
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

void hold_unfinished_lines() {
  if (active_buffer != nullptr) {
    active_buffer->hold_unfinished();
  }
}

std::string take_held_line() {
  return active_buffer != nullptr ? active_buffer->take_held() : std::string();
}

void release_held_line() {
  if (active_buffer != nullptr) {
    active_buffer->release_held();
  }
}

std::string_view unfinished_line() {
  return unfinished;
}
