#include "console/posix/key_characters.hpp"

#include <cwchar>

void KeyCharacters::decode(std::string_view bytes, std::wstring& characters) {
  undecoded_ += bytes;
  std::mbstate_t state{};
  std::size_t at = 0;
  while (at < undecoded_.size()) {
    wchar_t character = 0;
    const std::size_t length =
        std::mbrtowc(&character, undecoded_.data() + at, undecoded_.size() - at, &state);
    if (length == static_cast<std::size_t>(-2)) {
      break;
    }
    if (length == static_cast<std::size_t>(-1)) {
      state = std::mbstate_t{};
      ++at;
      continue;
    }
    characters += character;
    at += length == 0 ? 1 : length;
  }
  undecoded_.erase(0, at);
}
