#pragma once

#include <string>
#include <string_view>

// The characters of the keys typed, as the line editor takes them: decoded
// in the character set of the thread's locale (UTF-8 or GBK). A character
// whose bytes a slow link delivers apart waits for its rest, however the
// bytes were cut into keys; a byte that begins no character is dropped.
class KeyCharacters {
 public:
  // Appends to characters those that bytes complete.
  void decode(std::string_view bytes, std::wstring& characters);

 private:
  std::string undecoded_;  // the start of a character whose rest has not come
};
