#include "console/console_output.hpp"

#include <iostream>
#include <streambuf>

namespace {

ConsoleEncoder active_encoder = nullptr;
// Of what the console has been given: the text after the last end-of-line.
std::string unfinished;
TextPainter active_painter = nullptr;
bool keeping_screen = false;
std::string on_screen;
constexpr std::size_t longest_screen_text = std::size_t{1} << 20;

void remember_on_screen(std::string_view text) {
  if (!keeping_screen) {
    return;
  }
  on_screen.append(text);
  // Text scrolled that far out of the window no one paints again.
  if (on_screen.size() > longest_screen_text) {
    const std::size_t line_end = on_screen.find('\n', on_screen.size() - longest_screen_text / 2);
    on_screen.erase(0, line_end == std::string::npos ? on_screen.size() : line_end + 1);
  }
}

void remember_unfinished(std::string_view text) {
  remember_on_screen(text);
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
    plain_tail_text_ = 0;
  }

  void hold_unfinished() { holding_ = true; }

  // The held text, taken out of what is still to be written.
  std::string take_held() {
    std::string held = ready_.substr(ready_.size() - held_);
    ready_.resize(ready_.size() - held_);
    remember_unfinished(std::string_view(ready_text_).substr(ready_text_.size() - held_text_));
    ready_text_.resize(ready_text_.size() - held_text_);
    held_ = 0;
    held_text_ = 0;
    plain_tail_ = 0;
    plain_tail_text_ = 0;
    return held;
  }

  void release_held() {
    if (held_ > 0) {
      held_ = 0;
      held_text_ = 0;
      write_ready(0, 0);
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
    held_text_ = holding_ ? plain_tail_text_ : 0;
    write_ready(held_, held_text_);
    return 0;
  }

 private:
  void encode_text() {
    if (!text_.empty()) {
      const std::string bytes = console_bytes(text_);
      const std::string painted = active_painter != nullptr ? active_painter(bytes) : bytes;
      ready_ += painted;
      ready_text_ += bytes;
      plain_tail_ = tail_after(painted, plain_tail_);
      plain_tail_text_ = tail_after(bytes, plain_tail_text_);
      text_.clear();
    }
  }

  // The length of the text after the last end-of-line, bytes added to a
  // tail of tail bytes.
  static std::size_t tail_after(std::string_view bytes, std::size_t tail) {
    const std::size_t line_end = bytes.rfind('\n');
    return line_end == std::string::npos ? tail + bytes.size() : bytes.size() - line_end - 1;
  }

  // Writes what is ready but its last kept bytes (kept_text of them text),
  // which stay ready.
  void write_ready(std::size_t kept, std::size_t kept_text) {
    if (ready_.size() == kept) {
      return;
    }
    // Taken out first: a sink that ends the program may flush once more.
    const std::string bytes = ready_.substr(0, ready_.size() - kept);
    const std::string text = ready_text_.substr(0, ready_text_.size() - kept_text);
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
  std::size_t plain_tail_text_ = 0;  // of ready_text_
  std::size_t held_ = 0;
  std::size_t held_text_ = 0;
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

void install_text_painter(TextPainter painter) {
  active_painter = painter;
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

void keep_screen_text() {
  keeping_screen = true;
}

void forget_screen_text() {
  on_screen.clear();
}

void note_echoed(std::string_view bytes) {
  remember_on_screen(bytes);
}

std::string_view screen_text() {
  return on_screen;
}
