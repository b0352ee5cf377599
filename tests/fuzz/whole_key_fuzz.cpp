// The splitter of keys at a pause never cuts a key in two nor joins two:
// keys of every kind made from the input (characters of the UTF-8 locale,
// Alt and a character, CSI and SS3 sequences, OSC strings), sent one after
// another and read a byte at a time, are split back into the same keys.
#include <climits>
#include <clocale>
#include <cwchar>
#include <string>
#include <vector>

#include "console/posix/whole_key.hpp"
#include "fuzz/fuzz_input.hpp"

namespace {

// Any character but Escape, which begins the other keys.
std::string character(FuzzInput& input) {
  const unsigned first = input.next();
  const unsigned code =
      first < 0x80 ? first : ((first << 16) | (input.next() << 8) | input.next()) % 0x110000;
  std::string bytes(MB_LEN_MAX, '\0');
  std::mbstate_t state{};
  const std::size_t length = std::wcrtomb(bytes.data(), static_cast<wchar_t>(code), &state);
  bytes.resize(code == 0x1b || length == static_cast<std::size_t>(-1) ? 0 : length);
  return bytes.empty() ? "x" : bytes;
}

// Up to 63 bytes from first to first + range - 1.
std::string run_of(FuzzInput& input, char first, unsigned range) {
  std::string bytes(input.next() % 64, first);
  for (char& byte : bytes) {
    byte = static_cast<char>(first + input.next() % range);
  }
  return bytes;
}

std::string key(FuzzInput& input) {
  switch (input.next() % 5) {
    case 0:
      return character(input);
    case 1: {
      const std::string pressed = character(input);  // not the start of a sequence
      return "\x1b" + (pressed == "[" || pressed == "O" || pressed == "]" ? "a" : pressed);
    }
    case 2:  // parameter bytes, then the final byte
      return "\x1b[" + run_of(input, 0x30, 16) + static_cast<char>(0x40 + input.next() % 63);
    case 3:
      return "\x1bO" + std::string(1, static_cast<char>(0x40 + input.next() % 63));
    default:
      return "\x1b]" + run_of(input, 0x20, 95) + (input.next() % 2 == 0 ? "\a" : "\x1b\\");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const locale = std::setlocale(LC_CTYPE, "C.UTF-8");
  require(locale != nullptr, "the C.UTF-8 locale is there");
  FuzzInput input{as_text(data, size)};
  std::vector<std::string> sent;
  std::string typed;
  while (!input.bytes.empty()) {
    sent.push_back(key(input));
    typed += sent.back();
  }
  std::vector<std::string> split;
  std::string pressed;
  for (const char byte : typed) {
    pressed += byte;
    if (is_whole_key(pressed)) {
      split.push_back(pressed);
      pressed.clear();
    }
  }
  require(pressed.empty() && split == sent, "each key is split whole, and alone");
  return 0;
}
