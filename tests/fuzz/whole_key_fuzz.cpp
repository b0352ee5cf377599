// The splitter of keys at a pause never cuts a key in two nor joins two:
// keys of every kind made from the input (characters of the UTF-8 locale,
// Alt and a character, CSI and SS3 sequences, OSC strings), sent one after
// another and read a byte at a time, are split back into the same keys.
#include <array>
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
  if (kind < 2) {  // a character, or Alt and one that begins no sequence
    const std::string pressed = character(input);
    return kind == 0 ? pressed : "\x1b" + (pressed.find_first_of("[O]") == 0 ? "a" : pressed);
  }
  // A CSI's parameter bytes and final byte, SS3's letter, or an OSC string's printable bytes.
  std::string bytes = std::array{"\x1b[", "\x1bO", "\x1b]"}.at(kind - 2);
  for (unsigned count = kind == 3 ? 0 : input.next() % 64; count > 0; --count) {
    bytes += static_cast<char>(kind == 2 ? 0x30 + input.next() % 16 : 0x20 + input.next() % 95);
  }
  return bytes + (kind == 4 ? (input.next() % 2 == 0 ? "\a" : "\x1b\\")
                            : std::string(1, static_cast<char>(0x40 + input.next() % 63)));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const locale = std::setlocale(LC_CTYPE, "C.UTF-8");
  require(locale != nullptr, "the C.UTF-8 locale is there");
  FuzzInput input{{reinterpret_cast<const char*>(data), size}};
  std::vector<std::string> sent;
  std::vector<std::string> split{""};
  while (!input.bytes.empty()) {
    sent.push_back(key(input));
    for (const char byte : sent.back()) {
      split.back() += byte;
      if (is_whole_key(split.back())) {
        split.emplace_back();
      }
    }
  }
  split.pop_back();  // nothing is left over once the last key is whole
  require(split == sent, "each key is split whole, and alone");
  return 0;
}
