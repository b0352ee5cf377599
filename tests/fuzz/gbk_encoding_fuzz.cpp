// The GBK encoder's output decodes back to its input wherever a GBK form
// exists: a text is encoded as its characters (as the UTF-8 locale reads
// them) one by one, put together; a character that iconv converts to GBK
// and back comes back from its encoding, and one that iconv cannot convert
// is let through as it is.
#include <iconv.h>

#include <climits>
#include <clocale>
#include <cwchar>
#include <optional>
#include <string>

#include "console/posix/gbk_encoding.hpp"
#include "fuzz/fuzz_input.hpp"

// The whole text converted, or nothing.
static std::optional<std::string> convert(iconv_t conversion, std::string_view text) {
  std::string converted(4 * text.size(), '\0');
  char* in = const_cast<char*>(text.data());
  char* out = converted.data();
  std::size_t in_left = text.size();
  std::size_t out_left = converted.size();
  const bool whole = ::iconv(conversion, &in, &in_left, &out, &out_left) != std::size_t(-1);
  converted.resize(converted.size() - out_left);
  return whole ? std::optional(converted) : std::nullopt;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const locale = std::setlocale(LC_CTYPE, "C.UTF-8");
  static iconv_t to_gbk = ::iconv_open("GBK", "UTF-8");
  static iconv_t from_gbk = ::iconv_open("UTF-8", "GBK");
  require(locale != nullptr, "the C.UTF-8 locale is there");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string characters;
  for (std::size_t start = 0, length = 0; start < text.size(); start += length) {
    std::mbstate_t state{};
    length = std::mbrlen(text.data() + start, text.size() - start, &state);
    length = length - 1 < MB_LEN_MAX ? length : 1;  // a byte that begins no character alone
    const std::string_view character = text.substr(start, length);
    const std::string encoded = encode_gbk(character);
    const std::optional<std::string> gbk = convert(to_gbk, character);
    require(gbk ? convert(from_gbk, *gbk) != character || convert(from_gbk, encoded) == character
                : encoded == character,
            "a character comes back from GBK, or is let through without a GBK form");
    characters += encoded;
  }
  require(encode_gbk(text) == characters, "a text is encoded as its characters, put together");
  return 0;
}
