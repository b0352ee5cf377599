#include "console/posix/whole_key.hpp"

#include <cwchar>

#include "console/posix/terminal_reports.hpp"

namespace {

// The last byte of a control sequence (ESC [ 1 5 ~ for F5, ESC [ 1 ; 5 A
// for Ctrl-Up).
bool is_final_byte(char byte) {
  return byte >= 0x40 && byte <= 0x7e;
}

// Whether bytes make one whole character of the locale's; a byte that
// begins none is one on its own.
bool is_whole_character(std::string_view bytes) {
  std::mbstate_t state{};
  return std::mbrlen(bytes.data(), bytes.size(), &state) != static_cast<std::size_t>(-2);
}

}  // namespace

bool is_whole_key(std::string_view bytes) {
  if (bytes.empty()) {
    return false;
  }
  if (bytes.front() != '\x1b') {
    return is_whole_character(bytes);
  }
  if (bytes.size() < 2) {
    return false;
  }
  switch (bytes[1]) {
    case '[':
      return bytes.size() > 2 && is_final_byte(bytes.back());
    case 'O':
      return bytes.size() > 2;  // F1 to F4: ESC O P to ESC O S
    case ']':
      return osc_string_length(bytes) == bytes.size();
    default:  // Alt and a key: Escape, then the key's character
      return is_whole_character(bytes.substr(1));
  }
}
