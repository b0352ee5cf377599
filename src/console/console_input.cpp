#include "console/console_input.hpp"

#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>

namespace {

// A form an input method types and the ASCII character it stands for.
struct TypedForm {
  std::string_view bytes;
  char ascii;
};

// In UTF-8 every form begins with a byte that only ever begins a character,
// so a form is one wherever its bytes stand.
constexpr std::array<TypedForm, 14> utf8_forms{{
    {"\xef\xbc\x90", '0'},
    {"\xef\xbc\x91", '1'},
    {"\xef\xbc\x92", '2'},
    {"\xef\xbc\x93", '3'},
    {"\xef\xbc\x94", '4'},
    {"\xef\xbc\x95", '5'},
    {"\xef\xbc\x96", '6'},
    {"\xef\xbc\x97", '7'},
    {"\xef\xbc\x98", '8'},
    {"\xef\xbc\x99", '9'},
    {"\xef\xbc\x8b", '+'},
    {"\xef\xbc\x8d", '-'},
    {"\xe2\x88\x92", '-'},
    {"\xe3\x80\x80", ' '},
}};

// GBK has no minus sign (U+2212); the rest are two-byte characters.
constexpr std::array<TypedForm, 13> gbk_forms{{
    {"\xa3\xb0", '0'},
    {"\xa3\xb1", '1'},
    {"\xa3\xb2", '2'},
    {"\xa3\xb3", '3'},
    {"\xa3\xb4", '4'},
    {"\xa3\xb5", '5'},
    {"\xa3\xb6", '6'},
    {"\xa3\xb7", '7'},
    {"\xa3\xb8", '8'},
    {"\xa3\xb9", '9'},
    {"\xa3\xab", '+'},
    {"\xa3\xad", '-'},
    {"\xa1\xa1", ' '},
}};

template <std::size_t Count>
const TypedForm* form_at(std::string_view bytes, const std::array<TypedForm, Count>& forms) {
  const auto found = std::find_if(forms.begin(), forms.end(), [bytes](const TypedForm& form) {
    return bytes.starts_with(form.bytes);
  });
  return found == forms.end() ? nullptr : &*found;
}

// Whether bytes, cut off by the end of what has come, may still grow into a
// form.
template <std::size_t Count>
bool may_become_form(std::string_view bytes, const std::array<TypedForm, Count>& forms) {
  return std::any_of(forms.begin(), forms.end(), [bytes](const TypedForm& form) {
    return form.bytes.size() > bytes.size() && form.bytes.starts_with(bytes);
  });
}

// A GBK character of two bytes: a lead byte 0x81 to 0xFE and a trail byte
// 0x40 to 0xFE but 0x7F. A lead byte without one is a byte on its own, and
// what follows it a character of its own.
bool is_gbk_lead(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xfe;
}
bool is_gbk_trail(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xfe && byte != 0x7f;
}

std::size_t append_utf8(std::string_view bytes, bool ended, std::string& ascii) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::string_view rest = bytes.substr(at);
    if (const TypedForm* form = form_at(rest, utf8_forms)) {
      ascii += form->ascii;
      at += form->bytes.size();
    } else if (!ended && may_become_form(rest, utf8_forms)) {
      break;
    } else {
      ascii += bytes[at];
      ++at;
    }
  }
  return at;
}

std::size_t append_gbk(std::string_view bytes, bool ended, std::string& ascii) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const bool lead = is_gbk_lead(static_cast<unsigned char>(bytes[at]));
    if (lead && at + 1 == bytes.size() && !ended) {
      break;  // its trail byte is still to come
    }
    if (!lead || at + 1 == bytes.size() ||
        !is_gbk_trail(static_cast<unsigned char>(bytes[at + 1]))) {
      ascii += bytes[at];
      ++at;
      continue;
    }
    const std::string_view character = bytes.substr(at, 2);
    const TypedForm* form = form_at(character, gbk_forms);
    if (form != nullptr) {
      ascii += form->ascii;
    } else {
      ascii += character;
    }
    at += 2;
  }
  return at;
}

// Appends bytes to ascii with the forms in their ASCII forms, and returns how
// many bytes of bytes it took: all of them, but for the start of a character
// cut off at their end, which may yet be one of the forms, unless the input
// ends there (ended).
std::size_t append_ascii_forms(std::string_view bytes, InputEncoding encoding, bool ended,
                               std::string& ascii) {
  return encoding == InputEncoding::gbk ? append_gbk(bytes, ended, ascii)
                                        : append_utf8(bytes, ended, ascii);
}

// Reads from the source a chunk at a time and hands std::cin the chunk with
// its forms in ASCII. The start of a character cut off at a chunk's end is
// held back until the rest of it comes.
class ConsoleInputStreambuf final : public std::streambuf {
 public:
  ConsoleInputStreambuf(InputEncoding encoding, ConsoleSource source)
      : encoding_(encoding), source_(source) {}

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) {
      return traits_type::to_int_type(*gptr());
    }
    held_.clear();
    while (held_.empty() && !ended_) {
      std::array<char, 4096> chunk{};
      const std::size_t count = source_(chunk);
      ended_ = count == 0;
      cut_off_.append(chunk.data(), count);
      cut_off_.erase(0, append_ascii_forms(cut_off_, encoding_, ended_, held_));
    }
    if (held_.empty()) {
      return traits_type::eof();
    }
    setg(held_.data(), held_.data(), held_.data() + held_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  InputEncoding encoding_;
  ConsoleSource source_;
  std::string cut_off_;  // the start of a character whose rest has not come
  std::string held_;     // what std::cin reads next
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<std::streambuf> console_input_buffer(InputEncoding encoding, ConsoleSource source) {
  return std::make_unique<ConsoleInputStreambuf>(encoding, source);
}

void install_console_input(InputEncoding encoding, ConsoleSource source) {
  // Never destroyed: std::cin may be read until the program ends.
  std::cin.rdbuf(console_input_buffer(encoding, source).release());
}
