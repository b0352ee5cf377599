#include "render/cell.hpp"

int display_columns(std::string_view utf8) {
  int columns = 0;
  for (const char byte : utf8) {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 0x80) {
      columns += 1;
    } else if ((code & 0xC0) != 0x80) {
      columns += 2;  // the lead byte of a multi-byte character
    }
  }
  return columns;
}

std::string cell(std::string_view text, int width) {
  const int fill = width - display_columns(text);
  std::string padded(fill > 0 ? static_cast<std::size_t>(fill) : 0U, ' ');
  padded += text;
  return padded;
}

std::string cell(std::int32_t number, int width) {
  return cell(std::to_string(number), width);
}
