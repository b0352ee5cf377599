#include "console/posix/whole_key.hpp"

namespace {

bool in_range(char byte, unsigned low, unsigned high) {
  const auto value = static_cast<unsigned char>(byte);
  return value >= low && value <= high;
}

// The bytes a character takes, from its first byte; 1 for a byte that
// begins none.
std::size_t character_length(char first, InputEncoding encoding) {
  if (encoding == InputEncoding::gbk) {
    return in_range(first, 0x81, 0xfe) ? 2 : 1;
  }
  if (in_range(first, 0xc2, 0xdf)) {
    return 2;
  }
  if (in_range(first, 0xe0, 0xef)) {
    return 3;
  }
  return in_range(first, 0xf0, 0xf4) ? 4 : 1;
}

bool continues_character(char byte, std::size_t index, InputEncoding encoding) {
  if (encoding == InputEncoding::utf8) {
    return in_range(byte, 0x80, 0xbf);
  }
  // GBK's second byte; GB18030's four-byte forms are a pair of such pairs,
  // the second and fourth bytes digits.
  return index % 2 == 1 ? in_range(byte, 0x30, 0x39) || in_range(byte, 0x40, 0xfe)
                        : in_range(byte, 0x81, 0xfe);
}

std::size_t whole_character_length(std::string_view bytes, InputEncoding encoding) {
  std::size_t length = character_length(bytes.front(), encoding);
  if (length == 2 && encoding == InputEncoding::gbk && bytes.size() > 1 &&
      in_range(bytes[1], 0x30, 0x39)) {
    length = 4;
  }
  for (std::size_t index = 1; index < length; ++index) {
    if (index == bytes.size()) {
      return 0;
    }
    if (!continues_character(bytes[index], index, encoding)) {
      return index;
    }
  }
  return length;
}

// CSI: parameter bytes (0x30 to 0x3f), intermediate bytes (0x20 to 0x2f),
// then the final byte (0x40 to 0x7e). rxvt's shifted editing keys end in
// '$' (ESC [ 2 $), which takes nothing after it.
std::size_t control_sequence_length(std::string_view bytes) {
  bool intermediate = false;
  for (std::size_t index = 2; index < bytes.size(); ++index) {
    const char byte = bytes[index];
    if (in_range(byte, 0x40, 0x7e) || (byte == '$' && index > 2 && !intermediate)) {
      return index + 1;
    }
    if (in_range(byte, 0x30, 0x3f) && !intermediate) {
      continue;
    }
    if (!in_range(byte, 0x20, 0x2f)) {
      return index;  // broken off
    }
    intermediate = true;
  }
  return 0;
}

// The key that follows an Escape: a sequence, or Alt and a character.
std::size_t escape_key_length(std::string_view bytes, InputEncoding encoding) {
  if (bytes.size() < 2) {
    return 0;
  }
  if (bytes[1] == '[') {
    // The Linux console's F1 to F5: ESC [ [ A to ESC [ [ E.
    if (bytes.size() > 2 && bytes[2] == '[') {
      return bytes.size() > 3 ? 4 : 0;
    }
    return control_sequence_length(bytes);
  }
  if (bytes[1] == 'O') {
    // SS3 and its letter, a modifier's digits between them (ESC O 2 P).
    for (std::size_t index = 2; index < bytes.size(); ++index) {
      if (!in_range(bytes[index], 0x30, 0x3f)) {
        return in_range(bytes[index], 0x40, 0x7e) ? index + 1 : index;
      }
    }
    return 0;
  }
  const std::size_t character = whole_character_length(bytes.substr(1), encoding);
  return character == 0 ? 0 : 1 + character;
}

}  // namespace

std::size_t whole_key_length(std::string_view bytes, InputEncoding encoding) {
  if (bytes.empty()) {
    return 0;
  }
  if (bytes.front() != '\x1b') {
    return whole_character_length(bytes, encoding);
  }
  if (bytes.size() > 1 && bytes[1] == '\x1b') {
    // Alt and Escape, or Alt and a key that begins with Escape.
    const std::size_t key = escape_key_length(bytes.substr(1), encoding);
    return key == 0 ? 0 : 1 + key;
  }
  return escape_key_length(bytes, encoding);
}
