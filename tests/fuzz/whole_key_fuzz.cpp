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

// Any character but Escape, which begins the other keys.
static std::string character(FuzzInput& input) {
  const unsigned first = input.next();
  const unsigned code =
      first < 0x80 ? first : ((first << 16) | (input.next() << 8) | input.next()) % 0x110000;
  std::string bytes(MB_LEN_MAX, '\0');
  std::mbstate_t state{};
  const std::size_t length = std::wcrtomb(bytes.data(), static_cast<wchar_t>(code), &state);
  return code == 0x1b || length > bytes.size() ? "x" : bytes.substr(0, length);
}

static std::string key(FuzzInput& input) {
  const unsigned kind = input.next() % 5;
  if (kind < 2) {  // Alt: Escape and a character that begins no sequence
    const std::string pressed = character(input);
    return kind == 0 ? pressed : "\x1b" + (pressed.find_first_of("[O]") == 0 ? "a" : pressed);
  }
  std::string bytes = kind == 2 ? "\x1b[" : kind == 3 ? "\x1bO" : "\x1b]";
  for (unsigned count = kind == 3 ? 0 : input.next() % 64; count > 0; --count) {
    // A CSI's parameter bytes; any printable byte of an OSC string.
    bytes += static_cast<char>(kind == 2 ? 0x30 + input.next() % 16 : 0x20 + input.next() % 95);
  }
  if (kind == 4) {
    return bytes + (input.next() % 2 == 0 ? "\a" : "\x1b\\");
  }
  return bytes + static_cast<char>(0x40 + input.next() % 63);  // the final byte
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const locale = std::setlocale(LC_CTYPE, "C.UTF-8");
  require(locale != nullptr, "the C.UTF-8 locale is there");
  FuzzInput input{{reinterpret_cast<const char*>(data), size}};
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
