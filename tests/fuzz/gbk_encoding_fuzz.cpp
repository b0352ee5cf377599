// The GBK encoder's output decodes back to its input wherever a GBK form
// exists: a text is encoded as its characters one by one, put together; a
// character that iconv converts to GBK and back comes back from its
// encoding, and one that iconv cannot convert is let through as it is.
#include <iconv.h>

#include <optional>
#include <string>

#include "console/posix/gbk_encoding.hpp"
#include "fuzz/fuzz_input.hpp"

namespace {

// The whole text converted from one encoding to the other, or nothing.
std::optional<std::string> convert(iconv_t conversion, std::string_view text) {
  std::string converted(4 * text.size(), '\0');
  char* in = const_cast<char*>(text.data());
  char* out = converted.data();
  std::size_t in_left = text.size();
  std::size_t out_left = converted.size();
  ::iconv(conversion, nullptr, nullptr, nullptr, nullptr);
  const bool whole =
      ::iconv(conversion, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
  converted.resize(converted.size() - out_left);
  return whole ? std::optional(converted) : std::nullopt;
}

// Where the character that begins at start ends: its lead byte says how
// many continuation bytes it takes, and only those that are there count.
std::size_t character_end(std::string_view text, std::size_t start) {
  const auto lead = static_cast<unsigned char>(text[start]);
  const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
  std::size_t end = start + 1;
  while (end < std::min(text.size(), start + length) && (text[end] & 0xc0) == 0x80) {
    ++end;
  }
  return end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static iconv_t to_gbk = ::iconv_open("GBK", "UTF-8");
  static iconv_t from_gbk = ::iconv_open("UTF-8", "GBK");
  const std::string_view text = as_text(data, size);
  std::string characters;
  for (std::size_t start = 0, end = 0; start < text.size(); start = end) {
    end = character_end(text, start);
    const std::string_view character = text.substr(start, end - start);
    const std::string encoded = encode_gbk(character);
    characters += encoded;
    const std::optional<std::string> gbk = convert(to_gbk, character);
    if (!gbk) {
      require(encoded == character, "a character without a GBK form is let through");
    } else if (convert(from_gbk, *gbk) == character) {
      require(convert(from_gbk, encoded) == character, "a character comes back from GBK");
    }
  }
  require(encode_gbk(text) == characters, "a text is encoded as its characters, put together");
  return 0;
}
