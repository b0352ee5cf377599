// The splitter of keys at a pause decides from the bytes that came alone:
// however the terminal's bytes are cut into reads, the keys come out the
// same. A key's length, once told, stays what it is whatever follows, and
// before that every shorter start says that more must come; a key broken
// off by the byte after it may wait for that byte. In UTF-8 and in GBK.
// (Which keys are whole is proven against the terminals' own key tables by
// the terminal sessions.) The line editor, fed those keys one by one, or
// pieces of any size (a slow link lets a key go before its rest has come),
// is given the characters of the bytes taken whole.
#include <locale.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "console/posix/key_characters.hpp"
#include "console/posix/whole_key.hpp"
#include "fuzz/fuzz_input.hpp"

namespace {

// The character sets the editor decodes in; GBK only where its locale is.
locale_t locale_of(InputEncoding encoding) {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  static const locale_t gbk = newlocale(LC_CTYPE_MASK, "zh_CN.GBK", nullptr);
  return encoding == InputEncoding::utf8 ? utf8 : gbk;
}

std::wstring characters_of(const std::vector<std::string_view>& keys, InputEncoding encoding) {
  const locale_t previous = uselocale(locale_of(encoding));
  KeyCharacters decoder;
  std::wstring characters;
  for (const std::string_view key : keys) {
    decoder.decode(key, characters);
  }
  uselocale(previous);
  return characters;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const InputEncoding encoding : {InputEncoding::utf8, InputEncoding::gbk}) {
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    std::string_view bytes = typed;
    std::vector<std::string_view> keys;
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
      keys.push_back(bytes.substr(0, length == 0 ? bytes.size() : length));
      bytes.remove_prefix(keys.back().size());
    }
    if (locale_of(encoding) != nullptr) {
      std::vector<std::string_view> pieces;
      const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 4;
      for (std::size_t at = 0; at < typed.size(); at += piece) {
        pieces.push_back(typed.substr(at, piece));
      }
      const std::wstring whole = characters_of({typed}, encoding);
      require(characters_of(keys, encoding) == whole && characters_of(pieces, encoding) == whole,
              "the editor given the same characters however the bytes were cut");
    }
  }
  return 0;
}
