#include "console/posix/gbk_encoding.hpp"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <string_view>

namespace {

bool same_letters(std::string_view left, std::string_view right) {
  const auto lower = [](char letter) {
    return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
  };
  return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                    [&](char a, char b) { return lower(a) == lower(b); });
}

bool is_gbk_codeset(std::string_view codeset) {
  constexpr std::array<std::string_view, 4> names{"GBK", "GB2312", "GB18030", "CP936"};
  return std::any_of(names.begin(), names.end(),
                     [codeset](std::string_view name) { return same_letters(codeset, name); });
}

// The conversion, opened once; (iconv_t)-1 where this system has none.
iconv_t to_gbk() {
  static const iconv_t conversion = ::iconv_open("GBK", "UTF-8");
  return conversion;
}

bool can_encode_gbk() {
  // (iconv_t)-1 is how iconv_open says the conversion is not available.
  return to_gbk() != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
}

}  // namespace

std::string encode_gbk(std::string_view utf8) {
  if (!can_encode_gbk()) {
    return std::string(utf8);
  }
  std::string gbk(utf8.size(), '\0');  // GBK never needs more bytes than UTF-8
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* out = gbk.data();
  std::size_t out_left = gbk.size();
  ::iconv(to_gbk(), nullptr, nullptr, nullptr, nullptr);
  while (in_left > 0) {
    if (::iconv(to_gbk(), &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1)) {
      if (errno == EILSEQ || errno == EINVAL) {
        // Not a text of tavoro's; let the byte through as it is.
        *out++ = *in++;
        --in_left;
        --out_left;
        continue;
      }
      break;
    }
  }
  gbk.resize(gbk.size() - out_left);
  return gbk;
}

ConsoleEncoder gbk_encoder_for_locale() {
  return is_gbk_codeset(::nl_langinfo(CODESET)) && can_encode_gbk() ? encode_gbk : nullptr;
}
