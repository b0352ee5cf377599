// What a user types with a Chinese input method in full-width mode answers
// the questions as its ASCII form would. The fuzzer's bytes build a typing,
// character by character: ASCII, one of the full-width digits and signs or
// the ideographic space, another character, or a byte that begins none. The
// same typing with every form in ASCII is the model. Read through the
// console's input in UTF-8 or GBK, handed over in chunks of any size, the
// typing must give the answers that formatted extraction gives the model;
// every byte that is no form stays what it was.
#include <iconv.h>

#include <algorithm>
#include <istream>
#include <sstream>
#include <string>
#include <vector>

#include "console/console_input.hpp"
#include "dialogue/answers.hpp"
#include "fuzz/fuzz_input.hpp"

namespace {

// The forms, as code points, and what they stand for.
struct Form {
  char32_t code_point;
  char ascii;
};
constexpr Form forms[] = {{0xff10, '0'}, {0xff11, '1'}, {0xff12, '2'}, {0xff13, '3'}, {0xff14, '4'},
                          {0xff15, '5'}, {0xff16, '6'}, {0xff17, '7'}, {0xff18, '8'}, {0xff19, '9'},
                          {0xff0b, '+'}, {0xff0d, '-'}, {0x3000, ' '}, {0x2212, '-'}};
constexpr std::size_t form_count = sizeof forms / sizeof forms[0];

std::string utf8(char32_t code_point) {
  if (code_point < 0x800) {
    return {static_cast<char>(0xc0 | code_point >> 6),
            static_cast<char>(0x80 | (code_point & 0x3f))};
  }
  return {static_cast<char>(0xe0 | code_point >> 12),
          static_cast<char>(0x80 | (code_point >> 6 & 0x3f)),
          static_cast<char>(0x80 | (code_point & 0x3f))};
}

// The GBK bytes of a UTF-8 character, as the C library converts it; empty
// where GBK has none.
std::string gbk(const std::string& character) {
  static const iconv_t to_gbk = ::iconv_open("GBK", "UTF-8");
  std::string in = character;
  std::string out(8, '\0');
  char* in_at = in.data();
  char* out_at = out.data();
  std::size_t in_left = in.size();
  std::size_t out_left = out.size();
  ::iconv(to_gbk, nullptr, nullptr, nullptr, nullptr);
  if (::iconv(to_gbk, &in_at, &in_left, &out_at, &out_left) == static_cast<std::size_t>(-1)) {
    return {};
  }
  out.resize(out.size() - out_left);
  return out;
}

bool is_form(const std::string& character, bool in_gbk) {
  for (const Form& form : forms) {
    const std::string bytes = utf8(form.code_point);
    if (character == (in_gbk ? gbk(bytes) : bytes)) {
      return true;
    }
  }
  return false;
}

struct Typing {
  std::string typed;
  std::string model;
  void add(const std::string& bytes, const std::string& ascii) {
    typed += bytes;
    model += ascii;
  }
};

// One character more of the typing.
void type_one(FuzzInput& input, bool in_gbk, Typing& typing) {
  const unsigned kind = input.next() % 4;
  if (kind == 0) {
    const std::string ascii(1, static_cast<char>(input.next() % 0x80));
    typing.add(ascii, ascii);
  } else if (kind == 1) {
    const Form& form = forms[input.next() % form_count];
    const std::string bytes = in_gbk ? gbk(utf8(form.code_point)) : utf8(form.code_point);
    // GBK has no minus sign: that one is typed only in UTF-8.
    typing.add(bytes, bytes.empty() ? "" : std::string(1, form.ascii));
  } else if (kind == 2) {
    // Another character: a GBK pair, or a code point of two or three bytes
    // (no surrogate), taken as it is.
    const unsigned high = input.next();
    const unsigned low = input.next();
    std::string other;
    if (in_gbk) {
      const auto trail = static_cast<char>(0x40 + low % 0xbf);
      other = trail == 0x7f ? "" : std::string{static_cast<char>(0x81 + high % 0x7e), trail};
    } else if (const char32_t code_point = 0x80 + (high << 8 | low) % 0xff80;
               code_point < 0xd800 || code_point > 0xdfff) {
      other = utf8(code_point);
    }
    if (!is_form(other, in_gbk)) {
      typing.add(other, other);
    }
  } else {
    // A byte or two that begin no character of the encoding, or only the
    // start of a form: a lone GBK lead byte is followed by a byte that is no
    // trail byte, where the typing goes on at all.
    static const std::vector<std::string> utf8_broken{"\xef",     "\xef\xbc", "\xe2\x88",
                                                      "\xe3\x80", "\xc0",     "\xff"};
    static const std::vector<std::string> gbk_broken{"\x80", "\xff", "\xa3 ", "\xa3\n", "\xa1\x30"};
    const auto& broken = in_gbk ? gbk_broken : utf8_broken;
    const std::string& bytes = broken[input.next() % broken.size()];
    typing.add(bytes, bytes);
  }
}

// The console input's source: the typing, handed over so many bytes a read.
std::string_view unread;
std::size_t chunk_size = 1;

std::size_t hand_over(std::span<char> bytes) {
  const std::size_t count = std::min({unread.size(), chunk_size, bytes.size()});
  std::copy_n(unread.begin(), count, bytes.begin());
  unread.remove_prefix(count);
  return count;
}

std::vector<Answer> answers(std::istream& input) {
  std::vector<Answer> read;
  while (read.empty() || !read.back().input_ended) {
    read.push_back(read_answer(input));
  }
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input{{reinterpret_cast<const char*>(data), size}};
  const unsigned choice = input.next();
  const bool in_gbk = choice % 2 == 1;
  chunk_size = 1 + choice / 2 % 8;
  Typing typing;
  while (!input.bytes.empty()) {
    type_one(input, in_gbk, typing);
  }
  unread = typing.typed;
  const auto buffer =
      console_input_buffer(in_gbk ? InputEncoding::gbk : InputEncoding::utf8, hand_over);
  std::istream typed(buffer.get());
  std::istringstream model(typing.model);
  const std::vector<Answer> got = answers(typed);
  const std::vector<Answer> expected = answers(model);
  require(got.size() == expected.size(), "as many answers as the ASCII typing gives");
  for (std::size_t at = 0; at < got.size(); ++at) {
    require(got[at].value == expected[at].value, "each answer the one its ASCII form gives");
  }
  return 0;
}
