// The splitter of keys at a pause decides from the bytes that came alone:
// however the terminal's bytes are cut into reads, the keys come out the
// same. A key's length, once told, stays what it is whatever follows, and
// before that every shorter start says that more must come; a key broken
// off by the byte after it may wait for that byte. In UTF-8 and in GBK.
// (Which keys are whole is proven against the terminals' own key tables by
// the terminal sessions.)
#include <algorithm>
#include <string_view>

#include "console/posix/whole_key.hpp"
#include "fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const InputEncoding encoding : {InputEncoding::utf8, InputEncoding::gbk}) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    while (!bytes.empty()) {
      const std::size_t length = whole_key_length(bytes, encoding);
      require(length <= bytes.size(), "a key within the bytes that came");
      // The starts near the key's end tell: a few bytes past it.
      const std::size_t last = std::min(bytes.size(), length + 16);
      for (std::size_t start = 1; start < last; ++start) {
        const std::size_t told = whole_key_length(bytes.substr(0, start), encoding);
        require(length == 0 || start < length ? told == 0
                : start > length              ? told == length
                                              : told == 0 || told == length,
                "a key told the same whatever follows it, and not before it came");
      }
      bytes.remove_prefix(length == 0 ? bytes.size() : length);
    }
  }
  return 0;
}
