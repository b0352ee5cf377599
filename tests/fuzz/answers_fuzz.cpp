// The answer reader's pieces, the bytes each reading takes, follow one
// another to the end of the input, and each is what formatted extraction
// makes of it: white space, then a number of the 32-bit range read as that
// number, or anything else discarded with the rest of its line; white space,
// or a sign and digits, running to the end of the input end it.
#include <algorithm>
#include <charconv>
#include <sstream>
#include <string>

#include "dialogue/answers.hpp"
#include "fuzz/fuzz_input.hpp"

// What a reading from start must give, and where it must leave the input.
static Answer expected_answer(std::string_view input, std::size_t start, std::size_t& end) {
  const std::size_t first = std::min(input.find_first_not_of(" \t\n\v\f\r", start), input.size());
  const bool plus = input.substr(first, 1) == "+";
  const std::size_t digits = first + (plus || input.substr(first, 1) == "-");
  end = std::min(input.find_first_not_of("0123456789", digits), input.size());
  std::int32_t value = 0;
  const auto read =
      std::from_chars(input.data() + (plus ? digits : first), input.data() + end, value);
  if (end > digits && read.ec == std::errc{}) {
    return {value};
  }
  if (end == input.size()) {
    return {std::nullopt, true};
  }
  end = std::min(input.find('\n', first), input.size() - 1) + 1;
  return {};
}

static std::size_t position(std::istringstream& stream) {
  return static_cast<std::size_t>(stream.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::istringstream stream(input);
  for (Answer answer; !answer.input_ended;) {
    std::size_t end = 0;
    const Answer expected = expected_answer(input, position(stream), end);
    answer = read_answer(stream);
    require(position(stream) == end, "the reading takes its piece and no more");
    require(answer.value == expected.value && answer.input_ended == expected.input_ended,
            "the piece gives the answer its bytes make");
  }
  return 0;
}
