// The GBK encoder writes the whole text whatever it holds: a character
// without a GBK form (an emoji) or a byte that begins none is let through,
// and the encoding goes on after it. GBK keeps every ASCII byte as it is,
// so the text comes out as its pieces between ASCII bytes, each encoded
// alone, with those bytes between them: nothing is dropped, nothing cut
// short, and no piece spoils the next.
#include <string>

#include "console/posix/gbk_encoding.hpp"
#include "fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string pieces;
  std::size_t start = 0;
  for (std::size_t index = 0; index <= text.size(); ++index) {
    if (index == text.size() || static_cast<unsigned char>(text[index]) < 0x80) {
      pieces += encode_gbk(text.substr(start, index - start));
      pieces += text.substr(index, index < text.size() ? 1 : 0);
      start = index + 1;
    }
  }
  require(encode_gbk(text) == pieces, "the text encoded as its pieces between ASCII bytes");
  return 0;
}
